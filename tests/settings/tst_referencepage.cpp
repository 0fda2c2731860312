// The page "参照ファイル": one font and one background colour for all ten
// reference pages, the default font, and word wrap.
#include "fakesettingshost.h"
#include "foundation/settings.h"
#include "scriptedprompts.h"
#include "settings/choosers.h"
#include "settings/referencepage.h"
#include "tempdatafolder.h"
#include "ui_referencepage.h"
#include "widgets/colorref.h"

#include <QTest>

using namespace vn;
using namespace vn::test;

class TstReferencePage : public QObject {
    Q_OBJECT
private slots:
    void fontColourAndWrap()
    {
        TempDataFolder dir;
        InstallFontSubstitutions();
        ScriptedPrompts prompts;
        FakeSettingsHost host;
        host.refFont = {0x0000FF, QStringLiteral("ＭＳ ゴシック"), 11, 0};
        QWidget dialog; // the dialog's own font, as the settings dialog has it
        QFont own(QStringLiteral("ＭＳ Ｐゴシック"));
        own.setPixelSize(12);
        dialog.setFont(own);
        auto* page = new ReferencePage(&dialog);
        page->setHost(&host);
        page->LoadAtShowing();
        const auto& ui = page->form();

        QFont offered;
        std::optional<QFont> answer;
        bool keep = false; // the user confirms what the chooser offers
        Prompts().chooseFont = [&](const QFont& initial) {
            offered = initial;
            return keep ? std::optional<QFont>(initial) : answer;
        };
        // From reference page 1's font; cancelled: nothing.
        ui.cmdRefFont->click();
        QCOMPARE(offered.family(), InstalledFace(QStringLiteral("ＭＳ ゴシック")));
        QCOMPARE(offered.pointSize(), 11);
        QVERIFY(!dir.exists("Vnote.ini"));
        // From the dialog's own font when asked; the box is then cleared.
        ui.chkRefFont->setChecked(true);
        keep = true;
        ui.cmdRefFont->click();
        QVERIFY(!ui.chkRefFont->isChecked());
        QCOMPARE(offered.family(), InstalledFace(QStringLiteral("ＭＳ Ｐゴシック")));
        QCOMPARE(offered.pointSize(), 9);
        FontSpec stored{0, QString(), 0, 0};
        ReadSettingFont(REG_EnvFontRef, stored);
        // The face kept, its stored name unchanged; the colour kept.
        QCOMPARE(stored, FontSpec({0x0000FF, QStringLiteral("ＭＳ Ｐゴシック"), 9, 0}));
        QCOMPARE(host.refFont, stored);
        QCOMPARE(ui.txtRefSample->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));

        prompts.colour = QColor(0xEE, 0xFF, 0xDD);
        ui.cmdRefBackColor->click();
        QCOMPARE(prompts.colourAsked, QColor(255, 255, 255));
        QCOMPARE(host.refBack, 0xDDFFEE);
        QCOMPARE(ReadSettingInt(REG_EnvRefBackColor), 0xDDFFEE);
        QCOMPARE(ui.txtRefSample->palette().color(QPalette::Base), QColor(0xEE, 0xFF, 0xDD));

        ui.chkWordWrapRef->click();
        QVERIFY(host.wrapRef);
        QCOMPARE(ReadSettingInt(REG_WordWrapRef), 1);
    }
};

QTEST_MAIN(TstReferencePage)
#include "tst_referencepage.moc"

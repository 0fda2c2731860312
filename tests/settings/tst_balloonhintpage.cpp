// The page "バルーンヒント": the time pattern (the list reloads in it) and the
// balloon-hint sound.
#include "fakeclock.h"
#include "fakeplatform.h"
#include "fakesettingshost.h"
#include "foundation/settings.h"
#include "scriptedprompts.h"
#include "settings/balloonhintpage.h"
#include "settings/settingpatterns.h"
#include "tempdatafolder.h"
#include "ui_balloonhintpage.h"

#include <QTest>

using namespace vn;
using namespace vn::test;

class TstBalloonHintPage : public QObject {
    Q_OBJECT
private slots:
    void timePatternAndSound()
    {
        auto fake = MakeFakePlatform();
        FakeSoundPlayer* sound = fake.sound;
        SetPlatform(std::move(fake.platform));
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2009, 1, 5) + EncodeTime(15, 4, 0));
        ScriptedPrompts prompts;
        dir.writeBytes("chime.wav", "RIFF");
        dir.writeBytes("Vnote.ini", "[BalloonHint]\r\nHHNN=h:nn!\r\n");
        FakeSettingsHost host;
        BalloonHintPage page;
        page.setHost(&host);
        page.LoadAtShowing();
        const auto& ui = page.form();

        const QStringList patterns = BalloonTimePatterns();
        QCOMPARE(patterns.size(), 20);
        QCOMPARE(patterns.mid(0, 4), QStringList({"hh:nn", "h:n", "hh時nn分", "h時n分"}));
        QCOMPARE(patterns[4], QStringLiteral("AM/PM hh:nn"));
        QCOMPARE(patterns[9], QStringLiteral("AMPM h:n"));
        QCOMPARE(patterns[19], QStringLiteral("Am/Pm h時n分"));
        QCOMPARE(ui.cmbBalloonHint->count(), 20);

        // Loading: the pattern is the main window's, selected without action.
        QCOMPARE(ui.cmbBalloonHint->currentIndex(), -1);
        QCOMPARE(host.balloonFormat, QStringLiteral("h:nn!"));
        QCOMPARE(ui.lblBalloonHint->text(), QStringLiteral("15:04!"));
        QCOMPARE(host.balloonReloads, 0);

        ui.cmbBalloonHint->setCurrentIndex(ui.cmbBalloonHint->findText("h時n分"));
        QCOMPARE(host.balloonFormat, QStringLiteral("h時n分"));
        QCOMPARE(ReadSettingStr(REG_BalloonHintHHNN), QStringLiteral("h時n分"));
        QCOMPARE(host.balloonReloads, 1);
        QCOMPARE(ui.lblBalloonHint->text(), QStringLiteral("15時4分"));
        ui.cmbBalloonHint->setCurrentIndex(4);
        QCOMPARE(ui.lblBalloonHint->text(), QStringLiteral("PM 03:04"));

        Prompts().chooseOpenFile = [&](const QString& title, const QString&, const QString&,
                                       const QString&) -> std::optional<QString> {
            return title == QStringLiteral("バルーンヒントのWaveファイルを指定")
                       ? std::optional<QString>(dir.file("chime.wav"))
                       : std::nullopt;
        };
        ui.cmdRefWav41->click();
        QCOMPARE(ReadSettingStr(REG_SoundBalloonHint), dir.file("chime.wav"));
        ui.cmdPlayWav41->click();
        QCOMPARE(sound->played, QStringList({dir.file("chime.wav")}));
        page.LoadAtShowing();
        QCOMPARE(ui.txtWav41->text(), dir.file("chime.wav"));
        SetPlatform(nullptr);
    }
};

QTEST_MAIN(TstBalloonHintPage)
#include "tst_balloonhintpage.moc"

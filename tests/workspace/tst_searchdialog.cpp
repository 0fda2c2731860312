// The search dialog: proposing the text, confirming, refusing an empty text,
// cancelling, and the not-found warning of F3.
#include "foundation/appstate.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"
#include "tempdatafolder.h"
#include "widgets/uiprompts.h"
#include "workspace/searchdialog.h"
#include "workspace/workspacesettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vn;

namespace {

class FakePages : public PageAccess {
public:
    QStringList texts;
    int current = 0;
    qint64 selStart = 0, selLength = 0;
    int selects = 0;

    explicit FakePages(QStringList t) : texts(std::move(t)) {}
    int shownPageCount() const override { return int(texts.size()); }
    int currentPage() const override { return current; }
    QString pageText(int page) const override { return texts.value(page); }
    QString tabName(int) const override { return {}; }
    QString pageFontName(int) const override { return {}; }
    qint64 selectionStart() const override { return selStart; }
    qint64 selectionLength() const override { return selLength; }
    QString selectedText() const override
    {
        const QString& t = texts[current];
        const qsizetype a = SjisOffsetToIndex(t, selStart);
        return t.mid(a, SjisOffsetToIndex(t, selStart + selLength) - a);
    }
    void selectPage(int page) override
    {
        current = page;
        selStart = selLength = 0;
    }
    void select(qint64 start, qint64 length) override
    {
        selStart = start;
        selLength = length;
        ++selects;
    }
};

struct Box {
    BoxKind kind;
    QString text;
    BoxButtons buttons;
};

// Runs `step` once the modal dialog is up (and again after each warning
// box, through `afterBox`).
void WhenShown(SearchDialog& dialog, std::function<void()> step)
{
    QTimer::singleShot(0, &dialog, [&dialog, step] {
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        step();
    });
}

} // namespace

class TestSearchDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dialogDesign();
    void proposesSelectionOrLastText();
    void confirmStoresSettingsAndSearches();
    void emptyTextIsRefused();
    void cancelChangesNothing();
    void findNextReportsNotFound();

private:
    std::unique_ptr<test::TempDataFolder> folder_;
    QList<Box> boxes_;
    UiPrompts saved_;
};

void TestSearchDialog::init()
{
    folder_ = std::make_unique<test::TempDataFolder>();
    Workspace() = WorkspaceSettings{};
    boxes_.clear();
    saved_ = Prompts();
    Prompts().message = [this](BoxKind k, const QString& t, BoxButtons b) {
        boxes_.append({k, t, b});
        return BoxAnswer::Ok;
    };
}

void TestSearchDialog::cleanup()
{
    Prompts() = saved_;
    folder_.reset();
}

void TestSearchDialog::dialogDesign()
{
    App().timersQuiet = true;
    SearchDialog dialog;
    // Made on its first use, whenever that is: the program's timers are
    // none of its business.
    QVERIFY(App().timersQuiet);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("文字列検索"));
    QCOMPARE(dialog.size(), QSize(351, 180));
    auto* label = dialog.findChild<QLabel*>();
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("検索文字列"));
    QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("txtString")));
    QCOMPARE(dialog.findChild<QCheckBox*>(QStringLiteral("chkMode"))->text(),
             QStringLiteral("大文字と小文字を区別する"));
    QCOMPARE(dialog.findChild<QCheckBox*>(QStringLiteral("chkAll"))->text(),
             QStringLiteral("すべての表示メモから検索"));
    auto* search = dialog.findChild<QPushButton*>(QStringLiteral("cmdSearch"));
    QCOMPARE(search->text(), QStringLiteral("検索"));
    QVERIFY(search->isDefault());
    QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("cmdClose"))->text(),
             QStringLiteral("閉じる"));
}

void TestSearchDialog::proposesSelectionOrLastText()
{
    Workspace().searchText = QStringLiteral("前回");
    Workspace().searchCaseSensitive = true;
    Workspace().searchAllPages = false;
    SearchDialog dialog;
    FakePages pages({QStringLiteral("あいうabc")});

    // With a selection: the selected text (bytes 2..5 = "いう").
    pages.selStart = 2;
    pages.selLength = 4;
    QString shown;
    bool mode = false, all = true, focused = false;
    WhenShown(dialog, [&] {
        auto* txt = dialog.findChild<QLineEdit*>(QStringLiteral("txtString"));
        shown = txt->text();
        focused = txt->hasFocus() || QApplication::focusWidget() == txt;
        mode = dialog.findChild<QCheckBox*>(QStringLiteral("chkMode"))->isChecked();
        all = dialog.findChild<QCheckBox*>(QStringLiteral("chkAll"))->isChecked();
        dialog.reject();
    });
    dialog.OpenSearch(pages);
    QCOMPARE(shown, QStringLiteral("いう"));
    QVERIFY(focused);
    QVERIFY(mode);
    QVERIFY(!all);

    // Without a selection: the last search text.
    pages.selLength = 0;
    WhenShown(dialog, [&] {
        shown = dialog.findChild<QLineEdit*>(QStringLiteral("txtString"))->text();
        dialog.reject();
    });
    dialog.OpenSearch(pages);
    QCOMPARE(shown, QStringLiteral("前回"));
}

void TestSearchDialog::confirmStoresSettingsAndSearches()
{
    SearchDialog dialog;
    FakePages pages({QStringLiteral("none"), QStringLiteral("x ABC abc")});
    pages.current = 1;
    WhenShown(dialog, [&] {
        auto* txt = dialog.findChild<QLineEdit*>(QStringLiteral("txtString"));
        txt->clear();
        QTest::keyClicks(txt, QStringLiteral("abc"));
        dialog.findChild<QCheckBox*>(QStringLiteral("chkMode"))->setChecked(true);
        dialog.findChild<QCheckBox*>(QStringLiteral("chkAll"))->setChecked(true);
        // Enter presses the default button.
        QTest::keyClick(txt, Qt::Key_Return);
    });
    dialog.OpenSearch(pages);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(ReadSettingStr(REG_SearchString), QStringLiteral("abc"));
    QCOMPARE(ReadSettingInt(REG_SearchMode), 1);
    QCOMPARE(ReadSettingInt(REG_SearchAll), 1);
    QCOMPARE(Workspace().searchText, QStringLiteral("abc"));
    QVERIFY(Workspace().searchCaseSensitive);
    QVERIFY(Workspace().searchAllPages);
    // The search ran, case-sensitively, from the caret of the current page.
    QCOMPARE(dialog.state().SearchPage, 1);
    QCOMPARE(pages.selStart, qint64(6));
    QCOMPARE(pages.selLength, qint64(3));
    QVERIFY(boxes_.isEmpty());

    // Turning both options off writes 0.
    WhenShown(dialog, [&] {
        dialog.findChild<QCheckBox*>(QStringLiteral("chkMode"))->setChecked(false);
        dialog.findChild<QCheckBox*>(QStringLiteral("chkAll"))->setChecked(false);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdSearch")),
                          Qt::LeftButton);
    });
    dialog.OpenSearch(pages);
    QCOMPARE(ReadSettingInt(REG_SearchMode), 0);
    QCOMPARE(ReadSettingInt(REG_SearchAll), 0);
    QVERIFY(!dialog.state().CaseSensitive);
}

void TestSearchDialog::emptyTextIsRefused()
{
    SearchDialog dialog;
    FakePages pages({QStringLiteral("abc")});
    bool stillOpen = false, focusBack = false;
    WhenShown(dialog, [&] {
        auto* txt = dialog.findChild<QLineEdit*>(QStringLiteral("txtString"));
        auto* search = dialog.findChild<QPushButton*>(QStringLiteral("cmdSearch"));
        txt->clear();
        search->setFocus();
        QTest::mouseClick(search, Qt::LeftButton);
        stillOpen = dialog.isVisible();
        focusBack = QApplication::focusWidget() == txt;
        dialog.reject();
    });
    dialog.OpenSearch(pages);
    QVERIFY(stillOpen);
    QVERIFY(focusBack);
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0].kind, BoxKind::Warning);
    QCOMPARE(boxes_[0].buttons, BoxButtons::Ok);
    QCOMPARE(boxes_[0].text, QStringLiteral("検索文字列が指定されていません"));
    QCOMPARE(ReadSettingStr(REG_SearchString), QString());
    QCOMPARE(pages.selects, 0);
}

void TestSearchDialog::cancelChangesNothing()
{
    WriteSettingStr(REG_SearchString, QStringLiteral("old"));
    Workspace().searchText = QStringLiteral("old");
    SearchDialog dialog;
    FakePages pages({QStringLiteral("new old new")});
    WhenShown(dialog, [&] {
        auto* txt = dialog.findChild<QLineEdit*>(QStringLiteral("txtString"));
        txt->setText(QStringLiteral("new"));
        dialog.findChild<QCheckBox*>(QStringLiteral("chkAll"))->setChecked(true);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdClose")),
                          Qt::LeftButton);
    });
    dialog.OpenSearch(pages);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(ReadSettingStr(REG_SearchString), QStringLiteral("old"));
    QCOMPARE(ReadSettingStr(REG_SearchAll), QString());
    QCOMPARE(dialog.state().SearchText, QStringLiteral("old"));
    QVERIFY(!dialog.state().AllPages);
    QCOMPARE(pages.selects, 0);

    // Escape closes it the same way.
    WhenShown(dialog, [&] {
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("txtString")), Qt::Key_Escape);
    });
    dialog.OpenSearch(pages);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(pages.selects, 0);
    QVERIFY(boxes_.isEmpty());
}

void TestSearchDialog::findNextReportsNotFound()
{
    Workspace().searchText = QStringLiteral("xyz");
    SearchDialog dialog;
    FakePages pages({QStringLiteral("abc xyz")});
    QVERIFY(dialog.FindNext(pages));
    QCOMPARE(pages.selStart, qint64(4));
    QVERIFY(boxes_.isEmpty());

    dialog.state().SearchText = QStringLiteral("missing");
    QVERIFY(!dialog.FindNext(pages));
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0].kind, BoxKind::Warning);
    QCOMPARE(boxes_[0].text, QStringLiteral("未検出\n\r検索文字列 = \"missing\""));
    QCOMPARE(pages.selStart, qint64(4)); // the selection stays
}

QTEST_MAIN(TestSearchDialog)
#include "tst_searchdialog.moc"

// The memo pages and their commands, on the offscreen platform.
#include "fakeclock.h"
#include "fakeplatform.h"
#include "filepermissions.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/webaddress.h"
#include "tempdatafolder.h"
#include "widgets/colorref.h"
#include "widgets/uiprompts.h"
#include "workspace/editorfill.h"
#include "workspace/memopagesview.h"
#include "workspace/pagecommands.h"
#include "workspace/workspacesettings.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTextCursor>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

struct Recorded {
    QStringList messages;
    BoxAnswer answer = BoxAnswer::Yes;
    QString saveTo;
    QString input;
};

// Prompts that answer from a script instead of showing dialogs.
void scriptPrompts(Recorded& r)
{
    Prompts().message = [&r](BoxKind, const QString& text, BoxButtons) {
        r.messages.append(text);
        return r.answer;
    };
    Prompts().saveFile = [&r](const QString&, const QString&) { return r.saveTo; };
    Prompts().input = [&r](const QString&, const QString&, const QString&) { return r.input; };
}

void loadView(MemoPagesView& v)
{
    v.applyFontsAndColours();
    v.loadPages();
    v.applyPageCount(ClampPageCount(ReadSettingInt(REG_ShowVnoteCount)), false);
    v.applyTabNames();
}

int visibleTabs(const MemoPagesView& v)
{
    int n = 0;
    for (int i = 0; i < v.count(); ++i)
        n += v.isTabVisible(i);
    return n;
}

} // namespace

class TstMemoPages : public QObject {
    Q_OBJECT
private:
    test::FakePlatform fake_;

private slots:
    void initTestCase()
    {
        fake_ = test::MakeFakePlatform();
        SetPlatform(std::move(fake_.platform));
    }

    void shiftJisPagesAndTabNamesLoad()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", Sjis("牛乳\r\n卵～パン"));
        dir.writeBytes("Vnote1.vnm", "lf\nonly\n");
        dir.writeBytes("Vnote.ini", Sjis("[TabName]\r\n01=買い物\r\n"));
        MemoPagesView v;
        loadView(v);
        QCOMPARE(v.pageText(0), QStringLiteral("牛乳\r\n卵～パン"));
        QCOMPARE(v.editor(0)->toPlainText(), QStringLiteral("牛乳\n卵～パン"));
        QCOMPARE(v.pageText(1), QStringLiteral("lf\r\nonly\r\n"));
        QCOMPARE(v.tabName(0), QStringLiteral("買い物"));
        QCOMPARE(v.tabName(1), QStringLiteral("メモ２"));
        QCOMPARE(v.pageStatusText(), QStringLiteral("1 番目のメモを表示中 [買い物]"));
        v.editor(2)->setPlainText("typed"); // not every page is empty
        v.savePages(30);
        QCOMPARE(dir.readBytes("Vnote1.vnm"), QByteArray("lf\nonly\n")); // untouched: as it was
        QCOMPARE(dir.readBytes("Vnote.vnm"), Sjis("牛乳\r\n卵～パン"));
        v.editor(1)->appendPlainText("more");
        v.savePages(30);
        QCOMPARE(dir.readBytes("Vnote1.vnm"),
                 QByteArray("lf\r\nonly\r\n\r\nmore")); // edited: CR LF
    }

    void untouchedPagesAreNeverRewritten()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", "mine\r\n");
        const QByteArray undecodable = QByteArray::fromHex("8f00ff81fe20a0ef80");
        dir.writeBytes("Vnote1.vnm", undecodable);
        MemoPagesView v;
        loadView(v);
        v.editor(1); // shown, but not touched
        v.editor(2)->setPlainText("typed");
        QVERIFY(v.saveShownPages().isEmpty());
        QCOMPARE(dir.readBytes("Vnote1.vnm"), undecodable);
        v.savePages(30);
        QCOMPARE(dir.readBytes("Vnote1.vnm"), undecodable);
        // Another program replaces an untouched page's file: it stays theirs,
        // and the page shows it, so typing goes on from their text.
        QTextCursor caret = v.editor(0)->textCursor();
        caret.setPosition(3);
        v.editor(0)->setTextCursor(caret);
        dir.writeBytes("Vnote.vnm", "theirs, longer\r\n");
        v.saveShownPages();
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("theirs, longer\r\n"));
        QCOMPARE(v.pageText(0), QStringLiteral("theirs, longer\r\n"));
        QCOMPARE(v.editor(0)->textCursor().position(), 3); // the caret stays
        // Typing is saved.
        v.editor(0)->appendPlainText("more");
        v.saveShownPages();
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("theirs, longer\r\n\r\nmore"));
        // A file deleted meanwhile is written again.
        QFile::remove(dir.file("Vnote.vnm"));
        v.saveShownPages();
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("theirs, longer\r\n\r\nmore"));
    }

    void anUnreadablePageEmptiesNoLaterPage()
    {
        TempDataFolder dir;
        test::PermissionsEnforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be enforced here");
        auto name = [](int i) { return i ? QString("Vnote%1.vnm").arg(i) : QString("Vnote.vnm"); };
        for (int i = 0; i < 10; ++i)
            dir.writeBytes(name(i), "page " + QByteArray::number(i + 1));
        QFile::setPermissions(dir.file(name(4)), {});
        MemoPagesView v;
        loadView(v);
        for (int i = 5; i < 10; ++i)
            QCOMPARE(v.pageText(i), QStringLiteral("page %1").arg(i + 1));
        QVERIFY(v.editor(4)->isReadOnly());
        QVERIFY(v.editor(4)->placeholderText().contains(name(4)));
        v.editor(0)->appendPlainText("typed");
        v.savePages(30);
        v.createMissingPageFiles();
        for (int i = 5; i < 10; ++i)
            QCOMPARE(dir.readBytes(name(i)), "page " + QByteArray::number(i + 1));
        QCOMPARE(QFile::permissions(dir.file(name(4))) & 0x7077, 0); // owner, group, others
        // Once readable again, showing the page reads it, and it takes typing.
        QFile::setPermissions(dir.file(name(4)), QFile::ReadOwner | QFile::WriteOwner);
        v.selectPage(4);
        QCOMPARE(v.pageText(4), QString("page 5"));
        QVERIFY(!v.editor(4)->isReadOnly());
    }

    // A page whose file holds a NUL takes no typing and no command, and
    // its file no save, until the user accepts the rewrite; the old bytes
    // are then kept in a copy beside it.
    void aHeldPageTakesNoTypingUntilTheUserAccepts()
    {
        TempDataFolder dir;
        const QByteArray bytes("first line\r\nsecond\0 line after the NUL\r\nthird line\r\n", 52);
        const QString shown = QStringLiteral("first line\r\nsecond\uFFFD line after the NUL\r\n"
                                             "third line\r\n");
        dir.writeBytes("Vnote.vnm", "one");
        dir.writeBytes("Vnote1.vnm", bytes);
        Recorded r;
        scriptPrompts(r);
        MemoPagesView v;
        PageCommands commands(&v);
        loadView(v);
        v.selectPage(1);
        QPlainTextEdit* e = v.editor(1);
        QVERIFY(v.pageNotice(1).contains("NUL"));
        QTest::keyClicks(e, "typed");
        commands.StampNowAtEnd();
        commands.InsertSeparator();
        QCOMPARE(v.pageText(1), shown);
        v.savePages(30);
        QCOMPARE(dir.readBytes("Vnote1.vnm"), bytes);
        auto* edit = v.findChild<QPushButton*>("heldEditButton");
        r.answer = BoxAnswer::No;
        edit->click();
        QVERIFY(e->isReadOnly());
        QVERIFY(QDir(dir.path()).entryList({"*.bak"}).isEmpty());
        r.answer = BoxAnswer::Yes;
        edit->click();
        QVERIFY(!e->isReadOnly());
        QVERIFY(v.pageNotice(1).isEmpty());
        const QStringList copies = QDir(dir.path()).entryList({"Vnote1.vnm.*.bak"});
        QCOMPARE(copies.size(), 1);
        QCOMPARE(dir.readBytes(copies[0]), bytes);
        QCOMPARE(r.messages.size(), 2);
        QVERIFY(r.messages[1].contains(copies[0]));
        QTest::keyClicks(e, "!");
        v.savePages(30);
        QCOMPARE(dir.readBytes("Vnote1.vnm"), "\xEF\xBB\xBF!" + shown.toUtf8());
    }

    void pageCountAndActiveTab()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini", "[ShowVnote]\r\nCount=3\r\n[ActiveTab]\r\nVnote=5\r\n");
        MemoPagesView v;
        loadView(v);
        QCOMPARE(visibleTabs(v), 3);
        QCOMPARE(v.currentPage(), 0);
        QVERIFY(!v.isTabVisible(kPageCount)); // the template tab
        WriteSettingInt(REG_VnoteActiveTab, 2);
        v.applyPageCount(3, false);
        QCOMPARE(v.currentPage(), 2);
        v.applyPageCount(99, false); // a hand-edited count
        QCOMPARE(visibleTabs(v), 30);
        QVERIFY(!v.isTabVisible(kPageCount));
    }

    void movingPageOneToThreeCarriesEverything()
    {
        TempDataFolder dir;
        for (int i = 0; i < 4; ++i)
            dir.writeBytes(i == 0 ? "Vnote.vnm" : QString("Vnote%1.vnm").arg(i),
                           QByteArray(1, char('a' + i)) + "\r\n");
        MemoPagesView v;
        loadView(v);
        v.setPageFont(0, FontSpec{255, "ＭＳ Ｐ明朝", 14, kFontBold});
        v.setPageBackColour(0, 0x00C0FFC0);
        v.renamePage(0, QStringLiteral("最初"));
        v.movePage(0, 2);
        QCOMPARE(v.pageText(0), QString("b\r\n"));
        QCOMPARE(v.pageText(1), QString("c\r\n"));
        QCOMPARE(v.pageText(2), QString("a\r\n"));
        QCOMPARE(v.pageText(3), QString("d\r\n"));
        QCOMPARE(v.currentPage(), 2);
        QCOMPARE(v.tabName(2), QStringLiteral("最初"));
        QCOMPARE(v.tabName(0), QStringLiteral("メモ２"));
        QCOMPARE(v.pageFont(2).name, QStringLiteral("ＭＳ Ｐ明朝"));
        QCOMPARE(v.pageBackColour(2), 0x00C0FFC0);
        QCOMPARE(v.pageBackColour(0), 0x00FFFFFF);
        // the files catch up at the next save, and a restart shows the new order
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("a\r\n"));
        v.savePages(30);
        MemoPagesView w;
        loadView(w);
        QCOMPARE(w.pageText(2), QString("a\r\n"));
        QCOMPARE(w.tabName(2), QStringLiteral("最初"));
        QCOMPARE(w.pageFont(2), (FontSpec{255, "ＭＳ Ｐ明朝", 14, kFontBold}));
        QCOMPARE(w.pageBackColour(2), 0x00C0FFC0);
        // moving back the other way
        w.movePage(2, 0);
        QCOMPARE(w.pageText(0), QString("a\r\n"));
        QCOMPARE(w.pageText(1), QString("b\r\n"));
        QCOMPARE(w.tabName(1), QStringLiteral("メモ２"));
    }

    void deleteThenRestore()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", "keep me\r\n");
        dir.writeBytes("Vnote1.vnm", "other\r\n");
        MemoPagesView v;
        loadView(v);
        QVERIFY(!v.restoreOffered());
        v.editor(0)->setPlainText("keep me\nand more");
        v.deleteCurrentPage();
        QCOMPARE(v.pageText(0), QString());
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("keep me\r\nand more"));
        QVERIFY(v.restoreOffered());
        v.restoreCurrentPage();
        QCOMPARE(v.pageText(0), QString("keep me\r\nand more"));
        QVERIFY(!v.restoreOffered());
        // deleting makes the file empty at the next save
        v.deleteCurrentPage();
        v.savePages(30);
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray());
        v.updateDeleteButton();
        QVERIFY(!v.restoreOffered());
    }

    void deletingTheOnlyTextLeavesItRestorable()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", "the only text");
        MemoPagesView v;
        loadView(v);
        v.deleteCurrentPage();
        v.savePages(30); // all pages empty: nothing is written
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("the only text"));
        v.updateDeleteButton();
        QVERIFY(v.restoreOffered());
        MemoPagesView after;
        loadView(after);
        QCOMPARE(after.pageText(0), QString("the only text"));
    }

    void renameAndPageStore()
    {
        TempDataFolder dir;
        MemoPagesView v;
        loadView(v);
        v.renamePage(0, QString());
        QCOMPARE(v.tabText(0), QString());
        QCOMPARE(ReadSettingStr(REG_ShowTabName), QString());
        QVERIFY(v.pageTextEquals(45, "x"));
        QVERIFY(v.pageTextEquals(-1, "x"));
        v.replacePageText(30, "x");
        QVERIFY(!dir.exists("Vnote30.vnm"));
        v.replacePageText(4, "restored\r\ntext");
        QCOMPARE(dir.readBytes("Vnote4.vnm"), QByteArray("restored\r\ntext"));
        QVERIFY(v.pageTextEquals(4, "restored\r\ntext"));
    }

    void positionsAreShiftJisBytes()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", Sjis("あいう\r\nabc\r\n"));
        dir.writeBytes("Vnote.ini", "[MemoSelStart]\r\n01=8\r\n[MemoSelLength]\r\n01=3\r\n");
        MemoPagesView v;
        loadView(v);
        QCOMPARE(v.editor(0)->textCursor().selectedText(), QString("abc"));
        QTextCursor c = v.editor(0)->textCursor();
        c.setPosition(1);
        c.setPosition(2, QTextCursor::KeepAnchor); // "い"
        v.editor(0)->setTextCursor(c);
        v.savePagePositions();
        QCOMPARE(ReadSettingInt(REG_MemoSelStart), 2);
        QCOMPARE(ReadSettingInt(REG_MemoSelLength), 2);
    }

    // A long page goes into its editor in pieces after its first screen:
    // a save meanwhile leaves it alone, and keys pressed at once land at
    // the caret restored in the middle of it.
    void aLongPageTypedIntoWhileItGoesInIsSavedWhole()
    {
        TempDataFolder dir;
        QString text;
        for (int i = 0; text.size() < 3 * EditorFill::kMinimumLength; ++i)
            text += QStringLiteral("%1 行目の　メモ ﾒﾓ\r\n").arg(i);
        const QByteArray bytes = Sjis(text);
        const qsizetype caret = bytes.indexOf("4000 ");
        dir.writeBytes("Vnote.vnm", "first\r\n");
        dir.writeBytes("Vnote1.vnm", bytes);
        dir.writeBytes("Vnote.ini", QByteArray("[MemoSelStart]\r\n02=") +
                                        QByteArray::number(caret) +
                                        "\r\n[MemoScrollPos]\r\n02=3990\r\n");
        MemoPagesView v;
        v.resize(500, 400);
        loadView(v);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        v.selectPage(1);
        auto* e = v.findChild<QPlainTextEdit*>(QStringLiteral("Vnote2"));
        auto* fill = e->findChild<EditorFill*>();
        QVERIFY(fill->active());
        QVERIFY(v.saveShownPages().isEmpty());
        QVERIFY(fill->active());
        QCOMPARE(dir.readBytes("Vnote1.vnm"), bytes);
        e->setFocus();
        QTest::keyClicks(e, QStringLiteral("xy"));
        QVERIFY(!fill->active());
        QVERIFY(v.saveShownPages().isEmpty());
        QCOMPARE(dir.readBytes("Vnote1.vnm"), bytes.left(caret) + "xy" + bytes.mid(caret));
    }

    void foreignPositionsAreClamped()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", Sjis("短い"));
        dir.writeBytes("Vnote.ini", "[MemoSelStart]\r\n01=999999\r\n[MemoSelLength]\r\n"
                                    "01=-5\r\n[MemoScrollPos]\r\n01=100000\r\n"
                                    "02=-3\r\n[MemoSelStart]\r\n02=3\r\n");
        dir.writeBytes("Vnote1.vnm", Sjis("あいう"));
        MemoPagesView v;
        loadView(v);
        QCOMPARE(v.editor(0)->textCursor().position(), 2);
        QCOMPARE(v.editor(1)->textCursor().position(), 1); // inside "い": back to its start
    }

    void stampsSeparatorAndExport()
    {
        TempDataFolder dir;
        test::FakeClock clock(EncodeDateTime({2008, 3, 21}, {22, 52, 16}));
        Recorded r;
        scriptPrompts(r);
        Workspace() = WorkspaceSettings::Load();
        dir.writeBytes("Vnote.vnm", "abc");
        MemoPagesView v;
        loadView(v);
        PageCommands cmd(&v);
        cmd.StampNowAtEnd();
        QCOMPARE(v.pageText(0), QStringLiteral("abc\r\n2008/03/21(金) 22:52:16\r\n"));
        v.editor(0)->clear();
        cmd.StampNowAtEnd();
        QCOMPARE(v.pageText(0), QStringLiteral("2008/03/21(金) 22:52:16\r\n"));
        v.editor(0)->clear();
        WriteSettingInt(REG_EnvSeparationBefor, 1);
        WriteSettingInt(REG_EnvSeparationAfter, 0);
        Workspace() = WorkspaceSettings::Load();
        cmd.InsertSeparator();
        QCOMPARE(v.pageText(0), "\r\n" + QString(40, u'-'));

        // export of the selection: no selection, then append to an existing file
        cmd.ExportSelection();
        QCOMPARE(r.messages.value(0), QStringLiteral("選択文字列がありません"));
        dir.writeBytes("out.txt", "a\r\nb");
        r.saveTo = dir.file("out.txt");
        r.answer = BoxAnswer::No; // append
        v.editor(0)->setPlainText("xyz");
        v.editor(0)->selectAll();
        cmd.ExportSelection();
        QCOMPARE(dir.readBytes("out.txt"), QByteArray("a\r\nb\r\nxyz"));
        r.answer = BoxAnswer::Cancel;
        cmd.ExportSelection();
        QCOMPARE(dir.readBytes("out.txt"), QByteArray("a\r\nb\r\nxyz"));
        r.answer = BoxAnswer::Yes;
        cmd.ExportSelection();
        QCOMPARE(dir.readBytes("out.txt"), QByteArray("xyz"));
        // export of the page, overwrite refused then accepted
        v.editor(0)->setPlainText(QStringLiteral("全文\nです"));
        r.answer = BoxAnswer::Cancel;
        cmd.ExportPage();
        QCOMPARE(dir.readBytes("out.txt"), QByteArray("xyz"));
        r.answer = BoxAnswer::Ok;
        cmd.ExportPage();
        QCOMPARE(dir.readBytes("out.txt"), Sjis("全文\r\nです"));
    }

    void urlAndCalculator()
    {
        TempDataFolder dir;
        Recorded r;
        scriptPrompts(r);
        auto* desktop = static_cast<test::FakeDesktop*>(CurrentPlatform().desktop.get());
        desktop->urls.clear();
        MemoPagesView v;
        loadView(v);
        PageCommands cmd(&v);
        v.editor(0)->setPlainText("memo\nhttp://example.com/page\nhttps://secure.example");
        QTextCursor c = v.editor(0)->textCursor();
        c.setPosition(8); // inside the http line
        v.editor(0)->setTextCursor(c);
        cmd.OpenUrl();
        QCOMPARE(desktop->urls, QStringList{"http://example.com/page"});
        c.setPosition(30); // the https line
        v.editor(0)->setTextCursor(c);
        cmd.OpenUrl();
        QCOMPARE(r.messages, QStringList{"選択文字列がありません"});
        c.setPosition(29);
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        v.editor(0)->setTextCursor(c);
        cmd.OpenUrl(); // a selection is opened as it is
        QCOMPARE(desktop->urls.last(), QString("https://secure.example"));

        c.setPosition(0);
        c.setPosition(4, QTextCursor::KeepAnchor);
        v.editor(0)->setTextCursor(c);
        const int before = desktop->calculatorStarts;
        cmd.StartCalculator();
        QCOMPARE(QApplication::clipboard()->text(), QString("memo"));
        QCOMPARE(desktop->calculatorStarts, before + 1);
        // No calculator: the user is told, and the selection is still copied.
        r.messages.clear();
        desktop->calculatorInstalled = false;
        cmd.StartCalculator();
        desktop->calculatorInstalled = true;
        QCOMPARE(r.messages.size(), 1);
        QVERIFY(r.messages[0].startsWith(QStringLiteral("電卓が見つかりません。")));
        QVERIFY(r.messages[0].contains(QStringLiteral("クリップボードにコピーしました")));
        QCOMPARE(desktop->calculatorStarts, before + 1);

        // Selected paths, file: addresses and other schemes are refused with
        // a message, and nothing is started; a bare www address is web.
        const int opened = desktop->urls.size();
        r.messages.clear();
        for (const QString& text : {QStringLiteral("/home/user/Downloads/run.sh"),
                                    QStringLiteral("file:///usr/share/applications/x.desktop"),
                                    QStringLiteral("steam://run/1")}) {
            v.editor(0)->setPlainText(text);
            v.editor(0)->selectAll();
            cmd.OpenUrl();
        }
        QCOMPARE(desktop->urls.size(), opened);
        QCOMPARE(r.messages.size(), 3);
        QCOMPARE(r.messages[0], NotAWebAddressMessage());
        v.editor(0)->setPlainText("www.example.jp");
        v.editor(0)->selectAll();
        cmd.OpenUrl();
        QCOMPARE(desktop->urls.last(), QString("http://www.example.jp"));
    }

    void fontDialogStartsAtThePagesFontAsInstalled()
    {
        TempDataFolder dir;
        InstallFontSubstitutions();
        MemoPagesView v;
        loadView(v);
        PageCommands cmd(&v);
        QFont offered;
        std::optional<QFont> answer; // none: OK pressed on what was offered
        Prompts().chooseFont = [&](const QFont& f) {
            offered = f;
            return answer ? answer : std::optional<QFont>(f);
        };
        const FontSpec mincho{255, QStringLiteral("ＭＳ Ｐ明朝"), 14, kFontBold};
        v.setPageFont(0, mincho);
        cmd.ChangeFont(false);
        QVERIFY(QFontDatabase::families().contains(offered.family())); // the dialog can show it
        QCOMPARE(offered.family(), QFontInfo(QFont(mincho.name)).family());
        QCOMPARE(offered.pointSize(), 14);
        QVERIFY(offered.bold());
        QVERIFY(!offered.italic());
        QCOMPARE(v.pageFont(0), mincho); // OK unchanged: the stored name stays
        // "フォント初期化" starts at the pages' default font.
        cmd.ChangeFont(true);
        QCOMPARE(offered.family(), QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"))).family());
        QCOMPARE(offered.pointSize(), 9);
        QVERIFY(!offered.bold());
        QCOMPARE(v.pageFont(0), (FontSpec{255, QStringLiteral("ＭＳ ゴシック"), 9, 0}));
        // Another face chosen is stored by its name.
        QString other;
        for (const QString& f : QFontDatabase::families())
            if (f != offered.family() && !QFontDatabase::isPrivateFamily(f))
                other = f;
        QFont picked(other);
        picked.setPointSize(11);
        answer = picked;
        cmd.ChangeFont(false);
        QCOMPARE(v.pageFont(0).name, other);
        QCOMPARE(v.pageFont(0).size, 11);
    }

    void renameThroughTheInputBox()
    {
        TempDataFolder dir;
        Recorded r;
        scriptPrompts(r);
        MemoPagesView v;
        loadView(v);
        PageCommands cmd(&v);
        r.input = QStringLiteral("メモ１"); // unchanged (or cancelled)
        cmd.RenameCurrentPage();
        QVERIFY(!dir.exists("Vnote.ini") || !dir.readBytes("Vnote.ini").contains("TabName"));
        r.input = QStringLiteral("日記");
        cmd.RenameCurrentPage();
        QCOMPARE(ReadSettingStr(REG_ShowTabName), QStringLiteral("日記"));
        QCOMPARE(v.tabText(0), QStringLiteral("日記"));
    }

    void moveMenuFollowsTheShownCount()
    {
        TempDataFolder dir;
        WriteSettingInt(REG_ShowVnoteCount, 4);
        MemoPagesView v;
        loadView(v);
        PageCommands cmd(&v);
        QMenu* move = cmd.action("M1")->menu();
        QVERIFY(move);
        emit cmd.menu()->aboutToShow();
        QList<QAction*> items;
        for (QAction* a : move->actions())
            if (!a->isSeparator())
                items.append(a);
        QCOMPARE(items.size(), 30);
        QCOMPARE(items[0]->text(), QStringLiteral("先頭へ移動"));
        QCOMPARE(items[9]->text(), QStringLiteral("10番目へ移動"));
        QCOMPARE(items[29]->text(), QStringLiteral("最後へ移動"));
        QVERIFY(items[3]->isEnabled());
        QVERIFY(!items[4]->isEnabled());
        QVERIFY(!items[29]->isEnabled());
    }
};

QTEST_MAIN(TstMemoPages)
#include "tst_memopages.moc"

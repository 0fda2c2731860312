// Text rules of the editing commands, the page-file save rules and the
// show/hide gesture.
#include "fakeclock.h"
#include "foundation/paths.h"
#include "tempdatafolder.h"
#include "workspace/editcommands.h"
#include "workspace/pagefiles.h"
#include "workspace/showhidegesture.h"

#include <QDir>
#include <QTest>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {
DateTime at(int h, int n, int s, int ms = 0)
{
    return EncodeDateTime({2026, 12, 9}, {h, n, s, ms});
}
} // namespace

class TstWorkspaceCore : public QObject {
    Q_OBJECT
private slots:
    void separator()
    {
        const QString mark(40, u'-');
        QCOMPARE(SeparatorInsertion(mark, false, true), mark + "\r\n");
        QCOMPARE(SeparatorInsertion(mark, true, false), "\r\n" + mark);
        QCOMPARE(SeparatorInsertion("==", true, true), QString("\r\n==\r\n"));
    }

    void stampOnANewLastLine()
    {
        QCOMPARE(TextWithLastLine("", "2026/12/09"), QString("2026/12/09\r\n"));
        QCOMPARE(TextWithLastLine("abc", "S"), QString("abc\r\nS\r\n"));
        QCOMPARE(TextWithLastLine("abc\r\n", "S"), QString("abc\r\nS\r\n"));
    }

    void appendingTheSelectionToAFile()
    {
        QCOMPARE(AppendOnNewLine("a\r\nb", "xyz"), QString("a\r\nb\r\nxyz"));
        QCOMPARE(AppendOnNewLine("a\r\n", "xyz"), QString("a\r\nxyz\r\n"));
        QCOMPARE(AppendOnNewLine("", "xyz"), QString("xyz\r\n"));
    }

    void urlOfTheCaretLine()
    {
        QCOMPARE(UrlOfLine("http://example.com/a b"), QString("http://example.com/a b"));
        QCOMPARE(UrlOfLine("https://example.com"), QString());
        QCOMPARE(UrlOfLine("HTTP://EXAMPLE.COM"), QString());
        QCOMPARE(UrlOfLine(" http://x"), QString());
    }

    void onlyChangedPagesAreWritten()
    {
        TempDataFolder dir;
        QStringList texts(kPageCount);
        texts[0] = "one\r\n";
        texts[2] = "three";
        QVERIFY(PageSaver()
                    .save(
                        3, [&](int i) { return texts[i]; }, true)
                    .isEmpty());
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("one\r\n"));
        QCOMPARE(dir.readBytes("Vnote2.vnm"), QByteArray("three"));
        QVERIFY(dir.exists("Vnote1.vnm"));  // a missing file is written, empty
        QVERIFY(!dir.exists("Vnote3.vnm")); // beyond the count
        QVERIFY(PageFileMatches(0, "one\r\n"));
        QVERIFY(PageFileMatches(2, "three"));
        // A file with other line breaks is rewritten with CR LF.
        dir.writeBytes("Vnote.vnm", "one\n");
        QVERIFY(!PageFileMatches(0, "one\r\n"));
        QVERIFY(PageSaver()
                    .save(
                        3, [&](int i) { return texts[i]; }, true)
                    .isEmpty());
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("one\r\n"));
        texts[0] = "uno\r\n";
        QVERIFY(PageSaver()
                    .save(
                        3, [&](int i) { return texts[i]; }, true)
                    .isEmpty());
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("uno\r\n"));
    }

    void allPagesEmptyWritesNothing()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", "kept");
        QVERIFY(PageSaver()
                    .save(
                        30, [](int) { return QString(); }, true)
                    .isEmpty());
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("kept"));
        QVERIFY(!dir.exists("Vnote1.vnm"));
    }

    void aFailingPageIsReportedOnceAndRetried()
    {
        TempDataFolder dir;
        QDir(dir.path()).mkdir("Vnote1.vnm"); // page 2's file cannot be written
        QStringList texts(kPageCount);
        texts[0] = "a\r\n";
        texts[1] = "b\r\n";
        texts[2] = "c\r\n";
        PageSaver saver;
        auto textOf = [&](int i) { return texts[i]; };
        QStringList errors = saver.save(3, textOf, false);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("Vnote1.vnm"));
        QCOMPARE(dir.readBytes("Vnote2.vnm"), QByteArray("c\r\n")); // later pages still saved
        QVERIFY(saver.failing(1));
        QVERIFY(saver.save(3, textOf, false).isEmpty()); // not again every five minutes
        QCOMPARE(saver.save(3, textOf, true).size(), 1); // but at a close
        QDir(dir.path()).rmdir("Vnote1.vnm");
        QVERIFY(saver.save(3, textOf, false).isEmpty());
        QCOMPARE(dir.readBytes("Vnote1.vnm"), QByteArray("b\r\n"));
        QVERIFY(!saver.failing(1));
        QDir(dir.path()).mkdir("x");
    }

    void japanesePageFilesAreShiftJis()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.vnm", Sjis("牛乳\r\n卵"));
        QCOMPARE(LoadPageFile(0), QStringLiteral("牛乳\r\n卵"));
        dir.writeBytes("Vnote1.vnm", "a\nb\rc");
        QCOMPARE(LoadPageFile(1), QStringLiteral("a\r\nb\r\nc"));
        QCOMPARE(LoadPageFile(5), QString());
    }

    void gestureKinds()
    {
        ShowHideGesture g;
        g.setKind(2);
        g.setIntervalSeconds(1);
        QVERIFY(!g.press(at(10, 0, 0)));     // the first press only arms
        QVERIFY(g.press(at(10, 0, 0, 800))); // 0.8 s later: toggles
        QCOMPARE(g.lastPressTime(), 0.0);
        QVERIFY(!g.press(at(10, 0, 5)));
        QVERIFY(!g.press(at(10, 0, 6, 200))); // 1.2 s: starts a new pair
        QVERIFY(g.press(at(10, 0, 6, 900)));  // within 1 s of the second press

        // three quick presses toggle once, four twice
        int toggles = 0;
        for (int i = 0; i < 3; ++i)
            toggles += g.press(at(11, 0, 0, 100 * i));
        QCOMPARE(toggles, 1);
        g.reset();
        toggles = 0;
        for (int i = 0; i < 4; ++i)
            toggles += g.press(at(12, 0, 0, 100 * i));
        QCOMPARE(toggles, 2);

        g.setKind(1);
        QVERIFY(g.press(at(13, 0, 0)));
        QVERIFY(g.press(at(13, 0, 0, 10)));
        g.setKind(0);
        QVERIFY(!g.press(at(13, 0, 1)));
        QVERIFY(!g.press(at(13, 0, 1, 10)));
        g.setKind(9);
        QCOMPARE(g.kind(), 1);
        g.setIntervalSeconds(7);
        QCOMPARE(g.intervalSeconds(), 1);
        g.setKind(3);
        g.setIntervalSeconds(3);
        QVERIFY(!g.press(at(14, 0, 0)));
        QVERIFY(g.press(at(14, 0, 2, 900)));
    }

    void trayMenuCaptions()
    {
        ShowHideGesture g;
        const QStringList visible = {"非表示(&H)", "非表示(&H)   Pause", "非表示(&H)  2Pause",
                                     "非表示(&H)  2Shift", "非表示(&H)  2Ctrl"};
        for (int kind = 0; kind <= 4; ++kind) {
            g.setKind(kind);
            QCOMPARE(g.menuCaption(true), visible[kind]);
            QCOMPARE(g.menuCaption(false),
                     QString(visible[kind]).replace("非表示(&H)", "表示(&S)"));
        }
    }
};

QTEST_GUILESS_MAIN(TstWorkspaceCore)
#include "tst_workspacecore.moc"

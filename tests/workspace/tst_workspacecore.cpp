// Text rules of the editing commands and the show/hide gesture.
#include "fakeclock.h"
#include "foundation/paths.h"
#include "tempdatafolder.h"
#include "workspace/editcommands.h"
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

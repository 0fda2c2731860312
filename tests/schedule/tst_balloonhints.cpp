// BalloonHint.dat, the rows and the firing rule.
#include "schedule/balloonhints.h"

#include "fakeclock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QTest>

using namespace vn;
using vn::test::FakeClock;
using vn::test::Sjis;
using vn::test::TempDataFolder;

class TstBalloonHints : public QObject {
    Q_OBJECT
private slots:
    void linesAreReadByCharacterPositions()
    {
        const DateTime today = EncodeDate(2009, 1, 5);
        auto row = ReadBalloonHintLine(QStringLiteral("1,1200,お昼休み"), "hh:nn", today);
        QVERIFY(row);
        QVERIFY(row->shown);
        QCOMPARE(row->hour, 12);
        QCOMPARE(row->minute, 0);
        QCOMPARE(row->message, QStringLiteral("お昼休み"));
        QCOMPARE(row->key, QStringLiteral("12:00"));
        QCOMPARE(row->timeText, QStringLiteral("12:00"));
        QCOMPARE(ComposeBalloonHintLine(*row), QStringLiteral("1,1200,お昼休み"));

        row = ReadBalloonHintLine(QStringLiteral("x,0905,a,b"), "AM/PM h時n分", today);
        QVERIFY(row);
        QVERIFY(!row->shown);
        QCOMPARE(row->message, QStringLiteral("a,b"));
        QCOMPARE(row->timeText, QStringLiteral("AM 9時5分"));
        QCOMPARE(ComposeBalloonHintLine(*row), QStringLiteral("0,0905,a,b"));

        row = ReadBalloonHintLine(QStringLiteral("1,2359"), "hh:nn", today);
        QVERIFY(row);
        QVERIFY(row->message.isEmpty());

        // a separator outside the BMP is not cut in half
        row = ReadBalloonHintLine(QStringLiteral("1,2359😀msg"), "hh:nn", today);
        QVERIFY(row);
        QCOMPARE(row->message, QStringLiteral("msg"));

        for (const char* bad : {"", "1,12", "1,12x0,m", "1, 900,m", "1,2400,m", "1,1260,m"})
            QVERIFY2(!ReadBalloonHintLine(QString::fromLatin1(bad), "hh:nn", today), bad);
    }

    void messagesStopAt256BytesOnCharacterBounds()
    {
        const QString wide(200, QChar(0x3042)); // 400 bytes
        auto row = ReadBalloonHintLine("1,1200,a" + wide, "hh:nn", 0);
        QVERIFY(row);
        QCOMPARE(SjisLength(row->message), 255);
        QCOMPARE(row->message, "a" + wide.left(127));
        row = ReadBalloonHintLine("1,1200," + wide, "hh:nn", 0);
        QCOMPARE(row->message, wide.left(128));
    }

    void loadSortsSkipsAndKeeps()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2009, 1, 5) + EncodeTime(8, 0));
        const QByteArray nul("1,1000,a\0b\r\n", 12); // reads as a hint but for its NUL
        const QByteArray bytes = Sjis(JoinLinesCrLf({"1,1500,おやつ", "/1,0800,comment", "",
                                                     "1,1200,お昼", "0,0900,朝", "1,ab00,bad"})) +
                                 nul;
        dir.writeBytes("BalloonHint.dat", bytes);
        BalloonHintStore store;
        const LoadReport r = store.LoadBalloonHints();
        QCOMPARE(r.unreadableLines, QList<int>({3, 6, 7}));
        QCOMPARE(store.rows().size(), size_t(3));
        QStringList keys;
        for (const auto& row : store.rows())
            keys.append(row.key);
        QCOMPARE(keys, QStringList({"09:00", "12:00", "15:00"}));
        store.sortByTime(false);
        QCOMPARE(store.rows().front().key, QStringLiteral("15:00"));
        store.SaveBalloonHints(); // another order is no change
        QCOMPARE(dir.readBytes("BalloonHint.dat"), bytes);

        // Comments and unreadable lines are written back in their places.
        store.rows().erase(store.rows().begin());
        store.SaveBalloonHints();
        QCOMPARE(ReadLines(BalloonHintPath()),
                 QStringList({"1,1200,お昼", "/1,0800,comment", "", "0,0900,朝", "1,ab00,bad",
                              QStringLiteral("1,1000,a\uFFFDb")}));
        QVERIFY(dir.readBytes("BalloonHint.dat").endsWith(nul)); // Shift-JIS, the NUL in place
    }

    void missingFileGivesNoRowsAndTheFirstSaveCreatesIt()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2009, 1, 5));
        BalloonHintStore store;
        QVERIFY(store.LoadBalloonHints().ok());
        QVERIFY(store.rows().empty());
        QVERIFY(!dir.exists("BalloonHint.dat"));
        BalloonHintRow row;
        row.message = QStringLiteral("休憩");
        SetBalloonHintTime(row, 10, 30, BalloonHintTimePattern(), Today());
        store.rows().push_back(row);
        store.SaveBalloonHints();
        QCOMPARE(dir.readBytes("BalloonHint.dat"), Sjis(QStringLiteral("1,1030,休憩\r\n")));
    }

    void timeTextFollowsThePatternSetting()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2009, 1, 5) + EncodeTime(13, 0));
        dir.writeBytes("BalloonHint.dat", Sjis(QStringLiteral("1,1330,x\r\n")));
        BalloonHintStore store;
        store.LoadBalloonHints();
        QCOMPARE(store.rows()[0].timeText, QStringLiteral("13:30"));
        WriteSettingStr(REG_BalloonHintHHNN, QStringLiteral("h時n分"));
        store.LoadBalloonHints();
        QCOMPARE(store.rows()[0].timeText, QStringLiteral("13時30分"));
        QCOMPARE(store.BalloonHintAt(QStringLiteral("13:30")).title, QStringLiteral("13時30分"));
    }

    void onlyTheFirstRowOfAMinuteCounts()
    {
        BalloonHintStore store;
        TempDataFolder dir;
        dir.writeBytes("BalloonHint.dat",
                       Sjis(JoinLinesCrLf({"0,1200,first", "1,1200,second", "1,1230,half"})));
        store.LoadBalloonHints(BalloonHintPath(), "hh:nn", EncodeDate(2009, 1, 5));
        BalloonHintHit hit = store.BalloonHintAt(QStringLiteral("12:00"));
        QVERIFY(!hit.shown);
        QCOMPARE(hit.message, QStringLiteral("first"));
        hit = store.BalloonHintAt(QStringLiteral("12:30"));
        QVERIFY(hit.shown);
        QCOMPARE(hit.title, QStringLiteral("12:30"));
        QCOMPARE(hit.message, QStringLiteral("half"));
        QVERIFY(!store.BalloonHintAt(QStringLiteral("12:31")).shown);
        QVERIFY(store.BalloonHintAt(QStringLiteral("12:31")).message.isEmpty());
    }

    void rowColours()
    {
        BalloonHintRow row;
        SetBalloonHintTime(row, 12, 0, "hh:nn", 0);
        const qint64 noon = 12 * 3600000;
        QCOMPARE(BalloonHintRowColour(row, noon - 1), RowColour::Black);
        QCOMPARE(BalloonHintRowColour(row, noon), RowColour::Black);
        QCOMPARE(BalloonHintRowColour(row, noon + 1), RowColour::Past);
        row.shown = false;
        QCOMPARE(BalloonHintRowColour(row, 0), RowColour::Past);
    }
};

QTEST_GUILESS_MAIN(TstBalloonHints)
#include "tst_balloonhints.moc"

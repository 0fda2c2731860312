// The sync engine over an in-memory calendar, with two data folders as two
// PCs: edits travel both ways, edits on both sides keep both versions, and a
// sync broken off at any call is finished by the next without doubling.
#include "sync/syncengine.h"
#include "sync/syncstate.h"

#include "fakecalendar.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace vn;
using namespace vn::sync;
using vn::test::FakeCalendar;
using vn::test::Sjis;

namespace {

const QString kDentist = QStringLiteral("202401101000,10,0,0,0,20240110,歯医者");
const QString kWeekly = QStringLiteral("202402011200,00,0,1,1,20241231,週例会, 会議室A; 3階");
const QString kTrip = QStringLiteral("202405010000,00,0,1,-1,20240503,旅行");
const QString kDay = QStringLiteral("20240110");
// The interrupted sync makes fewer calls than this.
constexpr int kLastCut = 8;

// One PC: a data folder.
class Pc {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

    // The schedule lines; comment lines stay where they are.
    void setLines(const QStringList& lines) const
    {
        WriteFileAtomic(file("Schedule.dat"), EncodeText(JoinLinesCrLf(comments() + lines)));
    }
    QStringList lines() const
    {
        QStringList l = all();
        l.removeIf([](const QString& line) { return line.startsWith(u'/'); });
        l.sort();
        return l;
    }
    QStringList comments() const { return all().filter(QRegularExpression(QStringLiteral("^/"))); }
    QString diaryPath(const QString& day) const
    {
        return file("Diary/" + day.left(6) + "/" + day + ".txt");
    }
    void setDiary(const QString& day, const QString& text) const
    {
        if (text.isEmpty()) {
            QFile::remove(diaryPath(day));
            return;
        }
        QDir().mkpath(file("Diary/" + day.left(6)));
        WriteFileAtomic(diaryPath(day), EncodeText(text));
    }
    // Every diary file: day -> text.
    std::map<QString, QString> diary() const
    {
        std::map<QString, QString> out;
        QDir root(file("Diary"));
        for (const QString& month : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString& name : QDir(root.filePath(month)).entryList(QDir::Files))
                out[name.left(8)] = ReadEditText(root.filePath(month + "/" + name));
        return out;
    }
    SyncResult sync(FakeCalendar& server) const
    {
        SyncOptions o;
        o.diary = true;
        o.calendar = QStringLiteral("/cal/");
        o.timeZone = "Asia/Tokyo";
        o.isHoliday = [](DateTime) { return false; };
        return RunSync(path(), server, o);
    }

private:
    QStringList all() const
    {
        return FileExists(file("Schedule.dat")) ? ReadLines(file("Schedule.dat")) : QStringList();
    }
    QTemporaryDir dir_;
};

// Syncs until a round changes nothing more; the last result.
SyncResult settle(FakeCalendar& server, const Pc& a, const Pc& b)
{
    SyncResult r;
    for (int i = 0; i < 3; ++i) {
        a.sync(server);
        r = b.sync(server);
    }
    return r;
}

void compareFolders(const Pc& a, const Pc& b, const FakeCalendar& server)
{
    QCOMPARE(a.lines(), b.lines());
    QCOMPARE(a.diary(), b.diary());
    // One resource per line and per diary day: nothing doubled.
    QCOMPARE(qsizetype(server.resources.size()), b.lines().size() + qsizetype(b.diary().size()));
    QCOMPARE(b.lines().removeDuplicates(), 0);
}

enum Edit { AddLine, ChangeLine, DeleteLine, AddDiary, ChangeDiary, DeleteDiary };

void edit(const Pc& pc, Edit e)
{
    switch (e) {
    case AddLine: pc.setLines(pc.lines() << kWeekly); break;
    case ChangeLine: {
        QStringList l = pc.lines();
        l.replaceInStrings(QStringLiteral("1000,10"), QStringLiteral("1430,10"));
        pc.setLines(l);
        break;
    }
    case DeleteLine: {
        QStringList l = pc.lines();
        l.removeAll(kDentist);
        pc.setLines(l);
        break;
    }
    case AddDiary: pc.setDiary(QStringLiteral("20240111"), QStringLiteral("新しい日記\r\n")); break;
    case ChangeDiary: pc.setDiary(kDay, QStringLiteral("晴れ\r\n午後から雨\r\n")); break;
    case DeleteDiary: pc.setDiary(kDay, {}); break;
    }
}

// Both PCs synced with one schedule and one diary day (A's file also holds
// a comment line, which stays A's).
void startSynced(FakeCalendar& server, const Pc& a, const Pc& b)
{
    WriteFileAtomic(a.file("Schedule.dat"),
                    Sjis(QStringLiteral("/ コメント\r\n") + kDentist + QStringLiteral("\r\n")));
    a.setDiary(kDay, QStringLiteral("晴れ\r\n"));
    settle(server, a, b);
}

} // namespace

class TstSyncEngine : public QObject {
    Q_OBJECT
private slots:
    void editsTravelBothWays_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<bool>("onA");
        const char* names[] = {"add a line",      "change a line",      "delete a line",
                               "add a diary day", "change a diary day", "delete a diary day"};
        for (int e = AddLine; e <= DeleteDiary; ++e) {
            QTest::addRow("%s on A", names[e]) << e << true;
            QTest::addRow("%s on B", names[e]) << e << false;
        }
    }
    void editsTravelBothWays()
    {
        QFETCH(int, edit);
        QFETCH(bool, onA);
        FakeCalendar server;
        Pc a, b;
        startSynced(server, a, b);
        QCOMPARE(b.lines(), QStringList{kDentist});
        const Pc& editor = onA ? a : b;
        const Pc& other = onA ? b : a;
        ::edit(editor, Edit(edit));
        const QStringList edited = editor.lines();
        const auto editedDiary = editor.diary();

        const SyncResult pushed = editor.sync(server);
        QVERIFY2(pushed.ok(), qPrintable(pushed.message));
        QCOMPARE(pushed.pushed + pushed.deleted, 1);
        const SyncResult pulled = other.sync(server);
        QCOMPARE(pulled.pulled + pulled.deleted, 1);
        QCOMPARE(pulled.schedulesChanged, edit <= DeleteLine);
        QCOMPARE(pulled.diaryDaysChanged.size(), edit <= DeleteLine ? 0 : 1);
        QVERIFY(pulled.complete);
        QCOMPARE(other.lines(), edited);
        QCOMPARE(other.diary(), editedDiary);
        // Nothing more to do on either side; the comment line is still A's.
        const SyncResult quiet = settle(server, a, b);
        QCOMPARE(quiet.pushed + quiet.pulled + quiet.deleted + quiet.conflicts, 0);
        QCOMPARE(editor.lines(), edited);
        compareFolders(a, b, server);
        // A sync with nothing to do asks once and writes nothing.
        const QDateTime stateWritten = QFileInfo(SyncStatePath(a.path())).lastModified();
        QTest::qWait(20);
        server.calls = 0;
        QVERIFY(a.sync(server).complete);
        QCOMPARE(server.calls, 1);
        QCOMPARE(QFileInfo(SyncStatePath(a.path())).lastModified(), stateWritten);
        QCOMPARE(a.comments(), QStringList{QStringLiteral("/ コメント")});
        QCOMPARE(b.comments(), QStringList());
    }

    // What a phone or a web calendar writes arrives through the import
    // mapping: the weekly rule becomes one line, the display alarm (not the
    // mail) its alarm.
    void eventFromElsewhereArrivesAsLines()
    {
        FakeCalendar server;
        Pc a, b;
        startSynced(server, a, b);
        server.write("/cal/phone-1.ics",
                     "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\n"
                     "BEGIN:VEVENT\r\nUID:phone-1\r\nDTSTAMP:20240301T000000Z\r\n"
                     "DTSTART;TZID=Asia/Tokyo:20240304T090000\r\n"
                     "RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=4\r\nSUMMARY:ジム\r\nDESCRIPTION:\r\n"
                     "BEGIN:VALARM\r\nACTION:EMAIL\r\nTRIGGER:-PT60M\r\nSUMMARY:x\r\n"
                     "DESCRIPTION:x\r\nATTENDEE:mailto:a@example.com\r\nEND:VALARM\r\n"
                     "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:ジム\r\n"
                     "END:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        settle(server, a, b);
        QVERIFY(a.lines().contains(QStringLiteral("202403040900,15,0,1,1,20240325,ジム")));
        compareFolders(a, b, server);
        // Deleted here: deleted there.
        QStringList l = b.lines();
        l.removeAll(QStringLiteral("202403040900,15,0,1,1,20240325,ジム"));
        b.setLines(l);
        settle(server, a, b);
        QVERIFY(!server.resources.count("/cal/phone-1.ics"));
        compareFolders(a, b, server);
        // A server that no longer knows the sync token: the full listing
        // still shows what was deleted there.
        server.forgetTokens();
        server.erase(server.resources.begin()->first);
        settle(server, a, b);
        compareFolders(a, b, server);
        QCOMPARE(qsizetype(server.resources.size()), 1);
    }

    void bothChangedKeepsBothVersions()
    {
        FakeCalendar server;
        Pc a, b;
        startSynced(server, a, b);
        const QString onA = QStringLiteral("202401101000,10,0,0,0,20240110,歯医者 (A)");
        const QString onB = QStringLiteral("202401101000,10,0,0,0,20240110,歯医者 (B)");
        a.setLines({onA});
        b.setLines({onB});
        a.setDiary(kDay, QStringLiteral("Aの日記\r\n"));
        b.setDiary(kDay, QStringLiteral("Bの日記\r\n"));
        QCOMPARE(a.sync(server).conflicts, 0);
        const SyncResult r = b.sync(server);
        QCOMPARE(r.conflicts, 2);
        settle(server, a, b);
        QCOMPARE(a.lines(), QStringList({onA, onB}));
        const QString diary = a.diary()[kDay];
        QVERIFY2(diary.startsWith(QStringLiteral("Bの日記\r\n-----")) &&
                     diary.endsWith(QStringLiteral("-----\r\nAの日記\r\n")),
                 qPrintable(diary));
        compareFolders(a, b, server);
        const SyncResult quiet = settle(server, a, b);
        QCOMPARE(quiet.pushed + quiet.pulled + quiet.conflicts, 0);
        compareFolders(a, b, server);
    }

    // A sync cut at each call in turn, with the call's work lost or done but
    // its answer lost; then ordinary syncs. A's edits and B's meet.
    void interruptedSyncFinishesWithoutDoubling_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<bool>("answerLost");
        for (int call = 1; call <= kLastCut; ++call) {
            QTest::addRow("cut before call %d", call) << call << false;
            QTest::addRow("answer of call %d lost", call) << call << true;
        }
    }
    void interruptedSyncFinishesWithoutDoubling()
    {
        QFETCH(int, call);
        QFETCH(bool, answerLost);
        FakeCalendar server;
        Pc a, b;
        startSynced(server, a, b);
        a.setLines({kWeekly, kTrip, QStringLiteral("202406010900,00,0,0,0,20240601,健診")});
        a.setDiary(QStringLiteral("20240111"), QStringLiteral("A\r\n"));
        b.setLines({kDentist, kTrip});
        b.setDiary(QStringLiteral("20240112"), QStringLiteral("B\r\n"));
        b.sync(server);
        const QStringList expected = a.lines();

        server.calls = 0;
        (answerLost ? server.loseAnswerOf : server.failFrom) = call;
        const SyncResult cut = a.sync(server);
        QVERIFY2(call < kLastCut || cut.ok(), "the cuts cover every call of the sync");
        QVERIFY(cut.ok() || cut.failure == SyncResult::Failure::Offline);
        QVERIFY(!cut.tellUser());
        server.failFrom = server.loseAnswerOf = 0;
        settle(server, a, b);
        QCOMPARE(a.lines(), expected);
        QCOMPARE(a.diary().size(), size_t(3));
        compareFolders(a, b, server);
        // Even with its state file gone, a PC finds its lines on the server.
        QVERIFY(QFile::remove(SyncStatePath(a.path())));
        QVERIFY(a.sync(server).complete);
        QCOMPARE(a.lines(), expected);
        compareFolders(a, b, server);
    }

    // A file written by someone else while the sync runs is not written
    // over; the next sync brings both together.
    void fileWrittenMeanwhileIsLeftForTheNextSync()
    {
        FakeCalendar server;
        Pc a, b;
        startSynced(server, a, b);
        a.setLines({kDentist, kTrip});
        a.sync(server);
        const QStringList mine = {kDentist, kWeekly};
        b.setDiary(QStringLiteral("20240113"), QStringLiteral("B\r\n"));
        server.calls = 0;
        server.beforeCall = [&](int n) {
            if (n == 3) // while the diary day goes to the server
                b.setLines(mine);
        };
        const SyncResult r = b.sync(server);
        QVERIFY(r.ok());
        QVERIFY(!r.complete);
        QCOMPARE(b.lines(), mine);
        server.beforeCall = nullptr;
        QVERIFY(b.sync(server).complete);
        QCOMPARE(b.lines(), QStringList({kDentist, kWeekly, kTrip}));
        settle(server, a, b);
        compareFolders(a, b, server);
    }

    void failuresNameTheirKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("failure");
        QTest::addColumn<bool>("tell");
        using K = TransportError::Kind;
        using F = SyncResult::Failure;
        QTest::newRow("offline") << int(K::Offline) << int(F::Offline) << false;
        QTest::newRow("password") << int(K::Unauthorized) << int(F::Unauthorized) << true;
        QTest::newRow("calendar gone") << int(K::NotFound) << int(F::NotFound) << true;
        QTest::newRow("certificate") << int(K::Certificate) << int(F::Certificate) << true;
        QTest::newRow("server error") << int(K::Server) << int(F::Server) << false;
    }
    void failuresNameTheirKind()
    {
        QFETCH(int, kind);
        QFETCH(int, failure);
        QFETCH(bool, tell);
        struct Failing : FakeCalendar {
            TransportError::Kind kind;
            RemoteChanges changesSince(const QByteArray&, TransportError& e) override
            {
                e.kind = kind;
                e.httpStatus = 500;
                e.detail = QStringLiteral("system words");
                return {};
            }
        } server;
        server.kind = TransportError::Kind(kind);
        Pc a;
        a.setLines({kDentist});
        const QByteArray before = ReadFileBytes(a.file("Schedule.dat"));
        const SyncResult r = a.sync(server);
        QCOMPARE(int(r.failure), failure);
        QCOMPARE(r.tellUser(), tell);
        // Japanese first, the server's words in brackets at the end.
        QVERIFY(r.message.endsWith(QStringLiteral("[HTTP 500 system words]")));
        QVERIFY(r.message.front().unicode() > 0x3000);
        QCOMPARE(ReadFileBytes(a.file("Schedule.dat")), before);
    }
};

QTEST_GUILESS_MAIN(TstSyncEngine)
#include "tst_syncengine.moc"

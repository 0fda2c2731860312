// Two writers on one data folder: the program's stores and another program
// that rewrites their files meanwhile (as a sync tool does: a new file
// renamed over the old one; or in place). Whatever either side wrote ends up
// on disk, in the file or in a conflict copy the user is told of.
#include "calendar/diarystore.h"
#include "fakeclock.h"
#include "foundation/filestamp.h"
#include "foundation/inifile.h"
#include "foundation/outsidechange.h"
#include "foundation/paths.h"
#include "foundation/recordfile.h"
#include "foundation/textfile.h"
#include "schedule/balloonhints.h"
#include "tempdatafolder.h"
#include "workspace/pagestore.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

enum class Kind { Page, Diary, List, Settings };
enum class Style { Renamed, InPlace, InPlaceSameSizeAndTime, SameBytesAgain };

class TextMemo : public cal::DiaryMemo {
public:
    QString text() const override { return text_; }
    void setLines(const QStringList& lines) override { text_ = lines.join(u'\n'); }
    QString text_;
};

// Writes a file as another program would.
void writeOutside(const QString& path, const QByteArray& bytes, Style style)
{
    struct stat before {};
    ::stat(QFile::encodeName(path).constData(), &before);
    if (style == Style::Renamed) {
        QFile tmp(path + QStringLiteral(".syncthing.tmp"));
        QVERIFY(tmp.open(QIODevice::WriteOnly));
        tmp.write(bytes);
        tmp.close();
        QVERIFY(::rename(QFile::encodeName(tmp.fileName()).constData(),
                         QFile::encodeName(path).constData()) == 0);
        return;
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    if (style == Style::InPlaceSameSizeAndTime) { // a file system keeping whole seconds
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
    }
}

// The file's time as a file system keeping whole seconds gives it, the
// current second (a moment ahead, so the program reads it in that second).
void coarseTime(const QString& path)
{
    const struct timespec t[2] = {{::time(nullptr) + 1, 0}, {::time(nullptr) + 1, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), t, 0) == 0);
}

QStringList copiesBeside(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.completeBaseName() + QStringLiteral(" (外部の変更 *).txt")},
                                QDir::Files);
}

} // namespace

class TstOutsideChanges : public QObject {
    Q_OBJECT
private slots:
    void eachSideKeepsWhatItWrote_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("touchedHere");
        QTest::addColumn<Style>("style");
        // Page and diary texts are three lines; the other program changes
        // the second ("two" -> "TWO", same size) and the program, when it
        // touches the file, the third.
        const struct {
            const char* name;
            Kind kind;
        } kinds[] = {{"page", Kind::Page},
                     {"diary", Kind::Diary},
                     {"list", Kind::List},
                     {"settings", Kind::Settings}};
        const struct {
            const char* name;
            Style style;
        } styles[] = {{"renamed over", Style::Renamed},
                      {"in place", Style::InPlace},
                      {"in place, same size and time", Style::InPlaceSameSizeAndTime},
                      {"same bytes written again", Style::SameBytesAgain}};
        for (const auto& k : kinds)
            for (bool touched : {false, true})
                for (const auto& s : styles)
                    QTest::newRow(
                        QStringLiteral("%1, %2, %3")
                            .arg(k.name, touched ? "changed here" : "untouched here", s.name)
                            .toUtf8())
                        << k.kind << touched << s.style;
    }
    void eachSideKeepsWhatItWrote()
    {
        QFETCH(Kind, kind);
        QFETCH(bool, touchedHere);
        QFETCH(Style, style);
        TempDataFolder dir;
        test::FakeClock clock(test::At(2026, 12, 10, 8, 12));
        QList<OutsideChange> told;
        SetOutsideChangeSink([&](const OutsideChange& c) { told << c; });

        const QStringList first{"one", "two", "three"};
        QStringList outside = first, here = first;
        if (style != Style::SameBytesAgain)
            outside[1] = QStringLiteral("TWO");
        if (touchedHere)
            here[2] = QStringLiteral("three, typed here");
        const bool outsideChanged = outside != first;
        const bool coarse = style == Style::InPlaceSameSizeAndTime;

        QString path, shown; // the file, and what the program shows of it after
        if (kind == Kind::Page) {
            path = PageFilePath(2);
            dir.writeBytes(QFileInfo(path).fileName(), Sjis(first.join("\r\n")));
            if (coarse)
                coarseTime(path);
            PageStore store;
            store.load();
            store.text(2);
            if (touchedHere)
                store.setText(2, here.join("\r\n"));
            writeOutside(path, Sjis(outside.join("\r\n")), style);
            for (int i = 0; i < kPageCount; ++i)
                store.takeIn(i);
            QVERIFY(store.save(kPageCount, true).isEmpty());
            shown = store.text(2);
        } else if (kind == Kind::Diary) {
            cal::DiaryStore diary;
            TextMemo memo;
            diary.SetDiaryMemo(&memo);
            diary.SetDiaryFolder(DiaryFolder());
            const DateTime day = EncodeDate(2026, 12, 10);
            path = diary.DiaryPath(day);
            QDir().mkpath(QFileInfo(path).path());
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(Sjis(first.join("\r\n")));
            f.close();
            if (coarse)
                coarseTime(path);
            diary.LoadDiary(day);
            if (touchedHere)
                memo.text_ = here.join(u'\n');
            writeOutside(path, Sjis(outside.join("\r\n")), style);
            QVERIFY(diary.SaveDiary());
            shown = memo.text_;
            shown.replace(u'\n', QLatin1String("\r\n"));
        } else if (kind == Kind::List) {
            path = dir.file("BalloonHint.dat");
            dir.writeBytes("BalloonHint.dat", Sjis(JoinLinesCrLf(first)));
            if (coarse)
                coarseTime(path);
            const RecordFile file = RecordFile::Read(path);
            writeOutside(path, Sjis(JoinLinesCrLf(outside)), style);
            file.write(path, here);
        } else {
            path = SettingsFilePath();
            auto ini = [&](const QStringList& v) {
                return Sjis(
                    QStringLiteral("[Memo]\r\na=%1\r\nb=%2\r\nc=%3\r\n").arg(v[0], v[1], v[2]));
            };
            dir.writeBytes(QFileInfo(path).fileName(), ini(first));
            if (coarse)
                coarseTime(path);
            IniWriteBatch batch;
            IniFile(path).writeValue("Memo", "a", "one"); // the program sets a value it had
            if (touchedHere)
                IniFile(path).writeValue("Memo", "c", here[2]);
            writeOutside(path, ini(outside), style);
            batch.commit();
            const QStringList v{IniFile(path).readString("Memo", "a", {}),
                                IniFile(path).readString("Memo", "b", {}),
                                IniFile(path).readString("Memo", "c", {})};
            QCOMPARE(v, (QStringList{"one", outside[1], here[2]}));
            QVERIFY(told.isEmpty());
            SetOutsideChangeSink({});
            return;
        }

        const QStringList copies = copiesBeside(path);
        const QStringList onDisk = ReadLines(path);
        if (kind == Kind::List) {
            // Merged by line: the line changed outside and the one changed
            // here are both in the file (each changed one beside its old
            // self gone, as neither side kept it).
            QStringList expected = outside;
            if (touchedHere)
                expected[2] = here[2];
            QCOMPARE(onDisk, expected);
            QVERIFY(copies.isEmpty());
            QCOMPARE(told.size(), touchedHere && outsideChanged ? 1 : 0);
        } else if (touchedHere && outsideChanged) {
            // Both changed: the program's text in the file, the other in a
            // copy named after the file and the moment, and one word of it.
            QCOMPARE(onDisk, here);
            QCOMPARE(copies.size(), 1);
            QCOMPARE(copies[0], QFileInfo(path).completeBaseName() +
                                    QStringLiteral(" (外部の変更 2026-12-10 0812).txt"));
            const QString copy = QFileInfo(path).dir().filePath(copies[0]);
            QCOMPARE(ReadLines(copy), outside);
            QCOMPARE(told.size(), 1);
            QCOMPARE(told[0].kind, OutsideChange::Kind::Copied);
            QCOMPARE(told[0].copyPath, copy);
            QVERIFY(OutsideChangeMessage(told).contains(copies[0]));
            QCOMPARE(shown, here.join("\r\n"));
        } else {
            // One side changed: its text is in the file and on screen.
            const QStringList expected = touchedHere ? here : outside;
            QCOMPARE(onDisk, expected);
            QCOMPARE(shown, expected.join("\r\n"));
            QVERIFY(copies.isEmpty());
            for (const OutsideChange& c : told)
                QCOMPARE(c.kind, OutsideChange::Kind::TakenIn);
            QCOMPARE(told.size(), !touchedHere && outsideChanged ? 1 : 0);
        }
        SetOutsideChangeSink({});
    }

    void balloonHintsAreNotHeldFromStartUp()
    {
        TempDataFolder dir;
        const DateTime today = EncodeDate(2026, 12, 10);
        const QString path = dir.file("BalloonHint.dat");
        dir.writeBytes("BalloonHint.dat", Sjis("1,0900,morning\r\n"));
        BalloonHintStore hints;
        hints.LoadBalloonHints(path, "hh:nn", today);
        // A line added outside is taken in while nothing was changed here.
        writeOutside(path, Sjis("1,0900,morning\r\n1,1200,noon\r\n"), Style::Renamed);
        QVERIFY(hints.takeInOutsideChange("hh:nn", today));
        QCOMPARE(hints.rows().size(), size_t(2));
        QCOMPARE(hints.rows()[1].message, QStringLiteral("noon"));
        // Changed here and outside: not reloaded (the change here would go);
        // the save merges both.
        hints.rows()[0].message = QStringLiteral("morning here");
        writeOutside(path, Sjis("1,0900,morning\r\n1,1200,noon\r\n1,1800,evening\r\n"),
                     Style::InPlace);
        QVERIFY(!hints.takeInOutsideChange("hh:nn", today));
        hints.SaveBalloonHints(path);
        QCOMPARE(ReadLines(path),
                 (QStringList{"1,0900,morning here", "1,1200,noon", "1,1800,evening"}));
    }

    void aStampKnowsWhatWasRead()
    {
        TempDataFolder dir;
        const QString path = dir.file("x.txt");
        QCOMPARE(FileStamp::read(path), FileStamp::missing());
        QVERIFY(!ChangedSince(path, FileStamp::missing()));
        QVERIFY(!ChangedSince(path, FileStamp{})); // nothing read, nothing to lose
        dir.writeBytes("x.txt", "abc");
        QVERIFY(ChangedSince(path, FileStamp::missing())); // created outside
        const FileStamp stamp = FileStamp::read(path);
        QVERIFY(stamp.holds("abc") && !stamp.holds("abd"));
        QVERIFY(!ChangedSince(path, stamp));
        // A stamp taken without its hash: a file whose size or time moved
        // counts as changed until the hash is given.
        FileStamp late = FileStamp::of(path, "abc", false);
        writeOutside(path, "abc", Style::Renamed);
        QVERIFY(ChangedSince(path, late));
        late.hash = FileStamp::hashOf("abc");
        QVERIFY(!ChangedSince(path, late));
        // Read in the second of its last change, the stamp compares bytes;
        // read when the file has kept still for a while, it need not.
        coarseTime(path);
        FileStamp fresh = FileStamp::read(path);
        QVERIFY(fresh.racy);
        QVERIFY(!ChangedSinceSettling(path, fresh));
        QVERIFY(fresh.racy);
        const struct timespec old[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, 0) == 0);
        fresh = FileStamp::read(path);
        QVERIFY(!fresh.racy);
        writeOutside(path, "abd", Style::InPlace);
        QVERIFY(ChangedSinceSettling(path, fresh));
        QFile::remove(path);
        QVERIFY(ChangedSince(path, stamp));
        const OutsideBytes gone = ReadIfChangedSince(path, stamp);
        QVERIFY(gone.changed && !gone.exists);
    }
};

QTEST_GUILESS_MAIN(TstOutsideChanges)
#include "tst_outsidechanges.moc"

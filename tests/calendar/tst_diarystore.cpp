// Diary files on disk, the diary-day set, and the diary title; with the
// calendar core that wires the diary to selection, holidays and rokuyō.
#include "calendar/calendarcore.h"
#include "calendar/calendardates.h"
#include "fakeclock.h"
#include "foundation/apperror.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QtTest>

#include <future>
#include <set>
#include <sys/stat.h>

using namespace vn;
using namespace vn::cal;

namespace {

class FakeMemo : public DiaryMemo {
public:
    QString text() const override { return text_; }
    void setLines(const QStringList& lines) override { text_ = lines.join(u'\n'); }
    void setNotice(const QString& text, bool ro, bool offer) override
    {
        notice = text;
        readOnly = ro;
        offerRewrite = offer;
    }
    QString text_, notice;
    bool readOnly = false, offerRewrite = false;
};

class FakeTitle : public DiaryTitle {
public:
    void setText(const QString& t) override { text = t; }
    void setColor(quint32 c) override { color = c; }
    QString text;
    quint32 color = 0xFFFFFFFF;
};

DateTime day(int y, int m, int d)
{
    return AnchorDate(y, m, d);
}

} // namespace

class TestDiaryStore : public QObject {
    Q_OBJECT

    test::TempDataFolder* data_ = nullptr;
    test::FakeClock* clock_ = nullptr;
    CalendarCore* core_ = nullptr;
    FakeMemo memo_;
    FakeTitle title_;

    QString diaryFolder() const { return data_->file("Diary"); }
    // Writes a file below the data folder, creating its folders.
    void put(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(data_->file(name)).path());
        data_->writeBytes(name, bytes);
    }
    QString fileOf(const char* month, const char* key) const
    {
        return diaryFolder() + '/' + month + '/' + key + ".txt";
    }

private slots:
    void init()
    {
        data_ = new test::TempDataFolder;
        clock_ = new test::FakeClock(EncodeDate(2008, 5, 2) + EncodeTime(9, 0));
        core_ = new CalendarCore;
        memo_.text_.clear();
        title_ = FakeTitle();
        core_->diary().SetDiaryMemo(&memo_);
        core_->diary().SetDiaryTitle(&title_);
        core_->SetDiaryFolder(diaryFolder()); // does not exist yet
    }
    void cleanup()
    {
        delete core_;
        delete clock_;
        delete data_;
    }

    void saveSelectAndLoad()
    {
        DiaryStore& diary = core_->diary();
        core_->model().MoveToToday(); // loads today, saves nothing
        QCOMPARE(DateOnly(core_->DiaryDate()), EncodeDate(2008, 5, 2));
        QVERIFY(!QFileInfo::exists(diaryFolder()));
        memo_.text_ = "一行目\n二行目";
        diary.SelectDiaryDate(day(2008, 6, 1));
        const QString path = fileOf("200805", "20080502");
        QCOMPARE(diary.DiaryPath(day(2008, 5, 2)), path);
        QCOMPARE(data_->readBytes("Diary/200805/20080502.txt"), test::Sjis("一行目\r\n二行目\r\n"));
        QVERIFY(core_->HasDiary(day(2008, 5, 2)));
        QVERIFY(diary.HasDiary(QString("20080502")));
        // The new day has no file: the memo is emptied.
        QCOMPARE(memo_.text_, QString());
        QCOMPARE(core_->DiaryDate(), day(2008, 6, 1));
        // Saving an empty memo of a day without a file adds nothing.
        diary.SaveDiary();
        QVERIFY(!core_->HasDiary(day(2008, 6, 1)));
        QVERIFY(!QFileInfo::exists(fileOf("200806", "20080601")));
        QVERIFY(!QFileInfo::exists(diaryFolder() + "/200806")); // nor the month's folder
        // Back again: the lines are loaded.
        diary.SelectDiaryDate(day(2008, 5, 2));
        QCOMPARE(memo_.text_, QString("一行目\n二行目"));
    }

    void sameTextIsNotWrittenAgain()
    {
        DiaryStore& diary = core_->diary();
        diary.LoadDiary(day(2010, 1, 5));
        memo_.text_ = "同じ\r\n";
        diary.SaveDiary();
        const QString path = fileOf("201001", "20100105");
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
        f.close();
        memo_.text_ = "同じ";
        diary.SaveDiary();
        QCOMPARE(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
        memo_.text_ = "違う";
        diary.SaveDiary();
        QVERIFY(QFileInfo(path).lastModified() > old.addSecs(60));
        QCOMPARE(ReadLines(path), QStringList{"違う"});
    }

    void emptyingDeletesTheFile()
    {
        DiaryStore& diary = core_->diary();
        diary.LoadDiary(day(2009, 3, 3));
        memo_.text_ = "消す";
        diary.SelectDiaryDate(day(2009, 3, 4));
        QVERIFY(core_->HasDiary(day(2009, 3, 3)));
        diary.SelectDiaryDate(day(2009, 3, 3));
        memo_.text_.clear();
        diary.SelectDiaryDate(day(2009, 3, 4));
        QVERIFY(!QFileInfo::exists(fileOf("200903", "20090303")));
        QVERIFY(!core_->HasDiary(day(2009, 3, 3)));
        // A blank line is text and is kept.
        memo_.text_ = "\n";
        diary.SelectDiaryDate(day(2009, 3, 5));
        QCOMPARE(data_->readBytes("Diary/200903/20090304.txt"), QByteArray("\r\n"));
    }

    // Typed text for a day that cannot be saved is reported and kept: the
    // diary stays on its day until the text is emptied.
    void daysBeforeTheYear2000AreNeverWritten()
    {
        DiaryStore& diary = core_->diary();
        QStringList reports;
        diary.setFailureReport([&](const QString& m) { reports << m; });
        put("Diary/197001/19700101.txt", "put there by hand");
        clock_->set(EncodeDate(1970, 1, 1) + EncodeTime(9, 0)); // a clock gone wrong
        core_->model().MoveToToday();
        QCOMPARE(memo_.text_, QString("put there by hand"));
        memo_.text_.clear();
        QVERIFY(memo_.notice.contains("2000年1月より前"));
        QVERIFY(!memo_.readOnly);
        QVERIFY(diary.SaveDiary()); // nothing typed: nothing to say
        memo_.text_ = "古い日";
        QVERIFY(!diary.SaveDiary());
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports[0].contains("1970/01/01") && reports[0].contains("保存できません"));
        QVERIFY(!diary.SelectDiaryDate(day(2000, 1, 1)));
        QCOMPARE(memo_.text_, QString("古い日"));
        memo_.text_.clear();
        QVERIFY(diary.SelectDiaryDate(day(2000, 1, 1)));
        QCOMPARE(data_->readBytes("Diary/197001/19700101.txt"), QByteArray("put there by hand"));
        QVERIFY(memo_.notice.isEmpty());
        memo_.text_ = "新しい日";
        diary.SaveDiary();
        QVERIFY(QFileInfo::exists(fileOf("200001", "20000101")));
        // The empty date is never saved, and nothing is saved before a load.
        DiaryStore fresh;
        fresh.SetDiaryFolder(diaryFolder());
        fresh.SetDiaryMemo(&memo_);
        QVERIFY(fresh.SaveDiary());
        QVERIFY(fresh.SaveDiaryOf(0));
        QCOMPARE(QDir(diaryFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{"197001", "200001"}));
    }

    // A day's file that cannot be shown as it is, or that is no file, is
    // shown read-only and never written or removed (an empty pane included)
    // until the user accepts; UTF-16 stays UTF-16.
    void diaryFilesKeepTheirFormAndHeldFilesTheirBytes_data()
    {
        QTest::addColumn<QString>("kind"); // "bytes", "folder" or "fifo"
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QByteArray>("typed"); // the file once "!" is typed (after accepting)
        const QString u16 = QStringLiteral("日記\r\n");
        const QByteArray le =
            QByteArray("\xFF\xFE") +
            QByteArray(reinterpret_cast<const char*>(u16.utf16()), u16.size() * 2);
        const QString u16typed = QStringLiteral("日記\r\n!\r\n");
        const QByteArray leTyped =
            QByteArray("\xFF\xFE") +
            QByteArray(reinterpret_cast<const char*>(u16typed.utf16()), u16typed.size() * 2);
        const QByteArray mark8("\xEF\xBB\xBF");
        const QByteArray huge(DiaryStore::kLargestShown + 100, 'a'); // one long line
        QTest::newRow("NUL first")
            << "bytes" << QByteArray("\0secret\r\n", 9) << QStringLiteral("\uFFFDsecret") << true
            << true << mark8 + QStringLiteral("\uFFFDsecret\r\n!\r\n").toUtf8();
        QTest::newRow("undecodable bytes")
            << "bytes" << QByteArray::fromHex("41ff42") << QStringLiteral("A\uFFFDB") << true
            << true << mark8 + QStringLiteral("A\uFFFDB\r\n!\r\n").toUtf8();
        QTest::newRow("UTF-16 LE")
            << "bytes" << le << QStringLiteral("日記") << false << false << leTyped;
        const qsizetype longest = DiaryStore::kLongestLineShown;
        QTest::newRow("larger than the pane takes")
            << "bytes" << huge << QString(longest, u'a') << true << true
            << QByteArray(longest, 'a') + "\r\n!\r\n";
        QTest::newRow("a line longer than the pane takes")
            << "bytes"
            << "first\r\n" + QByteArray(longest + 1, 'b') + "\r\nlast"
            << "first\n" + QString(longest, u'b') + "\nlast" << true << true
            << "first\r\n" + QByteArray(longest, 'b') + "\r\nlast\r\n!\r\n";
        QTest::newRow("a folder in its place")
            << "folder" << QByteArray() << QString() << true << false << QByteArray();
        QTest::newRow("a FIFO in its place")
            << "fifo" << QByteArray() << QString() << true << false << QByteArray();
    }
    void diaryFilesKeepTheirFormAndHeldFilesTheirBytes()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, held);
        QFETCH(bool, offered);
        QFETCH(QByteArray, typed);
        DiaryStore& diary = core_->diary();
        QStringList reports;
        diary.setFailureReport([&](const QString& m) { reports << m; });
        const QString path = fileOf("200805", "20080502");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            put("Diary/200805/20080502.txt", bytes);
        auto unchanged = [&] {
            const QFileInfo info(path);
            return kind == "folder" ? info.isDir()
                   : kind == "fifo" ? !info.isFile() && info.exists()
                                    : data_->readBytes("Diary/200805/20080502.txt") == bytes;
        };
        diary.LoadDiary(day(2008, 5, 2));
        QCOMPARE(memo_.text_, shown);
        QCOMPARE(diary.held(), held);
        QCOMPARE(memo_.readOnly, held);
        QCOMPARE(memo_.offerRewrite, offered);
        QCOMPARE(memo_.notice.contains(QDir::toNativeSeparators(path)), held);
        if (held) {
            // The 30-second save, an emptied pane and a day switch: the file
            // stays, and nothing is reported.
            QVERIFY(diary.SaveDiary());
            memo_.text_.clear();
            QVERIFY(diary.SaveDiary());
            QVERIFY(diary.SelectDiaryDate(day(2008, 5, 3)));
            QVERIFY(unchanged());
            QVERIFY(reports.isEmpty());
            diary.LoadDiary(day(2008, 5, 2));
            if (!offered)
                return;
            // The user's word: the old bytes are copied beside the file.
            const QString copy = diary.heldCopyPath();
            QVERIFY(copy.startsWith(path + '.') && copy.endsWith(".bak"));
            diary.acceptRewrite(copy);
            QVERIFY(!diary.held() && !memo_.readOnly);
            QFile copied(copy);
            QVERIFY(copied.open(QIODevice::ReadOnly));
            QCOMPARE(copied.readAll(), bytes);
        }
        memo_.text_ = shown + "\n!";
        QVERIFY(diary.SaveDiary());
        QCOMPARE(data_->readBytes("Diary/200805/20080502.txt"), typed);
    }

    void withoutFolderOrMemoNothingHappens()
    {
        DiaryStore diary;
        FakeMemo memo;
        memo.text_ = "x";
        diary.SetDiaryMemo(&memo);
        diary.LoadDiary(day(2010, 1, 1));
        QCOMPARE(memo.text_, QString("x")); // no folder: the memo is left alone
        diary.SaveDiary();
        QCOMPARE(diary.DiaryDayCount(), 0);
        diary.SetDiaryMemo(nullptr);
        diary.SetDiaryFolder(diaryFolder());
        diary.SaveDiary();
        QVERIFY(!QFileInfo::exists(diaryFolder()));
    }

    void monthFolderThatCannotBeCreated()
    {
        QVERIFY(QDir().mkpath(diaryFolder()));
        data_->writeBytes("Diary/201102", "not a folder");
        DiaryStore& diary = core_->diary();
        diary.LoadDiary(day(2011, 2, 3));
        memo_.text_ = "残る";
        diary.SaveDiary();
        QVERIFY(!core_->HasDiary(day(2011, 2, 3)));
        QCOMPARE(memo_.text_, QString("残る"));
        // The next save tries again.
        QVERIFY(QFile::remove(data_->file("Diary/201102")));
        diary.SaveDiary();
        QVERIFY(core_->HasDiary(day(2011, 2, 3)));
    }

    void scan()
    {
        put("Diary/200805/20080505.txt", "a");
        put("Diary/200805/20080506.TXT", "upper-case extension");
        put("Diary/200805/2008050.txt", "short");
        put("Diary/200805/200805070.txt", "long");
        put("Diary/200805/abcdefgh.txt", "not digits");
        put("Diary/200805/20081332.txt", "no such day");
        put("Diary/20080510.txt", "in the root");
        put("Diary/x/y/z/20120229.txt", "deep");
        // A sync tool's leftovers: a deleted day kept by Syncthing's trash
        // can, and a conflict copy in a folder of its own name.
        put("Diary/.stversions/200805/20080507.txt", "deleted elsewhere");
        put("Diary/200805 (conflicted copy 2008-05-08)/20080508.txt", "Dropbox");
        core_->SetDiaryFolder(diaryFolder());
        DiaryStore& diary = core_->diary();
        QCOMPARE(diary.DiaryDayCount(), 3);
        QVERIFY(core_->HasDiary(day(2008, 5, 5)));
        QVERIFY(!core_->HasDiary(day(2008, 5, 6)));
        QVERIFY(core_->HasDiary(day(2008, 5, 10)));
        QVERIFY(core_->HasDiary(day(2012, 2, 29)));
        QVERIFY(!diary.HasDiary(QString("2008051")));
        // A file outside its month folder marks the day but is not loaded.
        diary.LoadDiary(day(2008, 5, 10));
        QCOMPARE(memo_.text_, QString());
        // A later scan starts afresh.
        QVERIFY(QFile::remove(data_->file("Diary/20080510.txt")));
        diary.ScanDiaryFolder(diaryFolder());
        QCOMPARE(diary.DiaryDayCount(), 2);
        // A folder that does not exist shows no marks.
        core_->SetDiaryFolder(data_->file("elsewhere"));
        QCOMPARE(diary.DiaryDayCount(), 0);
        // A scan made ahead on another thread is the same, and is taken once
        // by the next scan of its folder only.
        auto ahead = std::async(std::launch::async, [folder = diaryFolder()] {
            return DiaryStore::DiaryDaysIn(folder);
        });
        DiaryStore::AdoptDiaryScan(diaryFolder(), ahead.get());
        put("Diary/200805/20080509.txt", "written after the scan ahead");
        diary.ScanDiaryFolder(data_->file("elsewhere"));
        QCOMPARE(diary.DiaryDayCount(), 0);
        diary.ScanDiaryFolder(diaryFolder());
        QCOMPARE(diary.diaryDays(), (std::set<int>{20080505, 20120229}));
        diary.ScanDiaryFolder(diaryFolder());
        QCOMPARE(diary.DiaryDayCount(), 3);
    }

    void title()
    {
        DiaryStore& diary = core_->diary();
        diary.LoadDiary(day(2008, 5, 5));
        QCOMPARE(title_.text, QString("【日記】2008/05/05(月)[仏滅] こどもの日"));
        QCOMPARE(title_.color, core_->colors().holiday);
        diary.LoadDiary(day(2008, 5, 10)); // Saturday, no holiday
        QVERIFY(title_.text.startsWith("【日記】2008/05/10(土)["));
        QVERIFY(title_.text.endsWith("] "));
        QCOMPARE(title_.color, core_->colors().saturday);
        core_->SetShowRoku(false);
        diary.LoadDiary(day(2008, 5, 6));
        QCOMPARE(title_.text, QString("【日記】2008/05/06(火) 振替休日"));
        diary.LoadDiary(day(2008, 5, 8));
        QCOMPARE(title_.text, QString("【日記】2008/05/08(木) "));
        QCOMPARE(title_.color, core_->colors().weekday);
        core_->SetShowRoku(true);
        core_->SetRokuyou(false);
        diary.SetDiaryFormat("yyyy.mm.dd");
        diary.LoadDiary(day(2001, 1, 1));
        QCOMPARE(title_.text, QString("【日記】2001.01.01[じゃっこう] 元日"));
    }

    void selectionSwitchesTheDiary()
    {
        CalendarModel& m = core_->model();
        m.SetSize(178, 138);
        m.MoveToToday();
        memo_.text_ = "今日";
        // Clicking outside every day saves and reloads the current date.
        m.SelectAt(1, 1);
        QVERIFY(core_->HasDiary(day(2008, 5, 2)));
        QCOMPARE(memo_.text_, QString("今日"));
        // Clicking another day saves today's diary and loads that day's.
        const CalendarLayout l = m.Layout();
        const DayCell& c = l.blocks[0].cells[20];
        m.SelectAt(c.rect.left, c.rect.top);
        QCOMPARE(core_->DiaryDate(), c.date);
        QCOMPARE(memo_.text_, QString());
        // Month navigation leaves the diary alone.
        m.MoveNextMonth();
        QCOMPARE(core_->DiaryDate(), c.date);
    }

    void dayColorsAndHolidayQueries()
    {
        DayColors& colors = core_->colors();
        colors = {0x01, 0x02, 0x03, 0x04};
        QCOMPARE(core_->DayColor(day(2008, 5, 4)), quint32(0x04)); // Sunday holiday
        QCOMPARE(core_->DayColor(day(2008, 5, 6)), quint32(0x04)); // substitute
        QCOMPARE(core_->DayColor(day(2008, 5, 11)), quint32(0x01));
        QCOMPARE(core_->DayColor(day(2008, 5, 10)), quint32(0x02));
        QCOMPARE(core_->DayColor(day(2008, 5, 9)), quint32(0x03));
        core_->model().SetDate(day(2008, 5, 5));
        QCOMPARE(core_->SelectedHolidayName(), QString("こどもの日"));
        core_->model().SetDate(day(2008, 5, 9));
        QCOMPARE(core_->SelectedHolidayName(), QString());
        const std::function<bool(DateTime)> isHoliday = core_->HolidayTest();
        QVERIFY(isHoliday(EncodeDate(2020, 7, 24)));
        QVERIFY(!isHoliday(EncodeDate(2020, 10, 12)));
        data_->writeBytes("Holiday.dat", test::Sjis("1012,2020,2020,社休\r\n"));
        core_->LoadHolidays(data_->file("Holiday.dat"));
        QVERIFY(isHoliday(EncodeDate(2020, 10, 12)));
    }
};

QTEST_GUILESS_MAIN(TestDiaryStore)
#include "tst_diarystore.moc"

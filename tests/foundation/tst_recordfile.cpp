// Record files rewritten by the lists: kept lines go back in their places
// and with their own bytes; unchanged content is not rewritten.
#include "foundation/apperror.h"
#include "foundation/outsidechange.h"
#include "foundation/recordfile.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

} // namespace

class TstRecordFile : public QObject {
    Q_OBJECT
private slots:
    void shortHalfWidthKatakanaLinesStayShiftJis()
    {
        // Valid UTF-8 too; the program writes UTF-8 only with a mark.
        TempDataFolder dir;
        const QByteArray bytes("\xCF\xB2\xC5\xBD 100\r\n\xCA\xB2\r\n");
        dir.writeBytes("Holiday.dat", bytes);
        RecordFile f = RecordFile::Read(dir.file("Holiday.dat"));
        QCOMPARE(f.lines(), QStringList({"ﾏｲﾅｽ 100", "ﾊｲ"}));
        f.keep(0);
        QCOMPARE(f.compose({QStringLiteral("ﾊｲ")}), bytes);
        // marked UTF-8, and UTF-8 that Shift-JIS cannot decode
        dir.writeBytes("a.dat", "\xEF\xBB\xBF" + QStringLiteral("\uFEFFé\r\nx").toUtf8());
        QCOMPARE(RecordFile::Read(dir.file("a.dat")).lines(),
                 QStringList({QStringLiteral("\uFEFFé"), QStringLiteral("x")}));
        dir.writeBytes("b.dat", QStringLiteral("日本語のテキスト").toUtf8());
        QCOMPARE(RecordFile::Read(dir.file("b.dat")).lines(), QStringList({"日本語のテキスト"}));
        // A line that Shift-JIS cannot decode among Shift-JIS lines keeps its
        // bytes when the records around it are rewritten.
        dir.writeBytes("c.dat", "\xB1\r\nx\xEF\xBC\xA1\r\n");
        RecordFile c = RecordFile::Read(dir.file("c.dat"));
        QVERIFY(c.unreadable(1));
        c.write(dir.file("c.dat"), {QStringLiteral("abc")});
        QVERIFY(dir.readBytes("c.dat").endsWith("abc\r\nx\xEF\xBC\xA1\r\n"));
        QCOMPARE(RecordFile::Read(dir.file("c.dat")).lines().value(0), QStringLiteral("abc"));
    }

    void keptLinesGoBackInTheirPlaces_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QList<int>>("kept");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("expected");
        const QStringList file{"a", "/c", "b", "x!", "d"};
        QTest::newRow("unchanged")
            << file << QList<int>{1, 3} << QStringList{"a", "b", "d"} << file;
        QTest::newRow("reordered only: unchanged")
            << file << QList<int>{1, 3} << QStringList{"d", "b", "a"} << file;
        QTest::newRow("reordered and one added")
            << file << QList<int>{1, 3} << QStringList{"d", "b", "a", "e"}
            << QStringList{"d", "/c", "b", "x!", "a", "e"};
        QTest::newRow("one removed before") << file << QList<int>{1, 3} << QStringList{"b", "d"}
                                            << QStringList{"b", "/c", "d", "x!"};
        QTest::newRow("all removed")
            << file << QList<int>{1, 3} << QStringList{} << QStringList{"/c", "x!"};
        QTest::newRow("added at the end")
            << file << QList<int>{1, 3} << QStringList{"a", "b", "d", "e", "f"}
            << QStringList{"a", "/c", "b", "x!", "d", "e", "f"};
        QTest::newRow("kept first and last")
            << QStringList{"/1", "a", "/2"} << QList<int>{0, 2} << QStringList{"a", "b"}
            << QStringList{"/1", "a", "/2", "b"};
        QTest::newRow("nothing kept")
            << QStringList{"a"} << QList<int>{} << QStringList{"z"} << QStringList{"z"};
    }
    void keptLinesGoBackInTheirPlaces()
    {
        QFETCH(QStringList, file);
        QFETCH(QList<int>, kept);
        QFETCH(QStringList, records);
        QFETCH(QStringList, expected);
        TempDataFolder dir;
        dir.writeBytes("r.dat", Sjis(JoinLinesCrLf(file)));
        RecordFile f = RecordFile::Read(dir.file("r.dat"));
        QCOMPARE(f.lines(), file);
        for (int i : kept)
            f.keep(i);
        if (!kept.isEmpty())
            f.keep(kept.first()); // twice is once
        f.keep(99);               // out of range: nothing
        if (f.changes(records))
            QCOMPARE(f.merged(records), expected);
        f.write(dir.file("r.dat"), records);
        QCOMPARE(dir.readBytes("r.dat"), Sjis(JoinLinesCrLf(expected)));
    }

    void keptLinesKeepTheirBytes()
    {
        TempDataFolder dir;
        // A kept line with bytes that are no Shift-JIS text, between records,
        // with LF and CR breaks that the rewrite makes CR LF.
        const QByteArray broken("1,12\x82,\xff\xfe half \x88");
        const QByteArray bytes = Sjis(QStringLiteral("1,1200,お昼\r\n")) + broken + "\n" +
                                 Sjis(QStringLiteral("/ 注釈\r"));
        dir.writeBytes("r.dat", bytes);
        RecordFile f = RecordFile::Read(dir.file("r.dat"));
        QCOMPARE(f.lines().size(), 3);
        f.keep(1);
        f.keep(2);
        f.write(dir.file("r.dat"), {QStringLiteral("1,1200,お昼")});
        QCOMPARE(dir.readBytes("r.dat"), bytes); // nothing changed
        f.write(dir.file("r.dat"), {QStringLiteral("1,1200,昼")});
        QCOMPARE(dir.readBytes("r.dat"), Sjis(QStringLiteral("1,1200,昼\r\n")) + broken + "\r\n" +
                                             Sjis(QStringLiteral("/ 注釈\r\n")));

        // A record that Shift-JIS cannot hold makes the file UTF-8; the kept
        // lines it can read are then written as the text they were read as,
        // the unreadable one with its bytes.
        f = RecordFile::Read(dir.file("r.dat"));
        f.keep(1);
        f.keep(2);
        const QString emoji = QStringLiteral("1,1300,\U0001F600");
        f.write(dir.file("r.dat"), {emoji});
        QByteArray utf8 = dir.readBytes("r.dat");
        QVERIFY(utf8.startsWith("\xEF\xBB\xBF"));
        QVERIFY(utf8.contains(broken + "\r\n"));
        RecordFile again = RecordFile::Read(dir.file("r.dat"));
        QCOMPARE(again.lines().value(0), emoji);
        QCOMPARE(again.lines().value(2), QStringLiteral("/ 注釈"));

        // A UTF-8 file keeps its kept lines' bytes while it stays UTF-8, and
        // becomes Shift-JIS again when everything fits.
        dir.writeBytes("u.dat", "\xEF\xBB\xBF" + emoji.toUtf8() + "\r\n/\xC3\x28 bad\r\n");
        f = RecordFile::Read(dir.file("u.dat"));
        f.keep(1);
        f.write(dir.file("u.dat"), {emoji});
        QCOMPARE(dir.readBytes("u.dat"),
                 QByteArray("\xEF\xBB\xBF") + emoji.toUtf8() + "\r\n/\xC3\x28 bad\r\n");
        dir.writeBytes("u.dat", "\xEF\xBB\xBF/ \xE6\xB3\xA8\r\n");
        f = RecordFile::Read(dir.file("u.dat"));
        f.keep(0);
        f.write(dir.file("u.dat"), {QStringLiteral("あ")});
        QCOMPARE(dir.readBytes("u.dat"), Sjis(QStringLiteral("/ 注\r\nあ\r\n")));
    }

    // A rewrite keeps every line it cannot read with its bytes in its place
    // and the file's form (UTF-16 stays UTF-16); with nothing changed there
    // is no rewrite at all, whatever the file holds.
    void whatARewriteCannotReadStays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray schedules = Sjis(QStringLiteral("200501010900,00,0,0,0,20050101,一\r\n"
                                                         "200501020900,00,0,0,0,20050102,二\r\n"
                                                         "/ 注釈\r\n"));
        QTest::newRow("NUL in the fourth line")
            << schedules + QByteArray("200501030900,00,0,0,0,20050103,th\0ree\r\n", 39) +
                   Sjis(QStringLiteral("200501040900,00,0,0,0,20050104,四\r\n"));
        QTest::newRow("bytes Shift-JIS cannot decode, LF and CR breaks")
            << Sjis(QStringLiteral("a\n")) + QByteArray("1,12\x82,\xff\xfe\r") + Sjis("/ b\r\n");
        auto utf16 = [](const QString& text, bool le) {
            return (le ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) + ToUtf16(text, le);
        };
        const QString wide = QStringLiteral("0101,2000,2099,元日\r\n0\u0000506,x\r\n/ 注釈\r\n");
        QTest::newRow("UTF-16 LE") << utf16(wide, true);
        QTest::newRow("UTF-16 BE") << utf16(wide, false);
        QTest::newRow("UTF-16 with an odd last byte")
            << utf16(QStringLiteral("a\r\nb"), true) + "c";
        QByteArray noise(1 << 20, Qt::Uninitialized);
        quint32 x = 2463534242u; // xorshift: the same bytes every run
        for (char& c : noise) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = char(x);
        }
        QTest::newRow("1 MB of random bytes") << noise;
    }
    void whatARewriteCannotReadStays()
    {
        QFETCH(QByteArray, bytes);
        TempDataFolder dir;
        const QString path = dir.file("r.dat");
        dir.writeBytes("r.dat", bytes);
        RecordFile f = RecordFile::Read(path);
        QStringList records;
        for (qsizetype i = 0; i < f.lines().size(); ++i)
            if (!f.unreadable(i))
                records.append(f.lines()[i]);
        const ino_t inode = inodeOf(path);
        f.write(path, records);
        QCOMPARE(inodeOf(path), inode);
        QCOMPARE(dir.readBytes("r.dat"), bytes);

        f.write(path, records + QStringList{"added"});
        const QByteArray out = dir.readBytes("r.dat");
        const FileLines before = DecodeFileLines(bytes), after = DecodeFileLines(out);
        QVERIFY(!before.unreadable.isEmpty() || before.form != TextForm::Sjis);
        QCOMPARE(int(after.form), int(before.form));
        QCOMPARE(after.lines, before.lines + QStringList{"added"});
        QCOMPARE(after.unreadable, before.unreadable);
        qsizetype at = 0;
        for (qsizetype i : before.unreadable) {
            const auto [from, to] = before.spans[i];
            at = out.indexOf(bytes.mid(from, to - from), at);
            QVERIFY(at >= 0);
        }
    }

    // A rewrite through a symbolic link to a file outside the data folder
    // happens only when the user says yes; an unchanged list asks nothing.
    void aLinkOutOfTheDataFolderIsWrittenOnlyWhenAllowed_data()
    {
        QTest::addColumn<bool>("outside");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer"); // -1: nobody to ask, 0 no, 1 yes
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("refused");
        QTest::newRow("inside") << false << true << -1 << false << true << false;
        QTest::newRow("outside, unchanged") << true << false << 0 << false << false << false;
        QTest::newRow("outside, no") << true << true << 0 << true << false << false;
        QTest::newRow("outside, yes") << true << true << 1 << true << true << false;
        QTest::newRow("outside, nobody to ask") << true << true << -1 << false << false << true;
    }
    void aLinkOutOfTheDataFolderIsWrittenOnlyWhenAllowed()
    {
        QFETCH(bool, outside);
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, written);
        QFETCH(bool, refused);
        TempDataFolder dir;
        QTemporaryDir elsewhere;
        QDir(dir.path()).mkdir("sub");
        const QString target = (outside ? elsewhere.path() : dir.file("sub")) + "/passwd";
        const QByteArray old("root:x:0:0\nuser:x:1000\n");
        QFile t(target);
        QVERIFY(t.open(QIODevice::WriteOnly) && t.write(old) == old.size());
        t.close();
        const QString path = dir.file("Schedule.dat");
        QVERIFY(QFile::link(target, path));
        RecordFile f = RecordFile::Read(path);
        QStringList records = f.lines();
        if (changed)
            records.append("new");
        QString askedAbout;
        RecordFile::ConfirmLink confirm;
        if (answer >= 0)
            confirm = [&](const QString& to) {
                askedAbout = to;
                return answer == 1;
            };
        bool threw = false;
        try {
            f.write(path, records, confirm);
        } catch (const AppError&) {
            threw = true;
        }
        QCOMPARE(threw, refused);
        QCOMPARE(askedAbout, asked ? QFileInfo(target).canonicalFilePath() : QString());
        QVERIFY(QFileInfo(path).isSymLink());
        QFile check(target);
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll() != old, written);
    }

    // Lines are given as "a b c": one record line each, "/x" a comment.
    void aListRewrittenAfterAnOutsideChangeMergesByLine_data()
    {
        QTest::addColumn<QString>("read");    // the file when the list read it
        QTest::addColumn<QString>("here");    // the records the list writes
        QTest::addColumn<QString>("outside"); // the file another program left
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("told");
        QTest::newRow("a line added outside while a row is added here") << "a b c"
                                                                        << "a b c x"
                                                                        << "a b n c"
                                                                        << "a b n c x" << true;
        QTest::newRow("a line deleted outside stays deleted") << "a b c"
                                                              << "a b c x"
                                                              << "a c"
                                                              << "a c x" << true;
        QTest::newRow("a line deleted outside but changed here stays, as changed")
            << "a b c"
            << "a B c"
            << "a c"
            << "a B c" << true;
        QTest::newRow("a line deleted here but changed outside stays, as changed")
            << "a b c"
            << "a c"
            << "a B c"
            << "a B c" << false;
        QTest::newRow("one line changed on both sides: both versions") << "a b c"
                                                                       << "a b1 c"
                                                                       << "a b2 c"
                                                                       << "a b2 b1 c" << true;
        QTest::newRow("a comment added outside keeps its place") << "/h a b"
                                                                 << "/h a b x"
                                                                 << "/h a /new b"
                                                                 << "/h a /new b x" << true;
        QTest::newRow("the same line added on both sides is there once") << "a b"
                                                                         << "a b x"
                                                                         << "a b x"
                                                                         << "a b x" << false;
        QTest::newRow("the file was missing when read") << ""
                                                        << "x"
                                                        << "n"
                                                        << "n x" << true;
        QTest::newRow("nothing changed here: the outside version stands") << "a b"
                                                                          << "a b"
                                                                          << "a n b"
                                                                          << "a n b" << false;
    }
    void aListRewrittenAfterAnOutsideChangeMergesByLine()
    {
        QFETCH(QString, read);
        QFETCH(QString, here);
        QFETCH(QString, outside);
        QFETCH(QString, result);
        QFETCH(bool, told);
        auto lines = [](const QString& s) { return s.split(u' ', Qt::SkipEmptyParts); };
        TempDataFolder dir;
        const QString path = dir.file("Schedule.dat");
        if (!read.isEmpty())
            dir.writeBytes("Schedule.dat", Sjis(JoinLinesCrLf(lines(read))));
        QList<OutsideChange> reports;
        SetOutsideChangeSink([&](const OutsideChange& c) { reports << c; });
        RecordFile f = RecordFile::Read(path);
        QStringList records;
        for (qsizetype i = 0; i < f.lines().size(); ++i)
            if (f.lines()[i].startsWith(u'/'))
                f.keep(i);
        for (const QString& l : lines(here))
            if (!l.startsWith(u'/'))
                records << l;
        // The other program saves as sync tools do: a new file renamed over.
        dir.writeBytes("Schedule.dat.sync", Sjis(JoinLinesCrLf(lines(outside))));
        QVERIFY(QFile::remove(path) || read.isEmpty());
        QVERIFY(QFile::rename(dir.file("Schedule.dat.sync"), path));

        f.write(path, records);
        QCOMPARE(ReadLines(path), lines(result));
        QCOMPARE(reports.size(), told ? 1 : 0);
        if (told)
            QCOMPARE(reports[0].kind, OutsideChange::Kind::Merged);
        // Written again unchanged from the same read (a list closed twice):
        // the same file, and no second word to the user.
        f.write(path, records);
        QCOMPARE(ReadLines(path), lines(result));
        QCOMPARE(reports.size(), told ? 1 : 0);
        SetOutsideChangeSink({});
    }

    void missingFilesAndUnchangedContent()
    {
        TempDataFolder dir;
        RecordFile f = RecordFile::Read(dir.file("none.dat"));
        QVERIFY(f.lines().isEmpty());
        f.write(dir.file("none.dat"), {});
        QVERIFY(dir.exists("none.dat")); // the first write creates it, empty
        QCOMPARE(dir.readBytes("none.dat"), QByteArray());

        dir.writeBytes("r.dat", "a\r\n/b\r\n");
        f = RecordFile::Read(dir.file("r.dat"));
        f.keep(1);
        const ino_t before = inodeOf(dir.file("r.dat"));
        f.write(dir.file("r.dat"), {"a"});
        QCOMPARE(inodeOf(dir.file("r.dat")), before); // same bytes: not rewritten
        f.write(dir.file("r.dat"), {"c"});
        QVERIFY(inodeOf(dir.file("r.dat")) != before);
        QCOMPARE(dir.readBytes("r.dat"), QByteArray("c\r\n/b\r\n"));
    }
};

QTEST_MAIN(TstRecordFile)
#include "tst_recordfile.moc"

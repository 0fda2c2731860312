// Record files rewritten by the lists: kept lines go back in their places
// and with their own bytes; unchanged content is not rewritten.
#include "foundation/recordfile.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

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
        // A kept line that is UTF-8 among Shift-JIS lines: once the record that
        // UTF-8 could not decode is rewritten, the file still reads the same.
        dir.writeBytes("c.dat", "\xB1\r\nx\xEF\xBC\xA1\r\n");
        RecordFile c = RecordFile::Read(dir.file("c.dat"));
        c.keep(1);
        c.write(dir.file("c.dat"), {QStringLiteral("abc")});
        QCOMPARE(RecordFile::Read(dir.file("c.dat")).lines(),
                 QStringList({QStringLiteral("abc"), c.lines()[1]}));
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
        QTest::newRow("reordered") << file << QList<int>{1, 3} << QStringList{"d", "b", "a"}
                                   << QStringList{"d", "/c", "b", "x!", "a"};
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
        QCOMPARE(dir.readBytes("r.dat"), Sjis(QStringLiteral("1,1200,お昼\r\n")) + broken + "\r\n" +
                                             Sjis(QStringLiteral("/ 注釈\r\n")));

        // A record that Shift-JIS cannot hold makes the file UTF-8; the kept
        // lines are then written as the text they were read as.
        f = RecordFile::Read(dir.file("r.dat"));
        f.keep(1);
        f.keep(2);
        const QString emoji = QStringLiteral("1,1300,\U0001F600");
        f.write(dir.file("r.dat"), {emoji});
        QByteArray utf8 = dir.readBytes("r.dat");
        QVERIFY(utf8.startsWith("\xEF\xBB\xBF"));
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

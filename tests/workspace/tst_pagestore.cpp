// The page store without widgets: loading past unreadable files, and the
// two rules of writing (never a page that was not read, only a page whose
// text changed).
#include "filepermissions.h"
#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "tempdatafolder.h"
#include "workspace/pagestore.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {

QString pageName(int i)
{
    return i == 0 ? QStringLiteral("Vnote.vnm") : QStringLiteral("Vnote%1.vnm").arg(i);
}

} // namespace

class TstPageStore : public QObject {
    Q_OBJECT
private slots:
    void anUnreadablePageStopsNothingAndIsNeverWritten_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("mode 000") << false;
        QTest::newRow("a folder in its place") << true;
    }
    void anUnreadablePageStopsNothingAndIsNeverWritten()
    {
        QFETCH(bool, asFolder);
        TempDataFolder dir;
        test::PermissionsEnforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be enforced here");
        for (int i = 0; i < 10; ++i)
            dir.writeBytes(pageName(i), QByteArray("page ") + QByteArray::number(i + 1));
        if (asFolder) {
            QFile::remove(dir.file(pageName(4)));
            QDir(dir.path()).mkdir(pageName(4));
        } else {
            QFile::setPermissions(dir.file(pageName(4)), {});
        }
        PageStore store;
        const QStringList errors = store.load();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains(pageName(4)));
        QVERIFY(!store.isRead(4));
        QCOMPARE(store.page(4).readError, errors[0]);
        for (int i = 5; i < 10; ++i) // loading went on past it
            QCOMPARE(store.text(i), QStringLiteral("page %1").arg(i + 1));

        // Every page changes; the unread one is written neither by the
        // saves, nor at creation of missing files, nor by delete, nor by a
        // move across it.
        for (int i = 0; i < kPageCount; ++i)
            store.setText(i, QStringLiteral("new %1").arg(i));
        QVERIFY(store.save(kPageCount, true).isEmpty());
        store.createMissingFiles();
        store.deletePage(4);
        QVERIFY_THROWS_EXCEPTION(AppError, store.move(2, 6));
        QCOMPARE(store.text(2), QStringLiteral("new 2"));
        QVERIFY(store.save(kPageCount, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(3)), QByteArray("new 3"));
        QCOMPARE(dir.readBytes(pageName(9)), QByteArray("new 9"));
        if (asFolder) {
            QVERIFY(QFileInfo(dir.file(pageName(4))).isDir());
        } else {
            QCOMPARE(QFile::permissions(dir.file(pageName(4))) & 0x7077, 0); // owner, group, others
            QFile::setPermissions(dir.file(pageName(4)), QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(dir.readBytes(pageName(4)), QByteArray("page 5"));
            // Mended: the page is read when tried again, and saved as usual.
            QVERIFY(store.retryRead(4));
            QCOMPARE(store.text(4), QStringLiteral("page 5"));
            store.setText(4, QStringLiteral("edited 5"));
            store.save(kPageCount, true);
            QCOMPARE(dir.readBytes(pageName(4)), QByteArray("edited 5"));
        }
        // Restoring a backup into it is the user's choice: that writes.
        if (asFolder)
            QDir(dir.path()).rmdir(pageName(4));
        store.replaceAndWrite(4, QStringLiteral("from backup"));
        QCOMPARE(dir.readBytes(pageName(4)), QByteArray("from backup"));
        QVERIFY(store.isRead(4));
    }

    void untouchedPagesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("random bytes") << QByteArray::fromHex("8f00ff81fe20a0ef80");
        QTest::newRow("a NUL inside") << QByteArray("before\0after\r\n", 14);
        QTest::newRow("LF line breaks") << QByteArray("one\ntwo\n");
        QTest::newRow("lone CR") << QByteArray("one\rtwo");
        QTest::newRow("half-width katakana") << QByteArray::fromHex("cfb2c5bd203130300d0acab2");
        QTest::newRow("UTF-8 without mark") << QStringLiteral("é ü 漢字").toUtf8();
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFx\xE2\x82\xAC");
        QTest::newRow("Shift-JIS") << Sjis(QStringLiteral("牛乳\r\n卵"));
        QTest::newRow("no final break") << QByteArray("abc");
    }
    void untouchedPagesKeepTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        TempDataFolder dir;
        dir.writeBytes(pageName(3), bytes);
        PageStore store;
        QVERIFY(store.load().isEmpty());
        store.setText(0, QStringLiteral("typed elsewhere")); // not every page is empty
        const QString asRead = store.text(3);
        QVERIFY(store.save(kPageCount, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(3)), bytes);
        // A change undone before the save writes nothing either.
        store.setText(3, asRead + u'x');
        store.setText(3, asRead);
        QVERIFY(store.save(kPageCount, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(3)), bytes);
        QVERIFY(!store.changed(3));
        // A real change is written (to a held page's file only once the
        // user accepts that it is rewritten).
        if (store.isHeld(3))
            store.acceptRewrite(3, store.heldCopyPath(3));
        store.setText(3, QStringLiteral("changed"));
        QVERIFY(store.save(kPageCount, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(3)), QByteArray("changed"));
    }

    // A page is read in its form (UTF-16 stays UTF-16); a page whose file
    // cannot be shown as it is is held: no change, save, delete or move
    // touches the file until the user accepts, and then a copy of the old
    // bytes is kept beside it.
    void pagesKeepTheirFormAndHeldFilesTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("held");
        QTest::addColumn<QByteArray>("typed"); // the file once "!" is typed at the end
        const QString nulText = QStringLiteral("first line\r\nsecond\uFFFD line after the NUL\r\n"
                                               "third line\r\n");
        const QByteArray mark8("\xEF\xBB\xBF");
        const QString utf16Text = QStringLiteral("メモ帳で保存\r\nUnicode のページ\r\n");
        auto le = [](const QString& t) {
            return "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE)(t));
        };
        auto be = [](const QString& t) {
            return "\xFE\xFF" + QByteArray(QStringEncoder(QStringConverter::Utf16BE)(t));
        };
        QTest::newRow("NUL inside, 52 bytes")
            << QByteArray("first line\r\nsecond\0 line after the NUL\r\nthird line\r\n", 52)
            << nulText << true << mark8 + (nulText + u'!').toUtf8();
        QTest::newRow("NUL first") << QByteArray("\0\0abc", 5) << QStringLiteral("\uFFFD\uFFFDabc")
                                   << true << mark8 + QStringLiteral("\uFFFD\uFFFDabc!").toUtf8();
        QTest::newRow("undecodable bytes")
            << QByteArray::fromHex("41a0ff42") << QStringLiteral("A\uFFFD\uFFFDB") << true
            << mark8 + QStringLiteral("A\uFFFD\uFFFDB!").toUtf8();
        QTest::newRow("UTF-16 LE") << le(utf16Text) << utf16Text << false << le(utf16Text + u'!');
        QTest::newRow("UTF-16 BE") << be(utf16Text) << utf16Text << false << be(utf16Text + u'!');
        QTest::newRow("UTF-16, odd length")
            << le(QStringLiteral("ab")) + 'c' << QStringLiteral("ab\uFFFD") << true
            << le(QStringLiteral("ab\uFFFD!"));
    }
    void pagesKeepTheirFormAndHeldFilesTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, held);
        QFETCH(QByteArray, typed);
        TempDataFolder dir;
        dir.writeBytes(pageName(1), bytes);
        dir.writeBytes(pageName(2), "two");
        PageStore store;
        QVERIFY(store.load().isEmpty());
        QCOMPARE(store.text(1), shown);
        QCOMPARE(store.isHeld(1), held);
        QCOMPARE(store.heldReason(1).contains(pageName(1)), held);
        if (held) {
            // Delete, move, every save, and a file that goes missing: the
            // bytes stay as they were.
            store.deletePage(1);
            QVERIFY_THROWS_EXCEPTION(AppError, store.move(1, 2));
            QVERIFY_THROWS_EXCEPTION(AppError, store.move(0, 2));
            QCOMPARE(store.text(2), QStringLiteral("two"));
            QVERIFY(store.save(kPageCount, true).isEmpty());
            QCOMPARE(dir.readBytes(pageName(1)), bytes);
            QFile::remove(dir.file(pageName(1)));
            store.createMissingFiles();
            QVERIFY(store.save(kPageCount, true).isEmpty());
            QCOMPARE(dir.readBytes(pageName(1)), bytes);
            // The user's word: the old bytes go to a copy beside the file.
            const QString copy = store.heldCopyPath(1);
            QVERIFY2(copy.startsWith(dir.file(pageName(1)) + '.') && copy.endsWith(".bak"),
                     qPrintable(copy));
            store.acceptRewrite(1, copy);
            QVERIFY(!store.isHeld(1));
            QFile copied(copy);
            QVERIFY(copied.open(QIODevice::ReadOnly));
            QCOMPARE(copied.readAll(), bytes);
            QVERIFY(store.save(kPageCount, true).isEmpty()); // unchanged: not yet rewritten
            QCOMPARE(dir.readBytes(pageName(1)), bytes);
        }
        store.setText(1, shown + u'!');
        QVERIFY(store.save(kPageCount, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(1)), typed);
    }

    // Pages are decoded only when first needed: until then what counts is
    // what their files held at the start, whatever happens to the files.
    void pagesLookedAtLaterHoldWhatWasRead()
    {
        TempDataFolder dir;
        const QByteArray sjis = Sjis(QStringLiteral("牛乳\r\nﾊﾟﾝ 卵\r\n"));
        const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") + QStringLiteral("☃ snow\r\n").toUtf8();
        dir.writeBytes(pageName(0), "first");
        dir.writeBytes(pageName(1), sjis);
        dir.writeBytes(pageName(2), utf8);
        dir.writeBytes(pageName(3), sjis);
        dir.writeBytes(pageName(4), QByteArray("\0hidden", 7));
        // Large pages are read into one block of memory.
        QByteArray large;
        QString largeText;
        for (int i = 0; large.size() < 3 * 1024 * 1024; ++i) {
            large += sjis + QByteArray::number(i) + "\r\n";
            largeText += QStringLiteral("牛乳\r\nﾊﾟﾝ 卵\r\n%1\r\n").arg(i);
        }
        dir.writeBytes(pageName(5), large);
        dir.writeBytes(pageName(6), large);
        PageStore store;
        QVERIFY(store.load().isEmpty());
        // After the start: one file goes, one is rewritten by another
        // program, one is emptied.
        QFile::remove(dir.file(pageName(1)));
        QFile::remove(dir.file(pageName(2)));
        QFile::remove(dir.file(pageName(5)));
        dir.writeBytes(pageName(3), "theirs");
        dir.writeBytes(pageName(4), "");
        // The missing files come back byte for byte, never looked at; the
        // file changed outside is left alone, an unchanged page unwritten.
        QVERIFY(store.save(kPageCount, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(1)), sjis);
        QCOMPARE(dir.readBytes(pageName(2)), utf8);
        QCOMPARE(dir.readBytes(pageName(5)), large);
        QCOMPARE(store.text(6), largeText);
        QCOMPARE(dir.readBytes(pageName(3)), QByteArray("theirs"));
        QCOMPARE(dir.readBytes(pageName(4)), QByteArray());
        QCOMPARE(store.text(3), QStringLiteral("牛乳\r\nﾊﾟﾝ 卵\r\n"));
        QVERIFY(store.isHeld(4) && !store.isEmpty(2)); // held for its NUL
        QVERIFY(!store.changed(3));
        // A change of a page never shown reaches its file at the next save.
        store.setText(3, store.text(3) + QStringLiteral("追記"));
        QVERIFY(store.save(kPageCount, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(3)), sjis + Sjis(QStringLiteral("追記")));
    }

    void changedPagesAndMissingFiles()
    {
        TempDataFolder dir;
        dir.writeBytes(pageName(0), "one\r\n");
        dir.writeBytes(pageName(2), "three");
        dir.writeBytes(pageName(3), Sjis(QStringLiteral("牛乳\n卵\r")));
        PageStore store;
        store.load();
        QCOMPARE(store.text(0), QString("one\r\n"));
        QCOMPARE(store.text(3), QStringLiteral("牛乳\r\n卵\r\n"));
        store.createMissingFiles();
        QVERIFY(dir.exists(pageName(29))); // missing files are created empty
        QCOMPARE(dir.readBytes(pageName(29)), QByteArray());
        store.setText(0, "uno\r\n");
        store.setText(5, "beyond the count");
        QVERIFY(store.save(3, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(0)), QByteArray("uno\r\n"));
        QCOMPARE(dir.readBytes(pageName(5)), QByteArray());
        // A file deleted meanwhile comes back when its page holds text;
        // an empty page needs no file until the start.
        QFile::remove(dir.file(pageName(2)));
        QFile::remove(dir.file(pageName(1)));
        QVERIFY(store.save(30, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(2)), QByteArray("three"));
        QCOMPARE(dir.readBytes(pageName(5)), QByteArray("beyond the count"));
        QVERIFY(!dir.exists(pageName(1)));
        // Outside changes to an untouched page's file are left alone.
        dir.writeBytes(pageName(2), "theirs");
        QVERIFY(store.save(30, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(2)), QByteArray("theirs"));
    }

    void allPagesEmptyWritesNothing()
    {
        TempDataFolder dir;
        dir.writeBytes(pageName(0), "kept");
        PageStore store;
        store.load();
        store.setText(0, QString());
        QVERIFY(store.save(30, true).isEmpty());
        QCOMPARE(dir.readBytes(pageName(0)), QByteArray("kept"));
        QVERIFY(!dir.exists(pageName(1)));
        QVERIFY(store.restoreOffered(0));
        store.restorePage(0);
        QCOMPARE(store.text(0), QString("kept"));
        QVERIFY(!store.restoreOffered(0));
    }

    void aFailingPageIsReportedOnceAndRetried()
    {
        TempDataFolder dir;
        PageStore store;
        store.load();
        QDir(dir.path()).mkdir(pageName(1)); // page 2's file cannot be written
        store.setText(0, "a\r\n");
        store.setText(1, "b\r\n");
        store.setText(2, "c\r\n");
        QStringList errors = store.save(3, false);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains(pageName(1)));
        QCOMPARE(dir.readBytes(pageName(2)), QByteArray("c\r\n")); // later pages still saved
        QVERIFY(store.failing(1));
        QVERIFY(store.save(3, false).isEmpty()); // not again every five minutes
        QCOMPARE(store.save(3, true).size(), 1); // but at a close
        QDir(dir.path()).rmdir(pageName(1));
        QVERIFY(store.save(3, false).isEmpty());
        QCOMPARE(dir.readBytes(pageName(1)), QByteArray("b\r\n"));
        QVERIFY(!store.failing(1));
    }

    void movesCarryTextFontColourAndName()
    {
        TempDataFolder dir;
        for (int i = 0; i < 4; ++i)
            dir.writeBytes(pageName(i), QByteArray(1, char('a' + i)));
        PageStore store;
        store.load();
        store.loadAppearance();
        store.loadTabNames();
        store.setFont(0, FontSpec{255, "ＭＳ Ｐ明朝", 14, kFontBold});
        store.setBackColour(0, 0x00C0FFC0);
        QVERIFY(store.rename(0, QStringLiteral("最初")));
        QVERIFY(!store.rename(0, QStringLiteral("最初")));
        store.move(0, 2);
        QCOMPARE(store.text(0) + store.text(1) + store.text(2) + store.text(3), QString("bcad"));
        QCOMPARE(store.page(2).tabName, QStringLiteral("最初"));
        QCOMPARE(store.page(0).tabName, QStringLiteral("メモ２"));
        QCOMPARE(store.page(2).font.name, QStringLiteral("ＭＳ Ｐ明朝"));
        QCOMPARE(store.page(0).font, DefaultPageFont());
        QCOMPARE(store.page(2).backColour, 0x00C0FFC0);
        QCOMPARE(dir.readBytes(pageName(0)), QByteArray("a")); // files catch up at the save
        store.save(30, true);
        PageStore after;
        after.load();
        after.loadAppearance();
        after.loadTabNames();
        QCOMPARE(after.text(2), QString("a"));
        QCOMPARE(after.page(2).font, (FontSpec{255, "ＭＳ Ｐ明朝", 14, kFontBold}));
        QCOMPARE(after.page(2).tabName, QStringLiteral("最初"));
    }
};

QTEST_GUILESS_MAIN(TstPageStore)
#include "tst_pagestore.moc"

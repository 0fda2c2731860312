#include "foundation/textcodec.h"

#include <QTest>

using namespace vn;
using namespace Qt::StringLiterals;

class TstTextCodec : public QObject {
    Q_OBJECT
private slots:
    void shiftJisTextStaysShiftJis()
    {
        const QString text = QStringLiteral("メモ１ abc\r\n～ｱｲ①");
        const QByteArray b = EncodeText(text);
        QVERIFY(!b.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(b.left(4), QByteArray("\x83\x81\x83\x82"));
        QCOMPARE(DecodeText(b), text);
    }

    void windowsCodePageCharacters()
    {
        // wave dash, NEC and IBM extensions read as Windows writes them
        QCOMPARE(FromSjis(QByteArray("\x81\x60")), QString(QChar(0xFF5E)));
        QCOMPARE(FromSjis(QByteArray("\x87\x40")), QStringLiteral("①"));
        QCOMPARE(FromSjis(QByteArray("\xFA\x40")), QStringLiteral("ⅰ"));
        // either spelling of the wave dash is written as the one CP932 code
        QCOMPARE(EncodeText(QString(QChar(0x301C))), QByteArray("\x81\x60"));
        QCOMPARE(EncodeText(QString(QChar(0x2212))), QByteArray("\x81\x7C"));
    }

    void everyCodeOfTheCodePageRoundTrips()
    {
        // Each valid double-byte code decodes to one character, which encodes
        // to a code decoding to the same character (duplicate codes of the
        // NEC and IBM extensions collapse to one).
        int valid = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0)
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                QByteArray code;
                code.append(char(lead)).append(char(trail));
                const QString c = FromSjis(code);
                if (c.size() != 1 || c[0] == QChar(0xFFFD))
                    continue; // not a code: the lead byte alone is undecodable
                ++valid;
                bool ok = false;
                const QByteArray back = ToSjis(c, &ok);
                QVERIFY2(ok, code.toHex().constData());
                QCOMPARE(FromSjis(back), c);
            }
        }
        QVERIFY(valid > 7000); // JIS X 0208 with the Windows extensions
        // single bytes: ASCII and half-width katakana
        for (int b = 0x20; b < 0x7F; ++b)
            QCOMPARE(FromSjis(QByteArray(1, char(b))), QString(QChar(b)));
        QCOMPARE(FromSjis("\xB1\xDF"), QStringLiteral("ｱﾟ"));
        QCOMPARE(ToSjis(QStringLiteral("ｱﾟ")), QByteArray("\xB1\xDF"));
    }

    void textShiftJisCannotHoldIsWrittenAsUtf8()
    {
        for (const QString& t : {QStringLiteral("emoji 😀"), QStringLiteral("café"),
                                 QStringLiteral("简体字 这"), QStringLiteral("price ¥100")}) {
            const QByteArray b = EncodeText(t);
            QVERIFY2(b.startsWith("\xEF\xBB\xBF"), qPrintable(t));
            QCOMPARE(DecodeText(b), t);
        }
    }

    void utf8WithoutMarkIsRecognisedInFilesTheProgramOnlyReads()
    {
        const QByteArray utf8 = QStringLiteral("日本語のテキスト\n").toUtf8();
        QCOMPARE(DecodeForeignText(utf8), QStringLiteral("日本語のテキスト\n"));
        // plain ASCII is the same either way
        QCOMPARE(DecodeForeignText("abc"), QStringLiteral("abc"));
        // Shift-JIS that is not valid UTF-8 stays Shift-JIS
        QCOMPARE(DecodeForeignText(QByteArray("\x93\xFA\x96\x7B")), QStringLiteral("日本"));
    }

    void filesTheProgramWritesAreShiftJisUnlessMarked_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        // half-width katakana whose Shift-JIS bytes are also valid UTF-8
        QTest::newRow("katakana") << QByteArray("\xCF\xB2\xC5\xBD 100\r\n\xCA\xB2")
                                  << QStringLiteral("ﾏｲﾅｽ 100\r\nﾊｲ");
        QTest::newRow("one pair") << QByteArray("\xC2\xB1") << QStringLiteral("ﾂｱ");
        QTest::newRow("kanji") << QByteArray("\x93\xFA\x96\x7B") << QStringLiteral("日本");
        QTest::newRow("marked") << QByteArray("\xEF\xBB\xBF\xC3\xA9") << QStringLiteral("é");
        // a file saved by another editor: Shift-JIS cannot decode it, UTF-8 can
        QTest::newRow("utf-8 only")
            << QStringLiteral("日本語のテキスト").toUtf8() << QStringLiteral("日本語のテキスト");
        QTest::newRow("emoji") << QStringLiteral("a😀").toUtf8() << QStringLiteral("a😀");
        // neither decodes it: Shift-JIS with the bad byte replaced
        QTest::newRow("neither") << QByteArray("\x93\xFA\x80") << QStringLiteral("日\uFFFD");
        QTest::newRow("ascii") << QByteArray("abc") << QStringLiteral("abc");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("cut UTF-8") << QByteArray("\xEF\xBB\xBF"
                                                 "a\xE3\x81")
                                   << QStringLiteral("a\uFFFD\uFFFD");
        // U+FEFF as the first character of a text stays part of it
        QTest::newRow("U+FEFF") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xE3\x83\xA1")
                                << QStringLiteral("\uFEFFメ");
    }
    void filesTheProgramWritesAreShiftJisUnlessMarked()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeText(bytes), text);
    }

    // What a file holds, as read for a window that may write it back: the
    // form is kept and anything the text cannot show is flagged.
    void fileTextKeepsFormAndFlagsWhatItCannotShow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("form");
        QTest::addColumn<bool>("exact");
        const int sjis = int(TextForm::Sjis), utf8 = int(TextForm::Utf8),
                  le = int(TextForm::Utf16LE), be = int(TextForm::Utf16BE);
        QTest::newRow("shift-jis") << QByteArray("\x93\xFA\x96\x7B\r\n") << u"日本\r\n"_s << sjis << true;
        QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF\xC3\xA9") << u"é"_s << utf8 << true;
        QTest::newRow("utf-8 bare") << u"日本語"_s.toUtf8() << u"日本語"_s << utf8 << true;
        QTest::newRow("nul") << QByteArray("second\0 line", 12) << u"second\uFFFD line"_s << sjis
                             << false;
        QTest::newRow("nul first") << QByteArray("\0abc", 4) << u"\uFFFDabc"_s << sjis << false;
        QTest::newRow("undecodable") << QByteArray("\x93\xFA\x80") << u"日\uFFFD"_s << sjis << false;
        QTest::newRow("utf-16le") << QByteArray("\xFF\xFE\xE5\x65\x2C\x67\r\0\n\0", 10)
                                  << u"日本\r\n"_s << le << true;
        QTest::newRow("utf-16be") << QByteArray("\xFE\xFF\x65\xE5\0a", 6) << u"日a"_s << be << true;
        QTest::newRow("utf-16 odd") << QByteArray("\xFF\xFE" "a\0b", 5) << u"a\uFFFD"_s << le << false;
        QTest::newRow("utf-16 lone half") << QByteArray("\xFF\xFE\x00\xD8", 4)
                                          << QString(QChar(0xD800)) << le << false;
        QTest::newRow("empty") << QByteArray() << QString() << sjis << true;
    }
    void fileTextKeepsFormAndFlagsWhatItCannotShow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, form);
        QFETCH(bool, exact);
        const FileText read = DecodeFileText(bytes);
        QCOMPARE(read.text, text);
        QCOMPARE(int(read.form), form);
        QCOMPARE(read.exact, exact);
        if (exact && read.form != TextForm::Utf8)
            QCOMPARE(EncodeFileText(read.text, read.form), bytes); // written back as read
    }

    void everyTwoCharacterHalfWidthKatakanaTextRoundTrips()
    {
        // About one in four of these byte pairs is valid UTF-8 as well.
        int alsoUtf8 = 0;
        for (char16_t a = 0xFF61; a <= 0xFF9F; ++a) {
            for (char16_t b = 0xFF61; b <= 0xFF9F; ++b) {
                const QString text = QString(QChar(a)) + QChar(b);
                const QByteArray bytes = EncodeText(text);
                QCOMPARE(bytes.size(), 2);
                alsoUtf8 += IsUtf8(bytes);
                QCOMPARE(DecodeText(bytes), text);
                QCOMPARE(DecodeText(bytes + "\r\n"), text + QStringLiteral("\r\n"));
            }
        }
        QVERIFY(alsoUtf8 > 0);
    }

    void textBeginningWithU_FEFFKeepsIt()
    {
        for (const QString& t :
             {QStringLiteral("\uFEFF"), QStringLiteral("\uFEFFabc"),
              QStringLiteral("\uFEFFメモ\r\n"), QStringLiteral("\uFEFF\uFEFFx")}) {
            QCOMPARE(DecodeText(EncodeText(t)), t);
            QCOMPARE(DecodeForeignText(EncodeText(t)), t);
        }
    }

    void undecodableBytesNeverStopARead()
    {
        const QByteArray bad("a\x80"
                             "b\xA0\xFD"
                             "c\x82",
                             7); // last: a lone lead byte
        const QString s = DecodeText(bad);
        QVERIFY(s.startsWith(u'a'));
        QVERIFY(s.contains(u'b'));
        QVERIFY(s.contains(u'c'));
        QVERIFY(s.contains(QChar(0xFFFD)));
    }

    void bytePositions()
    {
        const QString t = QStringLiteral("aあｱb");
        QCOMPARE(SjisLength(t), 5);
        QCOMPARE(IndexToSjisOffset(t, 2), qint64(3));
        QCOMPARE(SjisOffsetToIndex(t, 3), qsizetype(2));
        QCOMPARE(SjisOffsetToIndex(t, 2), qsizetype(1)); // inside あ: back to its start
        QCOMPARE(SjisOffsetToIndex(t, 99), t.size());
        QCOMPARE(SjisOffsetToIndex(t, -5), qsizetype(0));
        QCOMPARE(SjisLeft(QStringLiteral("abあい"), 5), QStringLiteral("abあ"));
        QCOMPARE(SjisLeft(QStringLiteral("abあい"), 6), QStringLiteral("abあい"));
        QCOMPARE(SjisLeft(QStringLiteral("x😀"), 2), QStringLiteral("x")); // no half pair
    }
};

QTEST_GUILESS_MAIN(TstTextCodec)
#include "tst_textcodec.moc"

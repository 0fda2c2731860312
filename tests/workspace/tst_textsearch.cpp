// Search semantics on Shift-JIS byte positions and the find-next steps.
#include "foundation/textcodec.h"
#include "workspace/textsearch.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace vn;

namespace {

// Memo pages over a few strings; records which page texts were read.
class FakePages : public PageAccess {
public:
    QStringList texts;
    int shown = 3;
    int current = 0;
    QList<qint64> selStart, selLength; // per page, bytes
    mutable QList<int> reads;
    QList<int> pageSelections;

    explicit FakePages(QStringList t, int shownCount = 3) : texts(std::move(t)), shown(shownCount)
    {
        selStart.fill(0, texts.size());
        selLength.fill(0, texts.size());
    }
    int shownPageCount() const override { return shown; }
    int currentPage() const override { return current; }
    QString pageText(int page) const override
    {
        reads.append(page);
        return texts.value(page);
    }
    QString tabName(int page) const override { return QStringLiteral("メモ%1").arg(page + 1); }
    QString pageFontName(int) const override { return QStringLiteral("IPAGothic"); }
    qint64 selectionStart() const override { return selStart[current]; }
    qint64 selectionLength() const override { return selLength[current]; }
    QString selectedText() const override
    {
        const QString& t = texts[current];
        const qsizetype a = SjisOffsetToIndex(t, selStart[current]);
        const qsizetype b = SjisOffsetToIndex(t, selStart[current] + selLength[current]);
        return t.mid(a, b - a);
    }
    void selectPage(int page) override
    {
        current = page;
        pageSelections.append(page);
    }
    void select(qint64 start, qint64 length) override
    {
        selStart[current] = start;
        selLength[current] = length;
    }
    void caret(qint64 at)
    {
        selStart[current] = at;
        selLength[current] = 0;
    }
    QPair<qint64, qint64> sel() const { return {selStart[current], selLength[current]}; }
};

SearchState Search(const QString& text, bool caseSensitive = false, bool allPages = false)
{
    SearchState s;
    s.SearchText = text;
    s.CaseSensitive = caseSensitive;
    s.AllPages = allPages;
    return s;
}

// A plain byte-wise search over the Shift-JIS bytes, as a reference: the
// single-byte letters a..z folded, matches only at character starts.
qint64 ReferenceFind(const QString& text, const QString& needle, qint64 fromPos, bool caseSensitive)
{
    if (needle.isEmpty())
        return 0;
    auto prepare = [&](const QString& s, QList<bool>* starts) {
        QByteArray b = ToSjis(s);
        for (qsizetype i = 0; i < b.size();) {
            const uchar c = uchar(b[i]);
            const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
            if (starts) {
                starts->append(true);
                if (lead)
                    starts->append(false);
            }
            if (!lead && !caseSensitive && c >= 'a' && c <= 'z')
                b[i] = char(c - 0x20);
            i += lead ? 2 : 1;
        }
        return b;
    };
    QList<bool> starts;
    const QByteArray hay = prepare(text, &starts);
    const QByteArray pat = prepare(needle, nullptr);
    for (qint64 i = std::max<qint64>(0, fromPos - 1); i + pat.size() <= hay.size(); ++i)
        if (starts[i] && hay.mid(i, pat.size()) == pat)
            return i + 1;
    return 0;
}

} // namespace

class TestTextSearch : public QObject {
    Q_OBJECT
private slots:
    void findInText_data();
    void findInText();
    void findInTextAgreesWithByteSearch();
    void findNextStepsThroughOnePage();
    void findNextAfterCaretMoved();
    void wrapWithinPage();
    void allPagesOrder();
    void allPagesNeverBeyondShownCount();
    void notFoundMessage();
};

void TestTextSearch::findInText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<qint64>("expected");

    // Byte positions: a double-byte character occupies two, CR LF two.
    QTest::newRow("ascii") << "xxabc"
                           << "abc" << qint64(1) << true << qint64(3);
    QTest::newRow("after double-byte") << "あいabc"
                                       << "abc" << qint64(1) << true << qint64(5);
    QTest::newRow("half-width kana one byte") << "ｱabc"
                                              << "abc" << qint64(1) << true << qint64(2);
    QTest::newRow("after CR LF") << "x\r\nabc"
                                 << "abc" << qint64(1) << true << qint64(4);
    QTest::newRow("double-byte needle") << "abあいう"
                                        << "いう" << qint64(1) << true << qint64(5);
    QTest::newRow("from skips earlier") << "abcabc"
                                        << "abc" << qint64(2) << true << qint64(4);
    QTest::newRow("from at match") << "abcabc"
                                   << "abc" << qint64(4) << true << qint64(4);
    QTest::newRow("from inside double-byte") << "あabc"
                                             << "abc" << qint64(2) << true << qint64(3);
    QTest::newRow("from past end") << "abc"
                                   << "abc" << qint64(9) << true << qint64(0);
    QTest::newRow("empty needle") << "abc"
                                  << "" << qint64(1) << false << qint64(0);
    QTest::newRow("needle longer") << "ab"
                                   << "abc" << qint64(1) << false << qint64(0);

    // Folding: only the single-byte letters.
    QTest::newRow("fold ABC") << "xxABC"
                              << "abc" << qint64(1) << false << qint64(3);
    QTest::newRow("fold aBc") << "aBc"
                              << "abc" << qint64(1) << false << qint64(1);
    QTest::newRow("fold needle") << "abc"
                                 << "ABC" << qint64(1) << false << qint64(1);
    QTest::newRow("case kept") << "xxABC"
                               << "abc" << qint64(1) << true << qint64(0);
    QTest::newRow("full-width not folded") << "ＡＢＣ"
                                           << "abc" << qint64(1) << false << qint64(0);
    QTest::newRow("full-width lower/upper") << "ＡＢＣ"
                                            << "ａｂｃ" << qint64(1) << false << qint64(0);
    QTest::newRow("full-width same") << "xＡＢＣ"
                                     << "ＡＢＣ" << qint64(1) << false << qint64(2);
    QTest::newRow("a never ヂ") << "ヂ"
                                << "ア" << qint64(1) << false << qint64(0);
    QTest::newRow("ヂ never a") << "ア"
                                << "ヂ" << qint64(1) << false << qint64(0);
    QTest::newRow("ア found") << "ヂア"
                              << "ア" << qint64(1) << false << qint64(3);
    QTest::newRow("non-letter not folded") << "["
                                           << "{" << qint64(1) << false << qint64(0);

    // Trail bytes are no character starts: ア is 83 41, ヂ is 83 61.
    QTest::newRow("A in trail byte") << "ア"
                                     << "A" << qint64(1) << true << qint64(0);
    QTest::newRow("a in trail byte folded") << "ヂ"
                                            << "A" << qint64(1) << false << qint64(0);
    QTest::newRow("A after trail byte") << "アA"
                                        << "a" << qint64(1) << false << qint64(3);
}

void TestTextSearch::findInText()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(qint64, from);
    QFETCH(bool, caseSensitive);
    QFETCH(qint64, expected);
    QCOMPARE(FindInText(text, needle, from, caseSensitive), expected);
    QCOMPARE(ReferenceFind(text, needle, from, caseSensitive), expected);
}

void TestTextSearch::findInTextAgreesWithByteSearch()
{
    // Characters whose bytes overlap: lead bytes 0x82/0x83 with trail bytes
    // that are ASCII letters, half-width kana, full-width letters, CR LF.
    const QString alphabet = QStringLiteral("aAbBzZ[@アヂァあいｱﾞＡａ\r\n 漢字");
    QRandomGenerator rng(4711);
    auto randomText = [&](int len) {
        QString s;
        for (int i = 0; i < len; ++i)
            s += alphabet[rng.bounded(int(alphabet.size()))];
        return s;
    };
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomText(rng.bounded(1, 60));
        QString needle;
        if (rng.bounded(2) == 0) {
            const int at = rng.bounded(int(text.size()));
            needle = text.mid(at, rng.bounded(1, 5));
            if (rng.bounded(2) == 0)
                needle = needle.toLower();
        } else {
            needle = randomText(rng.bounded(1, 4));
        }
        const qint64 from = rng.bounded(1, SjisLength(text) + 3);
        const bool cs = rng.bounded(2) == 0;
        const qint64 want = ReferenceFind(text, needle, from, cs);
        found += want > 0;
        QVERIFY2(FindInText(text, needle, from, cs) == want,
                 qPrintable(QStringLiteral("text=%1 needle=%2 from=%3 cs=%4")
                                .arg(text.toHtmlEscaped(), needle)
                                .arg(from)
                                .arg(cs)));
    }
    QVERIFY(found > 500); // the rounds did exercise hits
}

void TestTextSearch::findNextStepsThroughOnePage()
{
    // "abc" at bytes 0, 5 and 10 (あ takes two).
    FakePages pages({QStringLiteral("abcあabcあabc")}, 1);
    SearchState s = Search(QStringLiteral("ABC"));
    pages.caret(0);
    // The search begins after the character at the caret.
    QVERIFY(FindNext(s, pages));
    QCOMPARE(pages.sel(), qMakePair(qint64(5), qint64(3)));
    QCOMPARE(s.SearchPos, qint64(7));
    // A second F3 without moving the caret finds the next one.
    QVERIFY(FindNext(s, pages));
    QCOMPARE(pages.sel(), qMakePair(qint64(10), qint64(3)));
    // The last one: wraps to the top of the page.
    QVERIFY(FindNext(s, pages));
    QCOMPARE(pages.sel(), qMakePair(qint64(0), qint64(3)));
    QCOMPARE(s.SearchPos, qint64(2));

    // A double-byte search text: the selection length counts bytes, and
    // SearchPos moves past the first character's two bytes.
    FakePages jp({QStringLiteral("xあいyあい")}, 1);
    SearchState t = Search(QStringLiteral("あい"));
    jp.caret(0);
    QVERIFY(FindNext(t, jp));
    QCOMPARE(jp.sel(), qMakePair(qint64(1), qint64(4)));
    QCOMPARE(t.SearchPos, qint64(4));
    QVERIFY(FindNext(t, jp));
    QCOMPARE(jp.sel(), qMakePair(qint64(6), qint64(4)));
}

void TestTextSearch::findNextAfterCaretMoved()
{
    FakePages pages({QStringLiteral("ab ab ab ab")}, 1);
    SearchState s = Search(QStringLiteral("ab"));
    pages.caret(0);
    QVERIFY(FindNext(s, pages));
    QCOMPARE(pages.sel().first, qint64(3));
    // The user puts the caret on the last "ab": the search goes on after
    // the character under the caret, so the next hit is the wrap to 0...
    pages.caret(9);
    QVERIFY(FindNext(s, pages));
    QCOMPARE(pages.sel().first, qint64(0));
    // ...and with the caret just before the third one, that one is next.
    pages.caret(5);
    QVERIFY(FindNext(s, pages));
    QCOMPARE(pages.sel().first, qint64(6));

    // The caret on a double-byte character skips both of its bytes.
    FakePages jp({QStringLiteral("あaaa")}, 1);
    SearchState t = Search(QStringLiteral("a"));
    jp.caret(0);
    QVERIFY(FindNext(t, jp));
    QCOMPARE(jp.sel().first, qint64(2));
    // The caret at the end of the text counts a one-byte character.
    jp.caret(5);
    QVERIFY(FindNext(t, jp)); // wraps
    QCOMPARE(jp.sel().first, qint64(2));
}

void TestTextSearch::wrapWithinPage()
{
    // Only match is before the caret: found by the wrap.
    FakePages pages({QStringLiteral("find me, then more text"), QStringLiteral("find")}, 2);
    SearchState s = Search(QStringLiteral("find"));
    pages.caret(10);
    QVERIFY(FindNext(s, pages));
    QCOMPARE(pages.current, 0);
    QCOMPARE(pages.sel(), qMakePair(qint64(0), qint64(4)));
    QVERIFY(pages.pageSelections.isEmpty());

    // No match at all: false, nothing selected, SearchPos back at the top.
    SearchState none = Search(QStringLiteral("absent"));
    pages.select(3, 2);
    QVERIFY(!FindNext(none, pages));
    QCOMPARE(pages.sel(), qMakePair(qint64(3), qint64(2)));
    QCOMPARE(none.SearchPos, qint64(1));
    QVERIFY(!pages.reads.contains(1)); // other pages are not searched
}

void TestTextSearch::allPagesOrder()
{
    // Starting in page 2 (index 1) after its only match.
    auto make = [] {
        return FakePages(
            {QStringLiteral("p1 key"), QStringLiteral("key p2"), QStringLiteral("p3 key")}, 3);
    };
    {
        FakePages pages = make();
        pages.current = 1;
        pages.caret(4);
        SearchState s = Search(QStringLiteral("KEY"), false, true);
        QVERIFY(FindNext(s, pages));
        QCOMPARE(pages.current, 2); // page 3 comes first
        QCOMPARE(pages.sel(), qMakePair(qint64(3), qint64(3)));
        QCOMPARE(s.SearchPage, 2);
        QCOMPARE(s.SearchPos, qint64(5));
        // Then page 1, then page 2 from its top.
        QVERIFY(FindNext(s, pages));
        QCOMPARE(pages.current, 0);
        QVERIFY(FindNext(s, pages));
        QCOMPARE(pages.current, 1);
        QCOMPARE(pages.sel().first, qint64(0));
        QCOMPARE(pages.pageSelections, QList<int>({2, 0, 1}));
    }
    {
        // Only page 1 holds the text: pages 2 (from the caret), 3, 1 are read.
        FakePages pages({QStringLiteral("key"), QStringLiteral("none"), QStringLiteral("none")});
        pages.current = 1;
        SearchState s = Search(QStringLiteral("key"), false, true);
        QVERIFY(FindNext(s, pages));
        QCOMPARE(pages.current, 0);
        QCOMPARE(pages.reads, QList<int>({1, 2, 0}));
    }
    {
        // Nothing anywhere: every shown page once, then the start page again.
        FakePages pages({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        pages.current = 1;
        SearchState s = Search(QStringLiteral("key"), false, true);
        QVERIFY(!FindNext(s, pages));
        QCOMPARE(pages.reads, QList<int>({1, 2, 0}));
        QCOMPARE(pages.current, 1);
        QCOMPARE(s.SearchPos, qint64(1));
    }
    {
        // A later match in the start page wins over other pages.
        FakePages pages({QStringLiteral("key"), QStringLiteral("x key"), QStringLiteral("key")});
        pages.current = 1;
        SearchState s = Search(QStringLiteral("key"), true, true);
        QVERIFY(FindNext(s, pages));
        QCOMPARE(pages.current, 1);
        QCOMPARE(pages.sel().first, qint64(2));
        QVERIFY(pages.pageSelections.isEmpty());
    }
}

void TestTextSearch::allPagesNeverBeyondShownCount()
{
    FakePages pages({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                     QStringLiteral("key"), QStringLiteral("key")},
                    3);
    pages.current = 2;
    SearchState s = Search(QStringLiteral("key"), false, true);
    QVERIFY(!FindNext(s, pages));
    QCOMPARE(pages.current, 2);
    QVERIFY(!pages.reads.contains(3));
    QVERIFY(!pages.reads.contains(4));

    // With one shown page the search stays in it.
    FakePages single({QStringLiteral("x"), QStringLiteral("key")}, 1);
    SearchState t = Search(QStringLiteral("key"), false, true);
    QVERIFY(!FindNext(t, single));
    QVERIFY(!single.reads.contains(1));
}

void TestTextSearch::notFoundMessage()
{
    QCOMPARE(NotFoundMessage(QStringLiteral("あbc")),
             QStringLiteral("未検出\n\r検索文字列 = \"あbc\""));
}

QTEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"

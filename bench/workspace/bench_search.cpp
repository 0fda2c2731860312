// FindNext through 30 memo pages of 1 MB (Shift-JIS bytes) each: a match
// only in the last page, and no match at all. Prints milliseconds.
#include "workspace/textsearch.h"

#include "foundation/textcodec.h"

#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vn;

namespace {

class Pages : public PageAccess {
public:
    QStringList texts;
    int current = 0;
    qint64 selStart = 0, selLength = 0;

    int shownPageCount() const override { return int(texts.size()); }
    int currentPage() const override { return current; }
    QString pageText(int page) const override { return texts.value(page); }
    QString tabName(int) const override { return {}; }
    QString pageFontName(int) const override { return {}; }
    qint64 selectionStart() const override { return selStart; }
    qint64 selectionLength() const override { return selLength; }
    QString selectedText() const override { return {}; }
    void selectPage(int page) override { current = page; }
    void select(qint64 start, qint64 length) override
    {
        selStart = start;
        selLength = length;
    }
};

// About 1 MB of Shift-JIS: dated lines of mixed Japanese and ASCII text.
QString MakePage(int page)
{
    const QStringList words = {QStringLiteral("買い物"), QStringLiteral("milk"),
                               QStringLiteral("牛乳"),   QStringLiteral("パン"),
                               QStringLiteral("bread"),  QStringLiteral("会議の資料"),
                               QStringLiteral("Memo"),   QStringLiteral("ｶﾀｶﾅ"),
                               QStringLiteral("ＡＢＣ"), QStringLiteral("search")};
    QString text;
    qint64 bytes = 0;
    int n = page * 7;
    while (bytes < 1024 * 1024) {
        QString line = QStringLiteral("2024/%1/%2 ")
                           .arg(n % 12 + 1, 2, 10, QChar(u'0'))
                           .arg(n % 28 + 1, 2, 10, QChar(u'0'));
        for (int k = 0; k < 6; ++k)
            line += words[(n + k * 3) % words.size()] + u' ';
        line += QStringLiteral("\r\n");
        bytes += SjisLength(line);
        text += line;
        ++n;
    }
    return text;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F> double TimeMs(F&& f, int runs = 9)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return Median(ms);
}

} // namespace

int main()
{
    Pages pages;
    qint64 total = 0;
    for (int i = 0; i < 30; ++i) {
        pages.texts.append(MakePage(i));
        total += SjisLength(pages.texts.last());
    }
    // The only match: near the end of the last page.
    const QString needle = QStringLiteral("探し物Needle");
    QString& last = pages.texts.last();
    last.insert(last.size() - 100, needle);

    std::printf("30 pages, %.1f MB of Shift-JIS text\n", total / 1048576.0);

    auto run = [&](const char* label, const QString& text, bool caseSensitive, bool expectHit) {
        SearchState s;
        s.SearchText = text;
        s.CaseSensitive = caseSensitive;
        s.AllPages = true;
        bool hit = false;
        const double ms = TimeMs([&] {
            pages.current = 0;
            pages.selStart = pages.selLength = 0;
            s.SearchPos = 1;
            hit = FindNext(s, pages);
        });
        std::printf("%-58s %8.2f ms%s\n", label, ms, hit == expectHit ? "" : "  (WRONG RESULT)");
    };
    run("FindNext, all pages, match in page 30, case-insensitive", QStringLiteral("探し物needle"),
        false, true);
    run("FindNext, all pages, match in page 30, case-sensitive", needle, true, true);
    run("FindNext, all pages, no match, case-insensitive", QStringLiteral("nowhere"), false, false);
    run("FindNext, all pages, no match, case-sensitive", QStringLiteral("nowhere"), true, false);
    run("FindNext, all pages, no match, one-letter text", QStringLiteral("#"), false, false);
    run("FindNext, all pages, no match, text of frequent characters",
        QStringLiteral("パン milk bread 牛乳 X"), false, false);

    // Within one page: the caret at the end of 1 MB, wrapping to the top.
    {
        Pages one;
        one.texts = {pages.texts.first()};
        SearchState s;
        s.SearchText = QStringLiteral("milk");
        const qint64 end = SjisLength(one.texts.first());
        const double ms = TimeMs([&] {
            one.selStart = end;
            one.selLength = 0;
            FindNext(s, one);
        });
        std::printf("%-58s %8.2f ms\n", "FindNext, one page, caret at the end of 1 MB, wrap", ms);
    }
    return 0;
}

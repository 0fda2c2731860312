// The memo report: rendered to PDF and read back with pdftotext, the
// question about the selection, and the preview window.
#include "fakeclock.h"
#include "foundation/apperror.h"
#include "foundation/datetimeformat.h"
#include "foundation/textcodec.h"
#include "widgets/colorref.h"
#include "widgets/uiprompts.h"
#include "workspace/memoprint.h"
#include "workspace/printpreview.h"
#include "workspace/workspacesettings.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace vn;

namespace {

class FakePages : public PageAccess {
public:
    QStringList texts, names;
    QString font = QStringLiteral("IPAGothic");
    int current = 0;
    qint64 selStart = 0, selLength = 0;

    int shownPageCount() const override { return int(texts.size()); }
    int currentPage() const override { return current; }
    QString pageText(int page) const override { return texts.value(page); }
    QString tabName(int page) const override { return names.value(page); }
    QString pageFontName(int) const override { return font; }
    qint64 selectionStart() const override { return selStart; }
    qint64 selectionLength() const override { return selLength; }
    QString selectedText() const override
    {
        const QString& t = texts[current];
        const qsizetype a = SjisOffsetToIndex(t, selStart);
        return t.mid(a, SjisOffsetToIndex(t, selStart + selLength) - a);
    }
    void selectPage(int page) override { current = page; }
    void select(qint64 start, qint64 length) override
    {
        selStart = start;
        selLength = length;
    }
};

// A clock that moves one second on every reading.
class SteppingClock : public Clock {
public:
    explicit SteppingClock(DateTime start) : now_(start) { SetClock(this); }
    ~SteppingClock() override { SetClock(nullptr); }
    DateTime now() const override
    {
        const DateTime t = now_;
        now_ += 1.0 / 86400.0;
        ++reads;
        return t;
    }
    qint64 tickCount() const override { return 0; }
    mutable int reads = 0;

private:
    mutable DateTime now_;
};

const QString kFormat = QStringLiteral("yyyy/mm/dd hh:nn:ss");

QString NumberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("行%1 メモの本文 text").arg(i, 4, 10, QChar(u'0')));
    return lines.join(QStringLiteral("\r\n"));
}

QStringList NonEmptyLines(const QString& page)
{
    QStringList out;
    for (const QString& l : page.split(u'\n'))
        if (!l.trimmed().isEmpty())
            out.append(l.trimmed());
    return out;
}

} // namespace

class TestMemoPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void longTextContinuesOverPages();
    void emptyBodyGivesOnePage();
    void longLinesWrapWithinTheBand();
    void pageRangeAndCopies();
    void fonts();
    void selectionQuestion();
    void previewWindow();
    void printPreviewShowsAndCloses();

private:
    QStringList PdfPages(const QString& pdf);
    QString PdfFonts(const QString& pdf);
    QString Print(const MemoReport& report, const std::function<void(QPrinter&)>& setUp = {});

    QTemporaryDir dir_;
    QString pdftotext_;
    int files_ = 0;
};

void TestMemoPrint::initTestCase()
{
    InstallFontSubstitutions();
    pdftotext_ = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QVERIFY(dir_.isValid());
}

void TestMemoPrint::init()
{
    Workspace() = WorkspaceSettings{};
    Workspace().dateTimeFormat = kFormat;
}

QString TestMemoPrint::Print(const MemoReport& report, const std::function<void(QPrinter&)>& setUp)
{
    const QString path = dir_.filePath(QStringLiteral("r%1.pdf").arg(++files_));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (setUp)
        setUp(printer);
    if (report.Print(printer) <= 0)
        return {};
    return path;
}

QStringList TestMemoPrint::PdfPages(const QString& pdf)
{
    QProcess p;
    p.start(pdftotext_, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                         pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString TestMemoPrint::PdfFonts(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdffonts"), {pdf});
    if (!p.waitForFinished(60000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

void TestMemoPrint::longTextContinuesOverPages()
{
    if (pdftotext_.isEmpty())
        QSKIP("pdftotext is not installed");
    const DateTime start = EncodeDate(2024, 3, 9) + EncodeTime(14, 5, 59, 0);
    SteppingClock clock(start);
    const int lineCount = 400;
    const MemoReport report(
        {QStringLiteral("買い物メモ"), NumberedLines(lineCount), QStringLiteral("IPAGothic")});
    const QString pdf = Print(report);
    QVERIFY(!pdf.isEmpty());
    QCOMPARE(clock.reads, 1); // the print date is taken once

    QPrinter measuring(QPrinter::HighResolution);
    const int expectedPages = report.PageCount(measuring);
    const QStringList pages = PdfPages(pdf);
    QCOMPARE(pages.size(), expectedPages);
    // 9 pt lines on a 259.3 mm band: some 50..70 lines a page.
    QVERIFY2(pages.size() >= lineCount / 70 && pages.size() <= lineCount / 45 + 1,
             qPrintable(QString::number(pages.size())));

    const QString date = RenderDateTime(kFormat, start);
    const QRegularExpression anyDate(QStringLiteral("\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d"));
    int nextLine = 1;
    for (int i = 0; i < pages.size(); ++i) {
        const QStringList lines = NonEmptyLines(pages[i]);
        QVERIFY(lines.size() > 2);
        // Header: the title at the left and the date at the right.
        QVERIFY2(lines.first().startsWith(QStringLiteral("買い物メモ")), qPrintable(lines.first()));
        QVERIFY2(lines.first().endsWith(date), qPrintable(lines.first()));
        auto dates = anyDate.globalMatch(pages[i]);
        int dateCount = 0;
        while (dates.hasNext()) {
            QCOMPARE(dates.next().captured(), date);
            ++dateCount;
        }
        QCOMPARE(dateCount, 1);
        // Footer: the page's own number.
        QCOMPARE(lines.last(), QString::number(i + 1));
        // The body lines follow on without loss or repetition.
        for (int k = 1; k + 1 < lines.size(); ++k) {
            const QString want = QStringLiteral("行%1").arg(nextLine, 4, 10, QChar(u'0'));
            QVERIFY2(lines[k].startsWith(want), qPrintable(lines[k] + " / " + want));
            ++nextLine;
        }
    }
    QCOMPARE(nextLine, lineCount + 1);
}

void TestMemoPrint::emptyBodyGivesOnePage()
{
    if (pdftotext_.isEmpty())
        QSKIP("pdftotext is not installed");
    test::FakeClock clock(EncodeDate(2025, 1, 2) + EncodeTime(9, 0, 0, 0));
    const MemoReport report({QStringLiteral("空のメモ"), QString(), QStringLiteral("IPAGothic")});
    const QStringList pages = PdfPages(Print(report));
    QCOMPARE(pages.size(), 1);
    const QStringList lines = NonEmptyLines(pages[0]);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("空のメモ")));
    QVERIFY(lines[0].endsWith(QStringLiteral("2025/01/02 09:00:00")));
    QCOMPARE(lines[1], QStringLiteral("1"));
}

void TestMemoPrint::longLinesWrapWithinTheBand()
{
    if (pdftotext_.isEmpty())
        QSKIP("pdftotext is not installed");
    test::FakeClock clock(EncodeDate(2025, 1, 2));
    // One line of 4000 double-byte characters without a space, and one of
    // words; both must wrap and lose nothing.
    QString jp;
    const QString kana = QStringLiteral("あいうえおかきくけこ");
    for (int i = 0; i < 400; ++i)
        jp += kana;
    QString words;
    for (int i = 0; i < 300; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    const MemoReport report({QStringLiteral("T"), jp + QStringLiteral("\r\n") + words.trimmed(),
                             QStringLiteral("IPAGothic")});
    const QStringList pages = PdfPages(Print(report));
    QVERIFY(pages.size() >= 2);
    QString all;
    int kanaLines = 0;
    for (const QString& page : pages) {
        const QStringList lines = NonEmptyLines(page);
        for (int k = 1; k + 1 < lines.size(); ++k) {
            all += lines[k];
            kanaLines += lines[k].contains(u'あ');
        }
    }
    QCOMPARE(all.count(u'あ'), 400);
    QCOMPARE(all.count(u'こ'), 400);
    QVERIFY(kanaLines > 10);
    // Words are not cut: each of them is there whole.
    for (int i = 0; i < 300; i += 37)
        QVERIFY(all.contains(QStringLiteral("word%1").arg(i)));
    QVERIFY(all.contains(QStringLiteral("word299")));
}

void TestMemoPrint::pageRangeAndCopies()
{
    if (pdftotext_.isEmpty())
        QSKIP("pdftotext is not installed");
    test::FakeClock clock(EncodeDate(2025, 1, 2));
    const MemoReport report({QStringLiteral("範囲"), NumberedLines(300), QString()});
    QPrinter measuring(QPrinter::HighResolution);
    QVERIFY(report.PageCount(measuring) >= 4);

    auto footers = [&](const QString& pdf) {
        QStringList out;
        for (const QString& page : PdfPages(pdf))
            out.append(NonEmptyLines(page).last());
        return out;
    };
    const QString range = Print(report, [](QPrinter& p) {
        p.setPrintRange(QPrinter::PageRange);
        p.setFromTo(2, 3);
    });
    QCOMPARE(footers(range), QStringList({"2", "3"}));

    // Two copies, collated and not; a print system that makes copies
    // itself gets each page once.
    const QString collated = Print(report, [](QPrinter& p) {
        p.setPrintRange(QPrinter::PageRange);
        p.setFromTo(2, 3);
        p.setCopyCount(2);
        p.setCollateCopies(true);
    });
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    if (probe.supportsMultipleCopies()) {
        QCOMPARE(footers(collated), QStringList({"2", "3"}));
    } else {
        QCOMPARE(footers(collated), QStringList({"2", "3", "2", "3"}));
        const QString uncollated = Print(report, [](QPrinter& p) {
            p.setPrintRange(QPrinter::PageRange);
            p.setFromTo(2, 3);
            p.setCopyCount(2);
            p.setCollateCopies(false);
        });
        QCOMPARE(footers(uncollated), QStringList({"2", "2", "3", "3"}));
    }
}

void TestMemoPrint::fonts()
{
    const MemoReport report(
        {QStringLiteral("T"), QStringLiteral("x"), QStringLiteral("IPAMincho")});
    const QFont body = report.BodyFont();
    QCOMPARE(body.family(), QStringLiteral("IPAMincho"));
    QCOMPARE(body.pointSizeF(), 9.0);
    QVERIFY(body.bold());
    const QFont title = report.TitleFont();
    QCOMPARE(title.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(title.pointSizeF(), 9.0);
    QVERIFY(title.underline());
    QCOMPARE(report.DateFont().pointSizeF(), 9.0);
    QCOMPARE(report.PageNumberFont().pointSizeF(), 9.0);

    // A stored face whose stand-in has no bold style prints with a stand-in
    // that has one, so the preview shows the bold the printout has.
    const QFont gothicBody =
        MemoReport({QStringLiteral("T"), QStringLiteral("x"), QStringLiteral("ＭＳ ゴシック")})
            .BodyFont();
    const QString resolved = QFontInfo(gothicBody).family();
    const QStringList styles = QFontDatabase::styles(resolved);
    const bool realBold = std::any_of(styles.begin(), styles.end(), [&](const QString& style) {
        return QFontDatabase::weight(resolved, style) >= QFont::DemiBold;
    });
    const QStringList standIns = QFont::substitutes(QStringLiteral("ＭＳ ゴシック"));
    const bool anyBoldStandIn =
        std::any_of(standIns.begin(), standIns.end(), [](const QString& family) {
            return QFontDatabase::styles(family).contains(QStringLiteral("Bold"));
        });
    if (anyBoldStandIn)
        QVERIFY2(realBold, qPrintable(resolved));
    QVERIFY(gothicBody.bold());
    // ...and keeps the line pitch of the stored face: as many lines a sheet.
    if (QFontDatabase::hasFamily(QStringLiteral("IPAGothic"))) {
        QString lines;
        for (int i = 0; i < 400; ++i)
            lines += QStringLiteral("第%1行　日本語のメモ\r\n").arg(i);
        QPrinter a(QPrinter::HighResolution), b(QPrinter::HighResolution);
        QCOMPARE(
            MemoReport({QStringLiteral("T"), lines, QStringLiteral("ＭＳ ゴシック")}).PageCount(a),
            MemoReport({QStringLiteral("T"), lines, QStringLiteral("IPAGothic")}).PageCount(b));
    }

    // The body's face reaches the PDF.
    if (QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        QSKIP("pdffonts is not installed");
    if (!QFontDatabase::hasFamily(QStringLiteral("IPAMincho")) ||
        !QFontDatabase::hasFamily(QStringLiteral("IPAGothic")))
        QSKIP("the IPA fonts are not installed");
    test::FakeClock clock(EncodeDate(2025, 1, 2));
    const QString mincho = PdfFonts(Print(report));
    const QString gothic = PdfFonts(
        Print(MemoReport({QStringLiteral("T"), QStringLiteral("x"), QStringLiteral("IPAGothic")})));
    QVERIFY2(mincho.contains(QStringLiteral("IPAMincho")), qPrintable(mincho));
    QVERIFY2(!gothic.contains(QStringLiteral("IPAMincho")), qPrintable(gothic));
    QVERIFY2(gothic.contains(QStringLiteral("IPAGothic")), qPrintable(gothic));
}

void TestMemoPrint::selectionQuestion()
{
    QStringList asked;
    BoxAnswer answer = BoxAnswer::Yes;
    const UiPrompts saved = Prompts();
    Prompts().message = [&](BoxKind kind, const QString& text, BoxButtons buttons) {
        if (kind == BoxKind::Warning && buttons == BoxButtons::YesNo)
            asked.append(text);
        return answer;
    };
    FakePages pages;
    pages.texts = {QStringLiteral("one"), QStringLiteral("あいう\r\nえお")};
    pages.names = {QStringLiteral("メモ１"), QStringLiteral("日記")};
    pages.font = QStringLiteral("IPAMincho");
    pages.current = 1;

    // Without a selection: no question, the whole page.
    MemoReportContent c = ReportContentFor(pages);
    QVERIFY(asked.isEmpty());
    QCOMPARE(c.title, QStringLiteral("日記"));
    QCOMPARE(c.fontName, QStringLiteral("IPAMincho"));
    QCOMPARE(c.body, QStringLiteral("あいう\r\nえお"));

    // With a selection: Yes prints only the selection...
    pages.select(2, 6); // "いう" CR LF
    c = ReportContentFor(pages);
    QCOMPARE(asked, QStringList({QStringLiteral("選択文字列のみの印刷ですか？")}));
    QCOMPARE(c.body, QStringLiteral("いう\r\n"));
    // ...No the whole page.
    answer = BoxAnswer::No;
    c = ReportContentFor(pages);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(c.body, QStringLiteral("あいう\r\nえお"));

    // The title follows a new tab name at once.
    pages.names[1] = QStringLiteral("新しい名前");
    QCOMPARE(ReportContentFor(pages).title, QStringLiteral("新しい名前"));
    Prompts() = saved;
}

namespace {

// The preview with the print dialog replaced: prints into a PDF file.
class PdfPreview : public PrintPreviewWindow {
public:
    using PrintPreviewWindow::PrintPreviewWindow;
    QString path;
    int from = 0, to = 0;
    int offeredPages = 0;
    bool offeredPdf = false;
    QString offeredFile;

protected:
    bool ChoosePrinter(QPrinter& printer, int pageCount) override
    {
        offeredPages = pageCount;
        offeredPdf = printer.outputFormat() == QPrinter::PdfFormat;
        offeredFile = printer.outputFileName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        return true;
    }
};

QStringList ActionTexts(QWidget* window)
{
    QStringList out;
    for (QAction* a : window->findChild<QToolBar*>()->actions())
        if (!a->isSeparator() && !a->text().isEmpty())
            out.append(a->text());
    return out;
}

} // namespace

void TestMemoPrint::previewWindow()
{
    test::FakeClock clock(EncodeDate(2025, 1, 2));
    const MemoReport report({QStringLiteral("題"), NumberedLines(200), QString()});
    PdfPreview preview(report);
    preview.path = dir_.filePath(QStringLiteral("preview.pdf"));
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QCOMPARE(preview.windowTitle(), QStringLiteral("プレビュー"));
    QCOMPARE(ActionTexts(&preview),
             QStringList({"ページ全体", "100%", "ページ幅", "最初のページ", "前のページ",
                          "次のページ", "最後のページ", "印刷", "閉じる(&C)"}));

    QPrinter measuring(QPrinter::HighResolution);
    const int count = report.PageCount(measuring);
    QVERIFY(count >= 3);
    QTRY_COMPARE(preview.pageCount(), count);

    auto trigger = [&](const char* name) {
        preview.findChild<QAction*>(QLatin1String(name))->trigger();
    };
    trigger("actLast");
    QCOMPARE(preview.currentPage(), count);
    QVERIFY(!preview.findChild<QAction*>(QStringLiteral("actNext"))->isEnabled());
    trigger("actPrevious");
    QCOMPARE(preview.currentPage(), count - 1);
    trigger("actFirst");
    QCOMPARE(preview.currentPage(), 1);
    QVERIFY(!preview.findChild<QAction*>(QStringLiteral("actPrevious"))->isEnabled());
    trigger("actNext");
    QCOMPARE(preview.currentPage(), 2);
    trigger("actZoom100");
    QCOMPARE(preview.previewWidget()->zoomFactor(), 1.0);
    QCOMPARE(preview.previewWidget()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    trigger("actFitWidth");
    QCOMPARE(preview.previewWidget()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    trigger("actFitPage");
    QCOMPARE(preview.previewWidget()->zoomMode(), QPrintPreviewWidget::FitInView);

    // "印刷" with a page range, into a PDF file.
    preview.from = 2;
    preview.to = 3;
    trigger("actPrint");
    QCOMPARE(preview.offeredPages, count);
    // Printing to a file proposes a PDF named after the title.
    if (preview.offeredPdf)
        QVERIFY2(preview.offeredFile.endsWith(QStringLiteral("/題.pdf")),
                 qPrintable(preview.offeredFile));
    QVERIFY(QFile::exists(preview.path));
    if (!pdftotext_.isEmpty()) {
        const QStringList pages = PdfPages(preview.path);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(NonEmptyLines(pages[0]).last(), QStringLiteral("2"));
        QVERIFY(NonEmptyLines(pages[1]).first().startsWith(QStringLiteral("題")));
    }

    trigger("actClose");
    QVERIFY(!preview.isVisible());
}

void TestMemoPrint::printPreviewShowsAndCloses()
{
    test::FakeClock clock(EncodeDate(2025, 1, 2));
    FakePages pages;
    pages.texts = {QStringLiteral("短いメモ")};
    pages.names = {QStringLiteral("メモ１")};
    pages.select(0, 2);
    int asked = 0;
    const UiPrompts saved = Prompts();
    Prompts().message = [&](BoxKind, const QString&, BoxButtons) {
        ++asked;
        return BoxAnswer::No;
    };

    // Without the print module: a clear error before any question.
    SetPrintModulePath(QStringLiteral("/nonexistent/velnote-print"));
    QString error;
    try {
        PrintPreview(pages);
    } catch (const AppError& e) {
        error = e.message();
    }
    QVERIFY2(error.startsWith(QStringLiteral("印刷の機能を読み込めません [")), qPrintable(error));
    QCOMPARE(asked, 0);

    // The module as built: the preview window of the report, from the
    // module's own code.
    SetPrintModulePath(QStringLiteral(VN_PRINT_MODULE));
    QString name, title;
    int count = 0;
    QTimer::singleShot(0, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        QVERIFY(preview);
        name = preview->objectName();
        title = preview->windowTitle();
        count = preview->findChild<QPrintPreviewWidget*>()->pageCount();
        preview->findChild<QAction*>(QStringLiteral("actClose"))->trigger();
    });
    PrintPreview(pages); // returns once the preview is closed
    Prompts() = saved;
    QCOMPARE(asked, 1);
    QCOMPARE(name, QStringLiteral("TfrmPreview"));
    QCOMPARE(title, QStringLiteral("プレビュー"));
    QCOMPARE(count, 1);
}

QTEST_MAIN(TestMemoPrint)
#include "tst_memoprint.moc"

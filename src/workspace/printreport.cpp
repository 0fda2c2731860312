#include "printreport.h"

#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "workspacesettings.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <memory>

namespace vn {

namespace {

// Sheet geometry in millimetres.
constexpr double kPaperWidth = 210.0;
constexpr double kMargin = 10.0;
constexpr double kPrintableWidth = kPaperWidth - 2 * kMargin; // 190
constexpr double kHeaderHeight = 10.3;
constexpr double kDetailHeight = 259.3;
constexpr double kFooterHeight = 7.4;
constexpr double kLabelInset = 0.5;
constexpr double kBodyLeft = 7.4;
constexpr double kBodyWidth = 182.3;
constexpr double kTitleGap = 2.0; // kept free between title and date
constexpr double kTabStop = 12.7; // half an inch
constexpr double kPointSize = 9.0;

const QString kReportFace = QStringLiteral("ＭＳ Ｐゴシック");
const QString kDefaultDateTimeFormat = QStringLiteral("yyyy/mm/dd(aaa) hh:nn:ss");

bool HasBoldStyle(const QString& family)
{
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(), [&](const QString& style) {
        return QFontDatabase::weight(family, style) >= QFont::DemiBold;
    });
}

// A face without a bold style is only thickened on the fly, which the PDF
// shows but the preview does not: print bold text with the first stand-in
// of the face that has a real bold.
void PreferTrueBold(QFont& font)
{
    if (HasBoldStyle(QFontInfo(font).family()))
        return;
    const QStringList standIns = QFont::substitutes(font.family());
    for (const QString& family : standIns) {
        if (HasBoldStyle(family)) {
            font.setFamilies({family});
            return;
        }
    }
}

QString PlainLines(const QString& body)
{
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// The body laid out on the printer, cut into detail-band pages.
struct BodyLayout {
    std::unique_ptr<QTextDocument> doc;
    double width = 0;  // device pixels
    double height = 0; // device pixels, one detail band
    int pages = 1;

    // pitchFont: the face whose line spacing the lines keep (the stored face
    // when a stand-in draws its bold).
    BodyLayout(const QString& body, const QFont& font, const QFont& pitchFont, QPrinter& printer,
               double pxPerMm)
        : doc(std::make_unique<QTextDocument>())
    {
        width = kBodyWidth * pxPerMm;
        height = kDetailHeight * pxPerMm;
        doc->documentLayout()->setPaintDevice(&printer);
        doc->setDocumentMargin(0);
        doc->setDefaultFont(font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setAlignment(Qt::AlignLeft);
        option.setTabStopDistance(kTabStop * pxPerMm);
        doc->setDefaultTextOption(option);
        doc->setUndoRedoEnabled(false);
        doc->setPlainText(PlainLines(body));
        if (QFontInfo(pitchFont).family() != QFontInfo(font).family()) {
            // Line heights are given at screen resolution; the layout scales
            // them to the printer.
            const double pitchPx = QFontMetricsF(pitchFont, &printer).lineSpacing();
            QTextBlockFormat pitch;
            pitch.setLineHeight(pitchPx * 96.0 / printer.logicalDpiY(),
                                QTextBlockFormat::FixedHeight);
            QTextCursor all(doc.get());
            all.select(QTextCursor::Document);
            all.mergeBlockFormat(pitch);
        }
        doc->setPageSize(QSizeF(width, height));
        pages = std::max(1, doc->pageCount());
    }

    void paintPage(QPainter& painter, int page, QPointF topLeft) const
    {
        painter.save();
        painter.translate(topLeft.x(), topLeft.y() - page * height);
        const QRectF band(0, page * height, width, height);
        QAbstractTextDocumentLayout::PaintContext context;
        // Lines pushed to the next band start exactly on this band's edge;
        // a clip a hair inside the band keeps them (and the previous band's
        // last line) off this page, also as hidden text in a PDF.
        context.clip = band.adjusted(0, 1, 0, -1);
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(band);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
    }
};

QFont StoredBodyFace(const MemoReportContent& content)
{
    // Only the face follows the page; size and weight are the report's.
    QFont f(content.fontName.isEmpty() ? kReportFace : content.fontName);
    f.setPointSizeF(kPointSize);
    f.setBold(true);
    return f;
}

double PixelsPerMm(const QPrinter& printer)
{
    return printer.resolution() / 25.4;
}

} // namespace

MemoReport::MemoReport(MemoReportContent content) : content_(std::move(content)) {}

void MemoReport::PreparePrinter(QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

QFont MemoReport::TitleFont() const
{
    QFont f(kReportFace);
    f.setPointSizeF(kPointSize);
    f.setUnderline(true);
    return f;
}

QFont MemoReport::DateFont() const
{
    QFont f(kReportFace);
    f.setPointSizeF(kPointSize);
    return f;
}

QFont MemoReport::BodyFont() const
{
    QFont f = StoredBodyFace(content_);
    PreferTrueBold(f);
    return f;
}

QFont MemoReport::PageNumberFont() const
{
    return DateFont();
}

QString MemoReport::PrintDateText()
{
    const QString format =
        Workspace().dateTimeFormat.isEmpty() ? kDefaultDateTimeFormat : Workspace().dateTimeFormat;
    return RenderDateTime(format, Now());
}

int MemoReport::PageCount(QPrinter& printer) const
{
    PreparePrinter(printer);
    return BodyLayout(content_.body, BodyFont(), StoredBodyFace(content_), printer,
                      PixelsPerMm(printer))
        .pages;
}

int MemoReport::Print(QPrinter& printer) const
{
    PreparePrinter(printer);
    const QString printDate = PrintDateText();
    const double mm = PixelsPerMm(printer);
    const BodyLayout body(content_.body, BodyFont(), StoredBodyFace(content_), printer, mm);

    int first = 1;
    int last = body.pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::clamp(printer.fromPage(), 1, body.pages);
        last = std::clamp(printer.toPage() > 0 ? printer.toPage() : body.pages, first, body.pages);
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const bool collate = printer.collateCopies();

    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    painter.setPen(Qt::black);

    const QRectF header(kMargin * mm, kMargin * mm, kPrintableWidth * mm, kHeaderHeight * mm);
    const QPointF bodyTopLeft((kMargin + kBodyLeft) * mm, (kMargin + kHeaderHeight) * mm);
    const QRectF footer(kMargin * mm, (kMargin + kHeaderHeight + kDetailHeight) * mm,
                        kPrintableWidth * mm, kFooterHeight * mm);
    const QRectF labels = header.adjusted(kLabelInset * mm, kLabelInset * mm, 0, 0);

    const QFont dateFont = DateFont();
    const double dateWidth = QFontMetricsF(dateFont, &printer).horizontalAdvance(printDate);
    const QFont titleFont = TitleFont();
    const double titleRoom = std::max(0.0, labels.width() - dateWidth - kTitleGap * mm);
    // A title too long for the room left of the date is cut rather than
    // printed over it.
    const QString title =
        QFontMetricsF(titleFont, &printer).elidedText(content_.title, Qt::ElideRight, titleRoom);

    auto paintPage = [&](int page) {
        painter.setFont(titleFont);
        painter.drawText(labels, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);
        painter.setFont(dateFont);
        painter.drawText(labels, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, printDate);
        body.paintPage(painter, page - 1, bodyTopLeft);
        painter.setFont(PageNumberFont());
        painter.drawText(footer, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::number(page));
    };

    bool firstSheet = true;
    auto sheet = [&](int page) {
        if (!firstSheet)
            printer.newPage();
        firstSheet = false;
        paintPage(page);
    };
    if (collate) {
        for (int c = 0; c < copies; ++c)
            for (int p = first; p <= last; ++p)
                sheet(p);
    } else {
        for (int p = first; p <= last; ++p)
            for (int c = 0; c < copies; ++c)
                sheet(p);
    }
    painter.end();
    return body.pages;
}

bool PrintReportToPdf(const MemoReport& report, const QString& pdfPath)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return report.Print(printer) > 0;
}

} // namespace vn

#include "printpreview.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace vn {

namespace {

// Where "Print to File (PDF)" proposes to write: the documents folder,
// named after the title.
QString DefaultPdfPath(const QString& title)
{
    QString name = title.trimmed();
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (forbidden.contains(c) || c.unicode() < 0x20)
            c = u'_';
    if (name.isEmpty())
        name = QStringLiteral("memo");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

QAction* AddAction(QToolBar* bar, const char* name, const QString& text)
{
    QAction* a = bar->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
}

} // namespace

PrintPreviewWindow::PrintPreviewWindow(const MemoReport& report, QWidget* parent)
    : QDialog(parent), report_(report),
      previewPrinter_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("TfrmPreview"));
    setWindowTitle(QStringLiteral("プレビュー"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    MemoReport::PreparePrinter(*previewPrinter_);
    preview_ = new QPrintPreviewWidget(previewPrinter_.get(), this);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { report_.Print(*printer); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this,
            &PrintPreviewWindow::UpdateNavigation);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(AddAction(bar, "actFitPage", QStringLiteral("ページ全体")), &QAction::triggered,
            preview_, &QPrintPreviewWidget::fitInView);
    connect(AddAction(bar, "actZoom100", QStringLiteral("100%")), &QAction::triggered, this,
            [this] { preview_->setZoomFactor(1.0); });
    connect(AddAction(bar, "actFitWidth", QStringLiteral("ページ幅")), &QAction::triggered,
            preview_, &QPrintPreviewWidget::fitToWidth);
    bar->addSeparator();
    first_ = AddAction(bar, "actFirst", QStringLiteral("最初のページ"));
    previous_ = AddAction(bar, "actPrevious", QStringLiteral("前のページ"));
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName(QStringLiteral("lblPage"));
    pageLabel_->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(pageLabel_);
    next_ = AddAction(bar, "actNext", QStringLiteral("次のページ"));
    last_ = AddAction(bar, "actLast", QStringLiteral("最後のページ"));
    auto go = [this](auto target) {
        return [this, target] {
            preview_->setCurrentPage(target());
            UpdateNavigation();
        };
    };
    connect(first_, &QAction::triggered, this, go([] { return 1; }));
    connect(previous_, &QAction::triggered, this, go([this] { return currentPage() - 1; }));
    connect(next_, &QAction::triggered, this, go([this] { return currentPage() + 1; }));
    connect(last_, &QAction::triggered, this, go([this] { return pageCount(); }));
    bar->addSeparator();
    connect(AddAction(bar, "actPrint", QStringLiteral("印刷")), &QAction::triggered, this,
            &PrintPreviewWindow::PrintClick);
    connect(AddAction(bar, "actClose", QStringLiteral("閉じる(&C)")), &QAction::triggered, this,
            &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(preview_, 1);

    QSize size(800, 900);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);

    // Scrolling through the sheets changes the current page too.
    if (auto* view = preview_->findChild<QAbstractScrollArea*>())
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this,
                &PrintPreviewWindow::UpdateNavigation);

    preview_->fitToWidth();
    preview_->updatePreview();
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

int PrintPreviewWindow::pageCount() const
{
    return preview_->pageCount();
}

int PrintPreviewWindow::currentPage() const
{
    return preview_->currentPage();
}

void PrintPreviewWindow::UpdateNavigation()
{
    const int count = pageCount();
    const int page = currentPage();
    pageLabel_->setText(QStringLiteral("%1 / %2").arg(page).arg(count));
    first_->setEnabled(page > 1);
    previous_->setEnabled(page > 1);
    next_->setEnabled(page < count);
    last_->setEnabled(page < count);
}

bool PrintPreviewWindow::ChoosePrinter(QPrinter& printer, int pageCount)
{
    QPrintDialog dialog(&printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintCollateCopies);
    dialog.setMinMax(1, pageCount);
    dialog.setFromTo(1, pageCount);
    return dialog.exec() == QDialog::Accepted;
}

void PrintPreviewWindow::PrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    MemoReport::PreparePrinter(printer);
    printer.setDocName(report_.content().title);
    // Without a print system the printer is the PDF file; propose a name.
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        printer.setOutputFileName(DefaultPdfPath(report_.content().title));
    if (!ChoosePrinter(printer, pageCount()))
        return;
    report_.Print(printer);
}

} // namespace vn

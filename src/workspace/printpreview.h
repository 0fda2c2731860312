#pragma once
// The preview window "プレビュー" of the memo report: zoom, page navigation,
// "印刷" and "閉じる(&C)" only.
#include "printreport.h"

#include <QDialog>
#include <memory>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;

namespace vn {

class PrintPreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PrintPreviewWindow(const MemoReport& report, QWidget* parent = nullptr);
    ~PrintPreviewWindow() override;

    QPrintPreviewWidget* previewWidget() const { return preview_; }
    int pageCount() const;
    int currentPage() const;

    // "印刷": the print dialog, then the report on the chosen printer.
    void PrintClick();

protected:
    // Lets the user choose printer, page range (1 … pageCount) and copies;
    // false when cancelled.
    virtual bool ChoosePrinter(QPrinter& printer, int pageCount);

private:
    void UpdateNavigation();

    const MemoReport& report_;
    std::unique_ptr<QPrinter> previewPrinter_;
    QPrintPreviewWidget* preview_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QAction* first_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
};

} // namespace vn

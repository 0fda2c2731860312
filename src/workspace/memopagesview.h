#pragma once
// The thirty memo pages (`PageControl2`): editors, files, tab names, fonts,
// colours and caret positions.
#include "pagefiles.h"

#include <QStringList>
#include <QTabWidget>

class QPlainTextEdit;

namespace vn {

class MemoPagesView : public QTabWidget {
    Q_OBJECT
public:
    explicit MemoPagesView(QWidget* parent = nullptr);

    QPlainTextEdit* editor(int index) const { return editors_[size_t(index)]; }
    int currentPage() const { return current_; }
    QString pageText(int index) const;
    QString tabName(int index) const { return tabNames_.value(index); }

    void loadPages();                 // texts, then positions
    void savePages(int count);        // throws on a failing file
    void savePagePositions();
    void restorePagePositions();
    void createMissingPageFiles();
    void applyPageCount(int shownCount, bool multiLine);
    void applyTabNames();
    void applyWordWrap(bool wrap);
    void applyFontsAndColours();
    void selectPage(int index);
    QString pageStatusText() const;

signals:
    void pageStatusChanged(const QString& text);

private:
    std::array<QPlainTextEdit*, kPageCount> editors_{};
    QStringList tabNames_;
    int current_ = 0;
    int shown_ = 3;
};

} // namespace vn

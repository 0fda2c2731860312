#pragma once
// The thirty memo pages (`PageControl2`): editors, files, tab names, fonts,
// colours and caret positions.
#include "foundation/settings.h"
#include "pageaccess.h"
#include "pagefiles.h"

#include <QStringList>
#include <QTabWidget>

class QPlainTextEdit;

namespace vn {

class MemoPagesView : public QTabWidget, public PageAccess {
    Q_OBJECT
public:
    explicit MemoPagesView(QWidget* parent = nullptr);

    // The editor of a page, with the page's text in it.
    QPlainTextEdit* editor(int index) const;
    // PageAccess: what search and printing see of the pages.
    int currentPage() const override { return current_; }
    QString pageText(int index) const override;
    QString tabName(int index) const override { return tabNames_.value(index); }
    int shownPageCount() const override { return shown_; }
    QString pageFontName(int index) const override { return fonts_[size_t(index)].name; }
    qint64 selectionStart() const override;
    qint64 selectionLength() const override;
    QString selectedText() const override;
    void selectPage(int index) override;
    void select(qint64 start, qint64 length) override;

    void loadPages();          // texts, then positions
    void savePages(int count); // throws on a failing file
    void savePagePositions();
    void restorePagePositions();
    void createMissingPageFiles();
    void applyPageCount(int shownCount, bool multiLine);
    // The tabs in several rows when one is too narrow, or in one row with
    // scroll arrows.
    void setMultiLineTabs(bool multiLine);
    void applyTabNames();
    void applyWordWrap(bool wrap);
    void applyFontsAndColours();
    QString pageStatusText() const;

    // Page store for the other windows.
    void replacePageText(int index, const QString& text); // also writes the file
    bool pageTextEquals(int index, const QString& text) const;
    void setPageText(int index, const QString& text); // CR LF text, file untouched
    FontSpec pageFont(int index) const { return fonts_[size_t(index)]; }
    int pageBackColour(int index) const { return backColours_[size_t(index)]; }
    void setPageFont(int index, const FontSpec& font); // and its setting
    void setPageBackColour(int index, int colorRef);   // and its setting

    // Delete / restore of the current page.
    bool restoreOffered() const { return restore_; }
    void updateDeleteButton();
    void deleteCurrentPage(); // writes the text to its file, then empties the page
    void restoreCurrentPage();
    void renamePage(int index, const QString& name);
    void movePage(int from, int to);

    // Errors of the periodic save, each failing file reported once.
    QStringList saveShownPages();

signals:
    void pageStatusChanged(const QString& text);
    void deleteStateChanged(bool restoreOffered);
    void pageMenuRequested(const QPoint& globalPos);

private:
    struct Position {
        int scroll = 0, start = 0, length = 0; // lines, Shift-JIS bytes
    };
    // Editors are made, and pages put into them, when first needed, so a
    // start with thirty large pages only reads their files.
    void materialize(int index) const;
    QPlainTextEdit* makeEditor(int index) const;
    void styleEditor(int index) const;
    void applyPosition(int index) const;
    Position currentPosition(int index) const;

    std::array<QWidget*, kPageCount> sheets_{};
    mutable std::array<QPlainTextEdit*, kPageCount> editors_{};
    mutable std::array<bool, kPageCount> inEditor_{};
    mutable std::array<QString, kPageCount> pending_{}; // CR LF text not yet in its editor
    mutable std::array<Position, kPageCount> positions_{};
    mutable std::array<quint64, kPageCount> generation_{}; // bumped by every text change
    struct PositionCache {
        quint64 generation = ~0ull;
        int anchor = -1, position = -1;
        Position bytes;
    };
    mutable std::array<PositionCache, kPageCount> positionCache_{};
    PageSaver::Source saverSource() const;
    void checkNextPageSync();
    QList<QPair<int, quint64>> syncChecks_;
    std::array<FontSpec, kPageCount> fonts_{};
    std::array<int, kPageCount> backColours_{};
    bool wrap_ = false;
    QStringList tabNames_;
    PageSaver saver_;
    bool restore_ = false;
    int current_ = 0;
    int shown_ = 3;
};

} // namespace vn

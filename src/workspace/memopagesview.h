#pragma once
// The thirty memo pages (`PageControl2`): their editors and tabs. What a
// page is (text, file state, font, colour, name, position) lives in its
// PageStore.
#include "foundation/settings.h"
#include "pageaccess.h"
#include "pagestore.h"

#include <QStringList>
#include <QTabWidget>

class QPlainTextEdit;

namespace vn {

class EditorFill;
class HeldTextBar;

class MemoPagesView : public QTabWidget, public PageAccess {
    Q_OBJECT
public:
    explicit MemoPagesView(QWidget* parent = nullptr);

    // The pages' records and file rules; the view holds only the editors.
    PageStore& store() { return store_; }
    const PageStore& store() const { return store_; }

    // The editor of a page, with the page's whole text in it.
    QPlainTextEdit* editor(int index) const;
    // Focus to the current page's editor (its text may still be going in).
    void focusCurrentPage();
    // PageAccess: what search and printing see of the pages.
    int currentPage() const override { return current_; }
    QString pageText(int index) const override { return store_.text(index); }
    QString tabName(int index) const override;
    int shownPageCount() const override { return shown_; }
    QString pageFontName(int index) const override { return store_.page(index).font.name; }
    qint64 selectionStart() const override;
    qint64 selectionLength() const override;
    QString selectedText() const override;
    void selectPage(int index) override;
    void select(qint64 start, qint64 length) override;

    // Texts, then positions. Returns the errors of files that could not be
    // read; their pages stay empty and read-only, and are never written.
    QStringList loadPages();
    void savePages(int count); // throws the errors of failing files
    void savePagePositions();
    void restorePagePositions();
    void createMissingPageFiles() { store_.createMissingFiles(); }
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
    void setPageText(int index, const QString& text) { store_.setText(index, text); }
    FontSpec pageFont(int index) const { return store_.page(index).font; }
    int pageBackColour(int index) const { return store_.page(index).backColour; }
    void setPageFont(int index, const FontSpec& font); // and its setting
    void setPageBackColour(int index, int colorRef);   // and its setting

    // A page whose file cannot be shown as it is becomes editable once the
    // user accepts that the file is rewritten (a copy of it is kept).
    // False when the user declines or the copy cannot be made.
    bool acceptHeldPage(int index);
    // The notice above a page's text; empty when there is none.
    QString pageNotice(int index) const;

    // Delete / restore of the current page.
    bool restoreOffered() const { return restore_; }
    void updateDeleteButton();
    void deleteCurrentPage(); // writes the text to its file, then empties the page
    void restoreCurrentPage();
    void renamePage(int index, const QString& name);
    void movePage(int from, int to);

    // Errors of the periodic save, each failing file reported once.
    QStringList saveShownPages()
    {
        takeInOutsideChanges();
        return store_.save(shown_, false);
    }
    // Pages with no unsaved change whose files another program changed
    // show the new text, the caret and scroll kept where they can be.
    // Returns the pages that changed.
    QList<int> takeInOutsideChanges();

signals:
    void pageStatusChanged(const QString& text);
    void deleteStateChanged(bool restoreOffered);
    void pageMenuRequested(const QPoint& globalPos);

private:
    // Editors are made, and pages put into them, when first needed, so a
    // start with thirty large pages only reads their files.
    void materialize(int index) const;
    QPlainTextEdit* makeEditor(int index) const;
    void styleEditor(int index) const;
    void putText(int index, const QString& crlfText) const;
    // The editor once its text is all in.
    QPlainTextEdit* filled(int index) const;
    void applyPosition(int index) const;
    PagePosition currentPosition(int index) const;

    mutable PageStore store_;
    std::array<QWidget*, kPageCount> sheets_{};
    mutable std::array<QPlainTextEdit*, kPageCount> editors_{};
    mutable std::array<EditorFill*, kPageCount> fills_{}; // long texts go in in pieces
    mutable std::array<HeldTextBar*, kPageCount> notices_{};
    mutable int settingText_ = -1; // the editor being filled by the view itself
    struct PositionCache {
        quint64 generation = ~0ull;
        int anchor = -1, position = -1;
        PagePosition bytes;
    };
    mutable std::array<PositionCache, kPageCount> positionCache_{};
    bool wrap_ = false;
    bool restore_ = false;
    int current_ = 0;
    int shown_ = 3;
};

} // namespace vn

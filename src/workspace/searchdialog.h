#pragma once
// The text search dialog "文字列検索" and the find-next command (F3).
#include "pageaccess.h"
#include "textsearch.h"

#include <QDialog>
#include <memory>

namespace Ui {
class SearchDialog;
}

namespace vn {

// Made at the first search and kept to the end. The search text and the
// two options start from the workspace settings and are written back when
// the user confirms the dialog.
class SearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit SearchDialog(QWidget* parent = nullptr);
    ~SearchDialog() override;

    // Ctrl+F and the toolbar: asks for the text (proposing the current
    // selection, otherwise the last search text) and, when confirmed,
    // searches from the caret of the current page.
    void OpenSearch(PageAccess& pages);
    // F3: the next match; shows the not-found warning and returns false
    // when there is none.
    bool FindNext(PageAccess& pages);

    SearchState& state() { return state_; }
    const SearchState& state() const { return state_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void cmdSearchClick();

    std::unique_ptr<Ui::SearchDialog> ui;
    SearchState state_;
    QString initialText_;
};

} // namespace vn

#pragma once
// "バックアップされたメモ情報からの復元": a memo page as a backup generation
// holds it (read-only, above) and a page as it stands now (editable, below).
// The user takes back the whole saved page or parts of it, then stores the
// edited page through the program's page store. Nothing here writes into a
// generation, and no page changes without the user's say.
#include "backup/restorepages.h"

#include <QDialog>
#include <memory>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTabBar;
class QToolButton;

namespace Ui {
class RestoreWindow;
}

namespace vn {

class RestoreWindow : public QDialog {
    Q_OBJECT
public:
    explicit RestoreWindow(QWidget* parent = nullptr);
    ~RestoreWindow() override;

    // The pages the lower editor loads from and stores into (not owned).
    void setPages(RestorePages* pages) { pages_ = pages; }

    // The default captions of the upper tabs ("メモ1" .. "メモ30").
    static QString DefaultTabCaption(int page);

    enum class Tool { RestoreWhole, CopyPart, PastePart };
    void runTool(Tool tool);
    void cmdUpdateClick(); // "更新"
    void cmdCancelClick(); // "元に戻す"
    // A generation was made or pruned while the window is open: the list
    // anew, the generation shown kept when it is still there.
    void refreshGenerations();

    // The parts tests and the user look at.
    QListWidget* generationList() const;
    QTabBar* backUpTabs() const;  // TabControl1
    QTabBar* currentTabs() const; // TabControl2
    QPlainTextEdit* backUpView() const;
    QPlainTextEdit* currentEditor() const;
    QToolButton* synchroButton() const;
    QString statusPanel(int i) const;
    int shownCurrentPage() const { return shownCurrentPage_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void ShowBackUpPage();
    void ShowCurrentPage();
    void OfferToSavePage(int page);
    void backUpTabChanged(int index);
    void currentTabChanged(int index);
    void loadCurrent(int page);
    bool edited() const;

    std::unique_ptr<Ui::RestoreWindow> ui;
    std::array<QLabel*, 4> status_{};
    RestorePages* pages_ = nullptr;
    QString shownBackUpFile_;
    int shownCurrentPage_ = -1;
    QString loadedText_; // what the editor held when last loaded or stored
    bool filling_ = false;
};

} // namespace vn

#pragma once
// The balloon-hint list "バルーンヒント一覧": shows and edits the program's
// one set of balloon hints (owned by the application and asked by the minute
// check), so every change counts at once; BalloonHint.dat is rewritten when
// the window closes.
#include "schedule/balloonhints.h"
#include "widgets/listwindow.h"

#include <array>
#include <memory>

#include <functional>

class QTimer;
class QToolButton;

namespace vn {

class BalloonHintEditor;

class BalloonHintListWindow : public ListWindow {
    Q_OBJECT
public:
    enum class Command { Add, Change, Delete, SortAscending, SortDescending, Close, Count };
    enum Column { Shown, TimeText, Message, Hour, Minute, Key, ColumnCount };

    explicit BalloonHintListWindow(QWidget* parent = nullptr);

    // The hints shown and edited: the program's one set. A window given
    // none keeps an empty set of its own.
    void setStore(BalloonHintStore* store) { store_ = store; }
    BalloonHintStore* store() const { return store_; }
    void setEditor(BalloonHintEditor* editor)
    {
        editor_ = [editor] { return editor; };
    }
    // The editor made when first needed.
    void setEditor(std::function<BalloonHintEditor*()> editor) { editor_ = std::move(editor); }
    // The past-schedule colour the whole program shares (0x00BBGGRR).
    void setPastColour(int* shared) { pastColour_ = shared ? shared : &ownPastColour_; }

    QToolButton* button(Command c) const { return buttons_[size_t(c)]; }

    // Shows the store's rows (also when the window is shown).
    void showRows();
    BalloonHintRow rowAt(int row) const;

    void ToolButton1Click(); // a new hint
    void ToolButton2Click(); // change the current one
    void ToolButton3Click(); // delete the current one

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void saveRows() override;
    void takeInOutsideChange() override;
    QStringList savedLines() const override;

private:
    static QVariantList cellsOf(const BalloonHintRow& r);
    // The grid's rows, in their order, become the store's.
    void syncStore();
    void storeRow(int row, const BalloonHintRow& hint);

    BalloonHintStore& hints();

    std::unique_ptr<BalloonHintStore> ownStore_;
    BalloonHintStore* store_ = nullptr;
    std::function<BalloonHintEditor*()> editor_;
    int ownPastColour_;
    int* pastColour_ = &ownPastColour_;
    std::array<QToolButton*, size_t(Command::Count)> buttons_{};
    QTimer* redrawTimer_ = nullptr;
};

} // namespace vn

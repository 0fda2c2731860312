#pragma once
// The balloon-hint editor "バルーンヒントの新規登録" / "バルーンヒントの修正":
// one daily message, opened by the balloon-hint list for a row or a new hint.
#include "schedule/balloonhints.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class BalloonHintEditor;
}

namespace vn {

class BalloonHintEditor : public QDialog {
    Q_OBJECT
public:
    explicit BalloonHintEditor(QWidget* parent = nullptr);
    ~BalloonHintEditor() override;

    // Receives the hint to store and its row (-1: a new row at the end).
    using Store = std::function<void(int row, const BalloonHintRow& hint)>;
    // Opens modally for the row (-1: a new hint at the current time) and
    // stores through store; the dialog's result.
    int EditRow(int row, const BalloonHintRow& hint, Store store);

    const Ui::BalloonHintEditor& form() const { return *ui; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void cmdAddClick();

    std::unique_ptr<Ui::BalloonHintEditor> ui;
    int row_ = -1;
    BalloonHintRow hint_;
    Store store_;
};

} // namespace vn

#pragma once
// The holiday editor "新規休日の登録" / "休日の修正": one entry of the
// holiday list, opened by the list for a row or for a new entry.
#include "calendar/holidaylistfile.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class HolidayEditor;
}

namespace vn {

class HolidayEditor : public QDialog {
    Q_OBJECT
public:
    explicit HolidayEditor(QWidget* parent = nullptr);
    ~HolidayEditor() override;

    // Receives the entry to store and the row it goes to (-1: a new row).
    using Store = std::function<void(int row, const cal::HolidayEntry& entry)>;
    // Opens modally for the row (-1: a new entry, with today's month, day
    // and year) and stores through store; the dialog's result.
    int EditRow(int row, const cal::HolidayEntry& entry, Store store);

    // The controls, for the list and for tests.
    const Ui::HolidayEditor& form() const { return *ui; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void cmdAddClick();
    void cmdNewClick();

    std::unique_ptr<Ui::HolidayEditor> ui;
    int row_ = -1;
    cal::HolidayEntry entry_;
    Store store_;
};

} // namespace vn

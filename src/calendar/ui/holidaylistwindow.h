#pragma once
// The holiday list "休日一覧": the user's holidays of Holiday.dat, read when
// the window opens and written, sorted as shown, when it closes.
#include "calendar/holidaylistfile.h"
#include "widgets/listwindow.h"

#include <functional>

class QToolButton;

namespace vn {

class HolidayEditor;

class HolidayListWindow : public ListWindow {
    Q_OBJECT
public:
    enum class Command { Add, Change, Delete, SortAscending, SortDescending, Close };
    enum Column { MonthDay, FirstYear, LastYear, Name, Month, Day, Rest, ColumnCount };

    explicit HolidayListWindow(QWidget* parent = nullptr);

    // The editor the list opens for its rows.
    void setEditor(HolidayEditor* editor)
    {
        editor_ = [editor] { return editor; };
    }
    // The editor made when first needed.
    void setEditor(std::function<HolidayEditor*()> editor) { editor_ = std::move(editor); }
    QToolButton* button(Command c) const { return buttons_[size_t(c)]; }

    // Fills the rows from Holiday.dat (also when the window is shown).
    void LoadHolidayList();
    // Writes the rows to Holiday.dat (also when the window closes).
    void SaveHolidayList();

    void ToolButton1Click(); // add
    void ToolButton2Click(); // change the current row
    void ToolButton3Click(); // delete the current row

    cal::HolidayEntry entryAt(int row) const;

protected:
    void showEvent(QShowEvent* event) override;
    void saveRows() override;
    void takeInOutsideChange() override;
    QStringList savedLines() const override;

private:
    void storeRow(int row, const cal::HolidayEntry& entry);
    QVariantList cellsOf(const cal::HolidayEntry& e) const;

    std::function<HolidayEditor*()> editor_;
    std::array<QToolButton*, 6> buttons_{};
    RecordFile file_;
    bool loaded_ = false;
};

} // namespace vn

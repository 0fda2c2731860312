#include "holidaylistwindow.h"

#include "foundation/paths.h"
#include "holidayeditor.h"
#include "widgets/errorbox.h"
#include "widgets/loadreportbox.h"
#include "widgets/uiprompts.h"

#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace vn {

HolidayListWindow::HolidayListWindow(QWidget* parent)
    : ListWindow(parent, "TfrmHolidayList", QStringLiteral("休日一覧"), {480, 360})
{
    grid()->setColumns({
        {QStringLiteral("月日"), 60, Qt::AlignHCenter, CellKind::Text},
        {QStringLiteral("開始年"), 60, Qt::AlignHCenter, CellKind::Number},
        {QStringLiteral("最終年"), 60, Qt::AlignHCenter, CellKind::Number},
        {QStringLiteral("休日名称"), 220, Qt::AlignLeft, CellKind::Text},
        {QStringLiteral("月"), 40, Qt::AlignRight, CellKind::Hidden},
        {QStringLiteral("日"), 40, Qt::AlignRight, CellKind::Hidden},
        {QStringLiteral("残り"), 40, Qt::AlignLeft, CellKind::Hidden}, // fields after the name
    });
    const std::vector<QToolButton*> made = addToolCommands({
        {"ToolButton1", u"追加", u"新規休日の追加...", [this] { ToolButton1Click(); }},
        {"ToolButton2", u"修正", u"カレント休日の修正...", [this] { ToolButton2Click(); }},
        {"ToolButton3", u"削除", u"カレント休日の削除", [this] { ToolButton3Click(); }},
        {"ToolButton6", u"昇順", u"昇順ソート(月日)",
         [this] { grid()->sortRows(MonthDay, Qt::AscendingOrder); }, true},
        {"ToolButton5", u"降順", u"降順ソート(月日)",
         [this] { grid()->sortRows(MonthDay, Qt::DescendingOrder); }},
        {"ToolButton8", u"閉じる", u"閉じる", [this] { close(); }, true},
    });
    std::copy(made.begin(), made.end(), buttons_.begin()); // in Command order
    connect(grid(), &ListGrid::rowDoubleClicked, this,
            [this] { Guarded([this] { ToolButton2Click(); }, this); });
}

QVariantList HolidayListWindow::cellsOf(const cal::HolidayEntry& e) const
{
    return {cal::HolidayMonthDayText(e.month, e.day),
            e.firstYear,
            e.lastYear,
            e.name,
            e.month,
            e.day,
            e.rest};
}

cal::HolidayEntry HolidayListWindow::entryAt(int row) const
{
    cal::HolidayEntry e;
    e.month = int(grid()->number(row, Month));
    e.day = int(grid()->number(row, Day));
    e.firstYear = int(grid()->number(row, FirstYear));
    e.lastYear = int(grid()->number(row, LastYear));
    e.name = grid()->text(row, Name);
    e.rest = grid()->text(row, Rest);
    return e;
}

void HolidayListWindow::LoadHolidayList()
{
    loaded_ = false;
    grid()->clearRows();
    cal::HolidayRows read = cal::ReadHolidayRows(HolidayPath());
    file_ = std::move(read.file);
    std::vector<QVariantList> rows;
    rows.reserve(read.rows.size());
    for (const cal::HolidayEntry& e : read.rows)
        rows.push_back(cellsOf(e));
    grid()->setRows(std::move(rows));
    grid()->widenColumnsToContents();
    loaded_ = true;
    if (grid()->rowCount() > 0) {
        grid()->setCurrentRow(0);
        grid()->sortRows(MonthDay, Qt::AscendingOrder);
    }
    if (NoteLoadReport(read.report)) {
        const QString message = read.report.message();
        QTimer::singleShot(0, this, [this, message] { ShowErrorBox(message, this); });
    }
}

void HolidayListWindow::SaveHolidayList()
{
    std::vector<cal::HolidayEntry> rows;
    rows.reserve(size_t(grid()->rowCount()));
    for (int r = 0; r < grid()->rowCount(); ++r)
        rows.push_back(entryAt(r));
    const QString path = HolidayPath();
    cal::WriteHolidayRows(path, file_, rows, [&path](const QString& target) {
        return AskWriteThroughLink(path, target);
    });
}

QStringList HolidayListWindow::savedLines() const
{
    QStringList lines;
    for (int r = 0; r < grid()->rowCount(); ++r)
        lines.append(cal::ComposeHolidayLine(entryAt(r)));
    return file_.merged(lines);
}

void HolidayListWindow::showEvent(QShowEvent* event)
{
    ListWindow::showEvent(event);
    if (unsaved())
        return; // the rows the last close could not write, not the file
    if (!Guarded([this] { LoadHolidayList(); }, this))
        QTimer::singleShot(0, this, [this] { close(); }); // nothing read, nothing to write
}

void HolidayListWindow::takeInOutsideChange()
{
    if (!loaded_ || !changedOnlyOutside(file_, [this] {
            QStringList lines;
            for (int r = 0; r < grid()->rowCount(); ++r)
                lines.append(cal::ComposeHolidayLine(entryAt(r)));
            return lines;
        }))
        return;
    const int current = grid()->currentRow();
    LoadHolidayList();
    if (grid()->rowCount() > 0)
        grid()->setCurrentRow(qBound(0, current, grid()->rowCount() - 1));
}

void HolidayListWindow::saveRows()
{
    if (loaded_)
        SaveHolidayList();
}

void HolidayListWindow::storeRow(int row, const cal::HolidayEntry& entry)
{
    if (row < 0)
        row = grid()->addRow();
    grid()->setRowCells(row, cellsOf(entry));
    grid()->setCurrentRow(row);
}

void HolidayListWindow::ToolButton1Click()
{
    if (editor_)
        editor_()->EditRow(-1, {},
                           [this](int row, const cal::HolidayEntry& e) { storeRow(row, e); });
}

void HolidayListWindow::ToolButton2Click()
{
    const int row = editableRow();
    if (row < 0 || !editor_)
        return;
    editor_()->EditRow(row, entryAt(row),
                       [this](int r, const cal::HolidayEntry& e) { storeRow(r, e); });
}

void HolidayListWindow::ToolButton3Click()
{
    DeleteCurrentRow([this](int row) {
        return QStringLiteral("削除します？\r\n\r\n月日　　 = [%1]\r\n休日名称 = [%2]")
            .arg(grid()->text(row, MonthDay), grid()->text(row, Name));
    });
}

} // namespace vn

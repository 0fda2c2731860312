#include "schedulelistwindow.h"

#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "schedule/schedulelistfile.h"
#include "scheduleeditor.h"
#include "widgets/colorref.h"
#include "widgets/errorbox.h"
#include "widgets/loadreportbox.h"
#include "widgets/uiprompts.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cstdio>

namespace vn {

namespace {

const QString kDayPattern = QStringLiteral("yyyy/mm/dd(aaa)");

DateTime dateOf(int y, int m, int d)
{
    DateTime v = 0;
    TryEncodeDate(y, m, d, &v);
    return v;
}

} // namespace

ScheduleListWindow::ScheduleListWindow(QWidget* parent)
    : ListWindow(parent, "TfrmScheduleList", QStringLiteral("予定一覧"), {760, 420}),
      ownPastColour_(ReadSettingInt(REG_ScheduleOldColor))
{
    const auto hidden = [](const char* caption) {
        return GridColumn(QString::fromUtf8(caption), 40, Qt::AlignLeft, CellKind::Hidden);
    };
    grid()->setColumns({
        {QStringLiteral("本日から"), 60, Qt::AlignRight},
        hidden("年月日"),
        {QStringLiteral("直近の予定日時"), 120},
        hidden("時"),
        hidden("分"),
        {QStringLiteral("警告(分)"), 60, Qt::AlignHCenter, CellKind::Number, Qt::blue},
        {QStringLiteral("繰返し"), 50, Qt::AlignHCenter, CellKind::Check},
        {QStringLiteral("間隔"), 60, Qt::AlignHCenter},
        {QStringLiteral("最終日"), 90},
        {QStringLiteral("内容"), 220},
        {QStringLiteral("開く"), 40, Qt::AlignHCenter, CellKind::Check, Qt::blue},
        {QStringLiteral("URL"), 200},
        hidden("yyyymmddhhnn"),
        hidden("Loop"),
        hidden("Kind"),
        hidden("LastYYYY"),
        hidden("LastMM"),
        hidden("LastDD"),
        hidden("Offset"),
        hidden("新規登録位置"),
        hidden("終日"),
    });
    // Schedules whose last day is past.
    grid()->setRowColour([this](int row) {
        const ListGrid* g = grid();
        const DateTime last = dateOf(int(g->number(row, LastYear)), int(g->number(row, LastMonth)),
                                     int(g->number(row, LastDay)));
        return last < Today() ? ToQColor(*pastColour_) : QColor();
    });

    const std::vector<QToolButton*> made = addToolCommands({
        {"ToolButton1", u"追加", u"新規予定の追加...", [this] { ToolButton1Click(); }},
        {"ToolButton2", u"修正", u"カレント予定の修正...", [this] { ToolButton2Click(); }},
        {"ToolButton3", u"削除", u"カレント予定の削除", [this] { ToolButton3Click(); }},
        {"ToolButton6", u"昇順", u"昇順ソート(直近の予定日時が古い順)",
         [this] { grid()->sortRows(Offset, Qt::AscendingOrder); }, true},
        {"ToolButton5", u"降順", u"降順ソート(直近の予定日時が新しい順)",
         [this] { grid()->sortRows(Offset, Qt::DescendingOrder); }},
        {"cmdExportIcal", u"iCalendar形式で書き出し...",
         u"予定をiCalendar形式のファイルに書き出します", [this] { ExportIcalClick(); }, true},
        {"cmdImportIcal", u"iCalendarから読み込み...", u"iCalendar形式のファイルの予定を追加します",
         [this] { ImportIcalClick(); }},
        {"ToolButton8", u"閉じる", u"閉じる", [this] { close(); }, true},
    });
    std::copy(made.begin(), made.end(), buttons_.begin()); // in Command order
    connect(grid(), &ListGrid::rowDoubleClicked, this,
            [this] { Guarded([this] { ToolButton2Click(); }, this); });

    pastColourAction_ = popupMenu()->addAction(QStringLiteral("過去予定の表示色(&C)..."));
    pastColourAction_->setObjectName(QStringLiteral("C1"));
    connect(pastColourAction_, &QAction::triggered, this,
            [this] { Guarded([this] { C1Click(); }, this); });
}

QVariantList ScheduleListWindow::cellsOf(const ScheduleFields& f, int position,
                                         DateTime today) const
{
    const DateTime nearest = NearestOccurrence(f, today, holidays_);
    const long k = DayOf(nearest) - DayOf(today);
    QString fromToday;
    if (k < 0)
        fromToday = QString::number(-k) + QStringLiteral("日前");
    else if (k == 0)
        fromToday = QStringLiteral("本日");
    else
        fromToday = QString::number(k) + QStringLiteral("日後");
    const QString nearestText =
        f.allDay ? RenderDateTime(kDayPattern, nearest) + QStringLiteral(" 終日")
                 : RenderDateTime(QStringLiteral("yyyy/mm/dd(aaa) hh:nn"), nearest);
    const bool repeats = f.repeat == 1;
    QVariantList cells(ColumnCount);
    cells[FromToday] = fromToday;
    cells[StartDay] = dateOf(f.year, f.month, f.day) + EncodeTime(f.hour, f.minute);
    cells[Nearest] = nearestText;
    cells[Hour] = f.hour;
    cells[Minute] = f.minute;
    cells[Alarm] = f.alarm;
    cells[Repeats] = repeats;
    cells[Interval] = repeats ? KindLabel(f.kind) : QString();
    cells[LastDayText] =
        repeats ? RenderDateTime(kDayPattern, dateOf(f.lastYear, f.lastMonth, f.lastDay))
                : QString();
    cells[Text] = f.text;
    cells[OpensUrl] = f.urlFlag != 0;
    cells[Url] = f.url;
    char key[64];
    const int n = std::snprintf(key, sizeof key, "%.4d%.2d%.2d%.2d%.2d", f.year, f.month, f.day,
                                f.hour, f.minute);
    cells[StartKey] = QString::fromLatin1(key, qMin(n, int(sizeof key) - 1));
    cells[Loop] = f.repeat;
    cells[Kind] = f.kind;
    cells[LastYear] = f.lastYear;
    cells[LastMonth] = f.lastMonth;
    cells[LastDay] = f.lastDay;
    cells[Offset] = qint64(k);
    cells[StoredPosition] = position;
    cells[AllDay] = f.allDay ? 1 : 0;
    return cells;
}

ScheduleFields ScheduleListWindow::fieldsAt(int row) const
{
    const ListGrid* g = grid();
    ScheduleFields f;
    const YMD start = DecodeDate(g->cell(row, StartDay).toDouble());
    f.year = start.year, f.month = start.month, f.day = start.day;
    f.hour = int(g->number(row, Hour));
    f.minute = int(g->number(row, Minute));
    f.alarm = int(g->number(row, Alarm));
    f.urlFlag = g->checked(row, OpensUrl) ? 1 : 0;
    f.repeat = int(g->number(row, Loop));
    f.kind = int(g->number(row, Kind));
    f.allDay = g->number(row, AllDay) != 0;
    f.lastYear = int(g->number(row, LastYear));
    f.lastMonth = int(g->number(row, LastMonth));
    f.lastDay = int(g->number(row, LastDay));
    f.text = g->text(row, Text);
    f.url = g->text(row, Url);
    return f;
}

void ScheduleListWindow::LoadScheduleList()
{
    loaded_ = false;
    grid()->clearRows();
    ScheduleRows read = ReadScheduleRows(SchedulePath());
    file_ = std::move(read.file);
    const DateTime today = Today();
    std::vector<QVariantList> rows;
    rows.reserve(read.rows.size());
    for (const ScheduleFields& f : read.rows)
        rows.push_back(cellsOf(f, int(rows.size()), today));
    grid()->setRows(std::move(rows));
    grid()->widenColumnsToContents();
    loaded_ = true;
    if (grid()->rowCount() > 0) {
        grid()->setCurrentRow(0);
        grid()->sortRows(Offset, Qt::DescendingOrder);
    }
    if (NoteLoadReport(read.report)) {
        const QString message = read.report.message();
        QTimer::singleShot(0, this, [this, message] { ShowErrorBox(message, this); });
    }
}

void ScheduleListWindow::SaveScheduleList()
{
    std::vector<ScheduleFields> rows;
    rows.reserve(size_t(grid()->rowCount()));
    for (int r = 0; r < grid()->rowCount(); ++r)
        rows.push_back(fieldsAt(r));
    const QString path = SchedulePath();
    WriteScheduleRows(path, file_, rows,
                      [&path](const QString& target) { return AskWriteThroughLink(path, target); });
}

QStringList ScheduleListWindow::savedLines() const
{
    QStringList lines;
    for (int r = 0; r < grid()->rowCount(); ++r)
        lines.append(ComposeScheduleLine(fieldsAt(r)));
    return file_.merged(lines);
}

void ScheduleListWindow::StoreScheduleRow(bool select, int position, const ScheduleFields& fields)
{
    if (position < 0 || position >= grid()->rowCount())
        position = grid()->addRow();
    grid()->setRowCells(position, cellsOf(fields, position, Today()));
    if (select)
        grid()->setCurrentRow(position);
}

void ScheduleListWindow::showEvent(QShowEvent* event)
{
    ListWindow::showEvent(event);
    if (unsaved())
        return; // the rows the last close could not write, not the file
    if (!Guarded([this] { LoadScheduleList(); }, this))
        QTimer::singleShot(0, this, [this] { close(); }); // nothing read, nothing to write
}

void ScheduleListWindow::takeInOutsideChange()
{
    if (!loaded_ || !changedOnlyOutside(file_, [this] {
            QStringList lines;
            for (int r = 0; r < grid()->rowCount(); ++r)
                lines.append(ComposeScheduleLine(fieldsAt(r)));
            return lines;
        }))
        return;
    const int current = grid()->currentRow();
    LoadScheduleList();
    if (grid()->rowCount() > 0)
        grid()->setCurrentRow(qBound(0, current, grid()->rowCount() - 1));
}

void ScheduleListWindow::saveRows()
{
    if (loaded_)
        SaveScheduleList();
}

void ScheduleListWindow::ToolButton1Click()
{
    if (editor_)
        editor_()->NewScheduleFromList([this](bool select, int position, const ScheduleFields& f) {
            StoreScheduleRow(select, position, f);
        });
}

void ScheduleListWindow::ToolButton2Click()
{
    const int row = editableRow();
    if (row < 0 || !editor_)
        return;
    editor_()->EditScheduleFromList(row, fieldsAt(row),
                                    [this](bool select, int position, const ScheduleFields& f) {
                                        StoreScheduleRow(select, position, f);
                                    });
}

void ScheduleListWindow::ToolButton3Click()
{
    DeleteCurrentRow([this](int row) {
        const DateTime start = grid()->cell(row, StartDay).toDouble();
        return QStringLiteral("削除します？\r\n\r\n予定日時 = [%1]\r\n内容　　 = [%2]")
            .arg(RenderDateTime(QStringLiteral("yyyy/mm/dd hh:nn"), start),
                 grid()->text(row, Text));
    });
}

void ScheduleListWindow::C1Click()
{
    const std::optional<QColor> c = Prompts().chooseColour(ToQColor(*pastColour_));
    if (!c)
        return;
    *pastColour_ = ToColorRef(*c);
    WriteSettingInt(REG_ScheduleOldColor, *pastColour_);
    grid()->redraw();
}

} // namespace vn

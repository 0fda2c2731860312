#include "daydetails.h"

#include "calendar/ui/calendarview.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "widgets/colorref.h"
#include "widgets/statuspanels.h"
#include "workspacesettings.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>

namespace vn {

DayDetailTexts ComposeDayDetails(CalendarView& view, const QString& datePattern)
{
    DayDetailTexts t;
    const QString pattern = datePattern.isEmpty() ? QStringLiteral("yyyy/mm/dd(aaa)") : datePattern;
    view.SetSpanFormat(pattern);
    const DateTime d = view.GetDate();
    const cal::DateSummary summary = view.DateSummary();
    t.panels[0] = summary.dateText;
    t.panels[1] = summary.relativeText;
    t.panels[2] = view.RokuyouText(d);
    t.rokuyouPanelWidth = view.Flag(CalFlag::Rokuyou) ? 40 : 60;
    const QString dateLine = RenderDateTime(pattern, d);
    const QString holiday = view.HolidayName(d);
    if (!holiday.isEmpty()) {
        t.lines.append(dateLine + QStringLiteral("　●") + holiday);
        t.panels[3] = holiday;
    }
    t.past = DayOf(d) < DayOf(Now());
    const YMD ymd = DecodeDate(d);
    const int count = view.ScheduleCountOn(ymd.year, ymd.month, ymd.day);
    if (count > 0) {
        if (holiday.isEmpty())
            t.lines.append(dateLine);
        t.lines.append(QStringLiteral("---[予定数=%1]---").arg(count));
        t.lines += view.ScheduleTextOn(ymd.year, ymd.month, ymd.day).split(QStringLiteral("\r\n"));
        t.panels[4] = QStringLiteral("予定数=%1").arg(count);
    }
    t.lines.removeAll(QString());
    return t;
}

DayDetails::DayDetails(CalendarView* view, StatusPanels* status, QWidget* pane,
                       QPlainTextEdit* memo, QToolButton* detailsButton)
    : view_(view), status_(status), pane_(pane), memo_(memo), button_(detailsButton)
{
}

void DayDetails::clearDatePanels()
{
    for (int i = 0; i < 3; ++i)
        status_->panel(i)->clear();
}

void DayDetails::ShowSelectedDayDetails()
{
    const DayDetailTexts t = ComposeDayDetails(*view_, Workspace().dateFormat);
    for (int i = 0; i < 5; ++i)
        status_->panel(i)->setText(t.panels[size_t(i)]);
    status_->setPanelWidth(2, t.rokuyouPanelWidth);
    QPalette pal = memo_->palette();
    pal.setColor(QPalette::Text,
                 t.past ? ToQColor(Workspace().pastScheduleColor) : QColor(Qt::black));
    memo_->setPalette(pal);
    memo_->setPlainText(t.lines.join(u'\n'));
    // Hidden with the calendar, as when the button is up or nothing is to show.
    const bool calendarShown = view_->isVisibleTo(view_->window());
    if (!button_->isChecked() || t.lines.isEmpty() || !calendarShown) {
        pane_->hide();
        return;
    }
    pane_->show();
    QTextCursor c = memo_->textCursor();
    c.movePosition(QTextCursor::Start);
    memo_->setTextCursor(c);
    memo_->verticalScrollBar()->setValue(0);
}

} // namespace vn

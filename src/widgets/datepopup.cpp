#include "datepopup.h"

#include <QBoxLayout>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QLibraryInfo>
#include <QSpinBox>
#include <QTextCharFormat>
#include <QToolButton>
#include <QTranslator>

namespace vn {

namespace {

QLocale japanese()
{
    return QLocale(QLocale::Japanese, QLocale::Japan);
}

QTextCharFormat coloured(const QColor& color)
{
    QTextCharFormat format;
    format.setForeground(color);
    return format;
}

// Qt's title reads "2月 2026"; a Japanese one reads "2026年 2月".
void putYearFirst(QCalendarWidget* calendar)
{
    auto* bar = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    auto* year = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    auto* yearEdit = calendar->findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"));
    auto* layout = bar ? qobject_cast<QBoxLayout*>(bar->layout()) : nullptr;
    if (!layout || !month || !year || !yearEdit)
        return; // another Qt's calendar: left as it is
    layout->removeWidget(year);
    layout->removeWidget(yearEdit);
    const int at = layout->indexOf(month);
    layout->insertWidget(at, yearEdit);
    layout->insertWidget(at, year);
    yearEdit->setSuffix(QStringLiteral("年"));
}

void showYearWithSuffix(QCalendarWidget* calendar)
{
    auto* year = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    if (year)
        year->setText(QString::number(calendar->yearShown()) + u'年');
}

} // namespace

DatePopup::DatePopup(QDateEdit* field) : QObject(field), field_(field)
{
    field->installEventFilter(this);
}

void DatePopup::setDays(const CalendarDays* days)
{
    days_ = days;
    if (calendar_)
        markShownMonth();
}

QCalendarWidget* DatePopup::calendar()
{
    if (!calendar_)
        setUp(field_->calendarWidget());
    return calendar_;
}

bool DatePopup::eventFilter(QObject* watched, QEvent* event)
{
    // The field makes its calendar on the press or key that opens it; this
    // sees the event first and has the calendar made and set up.
    if (watched == field_ && !calendar_ &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        calendar();
    else if (watched == calendar_ && event->type() == QEvent::Show)
        markShownMonth();
    return QObject::eventFilter(watched, event);
}

void DatePopup::setUp(QCalendarWidget* calendar)
{
    if (!calendar)
        return; // the field has no drop-down calendar
    calendar_ = calendar;
    calendar->setLocale(japanese());
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    putYearFirst(calendar);
    calendar->installEventFilter(this);
    connect(calendar, &QCalendarWidget::currentPageChanged, this, [this] { markShownMonth(); });
    markShownMonth();
}

void DatePopup::markShownMonth()
{
    const DayColors colors = days_ ? days_->colors() : DayColors{};
    calendar_->setWeekdayTextFormat(Qt::Sunday, coloured(colors.sunday));
    calendar_->setWeekdayTextFormat(Qt::Saturday, coloured(colors.saturday));
    calendar_->setDateTextFormat(QDate(), QTextCharFormat()); // the last month's marks go
    if (days_) {
        const QDate first(calendar_->yearShown(), calendar_->monthShown(), 1);
        for (QDate d = first; d.month() == first.month(); d = d.addDays(1)) {
            const QString name = days_->holidayName(d);
            if (name.isEmpty())
                continue;
            QTextCharFormat format = coloured(colors.holiday);
            format.setToolTip(name);
            calendar_->setDateTextFormat(d, format);
        }
    }
    showYearWithSuffix(calendar_);
}

void UseJapaneseLocale()
{
    QLocale::setDefault(japanese());
    auto* qtJapanese = new QTranslator(QCoreApplication::instance());
    if (qtJapanese->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtJapanese);
}

} // namespace vn

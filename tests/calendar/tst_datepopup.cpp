// The drop-down calendar of a date field: the day numbers of February 2026
// coloured and named as the main calendar's view has them (a national
// holiday, the user's own holidays, Saturdays, Sundays), and the pop-up
// opened from the field on a system without a Japanese locale: Japanese
// names, the year first, weeks from Sunday, Qt's own texts in Japanese.
#include "calendar/ui/calendarview.h"
#include "calendar/ui/calendarviewdays.h"
#include "windowshot.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace vn;

namespace {

constexpr quint32 kHoliday = 0x008000; // green: unlike the Sunday red
const QColor kRed(Qt::red), kBlue(Qt::blue), kGreen(0, 0x80, 0);

QAbstractItemModel* grid(QCalendarWidget* calendar)
{
    return calendar->findChild<QTableView*>()->model();
}

// The cell of a day of the shown month: the month's "1" is the first cell
// reading "1" (the days of the month before end above 20).
QModelIndex cellOf(QCalendarWidget* calendar, int day)
{
    QAbstractItemModel* m = grid(calendar);
    const int columns = m->columnCount();
    for (int i = columns; i < m->rowCount() * columns; ++i)
        if (m->index(i / columns, i % columns).data().toString() == QLatin1String("1")) {
            const int at = i + day - 1;
            return m->index(at / columns, at % columns);
        }
    return {};
}

QColor colorOf(const QModelIndex& cell)
{
    const QVariant v = cell.data(Qt::ForegroundRole);
    return v.canConvert<QBrush>() ? v.value<QBrush>().color() : v.value<QColor>();
}

QToolButton* navButton(QCalendarWidget* calendar, const char* name)
{
    return calendar->findChild<QToolButton*>(QLatin1String(name));
}

} // namespace

class TstDatePopup : public QObject {
    Q_OBJECT
private slots:
    void dayFormats_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("tip");
        QTest::newRow("national holiday (Wednesday)") << 11 << kGreen << "建国記念の日";
        QTest::newRow("national holiday (Monday)") << 23 << kGreen << "天皇誕生日";
        QTest::newRow("the user's holiday (Friday)") << 20 << kGreen << "創立記念日";
        QTest::newRow("the user's holiday on a Saturday") << 14 << kGreen << "私の休み";
        QTest::newRow("Saturday") << 7 << kBlue << "";
        QTest::newRow("Sunday") << 8 << kRed << "";
        QTest::newRow("weekday") << 10 << QColor(Qt::black) << "";
    }
    void dayFormats()
    {
        QFETCH(int, day);
        QFETCH(QColor, color);
        QFETCH(QString, tip);
        CalendarView view;
        view.core().holidays().Rebuild(
            {"0220,2026,2026,創立記念日", "0214,2026,2026,私の休み", "0221,2025,2025,去年だけ"});
        view.SetColor(CalColor::Holiday, kHoliday);
        CalendarViewDays days(&view);
        QDateEdit field(QDate(2026, 1, 15));
        field.setCalendarPopup(true);
        auto* popup = new DatePopup(&field);
        popup->setDays(&days);
        QCalendarWidget* calendar = popup->calendar();
        calendar->setCurrentPage(2026, 2); // marked when shown
        const QModelIndex cell = cellOf(calendar, day);
        QCOMPARE(cell.data().toString(), QString::number(day));
        QCOMPARE(colorOf(cell), color);
        QCOMPARE(cell.data(Qt::ToolTipRole).toString(), tip);
    }

    // Last: the program's locale stays for the rest of the process.
    void japaneseWithoutAJapaneseSystemLocale()
    {
        QVERIFY2(QLocale::system().language() != QLocale::Japanese, "needs LC_ALL=C.UTF-8");
        UseJapaneseLocale();
        QDateEdit field(QDate(2026, 2, 11));
        field.setCalendarPopup(true);
        new DatePopup(&field);
        field.resize(140, 24);
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        QCOMPARE(field.text(), QStringLiteral("2026/02/11"));
        QVERIFY(!field.findChild<QCalendarWidget*>()); // made by the first press, not before
        QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(field.width() - 6, 12));
        QCalendarWidget* calendar = field.calendarWidget();
        QTRY_VERIFY(calendar->isVisible());
        // The weekday row: Sunday first, in the main calendar's weekend colours.
        QCOMPARE(calendar->firstDayOfWeek(), Qt::Sunday);
        const QModelIndex sunday = grid(calendar)->index(0, 0),
                          saturday = sunday.siblingAtColumn(6);
        QCOMPARE(sunday.data().toString(), QStringLiteral("日"));
        QCOMPARE(sunday.siblingAtColumn(1).data().toString(), QStringLiteral("月"));
        QCOMPARE(saturday.data().toString(), QStringLiteral("土"));
        QCOMPARE(colorOf(sunday), kRed);
        QCOMPARE(colorOf(saturday), kBlue);
        QToolButton* year = navButton(calendar, "qt_calendar_yearbutton");
        QToolButton* month = navButton(calendar, "qt_calendar_monthbutton");
        QCOMPARE(year->text(), QStringLiteral("2026年"));
        QCOMPARE(month->text(), QStringLiteral("2月"));
        QVERIFY(year->x() < month->x());
        test::SaveWindowShot(calendar->window(), "datepopup");
        calendar->setCurrentPage(2027, 3); // the title follows the page
        QCOMPARE(year->text(), QStringLiteral("2027年"));
        QCOMPARE(month->text(), QStringLiteral("3月"));
        // Qt's own texts come from its Japanese translation.
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    }
};

QTEST_MAIN(TstDatePopup)
#include "tst_datepopup.moc"

// The calendar view on screen: what each day of May 2026 looks like (holidays
// with a substitute holiday, weekends, selection, today, schedules, diary,
// past days, trailing days), the list mode's overflow, the week-number
// column, the hover hint and the day texts.
#include "calendar/calendardates.h"
#include "calendar/ui/calendarview.h"
#include "fakeclock.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"

#include <QPlainTextEdit>
#include <QtTest>

using namespace vn;

namespace {

constexpr quint32 kHoliday = 0xFF00FF; // magenta: unlike the Sunday red
constexpr quint32 kSchedule = 0x800080;
constexpr quint32 kDiary = 0x8000FF;
constexpr quint32 kMark = 0x008080;
constexpr quint32 kWeekNo = 0x0080FF;

QColor rgb(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

bool near(QRgb a, const QColor& b, int tol)
{
    return std::abs(qRed(a) - b.red()) <= tol && std::abs(qGreen(a) - b.green()) <= tol &&
           std::abs(qBlue(a) - b.blue()) <= tol;
}

int countNear(const QImage& img, const QRect& r, const QColor& c, int tol = 24)
{
    int n = 0;
    const QRect clipped = r.intersected(img.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            n += near(img.pixel(x, y), c, tol);
    return n;
}

DateTime day(int y, int m, int d)
{
    return cal::AnchorDate(y, m, d);
}

void addSchedule(ScheduleStore& s, int y, int m, int d, int hour, const QString& text)
{
    ScheduleFields f;
    f.year = f.lastYear = y;
    f.month = f.lastMonth = m;
    f.day = f.lastDay = d;
    f.hour = hour;
    f.text = text;
    s.ExpandOccurrences(f);
}

} // namespace

class TestCalendarView : public QObject {
    Q_OBJECT

    test::FakeClock* clock_ = nullptr;
    test::TempDataFolder* data_ = nullptr;
    CalendarView* view_ = nullptr;

    // The rectangle of a day in the first block (its own month's cell).
    QRect cell(int y, int m, int d, bool trailing = false)
    {
        for (const cal::MonthBlock& b : view_->core().model().Layout().blocks)
            for (const cal::DayCell& c : b.cells)
                if (c.ymd == YMD{y, m, d} && c.trailing == trailing)
                    return QRect(c.rect.left, c.rect.top, c.rect.right - c.rect.left,
                                 c.rect.bottom - c.rect.top);
        return {};
    }
    // Inside the frame, left of the day number: where the fills show.
    static QPoint fillSpot(const QRect& c) { return {c.left() + 2, c.top() + 3}; }
    static QPoint barSpot(const QRect& c) { return {c.right() + 1 - 1 - 3, c.top() + 1 + 3}; }
    static QPoint diarySpot(const QRect& c) { return {c.right() + 1 - 1 - 3, c.bottom() + 1 - 4}; }
    // Pixel (12, 1) of the check mark, above the day number.
    static QPoint markSpot(const QRect& c) { return {c.left() + 1 + 3 + 12, c.top() + 1 + 1}; }
    static QRect textArea(const QRect& c) { return c.adjusted(2, 2, -5, -2); }

private slots:
    void init()
    {
        clock_ = new test::FakeClock(EncodeDate(2026, 5, 20) + EncodeTime(12, 0));
        data_ = new test::TempDataFolder;
        view_ = new CalendarView;
        QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
        font.setPixelSize(12); // cells of 22 x 16, blocks of 178 x 138
        view_->SetFont(font);
        view_->resize(191, 300);
        view_->RenderNow();
        view_->SetColor(CalColor::Holiday, kHoliday);
        view_->SetColor(CalColor::Schedule, kSchedule);
        view_->SetColor(CalColor::Diary, kDiary);
        view_->SetColor(CalColor::MarkPastDay, kMark);
        view_->SetColor(CalColor::WeekNo, kWeekNo);
        view_->SetPastDayImage(CheckMarkImage());
        view_->SetDate(day(2026, 5, 13));
    }
    void cleanup()
    {
        delete view_;
        delete data_;
        delete clock_;
    }

    void dayColoursOfMay2026()
    {
        view_->SetFlag(CalFlag::MarkPastDay, false); // the marks would cover the numbers
        const QImage img = view_->RenderNow();
        if (qEnvironmentVariableIsSet("VN_SAVE_SHOTS"))
            img.save(qEnvironmentVariable("VN_SAVE_SHOTS") + "/view_grid.png");
        QCOMPARE(view_->core().model().Layout().blocks[0].month, 5);
        struct Case {
            int m, d;
            quint32 color;
        };
        // 3 May (Sunday) to 6 May (substitute holiday, Wednesday) are holidays.
        const Case cases[] = {{5, 3, kHoliday},  {5, 4, kHoliday}, {5, 5, kHoliday},
                              {5, 6, kHoliday},  {5, 2, 0xFF0000}, {5, 9, 0xFF0000},
                              {5, 10, 0x0000FF}, {5, 7, 0x000000}, {5, 11, 0x000000},
                              {5, 29, 0x000000}, {5, 31, 0x0000FF}};
        for (const Case& c : cases) {
            const QRect r = textArea(cell(2026, c.m, c.d));
            QVERIFY2(countNear(img, r, rgb(c.color), 40) >= 4,
                     qPrintable(QStringLiteral("5/%1").arg(c.d)));
            for (quint32 other : {kHoliday, quint32(0x0000FF), quint32(0xFF0000)})
                if (other != c.color)
                    QVERIFY2(countNear(img, r, rgb(other), 40) == 0,
                             qPrintable(QStringLiteral("5/%1 other colour").arg(c.d)));
        }
    }

    void selectionAndTodayFills()
    {
        const QColor yellow(255, 255, 51), green(51, 255, 51);
        QImage img = view_->RenderNow();
        QVERIFY(near(img.pixel(fillSpot(cell(2026, 5, 13))), yellow, 10));
        QVERIFY(near(img.pixel(fillSpot(cell(2026, 5, 20))), green, 10));
        for (int d : {12, 14, 19, 21})
            QVERIFY(near(img.pixel(fillSpot(cell(2026, 5, d))), Qt::white, 0));
        // Selected today: the selection's gradient, no today fill anywhere.
        view_->SetDate(day(2026, 5, 20));
        img = view_->RenderNow();
        QVERIFY(near(img.pixel(fillSpot(cell(2026, 5, 20))), yellow, 10));
        QVERIFY(near(img.pixel(fillSpot(cell(2026, 5, 13))), Qt::white, 0));
        QCOMPARE(countNear(img, img.rect(), green, 10), 0);
        // Without gradation the fill is the solid start colour.
        view_->SetGradationDirection(Gradation::None);
        img = view_->RenderNow();
        const QRect c = cell(2026, 5, 20);
        QCOMPARE(QColor(img.pixel(c.left() + 2, c.bottom() - 2)), QColor(255, 255, 0));
    }

    void schedulesDiaryAndPastDays()
    {
        addSchedule(view_->schedules(), 2026, 5, 13, 9, QStringLiteral("会議"));
        addSchedule(view_->schedules(), 2026, 5, 25, 10, QStringLiteral("歯医者"));
        addSchedule(view_->schedules(), 2026, 4, 28, 10, QStringLiteral("四月"));
        QDir().mkpath(data_->file("Diary/202605"));
        WriteLines(data_->file("Diary/202605/20260508.txt"), {QStringLiteral("晴れ")});
        view_->SetDiaryFolder(data_->file("Diary"));
        view_->Paint();
        QImage img = view_->RenderNow();
        for (int d = 1; d <= 31; ++d) {
            const QRect c = cell(2026, 5, d);
            const bool bar = d == 13 || d == 25;
            QCOMPARE(QColor(img.pixel(barSpot(c))) == rgb(kSchedule), bar);
            QCOMPARE(QColor(img.pixel(diarySpot(c))) == rgb(kDiary), d == 8);
            // Past days carry the check mark; white AND the mark is the mark.
            if (d != 13)
                QCOMPARE(QColor(img.pixel(markSpot(c))) == rgb(kMark), d < 20);
        }
        // A new mark colour recolours the marks at the next paint.
        view_->SetColor(CalColor::MarkPastDay, 0x808000);
        img = view_->RenderNow();
        QCOMPARE(QColor(img.pixel(markSpot(cell(2026, 5, 4)))), rgb(0x808000));
        QCOMPARE(countNear(img, img.rect(), rgb(kMark), 0), 0);
        // Trailing April days: no fill, frame, holiday colour, bar or mark.
        for (int d = 26; d <= 30; ++d) {
            const QRect c = cell(2026, 4, d, true);
            QVERIFY(c.isValid());
            QVERIFY(near(img.pixel(fillSpot(c)), Qt::white, 0));
            QVERIFY(near(img.pixel(c.left() + 1, c.top() + 5), Qt::white, 0)); // frame line
            QCOMPARE(countNear(img, textArea(c), rgb(kHoliday), 40), 0);       // 29 April
            QCOMPARE(countNear(img, c, rgb(kSchedule), 0), 0);                 // 28 April
            QCOMPARE(countNear(img, c, rgb(0x808000), 0), 0);
            QVERIFY(countNear(img, textArea(c), QColor(0xC0, 0xC0, 0xC0), 30) >= 4);
        }
        // The frame of an ordinary day is there.
        const QRect c = cell(2026, 5, 21);
        QCOMPARE(QColor(img.pixel(c.left() + 1, c.top() + 5)), QColor(0x80, 0x80, 0x80));
    }

    void frames3D()
    {
        view_->SetFlag(CalFlag::Frame3D, true);
        const QImage img = view_->RenderNow();
        const QRect sel = cell(2026, 5, 13), other = cell(2026, 5, 14);
        // The ring inside the frame: light above and left when raised.
        QCOMPARE(QColor(img.pixel(other.left() + 2, other.top() + 6)), QColor(Qt::white));
        QCOMPARE(QColor(img.pixel(sel.left() + 2, sel.top() + 6)), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(QColor(img.pixel(sel.right() - 1, sel.top() + 6)), QColor(Qt::white));
    }

    void listOverflowHidesNextWeekNumber()
    {
        view_->resize(400, 600);
        view_->RenderNow();
        view_->SetOffsetY(5); // lines of 22 pixels: one schedule line fits
        view_->SetFlag(CalFlag::List, true);
        for (int h : {9, 10, 11})
            addSchedule(view_->schedules(), 2026, 5, 13, h, QStringLiteral("予定%1").arg(h));
        view_->Paint();
        const QImage img = view_->RenderNow();
        const cal::CalendarLayout& l = view_->core().model().Layout();
        QCOMPARE(l.blocks.size(), size_t(2));
        const QRect line = cell(2026, 5, 13);
        const int xd = line.left() + 2 * l.cellW - 6;
        QVERIFY(countNear(img, QRect(xd, line.top(), line.right() - xd, 12), rgb(kSchedule), 0) >
                4);
        QVERIFY(countNear(img, QRect(xd, line.top() + 12, line.right() - xd, 10),
                          QColor(0xC0, 0xC0, 0xC0), 30) > 4);
        // "+2" just right of the block, where June's week number would be.
        const QRect gap(line.right() + 1, line.top(), l.blocks[1].x0 - 6 - line.right() - 1,
                        line.height());
        QVERIFY(countNear(img, gap, rgb(kSchedule), 0) > 4);
        QCOMPARE(countNear(img, gap, rgb(kWeekNo), 40), 0);
        const QRect gapAbove = gap.translated(0, -line.height());
        QVERIFY(countNear(img, gapAbove, rgb(kWeekNo), 40) > 4);
        QCOMPARE(countNear(img, gapAbove, rgb(kSchedule), 0), 0);
    }

    void weekNumberColumnOff()
    {
        const QRect with = cell(2026, 5, 13);
        QImage img = view_->RenderNow();
        QVERIFY(countNear(img, QRect(0, with.top(), with.left() - 3 * with.width(), with.height()),
                          rgb(kWeekNo), 40) > 0 ||
                countNear(img, QRect(0, with.top(), cell(2026, 5, 10).left(), with.height()),
                          rgb(kWeekNo), 40) > 0);
        view_->SetFlag(CalFlag::ShowWeekNo, false);
        const QRect without = cell(2026, 5, 13);
        QCOMPARE(without.left(), with.left() - view_->core().model().Layout().cellW);
        img = view_->RenderNow();
        QCOMPARE(countNear(img, img.rect(), rgb(kWeekNo), 40), 0);
        QCOMPARE(QColor(img.pixel(without.left() + 1, without.top() + 5)),
                 QColor(0x80, 0x80, 0x80));
        // A control two blocks wide without the column fits a second block.
        view_->resize(2 * 178 - 22, 300);
        view_->RenderNow();
        QCOMPARE(view_->core().model().Layout().columns, 2);
        view_->SetFlag(CalFlag::ShowWeekNo, true);
        view_->RenderNow();
        QCOMPARE(view_->core().model().Layout().columns, 1);
    }

    void selectionChangeRedrawsLikeFullPaint()
    {
        // Only the two days' cells are drawn again; the image must be the one
        // a full paint gives, in every look: next to today, on a Saturday,
        // with gradients running into the neighbour cell, in the list.
        addSchedule(view_->schedules(), 2026, 5, 21, 9, QStringLiteral("会議"));
        view_->resize(400, 600);
        struct Case {
            Gradation g;
            bool frame3D, list;
            int from, to;
        };
        const Case cases[] = {
            {Gradation::Top, false, false, 13, 21},  {Gradation::Left, true, false, 19, 16},
            {Gradation::Left, false, false, 16, 21}, {Gradation::None, true, false, 21, 30},
            {Gradation::Left, true, true, 19, 21},   {Gradation::Top, false, true, 21, 2}};
        for (const Case& c : cases) {
            view_->SetGradationDirection(c.g);
            view_->SetFlag(CalFlag::Frame3D, c.frame3D);
            view_->SetFlag(CalFlag::List, c.list);
            view_->SetDate(day(2026, 5, c.from));
            view_->RenderNow();
            view_->SetDate(day(2026, 5, c.to)); // same months
            const QImage partial = view_->RenderNow();
            view_->Paint();
            const QImage full = view_->RenderNow();
            if (full != partial && qEnvironmentVariableIsSet("VN_SAVE_SHOTS")) {
                for (int y = 0; y < full.height(); ++y)
                    for (int x = 0; x < full.width(); ++x)
                        if (full.pixel(x, y) != partial.pixel(x, y))
                            qDebug() << x << y << QColor(full.pixel(x, y))
                                     << QColor(partial.pixel(x, y));
            }
            QVERIFY2(full == partial, qPrintable(QStringLiteral("%1 to %2").arg(c.from).arg(c.to)));
        }
    }

    void midnightMovesToday()
    {
        const QColor green(51, 255, 51);
        QImage img = view_->RenderNow();
        QVERIFY(near(img.pixel(fillSpot(cell(2026, 5, 20))), green, 10));
        QSignalSpy spy(view_, &CalendarView::todayChanged);
        clock_->set(EncodeDate(2026, 5, 21) + EncodeTime(0, 0, 1));
        QVERIFY(view_->CheckToday());
        QCOMPARE(spy.count(), 1);
        img = view_->RenderNow();
        QVERIFY(near(img.pixel(fillSpot(cell(2026, 5, 21))), green, 10));
        QVERIFY(!near(img.pixel(fillSpot(cell(2026, 5, 20))), green, 10));
        QCOMPARE(QColor(img.pixel(markSpot(cell(2026, 5, 20)))), rgb(kMark));
        QCOMPARE(view_->RelativeDayText(day(2026, 5, 20)), QStringLiteral("1日前"));
        QVERIFY(!view_->CheckToday());

        // Never shown (a window not opened yet), the view does not tick.
        QTimer* dayTimer = view_->findChild<QTimer*>(QStringLiteral("dayTimer"));
        QVERIFY(dayTimer && !dayTimer->isActive());
        // Hidden, the view does not wake for midnight; shown again, it has
        // moved on before its first paint.
        view_->show();
        QVERIFY(dayTimer->isActive());
        view_->hide();
        QVERIFY(!dayTimer->isActive());
        clock_->set(EncodeDate(2026, 5, 22) + EncodeTime(0, 0, 1));
        view_->show();
        QCOMPARE(spy.count(), 2);
        QVERIFY(dayTimer->isActive());
        QVERIFY(near(view_->RenderNow().pixel(fillSpot(cell(2026, 5, 22))), green, 10));
    }

    void twoViewsKeepTheirOwnValues()
    {
        CalendarView other;
        other.SetColor(CalColor::Today, 0xFFFF00);
        other.SetFlag(CalFlag::MarkPastDay, false);
        QCOMPARE(view_->Color(CalColor::Today), quint32(0x00FF00));
        QVERIFY(view_->Flag(CalFlag::MarkPastDay));
        // ColorMonth and the month font's colour are one value.
        view_->SetFontMonth(view_->FontMonth(), 0x123456);
        QCOMPARE(view_->Color(CalColor::Month), quint32(0x123456));
        QCOMPARE(other.Color(CalColor::Month), quint32(0x000080));
    }

    void hoverHint()
    {
        view_->RenderNow();
        const QRect a = cell(2026, 5, 13), b = cell(2026, 5, 14);
        view_->UpdateHover(a.left() + 3, a.top() + 3);
        QVERIFY(!view_->hintShown()); // entering a day
        QCOMPARE(DateOnly(view_->HoverDate()), EncodeDate(2026, 5, 13));
        view_->UpdateHover(a.left() + 4, a.top() + 3);
        QVERIFY(view_->hintShown()); // second movement inside it
        QVERIFY(view_->hintText().startsWith(QStringLiteral("2026/05/13は、7日前\r\n六曜=")));
        view_->UpdateHover(a.left() + 4, a.top() + 3);
        QVERIFY(!view_->hintShown()); // no real movement
        view_->UpdateHover(b.left() + 4, b.top() + 3);
        QVERIFY(!view_->hintShown()); // into another day
        view_->UpdateHover(b.left() + 5, b.top() + 3);
        QVERIFY(view_->hintShown());
        const cal::MonthBlock& blk = view_->core().model().Layout().blocks[0];
        view_->UpdateHover(blk.weekdayRow.left + 3, blk.weekdayRow.top + 3);
        QVERIFY(!view_->hintShown());
        QCOMPARE(view_->HoverDate(), 0.0);
        QSignalSpy dbl(view_, &CalendarView::dayDoubleClicked);
        QTest::mouseDClick(view_, Qt::LeftButton, {},
                           QPoint(blk.weekdayRow.left + 3, blk.weekdayRow.top + 3));
        QCOMPARE(dbl.count(), 0);
        // Hints off: none shown, the double click still names the day.
        view_->SetFlag(CalFlag::HintShowPop, false);
        view_->UpdateHover(a.left() + 3, a.top() + 3);
        view_->UpdateHover(a.left() + 4, a.top() + 3);
        QVERIFY(!view_->hintShown());
        QTest::mouseDClick(view_, Qt::LeftButton, {}, QPoint(a.left() + 4, a.top() + 3));
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(DateOnly(dbl.at(0).at(0).toDouble()), EncodeDate(2026, 5, 13));
    }

    void dayTextExample()
    {
        clock_->set(EncodeDate(2008, 5, 2) + EncodeTime(8, 0));
        view_->core().holidays().Rebuild({});
        ScheduleFields f;
        f.year = f.lastYear = 2008;
        f.month = f.lastMonth = 5;
        f.day = f.lastDay = 5;
        f.allDay = true;
        f.text = QStringLiteral("子供と公園");
        view_->schedules().ExpandOccurrences(f);
        QCOMPARE(view_->DayText(day(2008, 5, 5)),
                 QStringLiteral("2008/05/05は、3日後\r\n六曜=仏滅\r\n休日=こどもの日\r\n"
                                "─────────────\r\n終日  子供と公園"));
        // Outside the rokuyō table: "----"; without rokuyō the line is absent.
        QCOMPARE(view_->DayText(day(1850, 5, 6)),
                 QStringLiteral("1850/05/06は、57705日前\r\n六曜=----"));
        view_->SetFlag(CalFlag::ShowRoku, false);
        QCOMPARE(view_->DayText(day(2008, 5, 8)), QStringLiteral("2008/05/08は、6日後"));
        QCOMPARE(view_->RelativeDayText(day(2008, 5, 2)), QStringLiteral("本日"));
        view_->SetDate(day(2008, 4, 30));
        const cal::DateSummary s = view_->DateSummary();
        QCOMPARE(s.dateText, QStringLiteral("2008/04/30"));
        QCOMPARE(s.relativeText, QStringLiteral("2日前"));
        QCOMPARE(s.dayDifference, -2);
    }

    void diaryTextThatCannotBeWrittenStays()
    {
        QPlainTextEdit memo;
        view_->SetDiaryMemo(&memo);
        QSignalSpy failed(view_, &CalendarView::diaryWriteFailed);
        // The month folder's place is taken by a file: the folder cannot be made.
        QDir().mkpath(data_->file("Diary"));
        data_->writeBytes(QStringLiteral("Diary/202605"), "x");
        view_->SetDiaryFolder(data_->file("Diary"));
        view_->MoveToToday();
        memo.setPlainText(QStringLiteral("大事な日記"));
        QVERIFY(!view_->SaveDiary());
        QVERIFY(!view_->SaveDiary());
        QCOMPARE(failed.count(), 1); // once while it keeps failing
        const QRect other = cell(2026, 5, 21);
        QTest::mouseClick(view_, Qt::LeftButton, {}, other.center());
        QCOMPARE(memo.toPlainText(), QStringLiteral("大事な日記"));
        QCOMPARE(DateOnly(view_->DiaryDate()), EncodeDate(2026, 5, 20));
        // Once the way is clear the next save writes it.
        QFile::remove(data_->file("Diary/202605"));
        QVERIFY(view_->SaveDiary());
        QCOMPARE(ReadLines(data_->file("Diary/202605/20260520.txt")),
                 QStringList{QStringLiteral("大事な日記")});
        QVERIFY(view_->core().HasDiary(day(2026, 5, 20)));
        memo.setPlainText(QStringLiteral("次も"));
        QFile::remove(data_->file("Diary/202605/20260520.txt"));
        QDir().mkpath(data_->file("Diary/202605/20260520.txt")); // a folder in the file's place
        QVERIFY(!view_->SaveDiary());
        QCOMPARE(failed.count(), 2); // a new series of failures is shown again
        QCOMPARE(memo.toPlainText(), QStringLiteral("次も"));
    }
};

QTEST_MAIN(TestCalendarView)
#include "tst_calendarview.moc"

// The page "カレンダー": each control sets the calendar's property (which
// repaints it) and writes its setting; the loaded values and their
// corrections; the year-month background question; the week-number rule.
#include "fakeclock.h"
#include "fakesettingshost.h"
#include "foundation/settings.h"
#include "scriptedprompts.h"
#include "settings/calendarpage.h"
#include "settings/choosers.h"
#include "tempdatafolder.h"
#include "ui_calendarpage.h"
#include "widgets/colorref.h"

#include <QFontDatabase>
#include <QTest>

using namespace vn;
using namespace vn::test;

namespace {

struct Fixture {
    Fixture()
    {
        host.view.resize(191, 300);
        host.view.MoveToToday();
        page.setHost(&host);
    }
    FakeClock clock{EncodeDate(2009, 1, 7) + EncodeTime(10, 0)};
    ScriptedPrompts prompts;
    FakeSettingsHost host;
    CalendarPage page;
    const Ui::CalendarPage& ui = page.form();
    CalendarView& view = host.view;
};

} // namespace

class TstCalendarPage : public QObject {
    Q_OBJECT
private slots:
    void colourButtonsSetTheCalendarAndTheirSettings()
    {
        TempDataFolder dir;
        InstallFontSubstitutions();
        Fixture f;
        f.page.LoadCalendarPage();
        const struct {
            QPushButton* button;
            CalColor color;
            int setting;
        } buttons[] = {
            {f.ui.cmdColor00, CalColor::Month, REG_CalendarColorMonth},
            {f.ui.cmdColor02, CalColor::FillWeek, REG_CalendarColorFillWeek},
            {f.ui.cmdColor03, CalColor::FrameWeek, REG_CalendarColorFramWeek},
            {f.ui.cmdColor10, CalColor::Sunday, REG_CalendarColorSunday},
            {f.ui.cmdColor11, CalColor::Saturday, REG_CalendarColorSaturday},
            {f.ui.cmdColor30, CalColor::Schedule, REG_CalendarColorSchedule},
            {f.ui.cmdColor12, CalColor::Weekday, REG_CalendarColorWeekday},
            {f.ui.cmdColor13, CalColor::Holiday, REG_CalendarColorHoliday},
            {f.ui.cmdColor14, CalColor::Today, REG_CalendarColorToday},
            {f.ui.cmdColor15, CalColor::Current, REG_CalendarBrushCurrentColor},
            {f.ui.cmdColor16, CalColor::MarkPastDay, REG_CalendarColorMarkPastDay},
            {f.ui.cmdColor17, CalColor::FrameDay, REG_CalendarColorFramDay},
            {f.ui.cmdColor18, CalColor::TrailingText, REG_CalendarColorTrailingText},
            {f.ui.cmdColor19, CalColor::WeekNo, REG_CalendarColorWeekNo},
        };
        int n = 0;
        for (const auto& b : buttons) {
            const QColor chosen(10 + n, 100, 200 - n);
            ++n;
            const quint32 before = f.view.Color(b.color);
            const QImage shown = f.view.RenderNow().copy();
            // Cancel changes nothing.
            f.prompts.colour.reset();
            b.button->click();
            QCOMPARE(f.prompts.colourAsked, ToQColor(int(before)));
            QCOMPARE(f.view.Color(b.color), before);
            f.prompts.colour = chosen;
            b.button->click();
            QCOMPARE(f.view.Color(b.color), quint32(ToColorRef(chosen)));
            QCOMPARE(ReadSettingInt(b.setting), ToColorRef(chosen));
            if (b.color == CalColor::Sunday || b.color == CalColor::Month)
                QVERIFY(f.view.RenderNow() != shown); // repainted in the new colour
        }
        QVERIFY(f.prompts.boxes.isEmpty());
    }

    void yearMonthBackgroundQuestion()
    {
        TempDataFolder dir;
        Fixture f;
        WriteSettingInt(REG_CalendarBackManthShow, 1);
        f.page.LoadCalendarPage();
        f.view.SetFlag(CalFlag::FrameMonth, true);
        const quint32 fill = f.view.Color(CalColor::FillMonth);

        // "いいえ": the background is switched off; no colour chooser.
        f.prompts.answers = {BoxAnswer::No};
        f.prompts.colour = QColor(1, 2, 3);
        f.prompts.colourAsked = QColor();
        f.ui.cmdColor01->click();
        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(f.prompts.boxes[0].kind, BoxKind::Information);
        QCOMPARE(f.prompts.boxes[0].buttons, BoxButtons::YesNoCancel);
        QCOMPARE(f.prompts.boxes[0].text,
                 QStringLiteral("年月の背景色を有効（または変更）する場合には「はい」\r\n"
                                "年月の背景色を無効にする場合には「いいえ」"));
        QVERIFY(!f.prompts.colourAsked.isValid());
        QVERIFY(!f.view.Flag(CalFlag::FrameMonth));
        QCOMPARE(ReadSettingInt(REG_CalendarBackManthShow), 0);
        QCOMPARE(f.view.Color(CalColor::FillMonth), fill);

        // "キャンセル", and "はい" with the chooser cancelled: nothing.
        f.prompts.answers = {BoxAnswer::Cancel};
        f.ui.cmdColor01->click();
        f.prompts.answers = {BoxAnswer::Yes};
        f.prompts.colour.reset();
        f.ui.cmdColor01->click();
        QVERIFY(!f.view.Flag(CalFlag::FrameMonth));
        QCOMPARE(f.view.Color(CalColor::FillMonth), fill);

        // "はい" and a colour: the colour and the background on.
        f.prompts.answers = {BoxAnswer::Yes};
        f.prompts.colour = QColor(0, 128, 255);
        f.ui.cmdColor01->click();
        QCOMPARE(f.prompts.colourAsked, ToQColor(int(fill)));
        QVERIFY(f.view.Flag(CalFlag::FrameMonth));
        QCOMPARE(f.view.Color(CalColor::FillMonth), quint32(0xFF8000));
        QCOMPARE(ReadSettingInt(REG_CalendarColorFillMonth), 0xFF8000);
        QCOMPARE(ReadSettingInt(REG_CalendarBackManthShow), 1);
    }

    void switchesAndRadioPairs()
    {
        TempDataFolder dir;
        Fixture f;
        f.page.LoadCalendarPage();
        const struct {
            QAbstractButton* on;
            QAbstractButton* off;
            CalFlag flag;
            int setting;
        } controls[] = {
            {f.ui.CheckBox1, nullptr, CalFlag::MarkPastDay, REG_CalendarMarkPastDay},
            {f.ui.CheckBox2, nullptr, CalFlag::FrameDay, REG_CalendarFramDay},
            {f.ui.chkCalendar3D, nullptr, CalFlag::Frame3D, REG_CalendarFram3D},
            {f.ui.chkShowWeekNo, nullptr, CalFlag::ShowWeekNo, REG_ShowWeekNo},
            {f.ui.chkMonthName, nullptr, CalFlag::MonthNameShow, REG_CalendarMonthNameShow},
            {f.ui.rdoMonth01, f.ui.rdoMonth02, CalFlag::MonthName, REG_CalendarMonthName},
            {f.ui.chkShowRoku, nullptr, CalFlag::ShowRoku, REG_CalendarShowRoku},
            {f.ui.rdoRoku01, f.ui.rdoRoku02, CalFlag::Rokuyou, REG_CalendarRokuyou},
            {f.ui.rdoWeek01, f.ui.rdoWeek02, CalFlag::WeekName, REG_CalendarWeekName},
            {f.ui.chkHintShow, nullptr, CalFlag::HintShowPop, REG_CalendarHintShow},
            {f.ui.chkCalendarTextShadow, nullptr, CalFlag::Shadow, REG_CalendarTextShadow},
            {f.ui.rdoWeekNoEx, f.ui.rdoWeekNo, CalFlag::WeekNoEx, REG_WeekNoEx},
        };
        for (const auto& c : controls) {
            for (int round = 0; round < 2; ++round) {
                const bool now = f.view.Flag(c.flag);
                QCOMPARE(c.on->isChecked(), now);
                if (c.off)
                    (now ? c.off : c.on)->click();
                else
                    c.on->click();
                QCOMPARE(f.view.Flag(c.flag), !now);
                QCOMPARE(ReadSettingInt(c.setting), now ? 0 : 1);
            }
        }

        // Rokuyō off: its pair greys out and the day hints lose it at once.
        const DateTime day = EncodeDate(2009, 1, 7);
        const QString rokuyou = f.view.RokuyouText(day);
        QVERIFY(!rokuyou.isEmpty());
        QVERIFY(f.view.DayText(day).contains(rokuyou));
        f.ui.chkShowRoku->click();
        QVERIFY(!f.ui.rdoRoku01->isEnabled());
        QVERIFY(!f.ui.rdoRoku02->isEnabled());
        QVERIFY(!f.view.DayText(day).contains(rokuyou));
        f.ui.chkShowRoku->click();
        QVERIFY(f.ui.rdoRoku01->isEnabled());
        f.ui.chkMonthName->click();
        QVERIFY(!f.ui.rdoMonth01->isEnabled() && !f.ui.rdoMonth02->isEnabled());
    }

    void weekNumbersOffsetsAndGradation()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini",
                       "[CalendarOffset]\r\nX=12\r\nY=1\r\n[Calendar]\r\n"
                       "GradationType=3\r\n[WeekNo]\r\nMin=0\r\nMonth=13\r\nDay=4\r\n");
        Fixture f;
        f.page.LoadCalendarPage();
        // Out of range: shown as the usual value, given to the calendar and
        // written back.
        QCOMPARE(f.ui.spinOffsetX->value(), 5);
        QCOMPARE(f.view.OffsetX(), 5);
        QCOMPARE(ReadSettingInt(REG_CalendarOffsetX), 5);
        QCOMPARE(f.ui.spinOffsetY->value(), 1);
        QCOMPARE(f.ui.spinWeekNo->value(), 3);
        QCOMPARE(f.ui.lblWeekNo->text(), QStringLiteral("ISO規格値"));
        QCOMPARE(ReadSettingInt(REG_WeekNo), 3);
        QCOMPARE(f.ui.spinWeekNoMonth->value(), 1);
        QCOMPARE(f.view.WeekNoDay(), 4);
        // Gradation 3 has no entry: none selected, the calendar top to bottom.
        QCOMPARE(f.ui.cmbGradation->currentIndex(), -1);
        QCOMPARE(f.view.GradationDirection(), Gradation::Top);
        QCOMPARE(ReadSettingInt(REG_CalendarGradationType), 3);
        f.ui.cmbGradation->setCurrentIndex(2);
        QCOMPARE(f.view.GradationDirection(), Gradation::None);
        QCOMPARE(ReadSettingInt(REG_CalendarGradationType), 2);
        f.ui.cmbGradation->setCurrentIndex(1);
        QCOMPARE(f.view.GradationDirection(), Gradation::Left);

        const QList<QPair<int, QString>> rules = {
            {1, "USA規格値"}, {3, "ISO規格値"}, {4, "オリジナル値"}, {7, "オリジナル値"}};
        for (const auto& [days, name] : rules) {
            f.ui.spinWeekNo->setValue(days);
            QCOMPARE(f.ui.lblWeekNo->text(), name);
            QCOMPARE(f.view.WeekNoMin(), days);
            QCOMPARE(ReadSettingInt(REG_WeekNo), days);
        }
        f.ui.cmdWeekNo->click(); // "初期値"
        QCOMPARE(f.ui.spinWeekNo->value(), 3);
        QCOMPARE(f.ui.lblWeekNo->text(), QStringLiteral("ISO規格値"));
        QCOMPARE(ReadSettingInt(REG_WeekNo), 3);
        f.ui.spinWeekNo->setValue(6);
        f.ui.spinWeekNo->clear();
        f.ui.spinWeekNo->commitText(); // emptied: 3
        QCOMPARE(ReadSettingInt(REG_WeekNo), 3);

        f.ui.spinWeekNoMonth->setValue(4);
        f.ui.spinWeekNoDay->setValue(30);
        QCOMPARE(f.view.WeekNoMonth(), 4);
        QCOMPARE(ReadSettingInt(REG_WeekNoMonth), 4);
        QCOMPARE(ReadSettingInt(REG_WeekNoDay), 30);

        f.ui.spinOffsetX->setValue(9);
        f.ui.spinOffsetY->clear();
        f.ui.spinOffsetY->commitText();
        QCOMPARE(f.view.OffsetX(), 9);
        QCOMPARE(f.view.OffsetY(), 0);
        QCOMPARE(ReadSettingInt(REG_CalendarOffsetY), 0);
        f.ui.cmdOffsetInit->click();
        QCOMPARE(f.view.OffsetX(), 5);
        QCOMPARE(f.view.OffsetY(), 2);
        QCOMPARE(ReadSettingInt(REG_CalendarOffsetX), 5);
        QCOMPARE(ReadSettingInt(REG_CalendarOffsetY), 2);
    }

    void monthPatternAndFonts()
    {
        TempDataFolder dir;
        InstallFontSubstitutions();
        dir.writeBytes("Vnote.ini", Sjis("[CalendarMonth]\r\nFormat=yyyy年 m月\r\n"
                                         "[CalendarFontMonth]\r\nColor=255\r\n"
                                         "Name=ＭＳ Ｐゴシック\r\nSize=12\r\nStyle=1\r\n"));
        Fixture f;
        f.page.LoadCalendarPage();
        QCOMPARE(f.ui.cmbFormatCalendar->count(), 16);
        QCOMPARE(f.ui.cmbFormatCalendar->currentIndex(), -1);
        QCOMPARE(f.view.MonthFormat(), QStringLiteral("yyyy年 m月"));
        QCOMPARE(f.ui.lblFormatCalendar->text(), QStringLiteral("2009年 1月"));
        f.ui.cmbFormatCalendar->setCurrentIndex(15);
        QCOMPARE(f.view.MonthFormat(), QStringLiteral("ggee年mm月"));
        QCOMPARE(ReadSettingStr(REG_CalendarMonthFormat), QStringLiteral("ggee年mm月"));
        QCOMPARE(f.ui.lblFormatCalendar->text(), QStringLiteral("平成21年01月"));

        // The chooser shows the installed face; keeping it keeps the name.
        f.view.SetFontMonth(ToQFont({255, QStringLiteral("ＭＳ Ｐゴシック"), 12, 1}), 255);
        QFont offered;
        std::optional<QFont> answer;
        Prompts().chooseFont = [&](const QFont& initial) {
            offered = initial;
            return answer;
        };
        answer = std::nullopt;
        f.ui.cmdCalendarMonth->click();
        const QString installed = InstalledFace(QStringLiteral("ＭＳ Ｐゴシック"));
        QVERIFY(!installed.isEmpty());
        QVERIFY(installed != QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(offered.family(), installed);
        QCOMPARE(offered.pointSize(), 12);
        QVERIFY(offered.bold());
        QFont bigger = offered;
        bigger.setPointSize(14);
        answer = bigger;
        f.ui.cmdCalendarMonth->click();
        FontSpec stored{0, QString(), 0, 0};
        ReadSettingFont(REG_CalendarFontMonth, stored);
        QCOMPARE(stored, FontSpec({255, QStringLiteral("ＭＳ Ｐゴシック"), 14, 1}));
        QCOMPARE(f.view.FontMonth().pointSize(), 14);
        // Another face is written by its name.
        QFont other(QStringLiteral("IPAMincho"), 10);
        answer = other;
        f.ui.cmdCalendarDay->click();
        ReadSettingFont(REG_CalendarFont, stored);
        QCOMPARE(stored.name, QStringLiteral("IPAMincho"));
        QCOMPARE(stored.size, 10);
        QCOMPARE(f.view.Font().family(), QStringLiteral("IPAMincho"));

        // The month colour: the stored month font's colour follows, or the
        // font's colour would win at the next start.
        f.prompts.colour = QColor(0, 0, 160);
        f.ui.cmdColor00->click();
        ReadSettingFont(REG_CalendarFontMonth, stored);
        QCOMPARE(stored.color, 0xA00000);
        QCOMPARE(ReadSettingInt(REG_CalendarColorMonth), 0xA00000);
        QCOMPARE(stored.name, QStringLiteral("ＭＳ Ｐゴシック"));
        Prompts() = DefaultPrompts(nullptr);
    }

    // The main window draws its calendar in the installed family a stored
    // face stands for (asking for it by its Windows name costs a fallback
    // search per name); what is written back is still the stored name.
    void drawnFacesKeepTheirStoredNames()
    {
        InstallFontSubstitutions();
        const QString pgothic = DrawnFace(QStringLiteral("ＭＳ Ｐゴシック"));
        QVERIFY(QFontDatabase::families().contains(pgothic));
        QCOMPARE(DrawnFace(QStringLiteral("ipamincho")), QStringLiteral("IPAMincho"));
        QCOMPARE(DrawnFace(QStringLiteral("No Such Face")), QStringLiteral("No Such Face"));

        struct Row {
            const char* ini;   // the stored fonts, if any
            QString monthFace; // what choosing "keep" stores for the month font
            QString dayFace;   // and for the day font
        };
        const Row rows[] = {
            {"", UiFace(), UiFace()},
            {"[CalendarFontMonth]\r\nName=MS UI Gothic\r\nSize=12\r\n"
             "[FontCalendar]\r\nName=ＭＳ Ｐ明朝\r\nSize=9\r\n",
             QStringLiteral("MS UI Gothic"), QStringLiteral("ＭＳ Ｐ明朝")},
            {"[FontCalendar]\r\nName=IPAGothic\r\nSize=9\r\n", UiFace(),
             QStringLiteral("IPAGothic")},
        };
        for (const Row& row : rows) {
            TempDataFolder dir;
            if (*row.ini)
                dir.writeBytes("Vnote.ini", Sjis(QString::fromUtf8(row.ini)));
            Fixture f;
            // As the main window sets it up: drawn faces.
            FontSpec month{255, UiFace(), 12, 1};
            ReadSettingFont(REG_CalendarFontMonth, month);
            FontSpec day{0, UiFace(), 9, 0};
            ReadSettingFont(REG_CalendarFont, day);
            f.view.SetFontMonth(ToDrawnFont(month), 255);
            f.view.SetFont(ToDrawnFont(day));
            QCOMPARE(f.view.FontMonth().family(), DrawnFace(month.name));
            QVERIFY(f.view.Font().family() != QStringLiteral("ＭＳ Ｐ明朝"));

            Prompts().chooseFont = [](const QFont& offered) { return offered; };
            f.ui.cmdCalendarMonth->click();
            f.ui.cmdCalendarDay->click();
            f.prompts.colour = QColor(0, 0, 160);
            f.ui.cmdColor00->click(); // the month colour rewrites the month font
            FontSpec stored;
            ReadSettingFont(REG_CalendarFontMonth, stored);
            QCOMPARE(stored.name, row.monthFace);
            QCOMPARE(stored.color, 0xA00000);
            ReadSettingFont(REG_CalendarFont, stored);
            QCOMPARE(stored.name, row.dayFace);
            Prompts() = DefaultPrompts(nullptr);
        }
    }
};

QTEST_MAIN(TstCalendarPage)
#include "tst_calendarpage.moc"

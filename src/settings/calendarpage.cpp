#include "calendarpage.h"

#include "calendar/ui/calendarview.h"
#include "choosers.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "settingpatterns.h"
#include "ui_calendarpage.h"
#include "widgets/colorref.h"
#include "widgets/uiprompts.h"

#include <climits>

namespace vn {

namespace {

// The switches of the page: a check box, or a radio pair whose first button
// means true; each a calendar flag and its setting.
struct FlagControl {
    QAbstractButton* on;
    QAbstractButton* off; // the pair's second button, or none
    CalFlag flag;
    int setting;
};

// The face name a calendar font is stored under: the settings file's, else
// the windows' face the main window's calendar is designed in. The view
// draws the installed family; this is the name written back.
QString storedFace(int id)
{
    FontSpec s;
    s.name = UiFace();
    ReadSettingFont(id, s);
    return s.name;
}

} // namespace

CalendarPage::CalendarPage(QWidget* parent)
    : SettingsPage(parent), ui(std::make_unique<Ui::CalendarPage>())
{
    ui->setupUi(this);
    colours_ = {
        {ui->cmdColor00, CalColor::Month, REG_CalendarColorMonth},
        {ui->cmdColor01, CalColor::FillMonth, REG_CalendarColorFillMonth},
        {ui->cmdColor02, CalColor::FillWeek, REG_CalendarColorFillWeek},
        {ui->cmdColor03, CalColor::FrameWeek, REG_CalendarColorFramWeek},
        {ui->cmdColor10, CalColor::Sunday, REG_CalendarColorSunday},
        {ui->cmdColor11, CalColor::Saturday, REG_CalendarColorSaturday},
        {ui->cmdColor30, CalColor::Schedule, REG_CalendarColorSchedule},
        {ui->cmdColor12, CalColor::Weekday, REG_CalendarColorWeekday},
        {ui->cmdColor13, CalColor::Holiday, REG_CalendarColorHoliday},
        {ui->cmdColor14, CalColor::Today, REG_CalendarColorToday},
        {ui->cmdColor15, CalColor::Current, REG_CalendarBrushCurrentColor},
        {ui->cmdColor16, CalColor::MarkPastDay, REG_CalendarColorMarkPastDay},
        {ui->cmdColor17, CalColor::FrameDay, REG_CalendarColorFramDay},
        {ui->cmdColor18, CalColor::TrailingText, REG_CalendarColorTrailingText},
        {ui->cmdColor19, CalColor::WeekNo, REG_CalendarColorWeekNo},
    };
    for (const ColourButton& b : colours_) {
        if (b.button == ui->cmdColor01)
            connect(b.button, &QPushButton::clicked, this,
                    [this] { act([this] { cmdColor01Click(); }); });
        else
            connect(b.button, &QPushButton::clicked, this,
                    [this, b] { act([&] { chooseColour(b); }); });
    }

    const FlagControl flags[] = {
        {ui->CheckBox1, nullptr, CalFlag::MarkPastDay, REG_CalendarMarkPastDay},
        {ui->CheckBox2, nullptr, CalFlag::FrameDay, REG_CalendarFramDay},
        {ui->chkCalendar3D, nullptr, CalFlag::Frame3D, REG_CalendarFram3D},
        {ui->chkShowWeekNo, nullptr, CalFlag::ShowWeekNo, REG_ShowWeekNo},
        {ui->rdoMonth01, ui->rdoMonth02, CalFlag::MonthName, REG_CalendarMonthName},
        {ui->rdoRoku01, ui->rdoRoku02, CalFlag::Rokuyou, REG_CalendarRokuyou},
        {ui->rdoWeek01, ui->rdoWeek02, CalFlag::WeekName, REG_CalendarWeekName},
        {ui->chkHintShow, nullptr, CalFlag::HintShowPop, REG_CalendarHintShow},
        {ui->chkCalendarTextShadow, nullptr, CalFlag::Shadow, REG_CalendarTextShadow},
    };
    for (const FlagControl& f : flags) {
        auto apply = [this, f] {
            act([&] {
                const bool value = f.on->isChecked();
                view().SetFlag(f.flag, value);
                StoreSettingInt(f.setting, value ? 1 : 0);
            });
        };
        if (f.off) {
            // The pair shares one action, run once for the button turned on.
            for (QAbstractButton* b : {f.on, f.off})
                connect(b, &QAbstractButton::toggled, this, [apply](bool on) {
                    if (on)
                        apply();
                });
        } else {
            connect(f.on, &QAbstractButton::toggled, this, apply);
        }
    }
    // The name switches grey out their kanji / hiragana pairs.
    connect(ui->chkMonthName, &QCheckBox::toggled, this, [this] { applyMonthNames(); });
    connect(ui->chkShowRoku, &QCheckBox::toggled, this, [this] { applyRokuyou(); });

    ui->cmbGradation->addItems(
        {QStringLiteral("上から下"), QStringLiteral("左から右"), QStringLiteral("無し")});
    connect(ui->cmbGradation, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        act([&] {
            view().SetGradationDirection(GradationFromSetting(index));
            StoreSettingInt(REG_CalendarGradationType, index);
        });
    });

    ui->spinWeekNo->setEmptyValue(3);
    connect(ui->spinWeekNo, &QSpinBox::valueChanged, this, [this] { applyWeekNoMin(); });
    connect(ui->cmdWeekNo, &QPushButton::clicked, this, [this] {
        SetQuietly(ui->spinWeekNo, 3);
        applyWeekNoMin();
    });
    for (QRadioButton* b : {ui->rdoWeekNo, ui->rdoWeekNoEx})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyWeekNoEx();
        });
    connect(ui->spinWeekNoMonth, &QSpinBox::valueChanged, this, [this](int v) {
        act([&] {
            view().SetWeekNoMonth(v);
            StoreSettingInt(REG_WeekNoMonth, v);
        });
    });
    connect(ui->spinWeekNoDay, &QSpinBox::valueChanged, this, [this](int v) {
        act([&] {
            view().SetWeekNoDay(v);
            StoreSettingInt(REG_WeekNoDay, v);
        });
    });

    ui->spinOffsetX->setEmptyValue(0);
    ui->spinOffsetY->setEmptyValue(0);
    for (QSpinBox* s :
         {static_cast<QSpinBox*>(ui->spinOffsetX), static_cast<QSpinBox*>(ui->spinOffsetY)})
        connect(s, &QSpinBox::valueChanged, this, [this] { applyOffsets(); });
    connect(ui->cmdOffsetInit, &QPushButton::clicked, this, [this] {
        SetQuietly(ui->spinOffsetX, 5);
        SetQuietly(ui->spinOffsetY, 2);
        applyOffsets();
    });

    connect(ui->cmdCalendarMonth, &QPushButton::clicked, this,
            [this] { act([this] { chooseFont(true); }); });
    connect(ui->cmdCalendarDay, &QPushButton::clicked, this,
            [this] { act([this] { chooseFont(false); }); });

    ui->cmbFormatCalendar->addItems(MonthTitlePatterns());
    connect(ui->cmbFormatCalendar, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        act([&] {
            const QString pattern = ui->cmbFormatCalendar->itemText(index);
            view().SetMonthFormat(pattern);
            StoreSettingStr(REG_CalendarMonthFormat, pattern);
            ui->lblFormatCalendar->setText(RenderDateTime(pattern, Today()));
        });
    });
}

CalendarPage::~CalendarPage() = default;

CalendarView& CalendarPage::view() const
{
    return *host_->calendar();
}

QString CalendarPage::WeekNoRuleName(int minDays)
{
    if (minDays == 3)
        return QStringLiteral("ISO規格値");
    if (minDays == 1)
        return QStringLiteral("USA規格値");
    return QStringLiteral("オリジナル値");
}

void CalendarPage::LoadCalendarPage()
{
    auto flagFrom = [](QAbstractButton* on, QAbstractButton* off, int setting) {
        const bool value = ReadSettingInt(setting) == 1;
        SetQuietly(on, value);
        if (off)
            SetQuietly(off, !value);
    };
    auto applyFlag = [this](QAbstractButton* on, CalFlag flag, int setting) {
        view().SetFlag(flag, on->isChecked());
        StoreSettingInt(setting, on->isChecked() ? 1 : 0);
    };
    const struct {
        QAbstractButton *on, *off;
        CalFlag flag;
        int setting;
    } first[] = {
        {ui->CheckBox1, nullptr, CalFlag::MarkPastDay, REG_CalendarMarkPastDay},
        {ui->CheckBox2, nullptr, CalFlag::FrameDay, REG_CalendarFramDay},
        {ui->chkCalendar3D, nullptr, CalFlag::Frame3D, REG_CalendarFram3D},
    };
    for (const auto& f : first) {
        flagFrom(f.on, f.off, f.setting);
        applyFlag(f.on, f.flag, f.setting);
    }

    // Values out of their ranges show (and become) the usual ones.
    auto ranged = [](int id, int lo, int hi, int fallback) {
        const int v = ReadSettingInt(id);
        return v < lo || v > hi ? fallback : v;
    };
    SetQuietly(ui->spinWeekNo, ranged(REG_WeekNo, 1, 7, 3));
    applyWeekNoMin();
    const bool ex = ReadSettingInt(REG_WeekNoEx) == 1;
    SetQuietly(ex ? ui->rdoWeekNoEx : ui->rdoWeekNo, true);
    applyWeekNoEx();
    SetQuietly(ui->spinWeekNoMonth, ranged(REG_WeekNoMonth, 1, 12, 1));
    SetQuietly(ui->spinWeekNoDay, ranged(REG_WeekNoDay, 1, 31, 1));
    view().SetWeekNoMonth(ui->spinWeekNoMonth->value());
    view().SetWeekNoDay(ui->spinWeekNoDay->value());
    StoreSettingInt(REG_WeekNoMonth, ui->spinWeekNoMonth->value());
    StoreSettingInt(REG_WeekNoDay, ui->spinWeekNoDay->value());
    flagFrom(ui->chkShowWeekNo, nullptr, REG_ShowWeekNo);
    applyFlag(ui->chkShowWeekNo, CalFlag::ShowWeekNo, REG_ShowWeekNo);
    SetQuietly(ui->spinOffsetX, ranged(REG_CalendarOffsetX, 0, 10, 5));
    SetQuietly(ui->spinOffsetY, ranged(REG_CalendarOffsetY, 0, 10, 2));
    applyOffsets();

    // A list entry is selected without its action.
    const QString monthFormat = ReadSettingStr(REG_CalendarMonthFormat);
    view().SetMonthFormat(monthFormat);
    SelectTextQuietly(ui->cmbFormatCalendar, monthFormat);
    ui->lblFormatCalendar->setText(RenderDateTime(monthFormat, Today()));

    flagFrom(ui->chkMonthName, nullptr, REG_CalendarMonthNameShow);
    flagFrom(ui->rdoMonth01, ui->rdoMonth02, REG_CalendarMonthName);
    applyMonthNames();
    applyFlag(ui->rdoMonth01, CalFlag::MonthName, REG_CalendarMonthName);
    flagFrom(ui->chkShowRoku, nullptr, REG_CalendarShowRoku);
    flagFrom(ui->rdoRoku01, ui->rdoRoku02, REG_CalendarRokuyou);
    applyRokuyou();
    applyFlag(ui->rdoRoku01, CalFlag::Rokuyou, REG_CalendarRokuyou);
    flagFrom(ui->rdoWeek01, ui->rdoWeek02, REG_CalendarWeekName);
    applyFlag(ui->rdoWeek01, CalFlag::WeekName, REG_CalendarWeekName);
    flagFrom(ui->chkHintShow, nullptr, REG_CalendarHintShow);
    applyFlag(ui->chkHintShow, CalFlag::HintShowPop, REG_CalendarHintShow);
    flagFrom(ui->chkCalendarTextShadow, nullptr, REG_CalendarTextShadow);
    applyFlag(ui->chkCalendarTextShadow, CalFlag::Shadow, REG_CalendarTextShadow);

    // 3 is a valid value without an entry: the list shows none, the calendar
    // draws top to bottom.
    int gradation = ReadSettingInt(REG_CalendarGradationType);
    if (gradation < 0 || gradation > 3)
        gradation = 0;
    view().SetGradationDirection(GradationFromSetting(gradation));
    SelectQuietly(ui->cmbGradation, gradation < 3 ? gradation : -1);
    showSwatches();
}

void CalendarPage::chooseColour(const ColourButton& b)
{
    const std::optional<int> colour = ChooseColourRef(int(view().Color(b.color)));
    if (!colour)
        return;
    if (b.color == CalColor::Month)
        setMonthColour(quint32(*colour));
    else
        view().SetColor(b.color, quint32(*colour));
    StoreSettingInt(b.setting, *colour);
    showSwatches();
}

void CalendarPage::setMonthColour(quint32 colour)
{
    view().SetColor(CalColor::Month, colour);
    // The month font keeps a colour of its own, read after the month colour
    // at start-up: once a month font has been stored, its colour follows, or
    // the change would be lost at the next start.
    FontSpec stored = ToFontSpec(view().FontMonth(), INT_MIN, UiFace());
    ReadSettingFont(REG_CalendarFontMonth, stored);
    if (stored.color != INT_MIN && stored.color != int(colour)) {
        stored.color = int(colour);
        WriteSettingFont(REG_CalendarFontMonth, stored);
    }
}

void CalendarPage::cmdColor01Click()
{
    const BoxAnswer answer =
        Ask(BoxKind::Information,
            QStringLiteral("年月の背景色を有効（または変更）する場合には「はい」\r\n"
                           "年月の背景色を無効にする場合には「いいえ」"),
            BoxButtons::YesNoCancel);
    if (answer == BoxAnswer::No) {
        view().SetFlag(CalFlag::FrameMonth, false);
        StoreSettingInt(REG_CalendarBackManthShow, 0);
        return;
    }
    if (answer != BoxAnswer::Yes)
        return;
    const std::optional<int> colour = ChooseColourRef(int(view().Color(CalColor::FillMonth)));
    if (!colour)
        return;
    view().SetColor(CalColor::FillMonth, quint32(*colour));
    StoreSettingInt(REG_CalendarColorFillMonth, *colour);
    view().SetFlag(CalFlag::FrameMonth, true);
    StoreSettingInt(REG_CalendarBackManthShow, 1);
    showSwatches();
}

void CalendarPage::chooseFont(bool month)
{
    CalendarView& v = view();
    if (month) {
        const int colour = int(v.Color(CalColor::Month));
        const std::optional<FontSpec> chosen = ChooseFontKeepingFace(
            ToFontSpec(v.FontMonth(), colour, storedFace(REG_CalendarFontMonth)));
        if (!chosen)
            return;
        v.SetFontMonth(ToQFont(*chosen), quint32(colour));
        WriteSettingFont(REG_CalendarFontMonth, *chosen);
        return;
    }
    // The day font's stored colour is not drawn; it is kept as it was.
    FontSpec current = ToFontSpec(v.Font(), 0, UiFace());
    ReadSettingFont(REG_CalendarFont, current);
    current = ToFontSpec(v.Font(), current.color, current.name);
    const std::optional<FontSpec> chosen = ChooseFontKeepingFace(current);
    if (!chosen)
        return;
    v.SetFont(ToQFont(*chosen));
    WriteSettingFont(REG_CalendarFont, *chosen);
}

void CalendarPage::applyWeekNoMin()
{
    act([this] {
        const int v = ui->spinWeekNo->value();
        view().SetWeekNoMin(v);
        StoreSettingInt(REG_WeekNo, v);
        ui->lblWeekNo->setText(WeekNoRuleName(v));
    });
}

void CalendarPage::applyWeekNoEx()
{
    act([this] {
        const bool ex = ui->rdoWeekNoEx->isChecked();
        view().SetFlag(CalFlag::WeekNoEx, ex);
        StoreSettingInt(REG_WeekNoEx, ex ? 1 : 0);
    });
}

void CalendarPage::applyOffsets()
{
    act([this] {
        view().SetOffsetX(ui->spinOffsetX->value());
        view().SetOffsetY(ui->spinOffsetY->value());
        StoreSettingInt(REG_CalendarOffsetX, ui->spinOffsetX->value());
        StoreSettingInt(REG_CalendarOffsetY, ui->spinOffsetY->value());
    });
}

void CalendarPage::applyMonthNames()
{
    applyNameSwitch(ui->chkMonthName, {ui->rdoMonth01, ui->rdoMonth02}, CalFlag::MonthNameShow,
                    REG_CalendarMonthNameShow);
}

void CalendarPage::applyRokuyou()
{
    applyNameSwitch(ui->chkShowRoku, {ui->rdoRoku01, ui->rdoRoku02}, CalFlag::ShowRoku,
                    REG_CalendarShowRoku);
}

void CalendarPage::applyNameSwitch(QAbstractButton* box, std::array<QAbstractButton*, 2> pair,
                                   CalFlag flag, int setting)
{
    // Switched off, the kanji / hiragana pair greys out.
    const bool on = box->isChecked();
    for (QAbstractButton* b : pair)
        b->setEnabled(on);
    act([&] {
        view().SetFlag(flag, on);
        StoreSettingInt(setting, on ? 1 : 0);
    });
}

void CalendarPage::showSwatches()
{
    for (const ColourButton& b : colours_)
        b.button->setIcon(ColourSwatch(int(view().Color(b.color))));
}

} // namespace vn

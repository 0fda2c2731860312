#include "schedulepage.h"

#include "choosers.h"
#include "foundation/inifile.h"
#include "soundfiles.h"
#include "storedsettings.h"
#include "ui_schedulepage.h"

namespace vn {

namespace {

int storedPattern()
{
    return IniFile(SettingsFile())
        .readInt(QLatin1String(kSchedulePatternSection), QLatin1String(kSchedulePatternKey), 0);
}

} // namespace

SchedulePage::SchedulePage(QWidget* parent)
    : SettingsPage(parent), ui(std::make_unique<Ui::SchedulePage>())
{
    ui->setupUi(this);
    connect(ui->chkBallonHint, &QCheckBox::toggled, this, [this](bool on) {
        // The setting says whether the balloon shows: the box's inverse.
        act([&] { StoreSettingInt(REG_ScheduleBalloonHint, on ? 0 : 1); });
    });
    connect(ui->cmdScheduleOldColor, &QPushButton::clicked, this, [this] {
        act([this] {
            const std::optional<int> colour = ChooseColourRef(host_->pastScheduleColour());
            if (!colour)
                return;
            host_->setPastScheduleColour(*colour);
            StoreSettingInt(REG_ScheduleOldColor, *colour);
            ui->cmdScheduleOldColor->setIcon(ColourSwatch(*colour));
        });
    });
    connect(ui->spinAlarm, &QSpinBox::valueChanged, this,
            [this](int v) { act([&] { StoreSettingInt(REG_AlarmTime, v); }); });

    sounds_ = {
        {ui->txtWav01, ui->cmdRefWav01, ui->cmdPlayWav01, REG_SoundTodayON,
         QStringLiteral("本日予定ありのWaveファイルを指定")},
        {ui->txtWav02, ui->cmdRefWav02, ui->cmdPlayWav02, REG_SoundTodayOFF,
         QStringLiteral("本日予定なしのWaveファイルを指定")},
        {ui->txtWav11, ui->cmdRefWav11, ui->cmdPlayWav11, REG_SoundAlarm,
         QStringLiteral("警告（アラーム）のWaveファイルを指定")},
        {ui->txtWav21, ui->cmdRefWav21, ui->cmdPlayWav21, REG_SoundSchedule1,
         QStringLiteral("予定時刻（パターン１）Waveファイルを指定")},
        {ui->txtWav22, ui->cmdRefWav22, ui->cmdPlayWav22, REG_SoundSchedule2,
         QStringLiteral("予定時刻（パターン２）Waveファイルを指定")},
        {ui->txtWav23, ui->cmdRefWav23, ui->cmdPlayWav23, REG_SoundSchedule3,
         QStringLiteral("予定時刻（パターン３）Waveファイルを指定")},
    };
    for (const SoundRow& r : sounds_) {
        connect(r.pick, &QPushButton::clicked, this,
                [this, r] { act([&] { PickSoundFile(r.setting, r.field, r.title); }); });
        connect(r.play, &QPushButton::clicked, this,
                [this, r] { act([&] { PreviewSoundFile(r.field->text()); }); });
    }
    const QRadioButton* patterns[] = {ui->rdoWav21, ui->rdoWav22, ui->rdoWav23};
    for (int i = 0; i < 3; ++i)
        connect(patterns[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                act([&] { choosePattern(i); });
        });
}

SchedulePage::~SchedulePage() = default;

void SchedulePage::LoadAtCreation()
{
    SetQuietly(ui->chkBallonHint, ReadSettingInt(REG_ScheduleBalloonHint) != 1);
    StoreSettingInt(REG_ScheduleBalloonHint, ui->chkBallonHint->isChecked() ? 0 : 1);
    SetQuietly(ui->spinAlarm, ReadSettingInt(REG_AlarmTime));
    StoreSettingInt(REG_AlarmTime, ui->spinAlarm->value());
    ui->cmdScheduleOldColor->setIcon(ColourSwatch(host_->pastScheduleColour()));
    // The notifier asks for the pattern before the dialog is first shown.
    loadPattern();
}

void SchedulePage::LoadAtShowing()
{
    for (const SoundRow& r : sounds_)
        r.field->setText(ReadSettingStr(r.setting));
    loadPattern();
}

int SchedulePage::pattern() const
{
    if (ui->rdoWav22->isChecked())
        return 2;
    if (ui->rdoWav23->isChecked())
        return 3;
    return 1;
}

void SchedulePage::loadPattern()
{
    const int index = StoredSchedulePattern() - 1;
    QRadioButton* patterns[] = {ui->rdoWav21, ui->rdoWav22, ui->rdoWav23};
    SetQuietly(patterns[index], true);
    choosePattern(index);
}

void SchedulePage::choosePattern(int stored)
{
    if (storedPattern() != stored)
        IniFile(SettingsFile())
            .writeInt(QLatin1String(kSchedulePatternSection), QLatin1String(kSchedulePatternKey),
                      stored);
}

} // namespace vn

#include "memopage.h"

#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/textcodec.h"
#include "platform/autostart.h"
#include "settingpatterns.h"
#include "ui_memopage.h"

#include <QCoreApplication>

namespace vn {

namespace {

constexpr const char* kDefaultDate = "yyyy/mm/dd(aaa)";
constexpr const char* kDefaultDateTime = "yyyy/mm/dd(aaa) hh:nn:ss";

// The current moment in a pattern; an empty pattern is the built-in one.
QString sample(const QString& pattern, const char* fallback)
{
    return RenderDateTime(pattern.isEmpty() ? QString::fromLatin1(fallback) : pattern, Now());
}

} // namespace

MemoPage::MemoPage(QWidget* parent) : SettingsPage(parent), ui(std::make_unique<Ui::MemoPage>())
{
    ui->setupUi(this);
    ui->cmbDate->addItems(InsertDatePatterns());
    ui->cmbDateTime->addItems(InsertDateTimePatterns());
    ui->txtShowCount->setEmptyValue(1);
    ui->txtPause->setEmptyValue(1);

    connect(ui->txtShowCount, &QSpinBox::valueChanged, this,
            [this](int v) { act([&] { host_->setShownPageCount(v); }); });
    // The switches: each tells the main window and writes its setting.
    const struct {
        QCheckBox* box;
        void (SettingsHost::*apply)(bool);
        int setting;
    } switches[] = {
        {ui->chkMultiLineMemo, &SettingsHost::setMultiLineTabs, REG_MultiLineMemo},
        {ui->chkWordWrapMemo, &SettingsHost::setWrapPages, REG_WordWrapMemo},
        {ui->chkSepaBefor, &SettingsHost::setBreakBeforeSeparator, REG_EnvSeparationBefor},
        {ui->chkSepaAfter, &SettingsHost::setBreakAfterSeparator, REG_EnvSeparationAfter},
    };
    for (const auto& sw : switches)
        connect(sw.box, &QCheckBox::toggled, this, [this, sw](bool on) {
            act([&] {
                (host_->*sw.apply)(on);
                StoreSettingInt(sw.setting, on ? 1 : 0);
            });
        });
    connect(ui->txtSepa, &QLineEdit::textChanged, this, [this] { txtSepaChange(); });
    connect(ui->cmbDate, &QComboBox::currentIndexChanged, this, &MemoPage::chooseDate);
    connect(ui->cmbDateTime, &QComboBox::currentIndexChanged, this, &MemoPage::chooseDateTime);
    connect(ui->chkHide, &QCheckBox::toggled, this,
            [this](bool on) { act([&] { StoreSettingInt(REG_VnoteHide, on ? 1 : 0); }); });
    connect(ui->chkAutoStart, &QCheckBox::toggled, this, [this] { chkAutoStartClick(); });

    const std::array<QRadioButton*, 5> rows = {ui->rdoPause0, ui->rdoPause1, ui->rdoPause2,
                                               ui->rdoPause3Shift, ui->rdoPause4Ctrl};
    for (int kind = 0; kind < 5; ++kind)
        connect(rows[size_t(kind)], &QRadioButton::toggled, this, [this, kind](bool on) {
            if (on)
                act([&] { setPauseKind(kind); });
        });
    connect(ui->txtPause, &QSpinBox::valueChanged, this, [this] { txtPauseChange(); });
}

MemoPage::~MemoPage() = default;

void MemoPage::LoadAtCreation()
{
    SetQuietly(ui->chkHide, ReadSettingInt(REG_VnoteHide) == 1);
    StoreSettingInt(REG_VnoteHide, ui->chkHide->isChecked() ? 1 : 0);
    SetQuietly(ui->txtShowCount, host_->shownPageCount());
    host_->setShownPageCount(ui->txtShowCount->value());

    const int kind = StoredShowHideKind();
    const std::array<QRadioButton*, 5> rows = {ui->rdoPause0, ui->rdoPause1, ui->rdoPause2,
                                               ui->rdoPause3Shift, ui->rdoPause4Ctrl};
    SetQuietly(rows[size_t(kind)], true);
    setPauseKind(kind);
    const int seconds = StoredShowHideSeconds();
    SetQuietly(ui->txtPause, seconds);
    txtPauseChange();
    host_->resetShowHidePress();
}

void MemoPage::LoadAtShowing()
{
    SetQuietly(ui->chkMultiLineMemo, host_->multiLineTabs());
    host_->setMultiLineTabs(ui->chkMultiLineMemo->isChecked());
    StoreSettingInt(REG_MultiLineMemo, ui->chkMultiLineMemo->isChecked() ? 1 : 0);
    SetQuietly(ui->chkWordWrapMemo, host_->wrapPages());
    StoreSettingInt(REG_WordWrapMemo, ui->chkWordWrapMemo->isChecked() ? 1 : 0);

    {
        const QSignalBlocker block(ui->txtSepa);
        ui->txtSepa->setText(ReadSettingStr(REG_EnvSeparationMark));
    }
    txtSepaChange();
    SetQuietly(ui->chkSepaBefor, ReadSettingInt(REG_EnvSeparationBefor) == 1);
    SetQuietly(ui->chkSepaAfter, ReadSettingInt(REG_EnvSeparationAfter) == 1);
    host_->setBreakBeforeSeparator(ui->chkSepaBefor->isChecked());
    host_->setBreakAfterSeparator(ui->chkSepaAfter->isChecked());
    StoreSettingInt(REG_EnvSeparationBefor, ui->chkSepaBefor->isChecked() ? 1 : 0);
    StoreSettingInt(REG_EnvSeparationAfter, ui->chkSepaAfter->isChecked() ? 1 : 0);

    // A pattern written by hand that the list lacks stays in use.
    const QString date = ReadSettingStr(REG_EnvFormatDate);
    host_->setDateFormat(date);
    SelectTextQuietly(ui->cmbDate, date);
    const QString dateTime = ReadSettingStr(REG_EnvFormatDateTime);
    host_->setDateTimeFormat(dateTime);
    SelectTextQuietly(ui->cmbDateTime, dateTime);
    showPatterns();

    // Starting at login is what the desktop's autostart folder says.
    SetQuietly(ui->chkAutoStart, AutostartEnabled());
}

void MemoPage::SaveAtClosing()
{
    host_->setSeparator(ui->txtSepa->text());
    StoreSettingStr(REG_EnvSeparationMark, ui->txtSepa->text());
    StoreSettingInt(REG_ShowVnoteCount, host_->shownPageCount());
}

int MemoPage::pauseKind() const
{
    const std::array<QRadioButton*, 5> rows = {ui->rdoPause0, ui->rdoPause1, ui->rdoPause2,
                                               ui->rdoPause3Shift, ui->rdoPause4Ctrl};
    for (int kind = 0; kind < 5; ++kind)
        if (rows[size_t(kind)]->isChecked())
            return kind;
    return 1;
}

void MemoPage::setPauseKind(int kind)
{
    // Only the double presses have a time window.
    ui->txtPause->setEnabled(kind >= 2);
    host_->setShowHideKind(kind);
    StoreSettingInt(REG_EnvPauseKeyKind, kind);
}

void MemoPage::txtPauseChange()
{
    act([this] {
        const int seconds = ui->txtPause->value();
        host_->setShowHideInterval(seconds);
        StoreSettingInt(REG_EnvPauseKeySS, seconds);
    });
}

void MemoPage::txtSepaChange()
{
    const QString text = ui->txtSepa->text();
    ui->lblLength->setText(QString::number(SjisLength(text)) + QStringLiteral(" Byte"));
    host_->setSeparator(text);
}

void MemoPage::chooseDate(int index)
{
    if (index < 0)
        return;
    act([&] {
        const QString pattern = ui->cmbDate->itemText(index);
        host_->setDateFormat(pattern);
        StoreSettingStr(REG_EnvFormatDate, pattern);
        showPatterns();
    });
}

void MemoPage::chooseDateTime(int index)
{
    if (index < 0)
        return;
    act([&] {
        const QString pattern = ui->cmbDateTime->itemText(index);
        host_->setDateTimeFormat(pattern);
        StoreSettingStr(REG_EnvFormatDateTime, pattern);
        showPatterns();
    });
}

void MemoPage::showPatterns()
{
    ui->lblDate->setText(sample(ReadSettingStr(REG_EnvFormatDate), kDefaultDate));
    ui->lblDateTime->setText(sample(ReadSettingStr(REG_EnvFormatDateTime), kDefaultDateTime));
}

void MemoPage::chkAutoStartClick()
{
    const bool on = ui->chkAutoStart->isChecked();
    const QString program = program_.isEmpty() ? QCoreApplication::applicationFilePath() : program_;
    // A folder named by VELNOTE_DATA_DIR is named again at login.
    const DataFolderChoice data = ChooseDataFolder(CurrentDataFolderInputs());
    const QString folder = data.kind == DataFolderKind::Override ? data.folder : QString();
    act([&] { SetAutostart(on, program, AutostartFilePath(), folder); });
    // What the file says now, also after a failure.
    SetQuietly(ui->chkAutoStart, AutostartEnabled());
}

} // namespace vn

#include "balloonhintpage.h"

#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "settingpatterns.h"
#include "soundfiles.h"
#include "ui_balloonhintpage.h"

namespace vn {

namespace {

QString sample(const QString& pattern)
{
    return RenderDateTime(pattern.isEmpty() ? QStringLiteral("hh:nn") : pattern, Now());
}

} // namespace

BalloonHintPage::BalloonHintPage(QWidget* parent)
    : SettingsPage(parent), ui(std::make_unique<Ui::BalloonHintPage>())
{
    ui->setupUi(this);
    ui->cmbBalloonHint->addItems(BalloonTimePatterns());
    connect(ui->cmbBalloonHint, &QComboBox::currentIndexChanged, this,
            &BalloonHintPage::choosePattern);
    connect(ui->cmdRefWav41, &QPushButton::clicked, this, [this] {
        act([this] {
            PickSoundFile(REG_SoundBalloonHint, ui->txtWav41,
                          QStringLiteral("バルーンヒントのWaveファイルを指定"));
        });
    });
    connect(ui->cmdPlayWav41, &QPushButton::clicked, this,
            [this] { act([this] { PreviewSoundFile(ui->txtWav41->text()); }); });
}

BalloonHintPage::~BalloonHintPage() = default;

void BalloonHintPage::LoadAtShowing()
{
    const QString pattern = ReadSettingStr(REG_BalloonHintHHNN);
    host_->setBalloonTimeFormat(pattern);
    SelectTextQuietly(ui->cmbBalloonHint, pattern);
    ui->lblBalloonHint->setText(sample(pattern));
    ui->txtWav41->setText(ReadSettingStr(REG_SoundBalloonHint));
}

void BalloonHintPage::choosePattern(int index)
{
    if (index < 0)
        return;
    act([&] {
        const QString pattern = ui->cmbBalloonHint->itemText(index);
        StoreSettingStr(REG_BalloonHintHHNN, pattern);
        host_->setBalloonTimeFormat(pattern);
        host_->reloadBalloonHints(); // the list shows its times in the new pattern
        ui->lblBalloonHint->setText(sample(pattern));
    });
}

} // namespace vn

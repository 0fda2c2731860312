#include "backuppage.h"

#include "backup/backupgenerations.h"
#include "foundation/paths.h"
#include "ui_backuppage.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"

namespace vn {

BackUpPage::BackUpPage(QWidget* parent)
    : SettingsPage(parent), ui(std::make_unique<Ui::BackUpPage>())
{
    ui->setupUi(this);
    ui->cmbBackUp1->addItems(
        {QStringLiteral("毎日"), QStringLiteral("毎週"), QStringLiteral("毎月")});
    ui->cmbBackUp11->addItems({QStringLiteral("日曜日"), QStringLiteral("月曜日"),
                               QStringLiteral("火曜日"), QStringLiteral("水曜日"),
                               QStringLiteral("木曜日"), QStringLiteral("金曜日"),
                               QStringLiteral("土曜日")});
    for (int d = 1; d <= 28; ++d)
        ui->cmbBackUp12->addItem(QString::number(d) + QStringLiteral("日"));
    for (int t = 0; t < 48; ++t)
        ui->cmbBackUp20->addItem(BackUpTimeText(t));

    const std::pair<QComboBox*, int> lists[] = {
        {ui->cmbBackUp1, REG_BackUpOffset},
        {ui->cmbBackUp11, REG_BackUpWeek},
        {ui->cmbBackUp12, REG_BackUpDay},
        {ui->cmbBackUp20, REG_BackUpTime},
    };
    for (const auto& [list, setting] : lists)
        connect(list, &QComboBox::currentIndexChanged, this, [this, setting](int index) {
            if (index >= 0)
                act([&] { StoreSettingInt(setting, index); });
        });
    connect(ui->cmbBackUp1, &QComboBox::currentIndexChanged, this,
            &BackUpPage::showIntervalControls);
    connect(ui->spnBackUp30, &QSpinBox::valueChanged, this,
            [this](int v) { act([&] { StoreSettingInt(REG_BackUpMax, v); }); });

    connect(ui->Button1, &QPushButton::clicked, this, [this] { act([this] { Button1Click(); }); });
    connect(ui->cmdBackUpDelDir, &QPushButton::clicked, this,
            [this] { act([this] { cmdBackUpDelDirClick(); }); });
    connect(ui->cmdBackUpUpdate, &QPushButton::clicked, this, &BackUpPage::RefreshList);
    connect(ui->cmdBackUpRest, &QPushButton::clicked, this, [this] {
        act([this] { host_->openRestoreWindow(); });
        RefreshList();
    });
    connect(ui->cmdBackUpInfo, &QPushButton::clicked, this,
            [this] { act([this] { host_->openBackUpInfo(); }); });
}

BackUpPage::~BackUpPage() = default;

void BackUpPage::LoadBackUpControls()
{
    auto choice = [](int id, int count, int fallback) {
        const int v = ReadSettingInt(id);
        return v < 0 || v >= count ? fallback : v;
    };
    SelectQuietly(ui->cmbBackUp1, choice(REG_BackUpOffset, 3, 1));
    SelectQuietly(ui->cmbBackUp11, choice(REG_BackUpWeek, 7, 0));
    SelectQuietly(ui->cmbBackUp12, choice(REG_BackUpDay, 28, 1));
    SelectQuietly(ui->cmbBackUp20, choice(REG_BackUpTime, 48, 24));
    SetQuietly(ui->spnBackUp30, ReadSettingInt(REG_BackUpMax));
    StoreSettingInt(REG_BackUpMax, ui->spnBackUp30->value());
    showIntervalControls();
}

void BackUpPage::showIntervalControls()
{
    // Weekly names the weekday, monthly the day; daily neither.
    const int interval = ui->cmbBackUp1->currentIndex();
    ui->cmbBackUp11->setVisible(interval == 1);
    ui->cmbBackUp12->setVisible(interval == 2);
}

void BackUpPage::RefreshList()
{
    const QString selected =
        ui->lstBackUpDir->currentItem() ? ui->lstBackUpDir->currentItem()->text() : QString();
    ui->lstBackUpDir->clear();
    ui->lstBackUpDir->addItems(ListBackUpGenerations());
    const QList<QListWidgetItem*> again = ui->lstBackUpDir->findItems(selected, Qt::MatchExactly);
    if (!selected.isEmpty() && !again.isEmpty())
        ui->lstBackUpDir->setCurrentItem(again.constFirst());
}

void BackUpPage::Button1Click()
{
    BackUpResult result;
    // The memo pages as the main window holds them now.
    const SettingsBackUpSource pages([this](int page) { return host_->pageText(page); });
    const bool ok = Guarded([&] { result = MakeBackUpGeneration(pages, true); }, window());
    RefreshList();
    if (!ok)
        return;
    if (result.made)
        Ask(BoxKind::Information,
            QStringLiteral("現在の状態をバックアップしました。") +
                (result.message.isEmpty() ? QString() : QStringLiteral("\r\n") + result.message),
            BoxButtons::Ok);
    else if (!result.message.isEmpty())
        ShowErrorBox(result.message, window());
}

void BackUpPage::cmdBackUpDelDirClick()
{
    QListWidgetItem* item = ui->lstBackUpDir->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString name = item->text();
    if (Ask(BoxKind::Warning, QStringLiteral("下記バックアップファイルを削除します\r\n") + name,
            BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    DeleteBackUpGeneration(BackUpFolder() + u'/' + name);
    RefreshList();
}

} // namespace vn

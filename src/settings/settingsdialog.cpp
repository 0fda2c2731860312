#include "settingsdialog.h"

#include "backuppage.h"
#include "balloonhintpage.h"
#include "calendarpage.h"
#include "memopage.h"
#include "referencepage.h"
#include "schedulepage.h"
#include "syncpage.h"
#include "ui_settingsdialog.h"
#include "versionpage.h"
#include "widgets/errorbox.h"
#include "widgets/shelldialog.h"

#include <QShowEvent>

namespace vn {

SettingsDialog::SettingsDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::SettingsDialog>())
{
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmEnv", QStringLiteral("環境設定"), {674, 534});
    // A fixed-size dialog: a title and a close box, nothing to maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(674, 534);

    // Each page is made inside the dialog, so its controls take the dialog's
    // font as they are made rather than all changing it when added. The
    // version page is made on its own and then added: its product name and
    // its coloured lines keep the program's face they are made with.
    QTabWidget* tabs = ui->PageControl1;
    memo_ = new MemoPage(tabs);
    reference_ = new ReferencePage(tabs);
    calendar_ = new CalendarPage(tabs);
    schedule_ = new SchedulePage(tabs);
    balloon_ = new BalloonHintPage(tabs);
    backUp_ = new BackUpPage(tabs);
    version_ = new VersionPage;
    sync_ = new SyncPage(tabs);
    tabs->addTab(memo_, QStringLiteral("メモ"));
    tabs->addTab(reference_, QStringLiteral("参照ファイル"));
    tabs->addTab(calendar_, QStringLiteral("カレンダー"));
    tabs->addTab(schedule_, QStringLiteral("予定"));
    tabs->addTab(balloon_, QStringLiteral("バルーンヒント"));
    tabs->addTab(backUp_, QStringLiteral("データ・バックアップ"));
    tabs->addTab(version_, QStringLiteral("バージョン情報"));
    tabs->addTab(sync_, QStringLiteral("同期"));
    // Tab goes from the page tabs through the shown page to "閉じる".
    QWidget* last = ui->cmdClose;
    for (QWidget* w = ui->cmdClose->nextInFocusChain(); w != ui->cmdClose && w != this;
         w = w->nextInFocusChain())
        last = w;
    QWidget::setTabOrder(last, ui->cmdClose);

    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(version_, &VersionPage::distributionPageOpened, this, &QDialog::accept);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::Initialize(SettingsHost* host)
{
    host_ = host;
    for (int i = 0; i < ui->PageControl1->count(); ++i)
        static_cast<SettingsPage*>(ui->PageControl1->widget(i))->setHost(host);
    ui->PageControl1->setCurrentIndex(0);
    Guarded(
        [this] {
            showUptime(host_->uptime());
            memo_->LoadAtCreation();
            schedule_->LoadAtCreation();
            backUp_->LoadBackUpControls();
        },
        parentWidget());
}

void SettingsDialog::setProgramVersion(const QString& version)
{
    version_->setProgramVersion(version);
}

void SettingsDialog::showUptime(const UptimeTexts& uptime)
{
    version_->showUptime(uptime);
}

void SettingsDialog::refreshBackUpList()
{
    backUp_->RefreshList();
}

const ScheduleSoundPattern* SettingsDialog::soundPattern() const
{
    return schedule_;
}

QTabWidget* SettingsDialog::pageControl() const
{
    return ui->PageControl1;
}

QWidget* SettingsDialog::page(Page p) const
{
    return ui->PageControl1->widget(int(p));
}

void SettingsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
    CentreOnScreen(this);
    ui->cmdClose->setFocus();
}

void SettingsDialog::FormShow()
{
    if (!host_)
        return;
    Guarded(
        [this] {
            memo_->LoadAtShowing();
            reference_->LoadAtShowing();
            schedule_->LoadAtShowing();
            calendar_->LoadCalendarPage();
            balloon_->LoadAtShowing();
            backUp_->LoadBackUpControls();
            backUp_->RefreshList();
            sync_->LoadAccount();
        },
        this);
}

void SettingsDialog::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void SettingsDialog::FormClose()
{
    if (host_)
        Guarded([this] { memo_->SaveAtClosing(); }, this);
}

} // namespace vn

#include "syncpage.h"

#include "foundation/apperror.h"
#include "sync/syncaccount.h"
#include "sync/syncservice.h"
#include "ui_syncpage.h"
#include "widgets/uiprompts.h"

#include <QPointer>

namespace vn {

namespace {

const QString kNewCalendar = QStringLiteral("新しいカレンダーを作成");
const QString kNewCalendarName = QStringLiteral("Velnote");

sync::SyncAccount keptAccount()
{
    try {
        return sync::ReadSyncAccount(sync::SyncAccountPath());
    } catch (const AppError&) {
        return {}; // the sync itself tells why it cannot read its file
    }
}

} // namespace

SyncPage::SyncPage(QWidget* parent) : SettingsPage(parent), ui(std::make_unique<Ui::SyncPage>())
{
    ui->setupUi(this);
    ui->cboSyncCalendar->addItem(kNewCalendar);
    connect(ui->cmdSyncConnect, &QPushButton::clicked, this, [this] { act([this] { Connect(); }); });
    connect(ui->cmdSyncNow, &QPushButton::clicked, this, [this] { act([this] { SyncNow(); }); });
    connect(ui->chkSyncDiary, &QCheckBox::toggled, this, [this](bool on) {
        sync::SyncService* service = keptCalendarUrl_.isEmpty() ? nullptr : host()->syncService();
        if (!service)
            return; // kept with the account when it is set up
        QPointer<SyncPage> self(this);
        service->setDiary(on, [self](const sync::SyncReport& report) {
            if (self && !report.ok())
                self->showReport(report);
            else if (self)
                self->host()->syncAccountChanged();
        });
    });
}

SyncPage::~SyncPage() = default;

void SyncPage::LoadAccount()
{
    const sync::SyncAccount account = keptAccount();
    ui->txtSyncServer->setText(account.server);
    ui->txtSyncUser->setText(account.user);
    ui->txtSyncPassword->clear();
    ui->txtSyncPassword->setPlaceholderText(account.configured() ? QStringLiteral("（保存済み）")
                                                                 : QString());
    keptCalendarUrl_ = account.configured() ? account.calendarUrl : QString();
    ui->cboSyncCalendar->clear();
    if (account.configured())
        ui->cboSyncCalendar->addItem(account.calendarName.isEmpty() ? account.calendarUrl
                                                                    : account.calendarName,
                                     account.calendarUrl);
    ui->cboSyncCalendar->addItem(kNewCalendar);
    SetQuietly(ui->chkSyncDiary, account.diary);
    ui->lblSyncStatus->setText(account.configured() ? host()->syncStatus() : QString());
}

sync::AccountForm SyncPage::typed() const
{
    sync::AccountForm form;
    form.server = ui->txtSyncServer->text().trimmed();
    form.user = ui->txtSyncUser->text().trimmed();
    form.password = ui->txtSyncPassword->text();
    return form;
}

void SyncPage::setBusy(bool busy, const QString& status)
{
    ui->cmdSyncConnect->setEnabled(!busy);
    ui->cmdSyncNow->setEnabled(!busy);
    if (!status.isEmpty() || !busy)
        ui->lblSyncStatus->setText(status);
}

void SyncPage::showReport(const sync::SyncReport& report)
{
    setBusy(false);
    if (report.ok()) {
        ui->lblSyncStatus->setStyleSheet(QString());
        QString text = host()->syncStatus();
        if (report.pushed + report.pulled + report.deleted + report.conflicts > 0)
            text += QStringLiteral("（送信 %1、受信 %2、削除 %3）")
                        .arg(report.pushed)
                        .arg(report.pulled)
                        .arg(report.deleted);
        if (report.conflicts > 0)
            text += QStringLiteral("\n両方で変更された予定・日記が%1件あり、両方の内容を残しました")
                        .arg(report.conflicts);
        if (!report.message.isEmpty())
            text += u'\n' + report.message;
        ui->lblSyncStatus->setText(text);
        return;
    }
    ui->lblSyncStatus->setStyleSheet(QStringLiteral("color: #c00000;"));
    ui->lblSyncStatus->setText(report.message);
}

bool SyncPage::askAndRetry(const sync::SyncReport& report, sync::AccountForm& form)
{
    if (!report.certificate.isEmpty() && form.acceptedCertificate.isEmpty()) {
        const QString text =
            QStringLiteral("サーバーの証明書はこのシステムでは信頼されていません。\r\n\r\n"
                           "指紋 (SHA-256):\r\n%1\r\n\r\n"
                           "サーバーの管理者から知らされた指紋と同じときだけ、信頼してください。"
                           "この証明書を信頼して接続しますか？")
                .arg(report.certificate);
        if (Ask(BoxKind::Warning, text, BoxButtons::YesNo) != BoxAnswer::Yes)
            return false;
        form.acceptedCertificate = report.certificate;
        return true;
    }
    if (report.plainHttp && !form.plainHttpAccepted) {
        const QString text = QStringLiteral(
            "このアドレスは暗号化されていない接続 (http) です。パスワードと予定が"
            "途中で読み取られるおそれがあります。\r\n\r\nこのまま接続しますか？");
        if (Ask(BoxKind::Warning, text, BoxButtons::YesNo) != BoxAnswer::Yes)
            return false;
        form.plainHttpAccepted = true;
        return true;
    }
    return false;
}

void SyncPage::Connect()
{
    sync::AccountForm form = typed();
    if (form.server.isEmpty() || form.user.isEmpty() || form.password.isEmpty()) {
        Ask(BoxKind::Warning, QStringLiteral("サーバーのアドレス、ユーザー名とパスワードを入力してください"),
            BoxButtons::Ok);
        return;
    }
    sync::SyncService* service = host()->syncService();
    if (!service)
        return;
    setBusy(true, QStringLiteral("接続しています..."));
    QPointer<SyncPage> self(this);
    service->listCalendars(form, [self, form](const QList<sync::CalendarEntry>& calendars,
                                              const sync::SyncReport& report) {
        if (self)
            self->listed(calendars, report, form);
    });
}

void SyncPage::listed(const QList<sync::CalendarEntry>& calendars, const sync::SyncReport& report,
                      sync::AccountForm form)
{
    if (!report.ok()) {
        showReport(report);
        if (askAndRetry(report, form)) {
            setBusy(true, QStringLiteral("接続しています..."));
            QPointer<SyncPage> self(this);
            host()->syncService()->listCalendars(
                form, [self, form](const QList<sync::CalendarEntry>& found,
                                   const sync::SyncReport& again) {
                    if (self)
                        self->listed(found, again, form);
                });
        }
        return;
    }
    ui->cboSyncCalendar->clear();
    int choice = -1;
    for (const sync::CalendarEntry& c : calendars) {
        ui->cboSyncCalendar->addItem(c.name.isEmpty() ? c.url : c.name, c.url);
        if (c.url == keptCalendarUrl_ || (choice < 0 && c.name == kNewCalendarName))
            choice = ui->cboSyncCalendar->count() - 1;
    }
    ui->cboSyncCalendar->addItem(kNewCalendar);
    ui->cboSyncCalendar->setCurrentIndex(choice >= 0 ? choice : 0);
    // What the user accepted on the way goes with the account.
    ui->cboSyncCalendar->setProperty("acceptedCertificate", form.acceptedCertificate);
    ui->cboSyncCalendar->setProperty("plainHttpAccepted", form.plainHttpAccepted);
    setBusy(false, calendars.isEmpty()
                       ? QStringLiteral("このアカウントにはまだカレンダーがありません。"
                                        "「今すぐ同期」で「%1」を作成して同期します")
                             .arg(kNewCalendarName)
                       : QStringLiteral("%1個のカレンダーが見つかりました。同期するカレンダーを"
                                        "選んで「今すぐ同期」を押してください")
                             .arg(calendars.size()));
    ui->lblSyncStatus->setStyleSheet(QString());
}

void SyncPage::SyncNow()
{
    sync::AccountForm form = typed();
    const QString chosen = ui->cboSyncCalendar->currentData().toString();
    const bool changed = !form.password.isEmpty() || chosen != keptCalendarUrl_;
    if (!changed && keptCalendarUrl_.isEmpty()) {
        Ask(BoxKind::Warning,
            QStringLiteral("サーバーのアドレス、ユーザー名とパスワードを入力して、"
                           "「接続してカレンダーを取得」を押してください"),
            BoxButtons::Ok);
        return;
    }
    if (changed) {
        if (form.password.isEmpty()) {
            Ask(BoxKind::Warning, QStringLiteral("パスワードを入力してください"), BoxButtons::Ok);
            return;
        }
        form.acceptedCertificate = ui->cboSyncCalendar->property("acceptedCertificate").toString();
        form.plainHttpAccepted = ui->cboSyncCalendar->property("plainHttpAccepted").toBool();
        setUpThenSync(form);
        return;
    }
    setBusy(true, QStringLiteral("同期しています..."));
    QPointer<SyncPage> self(this);
    host()->syncNow([self](const sync::SyncReport& report) {
        if (self)
            self->showReport(report);
    });
}

void SyncPage::setUpThenSync(sync::AccountForm form)
{
    const QString url = ui->cboSyncCalendar->currentData().toString();
    const QString name = url.isEmpty() ? kNewCalendarName : ui->cboSyncCalendar->currentText();
    setBusy(true, QStringLiteral("設定を保存しています..."));
    QPointer<SyncPage> self(this);
    sync::SyncService* service = host()->syncService();
    if (!service) {
        setBusy(false);
        return;
    }
    service->setUp(
        form, url, name, ui->chkSyncDiary->isChecked(), [self, form](const sync::SyncReport& report) {
            if (!self)
                return;
            sync::AccountForm again = form;
            if (!report.ok()) {
                self->showReport(report);
                if (self->askAndRetry(report, again))
                    self->setUpThenSync(again);
                return;
            }
            const QString remark = report.message; // no keyring: kept for this run only
            self->LoadAccount();
            self->host()->syncAccountChanged();
            self->setBusy(true, QStringLiteral("同期しています..."));
            self->host()->syncNow([self, remark](const sync::SyncReport& done) {
                if (!self)
                    return;
                sync::SyncReport shown = done;
                if (done.ok() && !remark.isEmpty())
                    shown.message = remark;
                self->showReport(shown);
            });
        });
}

} // namespace vn

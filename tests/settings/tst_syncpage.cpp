// The page "同期": connect, choose, set up and sync through the service; a
// refused certificate or plain http is asked about and the request made
// again with the user's consent; the account shown is the one kept.
#include "fakeplatform.h"
#include "fakesettingshost.h"
#include "scriptedprompts.h"
#include "settings/syncpage.h"
#include "sync/syncaccount.h"
#include "sync/syncservice.h"
#include "tempdatafolder.h"
#include "ui_syncpage.h"

#include <QTest>

using namespace vn;
using namespace vn::test;
using Outcome = sync::SyncReport::Outcome;

namespace {

// Answers at once, as told; records what it was asked.
struct ScriptedService : sync::SyncService {
    QList<sync::AccountForm> listed;
    QList<sync::SyncReport> listAnswers; // one per listCalendars, then Done
    QList<sync::CalendarEntry> calendars;
    struct SetUp {
        sync::AccountForm form;
        QString url, name;
        bool diary;
    };
    QList<SetUp> setUps;
    void listCalendars(const sync::AccountForm& form, CalendarsDone done) override
    {
        listed.append(form);
        done(calendars, listAnswers.isEmpty() ? sync::SyncReport{} : listAnswers.takeFirst());
    }
    void setUp(const sync::AccountForm& form, const QString& url, const QString& name, bool diary,
               Done done) override
    {
        setUps.append({form, url, name, diary});
        done({});
    }
    void setDiary(bool, Done) override {}
    void syncNow(Done) override {}
    void forget(Done) override {}
    bool waitIdle(int) override { return true; }
};

struct SyncHost : FakeSettingsHost {
    ScriptedService service;
    int syncs = 0, accountChanges = 0;
    sync::SyncService* syncService() override { return &service; }
    void syncAccountChanged() override { ++accountChanges; }
    void syncNow(std::function<void(const sync::SyncReport&)> done) override
    {
        ++syncs;
        sync::SyncReport report;
        report.pushed = 3;
        done(report);
    }
    QString syncStatus() const override { return QStringLiteral("最終同期 12:34"); }
};

sync::SyncReport refused(const QString& certificate)
{
    sync::SyncReport r;
    r.outcome = Outcome::UserMustAct;
    r.message = QStringLiteral("refused");
    r.certificate = certificate;
    r.plainHttp = certificate.isEmpty();
    return r;
}

} // namespace

class TstSyncPage : public QObject {
    Q_OBJECT
private slots:
    // A refusal the user may overrule: asked once; "yes" connects again
    // with the consent, which then goes with the account; "no" stops.
    void consentIsAskedAndKept_data()
    {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<bool>("yes");
        QTest::newRow("certificate accepted") << QStringLiteral("AB:CD") << true;
        QTest::newRow("certificate refused") << QStringLiteral("AB:CD") << false;
        QTest::newRow("plain http accepted") << QString() << true;
        QTest::newRow("plain http refused") << QString() << false;
    }
    void consentIsAskedAndKept()
    {
        QFETCH(QString, certificate);
        QFETCH(bool, yes);
        TempDataFolder dir;
        auto fake = MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        ScriptedPrompts prompts;
        prompts.answers = {yes ? BoxAnswer::Yes : BoxAnswer::No};
        SyncHost host;
        host.service.listAnswers = {refused(certificate)};
        host.service.calendars = {{QStringLiteral("https://dav/a/work/"), QStringLiteral("仕事")},
                                  {QStringLiteral("https://dav/a/velnote/"), QStringLiteral("Velnote")}};
        SyncPage page;
        page.setHost(&host);
        page.LoadAccount();
        const Ui::SyncPage& ui = page.form();
        ui.txtSyncServer->setText(QStringLiteral("dav.example.com"));
        ui.txtSyncUser->setText(QStringLiteral("alice"));
        ui.txtSyncPassword->setText(QStringLiteral("secret"));
        page.Connect();

        QCOMPARE(prompts.boxes.size(), 1);
        QCOMPARE(host.service.listed.size(), yes ? 2 : 1);
        if (!yes) {
            QCOMPARE(ui.cboSyncCalendar->count(), 1); // only "新しいカレンダーを作成"
            return;
        }
        QCOMPARE(host.service.listed[1].acceptedCertificate, certificate);
        QCOMPARE(host.service.listed[1].plainHttpAccepted, certificate.isEmpty());
        // The calendar named "Velnote" is chosen; the others and "new" are offered.
        QCOMPARE(ui.cboSyncCalendar->count(), 3);
        QCOMPARE(ui.cboSyncCalendar->currentText(), QStringLiteral("Velnote"));

        ui.chkSyncDiary->setChecked(true);
        page.SyncNow();
        QCOMPARE(host.service.setUps.size(), 1);
        const ScriptedService::SetUp& s = host.service.setUps[0];
        QCOMPARE(s.url, QStringLiteral("https://dav/a/velnote/"));
        QCOMPARE(s.form.password, QStringLiteral("secret"));
        QCOMPARE(s.form.acceptedCertificate, certificate);
        QCOMPARE(s.form.plainHttpAccepted, certificate.isEmpty());
        QVERIFY(s.diary);
        QCOMPARE(host.accountChanges, 1);
        QCOMPARE(host.syncs, 1);
        QVERIFY(ui.lblSyncStatus->text().contains(QStringLiteral("送信 3")));
        SetPlatform(nullptr);
    }

    // The page shows the account kept in the data folder, never a
    // password; syncing a kept account neither sets it up nor asks.
    void showsTheKeptAccount()
    {
        TempDataFolder dir;
        auto fake = MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        ScriptedPrompts prompts;
        sync::SyncAccount account;
        account.server = QStringLiteral("https://dav.example.com/");
        account.user = QStringLiteral("alice");
        account.calendarUrl = QStringLiteral("https://dav.example.com/alice/velnote/");
        account.calendarName = QStringLiteral("Velnote");
        account.diary = true;
        sync::WriteSyncAccount(sync::SyncAccountPath(), account);
        SyncHost host;
        SyncPage page;
        page.setHost(&host);
        page.LoadAccount();
        const Ui::SyncPage& ui = page.form();
        QCOMPARE(ui.txtSyncServer->text(), account.server);
        QCOMPARE(ui.txtSyncUser->text(), account.user);
        QVERIFY(ui.txtSyncPassword->text().isEmpty());
        QCOMPARE(ui.cboSyncCalendar->currentText(), QStringLiteral("Velnote"));
        QVERIFY(ui.chkSyncDiary->isChecked());
        QCOMPARE(ui.lblSyncStatus->text(), QStringLiteral("最終同期 12:34"));
        page.SyncNow();
        QVERIFY(host.service.setUps.isEmpty());
        QCOMPARE(host.syncs, 1);
        QVERIFY(prompts.boxes.isEmpty());
        SetPlatform(nullptr);
    }
};

QTEST_MAIN(TstSyncPage)
#include "tst_syncpage.moc"

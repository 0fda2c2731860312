// The background sync's timing and telling: when it syncs, how it waits
// after a failure, what the user is told and how often.
#include "app/syncjob.h"

#include <QTest>

using namespace vn;
using Outcome = sync::SyncReport::Outcome;

namespace {

// A service whose syncs end when the test says, with the outcome it says.
class FakeService : public sync::SyncService {
public:
    QList<Done> waiting;
    int syncs = 0;
    void listCalendars(const sync::AccountForm&, CalendarsDone) override {}
    void setUp(const sync::AccountForm&, const QString&, const QString&, bool, Done) override {}
    void setDiary(bool, Done) override {}
    void syncNow(Done done) override
    {
        ++syncs;
        waiting.append(std::move(done));
    }
    void forget(Done) override {}
    bool waitIdle(int) override { return true; }
    void end(Outcome outcome, const QString& message = {})
    {
        sync::SyncReport report;
        report.outcome = outcome;
        report.message = message;
        for (const Done& d : std::exchange(waiting, {}))
            if (d)
                d(report);
    }
};

struct Harness {
    FakeService* service = nullptr;
    QStringList told;
    QString status;
    bool configured = true;
    int loads = 0;
    std::unique_ptr<SyncJob> job;
    Harness()
    {
        SyncJob::Hooks hooks;
        hooks.tellUser = [this](const QString& m) { told.append(m); };
        hooks.showStatus = [this](const QString& s) { status = s; };
        hooks.load = [this](QString*) {
            ++loads;
            auto s = std::make_unique<FakeService>();
            service = s.get();
            return std::unique_ptr<sync::SyncService>(std::move(s));
        };
        hooks.configured = [this] { return configured; };
        job = std::make_unique<SyncJob>(std::move(hooks));
    }
};

} // namespace

class TstSyncJob : public QObject {
    Q_OBJECT
private slots:
    // A series of sync outcomes: the pause before the next try, and the
    // messages told (each cause once, again only after a success between).
    void outcomesSetRetryAndTelling_data()
    {
        QTest::addColumn<QList<int>>("outcomes");
        QTest::addColumn<QList<int>>("retries");
        QTest::addColumn<int>("toldCount");
        const int done = int(Outcome::Done), off = int(Outcome::Offline),
                  act = int(Outcome::UserMustAct), bad = int(Outcome::Failed);
        const int first = SyncJob::kFirstRetryMSecs;
        QTest::newRow("offline doubles the pause up to the longest")
            << QList<int>{off, off, off, off, off, off, off, off}
            << QList<int>{first, 2 * first, 4 * first, 8 * first, 16 * first,
                          SyncJob::kLongestRetryMSecs, SyncJob::kLongestRetryMSecs,
                          SyncJob::kLongestRetryMSecs}
            << 0;
        QTest::newRow("a success ends the pauses")
            << QList<int>{off, bad, done, off} << QList<int>{first, 2 * first, 0, first} << 0;
        QTest::newRow("the same cause is told once")
            << QList<int>{act, act, act} << QList<int>{0, 0, 0} << 1;
        QTest::newRow("told again after a success")
            << QList<int>{act, done, act} << QList<int>{0, 0, 0} << 2;
    }
    void outcomesSetRetryAndTelling()
    {
        QFETCH(QList<int>, outcomes);
        QFETCH(QList<int>, retries);
        QFETCH(int, toldCount);
        Harness h;
        for (int i = 0; i < outcomes.size(); ++i) {
            h.job->syncNow();
            QVERIFY(h.service);
            QCOMPARE(h.service->waiting.size(), 1);
            h.service->end(Outcome(outcomes[i]), QStringLiteral("パスワードが違います"));
            QCOMPARE(h.job->retryMSecs(), retries[i]);
            if (retries[i] > 0) {
                QVERIFY(h.job->soonTimer()->isActive());
                QCOMPARE(h.job->soonTimer()->interval(), retries[i]);
            }
        }
        QCOMPARE(h.told.size(), toldCount);
        QCOMPARE(h.loads, 1); // the module is loaded once
    }

    // Without an account nothing is loaded, scheduled or synced; with one,
    // the start and a change each bring a sync a little later, and the
    // status shows the last sync.
    void followsTheAccount()
    {
        Harness h;
        h.configured = false;
        h.job->start();
        h.job->localChanged();
        h.job->syncNow();
        QVERIFY(!h.job->soonTimer()->isActive());
        QCOMPARE(h.loads, 0);

        h.configured = true;
        h.job->accountChanged();
        QVERIFY(h.job->soonTimer()->isActive());
        QCOMPARE(h.job->soonTimer()->interval(), SyncJob::kStartDelayMSecs);
        QVERIFY(QMetaObject::invokeMethod(h.job->soonTimer(), "timeout"));
        QCOMPARE(h.service->syncs, 1);
        h.service->end(Outcome::Done);
        QVERIFY(h.status.startsWith(QStringLiteral("最終同期 ")));

        h.job->localChanged();
        QCOMPARE(h.job->soonTimer()->interval(), SyncJob::kChangeDelayMSecs);
        // The end syncs once more, and nothing is scheduled after it.
        h.job->finish();
        QCOMPARE(h.service->syncs, 2);
        QVERIFY(!h.job->soonTimer()->isActive());
        h.job->localChanged();
        QVERIFY(!h.job->soonTimer()->isActive());
    }
};

QTEST_GUILESS_MAIN(TstSyncJob)
#include "tst_syncjob.moc"

// The three-way decision: (as of the last sync, here now, there now) -> action.
#include "sync/syncdecision.h"

#include <QTest>

using namespace vn::sync;

namespace {

// "-" absent, "()" present without lines, else lines separated by "|".
std::optional<QStringList> lines(const QString& s)
{
    if (s == QLatin1String("-"))
        return std::nullopt;
    if (s == QLatin1String("()"))
        return QStringList();
    return s.split(u'|');
}

} // namespace

class TstSyncDecision : public QObject {
    Q_OBJECT
private slots:
    void decides_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("action");
        const auto row = [](const char* name, const char* b, const char* l, const char* r,
                            SyncAction a) { QTest::newRow(name) << b << l << r << ActionName(a); };
        row("nowhere", "-", "-", "-", SyncAction::None);
        row("unchanged", "a", "a", "a", SyncAction::None);
        row("same lines in another order", "a|b", "b|a", "a|b", SyncAction::None);
        row("an event that gives no line", "()", "()", "()", SyncAction::None);
        row("new here", "-", "a", "-", SyncAction::PushNew);
        row("new there", "-", "-", "a", SyncAction::PullNew);
        row("new on both sides, alike", "-", "a", "a", SyncAction::Adopt);
        row("new on both sides, different", "-", "a", "b", SyncAction::Conflict);
        row("changed here", "a", "b", "a", SyncAction::PushChanged);
        row("changed there", "a", "a", "b", SyncAction::PullChanged);
        row("changed there to no line", "a", "a", "()", SyncAction::PullChanged);
        row("changed alike on both sides", "a", "b", "b", SyncAction::Adopt);
        row("changed differently on both sides", "a", "b", "c", SyncAction::Conflict);
        row("one of two lines changed there", "a|b", "a|b", "a|c", SyncAction::PullChanged);
        row("deleted here", "a", "-", "a", SyncAction::DeleteRemote);
        row("deleted there", "a", "a", "-", SyncAction::DeleteLocal);
        row("deleted on both sides", "a", "-", "-", SyncAction::Forget);
        row("deleted here, changed there: kept", "a", "-", "b", SyncAction::PullNew);
        row("changed here, deleted there: kept", "a", "b", "-", SyncAction::PushNew);
    }
    void decides()
    {
        QFETCH(QString, base);
        QFETCH(QString, local);
        QFETCH(QString, remote);
        QFETCH(QString, action);
        QCOMPARE(QString::fromLatin1(ActionName(Decide(lines(base), lines(local), lines(remote)))),
                 action);
    }
};

QTEST_GUILESS_MAIN(TstSyncDecision)
#include "tst_syncdecision.moc"

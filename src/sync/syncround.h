#pragma once
// One round of a sync (used by RunSync only): the state, the server's
// changes and the files here are read, every item is decided, and the
// decisions are carried out, the server's side first. A write to the server
// that meets a change made there meanwhile (412) leaves the item for the
// next round, which decides it again.
#include "syncdecision.h"
#include "syncengine.h"
#include "synclocal.h"
#include "syncmapping.h"
#include "syncstate.h"

#include <QSet>

#include <map>
#include <optional>
#include <vector>

namespace vn::sync {

// A failure of the server that ends the sync.
struct SyncStop {
    TransportError error;
};

class SyncRound {
public:
    SyncRound(const QString& dataDir, CalendarTransport& transport, const SyncOptions& options,
              const HolidayTest& holiday, SyncResult& result);

    // True when the round finished; false when the server changed meanwhile
    // and another round is due. Throws SyncStop and AppError.
    bool run();
    // Saves what was done before a failure.
    void saveAfterFailure();

private:
    using Type = SyncedItem::Type;
    using Lines = std::optional<QStringList>;

    struct Fetched {
        QByteArray etag;
        RemoteContent content;
    };
    // One event or diary day, three ways.
    struct Work {
        QString href;
        Type type = Type::Event;
        QString uid;
        QString day;
        Lines base, local, remote;
        QByteArray etag;    // the server's, as far as known
        bool whole = false; // events: every line of base is here
        bool skip = false;  // a diary day that may not be written
        SyncAction action = SyncAction::None;
    };

    // Reading and matching (syncround.cpp).
    void loadState();
    void check(const TransportError& e);
    void listRemote();
    bool usable(const RemoteContent& c) const;
    void buildWork();
    QString freshUid(const QString& line, Type type);
    void matchEvents();
    void matchJournals();

    // Carrying out (syncengine.cpp).
    void writeRemote();
    void push(Work& w);
    void pushAsNew(const QStringList& lines);
    void mergeDiary(Work& w);
    void writeSchedules();
    void writeDiary();
    bool put(const QString& href, const QByteArray& data, const QByteArray& ifMatch,
             QByteArray* etag);
    bool remove(const QString& href, const QByteArray& ifMatch);
    void dayChanged(const QString& day);
    void record(const Work& w, const QStringList& lines);
    void forget(const QString& href) { state_.items.erase(href); }
    void saveSoon();
    void save();

    const QString statePath_;
    CalendarTransport& t_;
    const SyncOptions& options_;
    const HolidayTest& holiday_;
    SyncResult& result_;
    IcalOptions ical_;
    LocalSchedules schedules_;
    LocalDiary diary_;

    SyncState state_;
    bool loaded_ = false;
    QByteArray token_;
    QSet<QString> gone_;
    std::map<QString, Fetched> fetched_;
    QSet<QString> uids_;
    std::vector<Work> work_;
    bool retry_ = false;    // a write met a change there: another round
    bool deferred_ = false; // something waits for the next sync
    qint64 savedAt_ = 0;
};

} // namespace vn::sync

#pragma once
// What sync keeps of its own between two syncs, in the file VnoteSync.dat of
// the data folder (JSON): the calendar it syncs with, the server's sync
// token, and for each resource on the server its href, UID and ETag and what
// it was here as of the last sync (the schedule lines an event gave, or the
// lines of a diary day). The Windows-format files hold nothing of this.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

namespace vn::sync {

inline constexpr const char* kSyncStateFileName = "VnoteSync.dat";

struct SyncedItem {
    enum class Type {
        Event,   // schedule lines
        Journal, // one diary day
        Other,   // anything else on the server (a to-do, a journal not synced)
    };
    Type type = Type::Other;
    QString uid;
    QByteArray etag;
    QStringList lines; // as of the last sync
    QString day;       // journals: "yyyymmdd"

    friend bool operator==(const SyncedItem&, const SyncedItem&) = default;
};

struct SyncState {
    QString calendar;                    // the calendar the items belong to
    bool diary = false;                  // whether diary days were synced
    QByteArray syncToken;                // empty: the next listing is a full one
    std::map<QString, SyncedItem> items; // by href

    friend bool operator==(const SyncState&, const SyncState&) = default;

    // Throws AppError when the file is there but cannot be read; a file that
    // is no state of ours (damaged) gives an empty state.
    static SyncState Load(const QString& path);
    QByteArray toJson() const;
    // Written atomically, and only when the file does not hold it already.
    void save(const QString& path) const;
};

} // namespace vn::sync

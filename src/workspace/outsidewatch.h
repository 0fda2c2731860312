#pragma once
// Files of the data folder that other programs may change while the program
// runs (a sync tool, an editor, a second PC): they are watched, and what the
// stores report of such changes is told to the user once per file.
//
// A watcher loses a file that is replaced by a rename (as sync tools and
// many editors save), so the folders are watched too and lost files are
// watched again; network folders may tell nothing at all, which is why every
// store also checks its file before each rewrite.
#include "foundation/outsidechange.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>

class QFileSystemWatcher;
class QTimer;

namespace vn {

class OutsideWatch : public QObject {
    Q_OBJECT
public:
    explicit OutsideWatch(QObject* parent = nullptr);
    // The files to watch (missing ones are looked for when their folder
    // changes) and the folders that hold them.
    void watch(const QStringList& files);

signals:
    // Some watched file may have changed (a burst of changes is one signal).
    void changed();

private:
    void rewatch();

    QFileSystemWatcher* watcher_;
    QTimer* settle_;
    QStringList files_;
};

// Gathers the stores' reports and tells the user in one box that does not
// wait: one box at a time, each conflict copy told once.
// `openAsReference` opens a conflict copy as a reference page (false when
// no slot is free).
class OutsideChangeNotices : public QObject {
    Q_OBJECT
public:
    explicit OutsideChangeNotices(std::function<bool(const QString&)> openAsReference,
                                  QObject* parent = nullptr);
    ~OutsideChangeNotices() override;
    // Reports kept so far and not yet shown (tests).
    const QList<OutsideChange>& pending() const { return pending_; }

signals:
    // Pages and the diary have already taken the change in; the lists
    // reread their files when they are next shown.
    void takenIn(const QString& path);

private:
    void report(const OutsideChange& change);
    void show();

    std::function<bool(const QString&)> openAsReference_;
    QList<OutsideChange> pending_;
    QSet<QString> told_; // conflict copies already told
    bool showing_ = false;
    bool queued_ = false;
};

} // namespace vn

#include "syncround.h"

#include "calendar/diarystore.h"

#include <QHash>

#include <algorithm>

namespace vn::sync {

namespace {

constexpr int kFetchBatch = 50; // resources asked for at once

QString scheduleText(const QString& line)
{
    ScheduleFields f;
    return ReadScheduleLine(line, &f) == LineRead::Schedule ? f.text : QString();
}

} // namespace

SyncRound::SyncRound(const QString& dataDir, CalendarTransport& transport,
                     const SyncOptions& options, const HolidayTest& holiday, SyncResult& result)
    : statePath_(SyncStatePath(dataDir)), t_(transport), options_(options), holiday_(holiday),
      result_(result), schedules_(dataDir + QStringLiteral("/Schedule.dat")),
      diary_(dataDir + QStringLiteral("/Diary"))
{
    ical_.timeZone = options.timeZone;
}

void SyncRound::loadState()
{
    state_ = SyncState::Load(statePath_);
    if (state_.calendar != options_.calendar) {
        state_ = SyncState();
        state_.calendar = options_.calendar;
    }
    if (state_.diary != options_.diary) {
        // Journals were not looked at, or are no longer: list all again.
        std::erase_if(state_.items, [](const auto& i) { return i.second.type != Type::Event; });
        state_.diary = options_.diary;
        state_.syncToken.clear();
    }
    for (const auto& [href, item] : state_.items)
        uids_.insert(item.uid);
    loaded_ = true;
}

void SyncRound::check(const TransportError& e)
{
    if (!e.ok())
        throw SyncStop{e};
}

void SyncRound::listRemote()
{
    TransportError e;
    RemoteChanges changes = t_.changesSince(state_.syncToken, e);
    if (e.kind == TransportError::Kind::SyncTokenInvalid) {
        e = {};
        changes = t_.changesSince({}, e);
    }
    check(e);
    token_ = changes.syncToken;
    QStringList wanted;
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it) {
        const auto known = state_.items.find(it.key());
        if (known == state_.items.end() || it.value().isEmpty() || known->second.etag != it.value())
            wanted.append(it.key());
    }
    for (const QString& href : changes.deleted)
        gone_.insert(href);
    if (changes.complete)
        for (const auto& [href, item] : state_.items)
            if (!changes.changed.contains(href))
                gone_.insert(href);
    std::sort(wanted.begin(), wanted.end());
    for (qsizetype i = 0; i < wanted.size(); i += kFetchBatch) {
        const QStringList batch = wanted.mid(i, kFetchBatch);
        const QList<RemoteResource> got = t_.fetch(batch, e);
        check(e);
        QSet<QString> seen;
        for (const RemoteResource& r : got) {
            seen.insert(r.href);
            fetched_[r.href] = {r.etag, ReadRemote(r.data, holiday_, ical_)};
            uids_.insert(fetched_[r.href].content.uid);
        }
        for (const QString& href : batch)
            if (!seen.contains(href))
                gone_.insert(href);
    }
}

bool SyncRound::usable(const RemoteContent& c) const
{
    if (c.type == Type::Event)
        return true;
    return c.type == Type::Journal && options_.diary &&
           c.day.left(6).toInt() >= cal::DiaryStore::kFirstSavedMonth;
}

void SyncRound::buildWork()
{
    for (auto it = state_.items.begin(); it != state_.items.end();) {
        const auto& [href, item] = *it;
        if (item.type == Type::Other) {
            // Gone, or changed: then looked at again as if new.
            const bool again = gone_.contains(href) || fetched_.count(href);
            it = again ? state_.items.erase(it) : std::next(it);
            continue;
        }
        Work w{href, item.type, item.uid, item.day, item.lines, {}, item.lines, item.etag};
        if (gone_.contains(href)) {
            w.remote.reset();
            w.etag.clear();
        } else if (const auto f = fetched_.find(href); f != fetched_.end()) {
            const RemoteContent& c = f->second.content;
            if (c.type == item.type && c.day == item.day) {
                w.remote = c.lines;
            } else {
                // No longer what it was (a journal moved to another day):
                // gone as it was, and taken as new in the next round.
                w.remote.reset();
                retry_ = true;
            }
            w.etag = f->second.etag;
        }
        work_.push_back(std::move(w));
        ++it;
    }
    for (const auto& [href, f] : fetched_) {
        if (state_.items.count(href))
            continue;
        if (!usable(f.content)) {
            // Kept in mind so that it is not fetched again.
            state_.items[href] = {Type::Other, f.content.uid, f.etag, {}, {}};
            continue;
        }
        work_.push_back({href, f.content.type, f.content.uid, f.content.day, std::nullopt,
                         std::nullopt, f.content.lines, f.etag});
    }
}

QString SyncRound::freshUid(const QString& line, Type type)
{
    for (int n = 1;; ++n) {
        const QString uid = type == Type::Journal ? UidForDay(line) : UidForLine(line, n);
        const QString href = t_.hrefForNew(uid);
        if (type == Type::Journal ||
            (!uids_.contains(uid) && !state_.items.count(href) && !fetched_.count(href))) {
            uids_.insert(uid);
            return uid;
        }
    }
}

// Which event each schedule line here belongs to: an event's own lines
// first; then lines that are what the server now holds (written by a
// sync broken off, or alike on two PCs); then a line changed in place of
// a single-line event; the rest are new.
void SyncRound::matchEvents()
{
    QHash<QString, int> free;
    for (const QString& line : schedules_.lines())
        ++free[line];
    auto take = [&](const QStringList& lines) {
        QHash<QString, int> need;
        for (const QString& l : lines)
            if (++need[l] > free.value(l))
                return false;
        for (const QString& l : lines)
            --free[l];
        return true;
    };
    std::vector<Work*> events;
    for (Work& w : work_)
        if (w.type == Type::Event)
            events.push_back(&w);
    for (Work* w : events) {
        QStringList present;
        if (w->base)
            for (const QString& l : *w->base)
                if (free.value(l) > 0) {
                    --free[l];
                    present.append(l);
                }
        w->local = present;
        w->whole = w->base && present.size() == w->base->size();
    }
    for (Work* w : events) {
        if (w->whole || !w->remote || w->remote == w->base)
            continue;
        for (const QString& l : *w->local)
            ++free[l];
        if (take(*w->remote)) {
            w->local = w->remote;
            w->whole = true;
        } else {
            take(*w->local);
        }
    }
    for (Work* w : events) {
        if (w->whole || !w->local->isEmpty() || !w->base || w->base->size() != 1)
            continue;
        const QString& was = w->base->front();
        for (const QString& line : schedules_.lines()) {
            if (free.value(line) > 0 &&
                (line.left(12) == was.left(12) || scheduleText(line) == scheduleText(was))) {
                --free[line];
                w->local = QStringList{line};
                w->whole = true;
                break;
            }
        }
    }
    for (Work* w : events)
        if (!w->whole && w->local->isEmpty())
            w->local.reset();
    for (const QString& line : schedules_.lines()) {
        while (free.value(line) > 0) {
            --free[line];
            const QString uid = freshUid(line, Type::Event);
            work_.push_back({t_.hrefForNew(uid),
                             Type::Event,
                             uid,
                             {},
                             std::nullopt,
                             QStringList{line},
                             std::nullopt,
                             {}});
        }
    }
}

void SyncRound::matchJournals()
{
    if (!options_.diary)
        return;
    QSet<QString> claimed;
    const auto& days = diary_.days();
    for (Work& w : work_) {
        if (w.type != Type::Journal)
            continue;
        if (claimed.contains(w.day)) {
            // A second journal for a day: left on the server as it is.
            state_.items[w.href] = {Type::Other, w.uid, w.etag, {}, {}};
            w.skip = true;
            continue;
        }
        claimed.insert(w.day);
        const auto d = days.find(w.day);
        if (d != days.end())
            w.local = d->second.lines;
        w.skip = !diary_.writable(w.day);
        if (w.skip && w.remote != w.base)
            deferred_ = true;
    }
    for (const auto& [day, d] : days) {
        if (claimed.contains(day) || !diary_.writable(day))
            continue;
        const QString uid = freshUid(day, Type::Journal);
        work_.push_back(
            {t_.hrefForNew(uid), Type::Journal, uid, day, std::nullopt, d.lines, std::nullopt, {}});
    }
}

} // namespace vn::sync

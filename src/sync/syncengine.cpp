#include "syncround.h"

#include "calendar/holidaytable.h"
#include "foundation/apperror.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"

#include <functional>

namespace vn::sync {

namespace {

constexpr int kRounds = 3;         // rounds of one sync when the server changed meanwhile
constexpr qint64 kSaveEvery = 500; // ms: the state is saved at least this often while writing

// The line a diary day's text from elsewhere is appended under.
const QString kSeparatorHead = QStringLiteral("----- ");
const QString kSeparatorTail = QStringLiteral(" 別の端末で書かれた日記 -----");

bool isSeparator(const QString& line)
{
    return line.startsWith(kSeparatorHead) && line.endsWith(kSeparatorTail);
}

// A diary text that already ends with the other text under a separator.
bool alreadyMerged(const QStringList& local, const QStringList& remote)
{
    const qsizetype at = local.size() - remote.size() - 1;
    return at >= 0 && isSeparator(local[at]) && local.mid(at + 1) == remote;
}

} // namespace

bool SyncRound::run()
{
    loadState();
    listRemote();
    schedules_.read();
    if (options_.diary)
        diary_.read();
    buildWork();
    matchEvents();
    matchJournals();
    for (Work& w : work_)
        if (!w.skip)
            w.action = Decide(w.base, w.local, w.remote);
    writeRemote();
    writeSchedules();
    writeDiary();
    if (!retry_ && !deferred_)
        state_.syncToken = token_;
    save();
    result_.complete = !retry_ && !deferred_;
    return !retry_;
}

void SyncRound::saveAfterFailure()
{
    if (loaded_)
        save();
}

// The server's side of each decision.
void SyncRound::writeRemote()
{
    for (Work& w : work_) {
        if (w.skip)
            continue;
        switch (w.action) {
        case SyncAction::None:
            if (state_.items.count(w.href) && state_.items[w.href].etag != w.etag)
                record(w, *w.base);
            break;
        case SyncAction::Adopt: record(w, *w.local); break;
        case SyncAction::Forget: forget(w.href); break;
        case SyncAction::PushNew:
        case SyncAction::PushChanged: push(w); break;
        case SyncAction::DeleteRemote:
            if (remove(w.href, w.etag)) {
                forget(w.href);
                ++result_.deleted;
            }
            break;
        case SyncAction::Conflict:
            if (w.type == Type::Event) {
                // The version here goes there as new events; the one
                // from there comes here with the schedule writes.
                pushAsNew(*w.local);
            } else {
                mergeDiary(w);
            }
            ++result_.conflicts;
            break;
        default: break;
        }
        saveSoon();
    }
}

void SyncRound::push(Work& w)
{
    const QByteArray ifMatch = w.action == SyncAction::PushChanged ? w.etag : QByteArray();
    if (w.type == Type::Event && w.local->size() != 1) {
        // Lines from one event elsewhere, some changed here: each line
        // goes on as an event of its own.
        if (!w.base || w.action == SyncAction::PushNew || remove(w.href, w.etag)) {
            forget(w.href);
            pushAsNew(*w.local);
        }
        return;
    }
    const QByteArray data = w.type == Type::Event
                                ? EventForLine(w.local->front(), w.uid, holiday_, ical_)
                                : JournalForDay(w.day, *w.local, w.uid, 0);
    if (put(w.href, data, ifMatch, &w.etag)) {
        record(w, *w.local);
        ++result_.pushed;
    }
}

void SyncRound::pushAsNew(const QStringList& lines)
{
    for (const QString& line : lines) {
        Work n;
        n.uid = freshUid(line, Type::Event);
        n.href = t_.hrefForNew(n.uid);
        if (put(n.href, EventForLine(line, n.uid, holiday_, ical_), {}, &n.etag)) {
            record(n, {line});
            ++result_.pushed;
        }
        saveSoon();
    }
}

// Both sides changed a diary day: the text here, then the text from
// there under a dated separator, on both sides.
void SyncRound::mergeDiary(Work& w)
{
    QStringList merged = *w.local;
    if (!alreadyMerged(*w.local, *w.remote)) {
        merged << kSeparatorHead + RenderDateTime(QStringLiteral("yyyy/mm/dd hh:nn"), Now()) +
                      kSeparatorTail;
        merged += *w.remote;
    }
    if (!diary_.write(w.day, merged)) {
        deferred_ = true;
        return;
    }
    dayChanged(w.day);
    if (put(w.href, JournalForDay(w.day, merged, w.uid, 0), w.etag, &w.etag))
        record(w, merged);
}

// The writes here: Schedule.dat once, with every event's lines.
void SyncRound::writeSchedules()
{
    QStringList removed, added;
    std::vector<std::function<void()>> done;
    for (Work& w : work_) {
        if (w.type != Type::Event)
            continue;
        switch (w.action) {
        case SyncAction::PullNew:
        case SyncAction::PullChanged:
            if (w.local)
                removed += *w.local;
            added += *w.remote;
            done.push_back([this, &w] {
                record(w, *w.remote);
                ++result_.pulled;
            });
            break;
        case SyncAction::DeleteLocal:
            removed += *w.local;
            done.push_back([this, &w] {
                forget(w.href);
                ++result_.deleted;
            });
            break;
        case SyncAction::Conflict:
            added += *w.remote;
            done.push_back([this, &w] { record(w, *w.remote); });
            break;
        default: break;
        }
    }
    if (!schedules_.apply(removed, added)) {
        deferred_ = true;
        return;
    }
    result_.schedulesChanged = result_.schedulesChanged || !removed.isEmpty() || !added.isEmpty();
    for (const auto& f : done)
        f();
    save();
}

void SyncRound::writeDiary()
{
    for (Work& w : work_) {
        if (w.type != Type::Journal || w.skip)
            continue;
        const bool pull = w.action == SyncAction::PullNew || w.action == SyncAction::PullChanged;
        if (!pull && w.action != SyncAction::DeleteLocal)
            continue;
        if (!diary_.write(w.day, pull ? *w.remote : QStringList())) {
            deferred_ = true;
            continue;
        }
        dayChanged(w.day);
        if (pull) {
            record(w, *w.remote);
            ++result_.pulled;
        } else {
            forget(w.href);
            ++result_.deleted;
        }
        saveSoon();
    }
}

bool SyncRound::put(const QString& href, const QByteArray& data, const QByteArray& ifMatch,
                    QByteArray* etag)
{
    TransportError e;
    const QByteArray tag = t_.put(href, data, ifMatch, e);
    if (e.kind == TransportError::Kind::PreconditionFailed ||
        (e.kind == TransportError::Kind::NotFound && !ifMatch.isEmpty())) {
        retry_ = true; // changed there meanwhile: decided again next round
        return false;
    }
    check(e);
    *etag = tag;
    return true;
}

bool SyncRound::remove(const QString& href, const QByteArray& ifMatch)
{
    TransportError e;
    t_.remove(href, ifMatch, e);
    if (e.kind == TransportError::Kind::PreconditionFailed) {
        retry_ = true;
        return false;
    }
    if (e.kind != TransportError::Kind::NotFound)
        check(e);
    return true;
}

void SyncRound::dayChanged(const QString& day)
{
    if (!result_.diaryDaysChanged.contains(day))
        result_.diaryDaysChanged.append(day);
}

void SyncRound::record(const Work& w, const QStringList& lines)
{
    state_.items[w.href] = {w.type, w.uid, w.etag, lines, w.day};
    uids_.insert(w.uid);
}

void SyncRound::saveSoon()
{
    if (CurrentClock().tickCount() - savedAt_ >= kSaveEvery)
        save();
}

void SyncRound::save()
{
    state_.save(statePath_);
    savedAt_ = CurrentClock().tickCount();
}

namespace {

SyncResult::Failure failureOf(TransportError::Kind kind)
{
    using K = TransportError::Kind;
    using F = SyncResult::Failure;
    switch (kind) {
    case K::Offline: return F::Offline;
    case K::Unauthorized: return F::Unauthorized;
    case K::NotFound: return F::NotFound;
    case K::Certificate: return F::Certificate;
    default: return F::Server;
    }
}

QString failureText(SyncResult::Failure failure)
{
    using F = SyncResult::Failure;
    switch (failure) {
    case F::Offline:
        return QStringLiteral("サーバーに接続できませんでした。しばらくしてから同期し直します");
    case F::Unauthorized:
        return QStringLiteral(
            "サーバーにログインできませんでした。ユーザー名とパスワードを確かめてください");
    case F::NotFound:
        return QStringLiteral("同期するカレンダーがサーバーにありません。同期の設定を確かめて"
                              "ください");
    case F::Certificate:
        return QStringLiteral("サーバーの証明書を確認できないため、接続しませんでした");
    case F::Server: return QStringLiteral("サーバーがエラーを返したため、同期できませんでした");
    default: return {};
    }
}

} // namespace

QString SyncStatePath(const QString& dataDir)
{
    return dataDir + u'/' + QLatin1String(kSyncStateFileName);
}

SyncResult RunSync(const QString& dataDir, CalendarTransport& transport, const SyncOptions& options)
{
    SyncResult result;
    cal::HolidayTable table;
    HolidayTest holiday = options.isHoliday;
    if (!holiday) {
        table.LoadHolidays(dataDir + QStringLiteral("/Holiday.dat"));
        holiday = [&table](DateTime d) { return table.IsHoliday(d); };
    }
    for (int round = 0; round < kRounds; ++round) {
        SyncRound r(dataDir, transport, options, holiday, result);
        try {
            if (r.run())
                break;
        } catch (const SyncStop& stop) {
            result.failure = failureOf(stop.error.kind);
            result.detail = stop.error.detail;
            if (stop.error.httpStatus != 0)
                result.detail = QStringLiteral("HTTP %1 %2")
                                    .arg(stop.error.httpStatus)
                                    .arg(stop.error.detail)
                                    .trimmed();
            result.message = failureText(result.failure);
            if (!result.detail.isEmpty())
                result.message += QStringLiteral(" [%1]").arg(result.detail);
            try {
                r.saveAfterFailure();
            } catch (const AppError&) {
                // the state stays as last saved; the next sync finishes the job
            }
            break;
        } catch (const AppError& e) {
            result.failure = SyncResult::Failure::LocalFile;
            result.message = e.message();
            try {
                r.saveAfterFailure();
            } catch (const AppError&) {
            }
            break;
        }
    }
    return result;
}

} // namespace vn::sync

#pragma once
// An in-memory calendar collection behind the CalendarTransport interface:
// ETags, If-Match / If-None-Match, sync tokens, and failures on demand.
#include "sync/calendartransport.h"

#include <functional>
#include <map>
#include <vector>

namespace vn::test {

class FakeCalendar : public sync::CalendarTransport {
public:
    struct Resource {
        QByteArray etag;
        QByteArray data;
    };
    std::map<QString, Resource> resources;
    bool offersSyncToken = true;
    int calls = 0;
    // From this call on (1-based), every call fails as Offline; 0: never.
    int failFrom = 0;
    // This call (1-based) is carried out, but its answer is lost (Offline).
    int loseAnswerOf = 0;
    // Called before each call is carried out.
    std::function<void(int call)> beforeCall;

    // Another client writes or deletes, unconditionally.
    void write(const QString& href, const QByteArray& data)
    {
        resources[href] = {newEtag(), data};
        log_.push_back({version_, href});
    }
    void erase(const QString& href)
    {
        resources.erase(href);
        log_.push_back({++version_, href});
    }
    // The server forgets its history: every token given so far is invalid.
    void forgetTokens() { validFrom_ = version_ + 1; }

    sync::RemoteChanges changesSince(const QByteArray& token, sync::TransportError& error) override
    {
        sync::RemoteChanges out;
        if (refused(error))
            return out;
        out.syncToken = offersSyncToken ? QByteArray::number(version_) : QByteArray();
        if (token.isEmpty() || !offersSyncToken) {
            out.complete = true;
            for (const auto& [href, r] : resources)
                out.changed.insert(href, r.etag);
        } else if (token.toLongLong() > version_ || token.toLongLong() < validFrom_) {
            error.kind = sync::TransportError::Kind::SyncTokenInvalid;
        } else {
            for (const auto& [version, href] : log_) {
                if (version <= token.toLongLong())
                    continue;
                const auto r = resources.find(href);
                if (r == resources.end()) {
                    out.changed.remove(href);
                    if (!out.deleted.contains(href))
                        out.deleted.append(href);
                } else {
                    out.deleted.removeAll(href);
                    out.changed.insert(href, r->second.etag);
                }
            }
        }
        return answer(out, error);
    }

    QList<sync::RemoteResource> fetch(const QStringList& hrefs,
                                      sync::TransportError& error) override
    {
        QList<sync::RemoteResource> out;
        if (refused(error))
            return out;
        for (const QString& href : hrefs)
            if (const auto r = resources.find(href); r != resources.end())
                out.append({href, r->second.etag, r->second.data});
        return answer(out, error);
    }

    QByteArray put(const QString& href, const QByteArray& data, const QByteArray& ifMatch,
                   sync::TransportError& error) override
    {
        if (refused(error))
            return {};
        const auto r = resources.find(href);
        if (ifMatch.isEmpty() ? r != resources.end()
                              : r == resources.end() || r->second.etag != ifMatch) {
            error.kind = sync::TransportError::Kind::PreconditionFailed;
            error.httpStatus = 412;
            return {};
        }
        write(href, data);
        return answer(resources[href].etag, error);
    }

    void remove(const QString& href, const QByteArray& ifMatch,
                sync::TransportError& error) override
    {
        if (refused(error))
            return;
        const auto r = resources.find(href);
        if (r == resources.end()) {
            error.kind = sync::TransportError::Kind::NotFound;
            error.httpStatus = 404;
            return;
        }
        if (!ifMatch.isEmpty() && r->second.etag != ifMatch) {
            error.kind = sync::TransportError::Kind::PreconditionFailed;
            error.httpStatus = 412;
            return;
        }
        erase(href);
        answer(0, error);
    }

    QString hrefForNew(const QString& uid) const override
    {
        return QStringLiteral("/cal/") + uid + QStringLiteral(".ics");
    }

private:
    bool refused(sync::TransportError& error)
    {
        ++calls;
        if (beforeCall)
            beforeCall(calls);
        if (failFrom > 0 && calls >= failFrom) {
            error.kind = sync::TransportError::Kind::Offline;
            error.detail = QStringLiteral("connection refused");
            return true;
        }
        return false;
    }
    template <typename T> T answer(T value, sync::TransportError& error)
    {
        if (calls == loseAnswerOf) {
            error.kind = sync::TransportError::Kind::Offline;
            error.detail = QStringLiteral("connection reset");
        }
        return value;
    }
    QByteArray newEtag() { return '"' + QByteArray::number(++version_) + '"'; }

    qint64 version_ = 0;
    qint64 validFrom_ = 0;
    std::vector<std::pair<qint64, QString>> log_;
};

} // namespace vn::test

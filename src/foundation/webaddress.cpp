#include "webaddress.h"

#include <QRegularExpression>

namespace vn {

namespace {

bool isWeb(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

} // namespace

QUrl WebAddress(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.contains(u'\n') || t.contains(u'\r'))
        return QUrl();
    // "scheme:" at the start: only the two web schemes pass.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (scheme.match(t).hasMatch()) {
        const QUrl url(t, QUrl::TolerantMode);
        if (isWeb(url))
            return url;
        // "example.jp:8080/a" is a host with a port, not a scheme
        const qsizetype dot = t.indexOf(u'.');
        if (!t.contains(QLatin1String("://")) && dot >= 0 && dot < t.indexOf(u':')) {
            const QUrl web(QStringLiteral("http://") + t, QUrl::TolerantMode);
            if (isWeb(web))
                return web;
        }
        return QUrl();
    }
    // No scheme: a host name first ("www.example.jp/page"), never a path.
    static const QRegularExpression host(QStringLiteral(
        "^[A-Za-z0-9](?:[A-Za-z0-9-]*[A-Za-z0-9])?(?:\\.[A-Za-z0-9-]+)+(?:[:/?#]|$)"));
    if (!host.match(t).hasMatch())
        return QUrl();
    const QUrl url(QStringLiteral("http://") + t, QUrl::TolerantMode);
    return isWeb(url) ? url : QUrl();
}

QString NotAWebAddressMessage()
{
    return QStringLiteral("Web のアドレス (http:// または https://) ではないため、開けません");
}

} // namespace vn

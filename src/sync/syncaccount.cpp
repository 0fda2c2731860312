#include "syncaccount.h"

#include "foundation/paths.h"
#include "foundation/textfile.h"

namespace vn::sync {

namespace {

const QString kAccount = QStringLiteral("Account");
const QString kCertificates = QStringLiteral("Certificates");

// A value is one line: breaks a user might paste are dropped.
QString oneLine(QString value)
{
    value.remove(u'\r');
    value.remove(u'\n');
    return value;
}

// An address a user typed with a password in it ("https://me:pw@host/")
// is kept without the password.
QString withoutPassword(const QString& address)
{
    QUrl url(address);
    if (url.password().isEmpty())
        return address;
    url.setPassword({});
    return url.toString();
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString ServerKey(const QUrl& url)
{
    const int defaultPort = url.scheme().compare(u"http", Qt::CaseInsensitive) == 0 ? 80 : 443;
    return url.host().toLower() + u':' + QString::number(url.port(defaultPort));
}

QStringList SyncAccount::certificatesFor(const QUrl& url) const
{
    const QString key = ServerKey(url);
    QStringList out;
    for (const AcceptedCertificate& c : certificates)
        if (c.server == key)
            out << c.fingerprint;
    return out;
}

void SyncAccount::acceptCertificate(const QUrl& url, const QString& fingerprint)
{
    const AcceptedCertificate c{ServerKey(url), fingerprint.toUpper()};
    if (!certificates.contains(c))
        certificates << c;
}

QString SyncAccountPath()
{
    return AppPathWithExtension(QStringLiteral("Sync.ini"));
}

SyncAccount ReadSyncAccount(const QString& path)
{
    SyncAccount account;
    if (FileKindOf(path) == FileKind::Missing)
        return account;
    const QByteArray bytes = ReadFileBytes(path);
    QString section;
    for (const QString& raw : QString::fromUtf8(bytes).split(u'\n')) {
        const QString line = raw.endsWith(u'\r') ? raw.chopped(1) : raw;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || line.startsWith(u';'))
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        if (section.compare(kCertificates, Qt::CaseInsensitive) == 0) {
            account.certificates.append({key.toLower(), value.trimmed().toUpper()});
            continue;
        }
        if (section.compare(kAccount, Qt::CaseInsensitive) != 0)
            continue;
        if (key == u"Server")
            account.server = value;
        else if (key == u"User")
            account.user = value;
        else if (key == u"Calendar")
            account.calendarUrl = value;
        else if (key == u"CalendarName")
            account.calendarName = value;
        else if (key == u"Diary")
            account.diary = value.trimmed() == u"1";
        else if (key == u"PlainHttp")
            account.plainHttpAccepted = value.trimmed() == u"1";
    }
    return account;
}

bool WriteSyncAccount(const QString& path, const SyncAccount& account)
{
    QStringList lines{QStringLiteral("[Account]"),
                      QStringLiteral("Server=") + oneLine(withoutPassword(account.server)),
                      QStringLiteral("User=") + oneLine(account.user),
                      QStringLiteral("Calendar=") + oneLine(withoutPassword(account.calendarUrl)),
                      QStringLiteral("CalendarName=") + oneLine(account.calendarName),
                      QStringLiteral("Diary=") + flag(account.diary),
                      QStringLiteral("PlainHttp=") + flag(account.plainHttpAccepted)};
    if (!account.certificates.isEmpty()) {
        lines << QStringLiteral("[Certificates]");
        for (const AcceptedCertificate& c : account.certificates)
            lines << oneLine(c.server) + u'=' + oneLine(c.fingerprint);
    }
    const QByteArray bytes = JoinLinesCrLf(lines).toUtf8();
    if (FileKindOf(path) == FileKind::Regular && ReadFileBytes(path) == bytes)
        return false;
    WriteFileAtomic(path, bytes);
    return true;
}

} // namespace vn::sync

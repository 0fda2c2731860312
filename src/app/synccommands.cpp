#include "synccommands.h"

#include "foundation/paths.h"
#include "sync/syncaccount.h"
#include "sync/syncservice.h"

#include <QEventLoop>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace vn {

namespace {

const QString kDefaultCalendar = QStringLiteral("Velnote");

// One line of standard input, without echo when it is a terminal.
QString readPassword()
{
    termios saved{};
    const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        std::fputs("パスワード: ", stderr);
        std::fflush(stderr);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QByteArray line;
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line.append(c);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

std::unique_ptr<sync::SyncService> loadService(const PrintLine& err)
{
    if (!MakePrivateFolder(AppFolder())) {
        err(QStringLiteral("データフォルダー \"%1\" を作成できません").arg(AppFolder()));
        return nullptr;
    }
    QString why;
    std::unique_ptr<sync::SyncService> service = sync::LoadSyncService(AppFolder(), &why);
    if (!service)
        err(why);
    return service;
}

// Runs the event loop until `start` has had its answer.
template <typename Answer, typename Start> Answer await(Start start)
{
    Answer answer{};
    QEventLoop loop;
    start([&](const auto&... got) {
        answer = Answer{got...};
        loop.quit();
    });
    loop.exec();
    return answer;
}

struct Listed {
    QList<sync::CalendarEntry> calendars;
    sync::SyncReport report;
};
struct Reported {
    sync::SyncReport report;
};

} // namespace

int SyncSetupCommand(const QStringList& args, const PrintLine& out, const PrintLine& err)
{
    if (args.size() < 2 || args.size() > 3 || args[0].isEmpty() || args[1].isEmpty()) {
        err(QStringLiteral("--sync-setup にはサーバーのアドレスとユーザー名が必要です "
                           "(velnote --sync-setup URL USER [CALENDAR])"));
        return 2;
    }
    sync::AccountForm form;
    form.server = args[0];
    form.user = args[1];
    form.password = readPassword();
    if (form.password.isEmpty()) {
        err(QStringLiteral("パスワードを標準入力から読み込めません"));
        return 2;
    }
    const QString wanted = args.size() > 2 ? args[2] : kDefaultCalendar;
    std::unique_ptr<sync::SyncService> service = loadService(err);
    if (!service)
        return 1;
    const Listed listed = await<Listed>(
        [&](auto done) { service->listCalendars(form, done); });
    if (!listed.report.ok()) {
        err(listed.report.message);
        return 1;
    }
    QString url;
    QString name = wanted;
    for (const sync::CalendarEntry& c : listed.calendars) {
        if (c.name == wanted || c.url == wanted) {
            url = c.url;
            name = c.name;
            break;
        }
    }
    bool diary = false;
    try {
        diary = sync::ReadSyncAccount(sync::SyncAccountPath()).diary;
    } catch (...) {
    }
    const Reported set = await<Reported>(
        [&](auto done) { service->setUp(form, url, name, diary, done); });
    if (!set.report.ok()) {
        err(set.report.message);
        return 1;
    }
    if (!set.report.message.isEmpty()) { // kept for this run only: no use to a later --sync
        err(QStringLiteral("キーリングがないため、パスワードを保存できません"));
        return 1;
    }
    out(url.isEmpty() ? QStringLiteral("カレンダー \"%1\" を作成して、同期するように設定しました").arg(name)
                      : QStringLiteral("カレンダー \"%1\" と同期するように設定しました").arg(name));
    return 0;
}

int SyncCommand(const PrintLine& out, const PrintLine& err)
{
    std::unique_ptr<sync::SyncService> service = loadService(err);
    if (!service)
        return 1;
    const Reported done = await<Reported>([&](auto d) { service->syncNow(d); });
    const sync::SyncReport& r = done.report;
    if (!r.ok()) {
        err(r.message.isEmpty() ? QStringLiteral("同期できませんでした") : r.message);
        return 1;
    }
    out(QStringLiteral("同期しました (送信 %1、受信 %2、削除 %3、両方で変更 %4)%5")
            .arg(r.pushed)
            .arg(r.pulled)
            .arg(r.deleted)
            .arg(r.conflicts)
            .arg(r.complete ? QString() : QStringLiteral("。残りは次の同期で行います")));
    return 0;
}

} // namespace vn

#include "commandline.h"

#include "calendar/holidaytable.h"
#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "platform/flockinstancelock.h"
#include "platform/folderlock.h"
#include "schedule/icalservice.h"
#include "schedule/schedulelistfile.h"
#include "synccommands.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vn {

namespace {

enum class Job { None, Export, Import, SyncSetup, Sync, Help, Version };

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Standard output, every write checked. It may have been closed by the
// caller: a file opened later would then take its place, so /dev/null holds
// the place and the first write fails as on a closed output.
int outError = 0; // the cause of the first failed write

void holdStandardFiles()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        if (fd == 1)
            outError = EBADF;
        const int held = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (held >= 0 && held != fd) // the lowest free number is fd itself
            ::close(held);
    }
}

void writeOut(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && outError == 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, size_t(left));
        if (n < 0 && errno != EINTR)
            outError = errno;
        if (n > 0) {
            data += n;
            left -= n;
        }
    }
}

void printOut(const QString& text)
{
    writeOut(text.toUtf8() + '\n');
}

// One line on standard error.
int fail(int code, QString message)
{
    message.replace(u'\n', u' ');
    std::fprintf(stderr, "velnote: %s\n", message.toUtf8().constData());
    return code;
}

QString usage()
{
    return QStringLiteral(
               "使い方: velnote [オプション]\n"
               "  (オプションなし)        Velnoteを起動します\n"
               "  --export-ics ファイル   予定をiCalendar形式で書き出します (-: 標準出力)\n"
               "  --import-ics ファイル   iCalendarファイルの予定を追加します\n"
               "  --sync-setup URL ユーザー名 [カレンダー]\n"
               "                          予定と日記をCalDAVサーバーと同期するように設定します\n"
               "                          (パスワードは標準入力から)\n"
               "  --sync                  予定と日記を一度同期します\n"
               "  --help                  この説明を表示します\n"
               "  --version               版を表示します\n"
               "データフォルダー: %1")
        .arg(QDir::toNativeSeparators(AppFolder()));
}

// Month ends step off the holidays of the data folder's holiday table.
struct Holidays {
    cal::HolidayTable table;
    HolidayTest test = [this](DateTime d) { return table.IsHoliday(d); };
    Holidays() { table.LoadHolidays(AppFolder() + QStringLiteral("/Holiday.dat")); }
};

// Everything written reached standard output, and its close went well.
int closeOut(int code)
{
    if (::close(STDOUT_FILENO) != 0 && outError == 0)
        outError = errno;
    if (code != 0 || outError == 0)
        return code;
    return fail(kFailed, QStringLiteral("標準出力に書き込めません [%1]")
                             .arg(QString::fromLocal8Bit(std::strerror(outError))));
}

int exportIcs(const QString& target)
{
    const QString schedules = AppFolder() + QStringLiteral("/Schedule.dat");
    Holidays holidays;
    if (target == QLatin1String("-")) {
        writeOut(Ical().schedulesToIcal(ReadScheduleRows(schedules).rows, holidays.test));
        return 0;
    }
    const IcalExportSummary summary = Ical().exportFile(schedules, target, holidays.test);
    printOut(summary.text());
    return 0;
}

int importIcs(const QString& source)
{
    // The running program would not see the new lines, and its schedule
    // list could write the file over them.
    FlockInstanceLock lock;
    if (!lock.acquire())
        return fail(kFailed,
                    QStringLiteral("Velnoteが起動しています。終了してから読み込んでください"));
    if (!MakePrivateFolder(AppFolder()))
        return fail(kFailed, QStringLiteral("データフォルダー \"%1\" を作成できません")
                                 .arg(QDir::toNativeSeparators(AppFolder())));
    // Nor may another login or PC that has the folder open.
    DataFolderLock folderLock(AppFolder());
    if (folderLock.acquire() == DataFolderLock::Result::Held)
        return fail(kFailed, QStringLiteral("データフォルダーは別のPCまたは別のログインの"
                                            "Velnoteが使用中です（コンピューター: %1、"
                                            "ユーザー: %2）。終了してから読み込んでください")
                                 .arg(folderLock.holder().host, folderLock.holder().user));
    Holidays holidays;
    const IcalImportSummary summary =
        Ical().importFile(source, AppFolder() + QStringLiteral("/Schedule.dat"), holidays.test);
    printOut(summary.text());
    return 0;
}

std::optional<int> runJob(int argc, char** argv)
{
    Job job = Job::None;
    QString file;
    bool fileGiven = false;
    QStringList syncArgs;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        Job found = Job::None;
        const char* value = nullptr;
        auto option = [&](const char* name, Job j) {
            const size_t n = std::strlen(name);
            if (std::strcmp(arg, name) == 0) {
                found = j;
            } else if (std::strncmp(arg, name, n) == 0 && arg[n] == '=') {
                found = j;
                value = arg + n + 1;
            }
        };
        option("--export-ics", Job::Export);
        option("--import-ics", Job::Import);
        option("--sync-setup", Job::SyncSetup);
        option("--sync", Job::Sync);
        option("--help", Job::Help);
        option("-h", Job::Help);
        option("--version", Job::Version);
        if (found == Job::None)
            continue; // left to the window system (-display, -platform ...)
        if (job != Job::None) {
            QCoreApplication app(argc, argv);
            return fail(kUsage, QStringLiteral("オプションは一つだけ指定してください"));
        }
        job = found;
        if (job == Job::SyncSetup) { // URL USER [CALENDAR]
            while (i + 1 < argc && argv[i + 1][0] != '-' && syncArgs.size() < 3)
                syncArgs.append(QString::fromLocal8Bit(argv[++i]));
            continue;
        }
        if ((job == Job::Export || job == Job::Import) && !value && i + 1 < argc)
            value = argv[++i];
        if (value) {
            file = QString::fromLocal8Bit(value);
            fileGiven = true;
        }
    }
    if (job == Job::None)
        return std::nullopt;

    holdStandardFiles();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velnote"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VN_VERSION));
    switch (job) {
    case Job::Help: printOut(usage()); return 0;
    case Job::Version: printOut(QStringLiteral("Velnote " VN_VERSION)); return 0;
    case Job::SyncSetup:
        return SyncSetupCommand(syncArgs, printOut, [](const QString& m) { fail(kFailed, m); });
    case Job::Sync: return SyncCommand(printOut, [](const QString& m) { fail(kFailed, m); });
    default: break;
    }
    if (!fileGiven || file.isEmpty())
        return fail(kUsage, QStringLiteral("%1 にはファイル名が必要です")
                                .arg(job == Job::Export ? QStringLiteral("--export-ics")
                                                        : QStringLiteral("--import-ics")));
    try {
        return job == Job::Export ? exportIcs(file) : importIcs(file);
    } catch (const AppError& e) {
        return fail(kFailed, e.message());
    } catch (const std::exception& e) {
        return fail(kFailed, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

std::optional<int> RunCommandLine(int argc, char** argv)
{
    const std::optional<int> code = runJob(argc, argv);
    return code ? std::optional<int>(closeOut(*code)) : std::nullopt;
}

} // namespace vn

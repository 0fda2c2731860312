#include "application.h"

#include "backgroundjobs.h"
#include "firstpaintprobe.h"
#include "folderclaim.h"
#include "foundation/apperror.h"
#include "foundation/appstate.h"
#include "foundation/paths.h"
#include "foundation/rescuefile.h"
#include "foundation/settings.h"
#include "foundation/startuptrace.h"
#include "foundation/tempfiles.h"
#include "platform/flockinstancelock.h"
#include "platform/platform.h"
#include "platform/programicon.h"
#include "platform/showrequest.h"
#include "runrecord/runrecord.h"
#include "secondarywindows.h"
#include "startjobs.h"
#include "startwarmup.h"
#include "syncjob.h"
#include "stopsignals.h"
#include "widgets/appstyle.h"
#include "widgets/colorref.h"
#include "widgets/composition.h"
#include "widgets/datepopup.h"
#include "widgets/errorbox.h"
#include "widgets/pasteguard.h"
#include "windowwiring.h"
#include "workspace/mainwindow.h"
#include "workspace/memopagesview.h"
#include "workspace/memoprint.h"
#include "workspace/searchdialog.h"
#include "workspace/traycontroller.h"

#include <QSessionManager>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace vn {

VelnoteApplication::VelnoteApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // No display name: the window system would add it to every caption
    // ("表示期間 — Velnote"), and the captions are the program's own.
    setApplicationName(QStringLiteral("Velnote"));
    // The menu entry velnote.desktop: its StartupWMClass is the application
    // name, the window class of every window; on Wayland the desktop file
    // name is the application id.
    setDesktopFileName(QStringLiteral("velnote"));
    setWindowIcon(ProgramIcon());
    setStyle(new AppStyle);
    setQuitOnLastWindowClosed(false);
}

bool VelnoteApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError& e) {
        ShowErrorBox(e.message());
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

namespace {

MemoPagesView* g_emergencyPages = nullptr;
BackgroundJobs* g_emergencyJobs = nullptr;
DataFolderLock* g_emergencyFolderLock = nullptr;

void EmergencySave()
{
    if (BackgroundJobs* jobs = std::exchange(g_emergencyJobs, nullptr)) {
        try {
            jobs->finish();
        } catch (...) {
        }
    }
    MemoPagesView* pages = g_emergencyPages;
    g_emergencyPages = nullptr;
    if (pages) {
        try {
            pages->savePages(kPageCount);
        } catch (...) {
            // nothing more can be done on the way out
        }
    }
    // After the last save: the folder is free for the next writer.
    if (DataFolderLock* lock = std::exchange(g_emergencyFolderLock, nullptr))
        lock->release();
}

// Text an earlier end of the session could not save was kept outside the
// data folder: the start tells once where, and leaves the files to the user.
void TellRescuedFiles()
{
    const QStringList files = UntoldRescueFiles();
    if (files.isEmpty())
        return;
    ShowErrorBox(QStringLiteral("前回の終了時に保存できなかった文章を、次のファイルに書き出して"
                                "あります。\r\n\r\n") +
                 files.join(QLatin1String("\r\n")) +
                 QStringLiteral("\r\n\r\n内容を確かめて、必要な所へ写してください"
                                "（このファイルはプログラムからは消しません）。"));
}

} // namespace

void EndSession(MainWindow* main)
{
    App().sessionEnding = true;
    if (main->close())
        return; // the close saved everything and quits
    // A save failed; what could be saved is saved. Not quit(): that asks
    // the windows to close again, and the main window would refuse.
    App().timersQuiet = true;
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void CreateMainWindow(Windows& w)
{
    // The balloon hints: one set for the whole program, read by the main
    // window at start-up, asked by its minute check, edited by the list.
    w.balloonHints = std::make_unique<BalloonHintStore>();
    w.memo = std::make_unique<MainWindow>(nullptr, w.balloonHints.get());
}

void CreateSecondaryWindows(Windows& w)
{
    if (!w.secondary)
        new SecondaryWindows(w);
    w.secondary->makeAll();
    App().timersQuiet = false;
}

void CreateWindows(Windows& w)
{
    CreateMainWindow(w);
    CreateSecondaryWindows(w);
}

void StartUpHousekeeping(qint64 startedAt)
{
    std::signal(SIGXFSZ, SIG_IGN);
    RemoveStaleTempFiles(startedAt);
}

int RunVelnote(int argc, char** argv)
{
    const qint64 startedAt = std::time(nullptr);
    // The font configuration and the Shift-JIS tables are made on another
    // thread meanwhile.
    StartWarmUp warmUp;
    VelnoteApplication app(argc, argv);
    MarkStartupPhase("QApplication (display connection, style, program icon)");
    // Japanese widgets and standard dialogs whatever the system's locale,
    // from the first box on.
    UseJapaneseLocale();
    // Without its data folder the program does not start at all.
    if (const QString problem = PrepareDataFolder(AppFolder()); !problem.isEmpty()) {
        ShowErrorBox(problem); // also on the error output
        return 1;
    }
    warmUp.readAhead({SettingsFilePath()}, DiaryFolder());
    warmUp.readAheadForLater({RunRecordPath()});
    std::unique_ptr<Platform> platform = CreateDesktopPlatform();
    const QString showSocket = ShowRequestSocketPath(DefaultInstanceLockPath());
    if (!platform->instanceLock->acquire()) {
        RequestShow(showSocket); // another instance runs in this session: bring it up
        return 0;
    }
    SetPlatform(std::move(platform));
    warmUp.waitForFonts();
    InstallFontSubstitutions();
    // The installed family the windows' face stands for; finding it reads
    // the font database, which the first text drawn would read anyway.
    QFont appFont(DrawnFace(UiFace()));
    appFont.setPixelSize(12);
    QApplication::setFont(appFont);
    MarkStartupPhase("instance lock, platform, font database, translations");
    // One writer per data folder: another login or another PC that has it
    // open leaves this instance the choice of reading only or quitting.
    DataFolderLock folderLock(AppFolder());
    if (!ClaimDataFolder(folderLock, AppFolder())) {
        SetPlatform(nullptr);
        return 0;
    }
    StartUpHousekeeping(startedAt);

    InstallPasteGuard(); // before any editor exists
    InstallCompositionWatch();
    // Errors of the start (files that cannot be read or written) are shown
    // once, together, when the window is up.
    auto startErrors = std::make_unique<GatheredErrors>();
    TellRescuedFiles();
    Windows windows;
    warmUp.adoptFilesReadAhead();
    CreateMainWindow(windows);
    MainWindow* main = windows.memo.get();
    InstallFirstPaintProbe(main);
    ListenForShowRequests(main, showSocket, [main] { main->ShowMainWindow(); });
    KeepDataFolderClaim(&folderLock, main);
    // The show/hide key works from the moment the window can be seen.
    auto* tray = new TrayController(main);
    tray->registerGesture(StoredShowHideKind(), StoredShowHideSeconds());
    // Run record, uptime text and backups, from the first paint to the end;
    // the caption carries the uptime from the start.
    BackgroundJobs* jobs = CreateBackgroundJobs(main);
    // The other windows are made when first asked for (a click, a key,
    // another window): here only the ways to them.
    auto* secondary = new SecondaryWindows(windows, tray, jobs);
    MarkStartupPhase("tray icon, show/hide key, uptime caption");

    // The end of the desktop session, and stop signals, close for real.
    auto endSession = [main] { EndSession(main); };
    QObject::connect(&app, &QGuiApplication::commitDataRequest, main,
                     [endSession](QSessionManager&) { endSession(); });
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, main, endSession);

    // If the process ends without the real close (the display went away and
    // the windowing layer exits), the pages are still written on the way out.
    g_emergencyPages = main->pages();
    g_emergencyJobs = jobs;
    g_emergencyFolderLock = &folderLock;
    std::atexit(EmergencySave);

    QObject::connect(main, &MainWindow::printRequested, main,
                     [main] { Guarded([&] { PrintPreview(*main->pages(), main); }, main); });
    // What the first sight of the window does not need comes right after
    // it: the settings corrected and the timers let go, the run record's
    // start, the sync, the start's errors.
    AfterFirstPaint(main, !main->startsHidden(), [&windows, &startErrors, &warmUp, main, secondary, jobs] {
        StartWithoutTheWindows(windows);
        warmUp.adoptLaterFiles(); // the run record, which the jobs write first
        jobs->start();
        // The sync waits a few seconds after the window is up; it loads
        // nothing until then, and nothing at all without an account.
        SyncJob* sync = CreateSyncJob(main);
        secondary->setSync(sync);
        sync->start();
        startErrors->showNow(main);
        startErrors.reset();
    });
    if (!main->startsHidden())
        main->ShowMainWindow();
    MarkStartupPhase("showing the main window");
    const int rc = app.exec();
    if (startErrors) // ended before the window was ever painted: no box on the way out
        for (const QString& text : startErrors->take())
            std::fprintf(stderr, "%s\n", qPrintable(text));
    startErrors.reset();
    g_emergencyPages = nullptr;
    g_emergencyJobs = nullptr;
    g_emergencyFolderLock = nullptr;
    windows.memo.reset();
    SetPlatform(nullptr);
    return rc;
}

} // namespace vn

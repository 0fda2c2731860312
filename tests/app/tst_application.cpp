// The thirteen windows of the program, created as the program starts.
#include "app/application.h"
#include "fakeplatform.h"
#include "foundation/appstate.h"
#include "schedule/ui/balloonhintlistwindow.h"
#include "tempdatafolder.h"

#include "foundation/apperror.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QTest>
#include <csignal>
#include <ctime>
#include <sys/resource.h>
#include <utime.h>

using namespace vn;
using vn::test::TempDataFolder;

class TstApplication : public QObject {
    Q_OBJECT
private slots:
    void thirteenWindowsInTheirOrder()
    {
        auto fake = test::MakeFakePlatform();
        SetPlatform(std::move(fake.platform));
        TempDataFolder dir;
        dir.writeBytes("BalloonHint.dat", "1,1200,lunch\r\n");
        App() = AppState{};
        Windows w;
        CreateWindows(w);
        // The balloon hints are read at creation, into the one store the
        // list window edits.
        QVERIFY(w.balloonHints);
        QCOMPARE(w.balloonHints->BalloonHintAt("12:00").message, QStringLiteral("lunch"));
        QCOMPARE(static_cast<BalloonHintListWindow*>(w.balloonHintList)->store(),
                 w.balloonHints.get());
        QVERIFY(!App().timersQuiet); // the search dialog's creation ends the quiet start
        QCOMPARE(w.memo->windowTitle(), QStringLiteral("Velnote"));
        const QList<QPair<QString, QString>> expected = {
            {"TfrmDateTime", "PC起動実績"},
            {"TfrmTerm", "表示期間"},
            {"TfrmScheduleList", "予定一覧"},
            {"TfrmSchedule", "新規予定の登録"},
            {"TfrmHolidayList", "休日一覧"},
            {"TfrmHoliday", "新規休日の登録"},
            {"TfrmBalloonHint", "バルーンヒントの新規登録"},
            {"TfrmBalloonHintList",
             "バルーンヒント一覧　(毎日、決まった時間にメッセージ？を表示）"},
            {"TfrmSearch", "文字列検索"},
            {"TfrmBackUpMemo", "バックアップされたメモ情報からの復元"},
            {"TfrmEnv", "環境設定"},
            {"TfrmBackUpInfo", "データ・バックアップの補足説明"},
        };
        QList<QDialog*> dialogs;
        for (QObject* child : w.memo->children())
            if (auto* d = qobject_cast<QDialog*>(child))
                dialogs.append(d);
        QCOMPARE(dialogs.size(), expected.size());
        for (int i = 0; i < dialogs.size(); ++i) {
            QCOMPARE(dialogs[i]->objectName(), expected[i].first);
            QCOMPARE(dialogs[i]->windowTitle(), expected[i].second);
            QVERIFY(!dialogs[i]->isVisible());
        }
        QVERIFY(!w.memo->isVisible());
        w.memo.reset();
        SetPlatform(nullptr);
    }

    void startUpIgnoresTheFileSizeSignalAndClearsStaleTemporaryFiles()
    {
        TempDataFolder dir;
        ::signal(SIGXFSZ, SIG_DFL);
        dir.writeBytes(".Vnote.ini.AbC123", "left by a kill");
        dir.writeBytes(".mine.txt.AbC123", "not ours");
        const struct utimbuf old = {time_t(1000), time_t(1000)};
        for (const char* name : {".Vnote.ini.AbC123", ".mine.txt.AbC123"})
            ::utime(QFile::encodeName(dir.file(name)).constData(), &old);
        StartUpHousekeeping(std::time(nullptr));
        QVERIFY(!dir.exists(".Vnote.ini.AbC123"));
        QVERIFY(dir.exists(".mine.txt.AbC123"));

        // Past the file-size limit a write fails like a full disk; the process
        // lives on, and neither the old file nor a temporary file is changed.
        struct sigaction sa = {};
        ::sigaction(SIGXFSZ, nullptr, &sa);
        QVERIFY(sa.sa_handler == SIG_IGN);
        WriteEditText(dir.file("Vnote.vnm"), QStringLiteral("old"));
        struct rlimit saved;
        ::getrlimit(RLIMIT_FSIZE, &saved);
        struct rlimit small = saved;
        small.rlim_cur = 1024;
        ::setrlimit(RLIMIT_FSIZE, &small);
        bool failed = false;
        try {
            WriteEditText(dir.file("Vnote.vnm"), QString(5000, u'x'));
        } catch (const AppError&) {
            failed = true;
        }
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(failed);
        QCOMPARE(dir.readBytes("Vnote.vnm"), QByteArray("old"));
        QVERIFY(QDir(dir.path()).entryList({".Vnote.vnm.*"}, QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_MAIN(TstApplication)
#include "tst_application.moc"

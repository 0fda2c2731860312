// The thirteen windows of the program, created as the program starts.
#include "app/application.h"
#include "fakeplatform.h"
#include "foundation/appstate.h"
#include "tempdatafolder.h"

#include <QTest>

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
        App() = AppState{};
        Windows w;
        CreateWindows(w);
        QVERIFY(!App().timersQuiet); // the search dialog's creation ends the quiet start
        QCOMPARE(w.memo->windowTitle(), QStringLiteral("Velnote"));
        const QList<QPair<QString, QString>> expected = {
            {"TfrmDateTime", "PC起動実績"},
            {"TfrmTerm", "表示期間"},
            {"TfrmScheduleList", "予定一覧"},
            {"TfrmSchedule", "予定"},
            {"TfrmHolidayList", "休日一覧"},
            {"TfrmHoliday", "新規休日の登録"},
            {"TfrmBalloonHint", "バルーンヒント"},
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
};

QTEST_MAIN(TstApplication)
#include "tst_application.moc"

// The page "データ・バックアップ": the schedule controls and their settings,
// a generation by hand, deleting, the list and the two windows it opens.
#include "backup/backupgenerations.h"
#include "fakeclock.h"
#include "fakesettingshost.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "scriptedprompts.h"
#include "settings/backuppage.h"
#include "tempdatafolder.h"
#include "ui_backuppage.h"

#include <QDir>
#include <QTest>

using namespace vn;
using namespace vn::test;

class TstBackUpPage : public QObject {
    Q_OBJECT
private slots:
    void scheduleControls()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini", "[BackUp]\r\nOffset=5\r\nWeekday=6\r\nDay=40\r\nTime=99\r\n"
                                    "Max=3\r\n");
        FakeSettingsHost host;
        BackUpPage page;
        page.setHost(&host);
        page.show();
        page.LoadBackUpControls();
        const auto& ui = page.form();
        QCOMPARE(ui.cmbBackUp1->count(), 3);
        QCOMPARE(ui.cmbBackUp11->count(), 7);
        QCOMPARE(ui.cmbBackUp12->count(), 28);
        QCOMPARE(ui.cmbBackUp20->count(), 48);
        QCOMPARE(ui.cmbBackUp20->itemText(47), QStringLiteral("23:30"));
        // Choices out of range are shown corrected and not written; the
        // maximum moves into 5..99 and is written.
        QCOMPARE(ui.cmbBackUp1->currentIndex(), 1);
        QCOMPARE(ui.cmbBackUp11->currentText(), QStringLiteral("土曜日"));
        QCOMPARE(ui.cmbBackUp12->currentIndex(), 1);
        QCOMPARE(ui.cmbBackUp20->currentText(), QStringLiteral("12:00"));
        QCOMPARE(ui.spnBackUp30->value(), 5);
        QCOMPARE(ReadSettingInt(REG_BackUpOffset), 5);
        QCOMPARE(ReadSettingInt(REG_BackUpTime), 99);
        QCOMPARE(ReadSettingInt(REG_BackUpMax), 5);

        // Weekly: the weekday; monthly: the day; daily: neither.
        QVERIFY(ui.cmbBackUp11->isVisible() && !ui.cmbBackUp12->isVisible());
        const int weeklyLeft = ui.pnlBackUp->x();
        ui.cmbBackUp1->setCurrentIndex(2);
        QVERIFY(!ui.cmbBackUp11->isVisible() && ui.cmbBackUp12->isVisible());
        QCOMPARE(ReadSettingInt(REG_BackUpOffset), 2);
        ui.cmbBackUp1->setCurrentIndex(0);
        QVERIFY(!ui.cmbBackUp11->isVisible() && !ui.cmbBackUp12->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(ui.pnlBackUp->x() < weeklyLeft); // the sentence moves up

        ui.cmbBackUp11->setCurrentIndex(3);
        ui.cmbBackUp12->setCurrentIndex(14);
        ui.cmbBackUp20->setCurrentIndex(17);
        ui.spnBackUp30->setValue(12);
        QCOMPARE(ReadSettingInt(REG_BackUpWeek), 3);
        QCOMPARE(ReadSettingInt(REG_BackUpDay), 14);
        QCOMPARE(ReadSettingInt(REG_BackUpTime), 17);
        QCOMPARE(ReadSettingInt(REG_BackUpMax), 12);
        const BackUpSchedule s = BackUpScheduleFromSettings();
        QCOMPARE(s.interval, 0);
        QCOMPARE(s.time, QStringLiteral("08:30"));
    }

    void generationsByHandListAndDelete()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2009, 1, 5) + EncodeTime(12, 34, 56));
        ScriptedPrompts prompts;
        FakeSettingsHost host;
        BackUpPage page;
        page.setHost(&host);
        QDir().mkpath(BackUpFolder() + "/20090101_120000");
        const auto& ui = page.form();
        page.RefreshList();
        QCOMPARE(ui.lstBackUpDir->count(), 1);

        ui.Button1->click();
        QCOMPARE(prompts.texts(), QStringList({"現在の状態をバックアップしました。"}));
        QCOMPARE(ui.lstBackUpDir->count(), 2);
        QCOMPARE(ui.lstBackUpDir->item(0)->text(), QStringLiteral("20090105_123456_Velnote"));
        QFile page3(BackUpFolder() + "/20090105_123456_Velnote/Vnote3.vnm");
        QVERIFY(page3.open(QIODevice::ReadOnly));
        QCOMPARE(page3.readAll(), QByteArray("page 4")); // the host's text now

        // Delete: nothing without a selection; asked; "いいえ" keeps it.
        prompts.clear();
        ui.cmdBackUpDelDir->click();
        QVERIFY(prompts.boxes.isEmpty());
        ui.lstBackUpDir->setCurrentRow(1);
        prompts.answers = {BoxAnswer::No};
        ui.cmdBackUpDelDir->click();
        QCOMPARE(prompts.boxes.size(), 1);
        QCOMPARE(prompts.boxes[0].kind, BoxKind::Warning);
        QCOMPARE(prompts.boxes[0].buttons, BoxButtons::YesNo);
        QCOMPARE(prompts.boxes[0].text,
                 QStringLiteral("下記バックアップファイルを削除します\r\n20090101_120000"));
        QVERIFY(QDir(BackUpFolder()).exists("20090101_120000"));
        ui.cmdBackUpDelDir->click(); // "はい"
        QVERIFY(!QDir(BackUpFolder()).exists("20090101_120000"));
        QCOMPARE(ui.lstBackUpDir->count(), 1);

        // Made elsewhere (the scheduler): "最新に更新" shows it.
        QDir().mkpath(BackUpFolder() + "/20090105_120000");
        ui.cmdBackUpUpdate->click();
        QCOMPARE(ui.lstBackUpDir->count(), 2);

        ui.cmdBackUpRest->click();
        ui.cmdBackUpInfo->click();
        QCOMPARE(host.restoreOpened, 1);
        QCOMPARE(host.infoOpened, 1);

        // A folder that cannot be made: the message, no confirmation.
        QDir(BackUpFolder()).removeRecursively();
        dir.writeBytes("BackUp", "a file in the way");
        prompts.clear();
        ui.Button1->click();
        QCOMPARE(prompts.boxes.size(), 0);
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(
            prompts.errors[0].startsWith(QStringLiteral("データバックアップフォルダの作成失敗")));
    }
};

QTEST_MAIN(TstBackUpPage)
#include "tst_backuppage.moc"

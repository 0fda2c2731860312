// The page "予定": the start-up balloon switch, the past-schedule colour,
// the alarm default, the six sound rows with their picker and play button,
// and the schedule-time pattern kept between runs.
#include "fakeplatform.h"
#include "fakesettingshost.h"
#include "foundation/inifile.h"
#include "foundation/settings.h"
#include "scriptedprompts.h"
#include "settings/schedulepage.h"
#include "settings/soundfiles.h"
#include "tempdatafolder.h"
#include "ui_schedulepage.h"
#include "widgets/colorref.h"

#include <QTest>

using namespace vn;
using namespace vn::test;

namespace {

struct PickerCall {
    QString title, filter, startFile, startFolder;
};

} // namespace

class TstSchedulePage : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        auto fake = MakeFakePlatform();
        sound_ = fake.sound;
        SetPlatform(std::move(fake.platform));
    }
    void cleanup() { SetPlatform(nullptr); }

    void optionsWriteAtOnce()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini", "[Schedule]\r\nBalloonHint=0\r\n[Alarm]\r\nTime=15\r\n");
        ScriptedPrompts prompts;
        FakeSettingsHost host;
        SchedulePage page;
        page.setHost(&host);
        page.LoadAtCreation();
        page.LoadAtShowing();
        const auto& ui = page.form();
        // The box says "do not show": the inverse of the setting.
        QVERIFY(ui.chkBallonHint->isChecked());
        ui.chkBallonHint->click();
        QCOMPARE(ReadSettingInt(REG_ScheduleBalloonHint), 1);
        ui.chkBallonHint->click();
        QCOMPARE(ReadSettingInt(REG_ScheduleBalloonHint), 0);

        QCOMPARE(ui.spinAlarm->value(), 15);
        QCOMPARE(ui.spinAlarm->maximum(), 360);
        ui.spinAlarm->setValue(30);
        QCOMPARE(ReadSettingInt(REG_AlarmTime), 30);

        prompts.colour = QColor(255, 0, 0);
        ui.cmdScheduleOldColor->click();
        QCOMPARE(prompts.colourAsked, ToQColor(0xC0C0C0));
        QCOMPARE(host.pastColour, 0x0000FF);
        QCOMPARE(ReadSettingInt(REG_ScheduleOldColor), 0x0000FF);
    }

    void soundRows()
    {
        TempDataFolder dir;
        ScriptedPrompts prompts;
        dir.writeBytes("old.wav", "RIFF");
        dir.writeBytes("bell.oga", "OggS");
        WriteSettingStr(REG_SoundAlarm, dir.file("gone.wav"));
        WriteSettingStr(REG_SoundTodayON, dir.file("old.wav"));
        QList<PickerCall> calls;
        std::optional<QString> answer;
        Prompts().chooseOpenFile = [&](const QString& title, const QString& filter,
                                       const QString& file, const QString& folder) {
            calls.append({title, filter, file, folder});
            return answer;
        };
        FakeSettingsHost host;
        SchedulePage page;
        page.setHost(&host);
        page.LoadAtCreation();
        page.LoadAtShowing();
        const auto& ui = page.form();
        const struct {
            QLineEdit* field;
            QPushButton *pick, *play;
            int setting;
            const char* title;
        } rows[] = {
            {ui.txtWav01, ui.cmdRefWav01, ui.cmdPlayWav01, REG_SoundTodayON,
             "本日予定ありのWaveファイルを指定"},
            {ui.txtWav02, ui.cmdRefWav02, ui.cmdPlayWav02, REG_SoundTodayOFF,
             "本日予定なしのWaveファイルを指定"},
            {ui.txtWav11, ui.cmdRefWav11, ui.cmdPlayWav11, REG_SoundAlarm,
             "警告（アラーム）のWaveファイルを指定"},
            {ui.txtWav21, ui.cmdRefWav21, ui.cmdPlayWav21, REG_SoundSchedule1,
             "予定時刻（パターン１）Waveファイルを指定"},
            {ui.txtWav22, ui.cmdRefWav22, ui.cmdPlayWav22, REG_SoundSchedule2,
             "予定時刻（パターン２）Waveファイルを指定"},
            {ui.txtWav23, ui.cmdRefWav23, ui.cmdPlayWav23, REG_SoundSchedule3,
             "予定時刻（パターン３）Waveファイルを指定"},
        };
        QCOMPARE(ui.txtWav01->text(), dir.file("old.wav"));
        QCOMPARE(ui.txtWav11->text(), dir.file("gone.wav"));
        for (const auto& r : rows) {
            // Picked: an Ogg sound of the desktop; the setting and the field.
            answer = dir.file("bell.oga");
            calls.clear();
            r.pick->click();
            QCOMPARE(calls.size(), 1);
            QCOMPARE(calls[0].title, QString::fromUtf8(r.title));
            QCOMPARE(calls[0].startFolder, SoundFolder());
            QVERIFY(calls[0].filter.contains("*.wav") && calls[0].filter.contains("*.oga") &&
                    calls[0].filter.contains("*.ogg"));
            QCOMPARE(r.field->text(), dir.file("bell.oga"));
            QCOMPARE(ReadSettingStr(r.setting), dir.file("bell.oga"));
            // Played without waiting.
            sound_->played.clear();
            r.play->click();
            QCOMPARE(sound_->played, QStringList({dir.file("bell.oga")}));
            // Cancelled: the picker starts at the file, which stays.
            answer.reset();
            r.pick->click();
            QCOMPARE(calls.last().startFile, dir.file("bell.oga"));
            QCOMPARE(ReadSettingStr(r.setting), dir.file("bell.oga"));
        }

        // A typed path plays but is not stored; a missing file is reported.
        ui.txtWav02->setText(dir.file("old.wav"));
        sound_->played.clear();
        ui.cmdPlayWav02->click();
        QCOMPARE(sound_->played, QStringList({dir.file("old.wav")}));
        QCOMPARE(ReadSettingStr(REG_SoundTodayOFF), dir.file("bell.oga"));
        ui.txtWav02->setText(dir.file("none.wav"));
        ui.cmdPlayWav02->click();
        QCOMPARE(prompts.boxes.size(), 1);
        QCOMPARE(prompts.boxes[0].kind, BoxKind::Information);
        QCOMPARE(prompts.boxes[0].buttons, BoxButtons::Yes);
        QCOMPARE(prompts.boxes[0].text, "ファイルがありません\r\n" + dir.file("none.wav"));
        ui.txtWav02->clear();
        ui.cmdPlayWav02->click(); // empty: nothing at all
        QCOMPARE(prompts.boxes.size(), 1);
        QCOMPARE(sound_->played.size(), 1);

        // The picker cancelled on a file that has gone: field and setting empty.
        QFile::remove(dir.file("bell.oga"));
        calls.clear();
        ui.cmdRefWav11->click();
        QCOMPARE(calls[0].startFile, QString());
        QCOMPARE(ui.txtWav11->text(), QString());
        QCOMPARE(ReadSettingStr(REG_SoundAlarm), QString());
    }

    void schedulePatternKeptBetweenRuns()
    {
        TempDataFolder dir;
        FakeSettingsHost host;
        {
            SchedulePage page;
            page.setHost(&host);
            page.LoadAtCreation();
            QCOMPARE(page.pattern(), 1); // nothing stored
            QVERIFY(page.form().rdoWav21->isChecked());
            QVERIFY(!dir.exists("Vnote.ini"));
            page.form().rdoWav23->click();
            QCOMPARE(page.pattern(), 3);
            page.form().rdoWav22->click();
            QCOMPARE(page.pattern(), 2);
        }
        // The next run finds it.
        QCOMPARE(IniFile(SettingsFile()).readInt("Sound", "SchedulePattern", -1), 1);
        SchedulePage again;
        again.setHost(&host);
        again.LoadAtCreation();
        QCOMPARE(again.pattern(), 2);
        const ScheduleSoundPattern& asked = again;
        QCOMPARE(asked.pattern(), 2);
        // Anything else stored is pattern 1.
        IniFile(SettingsFile()).writeInt("Sound", "SchedulePattern", 7);
        again.LoadAtShowing();
        QCOMPARE(again.pattern(), 1);
        QCOMPARE(IniFile(SettingsFile()).readInt("Sound", "SchedulePattern", -1), 0);
    }

private:
    FakeSoundPlayer* sound_ = nullptr;
};

QTEST_MAIN(TstSchedulePage)
#include "tst_schedulepage.moc"

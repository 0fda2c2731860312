// The schedule editor: what it stores for each way of filling it in, its
// refusals and its question, the labels, the enabling rules, and storing
// from the calendar into Schedule.dat.
#include "schedule/ui/scheduleeditor.h"

#include "fakeclock.h"
#include "foundation/appstate.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "modal.h"
#include "schedule/schedulestore.h"
#include "scriptedprompts.h"
#include "tempdatafolder.h"
#include "ui_scheduleeditor.h"

#include <QDir>
#include <QTest>
#include <QTimer>

using namespace vn;
using namespace vn::test;

namespace {

using Form = Ui::ScheduleEditor;

struct Stored {
    bool called = false;
    bool select = false;
    int position = 99;
    ScheduleFields fields;
};

// Opens the editor in list mode for a new schedule (or for row with
// fields), runs fill inside it, and returns what was stored.
Stored runEditor(ScheduleEditor& editor, const std::function<void(const Form&)>& fill, int row = -1,
                 const ScheduleFields& fields = {})
{
    Stored s;
    auto store = [&s](bool select, int position, const ScheduleFields& f) {
        s = {true, select, position, f};
    };
    WhenShown(&editor, [&] { fill(editor.form()); });
    if (row < 0)
        editor.NewScheduleFromList(store);
    else
        editor.EditScheduleFromList(row, fields, store);
    return s;
}

ScheduleFields readLine(const char* line)
{
    ScheduleFields f;
    ReadScheduleLine(QString::fromUtf8(line), &f);
    return f;
}

} // namespace

class TstScheduleEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { App() = AppState{}; }

    void whatIsStored()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2005, 3, 10) + EncodeTime(14, 25, 0));
        WriteSettingInt(REG_AlarmTime, 15);
        ScriptedPrompts prompts;
        ScheduleEditor editor;
        struct Case {
            const char* name;
            std::function<void(const Form&)> fill;
            QList<BoxAnswer> answers;
            const char* line; // what is stored, as the file line; nullptr: nothing
            QStringList boxes;
        };
        const QStringList question{"指定時刻にブラウザ起動をしますか？"};
        const Case cases[] = {
            {"defaults",
             [](const Form& f) { f.txtName->setText("会議"); },
             {},
             "200503101425,15,0,0,0,20050310,会議",
             {}},
            {"weekly with its last day",
             [](const Form& f) {
                 f.chkLoop->setChecked(true);
                 f.rdoWeek->setChecked(true);
                 f.dtEnd->setDate(QDate(2005, 6, 30));
                 f.txtName->setText("定例");
             },
             {},
             "200503101425,15,0,1,1,20050630,定例",
             {}},
            {"month end, Sundays to Saturday: kind 5",
             [](const Form& f) {
                 f.chkLoop->setChecked(true);
                 f.rdoMonth->setChecked(true);
                 f.chkMonthKind->setChecked(true);
                 f.cmbMonthKind->setCurrentIndex(2);
                 f.dtEnd->setDate(QDate(2005, 12, 31));
                 f.txtName->setText("締め");
             },
             {},
             "200503101425,15,0,1,5,20051231,締め",
             {}},
            {"every 14 days: kind 140",
             [](const Form& f) {
                 f.chkLoop->setChecked(true);
                 f.rdoDaySpan->setChecked(true);
                 f.spinDaySpan->setValue(14);
                 f.dtEnd->setDate(QDate(2005, 12, 31));
                 f.txtName->setText("隔");
             },
             {},
             "200503101425,15,0,1,140,20051231,隔",
             {}},
            {"loop off again after a month end: kind 0, last day the start",
             [](const Form& f) {
                 f.chkLoop->setChecked(true);
                 f.rdoMonth->setChecked(true);
                 f.chkMonthKind->setChecked(true);
                 f.dtEnd->setDate(QDate(2005, 12, 31));
                 f.chkLoop->setChecked(false);
                 QVERIFY(f.rdoDay->isChecked());
                 QVERIFY(!f.chkMonthKind->isChecked());
                 f.txtName->setText("x");
             },
             {},
             "200503101425,15,0,0,0,20050310,x",
             {}},
            {"all day: time, alarm and flag 0, the address kept, nothing asked",
             [](const Form& f) {
                 f.chkURL->setChecked(true);
                 f.txtURL->setText("http://example.jp/");
                 f.chkLoop->setChecked(true);
                 f.rdoYear->setChecked(true);
                 f.dtEnd->setDate(QDate(2030, 12, 31));
                 f.chkAllDay->setChecked(true);
                 QVERIFY(!f.spinHH->isEnabled());
                 QVERIFY(!f.txtURL->isEnabled());
                 f.txtName->setText("記念日");
             },
             {},
             "200503100000,00,0,1,-8,20301231,記念日,http://example.jp/",
             {}},
            {"an address typed, the box off: asked, yes",
             [](const Form& f) {
                 f.txtURL->setText("http://example.jp/");
                 f.txtName->setText("u");
             },
             {BoxAnswer::Yes},
             "200503101425,15,1,0,0,20050310,u,http://example.jp/",
             question},
            {"an address typed, the box off: asked, no",
             [](const Form& f) {
                 f.txtURL->setText("http://example.jp/");
                 f.txtName->setText("u");
             },
             {BoxAnswer::No},
             "200503101425,15,0,0,0,20050310,u,http://example.jp/",
             question},
            {"the address left at http://: stored empty, nothing asked",
             [](const Form& f) {
                 QCOMPARE(f.txtURL->text(), QStringLiteral("http://"));
                 f.txtName->setText("e");
             },
             {},
             "200503101425,15,0,0,0,20050310,e",
             {}},
            {"1H後 at 23: hour 0, the day unchanged",
             [](const Form& f) {
                 f.spinHH->setValue(23);
                 f.Button1->click();
                 QCOMPARE(f.spinHH->value(), 0);
                 f.spinHH->setValue(22);
                 f.Button4->click();
                 QCOMPARE(f.spinHH->value(), 2);
                 f.spinHH->setValue(23);
                 f.Button1->click();
                 f.Button5->click();
                 f.txtName->setText("h");
             },
             {},
             "200503100000,15,0,0,0,20050310,h",
             {}},
            {"start-day buttons with the loop off keep the last day with the start",
             [](const Form& f) {
                 f.Button7->click();
                 f.Button6->click();
                 QCOMPARE(f.dtEnd->date(), QDate(2005, 3, 18));
                 f.spinAlarm->setValue(0);
                 f.txtName->setText("d");
             },
             {},
             "200503181425,00,0,0,0,20050318,d",
             {}},
            {"an empty text is refused",
             [](const Form& f) {
                 f.txtName->setText("  ");
                 f.cmdAdd->click();
                 QVERIFY(f.cmdAdd->window()->isVisible());
                 QCOMPARE(f.cmdAdd->window()->focusWidget(), f.txtName);
                 f.cmdClose->click();
             },
             {},
             nullptr,
             {"内容を入力してください。"}},
            {"the box on without an address is refused",
             [](const Form& f) {
                 f.txtName->setText("t");
                 f.chkURL->setChecked(true);
                 f.cmdAdd->click();
                 QVERIFY(f.cmdAdd->window()->isVisible());
                 QCOMPARE(f.cmdAdd->window()->focusWidget(), f.txtURL);
                 f.cmdClose->click();
             },
             {},
             nullptr,
             {"URLを入力してください。"}},
        };
        for (const Case& c : cases) {
            prompts.clear();
            prompts.answers = c.answers;
            const Stored s = runEditor(editor, [&](const Form& f) {
                c.fill(f);
                if (editor.isVisible())
                    f.cmdAdd->click();
            });
            QVERIFY2(s.called == (c.line != nullptr), c.name);
            if (c.line) {
                QCOMPARE(ComposeScheduleLine(s.fields), QString::fromUtf8(c.line));
                QVERIFY2(s.select && s.position == -1, c.name);
            }
            QVERIFY2(prompts.texts() == c.boxes, c.name);
            QVERIFY2(!editor.isVisible(), c.name);
        }
    }

    void changingAndStoringAsNew()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2005, 3, 10) + EncodeTime(14, 25, 0));
        ScriptedPrompts prompts;
        ScheduleEditor editor;
        const ScheduleFields weekly = readLine("200412141530,10,1,1,1,20050314,定例会,http://a.jp");
        // The dialog shows the schedule; "新規登録" stores it as a new one.
        Stored s = runEditor(
            editor,
            [&](const Form& f) {
                QVERIFY(editor.windowTitle().startsWith(QStringLiteral("予定の修正")));
                QCOMPARE(f.cmdAdd->text(), QStringLiteral("修正"));
                QVERIFY(f.cmdNew->isVisible());
                QCOMPARE(f.dtDate->date(), QDate(2004, 12, 14));
                QCOMPARE(f.spinHH->value(), 15);
                QCOMPARE(f.spinNN->value(), 30);
                QCOMPARE(f.spinAlarm->value(), 10);
                QVERIFY(f.chkLoop->isChecked());
                QVERIFY(f.rdoWeek->isChecked());
                QCOMPARE(f.dtEnd->date(), QDate(2005, 3, 14));
                QVERIFY(f.chkURL->isChecked());
                QCOMPARE(f.txtURL->text(), QStringLiteral("http://a.jp"));
                QCOMPARE(f.lblLoop->text(), QStringLiteral("13回繰り返します"));
                f.txtName->setText(QStringLiteral("別の会"));
                f.cmdNew->click();
            },
            7, weekly);
        QCOMPARE(s.position, -1);
        QCOMPARE(s.fields.text, QStringLiteral("別の会"));
        QCOMPARE(s.fields.kind, 1);
        // "修正" stores into the row.
        s = runEditor(
            editor, [](const Form& f) { f.cmdAdd->click(); }, 7, weekly);
        QCOMPARE(s.position, 7);
        QCOMPARE(s.fields, weekly);

        // Each kind shows as its repetition.
        struct KindCase {
            const char* line;
            QRadioButton* Form::*radio;
            int monthKind; // -1: box off
            int span;
        };
        const KindCase kinds[] = {
            {"200501310900,00,0,1,2,20051231,m", &Form::rdoMonth, -1, 0},
            {"200501310900,00,0,1,4,20051231,m", &Form::rdoMonth, 1, 0},
            {"200501310900,00,0,1,6,20051231,m", &Form::rdoTwoWeeks, -1, 0},
            {"200501310900,00,0,1,7,20051231,m", &Form::rdoYear, -1, 0},
            {"200501310900,00,0,1,300,20051231,m", &Form::rdoDaySpan, -1, 30},
            {"200501310900,00,0,1,0,20051231,m", &Form::rdoDay, -1, 0},
        };
        for (const KindCase& k : kinds) {
            const ScheduleFields f = readLine(k.line);
            s = runEditor(
                editor,
                [&](const Form& form) {
                    QVERIFY2((form.*k.radio)->isChecked(), k.line);
                    QCOMPARE(form.chkMonthKind->isChecked(), k.monthKind >= 0);
                    QCOMPARE(form.chkMonthKind->isEnabled(), k.radio == &Form::rdoMonth);
                    if (k.monthKind >= 0)
                        QCOMPARE(form.cmbMonthKind->currentIndex(), k.monthKind);
                    QCOMPARE(form.spinDaySpan->isEnabled(), k.span > 0);
                    if (k.span > 0)
                        QCOMPARE(form.spinDaySpan->value(), k.span);
                    form.cmdAdd->click();
                },
                0, f);
            QVERIFY2(s.fields == f, k.line); // stored unchanged
        }
    }

    void labelsEnablingAndCaption()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2005, 3, 10) + EncodeTime(14, 25, 0));
        ScriptedPrompts prompts;
        ScheduleEditor editor;
        runEditor(editor, [&](const Form& f) {
            QCOMPARE(editor.windowTitle(),
                     QStringLiteral("新規予定の登録 [現在：2005/03/10(木) 14:25:00]"));
            QCOMPARE(editor.focusWidget(), f.txtName);
            QVERIFY(!f.cmdNew->isVisible());
            QVERIFY(f.cmdAdd->isDefault());
            // Loop off: the repetition is disabled.
            for (QWidget* w :
                 std::initializer_list<QWidget*>{f.rdoDay, f.rdoMonth, f.dtEnd, f.Button10,
                                                 f.lblLoop, f.chkMonthKind, f.spinDaySpan})
                QVERIFY(!w->isEnabled());
            f.chkLoop->setChecked(true);
            QVERIFY(f.rdoMonth->isEnabled());
            QVERIFY(!f.chkMonthKind->isEnabled());
            f.rdoMonth->setChecked(true);
            QVERIFY(f.chkMonthKind->isEnabled() && f.cmbMonthKind->isEnabled());

            // The repetition count.
            f.dtDate->setDate(QDate(2005, 1, 1));
            f.dtEnd->setDate(QDate(2005, 1, 15));
            const std::pair<QRadioButton*, const char*> counts[] = {
                {f.rdoDay, "15回繰り返します"},
                {f.rdoWeek, "3回繰り返します"},
                {f.rdoTwoWeeks, "1回繰り返します"},
                {f.rdoMonth, "約0回繰り返します"},
            };
            for (const auto& [radio, text] : counts) {
                radio->setChecked(true);
                QCOMPARE(f.lblLoop->text(), QString::fromUtf8(text));
            }
            f.rdoDaySpan->setChecked(true);
            f.spinDaySpan->setValue(5);
            QCOMPARE(f.lblLoop->text(), QStringLiteral("3回繰り返します"));
            // With the loop off the text stays as it was.
            f.chkLoop->setChecked(false);
            f.dtDate->setDate(QDate(2004, 1, 1));
            QCOMPARE(f.lblLoop->text(), QStringLiteral("3回繰り返します"));

            // The alarm moment, across midnight.
            f.dtDate->setDate(QDate(2005, 3, 10));
            f.spinHH->setValue(0);
            f.spinNN->setValue(10);
            f.spinAlarm->setValue(30);
            QCOMPARE(f.lblAlarmTime->text(), QStringLiteral("→ 2005/03/09 23:40 に警告表示"));
            f.spinAlarm->setValue(0);
            QVERIFY(f.lblAlarmTime->text().isEmpty());
            // Emptied time fields count as 0.
            f.spinAlarm->setValue(5);
            for (NumberBox* spin : {f.spinHH, f.spinAlarm}) {
                spin->setValue(7);
                spin->selectAll();
                QTest::keyClick(spin, Qt::Key_Delete);
                LeaveField(spin);
                QCOMPARE(spin->value(), 0);
            }

            // The caption clock shows the clock's time at each tick, but
            // does not change while the timers are quiet. The ticks are
            // driven here, so the test does not hang on the real second.
            auto* timer1 = editor.findChild<QTimer*>(QStringLiteral("Timer1"));
            QVERIFY(timer1 && timer1->isActive() && timer1->interval() == 1000);
            const auto tick = [timer1] {
                QVERIFY(QMetaObject::invokeMethod(timer1, "timeout", Qt::DirectConnection));
            };
            clock.advanceMSecs(2000);
            tick();
            QVERIFY(editor.windowTitle().endsWith(QStringLiteral("14:25:02]")));
            App().timersQuiet = true;
            clock.advanceMSecs(2000);
            tick();
            QVERIFY(editor.windowTitle().endsWith(QStringLiteral("14:25:02]")));
            App().timersQuiet = false;
            tick();
            QVERIFY(editor.windowTitle().endsWith(QStringLiteral("14:25:04]")));
            f.cmdClose->click();
        });
    }

    void storingFromTheCalendar()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2005, 3, 10) + EncodeTime(14, 25, 0));
        ScriptedPrompts prompts;
        dir.writeBytes("Schedule.dat",
                       Sjis(QStringLiteral("200501010900,00,0,0,0,20050101,元\r\n")));
        ScheduleStore store;
        store.LoadSchedules(SchedulePath());
        int repaints = 0;
        ScheduleEditor editor;
        editor.setCalendarStore(&store, [&] { ++repaints; });
        WhenShown(&editor, [&] {
            const Form& f = editor.form();
            QCOMPARE(editor.mode(), ScheduleEditor::Mode::Calendar);
            QCOMPARE(f.dtDate->date(), QDate(2005, 4, 1));
            QCOMPARE(f.dtEnd->date(), QDate(2005, 3, 10)); // today
            QCOMPARE(f.spinHH->value(), 14);
            QCOMPARE(f.spinNN->value(), 25);
            QCOMPARE(f.spinAlarm->value(), 10); // the setting's default
            QCOMPARE(f.txtURL->text(), QStringLiteral("http://"));
            TypeText(f.txtName, QStringLiteral("歯医者"));
            QTest::keyClick(f.txtName, Qt::Key_Return);
        });
        editor.NewScheduleFromCalendar(EncodeDate(2005, 4, 1));
        QCOMPARE(repaints, 1);
        QCOMPARE(store.ScheduleCountOn(2005, 4, 1), 1);
        QCOMPARE(dir.readBytes("Schedule.dat"),
                 Sjis(QStringLiteral("200501010900,00,0,0,0,20050101,元\r\n"
                                     "200504011425,10,0,0,0,20050401,歯医者\r\n")));

        // A file that cannot be written keeps the dialog open with its text.
        QVERIFY(QFile::remove(dir.file("Schedule.dat")));
        QVERIFY(QDir(dir.path()).mkdir("Schedule.dat"));
        bool stillOpen = false;
        WhenShown(&editor, [&] {
            editor.form().txtName->setText(QStringLiteral("残す"));
            editor.form().cmdAdd->click();
            stillOpen = editor.isVisible();
            QCOMPARE(editor.form().txtName->text(), QStringLiteral("残す"));
            editor.form().cmdClose->click();
        });
        editor.NewScheduleFromCalendar(EncodeDate(2005, 4, 2));
        QVERIFY(stillOpen);
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(prompts.errors[0].contains(QStringLiteral("Schedule.dat")));
    }
};

QTEST_MAIN(TstScheduleEditor)
#include "tst_scheduleeditor.moc"

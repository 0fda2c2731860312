// The period dialog: its design, the status line, the refusals and storing.
#include "runrecord/ui/perioddialog.h"

#include "fakeclock.h"
#include "foundation/settings.h"
#include "tempdatafolder.h"
#include "widgets/datepopup.h"
#include "widgets/uiprompts.h"
#include "windowshot.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace vn;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

int dayOf(int y, int m, int d)
{
    return DayNumber(EncodeDate(y, m, d));
}

} // namespace

class TstPeriodDialog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        saved_ = Prompts();
        boxes_.clear();
        Prompts().message = [this](BoxKind k, const QString& t, BoxButtons b) {
            boxes_.append({k, t});
            Q_UNUSED(b);
            return BoxAnswer::Ok;
        };
    }
    void cleanup() { Prompts() = saved_; }

    void design()
    {
        PeriodDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("TfrmTerm"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("表示期間"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize()); // fixed size
        QVERIFY(!(dialog.windowFlags() &
                  (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
        auto* ok = dialog.findChild<QPushButton*>("cmdOK");
        QCOMPARE(ok->text(), QStringLiteral("設定"));
        QVERIFY(ok->isDefault());
        QCOMPARE(dialog.findChild<QPushButton*>("cmdClose")->text(), QStringLiteral("閉じる"));
        QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(), QStringLiteral("表示開始日付："));
        QCOMPARE(dialog.findChild<QLabel*>("Label2")->text(), QStringLiteral("表示終了日付："));
        QCOMPARE(dialog.startPicker()->objectName(), QStringLiteral("DateTimePicker1"));
        QCOMPARE(dialog.endPicker()->objectName(), QStringLiteral("DateTimePicker2"));
        // The drop-down calendars speak Japanese and start their weeks on
        // Sunday (set up when the picker first opens them).
        for (QDateEdit* picker : {dialog.startPicker(), dialog.endPicker()}) {
            QVERIFY(picker->calendarPopup());
            QCalendarWidget* calendar = picker->findChild<DatePopup*>()->calendar();
            QCOMPARE(calendar->locale().monthName(9), QStringLiteral("9月"));
            QCOMPARE(calendar->firstDayOfWeek(), Qt::Sunday);
        }
    }

    void showingAndTheStatusLine()
    {
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2004, 12, 20) + EncodeTime(9, 0));
        PeriodDialog dialog;
        dialog.show(); // no period: today in both
        QCOMPARE(dialog.startPicker()->date(), QDate(2004, 12, 20));
        QCOMPARE(dialog.endPicker()->date(), QDate(2004, 12, 20));
        QCOMPARE(dialog.statusText(), QStringLiteral("表示期間は、1日間です"));
        dialog.hide();

        dialog.setPeriod({dayOf(2005, 1, 1), dayOf(2005, 12, 31)});
        dialog.show();
        QCOMPARE(dialog.startPicker()->date(), QDate(2005, 1, 1));
        QCOMPARE(dialog.statusText(), QStringLiteral("表示期間は、365日間です"));
        test::SaveWindowShot(&dialog, "perioddialog");
        dialog.startPicker()->setDate(QDate(2002, 1, 1));
        QCOMPARE(dialog.statusText(), QStringLiteral("表示期間は、1,461日間です"));
        dialog.hide();
    }

    void refusalsKeepTheOldPeriod_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QString>("message");
        QTest::newRow("reversed") << QDate(2004, 12, 31) << QDate(2004, 12, 30)
                                  << "期間が逆転しています。\r\n正しく設定してください。";
        QTest::newRow("ends yesterday") << QDate(2004, 12, 1) << QDate(2004, 12, 19)
                                        << "表示終了日付に本日より前の日付は指定出来ません";
        QTest::newRow("ends today") << QDate(2004, 12, 1) << QDate(2004, 12, 20) << QString();
    }
    void refusalsKeepTheOldPeriod()
    {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(QString, message);
        TempDataFolder dir;
        FakeClock clock(EncodeDate(2004, 12, 20) + EncodeTime(23, 59));
        const RunPeriod old{dayOf(2004, 1, 1), dayOf(2004, 12, 31)};
        WriteRunPeriod(old);
        PeriodDialog dialog;
        dialog.setPeriod(old);
        dialog.show();
        dialog.startPicker()->setDate(first);
        dialog.endPicker()->setDate(last);
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        if (message.isEmpty()) {
            QVERIFY(boxes_.isEmpty());
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            const RunPeriod chosen{DayNumber(FromQDate(first)), DayNumber(FromQDate(last))};
            QCOMPARE(dialog.period(), chosen);
            QCOMPARE(ReadRunPeriod(), chosen);
        } else {
            QCOMPARE(boxes_.size(), 1);
            QCOMPARE(boxes_[0].first, BoxKind::Error);
            QCOMPARE(boxes_[0].second, message);
            QVERIFY(dialog.isVisible()); // stays open
            QCOMPARE(dialog.period(), old);
            QCOMPARE(ReadRunPeriod(), old);
            // "閉じる" changes nothing either.
            QTest::mouseClick(dialog.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.period(), old);
        }
    }

private:
    UiPrompts saved_;
    QList<QPair<BoxKind, QString>> boxes_;
};

QTEST_MAIN(TstPeriodDialog)
#include "tst_perioddialog.moc"

// The holiday editor on its own: empty number fields, the name's limits,
// and the values it hands over.
#include "calendar/ui/holidayeditor.h"
#include "fakeclock.h"
#include "foundation/textcodec.h"
#include "modal.h"
#include "scriptedprompts.h"
#include "ui_holidayeditor.h"

#include <QLineEdit>
#include <QTest>

using namespace vn;
using namespace vn::test;

class TstHolidayEditor : public QObject {
    Q_OBJECT
private slots:
    void emptyNumberFieldsAndTheNameLimits()
    {
        FakeClock clock(EncodeDate(2011, 7, 1) + EncodeTime(12, 0));
        ScriptedPrompts prompts;
        HolidayEditor editor;
        const auto& ui = editor.form();
        int storedRow = 99;
        cal::HolidayEntry stored;
        WhenShown(&editor, [&] {
            // An emptied month or day is 1; an emptied year is this year.
            for (NumberBox* spin : {ui.spinMM, ui.spinDD, ui.spinStart, ui.spinEnd}) {
                spin->selectAll();
                QTest::keyClick(spin, Qt::Key_Delete);
                LeaveField(spin); // leaving a field takes its text
            }
            ui.spinStart->selectAll();
            QTest::keyClicks(ui.spinStart, "1950");
            LeaveField(ui.spinStart);
            QCOMPARE(ui.spinEnd->value(), 2011);

            // The name keeps what the file keeps: 255 Shift-JIS bytes, cut
            // from what was just typed; and no commas.
            const QString wide(200, QChar(0x3042));
            ui.txtName->setText(wide);
            QCOMPARE(ui.txtName->text(), wide.left(127));
            QCOMPARE(SjisLength(ui.txtName->text()), 254);
            ui.txtName->setText(QStringLiteral("前後"));
            ui.txtName->setCursorPosition(1);
            ui.txtName->insert(wide);
            QCOMPARE(ui.txtName->text(), "前" + wide.left(125) + "後");
            ui.txtName->clear();
            TypeText(ui.txtName, QStringLiteral("海の日,改"));
            QCOMPARE(ui.txtName->text(), QStringLiteral("海の日改"));
            ui.cmdAdd->click();
        });
        editor.EditRow(-1, {}, [&](int row, const cal::HolidayEntry& e) {
            storedRow = row;
            stored = e;
        });
        QCOMPARE(storedRow, -1);
        QCOMPARE(stored.month, 1);
        QCOMPARE(stored.day, 1);
        QCOMPARE(stored.firstYear, 1950);
        QCOMPARE(stored.lastYear, 2011);
        QCOMPARE(stored.name, QStringLiteral("海の日改"));
        QVERIFY(prompts.boxes.isEmpty());

        // A day the month does not have, and years in reverse, are stored as
        // entered; Enter in a number field stores too.
        WhenShown(&editor, [&] {
            QCOMPARE(ui.txtName->text(), QStringLiteral("x"));
            ui.spinMM->setValue(2);
            ui.spinDD->setValue(31);
            ui.spinStart->setValue(2020);
            ui.spinEnd->setValue(2000);
            ui.spinDD->setFocus();
            QTest::keyClick(ui.spinDD, Qt::Key_Return);
        });
        editor.EditRow(4, {3, 3, 1999, 1999, QStringLiteral("x")},
                       [&](int row, const cal::HolidayEntry& e) {
                           storedRow = row;
                           stored = e;
                       });
        QCOMPARE(storedRow, 4);
        QCOMPARE(stored, (cal::HolidayEntry{2, 31, 2020, 2000, QStringLiteral("x")}));
    }
};

QTEST_MAIN(TstHolidayEditor)
#include "tst_holidayeditor.moc"

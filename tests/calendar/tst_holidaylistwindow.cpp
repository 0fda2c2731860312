// The holiday list: loading and the rewrite order, kept lines, adding,
// changing and duplicating through the editor, deleting with its messages,
// and a file that cannot be written.
#include "calendar/holidaytable.h"
#include "calendar/ui/holidayeditor.h"
#include "calendar/ui/holidaylistwindow.h"
#include "fakeclock.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "modal.h"
#include "scriptedprompts.h"
#include "tempdatafolder.h"
#include "ui_holidayeditor.h"

#include <QDir>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

using namespace vn;
using namespace vn::test;

namespace {

QByteArray sjisLines(const QStringList& lines)
{
    return Sjis(JoinLinesCrLf(lines));
}

struct Fixture {
    TempDataFolder dir;
    FakeClock clock{EncodeDate(2008, 4, 20) + EncodeTime(9, 30)};
    ScriptedPrompts prompts;
    HolidayEditor editor;
    HolidayListWindow list;
    Fixture() { list.setEditor(&editor); }
    void open()
    {
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
    }
    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 0; r < list.grid()->rowCount(); ++r)
            out.append(list.grid()->text(r, c));
        return out;
    }
    void click(HolidayListWindow::Command c) { list.button(c)->click(); }
};

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

} // namespace

class TstHolidayListWindow : public QObject {
    Q_OBJECT
private slots:
    void aChangeRewritesSortedWithKeptLinesInPlace()
    {
        Fixture f;
        const QByteArray bytes = sjisLines({
            "1103,1990,2099,文化の日2",
            "/ 自分の休日",
            "0506,2008,2008,テスト",
            "01w2,2000,2099,成人の日X",
            "12AB,2000,2000,bad",
            " 101,99,2000,元日X",
            "0229,1999,2001,うるう",
            "0715, 800 ,2000,古",
            "1231,2000,2100,a,b,c,d",
        });
        f.dir.writeBytes("Holiday.dat", bytes);
        f.open();
        QCOMPARE(f.column(HolidayListWindow::MonthDay),
                 QStringList({"02/29", "05/06", "07/15", "11/03", "12/31"}));
        QCOMPARE(f.column(HolidayListWindow::Name),
                 QStringList({"うるう", "テスト", "古", "文化の日2", "a"}));
        QCOMPARE(f.list.grid()->number(0, HolidayListWindow::Month), 2);
        QCOMPARE(f.list.grid()->number(0, HolidayListWindow::Day), 29);
        QCOMPARE(f.list.grid()->number(2, HolidayListWindow::FirstYear), 800);
        QVERIFY(f.list.grid()->isColumnHidden(HolidayListWindow::Month));
        // The file's first row stays current through the sort.
        QCOMPARE(f.list.grid()->currentRow(), 3);
        // The lines the list cannot take are reported once, by number; the
        // n-th Monday line and the comment are kept without a word.
        QTRY_COMPARE(f.prompts.errors.size(), 1);
        QVERIFY(f.prompts.errors[0].contains(QStringLiteral("5, 6")));
        QVERIFY(f.prompts.errors[0].contains(QStringLiteral("2 行")));

        // Nothing changed: the file is not rewritten.
        const ino_t before = inodeOf(HolidayPath());
        f.click(HolidayListWindow::Command::Close);
        QVERIFY(!f.list.isVisible());
        QCOMPARE(inodeOf(HolidayPath()), before);
        QCOMPARE(f.dir.readBytes("Holiday.dat"), bytes);

        // One row deleted: the rows go back sorted, the kept lines in their
        // places, the fields after a name with it.
        f.open();
        f.list.grid()->setCurrentRow(1);
        f.click(HolidayListWindow::Command::Delete);
        f.click(HolidayListWindow::Command::Close);
        QCOMPARE(f.dir.readBytes("Holiday.dat"), sjisLines({
                                                     "0229,1999,2001,うるう",
                                                     "/ 自分の休日",
                                                     "0715,0800,2000,古",
                                                     "01w2,2000,2099,成人の日X",
                                                     "12AB,2000,2000,bad",
                                                     " 101,99,2000,元日X",
                                                     "1103,1990,2099,文化の日2",
                                                     "1231,2000,2100,a,b,c,d",
                                                 }));
    }

    void aBadLineInTheMiddleSurvivesByteForByte()
    {
        Fixture f;
        const QByteArray bytes = Sjis(QStringLiteral("0101,2000,2099,元日A\r\n")) +
                                 QByteArray("0\x82\x02,xx,\xff\xfe\r\n") +
                                 Sjis(QStringLiteral("0506,2008,2008,テスト\r\n"));
        f.dir.writeBytes("Holiday.dat", bytes);
        f.open();
        QCOMPARE(f.list.grid()->rowCount(), 2);
        QTRY_COMPARE(f.prompts.errors.size(), 1);
        QVERIFY(f.prompts.errors[0].contains(QStringLiteral("2 行目")));
        f.list.close();
        QCOMPARE(f.dir.readBytes("Holiday.dat"), bytes);
        // With the row before it deleted, the bad line keeps its line number
        // as far as the rows allow.
        f.prompts.clear();
        f.open();
        f.list.grid()->setCurrentRow(0);
        f.click(HolidayListWindow::Command::Delete);
        f.list.close();
        QCOMPARE(f.dir.readBytes("Holiday.dat"), Sjis(QStringLiteral("0506,2008,2008,テスト\r\n")) +
                                                     QByteArray("0\x82\x02,xx,\xff\xfe\r\n"));
    }

    void addingTheHolidayOf2008()
    {
        Fixture f;
        f.open();
        QWidget* focused = nullptr;
        WhenShown(&f.editor, [&] {
            const auto& ui = f.editor.form();
            QCOMPARE(f.editor.windowTitle(), QStringLiteral("新規休日の登録"));
            QCOMPARE(ui.cmdAdd->text(), QStringLiteral("新規登録"));
            QVERIFY(!ui.cmdNew->isVisible());
            QCOMPARE(ui.spinMM->value(), 4); // today
            QCOMPARE(ui.spinDD->value(), 20);
            QCOMPARE(ui.spinStart->value(), 2008);
            QCOMPARE(ui.spinEnd->value(), 2008);
            focused = f.editor.focusWidget(); // the focus once the window is active
            ui.spinMM->setValue(5);
            ui.spinDD->setValue(6);
            TypeText(ui.txtName, QStringLiteral("テスト記念日"));
            QTest::keyClick(ui.txtName, Qt::Key_Return); // Enter stores
        });
        f.click(HolidayListWindow::Command::Add);
        QCOMPARE(focused, f.editor.form().txtName);
        QVERIFY(!f.editor.isVisible());
        QCOMPARE(f.list.grid()->rowCount(), 1);
        QCOMPARE(f.list.grid()->currentRow(), 0);
        QCOMPARE(f.list.grid()->text(0, HolidayListWindow::MonthDay), QStringLiteral("05/06"));
        f.list.close();
        QCOMPARE(ReadLines(HolidayPath()), QStringList({"0506,2008,2008,テスト記念日"}));

        // The calendar reads it back: the name on the day, and the
        // substitute holiday it displaces moves on to the next day.
        cal::HolidayTable table;
        table.LoadHolidays(HolidayPath());
        QCOMPARE(table.HolidayName(2008, 5, 6), QStringLiteral("テスト記念日"));
        QCOMPARE(table.HolidayName(2008, 5, 7), QStringLiteral("振替休日"));
    }

    void changingDuplicatingAndCancelling()
    {
        Fixture f;
        f.dir.writeBytes("Holiday.dat", sjisLines({"0101,2000,2099,A", "0202,2001,2002,B"}));
        f.open();
        f.list.grid()->setCurrentRow(1);
        // A double click on a row opens it for a change.
        WhenShown(&f.editor, [&] {
            const auto& ui = f.editor.form();
            QCOMPARE(f.editor.windowTitle(), QStringLiteral("休日の修正"));
            QCOMPARE(ui.cmdAdd->text(), QStringLiteral("修正"));
            QVERIFY(ui.cmdNew->isVisible());
            QCOMPARE(ui.spinMM->value(), 2);
            QCOMPARE(ui.spinDD->value(), 2);
            QCOMPARE(ui.spinStart->value(), 2001);
            QCOMPARE(ui.spinEnd->value(), 2002);
            QCOMPARE(ui.txtName->text(), QStringLiteral("B"));
            ui.spinDD->setValue(3);
            ui.txtName->setText(QStringLiteral("B2"));
            ui.cmdNew->click(); // stored as a further row
        });
        const QRect cell = f.list.grid()->visualRect(f.list.grid()->model()->index(1, 3));
        QTest::mouseClick(f.list.grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(f.list.grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(f.column(HolidayListWindow::MonthDay), QStringList({"01/01", "02/02", "02/03"}));
        QCOMPARE(f.column(HolidayListWindow::Name), QStringList({"A", "B", "B2"}));
        QCOMPARE(f.list.grid()->currentRow(), 2);

        // "修正" changes the row in place.
        f.list.grid()->setCurrentRow(0);
        WhenShown(&f.editor, [&] {
            f.editor.form().spinEnd->setValue(2100);
            f.editor.form().cmdAdd->click();
        });
        f.click(HolidayListWindow::Command::Change);
        QCOMPARE(f.list.grid()->number(0, HolidayListWindow::LastYear), 2100);
        QCOMPARE(f.list.grid()->rowCount(), 3);

        // "閉じる" and Escape store nothing.
        WhenShown(&f.editor, [&] {
            f.editor.form().txtName->setText(QStringLiteral("changed"));
            f.editor.form().cmdClose->click();
        });
        f.click(HolidayListWindow::Command::Change);
        WhenShown(&f.editor, [&] {
            f.editor.form().txtName->setText(QStringLiteral("changed"));
            QTest::keyClick(&f.editor, Qt::Key_Escape);
        });
        f.click(HolidayListWindow::Command::Add);
        QCOMPARE(f.column(HolidayListWindow::Name), QStringList({"A", "B", "B2"}));

        // Without a current row there is nothing to change.
        f.list.grid()->setCurrentRow(-1);
        f.click(HolidayListWindow::Command::Change);
        QVERIFY(!f.editor.isVisible());

        f.click(HolidayListWindow::Command::SortDescending);
        QCOMPARE(f.column(HolidayListWindow::MonthDay), QStringList({"02/03", "02/02", "01/01"}));
        f.list.close(); // written in the order shown
        QCOMPARE(ReadLines(HolidayPath()),
                 QStringList({"0203,2001,2002,B2", "0202,2001,2002,B", "0101,2000,2100,A"}));
        f.open();
        QCOMPARE(f.column(HolidayListWindow::MonthDay), QStringList({"01/01", "02/02", "02/03"}));
        f.list.close();
    }

    void anEmptyNameIsRefused()
    {
        Fixture f;
        f.open();
        bool stillOpen = false;
        WhenShown(&f.editor, [&] {
            f.editor.form().txtName->setText(QStringLiteral("   "));
            f.editor.form().cmdAdd->click();
            stillOpen = f.editor.isVisible();
            QCOMPARE(f.editor.focusWidget(), f.editor.form().txtName);
            f.editor.form().cmdClose->click();
        });
        f.click(HolidayListWindow::Command::Add);
        QVERIFY(stillOpen);
        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(f.prompts.boxes[0].kind, BoxKind::Plain);
        QCOMPARE(f.prompts.boxes[0].text, QStringLiteral("休日名称を入力してください。"));
        QCOMPARE(f.list.grid()->rowCount(), 0);
    }

    void deleting()
    {
        Fixture f;
        f.dir.writeBytes("Holiday.dat",
                         sjisLines({"0101,2000,2099,A", "0202,2000,2099,B", "0303,2000,2099,C"}));
        f.open();
        f.list.grid()->setCurrentRow(-1);
        f.click(HolidayListWindow::Command::Delete);
        QCOMPARE(f.prompts.boxes.last().kind, BoxKind::Warning);
        QCOMPARE(f.prompts.boxes.last().text, QStringLiteral("削除データ不明"));
        QCOMPARE(f.prompts.boxes.last().buttons, BoxButtons::Ok);

        f.list.grid()->setCurrentRow(2);
        f.prompts.answers = {BoxAnswer::No};
        f.click(HolidayListWindow::Command::Delete);
        QCOMPARE(f.prompts.boxes.last().kind, BoxKind::Confirmation);
        QCOMPARE(f.prompts.boxes.last().buttons, BoxButtons::YesNo);
        QCOMPARE(f.prompts.boxes.last().text,
                 QStringLiteral("削除します？\r\n\r\n月日　　 = [03/03]\r\n休日名称 = [C]"));
        QCOMPARE(f.list.grid()->rowCount(), 3);
        // Deleting the last row makes the new last row current.
        f.click(HolidayListWindow::Command::Delete);
        QCOMPARE(f.column(HolidayListWindow::Name), QStringList({"A", "B"}));
        QCOMPARE(f.list.grid()->currentRow(), 1);
        // Deleting the first makes the row now in its place current.
        f.list.grid()->setCurrentRow(0);
        f.click(HolidayListWindow::Command::Delete);
        QCOMPARE(f.column(HolidayListWindow::Name), QStringList({"B"}));
        QCOMPARE(f.list.grid()->currentRow(), 0);
        f.click(HolidayListWindow::Command::Delete);
        QCOMPARE(f.list.grid()->rowCount(), 0);
        f.prompts.clear();
        f.click(HolidayListWindow::Command::Delete);
        QCOMPARE(f.prompts.texts(), QStringList({"削除データなし"}));
        f.list.close();
        QCOMPARE(f.dir.readBytes("Holiday.dat"), QByteArray());
    }

    // The close that cannot write says so and lets the user go back to the
    // list (or close: see the application's tests); the rows are kept.
    void aFileThatCannotBeWrittenCanBeWrittenLater()
    {
        Fixture f;
        f.dir.writeBytes("Holiday.dat", sjisLines({"0101,2000,2099,A"}));
        f.open();
        f.list.grid()->setCurrentRow(0);
        f.click(HolidayListWindow::Command::Delete);
        // The file becomes a folder: the rewrite cannot happen.
        QVERIFY(QFile::remove(f.dir.file("Holiday.dat")));
        QVERIFY(QDir(f.dir.path()).mkdir("Holiday.dat"));
        f.prompts.clear();
        f.prompts.answers = {BoxAnswer::Cancel}; // back to the list
        f.list.close();
        QVERIFY(f.list.isVisible());
        QCOMPARE(f.prompts.boxes.size(), 1);
        QCOMPARE(f.prompts.boxes[0].kind, BoxKind::Error);
        QCOMPARE(f.prompts.boxes[0].buttons, BoxButtons::YesNoCancel);
        QVERIFY(f.prompts.boxes[0].text.contains(QStringLiteral("Holiday.dat")));
        QVERIFY(f.prompts.boxes[0].text.contains(QStringLiteral("保存されていません")));
        QCOMPARE(f.list.grid()->rowCount(), 0);
        // Once the folder is gone, the next close writes the file.
        QVERIFY(QDir(f.dir.path()).rmdir("Holiday.dat"));
        f.prompts.clear();
        f.list.close();
        QVERIFY(!f.list.isVisible());
        QVERIFY(f.prompts.boxes.isEmpty());
        QCOMPARE(f.dir.readBytes("Holiday.dat"), QByteArray());
    }
};

QTEST_MAIN(TstHolidayListWindow)
#include "tst_holidaylistwindow.moc"

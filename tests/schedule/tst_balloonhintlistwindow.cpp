// The balloon-hint list and editor: edits count for the minute check at
// once, row colours by time of day, the editor's presets and limits,
// deleting, and the rewrite with kept lines in place.
#include "schedule/ui/balloonhintlistwindow.h"

#include "fakeclock.h"
#include "foundation/paths.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "modal.h"
#include "schedule/ui/balloonhinteditor.h"
#include "scriptedprompts.h"
#include "tempdatafolder.h"
#include "ui_balloonhinteditor.h"
#include "widgets/colorref.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace vn;
using namespace vn::test;
using Col = BalloonHintListWindow::Column;
using Cmd = BalloonHintListWindow::Command;

namespace {

struct Fixture {
    TempDataFolder dir;
    FakeClock clock{EncodeDate(2009, 1, 5) + EncodeTime(12, 0, 30)};
    ScriptedPrompts prompts;
    BalloonHintStore store; // the program's one set
    BalloonHintEditor editor;
    BalloonHintListWindow list;
    int pastColour = 0x00C0C0C0;
    Fixture()
    {
        list.setStore(&store);
        list.setEditor(&editor);
        list.setPastColour(&pastColour);
    }
    void load(const QByteArray& bytes)
    {
        dir.writeBytes("BalloonHint.dat", bytes);
        store.LoadBalloonHints();
    }
    void open()
    {
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
    }
    QStringList storeKeys() const
    {
        QStringList out;
        for (const BalloonHintRow& r : store.rows())
            out.append(r.key + (r.shown ? "+" : "-"));
        return out;
    }
    QColor colourOf(int row) const
    {
        return list.grid()
            ->model()
            ->data(list.grid()->model()->index(row, Col::Message), Qt::ForegroundRole)
            .value<QColor>();
    }
};

} // namespace

class TstBalloonHintListWindow : public QObject {
    Q_OBJECT
private slots:
    void rowsColoursTickingAndSorting()
    {
        Fixture f;
        f.load(Sjis(JoinLinesCrLf({"1,1230,昼休み終わり", "0,1300,非表示", "1,1100,過ぎた"})));
        f.open();
        QCOMPARE(f.list.grid()->rowCount(), 3);
        QCOMPARE(f.list.grid()->text(0, Col::TimeText), QStringLiteral("11:00"));
        QCOMPARE(f.list.grid()->text(1, Col::Message), QStringLiteral("昼休み終わり"));
        QVERIFY(f.list.grid()->isColumnHidden(Col::Key));
        // Black while shown and still to come; otherwise the past colour.
        QCOMPARE(f.colourOf(0), ToQColor(0x00C0C0C0));
        QCOMPARE(f.colourOf(1), QColor(Qt::black));
        QCOMPARE(f.colourOf(2), ToQColor(0x00C0C0C0));

        // Ticking the mark in place counts for the minute check at once.
        QVERIFY(!f.store.BalloonHintAt("13:00").shown);
        const QRect box = f.list.grid()->visualRect(f.list.grid()->model()->index(2, Col::Shown));
        QTest::mouseClick(f.list.grid()->viewport(), Qt::LeftButton, {}, box.center());
        QVERIFY(f.store.BalloonHintAt("13:00").shown);
        QCOMPARE(f.colourOf(2), QColor(Qt::black));

        f.list.button(Cmd::SortDescending)->click();
        QCOMPARE(f.storeKeys(), QStringList({"13:00+", "12:30+", "11:00+"}));
        f.list.button(Cmd::SortAscending)->click();
        QCOMPARE(f.storeKeys(), QStringList({"11:00+", "12:30+", "13:00+"}));
        f.list.close();
        QCOMPARE(ReadLines(BalloonHintPath()),
                 QStringList({"1,1100,過ぎた", "1,1230,昼休み終わり", "1,1300,非表示"}));
    }

    void addingAndChangingThroughTheEditor()
    {
        Fixture f;
        f.load(Sjis(JoinLinesCrLf({"1,1500,おやつ"})));
        f.open();
        WhenShown(&f.editor, [&] {
            const auto& ui = f.editor.form();
            QCOMPARE(f.editor.windowTitle(), QStringLiteral("バルーンヒントの新規登録"));
            QCOMPARE(ui.cmdAdd->text(), QStringLiteral("新規登録"));
            QVERIFY(!ui.cmdNew->isVisible());
            QVERIFY(ui.chkShow->isChecked());
            QCOMPARE(ui.spinHH->value(), 12);
            QCOMPARE(ui.spinNN->value(), 0);
            QVERIFY(ui.cmbMsg->currentText().isEmpty());
            QCOMPARE(f.editor.focusWidget(), ui.cmbMsg);
            QCOMPARE(ui.cmbMsg->toolTip(), QStringLiteral("選んでヨシ！入力してもヨシ！"));
            // The twelve presets, in order.
            QCOMPARE(ui.cmbMsg->count(), 12);
            QCOMPARE(ui.cmbMsg->itemText(0), QStringLiteral("＼(^O^)／"));
            QCOMPARE(ui.cmbMsg->itemText(3), QStringLiteral("（ ＾-＾）_且~~~ "));
            QCOMPARE(ui.cmbMsg->itemText(11),
                     QStringLiteral(
                         "...zzzZZZ　　[　オ(^o^) ヤ(^O^) ス(^。^) ミ(^-^)ノ゛　]　　...zzzZZZ"));
            // Nothing typed: refused, the focus stays in the message.
            ui.cmdAdd->click();
            QVERIFY(f.editor.isVisible());
            ui.cmbMsg->setCurrentIndex(9);
            ui.spinHH->setValue(8);
            ui.spinNN->setValue(5);
            ui.cmdAdd->click();
        });
        f.list.button(Cmd::Add)->click();
        QCOMPARE(f.prompts.texts(), QStringList({"メッセージを入力してください。"}));
        QCOMPARE(f.prompts.boxes[0].kind, BoxKind::Plain);
        // Appended at the end, current, and in the store at once.
        QCOMPARE(f.list.grid()->currentRow(), 1);
        QCOMPARE(f.storeKeys(), QStringList({"15:00+", "08:05+"}));
        QCOMPARE(f.store.BalloonHintAt("08:05").message,
                 QStringLiteral("o(^^ )o--------⊆^U)┬┬~... 　犬の散歩の時間・・・"));
        QCOMPARE(f.store.BalloonHintAt("08:05").title, QStringLiteral("08:05"));

        // Changing shows the row; "新規登録" adds a further row.
        f.list.grid()->setCurrentRow(0);
        WhenShown(&f.editor, [&] {
            const auto& ui = f.editor.form();
            QCOMPARE(f.editor.windowTitle(), QStringLiteral("バルーンヒントの修正"));
            QCOMPARE(ui.cmdAdd->text(), QStringLiteral("修正"));
            QVERIFY(ui.cmdNew->isVisible());
            QCOMPARE(ui.spinHH->value(), 15);
            QCOMPARE(ui.cmbMsg->currentText(), QStringLiteral("おやつ"));
            ui.chkShow->setChecked(false);
            ui.cmbMsg->setEditText(QStringLiteral("おやつ２"));
            ui.cmdNew->click();
        });
        f.list.button(Cmd::Change)->click();
        QCOMPARE(f.storeKeys(), QStringList({"15:00+", "08:05+", "15:00-"}));
        QCOMPARE(f.store.BalloonHintAt("15:00").message, QStringLiteral("おやつ")); // the first
        // "修正" changes the row in place; the message keeps 256 bytes.
        f.list.grid()->setCurrentRow(0);
        WhenShown(&f.editor, [&] {
            f.editor.form().cmbMsg->setEditText(QString(200, QChar(0x3042)));
            QCOMPARE(SjisLength(f.editor.form().cmbMsg->currentText()), 256);
            f.editor.form().cmdAdd->click();
        });
        f.list.button(Cmd::Change)->click();
        QCOMPARE(f.store.rows()[0].message, QString(128, QChar(0x3042)));
        // "閉じる" changes nothing.
        WhenShown(&f.editor, [&] {
            f.editor.form().cmbMsg->setEditText(QStringLiteral("x"));
            f.editor.form().cmdClose->click();
        });
        f.list.button(Cmd::Change)->click();
        QCOMPARE(f.store.rows()[0].message, QString(128, QChar(0x3042)));
        f.list.close();
        QCOMPARE(ReadLines(BalloonHintPath()),
                 QStringList({"1,1500," + QString(128, QChar(0x3042)),
                              "1,0805,o(^^ )o--------⊆^U)┬┬~... 　犬の散歩の時間・・・",
                              "0,1500,おやつ２"}));
    }

    void deletingAndKeptLines()
    {
        Fixture f;
        const QByteArray bytes = Sjis(JoinLinesCrLf({"/ 毎日のこと", "1,0900,朝"})) +
                                 "1,9x00,\x82\xff\r\n" +
                                 Sjis(JoinLinesCrLf({"1,1200,昼", "1,1800,夕"}));
        f.load(bytes);
        f.open();
        f.list.close();
        QCOMPARE(f.dir.readBytes("BalloonHint.dat"), bytes); // nothing changed, nothing lost

        f.open();
        f.list.grid()->setCurrentRow(2);
        f.prompts.answers = {BoxAnswer::No};
        f.list.button(Cmd::Delete)->click();
        QCOMPARE(f.prompts.boxes.last().text,
                 QStringLiteral("削除します？\r\n\r\n時間　　　 = [18:00]\r\nメッセージ = [夕]"));
        QCOMPARE(f.prompts.boxes.last().kind, BoxKind::Confirmation);
        QCOMPARE(f.store.rows().size(), size_t(3));
        // Deleting the last of three makes the new last row current; the
        // minute check no longer finds it.
        f.list.button(Cmd::Delete)->click();
        QCOMPARE(f.list.grid()->currentRow(), 1);
        QVERIFY(f.store.BalloonHintAt("18:00").message.isEmpty());
        f.list.grid()->setCurrentRow(-1);
        f.prompts.clear();
        f.list.button(Cmd::Delete)->click();
        QCOMPARE(f.prompts.texts(), QStringList({"削除データ不明"}));
        f.list.close();
        QCOMPARE(f.dir.readBytes("BalloonHint.dat"),
                 Sjis(JoinLinesCrLf({"/ 毎日のこと", "1,0900,朝"})) + "1,9x00,\x82\xff\r\n" +
                     Sjis(JoinLinesCrLf({"1,1200,昼"})));
    }
};

QTEST_MAIN(TstBalloonHintListWindow)
#include "tst_balloonhintlistwindow.moc"

// The real dialogs behind the prompts: the one-line input box shows its whole
// caption (a Japanese caption was cut off in the title bar).
#include "widgets/uiprompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QTest>
#include <memory>

using namespace vn;

class TstUiPrompts : public QObject {
    Q_OBJECT
private slots:
    void fileDialogShowsEachPatternOnce_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pattern in the name") << QStringLiteral("テキストファイル(*.txt)|*.txt")
                                             << QStringLiteral("テキストファイル(*.txt)");
        QTest::newRow("bare name")
            << QStringLiteral("すべてのファイル|*.*") << QStringLiteral("すべてのファイル (*.*)");
    }
    void fileDialogShowsEachPatternOnce()
    {
        QFETCH(QString, filter);
        QFETCH(QString, shown);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(QtNameFilter(filter));
        QCOMPARE(dialog.nameFilters(), QStringList{shown});
        // The dialog filters by the patterns in the last brackets.
        const QString patterns = shown.mid(shown.lastIndexOf(u'(') + 1).chopped(1);
        QCOMPARE(patterns, filter.section(u'|', 1, 1));
    }
    void inputBoxIsWideEnoughForItsCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::newRow("tab rename") << QStringLiteral("タブ名称変更");
        QTest::newRow("long caption")
            << QStringLiteral("とても長いタイトルの入力ボックスでも切れない");
    }
    void inputBoxIsWideEnoughForItsCaption()
    {
        QFETCH(QString, caption);
        const std::unique_ptr<QInputDialog> box(MakeInputDialog(
            nullptr, caption, QStringLiteral("新しいタブ名を入力"), QStringLiteral("メモ")));
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QCOMPARE(box->windowTitle(), caption);
        QCOMPARE(box->textValue(), QStringLiteral("メモ"));
        // The title bar holds the caption and about three buttons of its height.
        const QFontMetrics fm(QApplication::font());
        QVERIFY2(box->width() >= fm.horizontalAdvance(caption) + 3 * fm.height(),
                 qPrintable(QString::number(box->width())));
    }
};

QTEST_MAIN(TstUiPrompts)
#include "tst_uiprompts.moc"

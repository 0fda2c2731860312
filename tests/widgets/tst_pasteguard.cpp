// Pasting an empty clipboard (an X clipboard nobody owns gives data without
// any format) must not reach Qt's editors, which crash on it.
#include "widgets/pasteguard.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

using namespace vn;

class TstPasteGuard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallPasteGuard(); }

    void everyPasteOfAnEmptyClipboardDoesNothing_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::newRow("plain text editor") << true;
        QTest::newRow("rich text editor") << false;
    }
    void everyPasteOfAnEmptyClipboardDoesNothing()
    {
        QFETCH(bool, plain);
        QPlainTextEdit p;
        QTextEdit r;
        QWidget* editor = plain ? static_cast<QWidget*>(&p) : &r;
        auto text = [&] { return plain ? p.toPlainText() : r.toPlainText(); };
        auto paste = [&] { plain ? PasteInto(&p) : PasteInto(&r); };
        editor->show();
        plain ? p.setPlainText("kept") : r.setPlainText("kept");
        QClipboard* clipboard = QApplication::clipboard();
        for (QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection})
            if (mode == QClipboard::Clipboard || clipboard->supportsSelection())
                clipboard->setMimeData(new QMimeData, mode); // no format at all
        QVERIFY(!CanPasteFrom(clipboard->mimeData()));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Insert, Qt::ShiftModifier);
        QWidget* viewport = plain ? p.viewport() : r.viewport();
        QTest::mouseClick(viewport, Qt::MiddleButton);
        paste();
        QCOMPARE(text(), QString("kept"));

        // With text on the clipboard every way pastes as usual.
        clipboard->setText("+");
        QVERIFY(CanPasteFrom(clipboard->mimeData()));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        paste();
        QCOMPARE(text().count(u'+'), 2);
    }

    void oneLineFieldKeepsItsSelectionOnAnEmptyPaste()
    {
        QLineEdit field(QStringLiteral("kept"));
        field.show();
        field.selectAll();
        QApplication::clipboard()->setMimeData(new QMimeData); // no format at all
        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(&field, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(field.text(), QString("kept"));
        QApplication::clipboard()->setText("+");
        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field.text(), QString("+"));
    }
};

QTEST_MAIN(TstPasteGuard)
#include "tst_pasteguard.moc"

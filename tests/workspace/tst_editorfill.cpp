// A long text going into an editor in pieces: what the editor shows while
// it fills, and the user's keys and clicks during the fill.
#include "workspace/editorfill.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

using namespace vn;

namespace {

// Numbered lines of mixed widths, some Japanese, one with a surrogate pair.
QString longText()
{
    QString t;
    for (int i = 0; t.size() < 5 * EditorFill::kMinimumLength; ++i)
        t += QStringLiteral("%1 行目 %2%3\n")
                 .arg(i)
                 .arg(QString(i % 7 * 9, u'あ'))
                 .arg(i % 97 == 0 ? QStringLiteral("𠮷") : QString());
    return t;
}

qsizetype lineStart(const QString& t, int line)
{
    qsizetype pos = 0;
    for (int i = 0; i < line; ++i)
        pos = t.indexOf(u'\n', pos) + 1;
    return pos;
}

QString topLine(QPlainTextEdit& e)
{
    return e.cursorForPosition(QPoint(2, 2)).block().text();
}

} // namespace

class TstEditorFill : public QObject {
    Q_OBJECT
private slots:
    void whatIsTypedLandsWhereTheCaretWas_data()
    {
        QTest::addColumn<int>("scroll");
        QTest::addColumn<int>("anchorLine"); // the caret at the start of a line …
        QTest::addColumn<int>("length");     // … selecting this many characters
        QTest::addColumn<int>("pieces");     // pieces put in before the keys
        QTest::newRow("top, at once") << 0 << 0 << 0 << 0;
        QTest::newRow("middle, caret shown") << 3000 << 3010 << 0 << 2;
        QTest::newRow("selection past the first lines") << 3000 << 3005 << 20000 << 1;
        QTest::newRow("caret far below the screen") << 0 << 5000 << 3 << 3;
        QTest::newRow("caret far above the screen") << 6000 << 10 << 0 << 6;
        QTest::newRow("scrolled to the end") << 100000 << 200 << 5 << 5;
    }
    void whatIsTypedLandsWhereTheCaretWas()
    {
        QFETCH(int, scroll);
        QFETCH(int, anchorLine);
        QFETCH(int, length);
        QFETCH(int, pieces);
        const QString text = longText();
        QPlainTextEdit e;
        e.setLineWrapMode(QPlainTextEdit::NoWrap);
        e.resize(400, 300);
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        auto* fill = new EditorFill(&e);
        const int anchor = int(lineStart(text, anchorLine));
        fill->start(text, anchor, anchor + length, scroll);
        QVERIFY(fill->active());
        const int lines = int(text.count(u'\n'));
        for (int i = 0; i <= pieces; ++i) {
            // What the editor shows is the page as it is, from the first
            // moment on: the top line and, where it is in, the selection.
            if (scroll < lines - 100)
                QCOMPARE(topLine(e), text.mid(lineStart(text, scroll)).section(u'\n', 0, 0));
            const QString selected = e.textCursor().selectedText();
            const QString meant = text.mid(anchor, length).replace(u'\n', QChar(0x2029));
            QVERIFY(meant.startsWith(selected) || meant.endsWith(selected));
            QTest::qWait(0);
        }
        QVERIFY(fill->active());

        QTest::keyClicks(&e, QStringLiteral("ab"));
        QVERIFY(!fill->active());
        QTest::keyClick(&e, Qt::Key_Return);
        QString expected = text;
        expected.replace(anchor, length, QStringLiteral("ab\n"));
        QCOMPARE(e.toPlainText(), expected);
        // The pieces are no steps of the undo: undoing everything gives
        // back exactly the text that was put in.
        while (e.document()->isUndoAvailable())
            e.undo();
        QCOMPARE(e.toPlainText(), text);
    }

    void leftAloneItFillsAndPlacesLikeSetPlainText_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::newRow("no wrap") << false;
        QTest::newRow("wrapped") << true;
    }
    void leftAloneItFillsAndPlacesLikeSetPlainText()
    {
        QFETCH(bool, wrap);
        const QString text = longText();
        const int anchor = int(lineStart(text, 4000)) + 3, position = anchor - 200;
        QPlainTextEdit whole, filled;
        for (QPlainTextEdit* e : {&whole, &filled}) {
            e->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
            e->resize(300, 300);
            e->show();
            QVERIFY(QTest::qWaitForWindowExposed(e));
        }
        whole.setPlainText(text);
        QTextCursor c(whole.document());
        c.setPosition(anchor);
        c.setPosition(position, QTextCursor::KeepAnchor);
        whole.setTextCursor(c);
        whole.verticalScrollBar()->setValue(3000);

        auto* fill = new EditorFill(&filled);
        fill->start(text, anchor, position, 3000);
        QTRY_VERIFY(!fill->active());
        QCOMPARE(filled.toPlainText(), whole.toPlainText());
        QCOMPARE(filled.textCursor().anchor(), anchor);
        QCOMPARE(filled.textCursor().position(), position);
        // Wrapped, the scroll bar counts lines on the screen, as many as
        // laid out so far: the top line is kept by its number instead.
        if (wrap) {
            QCOMPARE(topLine(filled), text.mid(lineStart(text, 3000)).section(u'\n', 0, 0));
        } else {
            QCOMPARE(filled.verticalScrollBar()->value(), whole.verticalScrollBar()->value());
            QCOMPARE(topLine(filled), topLine(whole));
        }
        QVERIFY(!filled.document()->isUndoAvailable());
        QVERIFY(!filled.document()->isModified());
    }

    void aClickDuringTheFillLandsOnTheLineShown()
    {
        const QString text = longText();
        QPlainTextEdit e;
        e.resize(400, 300);
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        auto* fill = new EditorFill(&e);
        fill->start(text, 0, 0, 2500);
        QTest::qWait(0);
        QVERIFY(fill->active());
        QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, QPoint(1, 3));
        QVERIFY(!fill->active());
        QCOMPARE(e.textCursor().position(), int(lineStart(text, 2500)));
    }
};

QTEST_MAIN(TstEditorFill)
#include "tst_editorfill.moc"

#include "editorbytes.h"

#include "foundation/textcodec.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace vn {

namespace {

qint64 toBytes(const QPlainTextEdit* e, const QString& crlfText, int pos)
{
    // each line break before the position is one more character in CR LF
    const int breaks = e->document()->findBlock(pos).blockNumber();
    return IndexToSjisOffset(crlfText, pos + breaks);
}

} // namespace

int EditorIndexOfBytes(const QString& crlfText, qint64 bytes)
{
    const qsizetype index = SjisOffsetToIndex(crlfText, bytes);
    return int(index - QStringView(crlfText).left(index).count(u'\n'));
}

ByteSelection SelectionInBytes(const QPlainTextEdit* editor, const QString& crlfText)
{
    const QTextCursor c = editor->textCursor();
    const qint64 start = toBytes(editor, crlfText, c.selectionStart());
    return {start, toBytes(editor, crlfText, c.selectionEnd()) - start};
}

void SelectBytes(QPlainTextEdit* editor, const QString& crlfText, qint64 start, qint64 length)
{
    start = std::max<qint64>(0, start);
    QTextCursor c(editor->document());
    c.setPosition(EditorIndexOfBytes(crlfText, start));
    c.setPosition(EditorIndexOfBytes(crlfText, start + std::max<qint64>(0, length)),
                  QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
}

} // namespace vn

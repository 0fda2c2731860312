#pragma once
// Editor selections as the settings and the search count them: bytes of the
// Shift-JIS text with CR LF line breaks. The editor itself counts characters
// with one-character line breaks.
#include <QString>

class QPlainTextEdit;

namespace vn {

struct ByteSelection {
    qint64 start = 0;
    qint64 length = 0;
};

// The editor's selection in bytes; `crlfText` is the editor's text with CR LF.
ByteSelection SelectionInBytes(const QPlainTextEdit* editor, const QString& crlfText);
// Selects a byte range; positions outside the text, or inside a double-byte
// character, are brought back to a character start within the text.
void SelectBytes(QPlainTextEdit* editor, const QString& crlfText, qint64 start, qint64 length);
// The editor's character position of a byte position, brought back like that.
int EditorIndexOfBytes(const QString& crlfText, qint64 bytes);

} // namespace vn

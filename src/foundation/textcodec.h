#pragma once
// Text encodings of the data files.
//
// Files are Shift-JIS (code page 932). Text that Shift-JIS cannot hold is
// written as UTF-8 with a byte-order mark instead, so nothing typed is lost.
// Reading: a UTF-8 byte-order mark means UTF-8; bytes that are valid UTF-8
// and contain multi-byte sequences are UTF-8 too; anything else is CP932.
// Undecodable bytes become U+FFFD; a read never fails on content.
//
// Editor positions count bytes of the Shift-JIS form of a text: one byte for
// ASCII and half-width katakana, two for every other character.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vn {

QString DecodeText(const QByteArray& bytes);
// Shift-JIS when it holds the text, otherwise a UTF-8 byte-order mark + UTF-8.
QByteArray EncodeText(const QString& text);

// Pure CP932 conversions. ToSjis sets *ok to false (when given) when some
// character has no exact CP932 form; such characters become '?'.
QString FromSjis(const QByteArray& bytes);
QByteArray ToSjis(const QString& text, bool* ok = nullptr);
bool IsUtf8WithMultiByte(const QByteArray& bytes);

// Bytes the character at text[i] occupies in Shift-JIS.
int SjisCharBytes(QChar c);
int SjisLength(QStringView text);
// Character index of a byte position; a position inside a double-byte
// character, or past the end, is moved back to a character start.
qsizetype SjisOffsetToIndex(QStringView text, qint64 byteOffset);
qint64 IndexToSjisOffset(QStringView text, qsizetype index);
// The longest prefix of at most maxBytes Shift-JIS bytes that does not cut a
// double-byte character in half.
QString SjisLeft(QStringView text, int maxBytes);

} // namespace vn

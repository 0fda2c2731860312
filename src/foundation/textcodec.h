#pragma once
// Text encodings of the data files.
//
// Files are Shift-JIS (code page 932). Text that Shift-JIS cannot hold is
// written as UTF-8 with a byte-order mark instead, so nothing typed is lost.
//
// Reading a file the program writes (pages, settings, list files, diary, run
// record): a UTF-8 byte-order mark means UTF-8; without it the bytes are
// Shift-JIS, and only bytes that Shift-JIS cannot decode but UTF-8 can (a
// file saved by another editor) are read as UTF-8. Short Shift-JIS texts are
// often valid UTF-8 too ("ﾊｲ" is CA B2), so validity alone proves nothing.
// Reading a file the program never writes (reference files) also takes
// valid UTF-8 with multi-byte sequences as UTF-8.
// Undecodable bytes become U+FFFD; a read never fails on content. A U+FEFF
// that begins a text is kept: it is written after the mark and read back.
//
// Editor positions count bytes of the Shift-JIS form of a text: one byte for
// ASCII and half-width katakana, two for every other character.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vn {

// A file the program writes.
QString DecodeText(const QByteArray& bytes);
// A file the program only reads.
QString DecodeForeignText(const QByteArray& bytes);
// Shift-JIS when it holds the text, otherwise a UTF-8 byte-order mark + UTF-8.
QByteArray EncodeText(const QString& text);

// The form a file's bytes were read in, so that a rewrite can keep it.
enum class TextForm { Sjis, Utf8, Utf16LE, Utf16BE };

// A file's bytes decoded without losing sight of what could not be decoded.
struct FileText {
    QString text;      // NUL bytes and undecodable bytes as U+FFFD
    TextForm form = TextForm::Sjis;
    bool exact = true; // text is all the file holds: no NUL, nothing undecodable
};

// A file the program writes, read by the rule of DecodeText; a file that
// begins with a UTF-16 byte-order mark (Windows' "Unicode") is UTF-16.
FileText DecodeFileText(const QByteArray& bytes);
// UTF-16 forms write UTF-16 with their byte-order mark; the others as
// EncodeText (Shift-JIS when it holds the text).
QByteArray EncodeFileText(const QString& text, TextForm form);
// UTF-16 units of the given byte order; an odd last byte becomes U+FFFD.
QString FromUtf16(const char* data, qsizetype size, bool littleEndian);
QByteArray ToUtf16(QStringView text, bool littleEndian);
// Replaces NUL with U+FFFD; true when there was one.
bool MarkNuls(QString& text);
// A surrogate half without its partner (undecodable UTF-16).
bool HasBrokenSurrogate(QStringView text);

// Pure CP932 conversions. FromSjis sets *exact to false (when given) when
// some byte is not part of a CP932 code. ToSjis sets *ok to false (when
// given) when some character has no CP932 form; such characters become '?'.
QString FromSjis(const QByteArray& bytes, bool* exact = nullptr);
QByteArray ToSjis(const QString& text, bool* ok = nullptr);
// Whether CP932 has a code for the character (a surrogate half: never).
bool SjisCanHold(QChar c);
// UTF-8 without a mark; a U+FEFF at the start is kept.
QString FromUtf8(const char* data, qsizetype size);
bool IsUtf8(const QByteArray& bytes);
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

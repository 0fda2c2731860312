#pragma once
// Whole-file text reading and writing.
//
// A line list is written as its lines, each followed by CR LF; an edit text
// is written exactly as the editor holds it. Reading splits at CR LF, CR and
// LF; a break at the very end adds no empty line; a NUL byte ends the text.
// Every write goes to a temporary file in the same folder, is flushed to disk
// and renamed over the old file: a failed write leaves the old file as it was.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vn {

QByteArray ReadFileBytes(const QString& path);
QStringList ReadLines(const QString& path);
// The file as one text with CR LF line breaks (for an editor).
QString ReadEditText(const QString& path);

void WriteLines(const QString& path, const QStringList& lines);
void WriteEditText(const QString& path, const QString& text);
// Atomic replace of a file's bytes; new files are readable by the owner only.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);

// Splitting and joining of decoded text.
QStringList SplitLines(const QString& text);
QString NormalizeLineBreaks(const QString& text);
QString JoinLinesCrLf(const QStringList& lines); // CR LF after every line

bool FileExists(const QString& path);

} // namespace vn

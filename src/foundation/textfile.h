#pragma once
// Whole-file text reading and writing.
//
// A line list is written as its lines, each followed by CR LF; an edit text
// is written exactly as the editor holds it. Reading splits at CR LF, CR and
// LF; a break at the very end adds no empty line; a NUL byte ends the text.
// Every write goes to a temporary file in the same folder, is flushed to disk
// and renamed over the old file: a failed write leaves the old file as it was.
// A file that is a symbolic link is written through the link: the temporary
// file goes beside the link's target and replaces the target.
//
// The files the program writes are read by the decoding rule of DecodeText;
// a file the program only shows (a reference file) by DecodeForeignText.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vn {

QByteArray ReadFileBytes(const QString& path);
QStringList ReadLines(const QString& path);
// The file as one text with CR LF line breaks (for an editor).
QString ReadEditText(const QString& path);
// The bytes of a file as ReadEditText decodes them.
QString DecodeEditText(const QByteArray& bytes);
// A file the program never writes (a reference file), for an editor.
QString ReadForeignEditText(const QString& path);

void WriteLines(const QString& path, const QStringList& lines);
void WriteEditText(const QString& path, const QString& text);
// Atomic replace of a file's bytes; new files are readable by the owner only.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);
// The file a write of path replaces: path itself, or the end of the chain of
// symbolic links that starts at it.
QString WriteTargetOf(const QString& path);

// Splitting and joining of decoded text.
QStringList SplitLines(const QString& text);
QString NormalizeLineBreaks(const QString& text);
QString JoinLinesCrLf(const QStringList& lines); // CR LF after every line

bool FileExists(const QString& path);

} // namespace vn

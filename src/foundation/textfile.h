#pragma once
// Whole-file text reading and writing.
//
// A line list is written as its lines, each followed by CR LF; an edit text
// is written exactly as the editor holds it. Reading splits at CR LF, CR and
// LF; a break at the very end adds no empty line. In an edit text a NUL byte
// ends the text; a line list reads on past it (the line is unreadable).
// Every write goes to a temporary file in the same folder, is flushed to disk
// and renamed over the old file: a failed write leaves the old file as it was.
// A file that is a symbolic link is written through the link: the temporary
// file goes beside the link's target and replaces the target.
//
// Only regular files are read or replaced: a folder, a FIFO or a device in a
// file's place is refused with a message and never opened (a FIFO would
// block the program). Reads open without blocking and check what they got.
//
// The files the program writes are read by the decoding rule of DecodeText
// (UTF-16 with its mark too, as DecodeFileText); a file the program only
// shows (a reference file) by DecodeForeignText.
#include "textcodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace vn {

// What is at a path, symbolic links followed (a link to nothing: Missing).
enum class FileKind { Missing, Regular, Other };
FileKind FileKindOf(const QString& path);

// The bytes of a regular file; throws AppError for anything else.
QByteArray ReadFileBytes(const QString& path);

// A file's lines as decoded, each with the bytes it was read from.
struct FileLines {
    QStringList lines;           // NUL and undecodable bytes as U+FFFD
    QList<qsizetype> unreadable; // ascending: lines holding NUL or undecodable bytes
    TextForm form = TextForm::Sjis;
    // Where each line's bytes lie in the file, without the line break (for
    // UTF-16, whole units); a UTF-16 file's odd last byte is in none.
    struct Span {
        qsizetype from, to;
    };
    QList<Span> spans;

    bool isUnreadable(qsizetype line) const
    {
        return std::binary_search(unreadable.begin(), unreadable.end(), line);
    }
};
// Splits at CR LF, CR and LF; a break at the very end adds no empty line.
// A NUL or an undecodable byte makes its line unreadable, not the rest.
FileLines DecodeFileLines(const QByteArray& bytes);
FileLines ReadFileLines(const QString& path);
// The lines of ReadFileLines.
QStringList ReadLines(const QString& path);
// The file as one text with CR LF line breaks (for an editor).
QString ReadEditText(const QString& path);
// The bytes of a file as ReadEditText decodes them.
QString DecodeEditText(const QByteArray& bytes);
// A file the program never writes (a reference file), for an editor.
QString ReadForeignEditText(const QString& path);

void WriteLines(const QString& path, const QStringList& lines);
// Who may read a file a write creates: the data folder's files are the
// owner's only; a file the user exports to a place of their choosing gets
// the permissions the user's umask gives new files.
enum class NewFileMode { OwnerOnly, UserUmask };
void WriteEditText(const QString& path, const QString& text,
                   NewFileMode mode = NewFileMode::OwnerOnly);
// Atomic replace of a file's bytes; an existing file keeps its permissions.
// Something other than a regular file at the target is left as it is.
void WriteFileAtomic(const QString& path, const QByteArray& bytes,
                     NewFileMode mode = NewFileMode::OwnerOnly);
// The file a write of path replaces: path itself, or the end of the chain of
// symbolic links that starts at it.
QString WriteTargetOf(const QString& path);

// Splitting and joining of decoded text.
QStringList SplitLines(const QString& text);
QString NormalizeLineBreaks(const QString& text);
QString JoinLinesCrLf(const QStringList& lines); // CR LF after every line

bool FileExists(const QString& path);

} // namespace vn

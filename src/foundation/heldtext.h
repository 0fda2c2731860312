#pragma once
// A text file opened in an editor (a memo page, a diary day) whose bytes may
// not be a text the program wrote: what can be shown of it, the form to write
// it back in, and why it cannot be shown as it is.
//
// A file whose text cannot be shown as it is (a NUL byte, bytes that are no
// character) is held: shown read-only and never written, moved or removed,
// until the user accepts that it is rewritten with the text shown. Its old
// bytes are then kept beside it, in a copy named after the file and the
// moment: "Vnote1.vnm.20261210_093000.bak".
#include "textcodec.h"

#include <QByteArray>
#include <QString>

namespace vn {

struct EditFileText {
    QString text; // CR LF line breaks; NUL and undecodable bytes as U+FFFD
    TextForm form = TextForm::Sjis;
    QString heldReason; // why the text is not all the file holds; empty when it is
};

// The bytes of a file decoded for an editor; `path` names the file in the reason.
EditFileText DecodeEditFile(const QByteArray& bytes, const QString& path);
// The bytes of an editor's text in a form (UTF-16 keeps its mark); an empty
// text is an empty file.
QByteArray EncodeEditFile(const QString& text, TextForm form);
// The text of a file as an editor shows it (throws AppError when it cannot
// be read); empty when there is no file.
QString ReadEditFileText(const QString& path);

// A name beside the file, not yet taken, for the copy of its old bytes.
QString HeldCopyPath(const QString& path);
// Copies the file's bytes as they are now to `copyPath` (throws AppError).
// Nothing when there is no file any more.
void KeepHeldCopy(const QString& path, const QString& copyPath);
// What the user is asked before a held file becomes editable: `what` names
// it ("メモ「買い物」", "2026/12/10 の日記").
QString HeldRewritePrompt(const QString& what, const QString& reason, const QString& copyPath);
// The line shown above a held file's text.
QString HeldNotice(const QString& reason);

} // namespace vn

#pragma once
// When a file changed outside the program (another editor, a sync tool, a
// second PC) and the program changed it too: the program's text is written
// as before and the outside version is kept beside it in a conflict copy
// whose name says where it came from and when:
//   "Vnote3.vnm"   -> "Vnote3 (外部の変更 2026-12-10 0812).txt"
//   "20261210.txt" -> "20261210 (外部の変更 2026-12-10 0812).txt"
// A copy ends in ".txt", so the reference pages' open dialog lists it; it
// is never a name the program reads as data (a page, a diary day).
//
// Stores report what they did to a sink the application installs, which
// tells the user once per file; with no sink a report goes nowhere.
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace vn {

// A name beside path not yet taken, for the outside version of the file.
QString ConflictCopyPath(const QString& path);
// Writes the outside bytes to a new conflict copy beside path and returns
// its path (throws AppError when it cannot be written).
QString KeepConflictCopy(const QString& path, const QByteArray& outsideBytes);

struct OutsideChange {
    enum class Kind {
        Copied, // both sides changed: the outside version is in copyPath
        Merged, // both sides changed a list: merged line by line into the file
        TakenIn // changed outside only: the program now shows that version
    };
    Kind kind = Kind::TakenIn;
    QString path;     // the file
    QString copyPath; // Copied: where the outside version is
    QString what;     // how the user knows the file ("メモ「買い物」"); may be empty
};

using OutsideChangeSink = std::function<void(const OutsideChange&)>;
void SetOutsideChangeSink(OutsideChangeSink sink);
void ReportOutsideChange(const OutsideChange& change);

// The message telling the user of the changes (Copied and Merged ones;
// TakenIn needs no word), one paragraph each; empty when none needs telling.
QString OutsideChangeMessage(const QList<OutsideChange>& changes);

} // namespace vn

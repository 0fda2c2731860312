#include "widgets/loadreportbox.h"

#include "widgets/errorbox.h"

#include <QDir>
#include <QHash>
#include <QSet>

namespace vn {

namespace {
// The faults already told for each file, by its full path: the texts of its
// unreadable lines and of its cut lines. A rewrite that sorts the file or
// adds a line moves them, but they are the same faults.
struct Told {
    QSet<QString> unreadable, cut;
};
QHash<QString, Told>& told()
{
    static QHash<QString, Told> s;
    return s;
}
} // namespace

bool NoteLoadReport(const LoadReport& report)
{
    const QString key = QDir::cleanPath(QDir(report.path).absolutePath());
    if (report.ok()) {
        told().remove(key);
        return false;
    }
    const Told now{QSet<QString>(report.unreadableTexts.begin(), report.unreadableTexts.end()),
                   QSet<QString>(report.cutTexts.begin(), report.cutTexts.end())};
    const auto it = told().constFind(key);
    const bool known =
        it != told().cend() && it->unreadable.contains(now.unreadable) && it->cut.contains(now.cut);
    // What is told now is what the file holds now: a fault mended and made
    // again is told again.
    told().insert(key, now);
    return !known;
}

void ShowLoadReport(const LoadReport& report, QWidget* parent)
{
    if (NoteLoadReport(report))
        ShowErrorBox(report.message(), parent);
}

} // namespace vn

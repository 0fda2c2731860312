#include "widgets/loadreportbox.h"

#include "widgets/errorbox.h"

#include <QDir>
#include <QHash>

namespace vn {

namespace {
// The last report shown for each file, by its full path.
QHash<QString, QString>& shown()
{
    static QHash<QString, QString> s;
    return s;
}
} // namespace

bool NoteLoadReport(const LoadReport& report)
{
    const QString key = QDir::cleanPath(QDir(report.path).absolutePath());
    if (report.ok()) {
        shown().remove(key);
        return false;
    }
    const QString message = report.message();
    auto it = shown().find(key);
    if (it != shown().end() && *it == message)
        return false;
    shown().insert(key, message);
    return true;
}

void ShowLoadReport(const LoadReport& report, QWidget* parent)
{
    if (NoteLoadReport(report))
        ShowErrorBox(report.message(), parent);
}

} // namespace vn

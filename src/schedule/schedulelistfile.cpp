#include "schedulelistfile.h"

#include "foundation/textfile.h"

namespace vn {

ScheduleRows ReadScheduleRows(const QString& path)
{
    ScheduleRows out;
    out.report.path = path;
    if (!FileExists(path))
        return out;
    const QStringList lines = ReadLines(path);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ScheduleFields f;
        switch (ReadScheduleLine(lines[i], &f)) {
        case LineRead::Schedule: out.rows.push_back(std::move(f)); break;
        case LineRead::Unreadable:
            out.report.unreadableLines.append(int(i + 1));
            out.keptLines.append(lines[i]);
            break;
        case LineRead::Comment: out.keptLines.append(lines[i]); break;
        }
    }
    return out;
}

void WriteScheduleRows(const QString& path, const QStringList& keptLines,
                       const std::vector<ScheduleFields>& rows)
{
    QStringList lines = keptLines;
    for (const ScheduleFields& f : rows)
        lines.append(ComposeScheduleLine(f));
    WriteLines(path, lines);
}

} // namespace vn

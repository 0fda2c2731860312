#include "schedulelistfile.h"

namespace vn {

ScheduleRows ReadScheduleRows(const QString& path)
{
    ScheduleRows out;
    out.report.path = path;
    out.file = RecordFile::Read(path);
    out.file.setRecompose([](const QString& line) {
        ScheduleFields f;
        ReadScheduleLine(line, &f);
        return ComposeScheduleLine(f);
    });
    const QStringList& lines = out.file.lines();
    out.rows.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (out.file.unreadable(i)) { // kept already
            out.report.unreadableLines.append(int(i + 1));
            continue;
        }
        ScheduleFields f;
        switch (ReadScheduleLine(lines[i], &f)) {
        case LineRead::Schedule: out.rows.push_back(std::move(f)); break;
        case LineRead::Unreadable:
            out.report.addUnreadable(i, lines[i]);
            out.file.keep(i);
            break;
        case LineRead::Comment: out.file.keep(i); break;
        }
    }
    return out;
}

void WriteScheduleRows(const QString& path, const RecordFile& source,
                       const std::vector<ScheduleFields>& rows,
                       const RecordFile::ConfirmLink& confirm)
{
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const ScheduleFields& f : rows)
        lines.append(ComposeScheduleLine(f));
    source.write(path, lines, confirm);
}

} // namespace vn

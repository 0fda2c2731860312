// The schedule list's iCalendar commands.
#include "schedulelistwindow.h"

#include "foundation/apperror.h"
#include "foundation/exportfile.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"
#include "schedule/icalservice.h"
#include "widgets/uiprompts.h"

#include <QDir>
#include <QFileInfo>

namespace vn {

namespace {

const QString kIcalFilter =
    QStringLiteral("iCalendar (*.ics *.ical *.icalendar);;すべてのファイル (*)");

} // namespace

void ScheduleListWindow::ExportIcalClick()
{
    IcalService& ical = Ical(); // before the file is asked for
    const QString path = Prompts().saveFile(kIcalFilter, QStringLiteral("ics"));
    if (path.isEmpty())
        return;
    std::vector<ScheduleFields> rows;
    rows.reserve(size_t(grid()->rowCount()));
    for (int r = 0; r < grid()->rowCount(); ++r)
        rows.push_back(fieldsAt(r));
    WriteExportFile(path, ical.schedulesToIcal(rows, holidays_));
    IcalExportSummary summary;
    summary.events = int(rows.size());
    Ask(BoxKind::Information, summary.text(), BoxButtons::Ok);
}

void ScheduleListWindow::ImportIcalClick()
{
    IcalService& ical = Ical();
    const QString path = Prompts().openFile(kIcalFilter);
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kIcalMaxFileBytes)
        throw AppError(QStringLiteral("ファイル \"%1\" は大きすぎて読み込めません")
                           .arg(QDir::toNativeSeparators(path)));
    // Everything the file holds counts as there already: the rows and the
    // lines the list keeps aside.
    QStringList existing = file_.keptLines();
    for (int r = 0; r < grid()->rowCount(); ++r)
        existing.append(ComposeScheduleLine(fieldsAt(r)));
    const IcalConversion conv = ical.toScheduleLines(ReadFileBytes(path), existing, holidays_);
    for (const QString& line : conv.lines) {
        ScheduleFields f;
        if (ReadScheduleLine(line, &f) == LineRead::Schedule)
            StoreScheduleRow(false, -1, f);
    }
    // Written at once, so that nothing read is lost whatever happens next.
    if (!conv.lines.isEmpty())
        SaveScheduleList();
    Ask(BoxKind::Information, conv.summary.text(), BoxButtons::Ok);
}

} // namespace vn

#include "balloonhints.h"

#include "foundation/apperror.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <QDir>

#include <algorithm>

namespace vn {

namespace {

// Two ASCII digits at text[pos], pos 0-based.
int twoDigits(const QString& text, qsizetype pos)
{
    if (text.size() < pos + 2)
        return -1;
    const QChar a = text[pos], b = text[pos + 1];
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
}

} // namespace

QString BalloonHintTimePattern()
{
    const QString p = ReadSettingStr(REG_BalloonHintHHNN);
    return p.isEmpty() ? QStringLiteral("hh:nn") : p;
}

void SetBalloonHintTime(BalloonHintRow& row, int hour, int minute, const QString& timePattern,
                        DateTime today)
{
    row.hour = hour;
    row.minute = minute;
    row.timeText = RenderDateTime(timePattern, DateOnly(today) + EncodeTime(hour, minute));
    row.key = QString::asprintf("%.2d:%.2d", hour, minute);
}

std::optional<BalloonHintRow> ReadBalloonHintLine(const QString& line, const QString& timePattern,
                                                  DateTime today)
{
    const int hour = twoDigits(line, 2);
    const int minute = twoDigits(line, 4);
    if (hour < 0 || minute < 0 || hour > 23 || minute > 59)
        return std::nullopt;
    BalloonHintRow row;
    row.shown = line.startsWith(u'1');
    // The message starts after the seventh character; when that one is a
    // character outside the BMP, after both of its halves.
    qsizetype from = qMin<qsizetype>(7, line.size());
    if (from < line.size() && line[from].isLowSurrogate() && line[from - 1].isHighSurrogate())
        ++from;
    row.message = SjisLeft(QStringView(line).mid(from), kBalloonMessageBytes);
    SetBalloonHintTime(row, hour, minute, timePattern, today);
    return row;
}

QString ComposeBalloonHintLine(const BalloonHintRow& row)
{
    return QString::asprintf("%s,%.2d%.2d,", row.shown ? "1" : "0", row.hour, row.minute) +
           row.message;
}

RowColour BalloonHintRowColour(const BalloonHintRow& row, qint64 nowTimeOfDayMs)
{
    const qint64 at = qint64(row.hour) * 3600000 + qint64(row.minute) * 60000;
    return row.shown && at >= nowTimeOfDayMs ? RowColour::Black : RowColour::Past;
}

LoadReport BalloonHintStore::LoadBalloonHints()
{
    return LoadBalloonHints(BalloonHintPath(), BalloonHintTimePattern(), Today());
}

LoadReport BalloonHintStore::LoadBalloonHints(const QString& path, const QString& timePattern,
                                              DateTime today)
{
    rows_.clear();
    file_ = RecordFile();
    LoadReport report;
    report.path = path;
    readFailed_ = true; // until the file has been read
    file_ = RecordFile::Read(path);
    readFailed_ = false;
    file_.setRecompose([timePattern, today](const QString& line) {
        const std::optional<BalloonHintRow> row = ReadBalloonHintLine(line, timePattern, today);
        return row ? ComposeBalloonHintLine(*row) : line;
    });
    const QStringList& lines = file_.lines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (file_.unreadable(i)) { // kept already
            report.unreadableLines.append(int(i + 1));
            continue;
        }
        if (lines[i].startsWith(u'/')) {
            file_.keep(i);
            continue;
        }
        if (auto row = ReadBalloonHintLine(lines[i], timePattern, today)) {
            rows_.push_back(std::move(*row));
        } else {
            file_.keep(i);
            report.addUnreadable(i, lines[i]);
        }
    }
    sortByTime(true);
    return report;
}

bool BalloonHintStore::takeInOutsideChange()
{
    return takeInOutsideChange(BalloonHintTimePattern(), Today());
}

bool BalloonHintStore::takeInOutsideChange(const QString& timePattern, DateTime today)
{
    if (readFailed_ || file_.path().isEmpty() || !ChangedSince(file_.path(), file_.stamp()))
        return false;
    QStringList lines;
    for (const BalloonHintRow& row : rows_)
        lines.append(ComposeBalloonHintLine(row));
    if (file_.changes(lines))
        return false;
    const QString path = file_.path(); // a load starts from an empty file_
    LoadBalloonHints(path, timePattern, today);
    return true;
}

void BalloonHintStore::SaveBalloonHints(const RecordFile::ConfirmLink& confirm) const
{
    SaveBalloonHints(BalloonHintPath(), confirm);
}

void BalloonHintStore::SaveBalloonHints(const QString& path,
                                        const RecordFile::ConfirmLink& confirm) const
{
    // A file that could not be read is not replaced by what little is known.
    if (readFailed_)
        throw AppError(QStringLiteral("ファイル \"%1\" を読み込めなかったため、上書きしません")
                           .arg(QDir::toNativeSeparators(path)));
    QStringList lines;
    for (const BalloonHintRow& row : rows_)
        lines.append(ComposeBalloonHintLine(row));
    file_.write(path, lines, confirm);
}

QStringList BalloonHintStore::savedLines() const
{
    QStringList lines;
    for (const BalloonHintRow& row : rows_)
        lines.append(ComposeBalloonHintLine(row));
    return file_.merged(lines);
}

BalloonHintHit BalloonHintStore::BalloonHintAt(const QString& hhnn) const
{
    for (const BalloonHintRow& row : rows_)
        if (row.key == hhnn)
            return {row.shown, row.timeText, row.message};
    return {};
}

void BalloonHintStore::sortByTime(bool ascending)
{
    std::stable_sort(rows_.begin(), rows_.end(),
                     [ascending](const BalloonHintRow& a, const BalloonHintRow& b) {
                         return ascending ? a.key < b.key : b.key < a.key;
                     });
}

} // namespace vn

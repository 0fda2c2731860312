#include "runrecordcapture.h"

#include "foundation/apperror.h"
#include "foundation/clock.h"
#include "foundation/inifile.h"
#include "foundation/readonlyfolder.h"
#include "foundation/textfile.h"

#include <QFile>
#include <QFileInfo>

namespace vn {

namespace {

const QString kStartKey = QStringLiteral("S");
const QString kEndKey = QStringLiteral("E");

std::optional<qint64> msecsValue(const std::optional<QString>& value)
{
    if (!value)
        return std::nullopt;
    bool ok = false;
    const qint64 v = value->trimmed().toLongLong(&ok, 10);
    if (!ok || v < 0 || v >= qint64(kMSecsPerDay))
        return std::nullopt;
    return v;
}

qint64 fileSize(const QString& path)
{
    return QFileInfo(path).size();
}

} // namespace

RunRecordCapture::RunRecordCapture(QString recordPath, Report report)
    : path_(std::move(recordPath)), report_(std::move(report))
{
}

QString RunRecordCapture::JournalPathFor(const QString& recordPath)
{
    return recordPath + QStringLiteral(".last");
}

bool RunRecordCapture::guarded(const std::function<void()>& write)
{
    try {
        write();
    } catch (const AppError& e) {
        if (!failing_ && report_)
            report_(e.message());
        failing_ = true;
        return false;
    }
    failing_ = false;
    return true;
}

void RunRecordCapture::start()
{
    recoverJournal();
    const RunMoment now = RunMomentOf(Now());
    openDay_ = now.day;
    const qint64 ticks = CurrentClock().tickCount();
    lastRecord_ = lastDurable_ = ticks;
    if (guarded([&] { CaptureRunMoment(path_, CaptureKind::Start, now.day, now.msecs); })) {
        ++stats_.recordWrites;
        stats_.bytes += fileSize(path_);
        stats_.flushes += 2;
    } else {
        pending_.insert(now.day, {now.msecs, now.msecs});
        lastRecord_ = ticks - kRecordMSecs + kJournalMSecs;
    }
}

void RunRecordCapture::see(const RunMoment& now)
{
    auto it = pending_.find(now.day);
    if (it == pending_.end())
        pending_.insert(now.day, {now.msecs, now.msecs});
    else
        it->end = now.msecs;
}

void RunRecordCapture::tick()
{
    if (finished_)
        return;
    const RunMoment now = RunMomentOf(Now());
    const qint64 ticks = CurrentClock().tickCount();
    see(now);
    if (now.day != openDay_) {
        // Midnight, or the clock moved to another day: the day opens in the
        // record at once, with the end of the day before.
        openDay_ = now.day;
        if (writeRecord())
            return;
    } else if (ticks - lastRecord_ >= kRecordMSecs) {
        if (writeRecord())
            return;
    }
    if (ticks - lastDurable_ >= kJournalMSecs)
        writeJournal();
}

void RunRecordCapture::finish()
{
    if (finished_)
        return;
    see(RunMomentOf(Now()));
    if (!writeRecord())
        writeJournal();
    finished_ = true;
}

void RunRecordCapture::flush()
{
    if (!pending_.isEmpty() && !finished_)
        writeRecord();
}

bool RunRecordCapture::writeRecord()
{
    const qint64 ticks = CurrentClock().tickCount();
    const bool ok = guarded([&] {
        IniFile ini(path_);
        for (auto it = pending_.begin(); it != pending_.end();) {
            const QString section = QString::number(it.key());
            QList<QPair<QString, QString>> writes;
            if (!ini.readValue(section, kStartKey))
                writes.append({kStartKey, QString::number(it->start)});
            writes.append({kEndKey, QString::number(it->end)});
            ini.writeValues(section, writes);
            ++stats_.recordWrites;
            stats_.bytes += fileSize(path_);
            stats_.flushes += 2;
            it = pending_.erase(it);
        }
    });
    if (!ok) {
        // Tried again with the next write of the companion file.
        lastRecord_ = ticks - kRecordMSecs + kJournalMSecs;
        return false;
    }
    lastRecord_ = lastDurable_ = ticks;
    removeJournal();
    return true;
}

void RunRecordCapture::writeJournal()
{
    if (pending_.isEmpty())
        return;
    QStringList lines;
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) {
        lines << u'[' + QString::number(it.key()) + u']'
              << kStartKey + u'=' + QString::number(it->start)
              << kEndKey + u'=' + QString::number(it->end);
    }
    const QString journal = journalPath();
    if (guarded([&] { WriteLines(journal, lines); })) {
        ++stats_.journalWrites;
        stats_.bytes += fileSize(journal);
        stats_.flushes += 2;
        lastDurable_ = CurrentClock().tickCount();
    }
}

void RunRecordCapture::removeJournal()
{
    const QString journal = journalPath();
    if (QFileInfo::exists(journal) && MayWriteAt(journal))
        QFile::remove(journal);
}

void RunRecordCapture::recoverJournal()
{
    const QString journal = journalPath();
    if (!QFileInfo(journal).isFile())
        return;
    const bool ok = guarded([&] {
        const IniFile left(journal);
        IniFile record(path_);
        for (const QString& section : left.sectionNames()) {
            bool isDay = false;
            section.toInt(&isDay);
            const auto start = msecsValue(left.readValue(section, kStartKey));
            const auto end = msecsValue(left.readValue(section, kEndKey));
            if (!isDay || !start || !end)
                continue;
            // Only what is newer than the record: the record may have been
            // written after the companion file.
            const auto recorded = msecsValue(record.readValue(section, kEndKey));
            if (recorded && *recorded >= *end)
                continue;
            QList<QPair<QString, QString>> writes;
            if (!record.readValue(section, kStartKey))
                writes.append({kStartKey, QString::number(*start)});
            writes.append({kEndKey, QString::number(*end)});
            record.writeValues(section, writes);
            ++stats_.recordWrites;
            stats_.bytes += fileSize(path_);
            stats_.flushes += 2;
        }
    });
    if (ok)
        removeJournal();
}

} // namespace vn

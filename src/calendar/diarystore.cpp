#include "diarystore.h"

#include "calendar/calendardates.h"
#include "foundation/apperror.h"
#include "foundation/datetimeformat.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace vn::cal {

namespace {

// Key of a diary file name "yyyymmdd.txt" (lower-case extension, a real
// date), or -1.
int keyOfFileName(const QString& name)
{
    if (name.size() != 12 || !name.endsWith(QLatin1String(".txt"), Qt::CaseSensitive))
        return -1;
    const int key = ParseDateKey(QStringView(name).left(8));
    if (key < 0 || !IsValidDate(key / 10000, key / 100 % 100, key % 100))
        return -1;
    return key;
}

QString monthFolderName(const YMD& d)
{
    return QString::asprintf("%.4d%.2d", d.year, d.month);
}

} // namespace

bool DiaryStore::SetDiaryFolder(const QString& folder)
{
    folder_ = folder;
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        ScanDiaryFolder(folder);
    } else {
        days_.clear(); // no marks from a folder that is no longer used
    }
    return true;
}

QString DiaryStore::DiaryPath(DateTime d) const
{
    if (folder_.isEmpty())
        return {};
    const YMD ymd = DecodeDate(d);
    return folder_ + u'/' + monthFolderName(ymd) + u'/' + DateKey(ymd.year, ymd.month, ymd.day) +
           QStringLiteral(".txt");
}

void DiaryStore::ScanDiaryFolder(const QString& folder)
{
    days_.clear();
    // Symbolic links to folders are not followed, so a loop cannot trap the scan.
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (fi.isDir())
            continue;
        const int key = keyOfFileName(fi.fileName());
        if (key >= 0)
            days_.insert(key);
    }
}

bool DiaryStore::SelectDiaryDate(DateTime d)
{
    if (diaryDate_ != 0 && !SaveDiaryOf(diaryDate_))
        return false;
    LoadDiary(d);
    return true;
}

void DiaryStore::LoadDiary(DateTime d)
{
    diaryDate_ = d;
    if (title_) {
        QString text = QStringLiteral("【日記】") + RenderDateTime(format_, d);
        const QString roku = info_.rokuyou ? info_.rokuyou(d) : QString();
        const QString holiday = info_.holidayName ? info_.holidayName(d) : QString();
        if (!roku.isEmpty())
            text += u'[' + roku + QStringLiteral("] ") + holiday;
        else
            text += u' ' + holiday;
        title_->setText(text);
        if (info_.dayColor)
            title_->setColor(info_.dayColor(d));
    }
    if (!folder_.isEmpty() && memo_) {
        const QString path = DiaryPath(d);
        if (FileExists(path))
            memo_->setLines(ReadLines(path));
        else
            memo_->setLines({});
    }
}

bool DiaryStore::SaveDiary()
{
    return diaryDate_ == 0 || SaveDiaryOf(diaryDate_);
}

bool DiaryStore::SaveDiaryOf(DateTime d)
{
    try {
        writeDiaryOf(d);
        failing_ = false;
        return true;
    } catch (const AppError& e) {
        // Shown once while the same trouble lasts; every save tries again.
        lastFailure_ = e.message();
        if (!failing_ && report_)
            report_(e.message());
        failing_ = true;
        return false;
    }
}

void DiaryStore::writeDiaryOf(DateTime d)
{
    if (folder_.isEmpty() || !memo_)
        return;
    const YMD ymd = DecodeDate(d);
    if (ymd.year * 100 + ymd.month < kFirstSavedMonth)
        return;
    const QString monthFolder = folder_ + u'/' + monthFolderName(ymd);
    if (!QDir().mkpath(monthFolder))
        throw AppError(QStringLiteral("フォルダ \"%1\" を作成できません")
                           .arg(QDir::toNativeSeparators(monthFolder)));
    const QString path = DiaryPath(d);
    const int key = DateKeyNumber(ymd.year, ymd.month, ymd.day);
    const QString text = memo_->text();
    if (!text.isEmpty()) {
        const QStringList lines = SplitLines(text);
        // Unchanged when the file reads as the lines would after a write
        // (Shift-JIS gives some characters their Windows spelling).
        const QStringList asWritten = SplitLines(DecodeText(EncodeText(JoinLinesCrLf(lines))));
        if (!(FileExists(path) && ReadLines(path) == asWritten))
            WriteLines(path, lines);
        days_.insert(key);
    } else {
        QFile file(path);
        if (file.exists() && !file.remove())
            ThrowCreateError(QDir::toNativeSeparators(path), file.errorString());
        days_.erase(key);
    }
}

bool DiaryStore::HasDiary(const QString& key) const
{
    const int k = ParseDateKey(key);
    return k >= 0 && days_.count(k) > 0;
}

bool DiaryStore::HasDiary(DateTime d) const
{
    return days_.count(DateKeyNumber(d)) > 0;
}

} // namespace vn::cal

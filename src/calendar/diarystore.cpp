#include "diarystore.h"

#include "calendar/calendardates.h"
#include "foundation/apperror.h"
#include "foundation/datetimeformat.h"
#include "foundation/heldtext.h"
#include "foundation/outsidechange.h"
#include "foundation/readonlyfolder.h"
#include "foundation/syncleftovers.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"

#include "foundation/writtenfiles.h"
#include <optional>

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

// A path of digits and folders ending in ".txt", as diary days are named:
// no sync program leaves a file named so, and most of a folder's files are.
bool plainDiaryPath(QStringView relativePath)
{
    if (!relativePath.endsWith(QLatin1String(".txt")))
        return false;
    for (QChar c : relativePath.chopped(4))
        if ((c < u'0' || c > u'9') && c != u'/')
            return false;
    return true;
}

QString monthFolderName(const YMD& d)
{
    return QString::asprintf("%.4d%.2d", d.year, d.month);
}

bool beforeFirstSavedMonth(DateTime d)
{
    const YMD ymd = DecodeDate(d);
    return ymd.year * 100 + ymd.month < DiaryStore::kFirstSavedMonth;
}

QString notAFile(const QString& path)
{
    return QStringLiteral("日記ファイル \"%1\" の場所にファイルではないもの（フォルダなど）がある"
                          "ため、この日の日記は読み込みも保存もできません")
        .arg(QDir::toNativeSeparators(path));
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

namespace {

struct AdoptedScan {
    QString folder;
    std::set<int> days;
};
std::optional<AdoptedScan> g_adoptedScan;

} // namespace

void DiaryStore::AdoptDiaryScan(const QString& folder, std::set<int> days)
{
    g_adoptedScan = AdoptedScan{folder, std::move(days)};
}

void DiaryStore::ScanDiaryFolder(const QString& folder)
{
    if (g_adoptedScan && g_adoptedScan->folder == folder)
        days_ = std::move(std::exchange(g_adoptedScan, std::nullopt)->days);
    else
        days_ = DiaryDaysIn(folder);
}

std::set<int> DiaryStore::DiaryDaysIn(const QString& folder)
{
    std::set<int> days;
    // Symbolic links to folders are not followed, so a loop cannot trap the scan.
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (fi.isDir())
            continue;
        const QStringView relative = QStringView(it.filePath()).mid(folder.size());
        if (!plainDiaryPath(relative) && IsSyncLeftoverPath(relative))
            continue;
        const int key = keyOfFileName(fi.fileName());
        if (key >= 0)
            days.insert(key);
    }
    return days;
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
    form_ = TextForm::Sjis;
    heldReason_.clear();
    rewriteOffered_ = false;
    stamp_ = FileStamp{};
    shownLines_.clear();
    if (!folder_.isEmpty() && memo_) {
        memo_->setLines(readDay(DiaryPath(d)));
        shownLines_ = SplitLines(memo_->text()); // as the editor gives it back
        showNotice();
    }
}

bool DiaryStore::touchedHere() const
{
    return memo_ && SplitLines(memo_->text()) != shownLines_;
}

bool DiaryStore::takeInOutsideChange()
{
    if (diaryDate_ == 0 || folder_.isEmpty() || !memo_ || touchedHere())
        return false;
    const QString path = DiaryPath(diaryDate_);
    if (!ChangedSince(path, stamp_))
        return false;
    LoadDiary(diaryDate_);
    const int key = DateKeyNumber(diaryDate_);
    if (QFileInfo(path).isFile())
        days_.insert(key);
    else
        days_.erase(key);
    ReportOutsideChange({OutsideChange::Kind::TakenIn, path, QString(), QString()});
    return true;
}

QStringList DiaryStore::readDay(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        stamp_ = FileStamp::missing();
        return {};
    }
    if (!info.isFile()) { // never opened: a FIFO would block
        heldReason_ = notAFile(path);
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        heldReason_ = QStringLiteral("日記ファイル \"%1\" を読み込めないため、この日の日記は"
                                     "表示も保存もできません [%2]")
                          .arg(QDir::toNativeSeparators(path), file.errorString());
        return {};
    }
    // A huge file is not read whole, nor a huge line laid out: their
    // starts are shown, the file kept.
    const qint64 size = file.size();
    const QByteArray head = file.read(kLargestShown);
    if (size <= kLargestShown) // a file shown cut is held: never written
        stamp_ = FileStamp::of(path, head);
    EditFileText t = DecodeEditFile(head, path);
    form_ = t.form;
    QStringList lines = SplitLines(t.text);
    bool cut = false;
    for (QString& line : lines) {
        if (line.size() > kLongestLineShown) {
            line.truncate(kLongestLineShown - (line[kLongestLineShown - 1].isHighSurrogate()));
            cut = true;
        }
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (size > kLargestShown)
        heldReason_ = QStringLiteral("日記ファイル \"%1\" は大きすぎるため（%L2 バイト）、"
                                     "先頭の一部だけを表示しています")
                          .arg(shown)
                          .arg(size);
    else if (cut)
        heldReason_ = QStringLiteral("日記ファイル \"%1\" には長すぎる行があるため、各行の先頭 "
                                     "%L2 文字だけを表示しています")
                          .arg(shown)
                          .arg(kLongestLineShown);
    else
        heldReason_ = t.heldReason;
    rewriteOffered_ = !heldReason_.isEmpty();
    return lines;
}

void DiaryStore::showNotice()
{
    if (!heldReason_.isEmpty())
        notice_ = rewriteOffered_ ? HeldNotice(heldReason_) : heldReason_ + u'。';
    else if (diaryDate_ != 0 && beforeFirstSavedMonth(diaryDate_))
        notice_ = QStringLiteral("2000年1月より前の日の日記は保存できません。"
                                 "パソコンの時計の日付が正しいか確かめてください。");
    else
        notice_.clear();
    memo_->setNotice(notice_, held(), rewriteOffered_);
}

QString DiaryStore::heldCopyPath() const
{
    return HeldCopyPath(DiaryPath(diaryDate_));
}

void DiaryStore::acceptRewrite(const QString& copyPath)
{
    if (!held() || !rewriteOffered_ || !memo_)
        return;
    KeepHeldCopy(DiaryPath(diaryDate_), copyPath);
    heldReason_.clear();
    rewriteOffered_ = false;
    showNotice();
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
    if (folder_.isEmpty() || !memo_ || d == 0)
        return;
    if (d == diaryDate_ && held())
        return; // the held file is the user's to give up, not the save's
    const YMD ymd = DecodeDate(d);
    const QString text = memo_->text();
    const QString path = DiaryPath(d);
    const int key = DateKeyNumber(ymd.year, ymd.month, ymd.day);
    const QFileInfo info(path);
    if (beforeFirstSavedMonth(d)) { // never written or removed
        if (text.isEmpty())
            return;
        throw AppError(QStringLiteral("%1 の日記は保存できません。2000年1月より前の日の日記は"
                                      "保存されません。パソコンの時計の日付が正しいか"
                                      "確かめてください")
                           .arg(RenderDateTime(QStringLiteral("yyyy/mm/dd"), d)));
    }
    if (!MayWriteAt(path))
        return; // the data folder is open read-only
    if (d == diaryDate_ && stamp_.known && !touchedHere()) {
        if (ChangedSinceSettling(path, stamp_))
            takeInOutsideChange();
        return; // nothing typed here: nothing to write
    }
    if (d == diaryDate_ && stamp_.known) {
        const OutsideBytes outside = ReadIfChangedSince(path, stamp_);
        if (outside.changed && !outside.bytes.isEmpty()) {
            const QString copy = KeepConflictCopy(path, outside.bytes);
            ReportOutsideChange(
                {OutsideChange::Kind::Copied, path, copy,
                 QStringLiteral("%1 の日記").arg(RenderDateTime(QStringLiteral("yyyy/mm/dd"), d))});
        }
    }
    if (text.isEmpty()) {
        // Only a diary file is removed; a folder or the like in its place
        // is not the program's, and an empty text needs no saving.
        if (info.isFile()) {
            QFile file(path);
            if (!file.remove())
                throw AppError(QStringLiteral("日記ファイル \"%1\" を削除できません [%2]")
                                   .arg(QDir::toNativeSeparators(path), file.errorString()));
            NoteFileWritten(path);
        }
        days_.erase(key);
        if (d == diaryDate_) {
            stamp_ = FileStamp::missing();
            shownLines_.clear();
        }
        return;
    }
    const QString monthFolder = folder_ + u'/' + monthFolderName(ymd);
    if (!QDir().mkpath(monthFolder))
        throw AppError(QStringLiteral("フォルダ \"%1\" を作成できません")
                           .arg(QDir::toNativeSeparators(monthFolder)));
    if (info.exists() && !info.isFile())
        throw AppError(notAFile(path));
    const QByteArray bytes = EncodeFileText(JoinLinesCrLf(SplitLines(text)), form_);
    // Unchanged when the file reads as the lines would after a write
    // (Shift-JIS gives some characters their Windows spelling).
    bool same = false;
    QByteArray onDisk;
    if (info.isFile()) {
        const QStringList asWritten = SplitLines(DecodeFileText(bytes).text);
        onDisk = ReadFileBytes(path);
        same = SplitLines(DecodeFileText(onDisk).text) == asWritten;
    }
    if (!same)
        WriteFileAtomic(path, bytes);
    days_.insert(key);
    if (d == diaryDate_) {
        stamp_ = FileStamp::of(path, same ? onDisk : bytes);
        shownLines_ = SplitLines(text);
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

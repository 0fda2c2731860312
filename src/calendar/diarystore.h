#pragma once
// Diary files: one text file per day, DiaryFolder/yyyymm/yyyymmdd.txt, the
// set of days that have one, and loading and saving the diary of a day
// through the diary editor and its title line.
//
// A day's file that cannot be shown as it is (a NUL byte, bytes that are no
// character, more than the pane can take, or no file at all but a folder
// or the like) is held: shown read-only with a notice and never written or
// removed, the empty text included, until the user accepts that it is
// rewritten with the text shown (its old bytes are kept in a copy beside
// it). A file read as UTF-16 is written as UTF-16.
//
// A day's file another program changed since it was loaded or saved here is
// shown anew when its text was not changed here; when both changed, the
// text here is saved and the other version kept beside the file in a
// conflict copy (reported once, as OutsideChange::Copied).
#include "foundation/datetime.h"
#include "foundation/filestamp.h"
#include "foundation/textcodec.h"

#include <QString>

#include <functional>
#include <set>

namespace vn::cal {

// The editor the diary text is typed into.
class DiaryMemo {
public:
    virtual ~DiaryMemo() = default;
    // The text as the editor holds it (lines separated by LF or CR LF).
    virtual QString text() const = 0;
    // Replaces the text; lines are given without line ends.
    virtual void setLines(const QStringList& lines) = 0;
    // The notice above the text (empty: none), whether the text takes
    // typing, and whether the user is offered to make a held file editable.
    virtual void setNotice(const QString& text, bool readOnly, bool offerRewrite)
    {
        Q_UNUSED(text);
        Q_UNUSED(readOnly);
        Q_UNUSED(offerRewrite);
    }
};

// The caption line above the editor.
class DiaryTitle {
public:
    virtual ~DiaryTitle() = default;
    virtual void setText(const QString& text) = 0;
    virtual void setColor(quint32 color) = 0; // 0x00BBGGRR
};

// What the title shows about a day besides its date.
struct DiaryDayInfo {
    std::function<QString(DateTime)> rokuyou;     // empty text when not shown
    std::function<QString(DateTime)> holidayName; // empty text when none
    std::function<quint32(DateTime)> dayColor;
};

class DiaryStore {
public:
    // Days before January 2000 are never written: typed text gets a
    // failure, not silence.
    static constexpr int kFirstSavedMonth = 200001;
    // A day's file longer than this (bytes), or with a line longer than
    // that (characters: an editor lays a line out whole), is shown cut, and
    // held.
    static constexpr qint64 kLargestShown = 256 * 1024;
    static constexpr qsizetype kLongestLineShown = 4 * 1024;

    void setDayInfo(DiaryDayInfo info) { info_ = std::move(info); }
    // Told the error of the first save that fails after one that did not.
    void setFailureReport(std::function<void(const QString&)> report)
    {
        report_ = std::move(report);
    }
    void SetDiaryMemo(DiaryMemo* memo) { memo_ = memo; }
    void SetDiaryTitle(DiaryTitle* title) { title_ = title; }
    DiaryMemo* GetDiaryMemo() const { return memo_; }
    DiaryTitle* GetDiaryTitle() const { return title_; }

    // Store the folder; rebuild the set of diary days from it when it exists.
    // Returns true when the set may have changed (repaint).
    bool SetDiaryFolder(const QString& folder);
    const QString& GetDiaryFolder() const { return folder_; }
    void SetDiaryFormat(const QString& pattern) { format_ = pattern; }
    const QString& DiaryFormat() const { return format_; }

    DateTime DiaryDate() const { return diaryDate_; }

    // Path of day d's diary file (empty without a folder).
    QString DiaryPath(DateTime d) const;

    // Empty the set, then add every yyyymmdd.txt below the folder.
    void ScanDiaryFolder(const QString& folder);
    // The days of every yyyymmdd.txt below the folder; safe on any thread.
    static std::set<int> DiaryDaysIn(const QString& folder);
    // A scan made ahead on another thread (while the program starts): the
    // next ScanDiaryFolder of that folder on this thread takes it instead of
    // reading the folder again, once.
    static void AdoptDiaryScan(const QString& folder, std::set<int> days);
    // Save the loaded day's diary, then load d's. When the save fails the
    // text stays in the editor with its day (nothing typed is replaced) and
    // false is returned.
    bool SelectDiaryDate(DateTime d);
    void LoadDiary(DateTime d);
    // Save the loaded day (the host's timer, closing, deactivation); false
    // when it could not be written. The next save tries again.
    bool SaveDiary();
    bool SaveDiaryOf(DateTime d);
    bool failing() const { return failing_; }
    // The loaded day's file changed outside and its text here did not:
    // loads it again; true when it did.
    bool takeInOutsideChange();
    const QString& lastFailure() const { return lastFailure_; }

    // The loaded day's file is held, why, and whether the user may make it
    // editable (a file that is there but cannot be shown as it is).
    bool held() const { return !heldReason_.isEmpty(); }
    const QString& heldReason() const { return heldReason_; }
    bool rewriteOffered() const { return rewriteOffered_; }
    const QString& notice() const { return notice_; }
    // A new name beside the loaded day's file for the copy of its bytes.
    QString heldCopyPath() const;
    // The held file becomes an ordinary one once its bytes are copied to
    // `copyPath` (throws AppError when the copy fails; it stays held).
    void acceptRewrite(const QString& copyPath);

    bool HasDiary(const QString& key) const;
    bool HasDiary(DateTime d) const;
    int DiaryDayCount() const { return int(days_.size()); }
    const std::set<int>& diaryDays() const { return days_; }

private:
    void writeDiaryOf(DateTime d);            // throws AppError when a file cannot be written
    QStringList readDay(const QString& path); // sets form_ and the held state
    void showNotice();
    bool touchedHere() const;

    FileStamp stamp_;        // of the loaded day's file, as read or written
    QStringList shownLines_; // the loaded day's text as read or written

    DiaryDayInfo info_;
    std::function<void(const QString&)> report_;
    bool failing_ = false;
    QString lastFailure_;
    DiaryMemo* memo_ = nullptr;
    DiaryTitle* title_ = nullptr;
    QString folder_;
    QString format_ = QStringLiteral("yyyy/mm/dd(aaa)");
    DateTime diaryDate_ = 0;
    TextForm form_ = TextForm::Sjis; // of the loaded day's file
    QString heldReason_;
    bool rewriteOffered_ = false;
    QString notice_;
    std::set<int> days_; // yyyymmdd
};

} // namespace vn::cal

#pragma once
// Backup generations: sub-folders of the BackUp folder holding copies of the
// memo pages (as the editors hold them now), Schedule.dat, Holiday.dat and
// TabName.txt. Automatic generations are named "yyyymmdd_hhnn00" (15
// characters) and pruned to the maximum; manual ones "yyyymmdd_hhnnss_Velnote"
// stay until deleted.
#include "backupschedule.h"

#include <QStringList>

#include <functional>

namespace vn {

constexpr int kBackUpPageCount = 30;
constexpr int kAutomaticNameLength = 15;

// What a generation is made from.
class BackUpSource {
public:
    virtual ~BackUpSource() = default;
    virtual BackUpSchedule schedule() const = 0;
    virtual QString pageText(int page) const = 0; // the editor's text now
    virtual QString tabName(int page) const = 0;
};

// Schedule values and tab names from the settings, page texts from the
// main window.
class SettingsBackUpSource : public BackUpSource {
public:
    explicit SettingsBackUpSource(std::function<QString(int)> pageText)
        : pageText_(std::move(pageText))
    {
    }
    BackUpSchedule schedule() const override { return BackUpScheduleFromSettings(); }
    QString pageText(int page) const override { return pageText_ ? pageText_(page) : QString(); }
    QString tabName(int page) const override;

private:
    std::function<QString(int)> pageText_;
};

struct BackUpResult {
    bool made = false;
    QString folder;
    // For the caller to show: why the folder could not be made, or, with a
    // generation made, the files left out of it (not regular files).
    QString message;
};

// Makes (or rewrites) the generation of the current minute (automatic) or
// second (manual), then prunes. The files are written into a hidden folder
// that takes the generation's name once complete. File errors are thrown as
// AppError; the half-made copy is removed, nothing is pruned, and a
// generation of the same name stays as it was.
BackUpResult MakeBackUpGeneration(const BackUpSource& source, bool manual);

// Removes the hidden half-made copies a power cut may have left.
void RemoveUnfinishedGenerations();

// Automatic generation names, the first to go first: those dated after now
// (made while the clock was ahead; their true age is unknown), furthest ahead
// first, then the others from the oldest.
QStringList GenerationsByAge(const QStringList& automatic, DateTime now);

// Deletes the first automatic generations by age beyond the maximum (kept
// within 5..99).
void PruneBackUpGenerations(int maxGenerations);

// Deletes the files directly inside the folder, then the folder when empty.
// Silent; sub-folders are not entered and links are not followed.
void DeleteBackUpGeneration(const QString& folder);

// The names of the automatic generations (15-character entries), ascending.
QStringList AutomaticGenerations();
// Generations dated after now are no sign of a recent backup: they are left
// out of the test.
bool BackUpOverdue(const BackUpSchedule& schedule, DateTime now);

// Every entry of the BackUp folder, newest first.
QStringList ListBackUpGenerations();

} // namespace vn

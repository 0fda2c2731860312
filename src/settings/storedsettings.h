#pragma once
// The settings the dialog's pages correct when the dialog is made, corrected
// at the start without it (the dialog is made only when first opened), and
// the schedule-time sound pattern as the settings file keeps it.
#include "schedule/schedulenotifier.h"

namespace vn {

// Each value the pages "メモ", "予定" and "データ・バックアップ" would store
// corrected when made (a flag not 0 or 1, a number out of its field's range,
// an unknown show/hide key or sound pattern) is stored as they would store
// it; a file with nothing to correct is not written.
void CorrectStoredSettings();

// 1, 2 or 3: the schedule-time pattern the file keeps (pattern 1 for
// anything else).
int StoredSchedulePattern();

// The notifier's pattern until the settings dialog is made: what the file
// keeps, read at each schedule time.
class StoredSoundPattern : public ScheduleSoundPattern {
public:
    int pattern() const override { return StoredSchedulePattern(); }
};

} // namespace vn

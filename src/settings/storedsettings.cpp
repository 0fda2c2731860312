#include "storedsettings.h"

#include "foundation/inifile.h"
#include "foundation/settings.h"
#include "schedulepage.h"
#include "settingspage.h"

#include <algorithm>

namespace vn {

namespace {

int storedPatternIndex()
{
    return IniFile(SettingsFile())
        .readInt(QLatin1String(kSchedulePatternSection), QLatin1String(kSchedulePatternKey), 0);
}

} // namespace

void CorrectStoredSettings()
{
    const IniReadBurst burst;
    // "メモ": the start-hidden flag and the show/hide key.
    StoreSettingInt(REG_VnoteHide, ReadSettingInt(REG_VnoteHide) == 1 ? 1 : 0);
    StoreSettingInt(REG_EnvPauseKeyKind, StoredShowHideKind());
    StoreSettingInt(REG_EnvPauseKeySS, StoredShowHideSeconds());
    // "予定": the start-up balloon flag, the alarm default (0 to 360
    // minutes) and the schedule-time pattern.
    StoreSettingInt(REG_ScheduleBalloonHint, ReadSettingInt(REG_ScheduleBalloonHint) != 1 ? 0 : 1);
    StoreSettingInt(REG_AlarmTime, std::clamp(ReadSettingInt(REG_AlarmTime), 0, 360));
    const int index = StoredSchedulePattern() - 1;
    if (storedPatternIndex() != index)
        IniFile(SettingsFile())
            .writeInt(QLatin1String(kSchedulePatternSection), QLatin1String(kSchedulePatternKey),
                      index);
    // "データ・バックアップ": 5 to 99 generations kept.
    StoreSettingInt(REG_BackUpMax, std::clamp(ReadSettingInt(REG_BackUpMax), 5, 99));
}

int StoredSchedulePattern()
{
    const int stored = storedPatternIndex();
    return stored == 1 || stored == 2 ? stored + 1 : 1;
}

} // namespace vn

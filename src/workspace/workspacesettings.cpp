#include "workspacesettings.h"

#include "foundation/settings.h"

#include <algorithm>

namespace vn {

namespace {
QString orDefault(const QString& value, const char* fallback)
{
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}
} // namespace

int ClampPageCount(int count)
{
    return std::clamp(count, 1, 30);
}

WorkspaceSettings WorkspaceSettings::Load()
{
    WorkspaceSettings s;
    s.dateFormat = orDefault(ReadSettingStr(REG_EnvFormatDate), "yyyy/mm/dd(aaa)");
    s.dateTimeFormat = orDefault(ReadSettingStr(REG_EnvFormatDateTime), "yyyy/mm/dd(aaa) hh:nn:ss");
    s.balloonTimeFormat = orDefault(ReadSettingStr(REG_BalloonHintHHNN), "hh:nn");
    s.separatorText = ReadSettingStr(REG_EnvSeparationMark);
    s.breakBeforeSeparator = ReadSettingInt(REG_EnvSeparationBefor) == 1;
    s.breakAfterSeparator = ReadSettingInt(REG_EnvSeparationAfter) == 1;
    s.pastScheduleColor = ReadSettingInt(REG_ScheduleOldColor);
    s.shownPageCount = ClampPageCount(ReadSettingInt(REG_ShowVnoteCount));
    s.multiLineTabs = ReadSettingInt(REG_MultiLineMemo) == 1;
    s.wrapPages = ReadSettingInt(REG_WordWrapMemo) == 1;
    s.wrapReferences = ReadSettingInt(REG_WordWrapRef) == 1;
    s.searchText = ReadSettingStr(REG_SearchString);
    s.searchCaseSensitive = ReadSettingInt(REG_SearchMode) == 1;
    s.searchAllPages = ReadSettingInt(REG_SearchAll) == 1;
    return s;
}

WorkspaceSettings& Workspace()
{
    static WorkspaceSettings settings;
    return settings;
}

} // namespace vn

#include "settingscatalog.h"

#include <vector>

namespace vn {

namespace {

struct SingleRow {
    int id;
    const char* section;
    const char* key;
    SettingKind kind;
    const char* defaultText;
    int defaultNumber;
};

// The settings that exist once.
const SingleRow kSingles[] = {
    {REG_ShowCalendar, "Show", "Calendar", SettingKind::Number, nullptr, 1},
    {REG_ShowRefFile, "Show", "RefFile", SettingKind::Number, nullptr, 1},
    {REG_EnvSeparationBefor, "Separation", "Befor", SettingKind::Number, nullptr, 0},
    {REG_EnvSeparationMark, "Separation", "Mark", SettingKind::Text,
     "----------------------------------------", 0},
    {REG_EnvSeparationAfter, "Separation", "After", SettingKind::Number, nullptr, 1},
    {REG_EnvFormatDate, "Format", "Date", SettingKind::Text, "yyyy/mm/dd(aaa)", 0},
    {REG_EnvFormatDateTime, "Format", "DateTime", SettingKind::Text, "yyyy/mm/dd(aaa) hh:nn:ss", 0},
    {REG_CalendarFont, "FontCalendar", "", SettingKind::Font, nullptr, 0},
    {REG_CalendarBackColor, "Calendar", "BackColor", SettingKind::Number, nullptr, -16777211},
    {REG_CalendarTextColor, "Calendar", "TextColor", SettingKind::Number, nullptr, -16777208},
    {REG_CalendarTitleBackColor, "Calendar", "TitleBackColor", SettingKind::Number, nullptr,
     -16777214},
    {REG_CalendarTitleTextColor, "Calendar", "TitleTextColor", SettingKind::Number, nullptr,
     16777215},
    {REG_CalendarMonthBackColor, "Calendar", "MonthBackColor", SettingKind::Number, nullptr,
     16777215},
    {REG_CalendarTrailingTextColor, "Calendar", "TrailingTextColor", SettingKind::Number, nullptr,
     -16777197},
    {REG_ShowVnoteCount, "ShowVnote", "Count", SettingKind::Number, nullptr, 3},
    {REG_VnoteActiveTab, "ActiveTab", "Vnote", SettingKind::Number, nullptr, 0},
    {REG_RefFileActiveTab, "ActiveTab", "RefFile", SettingKind::Number, nullptr, 0},
    {REG_PCTimeStartDate, "PCTime", "Start", SettingKind::Number, nullptr, -1},
    {REG_PCTimeEndDate, "PCTime", "End", SettingKind::Number, nullptr, -1},
    {REG_MainFrameTop, "VnoteFrame", "Top", SettingKind::Number, nullptr, 0},
    {REG_MainFrameLeft, "VnoteFrame", "Left", SettingKind::Number, nullptr, 0},
    {REG_MainFrameHeight, "VnoteFrame", "Height", SettingKind::Number, nullptr, 0},
    {REG_MainFrameWidth, "VnoteFrame", "Width", SettingKind::Number, nullptr, 0},
    {REG_PCFrameTop, "PCFrame", "Top", SettingKind::Number, nullptr, 0},
    {REG_PCFrameLeft, "PCFrame", "Left", SettingKind::Number, nullptr, 0},
    {REG_PCFrameHeight, "PCFrame", "Height", SettingKind::Number, nullptr, 0},
    {REG_PCFrameWidth, "PCFrame", "Width", SettingKind::Number, nullptr, 0},
    {REG_MainCalendarWidth, "MainCalendar", "Width", SettingKind::Number, nullptr, 185},
    {REG_MainRefHeight, "MainRef", "Height", SettingKind::Number, nullptr, 145},
    {REG_PCCalendarWidth, "PCCalendar", "Width", SettingKind::Number, nullptr, 154},
    {REG_VnoteHide, "Vnote", "Hide", SettingKind::Number, nullptr, 0},
    {REG_CalendarBrushCurrentColor, "CalendarColor", "Current", SettingKind::Number, nullptr,
     65535},
    {REG_CalendarColorFillMonth, "CalendarColor", "FillMonth", SettingKind::Number, nullptr,
     16777215},
    {REG_CalendarColorFillWeek, "CalendarColor", "FillWeek", SettingKind::Number, nullptr,
     12632256},
    {REG_CalendarColorFramDay, "CalendarColor", "FramDay", SettingKind::Number, nullptr, 8421504},
    {REG_CalendarColorFramMonth, "CalendarColor", "FramMonth", SettingKind::Number, nullptr,
     12632256},
    {REG_CalendarColorFramWeek, "CalendarColor", "FramWeek", SettingKind::Number, nullptr, 8421504},
    {REG_CalendarColorHoliday, "CalendarColor", "Holiday", SettingKind::Number, nullptr, 255},
    {REG_CalendarColorMarkPastDay, "CalendarColor", "MarkPastDay", SettingKind::Number, nullptr,
     266},
    {REG_CalendarColorMonth, "CalendarColor", "Month", SettingKind::Number, nullptr, 128},
    {REG_CalendarColorSaturday, "CalendarColor", "Saturday", SettingKind::Number, nullptr,
     16711680},
    {REG_CalendarColorSunday, "CalendarColor", "Sunday", SettingKind::Number, nullptr, 255},
    {REG_CalendarColorToday, "CalendarColor", "Today", SettingKind::Number, nullptr, 65280},
    {REG_CalendarColorTrailingText, "CalendarColor", "TrailingText", SettingKind::Number, nullptr,
     12632256},
    {REG_CalendarColorWeekday, "CalendarColor", "Weekday", SettingKind::Number, nullptr, 0},
    {REG_CalendarColorWeekNo, "CalendarColor", "WeekNo", SettingKind::Number, nullptr, -16777203},
    {REG_CalendarFontMonth, "CalendarFontMonth", "", SettingKind::Font, nullptr, 0},
    {REG_CalendarFramDay, "CalendarFram", "Day", SettingKind::Number, nullptr, 1},
    {REG_CalendarFramMonth, "CalendarFram", "Month", SettingKind::Number, nullptr, 0},
    {REG_CalendarMarkPastDay, "CalendarMark", "PastDay", SettingKind::Number, nullptr, 1},
    {REG_CalendarMonthFormat, "CalendarMonth", "Format", SettingKind::Text, "yyyy/mm", 0},
    {REG_CalendarMonthName, "CalendarMonth", "Name", SettingKind::Number, nullptr, 1},
    {REG_CalendarMonthNameShow, "CalendarMonth", "NameShow", SettingKind::Number, nullptr, 1},
    {REG_CalendarOffsetMonthX, "CalendarOffset", "MonthX", SettingKind::Number, nullptr, 1},
    {REG_CalendarOffsetMonthY, "CalendarOffset", "MonthY", SettingKind::Number, nullptr, 2},
    {REG_CalendarOffsetWX, "CalendarOffset", "WX", SettingKind::Number, nullptr, 1},
    {REG_CalendarOffsetWY, "CalendarOffset", "WY", SettingKind::Number, nullptr, 1},
    {REG_CalendarOffsetX, "CalendarOffset", "X", SettingKind::Number, nullptr, 5},
    {REG_CalendarOffsetY, "CalendarOffset", "Y", SettingKind::Number, nullptr, 2},
    {REG_CalendarRokuyou, "Calendar", "Rokuyou", SettingKind::Number, nullptr, 1},
    {REG_CalendarWeekName, "Calendar", "WeekName", SettingKind::Number, nullptr, 1},
    {REG_ScheduleBalloonHint, "Schedule", "BalloonHint", SettingKind::Number, nullptr, 1},
    {REG_CalendarColorSchedule, "CalendarColor", "Schedule", SettingKind::Number, nullptr, 8388736},
    {REG_WordWrapMemo, "WordWrap", "Memo", SettingKind::Number, nullptr, 0},
    {REG_WordWrapRef, "WordWrap", "Ref", SettingKind::Number, nullptr, 0},
    {REG_ScheduleOldColor, "Schedule", "OldColor", SettingKind::Number, nullptr, 12632256},
    {REG_BalloonHintHHNN, "BalloonHint", "HHNN", SettingKind::Text, "hh:nn", 0},
    {REG_SoundTodayON, "Sound", "TodayON", SettingKind::Text, "", 0},
    {REG_SoundTodayOFF, "Sound", "TodayOFF", SettingKind::Text, "", 0},
    {REG_SoundAlarm, "Sound", "Alarm", SettingKind::Text, "", 0},
    {REG_SoundSchedule1, "Sound", "Schedule1", SettingKind::Text, "", 0},
    {REG_SoundSchedule2, "Sound", "Schedule2", SettingKind::Text, "", 0},
    {REG_SoundSchedule3, "Sound", "Schedule3", SettingKind::Text, "", 0},
    {REG_SoundBalloonHint, "Sound", "BalloonHint", SettingKind::Text, "", 0},
    {REG_WeekNo, "WeekNo", "Min", SettingKind::Number, nullptr, 3},
    {REG_CalendarHintShow, "Calendar", "HintShow", SettingKind::Number, nullptr, 1},
    {REG_CalendarTextShadow, "Calendar", "TextShadow", SettingKind::Number, nullptr, 0},
    {REG_SearchString, "Search", "String", SettingKind::Text, "", 0},
    {REG_SearchMode, "Search", "Mode", SettingKind::Number, nullptr, 0},
    {REG_SearchAll, "Search", "All", SettingKind::Number, nullptr, 0},
    {REG_CalendarGradationType, "Calendar", "GradationType", SettingKind::Number, nullptr, 0},
    {REG_CalendarFram3D, "Calendar", "Fram3D", SettingKind::Number, nullptr, 0},
    {REG_CalendarShowRoku, "Calendar", "ShowRoku", SettingKind::Number, nullptr, 1},
    {REG_EnvPauseKeyKind, "PauseKey", "Kind", SettingKind::Number, nullptr, 1},
    {REG_EnvPauseKeySS, "PauseKey", "SS", SettingKind::Number, nullptr, 1},
    {REG_CalendarBackManthShow, "Calendar", "BackManthShow", SettingKind::Number, nullptr, 0},
    {REG_MultiLineMemo, "MultiLine", "Memo", SettingKind::Number, nullptr, 0},
    {REG_ShowScheduleDetailMain, "ShowScheduleDetail", "Main", SettingKind::Number, nullptr, 1},
    {REG_ShowScheduleDetailDateTime, "ShowScheduleDetail", "DateTime", SettingKind::Number, nullptr,
     0},
    {REG_WeekNoEx, "WeekNo", "Ex", SettingKind::Number, nullptr, 0},
    {REG_WeekNoMonth, "WeekNo", "Month", SettingKind::Number, nullptr, 1},
    {REG_WeekNoDay, "WeekNo", "Day", SettingKind::Number, nullptr, 1},
    {REG_CalendarBrushColor, "Calendar", "BrushColor", SettingKind::Number, nullptr, 16777215},
    {REG_CalendarShowFormat, "Calendar", "ShowFormat", SettingKind::Number, nullptr, 0},
    {REG_ShowWeekNo, "WeekNo", "Show", SettingKind::Number, nullptr, 1},
    {REG_AlarmTime, "Alarm", "Time", SettingKind::Number, nullptr, 10},
    {REG_WinTop, "Win", "Top", SettingKind::Number, nullptr, 0},
    {REG_BackUpOffset, "BackUp", "Offset", SettingKind::Number, nullptr, 1},
    {REG_BackUpDay, "BackUp", "Day", SettingKind::Number, nullptr, 1},
    {REG_BackUpTime, "BackUp", "Time", SettingKind::Number, nullptr, 24},
    {REG_BackUpMax, "BackUp", "Max", SettingKind::Number, nullptr, 5},
    {REG_BackUpWeek, "BackUp", "Weekday", SettingKind::Number, nullptr, 1},
    {REG_ShowDiary, "Diary", "Show", SettingKind::Number, nullptr, 1},
    {REG_DiaryHeight, "Diary", "Height", SettingKind::Number, nullptr, 135},
};

// Names of the single settings, in the order of kSingles.
const char* const kSingleNames[] = {
    "REG_ShowCalendar",
    "REG_ShowRefFile",
    "REG_EnvSeparationBefor",
    "REG_EnvSeparationMark",
    "REG_EnvSeparationAfter",
    "REG_EnvFormatDate",
    "REG_EnvFormatDateTime",
    "REG_CalendarFont",
    "REG_CalendarBackColor",
    "REG_CalendarTextColor",
    "REG_CalendarTitleBackColor",
    "REG_CalendarTitleTextColor",
    "REG_CalendarMonthBackColor",
    "REG_CalendarTrailingTextColor",
    "REG_ShowVnoteCount",
    "REG_VnoteActiveTab",
    "REG_RefFileActiveTab",
    "REG_PCTimeStartDate",
    "REG_PCTimeEndDate",
    "REG_MainFrameTop",
    "REG_MainFrameLeft",
    "REG_MainFrameHeight",
    "REG_MainFrameWidth",
    "REG_PCFrameTop",
    "REG_PCFrameLeft",
    "REG_PCFrameHeight",
    "REG_PCFrameWidth",
    "REG_MainCalendarWidth",
    "REG_MainRefHeight",
    "REG_PCCalendarWidth",
    "REG_VnoteHide",
    "REG_CalendarBrushCurrentColor",
    "REG_CalendarColorFillMonth",
    "REG_CalendarColorFillWeek",
    "REG_CalendarColorFramDay",
    "REG_CalendarColorFramMonth",
    "REG_CalendarColorFramWeek",
    "REG_CalendarColorHoliday",
    "REG_CalendarColorMarkPastDay",
    "REG_CalendarColorMonth",
    "REG_CalendarColorSaturday",
    "REG_CalendarColorSunday",
    "REG_CalendarColorToday",
    "REG_CalendarColorTrailingText",
    "REG_CalendarColorWeekday",
    "REG_CalendarColorWeekNo",
    "REG_CalendarFontMonth",
    "REG_CalendarFramDay",
    "REG_CalendarFramMonth",
    "REG_CalendarMarkPastDay",
    "REG_CalendarMonthFormat",
    "REG_CalendarMonthName",
    "REG_CalendarMonthNameShow",
    "REG_CalendarOffsetMonthX",
    "REG_CalendarOffsetMonthY",
    "REG_CalendarOffsetWX",
    "REG_CalendarOffsetWY",
    "REG_CalendarOffsetX",
    "REG_CalendarOffsetY",
    "REG_CalendarRokuyou",
    "REG_CalendarWeekName",
    "REG_ScheduleBalloonHint",
    "REG_CalendarColorSchedule",
    "REG_WordWrapMemo",
    "REG_WordWrapRef",
    "REG_ScheduleOldColor",
    "REG_BalloonHintHHNN",
    "REG_SoundTodayON",
    "REG_SoundTodayOFF",
    "REG_SoundAlarm",
    "REG_SoundSchedule1",
    "REG_SoundSchedule2",
    "REG_SoundSchedule3",
    "REG_SoundBalloonHint",
    "REG_WeekNo",
    "REG_CalendarHintShow",
    "REG_CalendarTextShadow",
    "REG_SearchString",
    "REG_SearchMode",
    "REG_SearchAll",
    "REG_CalendarGradationType",
    "REG_CalendarFram3D",
    "REG_CalendarShowRoku",
    "REG_EnvPauseKeyKind",
    "REG_EnvPauseKeySS",
    "REG_CalendarBackManthShow",
    "REG_MultiLineMemo",
    "REG_ShowScheduleDetailMain",
    "REG_ShowScheduleDetailDateTime",
    "REG_WeekNoEx",
    "REG_WeekNoMonth",
    "REG_WeekNoDay",
    "REG_CalendarBrushColor",
    "REG_CalendarShowFormat",
    "REG_ShowWeekNo",
    "REG_AlarmTime",
    "REG_WinTop",
    "REG_BackUpOffset",
    "REG_BackUpDay",
    "REG_BackUpTime",
    "REG_BackUpMax",
    "REG_BackUpWeek",
    "REG_ShowDiary",
    "REG_DiaryHeight",
};

// Memo pages p = 1..30: page 1 has no suffix, pages 2..30 carry "01".."29".
QString pageSuffix(int p)
{
    return p == 1 ? QString() : QString::asprintf("%02d", p - 1);
}

QString twoDigits(int p)
{
    return QString::asprintf("%02d", p);
}

QString fullWidthNumber(int n)
{
    QString s = QString::number(n);
    for (QChar& c : s)
        c = QChar(char16_t(0xFF10 + (c.unicode() - u'0')));
    return s;
}

enum class Family { FontMemo, MemoBack, FontRef, RefBack, TabName, PerPageNumber };

struct FamilyRule {
    int firstId;
    const char* name;
    Family family;
    const char* section; // section, or section prefix for font families
};

const FamilyRule kFamilies[] = {
    {11, "REG_EnvFontMemo", Family::FontMemo, "FontMemo"},
    {41, "REG_EnvMemoBackColor", Family::MemoBack, "BackColor"},
    {71, "REG_EnvFontRef", Family::FontRef, "FontRefFile"},
    {101, "REG_EnvRefBackColor", Family::RefBack, "BackColor"},
    {146, "REG_ShowTabName", Family::TabName, "TabName"},
    {176, "REG_MemoScrollPos", Family::PerPageNumber, "MemoScrollPos"},
    {206, "REG_MemoSelStart", Family::PerPageNumber, "MemoSelStart"},
    {236, "REG_MemoSelLength", Family::PerPageNumber, "MemoSelLength"},
    {266, "REG_RefScrollPos", Family::PerPageNumber, "RefScrollPos"},
    {296, "REG_RefSelStart", Family::PerPageNumber, "RefSelStart"},
    {326, "REG_RefSelLength", Family::PerPageNumber, "RefSelLength"},
};

SettingRow familyRow(const FamilyRule& f, int p)
{
    SettingRow r;
    r.id = f.firstId + p - 1;
    r.name = QLatin1String(f.name) + pageSuffix(p);
    r.section = QLatin1String(f.section);
    switch (f.family) {
    case Family::FontMemo:
    case Family::FontRef:
        r.section += pageSuffix(p);
        r.kind = SettingKind::Font;
        break;
    case Family::MemoBack:
        r.key = QStringLiteral("Memo") + pageSuffix(p);
        r.defaultNumber = 16777215;
        break;
    case Family::RefBack:
        r.key = QStringLiteral("RefFile") + pageSuffix(p);
        r.defaultNumber = 16777215;
        break;
    case Family::TabName:
        r.key = twoDigits(p);
        r.kind = SettingKind::Text;
        r.defaultText = QStringLiteral("メモ") + fullWidthNumber(p);
        break;
    case Family::PerPageNumber: r.key = twoDigits(p); break;
    }
    return r;
}

std::vector<SettingRow> buildCatalog()
{
    std::vector<SettingRow> rows(kLastSettingId + 1);
    for (int n = 1; n <= 10; ++n) {
        SettingRow& r = rows[n];
        r.id = n;
        r.name = QString::asprintf("REG_RefFileName%02d", n);
        r.section = QStringLiteral("RefFileName");
        r.key = QString::number(n);
        r.kind = SettingKind::Text;
    }
    for (const FamilyRule& f : kFamilies)
        for (int p = 1; p <= 30; ++p)
            rows[f.firstId + p - 1] = familyRow(f, p);
    static const int kColumnWidths[] = {100, 200, 80, 80, 80, 40, 80};
    for (int c = 0; c <= 6; ++c) {
        SettingRow& r = rows[371 + c];
        r.id = 371 + c;
        r.name = QString::asprintf("REG_PCItem%02dWidth", c);
        r.section = QStringLiteral("PCItemWidth");
        r.key = QString::number(c);
        r.defaultNumber = kColumnWidths[c];
    }
    int i = 0;
    for (const SingleRow& s : kSingles) {
        SettingRow& r = rows[s.id];
        r.id = s.id;
        r.name = QLatin1String(kSingleNames[i++]);
        r.section = QString::fromUtf8(s.section);
        r.key = QString::fromUtf8(s.key);
        r.kind = s.kind;
        r.defaultText = s.defaultText ? QString::fromUtf8(s.defaultText) : QString();
        r.defaultNumber = s.defaultNumber;
    }
    return rows;
}

} // namespace

const SettingRow* LookUpSetting(int id)
{
    static const std::vector<SettingRow> rows = buildCatalog();
    if (id < kFirstSettingId || id > kLastSettingId || id == 422)
        return nullptr;
    return &rows[size_t(id)];
}

} // namespace vn

#pragma once
// Settings the main window keeps in memory while the program runs; the
// settings dialog changes the same values.
#include <QString>

namespace vn {

struct WorkspaceSettings {
    QString dateFormat;        // empty setting: "yyyy/mm/dd(aaa)"
    QString dateTimeFormat;    // empty setting: "yyyy/mm/dd(aaa) hh:nn:ss"
    QString balloonTimeFormat; // empty setting: "hh:nn"
    QString separatorText;
    bool breakBeforeSeparator = false;
    bool breakAfterSeparator = true;
    int pastScheduleColor = 0;
    int shownPageCount = 3;
    bool multiLineTabs = false;
    bool wrapPages = false;
    bool wrapReferences = false;
    QString searchText;
    bool searchCaseSensitive = false;
    bool searchAllPages = false;

    static WorkspaceSettings Load();
};

WorkspaceSettings& Workspace();

// 1..30; a hand-edited value outside is brought into range.
int ClampPageCount(int count);

} // namespace vn

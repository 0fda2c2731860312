#pragma once
// The settings catalog: every setting's INI section, key, kind and default.
#include "settingids.h"

#include <QString>

namespace vn {

enum class SettingKind { Number = 1, Text = 2, Font = 3 };

struct SettingRow {
    int id = 0;
    QString name; // "REG_BackUpMax"
    QString section;
    QString key; // empty for fonts
    SettingKind kind = SettingKind::Number;
    QString defaultText;
    int defaultNumber = 0;
};

constexpr int kFirstSettingId = 1;
constexpr int kLastSettingId = 452;

// The row of an id, or nullptr for ids outside 1..452 and for 422.
const SettingRow* LookUpSetting(int id);

} // namespace vn

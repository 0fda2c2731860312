#pragma once
// Reading and writing one setting by id. Each call opens and closes the
// settings file; a kind mismatch or an unknown id reads 0 / empty / none and
// writes nothing.
#include "settingscatalog.h"

#include <QString>

namespace vn {

// Font attributes as the settings file holds them.
struct FontSpec {
    int color = 0; // 0x00BBGGRR
    QString name;
    int size = 9;  // points
    int style = 0; // 1 bold, 2 italic, 4 underline, 8 strikeout
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};
enum FontStyleBits { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

void SetSettingsFile(const QString& path);
QString SettingsFile();
// Throws the open error when the settings file exists but cannot be read
// (reads then give the defaults, and writes fail, leaving it as it is).
void CheckSettingsFileReadable();

QString ReadSettingStr(int id);
int ReadSettingInt(int id);
// Overwrites the attributes of `font` that the file holds; false (and the
// font untouched) for an id that is not a font row.
bool ReadSettingFont(int id, FontSpec& font);

// Several settings with one read of the file; each as its single read gives.
QList<int> ReadSettingInts(const QList<int>& ids);
QStringList ReadSettingStrs(const QList<int>& ids);

void WriteSettingStr(int id, const QString& text);
void WriteSettingInt(int id, int value);
void WriteSettingFont(int id, const FontSpec& font);

// Writes several number settings with one rewrite of the file per section,
// leaving out values the file already holds (the periodic position save).
void WriteSettingIntsIfChanged(const QList<QPair<int, int>>& values);

// The show/hide gesture as stored: kinds outside 0..4 work as a single Pause
// press, intervals outside 1..3 seconds as one second.
int StoredShowHideKind();
int StoredShowHideSeconds();

} // namespace vn

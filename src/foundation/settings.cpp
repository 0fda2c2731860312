#include "settings.h"

#include "inifile.h"

namespace vn {

namespace {

QString g_settingsFile;

const SettingRow* rowOfKind(int id, SettingKind kind)
{
    const SettingRow* row = LookUpSetting(id);
    return (row && row->kind == kind) ? row : nullptr;
}

} // namespace

void SetSettingsFile(const QString& path) { g_settingsFile = path; }
QString SettingsFile() { return g_settingsFile; }

QString ReadSettingStr(int id)
{
    const SettingRow* row = rowOfKind(id, SettingKind::Text);
    if (!row)
        return QString();
    return IniFile(g_settingsFile).readString(row->section, row->key, row->defaultText);
}

int ReadSettingInt(int id)
{
    const SettingRow* row = rowOfKind(id, SettingKind::Number);
    if (!row)
        return 0;
    return IniFile(g_settingsFile).readInt(row->section, row->key, row->defaultNumber);
}

bool ReadSettingFont(int id, FontSpec& font)
{
    const SettingRow* row = rowOfKind(id, SettingKind::Font);
    if (!row)
        return false;
    const IniFile ini(g_settingsFile);
    const QString& s = row->section;
    font.color = ini.readInt(s, QStringLiteral("Color"), font.color);
    const QString name = ini.readString(s, QStringLiteral("Name"), font.name);
    if (!name.isEmpty())
        font.name = name;
    font.size = ini.readInt(s, QStringLiteral("Size"), font.size);
    font.style = ini.readInt(s, QStringLiteral("Style"), font.style) & 0x0F;
    return true;
}

void WriteSettingStr(int id, const QString& text)
{
    if (const SettingRow* row = rowOfKind(id, SettingKind::Text))
        IniFile(g_settingsFile).writeValue(row->section, row->key, text);
}

void WriteSettingInt(int id, int value)
{
    if (const SettingRow* row = rowOfKind(id, SettingKind::Number))
        IniFile(g_settingsFile).writeInt(row->section, row->key, value);
}

void WriteSettingFont(int id, const FontSpec& font)
{
    const SettingRow* row = rowOfKind(id, SettingKind::Font);
    if (!row)
        return;
    IniFile ini(g_settingsFile);
    const QString& s = row->section;
    ini.writeInt(s, QStringLiteral("Color"), font.color);
    ini.writeValue(s, QStringLiteral("Name"), font.name);
    ini.writeInt(s, QStringLiteral("Size"), font.size);
    ini.writeInt(s, QStringLiteral("Style"), font.style);
}

void WriteSettingIntsIfChanged(const QList<QPair<int, int>>& values)
{
    IniFile ini(g_settingsFile);
    QList<QPair<QString, QList<QPair<QString, QString>>>> bySection;
    for (const auto& [id, value] : values) {
        const SettingRow* row = rowOfKind(id, SettingKind::Number);
        if (!row)
            continue;
        const auto stored = ini.readValue(row->section, row->key);
        if (stored && IniFile::parseInt(*stored) == value)
            continue;
        auto it = std::find_if(bySection.begin(), bySection.end(),
                               [&](const auto& s) { return s.first == row->section; });
        if (it == bySection.end()) {
            bySection.append({row->section, {}});
            it = bySection.end() - 1;
        }
        it->second.append({row->key, QString::number(value)});
    }
    for (const auto& [section, keys] : bySection)
        ini.writeValues(section, keys);
}

} // namespace vn

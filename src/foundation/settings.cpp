#include "settings.h"

#include "apperror.h"
#include "inifile.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace vn {

namespace {

QString g_settingsFile;

const SettingRow* rowOfKind(int id, SettingKind kind)
{
    const SettingRow* row = LookUpSetting(id);
    return (row && row->kind == kind) ? row : nullptr;
}

} // namespace

void SetSettingsFile(const QString& path)
{
    g_settingsFile = path;
}
QString SettingsFile()
{
    return g_settingsFile;
}

void CheckSettingsFileReadable()
{
    const QFileInfo info(g_settingsFile);
    if (!info.exists())
        return;
    ReadFileBytes(g_settingsFile); // says what is wrong with anything but a regular file
}

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

namespace {
template <typename T, typename Convert>
QList<T> readMany(const QList<int>& ids, SettingKind kind, Convert convert)
{
    QList<QPair<QString, QString>> keys;
    QList<const SettingRow*> rows;
    for (int id : ids) {
        const SettingRow* row = rowOfKind(id, kind);
        rows.append(row);
        keys.append(row ? qMakePair(row->section, row->key) : qMakePair(QString(), QString()));
    }
    const auto values = IniFile(g_settingsFile).readValues(keys);
    QList<T> out;
    for (qsizetype i = 0; i < ids.size(); ++i)
        out.append(convert(rows[i], values[i]));
    return out;
}
} // namespace

QList<int> ReadSettingInts(const QList<int>& ids)
{
    return readMany<int>(ids, SettingKind::Number,
                         [](const SettingRow* row, const std::optional<QString>& v) {
                             if (!row)
                                 return 0;
                             if (!v)
                                 return row->defaultNumber;
                             return IniFile::parseInt(*v).value_or(row->defaultNumber);
                         });
}

QStringList ReadSettingStrs(const QList<int>& ids)
{
    return readMany<QString>(ids, SettingKind::Text,
                             [](const SettingRow* row, const std::optional<QString>& v) {
                                 if (!row)
                                     return QString();
                                 return v.value_or(row->defaultText);
                             });
}

bool ReadSettingFont(int id, FontSpec& font)
{
    const SettingRow* row = rowOfKind(id, SettingKind::Font);
    if (!row)
        return false;
    const QString& s = row->section;
    const auto v = IniFile(g_settingsFile)
                       .readValues({{s, QStringLiteral("Color")},
                                    {s, QStringLiteral("Name")},
                                    {s, QStringLiteral("Size")},
                                    {s, QStringLiteral("Style")}});
    auto number = [](const std::optional<QString>& text) {
        return text ? IniFile::parseInt(*text) : std::nullopt;
    };
    font.color = number(v[0]).value_or(font.color);
    if (v[1] && !v[1]->isEmpty())
        font.name = *v[1];
    font.size = number(v[2]).value_or(font.size);
    if (const auto style = number(v[3]))
        font.style = *style & 0x0F;
    return true;
}

namespace {
// The settings file is rewritten only when a value changes: a start or an
// exit that changes nothing leaves it untouched (also where it cannot be
// written).
void writeIfChanged(IniFile& ini, const QString& section, const QString& key, const QString& value)
{
    const auto stored = ini.readValue(section, key);
    if (stored && *stored == value)
        return;
    ini.writeValue(section, key, value);
}
} // namespace

void WriteSettingStr(int id, const QString& text)
{
    if (const SettingRow* row = rowOfKind(id, SettingKind::Text)) {
        IniFile ini(g_settingsFile);
        writeIfChanged(ini, row->section, row->key, text);
    }
}

void WriteSettingInt(int id, int value)
{
    if (const SettingRow* row = rowOfKind(id, SettingKind::Number)) {
        IniFile ini(g_settingsFile);
        writeIfChanged(ini, row->section, row->key, QString::number(value));
    }
}

void WriteSettingFont(int id, const FontSpec& font)
{
    const SettingRow* row = rowOfKind(id, SettingKind::Font);
    if (!row)
        return;
    IniFile ini(g_settingsFile);
    IniWriteBatch batch; // the four values in one rewrite
    const QString& s = row->section;
    writeIfChanged(ini, s, QStringLiteral("Color"), QString::number(font.color));
    writeIfChanged(ini, s, QStringLiteral("Name"), font.name);
    writeIfChanged(ini, s, QStringLiteral("Size"), QString::number(font.size));
    writeIfChanged(ini, s, QStringLiteral("Style"), QString::number(font.style));
    batch.commit();
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

int StoredShowHideKind()
{
    const int kind = ReadSettingInt(REG_EnvPauseKeyKind);
    return kind < 0 || kind > 4 ? 1 : kind;
}

int StoredShowHideSeconds()
{
    const int seconds = ReadSettingInt(REG_EnvPauseKeySS);
    return seconds < 1 || seconds > 3 ? 1 : seconds;
}

} // namespace vn

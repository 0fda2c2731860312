#pragma once
// The table of holidays: the built-in national holidays with their
// substitute holidays, then the user's own lines from Holiday.dat.
#include "foundation/datetime.h"

#include <QString>
#include <QStringList>

#include <map>

namespace vn::cal {

class HolidayTable {
public:
    static constexpr int kMaxNameBytes = 255; // Shift-JIS bytes of a name
    static inline const QString kSubstitute = QStringLiteral("振替休日");

    HolidayTable(); // built-in lines only (entered at the first use)

    // Rebuild: built-in lines, then the lines of the file at path when it
    // exists. Returns false when there was no such file.
    bool LoadHolidays(const QString& path);
    // Rebuild from the built-in lines and the given user lines.
    void Rebuild(const QStringList& userLines);
    // One line; substitute holidays are derived only when substitution is on.
    // A line that does not parse adds nothing and returns false.
    bool ProcessLine(const QString& line, bool substitution);
    void Clear()
    {
        builtInPending_ = false;
        table_.clear();
    }

    bool IsHoliday(const QString& key) const;
    bool IsHoliday(DateTime d) const;
    bool IsHoliday(int year, int month, int day) const;
    QString HolidayName(const QString& key) const;
    QString HolidayName(DateTime d) const;
    QString HolidayName(int year, int month, int day) const;

    int Count() const { return int(table().size()); }
    // Keys ("yyyymmdd" as numbers) and names, in key order.
    const std::map<int, QString>& entries() const { return table(); }

    // The last file loaded and its lines.
    const QString& LoadedPath() const { return path_; }
    const QStringList& LoadedLines() const { return fileLines_; }

private:
    void insert(int year, int month, int day, const QString& name);
    std::map<int, QString>& table() const;

    // A table that is loaded from a file right after it is made never
    // builds the built-in lines alone.
    mutable std::map<int, QString> table_;
    mutable bool builtInPending_ = true;
    QString path_;
    QStringList fileLines_;
};

} // namespace vn::cal

#pragma once
// What a load of a record file (schedules, holidays, balloon hints) could
// not read. Unreadable lines are skipped (the lines after them still load)
// and kept for the next rewrite; the caller shows the message once through
// the error display.
#include <QList>
#include <QString>
#include <QStringList>

namespace vn {

struct LoadReport {
    QString path;
    QList<int> unreadableLines; // 1-based line numbers, ascending
    // Lines whose repetition was cut off because the store reached its limit.
    QList<int> cutLines;
    // The texts of those lines, in the same order: a line moved by a rewrite
    // is still the same fault.
    QStringList unreadableTexts;
    QStringList cutTexts;

    void addUnreadable(qsizetype index, const QString& text)
    {
        unreadableLines.append(int(index + 1));
        unreadableTexts.append(text);
    }
    void addCut(qsizetype index, const QString& text)
    {
        cutLines.append(int(index + 1));
        cutTexts.append(text);
    }

    bool ok() const { return unreadableLines.isEmpty() && cutLines.isEmpty(); }
    int count() const { return int(unreadableLines.size()); }
    // Empty when every line could be read.
    QString message() const;
};

} // namespace vn

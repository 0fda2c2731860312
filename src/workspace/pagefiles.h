#pragma once
// The memo pages' files: saving only what changed.
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace vn {

constexpr int kPageCount = 30;

// The text of page i as the editor holds it now.
using PageTextFn = std::function<QString(int)>;

// True when the page file holds exactly the bytes `text` is written as; a
// file with other line breaks counts as changed and is rewritten with CR LF.
bool PageFileMatches(int index, const QString& text);

// The periodic and closing saves of the pages. A page whose file cannot be
// written keeps its text and is tried again at the next save; its error is
// reported once while it keeps failing (always when `reportAll`), and the
// other pages are still saved.
//
// A page whose text has not changed since it was last found equal to its
// file, and whose file still has the same identity, size and times, is not
// read again (the periodic save of thirty large pages stays cheap).
class PageSaver {
public:
    struct Source {
        PageTextFn text;
        std::function<bool(int)> isEmpty;
        // Changes whenever the page's text changes; nullptr: always compare.
        std::function<quint64(int)> generation;
    };
    // The error texts to show; empty when everything was written.
    QStringList save(int count, const Source& pages, bool reportAll);
    QStringList save(int count, const PageTextFn& textOf, bool reportAll);
    bool failing(int index) const { return failing_.contains(index); }
    // The page was just loaded from its file.
    void markInSync(int index, quint64 generation);

private:
    struct Synced {
        quint64 generation = 0;
        QByteArray stamp;
    };
    QSet<int> failing_;
    QHash<int, Synced> synced_;
};

// Identity, size and change times of a file; empty when it does not exist.
QByteArray FileStamp(const QString& path);

// Loads a page file into an editor text (CR LF); empty when missing.
QString LoadPageFile(int index);

} // namespace vn

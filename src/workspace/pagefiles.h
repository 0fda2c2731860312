#pragma once
// The memo pages' files: saving only what changed.
#include <QString>
#include <functional>

namespace vn {

constexpr int kPageCount = 30;

// The text of page i as the editor holds it now.
using PageTextFn = std::function<QString(int)>;

// True when the page file holds exactly `text` (read as a line list and
// joined with CR LF after every line, so a text without a final line break
// always counts as changed).
bool PageFileMatches(int index, const QString& text);

// Writes pages 0..count-1 whose files differ from their texts. When every
// one of the thirty pages is empty nothing at all is written. A failing
// write throws; the pages after it wait for the next save.
void SavePageFiles(int count, const PageTextFn& textOf);

// Loads a page file into an editor text (CR LF); empty when missing.
QString LoadPageFile(int index);

} // namespace vn

#pragma once
// The texts the memo editing commands produce.
#include <QString>

namespace vn {

// The separator: CR LF before it and/or after it as the settings say.
QString SeparatorInsertion(const QString& mark, bool breakBefore, bool breakAfter);

// The text a stamp on a new last line gives: the page text, a line break
// when it does not end with one, the value and a line break.
QString TextWithLastLine(const QString& pageText, const QString& value);

// A file's text with the selection appended on a new line (export, append).
QString AppendOnNewLine(const QString& fileText, const QString& selection);

// The URL of the line holding the caret: the whole line when it starts with
// exactly "http://"; empty otherwise.
QString UrlOfLine(const QString& line);

} // namespace vn

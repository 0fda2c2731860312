#pragma once
#include <QString>
#include <QStringList>

namespace vn {

// Fields of a record line. The line and each field are trimmed of characters
// with codes up to 32; a zero-length piece between two separators is dropped
// (the fields after it move up), a piece of blanks gives an empty field, and
// a trailing separator adds nothing.
QStringList SplitFields(const QString& line, QChar separator = u',');

// Trim characters with codes 0..32 at both ends.
QString TrimControl(QStringView s);

} // namespace vn

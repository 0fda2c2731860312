#pragma once
// The text of a private-profile INI file, line by line, as read and as a
// write leaves it (how values are stored: inidocument.cpp).
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace vn {

class IniDocument {
public:
    enum class Coding { Sjis, Utf8, Utf16LE, Utf16BE };
    // A read returns at most this many Shift-JIS bytes of a value.
    static constexpr int kMaxValueBytes = 2047;

    IniDocument() = default; // an empty Shift-JIS file
    static IniDocument parse(const QByteArray& bytes);
    // The file's bytes: every line not set since parse() as it was read.
    QByteArray bytes() const;
    Coding coding() const { return coding_; }

    // Section and key names compare without regard to case; of two equal
    // names the first counts.
    std::optional<QString> value(QStringView section, QStringView key) const;
    QStringList sectionNames() const;
    // Case-folded section -> case-folded key -> value, for many look-ups.
    using Index = QHash<QString, QHash<QString, QString>>;
    Index index() const;

    // Replaces the key's value in place, or adds the key after the last line
    // of its section, or adds the section at the end.
    void setValue(const QString& section, const QString& key, const QString& value);

    // The text after "key=" that stores a value in a file of that coding, and
    // the value that such a text reads as.
    static QString storedForm(const QString& value, Coding coding);
    static QString valueOf(QStringView stored);

private:
    struct Line {
        QString text;   // decoded, without the line break
        QByteArray raw; // the bytes read (Shift-JIS and UTF-8 files)
        QString eol;    // the line break read ("\r\n", "\n", "\r"; none at the end)
        bool changed = false;
    };
    Coding coding_ = Coding::Sjis;
    QList<Line> lines_;
    QByteArray oddByte_; // the last byte of a UTF-16 file of odd length
};

} // namespace vn

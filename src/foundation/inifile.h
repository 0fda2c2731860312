#pragma once
// Private-profile INI files (the settings file and the run record).
//
// Section and key names compare without regard to case. A write replaces a
// key's value in place, adds a missing key after the last line of its
// section, and adds a missing section at the end of the file; the first write
// creates the file. A read returns at most 2047 bytes of the value. The file
// is read afresh for every access, so every change of it is seen at once.
//
// Values are trimmed of blanks around them; a value wrapped in matching
// quotes loses them. Every value written reads back unchanged: values that
// would not survive this are written quoted, and characters a line cannot
// carry (line breaks, NUL, and in a Shift-JIS file the characters Shift-JIS
// has no code for) as "&#N;" references (see inifile.cpp). The file stays
// Shift-JIS (or UTF-16, when it came with that byte-order mark), and a write
// leaves every line it does not change byte for byte as it was.
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace vn {

// While one of these lives, a file already read is not read again until the
// program itself writes it: for a burst of reads at one moment (start-up),
// which counts as one opening of the file.
class IniReadBurst {
public:
    IniReadBurst();
    ~IniReadBurst();
    IniReadBurst(const IniReadBurst&) = delete;
    IniReadBurst& operator=(const IniReadBurst&) = delete;
};

// While one of these lives, the program's writes to its ini files are kept
// and each file changed is rewritten once (one temporary file, one flush),
// at commit(): for the many values written at one moment, such as the end of
// the session. Reads in the meantime see what was written. A batch that ends
// without commit() (an error is on its way) still writes what it holds, as
// the writes would have been; an error in that write gives way to the first.
class IniWriteBatch {
public:
    IniWriteBatch();
    ~IniWriteBatch();
    IniWriteBatch(const IniWriteBatch&) = delete;
    IniWriteBatch& operator=(const IniWriteBatch&) = delete;
    // Writes every file changed so far; throws AppError("<path> に書き込めません")
    // for the first that cannot be written (the others are still written).
    void commit();
};

// A file read and parsed ahead of its first read, on any thread (it touches
// nothing shared). Given to AdoptIniReadAhead on the thread that reads the
// file, it spares the first read the parse when the file still has the same
// bytes; otherwise that read parses the file as always.
struct IniReadAhead;
std::shared_ptr<IniReadAhead> ReadIniAhead(const QString& path);
void AdoptIniReadAhead(const std::shared_ptr<IniReadAhead>& ahead);

class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    std::optional<QString> readValue(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // "0x"/"0X"/"$" prefixes are hexadecimal; empty or non-integer gives def.
    int readInt(const QString& section, const QString& key, int def) const;
    QStringList sectionNames() const;
    // Several values with one read of the file.
    QList<std::optional<QString>> readValues(const QList<QPair<QString, QString>>& keys) const;

    // Throws AppError("<path> に書き込めません") when the file cannot be written.
    void writeValue(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);

    // Several writes with one read and one write of the file.
    void writeValues(const QString& section, const QList<QPair<QString, QString>>& values);

    static std::optional<int> parseInt(const QString& text);

private:
    QString path_;
};

} // namespace vn

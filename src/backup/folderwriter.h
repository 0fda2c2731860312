#pragma once
// The files of a new folder written together and flushed together: each file
// is written and its writing to disk started at once; commit() waits for all
// of them, then makes them durable with one full flush (on file systems known
// to commit all of them with it; elsewhere one per file), and the folder with
// another. Files are readable by their owner only. Errors name the files
// under the folder they are for (a generation), not the folder written.
#include <QByteArray>
#include <QString>

#include <vector>

namespace vn {

class FolderWriter {
public:
    FolderWriter(QString folder, QString shownFolder);
    ~FolderWriter();
    FolderWriter(const FolderWriter&) = delete;
    FolderWriter& operator=(const FolderWriter&) = delete;

    // Creates (or empties) the file and writes its bytes; throws AppError.
    void add(const QString& fileName, const QByteArray& bytes);
    // Every file and the folder on disk; throws AppError.
    void commit();

private:
    struct Open {
        int fd;
        QString name;
    };
    [[noreturn]] void fail(const QString& fileName, int err) const;

    QString folder_;
    QString shown_;
    std::vector<Open> files_;
    bool batch_ = false; // one flush for all files (else one per file)
};

} // namespace vn

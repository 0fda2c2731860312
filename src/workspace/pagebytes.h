#pragma once
// The bytes of the page files as read at the start, in one block of memory.
// Thirty files of a few hundred kilobytes would otherwise each fault in
// fresh memory 4 KB at a time, which costs more than reading them; one
// block may be backed by large pages where the kernel offers them.
#include <QByteArray>

class QFile;

namespace vn {

class PageBytesBlock {
public:
    // Room for `total` bytes (none for a few small files).
    explicit PageBytesBlock(qint64 total);
    ~PageBytesBlock();
    PageBytesBlock(const PageBytesBlock&) = delete;
    PageBytesBlock& operator=(const PageBytesBlock&) = delete;

    // The rest of an open file. The bytes stay in the block, valid while it
    // lives; a file longer than the room left gets bytes of its own.
    QByteArray read(QFile& file);

private:
    char* mapping_ = nullptr;
    qint64 mapped_ = 0;
    char* base_ = nullptr;
    qint64 size_ = 0, used_ = 0;
};

} // namespace vn

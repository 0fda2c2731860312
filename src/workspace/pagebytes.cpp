#include "pagebytes.h"

#include <QFile>

#include <sys/mman.h>

namespace vn {

namespace {

constexpr qint64 kLargePage = 2 * 1024 * 1024;

} // namespace

PageBytesBlock::PageBytesBlock(qint64 total)
{
    if (total < kLargePage / 2)
        return; // a few small files: as many small reads
    const qint64 size = (total + kLargePage - 1) / kLargePage * kLargePage;
    void* p = mmap(nullptr, size_t(size + kLargePage), PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return;
    mapping_ = static_cast<char*>(p);
    mapped_ = size + kLargePage;
    // Large pages need an aligned start.
    const auto aligned =
        (reinterpret_cast<quintptr>(p) + kLargePage - 1) & ~quintptr(kLargePage - 1);
    base_ = reinterpret_cast<char*>(aligned);
    size_ = size;
#ifdef MADV_HUGEPAGE
    madvise(base_, size_t(size_), MADV_HUGEPAGE); // a hint: without it, small pages
#endif
}

PageBytesBlock::~PageBytesBlock()
{
    if (mapping_)
        munmap(mapping_, size_t(mapped_));
}

QByteArray PageBytesBlock::read(QFile& file)
{
    if (!base_)
        return file.readAll();
    const qint64 n = file.read(base_ + used_, size_ - used_);
    if (n < 0)
        return QByteArray();
    if (!file.atEnd()) { // longer than the room left: grew since its size was taken
        QByteArray own(base_ + used_, n);
        return own + file.readAll();
    }
    const QByteArray bytes = QByteArray::fromRawData(base_ + used_, n);
    used_ += n;
    return bytes;
}

} // namespace vn

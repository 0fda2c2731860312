#pragma once
// What the fuzz targets share: a check that ends the run with a message
// (libFuzzer then keeps the input as a crash file), the form a text takes
// through a Shift-JIS file, texts made of fuzz bytes, and a scratch folder.
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::vn::fuzz::Fail(#cond, __FILE__, __LINE__);                                           \
    } while (0)

namespace vn::fuzz {

[[noreturn]] void Fail(const char* what, const char* file, int line);

// Each character Shift-JIS holds as it reads back from its Shift-JIS code
// (of two spellings of one code, the Windows one: U+301C reads as U+FF5E);
// every other character unchanged.
QString ThroughSjis(const QString& text);
// What a text saved to a file and read again is: the same text, or when the
// file is Shift-JIS, each character in its Windows spelling.
QString AsSaved(const QString& text);
// The lines a line list reads back as.
QStringList AsSavedLines(const QStringList& lines);

// A text of UTF-16 units taken two bytes at a time; lone surrogate halves
// become U+FFFD unless kept.
QString Utf16Text(const char* data, size_t size, bool keepLoneSurrogates = false);

// A folder of this process on a memory file system, emptied on each call.
QString ScratchFolder();

// Whole-file helpers that do not go through the code under test.
void PutFile(const QString& path, const QByteArray& bytes);
QByteArray GetFile(const QString& path);

} // namespace vn::fuzz

// Text decoding and encoding: the bytes of any file, and any typed text.
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "fuzzsupport.h"

using namespace vn;
using namespace vn::fuzz;

namespace {

const QByteArray kMark("\xEF\xBB\xBF");

void checkFileBytes(const QByteArray& bytes)
{
    bool exact = false;
    const QString sjis = FromSjis(bytes, &exact);
    const QString text = DecodeText(bytes);
    if (!bytes.startsWith(kMark)) {
        // Shift-JIS that Windows wrote reads as Shift-JIS; UTF-8 only when
        // Shift-JIS cannot decode the bytes.
        if (exact || !IsUtf8(bytes))
            FUZZ_CHECK(text == sjis);
        else
            FUZZ_CHECK(text == FromUtf8(bytes.constData(), bytes.size()));
    } else {
        FUZZ_CHECK(DecodeForeignText(bytes) == text);
    }
    // A text read and saved unchanged reads back the same; Shift-JIS bytes
    // are written back as they were read, apart from duplicate codes.
    const QByteArray saved = EncodeText(text);
    FUZZ_CHECK(DecodeText(saved) == AsSaved(text));
    if (exact && !bytes.startsWith(kMark)) {
        FUZZ_CHECK(DecodeText(saved) == text);
        FUZZ_CHECK(!saved.startsWith(kMark));
        FUZZ_CHECK(saved.size() == bytes.size());
    }
    // Every byte is accounted for: one character per byte or code.
    FUZZ_CHECK(sjis.size() <= bytes.size());
    FUZZ_CHECK(SjisLength(sjis) >= sjis.size());
}

void checkTypedText(const QString& typed)
{
    // Whatever is typed is saved so that it reads back: exactly, or in the
    // Windows spelling of a Shift-JIS character.
    bool ok = false;
    const QByteArray sjis = ToSjis(typed, &ok);
    const QByteArray saved = EncodeText(typed);
    FUZZ_CHECK(saved.startsWith(kMark) == !ok);
    const QString back = DecodeText(saved);
    FUZZ_CHECK(back == AsSaved(typed));
    if (!ok)
        FUZZ_CHECK(back == typed);
    else
        FUZZ_CHECK(back == ThroughSjis(typed) && saved == sjis && SjisLength(typed) == sjis.size());

    // Lines survive a line list and an edit text.
    const QString noNul = QString(typed).remove(QChar(0));
    const QStringList lines = SplitLines(noNul);
    for (const QString& l : lines)
        FUZZ_CHECK(!l.contains(u'\r') && !l.contains(u'\n'));
    FUZZ_CHECK(SplitLines(JoinLinesCrLf(lines)) == lines);
    FUZZ_CHECK(SplitLines(NormalizeLineBreaks(noNul)) == lines);
    const QString crlf = NormalizeLineBreaks(noNul);
    FUZZ_CHECK(NormalizeLineBreaks(crlf) == crlf);
    FUZZ_CHECK(SplitLines(DecodeText(EncodeText(JoinLinesCrLf(lines)))) == AsSavedLines(lines));

    // Byte positions: the longest prefix that fits, never half a character.
    const int limit = int(typed.size() % 61);
    const QString left = SjisLeft(typed, limit);
    FUZZ_CHECK(typed.startsWith(left));
    FUZZ_CHECK(SjisLength(left) <= limit);
    if (left.size() < typed.size()) {
        const bool pair = typed[left.size()].isHighSurrogate() && left.size() + 1 < typed.size() &&
                          typed[left.size() + 1].isLowSurrogate();
        FUZZ_CHECK(SjisLength(QStringView(typed).left(left.size() + (pair ? 2 : 1))) > limit);
    }
    for (qsizetype i = 0; i <= typed.size(); i += 1 + i / 7) {
        if (i < typed.size() && typed[i].isLowSurrogate() && i > 0 &&
            typed[i - 1].isHighSurrogate())
            continue;
        FUZZ_CHECK(SjisOffsetToIndex(typed, IndexToSjisOffset(typed, i)) == i);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* p = reinterpret_cast<const char*>(data);
    const QByteArray bytes(p, qsizetype(size));
    checkFileBytes(bytes);
    checkTypedText(Utf16Text(p, size));
    checkTypedText(FromUtf8(p, qsizetype(size)));
    return 0;
}

// The INI store: any file, then a few writes of any values.
#include "foundation/inidocument.h"
#include "foundation/textcodec.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace vn;
using namespace vn::fuzz;

namespace {

using Coding = IniDocument::Coding;

bool isUtf16(Coding c)
{
    return c == Coding::Utf16LE || c == Coding::Utf16BE;
}

// What a reader gets for a value written into a file of that coding.
QString expectedRead(const QString& value, Coding coding)
{
    const QString v = isUtf16(coding) ? value : ThroughSjis(value);
    return SjisLeft(v, IniDocument::kMaxValueBytes);
}

// Names that mean the same in the old and in the rewritten file.
bool plainName(const QString& name)
{
    for (QChar c : name)
        if (!SjisCanHold(c) || c == u'&' || c.unicode() < 0x20)
            return false;
    return true;
}

const char* const kSections[] = {"TabName", "tabname", "Search", "A", "ShowVnote", "12345"};
const char* const kKeys[] = {"01", "String", "Count", "M", "k", "Name"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string file = in.ConsumeRandomLengthString(2048);
    const QByteArray bytes(file.data(), qsizetype(file.size()));
    IniDocument doc = IniDocument::parse(bytes);

    // A file read and written unchanged keeps its bytes (Shift-JIS, bytes
    // that are no Shift-JIS, NUL bytes, UTF-16); a file with a UTF-8 mark
    // becomes Shift-JIS that reads the same.
    const QByteArray same = doc.bytes();
    if (doc.coding() == Coding::Sjis || isUtf16(doc.coding())) {
        FUZZ_CHECK(same == bytes);
    } else {
        bool exact = false;
        FromSjis(same, &exact);
        FUZZ_CHECK(exact);
        const IniDocument::Index before = doc.index();
        const IniDocument::Index after = IniDocument::parse(same).index();
        for (auto s = before.cbegin(); s != before.cend(); ++s) {
            if (!plainName(s.key()))
                continue;
            for (auto k = s->cbegin(); k != s->cend(); ++k) {
                if (plainName(k.key()))
                    FUZZ_CHECK(after.value(s.key()).value(k.key()) == ThroughSjis(k.value()));
            }
        }
    }

    const int writes = in.ConsumeIntegralInRange(1, 4);
    for (int w = 0; w < writes && in.remaining_bytes() > 0; ++w) {
        const QString section = QString::fromLatin1(in.PickValueInArray(kSections));
        const QString key = QString::fromLatin1(in.PickValueInArray(kKeys));
        const std::string raw = in.ConsumeRandomLengthString(600);
        const QString value = in.ConsumeBool() ? Utf16Text(raw.data(), raw.size(), true)
                                               : FromUtf8(raw.data(), qsizetype(raw.size()));

        const QByteArray oldBytes = doc.bytes();
        const IniDocument old = IniDocument::parse(oldBytes);
        const IniDocument::Index oldIndex = old.index();
        const QStringList oldSections = old.sectionNames();
        const Coding coding = old.coding();

        doc.setValue(section, key, value);
        const QByteArray newBytes = doc.bytes();
        const IniDocument reread = IniDocument::parse(newBytes);

        // The value reads back exactly.
        FUZZ_CHECK(reread.value(section, key) == expectedRead(value, coding));
        FUZZ_CHECK(reread.index().value(section.toCaseFolded()).value(key.toCaseFolded()) ==
                   expectedRead(value, coding));
        // A Shift-JIS file stays Shift-JIS, a UTF-16 file UTF-16.
        FUZZ_CHECK(reread.coding() == (isUtf16(coding) ? coding : Coding::Sjis));
        // No other key or section appears, and every other value stays.
        QStringList sections = reread.sectionNames();
        if (sections.size() == oldSections.size() + 1 && sections.last() == section)
            sections.removeLast();
        if (coding != Coding::Utf8)
            FUZZ_CHECK(sections == oldSections);
        const IniDocument::Index newIndex = reread.index();
        for (auto s = oldIndex.cbegin(); s != oldIndex.cend(); ++s) {
            if (coding == Coding::Utf8 && !plainName(s.key()))
                continue;
            for (auto k = s->cbegin(); k != s->cend(); ++k) {
                if (s.key() == section.toCaseFolded() && k.key() == key.toCaseFolded())
                    continue;
                if (coding == Coding::Utf8 && !plainName(k.key()))
                    continue;
                const QString expected =
                    coding == Coding::Utf8 ? ThroughSjis(k.value()) : k.value();
                FUZZ_CHECK(newIndex.value(s.key()).contains(k.key()));
                FUZZ_CHECK(newIndex.value(s.key()).value(k.key()) == expected);
            }
        }
        // The written line is one line: line breaks only where lines end.
        if (coding == Coding::Sjis) {
            const qsizetype added = newBytes.count('\n') + newBytes.count('\r') -
                                    oldBytes.count('\n') - oldBytes.count('\r');
            FUZZ_CHECK(added <= 8);
            FUZZ_CHECK(newBytes.count('\0') == oldBytes.count('\0') ||
                       newBytes.count('\0') < oldBytes.count('\0'));
        }
        doc = reread;
    }
    return 0;
}

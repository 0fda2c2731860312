// Feeding calendar text to libical's parser.
#include "icalcommon.h"

#include <cstring>

namespace vn::ical {

namespace {

bool isFoldSpace(char c)
{
    return c == ' ' || c == '\t';
}

// How many of the first `keep` bytes of a value can stay: not half a UTF-8
// character, not the backslash of an escape without what it escapes.
qsizetype cutPoint(const char* value, qsizetype keep)
{
    while (keep > 0 && (static_cast<unsigned char>(value[keep]) & 0xC0) == 0x80)
        --keep;
    qsizetype slashes = 0;
    while (slashes < keep && value[keep - 1 - slashes] == '\\')
        ++slashes;
    return keep - slashes % 2;
}

// The text with every content line cut to the limit; the continuation lines
// of a cut line are left out. One pass, newlines found with memchr.
QByteArray cutLongLines(const QByteArray& text, int* cutLines)
{
    QByteArray out;
    out.reserve(text.size());
    const char* p = text.constData();
    const char* const end = p + text.size();
    qsizetype logical = 0; // content bytes of the current content line so far
    bool dropping = false;
    while (p < end) {
        const auto* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* next = nl ? nl + 1 : end;
        const char* bodyEnd = next;
        while (bodyEnd > p && (bodyEnd[-1] == '\n' || bodyEnd[-1] == '\r'))
            --bodyEnd;
        const bool continuation = isFoldSpace(*p) && p != text.constData();
        if (!continuation) {
            logical = 0;
            dropping = false;
        }
        if (dropping) {
            p = next;
            continue;
        }
        const char* body = continuation ? p + 1 : p;
        const qsizetype size = qMax<qsizetype>(0, bodyEnd - body);
        if (logical + size <= kMaxContentLineBytes) {
            out.append(p, next - p);
            logical += size;
        } else {
            out.append(p, body - p);
            out.append(body, cutPoint(body, kMaxContentLineBytes - logical));
            out.append("\r\n");
            ++*cutLines;
            dropping = true;
        }
        p = next;
    }
    return out;
}

// libical's line source: pieces of at most size - 1 bytes, each ending at
// the latest with its line's newline. The newline is searched once a line.
struct LineSource {
    const char* pos;
    const char* end;
    const char* lineEnd = nullptr; // just past the current line's newline

    static char* next(char* out, size_t size, void* data)
    {
        auto* s = static_cast<LineSource*>(data);
        if (s->pos >= s->end || size < 2)
            return nullptr;
        if (s->lineEnd <= s->pos) {
            const auto* nl =
                static_cast<const char*>(std::memchr(s->pos, '\n', size_t(s->end - s->pos)));
            s->lineEnd = nl ? nl + 1 : s->end;
        }
        const size_t n = std::min(size - 1, size_t(s->lineEnd - s->pos));
        std::memcpy(out, s->pos, n);
        out[n] = '\0';
        s->pos += n;
        return out;
    }
};

} // namespace

ComponentPtr ParseCalendarText(QByteArray utf8, int* cutLines)
{
    PrepareLibical();
    const qsizetype nul = utf8.indexOf('\0');
    if (nul >= 0)
        utf8.truncate(nul);
    const QByteArray text = cutLongLines(utf8, cutLines);
    utf8.clear();
    LineSource source{text.constData(), text.constData() + text.size()};
    icalparser* parser = icalparser_new();
    if (!parser)
        return nullptr;
    const icalerrorstate was = icalerror_get_error_state(ICAL_MALFORMEDDATA_ERROR);
    icalerror_set_error_state(ICAL_MALFORMEDDATA_ERROR, ICAL_ERROR_NONFATAL);
    icalparser_set_gen_data(parser, &source);
    ComponentPtr root(icalparser_parse(parser, &LineSource::next));
    icalerror_set_error_state(ICAL_MALFORMEDDATA_ERROR, was);
    icalparser_free(parser);
    return root;
}

} // namespace vn::ical

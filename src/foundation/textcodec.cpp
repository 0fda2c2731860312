#include "textcodec.h"

#include <cerrno>
#include <iconv.h>

namespace vn {

namespace {

// One converter per direction, opened on first use and kept.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    iconv_t handle()
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // reset shift state
        return cd_;
    }

private:
    iconv_t cd_;
};

Converter& fromSjisConverter()
{
    static Converter c("UTF-16LE", "CP932");
    return c;
}

Converter& toSjisConverter()
{
    static Converter c("CP932", "UTF-16LE");
    return c;
}

// Characters that have two Unicode spellings for one CP932 code (the JIS and
// the Microsoft tables differ); either spelling counts as held by Shift-JIS.
char16_t canonical(char16_t c)
{
    switch (c) {
    case 0x301C: return 0xFF5E; // wave dash
    case 0x2212: return 0xFF0D; // minus sign
    case 0x2016: return 0x2225; // double vertical line
    case 0x00A2: return 0xFFE0; // cent
    case 0x00A3: return 0xFFE1; // pound
    case 0x00AC: return 0xFFE2; // not sign
    case 0x2014: return 0x2015; // dash
    default: return c;
    }
}

bool sameUpToVariants(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (canonical(a[i].unicode()) != canonical(b[i].unicode()))
            return false;
    return true;
}

} // namespace

QString FromSjis(const QByteArray& bytes)
{
    QString out;
    if (bytes.isEmpty())
        return out;
    out.resize(bytes.size()); // never more UTF-16 units than bytes
    iconv_t cd = fromSjisConverter().handle();
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* outStart = reinterpret_cast<char*>(out.data());
    char* outp = outStart;
    size_t outLeft = size_t(out.size()) * 2;
    while (inLeft > 0) {
        size_t r = iconv(cd, &in, &inLeft, &outp, &outLeft);
        if (r != size_t(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: one unit per byte at most
        // EILSEQ or EINVAL: an undecodable byte; replace it and go on.
        *reinterpret_cast<char16_t*>(outp) = 0xFFFD;
        outp += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize((outp - outStart) / 2);
    return out;
}

QByteArray ToSjis(const QString& text, bool* ok)
{
    if (ok)
        *ok = true;
    QByteArray out;
    if (text.isEmpty())
        return out;
    out.resize(text.size() * 2 + 4);
    iconv_t cd = toSjisConverter().handle();
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    size_t inLeft = size_t(text.size()) * 2;
    char* outp = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        size_t r = iconv(cd, &in, &inLeft, &outp, &outLeft);
        if (r != size_t(-1))
            break;
        if (errno == E2BIG)
            break; // two bytes per unit always suffice
        if (ok)
            *ok = false;
        *outp++ = '?';
        --outLeft;
        // skip one UTF-16 unit, or a whole surrogate pair
        size_t skip = 2;
        if (inLeft >= 4) {
            char16_t u = *reinterpret_cast<char16_t*>(in);
            if (u >= 0xD800 && u < 0xDC00)
                skip = 4;
        }
        in += std::min(skip, inLeft);
        inLeft -= std::min(skip, inLeft);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(outp - out.data());
    if (ok && *ok && !sameUpToVariants(FromSjis(out), text))
        *ok = false; // a one-way mapping such as the yen sign to a backslash
    return out;
}

bool IsUtf8WithMultiByte(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    bool multi = false;
    for (qsizetype i = 0; i < n;) {
        unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        char32_t min;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        char32_t cp = c & (0x7F >> len);
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            return false;
        multi = true;
        i += len;
    }
    return multi;
}

QString DecodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (IsUtf8WithMultiByte(bytes))
        return QString::fromUtf8(bytes);
    return FromSjis(bytes);
}

QByteArray EncodeText(const QString& text)
{
    bool ok = true;
    QByteArray sjis = ToSjis(text, &ok);
    if (ok)
        return sjis;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

int SjisCharBytes(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F))
        return 1;
    return 2;
}

int SjisLength(QStringView text)
{
    int n = 0;
    for (QChar c : text)
        n += SjisCharBytes(c);
    return n;
}

qsizetype SjisOffsetToIndex(QStringView text, qint64 byteOffset)
{
    if (byteOffset <= 0)
        return 0;
    qint64 pos = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int w = SjisCharBytes(text[i]);
        if (pos + w > byteOffset)
            return (text[i].isLowSurrogate() && i > 0) ? i - 1 : i;
        pos += w;
    }
    return text.size();
}

qint64 IndexToSjisOffset(QStringView text, qsizetype index)
{
    qint64 pos = 0;
    const qsizetype end = std::min(index, text.size());
    for (qsizetype i = 0; i < end; ++i)
        pos += SjisCharBytes(text[i]);
    return pos;
}

QString SjisLeft(QStringView text, int maxBytes)
{
    qsizetype idx = SjisOffsetToIndex(text, maxBytes);
    return text.left(idx).toString();
}

} // namespace vn

#include "textcodec.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace vn {

namespace {

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

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The code page as two lookup tables, filled once from glibc's CP932
// converter: bytes to UTF-16 and UTF-16 to bytes. The converter is asked in
// runs (all pairs of one lead byte, all characters at once), stepping over
// what it refuses, so the tables cost a few hundred calls, not thousands.
class Cp932Tables {
public:
    Cp932Tables() : decode_(65536, 0), encode_(65536, 0)
    {
        iconv_t to16 = iconv_open("UTF-16LE", "CP932");
        iconv_t from16 = iconv_open("CP932", "UTF-16LE");
        // Converts whole units of `unit` bytes from in; each converted unit
        // is passed to take(index, output bytes). A unit the converter
        // refuses is stepped over.
        auto convertRun = [](iconv_t cd, const char* in, size_t units, size_t unit, auto&& take) {
            std::vector<char> out(units * 4 + 16);
            size_t done = 0;
            while (done < units) {
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                char* ip = const_cast<char*>(in + done * unit);
                size_t inLen = (units - done) * unit;
                char* op = out.data();
                size_t outLen = out.size();
                const size_t r = iconv(cd, &ip, &inLen, &op, &outLen);
                const size_t consumed = size_t(ip - (in + done * unit));
                take(done, consumed / unit, out.data(), size_t(op - out.data()));
                done += consumed / unit;
                if (r == size_t(-1) || consumed % unit)
                    ++done; // refused (or split): step over this unit
            }
        };
        // single bytes, one at a time
        char16_t u[2];
        for (int b = 0; b < 256; ++b) {
            if (isLeadByte(uchar(b)))
                continue;
            iconv(to16, nullptr, nullptr, nullptr, nullptr);
            char in = char(b);
            char* ip = &in;
            size_t inLen = 1;
            char* op = reinterpret_cast<char*>(u);
            size_t outLen = sizeof u;
            if (iconv(to16, &ip, &inLen, &op, &outLen) != size_t(-1) && inLen == 0 &&
                op - reinterpret_cast<char*>(u) == 2)
                decode_[size_t(b)] = u[0] ? u[0] : 0xFFFF; // NUL decodes to itself
        }
        // every lead/trail pair: one unit of UTF-16 each
        constexpr int kTrails = 0xFC - 0x40 + 1;
        char pairs[kTrails * 2];
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(uchar(lead)))
                continue;
            for (int t = 0; t < kTrails; ++t) {
                pairs[2 * t] = char(lead);
                pairs[2 * t + 1] = char(0x40 + t);
            }
            convertRun(to16, pairs, kTrails, 2,
                       [&](size_t first, size_t n, const char* out, size_t bytes) {
                           if (bytes != n * 2)
                               return; // not one unit per pair: none of this run is taken
                           for (size_t i = 0; i < n; ++i) {
                               char16_t c;
                               std::memcpy(&c, out + 2 * i, 2);
                               decode_[size_t(lead << 8 | (0x40 + int(first + i)))] = c;
                           }
                       });
        }
        // Encoding: each character that decodes from some code is encoded the
        // way the converter encodes it (of duplicate codes, its choice).
        std::vector<char16_t> chars;
        std::vector<bool> seen(65536, false);
        for (size_t code = 0; code < decode_.size(); ++code) {
            const char16_t c = decode_[code] == 0xFFFF ? 0 : decode_[code];
            if (!decode_[code] || seen[c])
                continue;
            seen[c] = true;
            chars.push_back(c);
        }
        convertRun(from16, reinterpret_cast<const char*>(chars.data()), chars.size(), 2,
                   [&](size_t first, size_t n, const char* out, size_t bytes) {
                       size_t k = 0;
                       for (size_t i = 0; i < n && k < bytes; ++i) {
                           const char16_t c = chars[first + i];
                           const uchar b = uchar(out[k]);
                           if (isLeadByte(b) && k + 1 < bytes) {
                               encode_[c] = quint32(b) << 8 | uchar(out[k + 1]);
                               k += 2;
                           } else {
                               encode_[c] = b | 0x10000u;
                               k += 1;
                           }
                       }
                   });
        iconv_close(to16);
        iconv_close(from16);
    }

    // Decoded unit of a single byte or a lead/trail pair; 0 when invalid.
    char16_t single(uchar b) const { return decode_[b] == 0xFFFF ? u'\0' : decode_[b]; }
    bool singleValid(uchar b) const { return decode_[b] != 0; }
    char16_t pair(uchar lead, uchar trail) const { return decode_[size_t(lead << 8 | trail)]; }
    // Bytes of a character: 0x1nn for one byte, 0xLLTT for two, 0 for none.
    quint32 bytesOf(char16_t c) const
    {
        if (c == 0)
            return 0x10000u;
        quint32 v = encode_[c];
        if (!v)
            v = encode_[canonical(c)];
        return v;
    }

private:
    std::vector<char16_t> decode_;
    std::vector<quint32> encode_;
};

const Cp932Tables& tables()
{
    // Never destroyed: the last save on the way out of the process (an exit
    // handler) still writes Shift-JIS after static objects are gone.
    static const Cp932Tables* const t = new Cp932Tables;
    return *t;
}

bool isAscii(const char* p, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return false;
    return true;
}

bool isAscii(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

} // namespace

QString FromSjis(const QByteArray& bytes, bool* exact)
{
    if (exact)
        *exact = true;
    if (isAscii(bytes.constData(), bytes.size()))
        return QString::fromLatin1(bytes); // the same in CP932
    const Cp932Tables& t = tables();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype k = 0;
    bool bad = false;
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = p[i];
        if (b < 0x80) {
            o[k++] = b;
        } else if (isLeadByte(b) && i + 1 < n && t.pair(b, p[i + 1])) {
            o[k++] = t.pair(b, p[i + 1]);
            ++i;
        } else if (!isLeadByte(b) && t.singleValid(b)) {
            o[k++] = t.single(b);
        } else {
            o[k++] = 0xFFFD; // an undecodable byte
            bad = true;
        }
    }
    out.truncate(k);
    if (exact)
        *exact = !bad;
    return out;
}

QByteArray ToSjis(const QString& text, bool* ok)
{
    if (ok)
        *ok = true;
    if (isAscii(text))
        return text.toLatin1(); // the same in CP932
    const Cp932Tables& t = tables();
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* o = out.data();
    qsizetype k = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        const quint32 v = (c >= 0xD800 && c < 0xE000) ? 0 : t.bytesOf(c);
        if (v == 0) {
            if (ok)
                *ok = false;
            o[k++] = '?';
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && text[i + 1].isLowSurrogate())
                ++i; // one '?' for a whole surrogate pair
        } else if (v & 0x10000u) {
            o[k++] = char(v & 0xFF);
        } else {
            o[k++] = char(v >> 8);
            o[k++] = char(v & 0xFF);
        }
    }
    out.truncate(k);
    return out;
}

namespace {

enum class Utf8Kind { Invalid, Ascii, MultiByte };

Utf8Kind utf8Kind(const QByteArray& bytes)
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
            return Utf8Kind::Invalid;
        }
        if (i + len > n)
            return Utf8Kind::Invalid;
        char32_t cp = c & (0x7F >> len);
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return Utf8Kind::Invalid;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            return Utf8Kind::Invalid;
        multi = true;
        i += len;
    }
    return multi ? Utf8Kind::MultiByte : Utf8Kind::Ascii;
}

bool hasUtf8Mark(const QByteArray& bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF");
}

} // namespace

bool IsUtf8(const QByteArray& bytes)
{
    return utf8Kind(bytes) != Utf8Kind::Invalid;
}

bool IsUtf8WithMultiByte(const QByteArray& bytes)
{
    return utf8Kind(bytes) == Utf8Kind::MultiByte;
}

QString FromUtf8(const char* data, qsizetype size)
{
    // QString::fromUtf8 drops a leading U+FEFF as a byte-order mark; here the
    // mark, if any, is already gone and a U+FEFF is part of the text.
    // Stateless: an incomplete sequence at the end becomes U+FFFD too.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    return decoder.decode(QByteArrayView(data, size));
}

QString DecodeText(const QByteArray& bytes)
{
    if (hasUtf8Mark(bytes))
        return FromUtf8(bytes.constData() + 3, bytes.size() - 3);
    bool exact = true;
    QString sjis = FromSjis(bytes, &exact);
    if (!exact && IsUtf8(bytes))
        return FromUtf8(bytes.constData(), bytes.size());
    return sjis;
}

QString DecodeForeignText(const QByteArray& bytes)
{
    if (hasUtf8Mark(bytes))
        return FromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (IsUtf8WithMultiByte(bytes))
        return FromUtf8(bytes.constData(), bytes.size());
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

QString FromUtf16(const char* data, qsizetype size, bool littleEndian)
{
    const qsizetype units = size / 2;
    QString out(units + (size % 2), Qt::Uninitialized);
    const auto* b = reinterpret_cast<const uchar*>(data);
    for (qsizetype i = 0; i < units; ++i)
        out[i] = QChar(littleEndian ? char16_t(b[2 * i] | b[2 * i + 1] << 8)
                                    : char16_t(b[2 * i] << 8 | b[2 * i + 1]));
    if (size % 2)
        out[units] = QChar(0xFFFD);
    return out;
}

QByteArray ToUtf16(QStringView text, bool littleEndian)
{
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        out[2 * i] = char(littleEndian ? u & 0xFF : u >> 8);
        out[2 * i + 1] = char(littleEndian ? u >> 8 : u & 0xFF);
    }
    return out;
}

bool MarkNuls(QString& text)
{
    if (!text.contains(QChar(0)))
        return false;
    text.replace(QChar(0), QChar(0xFFFD));
    return true;
}

bool HasBrokenSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

FileText DecodeFileText(const QByteArray& bytes)
{
    FileText out;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool le = bytes[0] == '\xFF';
        out.form = le ? TextForm::Utf16LE : TextForm::Utf16BE;
        out.text = FromUtf16(bytes.constData() + 2, bytes.size() - 2, le);
        out.exact = bytes.size() % 2 == 0 && !HasBrokenSurrogate(out.text);
    } else if (hasUtf8Mark(bytes)) {
        out.form = TextForm::Utf8;
        out.text = FromUtf8(bytes.constData() + 3, bytes.size() - 3);
        out.exact = IsUtf8(bytes.mid(3));
    } else {
        bool sjisExact = true;
        out.text = FromSjis(bytes, &sjisExact);
        out.exact = sjisExact;
        if (!sjisExact && IsUtf8(bytes)) {
            out.form = TextForm::Utf8;
            out.text = FromUtf8(bytes.constData(), bytes.size());
            out.exact = true;
        }
    }
    if (MarkNuls(out.text))
        out.exact = false;
    return out;
}

QByteArray EncodeFileText(const QString& text, TextForm form)
{
    switch (form) {
    case TextForm::Utf16LE: return QByteArray("\xFF\xFE") + ToUtf16(text, true);
    case TextForm::Utf16BE: return QByteArray("\xFE\xFF") + ToUtf16(text, false);
    case TextForm::Sjis:
    case TextForm::Utf8: break;
    }
    return EncodeText(text);
}

bool SjisCanHold(QChar c)
{
    const char16_t u = c.unicode();
    return !(u >= 0xD800 && u < 0xE000) && tables().bytesOf(u) != 0;
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

#include "inidocument.h"

#include "textcodec.h"

#include <algorithm>

namespace vn {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// The section name of a "[name]" line, or nothing.
std::optional<QStringView> sectionOf(QStringView line)
{
    QStringView t = trimBlanks(line);
    if (!t.startsWith(u'['))
        return std::nullopt;
    qsizetype close = t.indexOf(u']');
    if (close < 0)
        close = t.size();
    return trimBlanks(t.mid(1, close - 1));
}

// Key and raw value of a "key=value" line.
bool splitKeyLine(QStringView line, QStringView* key, QStringView* value)
{
    QStringView t = trimBlanks(line);
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'['))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = trimBlanks(t.left(eq));
    *value = t.mid(eq + 1);
    return true;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// How a value is stored
// ---------------------
// The file must stay a private-profile file that Windows reads as it always
// has, and every value written must read back exactly. Windows' reader trims
// blanks around a value, drops one pair of matching quotes around it, and
// ends a line at CR or LF (and a string at NUL). So:
//
// - A value that starts or ends with a blank, or that is itself enclosed in
//   matching quotes, is written enclosed in double quotes.
// - A character the line cannot carry is written as a numeric character
//   reference, "&#" + its Unicode code point in decimal + ";": NUL, CR, LF
//   and every other control character below 32 except TAB ("a&#13;&#10;b");
//   in a Shift-JIS file also every character Shift-JIS has no code for
//   ("&#233;" for é, "&#128512;" for one emoji). A surrogate half without its
//   partner is written the same way, so even that reads back.
// - A "&" followed by "#" is written "&#38;", so that a text which looks like
//   a reference reads back as written.
//
// Windows shows such a value as the plain text it is; every other value is
// written exactly as before, Japanese in Shift-JIS. Reading undoes the
// references ("&#" + 1 to 7 digits + ";" up to U+10FFFF) in every value; a
// "&" that does not start one is an ordinary character.

using Coding = IniDocument::Coding;

bool holds(Coding coding, char32_t c)
{
    if (c < 0x20)
        return c == u'\t';
    if (c >= 0xD800 && c < 0xE000)
        return false; // a lone surrogate half
    if (coding == Coding::Utf16LE || coding == Coding::Utf16BE)
        return true;
    return c < 0x10000 && SjisCanHold(QChar(char16_t(c)));
}

void appendReference(QString& out, char32_t c)
{
    out += QLatin1String("&#");
    out += QString::number(uint(c));
    out += u';';
}

// The stored form of a value (without quotes). With whole = false only the
// characters the file's code page has no code for are replaced (the lines of
// a UTF-8 file written back in Shift-JIS: they read as before).
QString escaped(const QString& value, Coding coding, bool whole = true)
{
    QString out;
    out.reserve(value.size());
    const qsizetype n = value.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = value[i];
        if (c.isHighSurrogate() && i + 1 < n && value[i + 1].isLowSurrogate()) {
            const char32_t cp = QChar::surrogateToUcs4(c, value[i + 1]);
            if (holds(coding, cp))
                out.append(value.mid(i, 2));
            else
                appendReference(out, cp);
            ++i;
        } else if (whole && c == u'&' && i + 1 < n && value[i + 1] == u'#') {
            appendReference(out, u'&');
        } else if (holds(coding, c.unicode()) || (!whole && c.unicode() < 0x20)) {
            out += c;
        } else {
            appendReference(out, c.unicode());
        }
    }
    return out;
}

bool isSpaceAt(QChar c)
{
    return c.isSpace() || c.unicode() < 0x20;
}

QString stored(const QString& value, Coding coding)
{
    const QString v = escaped(value, coding);
    if (v.isEmpty())
        return v;
    const bool edges = isSpaceAt(v.front()) || isSpaceAt(v.back());
    const bool quoted =
        v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front();
    return (edges || quoted) ? u'"' + v + u'"' : v;
}

QString unescaped(QStringView v)
{
    if (!v.contains(QLatin1String("&#")))
        return v.toString();
    QString out;
    out.reserve(v.size());
    const qsizetype n = v.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (v[i] == u'&' && i + 3 < n && v[i + 1] == u'#') {
            qsizetype j = i + 2;
            char32_t cp = 0;
            while (j < n && j - (i + 2) < 7 && v[j] >= u'0' && v[j] <= u'9')
                cp = cp * 10 + (v[j++].unicode() - u'0');
            if (j > i + 2 && j < n && v[j] == u';' && cp <= 0x10FFFF) {
                if (cp >= 0x10000) {
                    out += QChar::highSurrogate(cp);
                    out += QChar::lowSurrogate(cp);
                } else {
                    out += QChar(char16_t(cp));
                }
                i = j;
                continue;
            }
        }
        out += v[i];
    }
    return out;
}

QString readValue(QStringView raw)
{
    QStringView v = trimBlanks(raw);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    const qsizetype nul = v.indexOf(QChar(u'\0')); // a raw NUL ends the string
    if (nul >= 0)
        v = v.left(nul);
    return SjisLeft(unescaped(v), IniDocument::kMaxValueBytes);
}

template <typename Unit, typename Emit> void splitAtBreaks(const Unit* p, qsizetype n, Emit take)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != Unit('\r') && p[i] != Unit('\n'))
            continue;
        const bool crlf = p[i] == Unit('\r') && i + 1 < n && p[i + 1] == Unit('\n');
        take(start, i, crlf ? QStringLiteral("\r\n") : QString(QChar(char16_t(p[i]))));
        if (crlf)
            ++i;
        start = i + 1;
    }
    if (start < n)
        take(start, n, QString());
}

} // namespace

// The file
// --------
// An INI file is Shift-JIS. Each line keeps the bytes it was read as, so a
// write changes only the lines it writes: bytes that are not Shift-JIS, and
// NUL bytes, stay where they are (a NUL is an ordinary character of its line,
// as for Windows' reader, and ends only the value that holds it). A line is
// read as UTF-8 only when Shift-JIS cannot decode it and UTF-8 can (a line
// typed in another editor); deciding line by line means that no write can
// change how the lines it did not write are read. A file that begins with a
// UTF-16 byte-order mark (Windows writes those too) is read as UTF-16 and
// written back as UTF-16. A file with a UTF-8 byte-order mark (as an older
// version wrote it) is read as UTF-8 and written back as Shift-JIS, its
// characters that Shift-JIS cannot hold as references.
IniDocument IniDocument::parse(const QByteArray& bytes)
{
    IniDocument doc;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool le = bytes[0] == '\xFF';
        doc.coding_ = le ? Coding::Utf16LE : Coding::Utf16BE;
        const qsizetype units = (bytes.size() - 2) / 2;
        const QString all = FromUtf16(bytes.constData() + 2, units * 2, le);
        if ((bytes.size() - 2) % 2)
            doc.oddByte_ = bytes.right(1);
        splitAtBreaks(reinterpret_cast<const char16_t*>(all.constData()), units,
                      [&](qsizetype s, qsizetype e, QString eol) {
                          doc.lines_.append({all.mid(s, e - s), {}, std::move(eol)});
                      });
        return doc;
    }
    const bool mark = bytes.startsWith("\xEF\xBB\xBF");
    const qsizetype from = mark ? 3 : 0;
    doc.coding_ = mark ? Coding::Utf8 : Coding::Sjis;
    splitAtBreaks(bytes.constData() + from, bytes.size() - from,
                  [&](qsizetype s, qsizetype e, QString eol) {
                      Line line{{}, bytes.mid(from + s, e - s), std::move(eol)};
                      bool exact = true;
                      if (!mark)
                          line.text = FromSjis(line.raw, &exact);
                      if (mark || (!exact && IsUtf8(line.raw)))
                          line.text = FromUtf8(line.raw.constData(), line.raw.size());
                      doc.lines_.append(std::move(line));
                  });
    return doc;
}

QByteArray IniDocument::bytes() const
{
    QByteArray out;
    const bool utf16 = coding_ == Coding::Utf16LE || coding_ == Coding::Utf16BE;
    const bool le = coding_ == Coding::Utf16LE;
    if (utf16)
        out = le ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        const QString eol =
            line.eol.isEmpty() && i + 1 < lines_.size() ? QStringLiteral("\r\n") : line.eol;
        if (utf16) {
            out += ToUtf16(line.text + eol, le);
            continue;
        }
        if (coding_ == Coding::Sjis && !line.changed)
            out += line.raw;
        else if (line.changed)
            out += ToSjis(line.text);
        else // a line of a UTF-8 file
            out += ToSjis(escaped(line.text, Coding::Sjis, false));
        out += eol.toLatin1();
    }
    return out + oddByte_;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    bool inSection = false;
    for (const Line& line : lines_) {
        if (auto s = sectionOf(line.text)) {
            inSection = sameName(*s, section);
            continue;
        }
        QStringView k, v;
        if (inSection && splitKeyLine(line.text, &k, &v) && sameName(k, key))
            return readValue(v);
    }
    return std::nullopt;
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    for (const Line& line : lines_)
        if (auto s = sectionOf(line.text))
            names.append(s->toString());
    return names;
}

IniDocument::Index IniDocument::index() const
{
    Index values;
    QHash<QString, QString>* current = nullptr;
    for (const Line& line : lines_) {
        if (auto s = sectionOf(line.text)) {
            current = &values[s->toString().toCaseFolded()];
            continue;
        }
        QStringView k, v;
        if (current && splitKeyLine(line.text, &k, &v)) {
            const QString key = k.toString().toCaseFolded();
            if (!current->contains(key))
                current->insert(key, readValue(v));
        }
    }
    return values;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString text = stored(value, coding_);
    auto newLine = [](QString t) { return Line{std::move(t), {}, QStringLiteral("\r\n"), true}; };
    qsizetype header = -1, lastInSection = -1, found = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (auto s = sectionOf(lines_[i].text)) {
            if (inSection)
                break; // left our section
            inSection = sameName(*s, section);
            if (inSection)
                header = lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!trimBlanks(lines_[i].text).isEmpty())
            lastInSection = i;
        QStringView k, v;
        if (splitKeyLine(lines_[i].text, &k, &v) && sameName(k, key)) {
            found = i;
            break;
        }
    }
    if (found >= 0) {
        QStringView k, v;
        splitKeyLine(lines_[found].text, &k, &v);
        // The key keeps its spelling in the file, unless the file's code page
        // cannot hold that spelling.
        const QString spelled = k.toString();
        const bool keep = std::all_of(spelled.begin(), spelled.end(), [this](QChar c) {
            return holds(coding_, c.unicode()) && c != QChar(0xFFFD);
        });
        lines_[found].text = (keep ? spelled : key) + u'=' + text;
        lines_[found].changed = true;
    } else if (header >= 0) {
        lines_.insert(lastInSection + 1, newLine(key + u'=' + text));
    } else {
        while (!lines_.isEmpty() && trimBlanks(lines_.last().text).isEmpty())
            lines_.removeLast();
        if (!lines_.isEmpty())
            lines_.append(newLine(QString()));
        lines_.append(newLine(u'[' + section + u']'));
        lines_.append(newLine(key + u'=' + text));
    }
}

QString IniDocument::storedForm(const QString& value, Coding coding)
{
    return stored(value, coding);
}

QString IniDocument::valueOf(QStringView text)
{
    return readValue(text);
}

} // namespace vn

#include "pagestore.h"

#include "pagebytes.h"

#include "foundation/apperror.h"
#include "foundation/heldtext.h"
#include "foundation/outsidechange.h"
#include "foundation/paths.h"
#include "foundation/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vn {

namespace {

// The page file's bytes (into the block, when given); none when there is no
// file. Something other than a file in its place cannot be read.
QByteArray readPageFile(const QFileInfo& info, PageBytesBlock* block = nullptr)
{
    const QString shown = QDir::toNativeSeparators(info.filePath());
    if (info.exists() && !info.isFile())
        ThrowNotRegularFile(shown);
    if (!info.exists())
        return QByteArray();
    if (!block)
        return ReadFileBytes(info.filePath());
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        ThrowOpenError(shown, file.errorString());
    return block->read(file);
}

// True when the file reads as exactly this text (also after a change that
// was undone, and whatever bytes the file holds for it).
bool fileHolds(const QString& path, const QString& text)
{
    try {
        return FileExists(path) && ReadEditFileText(path) == text;
    } catch (const AppError&) {
        return false;
    }
}

QString fileText(const QString& path)
{
    try {
        return ReadEditFileText(path);
    } catch (const AppError&) {
        return QString();
    }
}

} // namespace

FontSpec DefaultPageFont()
{
    return FontSpec{0, QStringLiteral("ＭＳ ゴシック"), 9, 0};
}

PageStore::PageStore()
{
    for (PageRecord& p : pages_)
        p.font = DefaultPageFont();
}

const QString& PageStore::heldText(int i) const
{
    HeldText& h = held_[size_t(i)];
    if (!h.decoded)
        takeFileText(i, std::exchange(h.bytes, QByteArray()));
    return h.text;
}

void PageStore::stampRead(int i, const QByteArray& bytes, bool hashNow) const
{
    stamps_[size_t(i)] = FileStamp::of(PageFilePath(i), bytes, hashNow);
}

void PageStore::takeFileText(int i, const QByteArray& bytes) const
{
    FileStamp& stamp = stamps_[size_t(i)];
    if (stamp.known && stamp.exists && !stamp.hashed())
        stamp.hash = FileStamp::hashOf(bytes);
    EditFileText decoded = DecodeEditFile(bytes, PageFilePath(i));
    FileForm& f = forms_[size_t(i)];
    f.form = decoded.form;
    f.heldReason = decoded.heldReason;
    // A deep copy: the bytes may point into the block of the start.
    f.heldBytes = f.heldReason.isEmpty() ? QByteArray() : QByteArray(bytes.data(), bytes.size());
    held_[size_t(i)] = HeldText{std::move(decoded.text), QByteArray(), true};
}

QString PageStore::heldReason(int i) const
{
    if (!valid(i))
        return QString();
    if (!held_[size_t(i)].decoded)
        heldText(i);
    return forms_[size_t(i)].heldReason;
}

TextForm PageStore::form(int i) const
{
    heldReason(i); // decoded: the form is known
    return valid(i) ? forms_[size_t(i)].form : TextForm::Sjis;
}

QString PageStore::heldCopyPath(int i) const
{
    return HeldCopyPath(PageFilePath(i));
}

void PageStore::acceptRewrite(int i, const QString& copyPath)
{
    if (!isHeld(i))
        return;
    KeepHeldCopy(PageFilePath(i), copyPath);
    forms_[size_t(i)].heldReason.clear();
    forms_[size_t(i)].heldBytes.clear();
}

void PageStore::writePage(int i, const QString& text)
{
    const QString path = PageFilePath(i);
    const QByteArray bytes = EncodeEditFile(text, forms_[size_t(i)].form);
    heldReason(i); // decoded: the stamp has its hash
    const OutsideBytes outside = ReadIfChangedSince(path, stamps_[size_t(i)]);
    QString copy;
    if (outside.changed && outside.exists && outside.bytes != bytes && !outside.bytes.isEmpty())
        copy = KeepConflictCopy(path, outside.bytes);
    WriteFileAtomic(path, bytes);
    stamps_[size_t(i)] = FileStamp::of(path, bytes);
    if (!copy.isEmpty())
        ReportOutsideChange({OutsideChange::Kind::Copied, path, copy,
                             QStringLiteral("メモ「%1」").arg(pages_[size_t(i)].tabName)});
}

bool PageStore::changedOutside(int i) const
{
    if (!valid(i) || !pages_[size_t(i)].read)
        return false;
    const FileStamp& stamp = stamps_[size_t(i)];
    const QString path = PageFilePath(i);
    if (stamp.looksUnchanged(path))
        return false;
    heldReason(i); // decoded: the stamp has its hash
    return ChangedSinceSettling(path, stamps_[size_t(i)]);
}

bool PageStore::takeIn(int i)
{
    if (!valid(i) || changed(i) || failing_.contains(i) || !changedOutside(i))
        return false;
    const QString path = PageFilePath(i);
    if (!QFileInfo(path).isFile())
        return false; // removed outside: the page keeps its text
    QByteArray bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const AppError&) {
        return false; // read again at the next look
    }
    PageRecord& p = pages_[size_t(i)];
    takeFileText(i, bytes);
    const QString text = std::exchange(held_[size_t(i)].text, QString());
    if (p.inEditor)
        link_.setText(i, text);
    else
        hold(i, text);
    p.savedGeneration = ++p.generation;
    stampRead(i, bytes);
    ReportOutsideChange({OutsideChange::Kind::TakenIn, path, QString(),
                         QStringLiteral("メモ「%1」").arg(p.tabName)});
    return true;
}

void PageStore::hold(int i, const QString& text)
{
    held_[size_t(i)] = HeldText{text, QByteArray(), true};
}

PageStore::~PageStore() = default;

QStringList PageStore::load()
{
    std::array<QFileInfo, kPageCount> files;
    qint64 total = 0;
    for (int i = 0; i < kPageCount; ++i) {
        files[size_t(i)] = QFileInfo(PageFilePath(i));
        if (files[size_t(i)].isFile())
            total += files[size_t(i)].size();
    }
    for (int i = 0; i < kPageCount; ++i)
        hold(i, QString()); // nothing points into the last block any more
    block_ = std::make_unique<PageBytesBlock>(total);
    QStringList errors;
    for (int i = 0; i < kPageCount; ++i) {
        PageRecord& p = pages_[size_t(i)];
        HeldText& h = held_[size_t(i)];
        p.inEditor = false;
        hold(i, QString());
        forms_[size_t(i)] = FileForm{};
        p.readError.clear();
        ++p.generation;
        try {
            h.bytes = readPageFile(files[size_t(i)], block_.get());
            h.decoded = h.bytes.isEmpty();
            stampRead(i, h.bytes, h.decoded); // hashed when decoded
            p.read = true;
        } catch (const AppError& e) {
            p.read = false;
            p.readError = e.message();
            errors.append(e.message());
        }
        p.savedGeneration = p.generation;
    }
    failing_.clear();
    return errors;
}

bool PageStore::retryRead(int i)
{
    if (!valid(i) || pages_[size_t(i)].read)
        return valid(i);
    QByteArray bytes;
    try {
        bytes = readPageFile(QFileInfo(PageFilePath(i)));
    } catch (const AppError& e) {
        pages_[size_t(i)].readError = e.message();
        return false;
    }
    PageRecord& p = pages_[size_t(i)];
    p.read = true;
    p.readError.clear();
    stampRead(i, bytes);
    takeFileText(i, bytes);
    const QString text = std::exchange(held_[size_t(i)].text, QString());
    setText(i, text);
    p.savedGeneration = p.generation;
    return true;
}

QString PageStore::text(int i) const
{
    if (!valid(i))
        return QString();
    const PageRecord& p = pages_[size_t(i)];
    return p.inEditor ? link_.text(i) : heldText(i);
}

bool PageStore::isEmpty(int i) const
{
    if (!valid(i))
        return true;
    const PageRecord& p = pages_[size_t(i)];
    return p.inEditor ? link_.isEmpty(i) : heldText(i).isEmpty();
}

bool PageStore::changed(int i) const
{
    return valid(i) && pages_[size_t(i)].generation != pages_[size_t(i)].savedGeneration;
}

QString PageStore::moveTextToEditor(int i)
{
    const QString text = heldText(i);
    hold(i, QString());
    pages_[size_t(i)].inEditor = true;
    return text;
}

void PageStore::editorTextChanged(int i)
{
    if (valid(i))
        ++pages_[size_t(i)].generation;
}

void PageStore::setText(int i, const QString& text)
{
    if (!valid(i))
        return;
    PageRecord& p = pages_[size_t(i)];
    heldReason(i); // whether the file is held is known before its text goes
    p.position = PagePosition{};
    if (p.inEditor)
        link_.setText(i, text);
    else
        hold(i, text);
    ++p.generation;
}

QStringList PageStore::save(int count, bool reportAll)
{
    QStringList errors;
    bool allEmpty = true;
    for (int i = 0; i < kPageCount && allEmpty; ++i)
        allEmpty = isEmpty(i);
    if (allEmpty)
        return errors; // e.g. after every file failed to load: touch nothing
    for (int i = 0; i < std::min(count, kPageCount); ++i) {
        PageRecord& p = pages_[size_t(i)];
        if (!p.read)
            continue;
        const QString path = PageFilePath(i);
        const bool changedText = p.generation != p.savedGeneration;
        // An untouched page is written only to bring back a file that went
        // missing with text in it.
        if (!changedText && !failing_.contains(i) && (FileExists(path) || isEmpty(i)))
            continue;
        try {
            if (isHeld(i)) {
                // Never rewritten; a held file that went missing gets its
                // bytes back.
                if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
                    WriteFileAtomic(path, forms_[size_t(i)].heldBytes);
                p.savedGeneration = p.generation;
                failing_.remove(i);
                continue;
            }
            const QString t = text(i);
            if (!changedText || !fileHolds(path, t))
                writePage(i, t);
            else // the file holds this text already, whoever wrote it
                stamps_[size_t(i)] = FileStamp::read(path);
            p.savedGeneration = p.generation;
            failing_.remove(i);
        } catch (const AppError& e) {
            if (reportAll || !failing_.contains(i))
                errors.append(e.message());
            failing_.insert(i);
        }
    }
    return errors;
}

void PageStore::replaceAndWrite(int i, const QString& text)
{
    if (!valid(i))
        return;
    PageRecord& p = pages_[size_t(i)];
    setText(i, text);
    p.read = true; // the user chose to replace whatever the file held
    p.readError.clear();
    forms_[size_t(i)].heldReason.clear();
    forms_[size_t(i)].heldBytes.clear();
    writePage(i, text);
    p.savedGeneration = p.generation;
    failing_.remove(i);
}

void PageStore::createMissingFiles()
{
    for (int i = 0; i < kPageCount; ++i) {
        PageRecord& p = pages_[size_t(i)];
        const QString path = PageFilePath(i);
        if (!p.read || QFileInfo::exists(path) || isHeld(i))
            continue;
        writePage(i, text(i));
        p.savedGeneration = p.generation;
    }
}

bool PageStore::restoreOffered(int i) const
{
    // The emptied page's file still holds text.
    if (!writable(i) || !isEmpty(i) || !FileExists(PageFilePath(i)))
        return false;
    return !fileText(PageFilePath(i)).isEmpty();
}

void PageStore::deletePage(int i)
{
    if (!writable(i))
        return;
    writePage(i, text(i));
    pages_[size_t(i)].savedGeneration = pages_[size_t(i)].generation;
    setText(i, QString());
}

void PageStore::restorePage(int i)
{
    if (!writable(i) || !FileExists(PageFilePath(i)))
        return;
    const QByteArray bytes = ReadFileBytes(PageFilePath(i));
    stampRead(i, bytes);
    takeFileText(i, bytes); // the form, and whether it is held now
    setText(i, std::exchange(held_[size_t(i)].text, QString()));
    pages_[size_t(i)].savedGeneration = pages_[size_t(i)].generation;
}

void PageStore::restorePositions()
{
    QList<int> ids;
    for (int i = 0; i < kPageCount; ++i)
        ids << REG_MemoScrollPos + i << REG_MemoSelStart + i << REG_MemoSelLength + i;
    const QList<int> v = ReadSettingInts(ids);
    for (int i = 0; i < kPageCount; ++i)
        pages_[size_t(i)].position = {std::max(0, v[3 * i]), std::max(0, v[3 * i + 1]),
                                      std::max(0, v[3 * i + 2])};
}

void PageStore::savePositions() const
{
    QList<QPair<int, int>> values;
    for (int i = 0; i < kPageCount; ++i) {
        const PagePosition& p = pages_[size_t(i)].position;
        values.append({REG_MemoScrollPos + i, p.scroll});
        values.append({REG_MemoSelStart + i, p.start});
        values.append({REG_MemoSelLength + i, p.length});
    }
    WriteSettingIntsIfChanged(values);
}

void PageStore::loadAppearance()
{
    QList<int> ids;
    for (int i = 0; i < kPageCount; ++i)
        ids << REG_EnvMemoBackColor + i;
    const QList<int> colours = ReadSettingInts(ids);
    for (int i = 0; i < kPageCount; ++i) {
        FontSpec f = DefaultPageFont();
        ReadSettingFont(REG_EnvFontMemo + i, f);
        pages_[size_t(i)].font = f;
        pages_[size_t(i)].backColour = colours[i];
    }
}

void PageStore::setFont(int i, const FontSpec& font)
{
    pages_[size_t(i)].font = font;
    WriteSettingFont(REG_EnvFontMemo + i, font);
}

void PageStore::setBackColour(int i, int colorRef)
{
    pages_[size_t(i)].backColour = colorRef;
    WriteSettingInt(REG_EnvMemoBackColor + i, colorRef);
}

void PageStore::loadTabNames()
{
    QList<int> ids;
    for (int i = 0; i < kPageCount; ++i)
        ids << REG_ShowTabName + i;
    const QStringList names = ReadSettingStrs(ids);
    for (int i = 0; i < kPageCount; ++i)
        pages_[size_t(i)].tabName = names[i];
}

bool PageStore::rename(int i, const QString& name)
{
    if (!valid(i) || name == pages_[size_t(i)].tabName)
        return false;
    pages_[size_t(i)].tabName = name;
    WriteSettingStr(REG_ShowTabName + i, name);
    return true;
}

void PageStore::move(int from, int to)
{
    if (from == to || !valid(from) || !valid(to))
        return;
    for (int k = std::min(from, to); k <= std::max(from, to); ++k) {
        if (!pages_[size_t(k)].read)
            throw AppError(
                QStringLiteral("メモ%1 のファイルを読み込めなかったため、メモを移動できません")
                    .arg(k + 1));
        if (isHeld(k))
            throw AppError(QStringLiteral("メモ%1 のファイルはそのままでは表示できないため、"
                                          "編集できるようにするまでメモを移動できません")
                               .arg(k + 1));
    }
    struct Held {
        QString text, name;
        FontSpec font;
        int colour;
    };
    auto take = [this](int k) {
        const PageRecord& p = pages_[size_t(k)];
        return Held{text(k), p.tabName, p.font, p.backColour};
    };
    auto put = [this](int k, const Held& h) {
        setText(k, h.text);
        PageRecord& p = pages_[size_t(k)];
        p.tabName = h.name;
        p.font = h.font;
        p.backColour = h.colour;
        WriteSettingFont(REG_EnvFontMemo + k, h.font);
        WriteSettingInt(REG_EnvMemoBackColor + k, h.colour);
        WriteSettingStr(REG_ShowTabName + k, h.name);
    };
    const Held moving = take(from);
    if (from < to)
        for (int k = from + 1; k <= to; ++k)
            put(k - 1, take(k));
    else
        for (int k = from - 1; k >= to; --k)
            put(k + 1, take(k));
    put(to, moving);
}

} // namespace vn

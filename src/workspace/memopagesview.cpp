#include "memopagesview.h"

#include "editorbytes.h"
#include "foundation/apperror.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "widgets/colorref.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

namespace vn {

namespace {

// The design font of the pages.
FontSpec designFont()
{
    return FontSpec{0, QStringLiteral("ＭＳ ゴシック"), 9, 0};
}

} // namespace

MemoPagesView::MemoPagesView(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl2"));
    setDocumentMode(true);
    for (int i = 0; i < kPageCount; ++i) {
        auto* sheet = new QWidget(this);
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(11 + i));
        auto* layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        sheets_[size_t(i)] = sheet;
        fonts_[size_t(i)] = designFont();
        backColours_[size_t(i)] = 0x00FFFFFF;
        addTab(sheet, QString());
        tabNames_.append(QString());
    }
    // The template tab is never shown.
    auto* templ = new QWidget(this);
    templ->setObjectName(QStringLiteral("TabSheet41"));
    addTab(templ, QStringLiteral("テンプレート"));
    setTabVisible(kPageCount, false);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < kPageCount && index != current_)
            selectPage(index);
    });
}

QPlainTextEdit* MemoPagesView::makeEditor(int index) const
{
    auto* e = new QPlainTextEdit(sheets_[size_t(index)]);
    e->setObjectName(QStringLiteral("Vnote%1").arg(index + 1));
    e->setTabChangesFocus(false);
    e->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* self = const_cast<MemoPagesView*>(this);
    connect(e, &QWidget::customContextMenuRequested, self,
            [self, e](const QPoint& p) { emit self->pageMenuRequested(e->mapToGlobal(p)); });
    connect(e->document(), &QTextDocument::contentsChange, self,
            [self, index](int, int removed, int added) {
                if (removed || added)
                    ++self->generation_[size_t(index)];
            });
    sheets_[size_t(index)]->layout()->addWidget(e);
    editors_[size_t(index)] = e;
    styleEditor(index);
    return e;
}

void MemoPagesView::styleEditor(int index) const
{
    QPlainTextEdit* e = editors_[size_t(index)];
    if (!e)
        return;
    const FontSpec& f = fonts_[size_t(index)];
    e->setFont(ToQFont(f));
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, ToQColor(f.color));
    pal.setColor(QPalette::Base, ToQColor(backColours_[size_t(index)]));
    e->setPalette(pal);
    e->setLineWrapMode(wrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    e->setHorizontalScrollBarPolicy(wrap_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    e->setTabStopDistance(4 * e->fontMetrics().horizontalAdvance(u' '));
}

QPlainTextEdit* MemoPagesView::editor(int index) const
{
    materialize(index);
    return editors_[size_t(index)];
}

void MemoPagesView::materialize(int index) const
{
    if (index < 0 || index >= kPageCount || inEditor_[size_t(index)])
        return;
    inEditor_[size_t(index)] = true;
    if (!editors_[size_t(index)])
        makeEditor(index);
    QString text = std::move(pending_[size_t(index)]);
    pending_[size_t(index)] = QString();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const quint64 gen = generation_[size_t(index)];
    editors_[size_t(index)]->setPlainText(text);
    generation_[size_t(index)] = gen; // the same text, now in its editor
    applyPosition(index);
}

QString MemoPagesView::pageText(int index) const
{
    if (index < 0 || index >= kPageCount)
        return QString();
    if (!inEditor_[size_t(index)])
        return pending_[size_t(index)];
    return editors_[size_t(index)]->toPlainText().replace(u'\n', QLatin1String("\r\n"));
}

void MemoPagesView::loadPages()
{
    for (int i = 0; i < kPageCount; ++i) {
        inEditor_[size_t(i)] = false;
        pending_[size_t(i)] = LoadPageFile(i);
        if (editors_[size_t(i)])
            editors_[size_t(i)]->clear();
        ++generation_[size_t(i)];
    }
    restorePagePositions();
    // Learn, page by page while the program idles, which files already hold
    // their page's text, so the periodic save need not read them again.
    syncChecks_.clear();
    for (int i = 0; i < kPageCount; ++i)
        syncChecks_.append({i, generation_[size_t(i)]});
    QTimer::singleShot(1000, this, &MemoPagesView::checkNextPageSync);
}

void MemoPagesView::checkNextPageSync()
{
    if (syncChecks_.isEmpty())
        return;
    const auto [page, gen] = syncChecks_.takeFirst();
    if (generation_[size_t(page)] == gen) {
        try {
            if (PageFileMatches(page, pageText(page)))
                saver_.markInSync(page, gen);
        } catch (const AppError&) {
            // an unreadable file is compared again at the next save
        }
    }
    QTimer::singleShot(20, this, &MemoPagesView::checkNextPageSync);
}

void MemoPagesView::savePages(int count)
{
    const QStringList errors = saver_.save(count, saverSource(), true);
    if (!errors.isEmpty())
        throw AppError(errors.join(u'\n'));
}

QStringList MemoPagesView::saveShownPages()
{
    return saver_.save(shown_, saverSource(), false);
}

PageSaver::Source MemoPagesView::saverSource() const
{
    return {[this](int i) { return pageText(i); },
            [this](int i) {
                return inEditor_[size_t(i)] ? editors_[size_t(i)]->document()->isEmpty()
                                            : pending_[size_t(i)].isEmpty();
            },
            [this](int i) { return generation_[size_t(i)]; }};
}

void MemoPagesView::setPageText(int index, const QString& text)
{
    if (index < 0 || index >= kPageCount)
        return;
    ++generation_[size_t(index)];
    positions_[size_t(index)] = Position{};
    if (!inEditor_[size_t(index)]) {
        pending_[size_t(index)] = text;
        return;
    }
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    editors_[size_t(index)]->setPlainText(t);
}

void MemoPagesView::replacePageText(int index, const QString& text)
{
    if (index < 0 || index >= kPageCount)
        return;
    setPageText(index, text);
    WriteEditText(PageFilePath(index), pageText(index));
}

bool MemoPagesView::pageTextEquals(int index, const QString& text) const
{
    if (index < 0 || index >= kPageCount)
        return true;
    return pageText(index) == text;
}

void MemoPagesView::setPageFont(int index, const FontSpec& font)
{
    fonts_[size_t(index)] = font;
    styleEditor(index);
    WriteSettingFont(REG_EnvFontMemo + index, font);
}

void MemoPagesView::setPageBackColour(int index, int colorRef)
{
    backColours_[size_t(index)] = colorRef;
    styleEditor(index);
    WriteSettingInt(REG_EnvMemoBackColor + index, colorRef);
}

void MemoPagesView::updateDeleteButton()
{
    // The file still holds text that the emptied page no longer shows.
    const bool restore = pageText(current_).isEmpty() && !LoadPageFile(current_).isEmpty();
    restore_ = restore;
    emit deleteStateChanged(restore_);
}

void MemoPagesView::deleteCurrentPage()
{
    WriteEditText(PageFilePath(current_), pageText(current_));
    setPageText(current_, QString());
    updateDeleteButton();
}

void MemoPagesView::restoreCurrentPage()
{
    if (FileExists(PageFilePath(current_)))
        setPageText(current_, LoadPageFile(current_));
    updateDeleteButton();
}

void MemoPagesView::renamePage(int index, const QString& name)
{
    if (index < 0 || index >= kPageCount || name == tabNames_[index])
        return;
    tabNames_[index] = name;
    WriteSettingStr(REG_ShowTabName + index, name);
    setTabText(index, name);
    emit pageStatusChanged(pageStatusText());
}

void MemoPagesView::movePage(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= kPageCount || to >= kPageCount)
        return;
    struct Held {
        QString text, name;
        FontSpec font;
        int colour;
    };
    auto take = [this](int k) {
        return Held{pageText(k), tabNames_[k], fonts_[size_t(k)], backColours_[size_t(k)]};
    };
    auto put = [this](int k, const Held& h) {
        setPageText(k, h.text);
        tabNames_[k] = h.name;
        setTabText(k, h.name);
        fonts_[size_t(k)] = h.font;
        backColours_[size_t(k)] = h.colour;
        styleEditor(k);
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
    selectPage(to);
}

void MemoPagesView::createMissingPageFiles()
{
    for (int i = 0; i < kPageCount; ++i)
        if (!FileExists(PageFilePath(i)))
            WriteEditText(PageFilePath(i), pageText(i));
}

MemoPagesView::Position MemoPagesView::currentPosition(int index) const
{
    if (!inEditor_[size_t(index)])
        return positions_[size_t(index)];
    QPlainTextEdit* e = editors_[size_t(index)];
    const QTextCursor c = e->textCursor();
    PositionCache& cache = positionCache_[size_t(index)];
    if (cache.generation != generation_[size_t(index)] || cache.anchor != c.anchor() ||
        cache.position != c.position()) {
        // Positions count bytes of the Shift-JIS text, line breaks as CR LF.
        const QString text = pageText(index);
        auto toBytes = [&](int pos) {
            const int block = e->document()->findBlock(pos).blockNumber();
            return int(IndexToSjisOffset(text, pos + block));
        };
        const int start = toBytes(c.selectionStart());
        cache = {generation_[size_t(index)],
                 c.anchor(),
                 c.position(),
                 {0, start, toBytes(c.selectionEnd()) - start}};
    }
    return {e->verticalScrollBar()->value(), cache.bytes.start, cache.bytes.length};
}

void MemoPagesView::savePagePositions()
{
    QList<QPair<int, int>> values;
    for (int i = 0; i < kPageCount; ++i) {
        const Position p = currentPosition(i);
        values.append({REG_MemoScrollPos + i, p.scroll});
        values.append({REG_MemoSelStart + i, p.start});
        values.append({REG_MemoSelLength + i, p.length});
    }
    WriteSettingIntsIfChanged(values);
}

void MemoPagesView::restorePagePositions()
{
    QList<int> ids;
    for (int i = 0; i < kPageCount; ++i)
        ids << REG_MemoScrollPos + i << REG_MemoSelStart + i << REG_MemoSelLength + i;
    const QList<int> v = ReadSettingInts(ids);
    for (int i = 0; i < kPageCount; ++i) {
        positions_[size_t(i)] = {std::max(0, v[3 * i]), std::max(0, v[3 * i + 1]),
                                 std::max(0, v[3 * i + 2])};
        if (inEditor_[size_t(i)])
            applyPosition(i);
    }
}

void MemoPagesView::applyPosition(int index) const
{
    QPlainTextEdit* e = editors_[size_t(index)];
    const Position p = positions_[size_t(index)];
    SelectBytes(e, pageText(index), p.start, p.length);
    e->verticalScrollBar()->setValue(p.scroll);
}

void MemoPagesView::applyPageCount(int shownCount, bool multiLine)
{
    shown_ = std::clamp(shownCount, 1, kPageCount);
    for (int i = 0; i <= kPageCount; ++i)
        setTabVisible(i, i < shown_);
    const int active = ReadSettingInt(REG_VnoteActiveTab);
    selectPage(active >= 0 && active < shown_ ? active : 0);
    setMultiLineTabs(multiLine);
}

void MemoPagesView::setMultiLineTabs(bool multiLine)
{
    tabBar()->setExpanding(false);
    tabBar()->setUsesScrollButtons(!multiLine);
}

void MemoPagesView::applyTabNames()
{
    QList<int> ids;
    for (int i = 0; i < kPageCount; ++i)
        ids << REG_ShowTabName + i;
    const QStringList names = ReadSettingStrs(ids);
    for (int i = 0; i < kPageCount; ++i) {
        tabNames_[i] = names[i];
        setTabText(i, tabNames_[i]);
    }
    emit pageStatusChanged(pageStatusText());
}

void MemoPagesView::applyWordWrap(bool wrap)
{
    wrap_ = wrap;
    for (int i = 0; i < kPageCount; ++i)
        styleEditor(i);
}

void MemoPagesView::applyFontsAndColours()
{
    QList<int> ids;
    for (int i = 0; i < kPageCount; ++i)
        ids << REG_EnvMemoBackColor + i;
    const QList<int> colours = ReadSettingInts(ids);
    for (int i = 0; i < kPageCount; ++i) {
        FontSpec f = designFont();
        ReadSettingFont(REG_EnvFontMemo + i, f);
        fonts_[size_t(i)] = f;
        backColours_[size_t(i)] = colours[i];
        styleEditor(i);
    }
}

void MemoPagesView::selectPage(int index)
{
    if (index < 0 || index >= kPageCount)
        return;
    current_ = index;
    materialize(index);
    if (currentIndex() != index)
        setCurrentIndex(index);
    emit pageStatusChanged(pageStatusText());
    updateDeleteButton();
}

qint64 MemoPagesView::selectionStart() const
{
    return SelectionInBytes(editor(current_), pageText(current_)).start;
}

qint64 MemoPagesView::selectionLength() const
{
    return SelectionInBytes(editor(current_), pageText(current_)).length;
}

QString MemoPagesView::selectedText() const
{
    QString s = editor(current_)->textCursor().selectedText();
    return s.replace(QChar(0x2029), QLatin1String("\r\n"));
}

void MemoPagesView::select(qint64 start, qint64 length)
{
    QPlainTextEdit* e = editor(current_);
    SelectBytes(e, pageText(current_), start, length);
    e->ensureCursorVisible();
}

QString MemoPagesView::pageStatusText() const
{
    return QString::number(current_ + 1) + QStringLiteral(" 番目のメモを表示中 [") +
           tabNames_.value(current_) + u']';
}

} // namespace vn

#include "memopagesview.h"

#include "editorbytes.h"
#include "editorfill.h"
#include "foundation/apperror.h"
#include "foundation/heldtext.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"
#include "widgets/colorref.h"
#include "widgets/errorbox.h"
#include "widgets/filltabbar.h"
#include "widgets/heldtextbar.h"
#include "widgets/uiprompts.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QVBoxLayout>

namespace vn {

MemoPagesView::MemoPagesView(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl2"));
    setDocumentMode(true);
    auto* bar = new FillTabBar(this);
    setTabBar(bar);
    bar->fill([this] {
        for (int i = 0; i < kPageCount; ++i) {
            auto* sheet = new QWidget(this);
            sheet->setObjectName(QStringLiteral("TabSheet%1").arg(11 + i));
            auto* layout = new QVBoxLayout(sheet);
            layout->setContentsMargins(0, 0, 0, 0);
            sheets_[size_t(i)] = sheet;
            addTab(sheet, QString());
        }
        // The template tab is never shown.
        auto* templ = new QWidget(this);
        templ->setObjectName(QStringLiteral("TabSheet41"));
        addTab(templ, QStringLiteral("テンプレート"));
        setTabVisible(kPageCount, false);
    });
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < kPageCount && index != current_)
            selectPage(index);
    });
    store_.setEditorLink(
        {[this](int i) { return filled(i)->toPlainText().replace(u'\n', QLatin1String("\r\n")); },
         [this](int i) { return editors_[size_t(i)]->document()->isEmpty(); },
         [this](int i, const QString& text) { putText(i, text); }});
}

QString MemoPagesView::tabName(int index) const
{
    return PageStore::valid(index) ? store_.page(index).tabName : QString();
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
                if ((removed || added) && self->settingText_ != index &&
                    !self->fills_[size_t(index)]->puttingPiece())
                    self->store_.editorTextChanged(index);
            });
    sheets_[size_t(index)]->layout()->addWidget(e);
    editors_[size_t(index)] = e;
    fills_[size_t(index)] = new EditorFill(e);
    styleEditor(index);
    return e;
}

void MemoPagesView::styleEditor(int index) const
{
    QPlainTextEdit* e = editors_[size_t(index)];
    if (!e)
        return;
    const PageRecord& page = store_.page(index);
    e->setFont(ToDrawnFont(page.font));
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, ToQColor(page.font.color));
    pal.setColor(QPalette::Base, ToQColor(page.backColour));
    e->setPalette(pal);
    e->setLineWrapMode(wrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    e->setHorizontalScrollBarPolicy(wrap_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    e->setTabStopDistance(4 * e->fontMetrics().horizontalAdvance(u' '));
    // A page whose file could not be read, or cannot be shown as it is,
    // takes no typing: nothing typed there could be saved without
    // overwriting that file.
    const QString held = page.read ? store_.heldReason(index) : QString();
    e->setReadOnly(!page.read || !held.isEmpty());
    e->setPlaceholderText(page.read ? QString() : page.readError);
    HeldTextBar*& bar = notices_[size_t(index)];
    if (!bar && !held.isEmpty()) {
        bar = new HeldTextBar(sheets_[size_t(index)]);
        static_cast<QVBoxLayout*>(sheets_[size_t(index)]->layout())->insertWidget(0, bar);
        auto* self = const_cast<MemoPagesView*>(this);
        connect(bar, &HeldTextBar::editRequested, self,
                [self, index] { self->acceptHeldPage(index); });
    }
    if (bar)
        bar->showNotice(held.isEmpty() ? QString() : HeldNotice(held), true);
}

bool MemoPagesView::acceptHeldPage(int index)
{
    if (!store_.isHeld(index))
        return true;
    const QString copy = store_.heldCopyPath(index);
    const QString what = QStringLiteral("メモ「%1」のファイル").arg(tabName(index));
    if (Ask(BoxKind::Confirmation, HeldRewritePrompt(what, store_.heldReason(index), copy),
            BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;
    if (!Guarded([&] { store_.acceptRewrite(index, copy); }, this))
        return false;
    styleEditor(index);
    if (index == current_)
        editors_[size_t(index)]->setFocus();
    return true;
}

QString MemoPagesView::pageNotice(int index) const
{
    if (!PageStore::valid(index) || !notices_[size_t(index)])
        return QString();
    return notices_[size_t(index)]->notice();
}

void MemoPagesView::putText(int index, const QString& crlfText) const
{
    QString t = crlfText;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    fills_[size_t(index)]->cancel();
    settingText_ = index;
    editors_[size_t(index)]->setPlainText(t);
    settingText_ = -1;
}

QPlainTextEdit* MemoPagesView::filled(int index) const
{
    fills_[size_t(index)]->finish();
    return editors_[size_t(index)];
}

QPlainTextEdit* MemoPagesView::editor(int index) const
{
    materialize(index);
    return PageStore::valid(index) ? filled(index) : nullptr;
}

void MemoPagesView::focusCurrentPage()
{
    materialize(current_);
    editors_[size_t(current_)]->setFocus();
}

void MemoPagesView::materialize(int index) const
{
    if (!PageStore::valid(index) || store_.page(index).inEditor)
        return;
    if (!editors_[size_t(index)])
        makeEditor(index);
    styleEditor(index);
    const QString crlf = store_.moveTextToEditor(index);
    if (crlf.size() < EditorFill::kMinimumLength) {
        putText(index, crlf);
        applyPosition(index);
        return;
    }
    // A long page shows its first screen at once; the rest follows.
    const PagePosition p = store_.page(index).position;
    const qint64 start = std::max(0, p.start);
    QString lf = crlf;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    fills_[size_t(index)]->start(lf, EditorIndexOfBytes(crlf, start),
                                 EditorIndexOfBytes(crlf, start + std::max(0, p.length)), p.scroll);
}

QStringList MemoPagesView::loadPages()
{
    const QStringList errors = store_.load();
    for (int i = 0; i < kPageCount; ++i) {
        if (editors_[size_t(i)]) {
            putText(i, QString());
            styleEditor(i);
        }
    }
    restorePagePositions();
    return errors;
}

QList<int> MemoPagesView::takeInOutsideChanges()
{
    QList<int> taken;
    for (int i = 0; i < kPageCount; ++i) {
        const bool inEditor = store_.page(i).inEditor;
        if (store_.changed(i) || !store_.changedOutside(i))
            continue;
        const PagePosition kept = inEditor ? currentPosition(i) : store_.page(i).position;
        if (!store_.takeIn(i))
            continue;
        taken.append(i);
        if (inEditor) {
            store_.setPosition(i, kept);
            applyPosition(i);
        }
        styleEditor(i); // the new file may not be shown as it is
    }
    if (taken.contains(current_))
        updateDeleteButton();
    return taken;
}

void MemoPagesView::savePages(int count)
{
    takeInOutsideChanges();
    const QStringList errors = store_.save(count, true);
    if (!errors.isEmpty())
        throw AppError(errors.join(u'\n'));
}

void MemoPagesView::replacePageText(int index, const QString& text)
{
    if (!PageStore::valid(index))
        return;
    store_.replaceAndWrite(index, text);
    styleEditor(index); // the page takes typing again
}

bool MemoPagesView::pageTextEquals(int index, const QString& text) const
{
    if (!PageStore::valid(index))
        return true;
    return pageText(index) == text;
}

void MemoPagesView::setPageFont(int index, const FontSpec& font)
{
    store_.setFont(index, font);
    styleEditor(index);
}

void MemoPagesView::setPageBackColour(int index, int colorRef)
{
    store_.setBackColour(index, colorRef);
    styleEditor(index);
}

void MemoPagesView::updateDeleteButton()
{
    restore_ = store_.restoreOffered(current_);
    emit deleteStateChanged(restore_);
}

void MemoPagesView::deleteCurrentPage()
{
    store_.deletePage(current_);
    updateDeleteButton();
}

void MemoPagesView::restoreCurrentPage()
{
    store_.restorePage(current_);
    styleEditor(current_); // the file restored from may no longer be shown as it is
    updateDeleteButton();
}

void MemoPagesView::renamePage(int index, const QString& name)
{
    if (!store_.rename(index, name))
        return;
    setTabText(index, name);
    emit pageStatusChanged(pageStatusText());
}

void MemoPagesView::movePage(int from, int to)
{
    if (from == to || !PageStore::valid(from) || !PageStore::valid(to))
        return;
    store_.move(from, to);
    for (int k = std::min(from, to); k <= std::max(from, to); ++k) {
        setTabText(k, store_.page(k).tabName);
        styleEditor(k);
    }
    selectPage(to);
}

PagePosition MemoPagesView::currentPosition(int index) const
{
    const PageRecord& page = store_.page(index);
    if (!page.inEditor)
        return page.position;
    QPlainTextEdit* e = filled(index);
    const QTextCursor c = e->textCursor();
    PositionCache& cache = positionCache_[size_t(index)];
    if (cache.generation != page.generation || cache.anchor != c.anchor() ||
        cache.position != c.position()) {
        // Positions count bytes of the Shift-JIS text, line breaks as CR LF.
        const QString text = pageText(index);
        auto toBytes = [&](int pos) {
            const int block = e->document()->findBlock(pos).blockNumber();
            return int(IndexToSjisOffset(text, pos + block));
        };
        const int start = toBytes(c.selectionStart());
        cache = {page.generation,
                 c.anchor(),
                 c.position(),
                 {0, start, toBytes(c.selectionEnd()) - start}};
    }
    return {e->verticalScrollBar()->value(), cache.bytes.start, cache.bytes.length};
}

void MemoPagesView::savePagePositions()
{
    for (int i = 0; i < kPageCount; ++i)
        if (store_.page(i).inEditor)
            store_.setPosition(i, currentPosition(i));
    store_.savePositions();
}

void MemoPagesView::restorePagePositions()
{
    store_.restorePositions();
    for (int i = 0; i < kPageCount; ++i)
        if (store_.page(i).inEditor)
            applyPosition(i);
}

void MemoPagesView::applyPosition(int index) const
{
    QPlainTextEdit* e = filled(index);
    const PagePosition p = store_.page(index).position;
    SelectBytes(e, pageText(index), p.start, p.length);
    e->verticalScrollBar()->setValue(p.scroll);
}

void MemoPagesView::applyPageCount(int shownCount, bool multiLine)
{
    shown_ = std::clamp(shownCount, 1, kPageCount);
    static_cast<FillTabBar*>(tabBar())->fill([this] {
        for (int i = 0; i <= kPageCount; ++i)
            setTabVisible(i, i < shown_);
    });
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
    store_.loadTabNames();
    static_cast<FillTabBar*>(tabBar())->fill([this] {
        for (int i = 0; i < kPageCount; ++i)
            setTabText(i, store_.page(i).tabName);
    });
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
    store_.loadAppearance();
    for (int i = 0; i < kPageCount; ++i)
        styleEditor(i);
}

void MemoPagesView::selectPage(int index)
{
    if (!PageStore::valid(index))
        return;
    current_ = index;
    // A page whose file could not be read is tried again when it is shown
    // (its permissions may have been mended meanwhile).
    if (!store_.isRead(index) && store_.retryRead(index))
        styleEditor(index);
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
           tabName(current_) + u']';
}

} // namespace vn

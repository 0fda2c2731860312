#include "memopagesview.h"

#include "colorref.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "foundation/textcodec.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>

namespace vn {

namespace {

// The design font of the pages.
FontSpec designFont()
{
    return FontSpec{0, QStringLiteral("ＭＳ ゴシック"), 9, 0};
}

void setBackground(QPlainTextEdit* e, int colorRef)
{
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, ToQColor(colorRef));
    e->setPalette(pal);
}

void setTextColour(QPlainTextEdit* e, int colorRef)
{
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, ToQColor(colorRef));
    e->setPalette(pal);
}

} // namespace

MemoPagesView::MemoPagesView(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl2"));
    setDocumentMode(true);
    for (int i = 0; i < kPageCount; ++i) {
        auto* e = new QPlainTextEdit(this);
        e->setObjectName(QStringLiteral("Vnote%1").arg(i + 1));
        e->setTabChangesFocus(false);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        e->setFont(ToQFont(designFont()));
        editors_[size_t(i)] = e;
        addTab(e, QString());
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

QString MemoPagesView::pageText(int index) const
{
    if (index < 0 || index >= kPageCount)
        return QString();
    return editors_[size_t(index)]->toPlainText().replace(u'\n', QLatin1String("\r\n"));
}

void MemoPagesView::loadPages()
{
    for (int i = 0; i < kPageCount; ++i) {
        QString text = LoadPageFile(i);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        editors_[size_t(i)]->setPlainText(text);
    }
    restorePagePositions();
}

void MemoPagesView::savePages(int count)
{
    SavePageFiles(count, [this](int i) { return pageText(i); });
}

void MemoPagesView::createMissingPageFiles()
{
    for (int i = 0; i < kPageCount; ++i)
        if (!FileExists(PageFilePath(i)))
            WriteEditText(PageFilePath(i), pageText(i));
}

void MemoPagesView::savePagePositions()
{
    QList<QPair<int, int>> values;
    for (int i = 0; i < kPageCount; ++i) {
        QPlainTextEdit* e = editors_[size_t(i)];
        const QString text = pageText(i);
        const QTextCursor c = e->textCursor();
        // Positions count bytes of the Shift-JIS text, line breaks as CR LF.
        auto toBytes = [&](int pos) {
            const int block = e->document()->findBlock(pos).blockNumber();
            return int(IndexToSjisOffset(text, pos + block));
        };
        const int start = toBytes(c.selectionStart());
        const int end = toBytes(c.selectionEnd());
        values.append({REG_MemoScrollPos + i, e->verticalScrollBar()->value()});
        values.append({REG_MemoSelStart + i, start});
        values.append({REG_MemoSelLength + i, end - start});
    }
    WriteSettingIntsIfChanged(values);
}

void MemoPagesView::restorePagePositions()
{
    for (int i = 0; i < kPageCount; ++i) {
        QPlainTextEdit* e = editors_[size_t(i)];
        const QString text = pageText(i);
        // A byte position becomes a character index of the CR LF text, then
        // of the editor's text, where a line break is one character.
        auto toEditor = [&](qint64 bytes) {
            const qsizetype idx = SjisOffsetToIndex(text, bytes);
            const qsizetype breaks = QStringView(text).left(idx).count(u'\n');
            return int(idx - breaks);
        };
        const qint64 start = std::max(0, ReadSettingInt(REG_MemoSelStart + i));
        const qint64 length = std::max(0, ReadSettingInt(REG_MemoSelLength + i));
        QTextCursor c(e->document());
        c.setPosition(toEditor(start));
        c.setPosition(toEditor(start + length), QTextCursor::KeepAnchor);
        e->setTextCursor(c);
        const int line = std::max(0, ReadSettingInt(REG_MemoScrollPos + i));
        e->verticalScrollBar()->setValue(line);
    }
}

void MemoPagesView::applyPageCount(int shownCount, bool multiLine)
{
    shown_ = std::clamp(shownCount, 1, kPageCount);
    for (int i = 0; i <= kPageCount; ++i)
        setTabVisible(i, i < shown_);
    const int active = ReadSettingInt(REG_VnoteActiveTab);
    selectPage(active >= 0 && active < shown_ ? active : 0);
    tabBar()->setExpanding(false);
    tabBar()->setUsesScrollButtons(!multiLine);
}

void MemoPagesView::applyTabNames()
{
    for (int i = 0; i < kPageCount; ++i) {
        tabNames_[i] = ReadSettingStr(REG_ShowTabName + i);
        setTabText(i, tabNames_[i]);
    }
    emit pageStatusChanged(pageStatusText());
}

void MemoPagesView::applyWordWrap(bool wrap)
{
    for (QPlainTextEdit* e : editors_) {
        e->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        e->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    }
}

void MemoPagesView::applyFontsAndColours()
{
    for (int i = 0; i < kPageCount; ++i) {
        QPlainTextEdit* e = editors_[size_t(i)];
        FontSpec f = designFont();
        ReadSettingFont(REG_EnvFontMemo + i, f);
        e->setFont(ToQFont(f));
        setTextColour(e, f.color);
        setBackground(e, ReadSettingInt(REG_EnvMemoBackColor + i));
    }
}

void MemoPagesView::selectPage(int index)
{
    if (index < 0 || index >= kPageCount)
        return;
    current_ = index;
    if (currentIndex() != index)
        setCurrentIndex(index);
    emit pageStatusChanged(pageStatusText());
}

QString MemoPagesView::pageStatusText() const
{
    return QString::number(current_ + 1) + QStringLiteral(" 番目のメモを表示中 [") +
           tabNames_.value(current_) + u']';
}

} // namespace vn

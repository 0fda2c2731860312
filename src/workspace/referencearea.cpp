#include "referencearea.h"

#include "editorbytes.h"
#include "foundation/textcodec.h"
#include "foundation/textfile.h"
#include "platform/platform.h"
#include "widgets/colorref.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

namespace vn {

namespace {
const QString kOpenHint = QStringLiteral("テキストファイルを開く（参照モード）");

void setText(QPlainTextEdit* e, const QString& crlfText)
{
    QString t = crlfText;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    e->setPlainText(t);
}
} // namespace

QString ReferenceArea::Prefix(int slot)
{
    static const char16_t* const kCircled[] = {u"①", u"②", u"③", u"④", u"⑤",
                                               u"⑥", u"⑦", u"⑧", u"⑨", u"⑩"};
    return QString::fromUtf16(kCircled[slot]);
}

ReferenceArea::ReferenceArea(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

const ReferenceArea& ReferenceArea::built() const
{
    if (!tabs_)
        const_cast<ReferenceArea*>(this)->build();
    return *this;
}

void ReferenceArea::build()
{
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->setDocumentMode(true);
    for (int i = 0; i < kReferenceCount; ++i) {
        auto* e = new QPlainTextEdit(tabs_);
        e->setObjectName(QStringLiteral("Memo%1").arg(i + 1));
        e->setReadOnly(true);
        e->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(e, &QWidget::customContextMenuRequested, this,
                [this, e](const QPoint& p) { menu_->popup(e->mapToGlobal(p)); });
        editors_[size_t(i)] = e;
    }
    styleEditors(); // before the editors are placed and get any text
    for (int i = 0; i < kReferenceCount; ++i) {
        tabs_->addTab(editors_[size_t(i)], QString());
        tabs_->setTabVisible(i, false);
    }
    layout()->addWidget(tabs_);
    // Made late, the widgets join the window's keyboard order at its end;
    // they go back to where the area is, as if made with the window (the
    // Tab key from a reference page reaches the calendar, not a memo page).
    const Qt::FocusPolicy policy = focusPolicy();
    setFocusPolicy(Qt::TabFocus); // the order is only set between focusable widgets
    QWidget::setTabOrder(this, tabs_);
    setFocusPolicy(policy);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu4"));
    QAction* reload = menu_->addAction(QStringLiteral("再読込み(&R)"));
    reload->setObjectName(QStringLiteral("N15"));
    QAction* open = menu_->addAction(QStringLiteral("開く(&O)..."));
    open->setObjectName(QStringLiteral("O1"));
    menu_->addSeparator();
    QAction* copy = menu_->addAction(QStringLiteral("コピー(&C)"));
    copy->setObjectName(QStringLiteral("C2"));
    copy->setShortcut(QKeySequence::Copy);
    connect(reload, &QAction::triggered, this, [this] { Guarded([this] { Reload(); }, this); });
    connect(open, &QAction::triggered, this, &ReferenceArea::OpenWithAssociatedProgram);
    connect(copy, &QAction::triggered, this, &ReferenceArea::CopySelection);
}

void ReferenceArea::setButtons(const std::array<QAction*, kReferenceCount>& slotButtons,
                               QAction* areaSwitch, std::function<void(bool)> showSlotButtons)
{
    buttons_ = slotButtons;
    areaSwitch_ = areaSwitch;
    showSlotButtons_ = std::move(showSlotButtons);
    for (int i = 0; i < kReferenceCount; ++i)
        connect(buttons_[size_t(i)], &QAction::triggered, this,
                [this, i] { Guarded([this, i] { ToggleReferencePage(i); }, this); });
}

int ReferenceArea::currentReference() const
{
    return tabs_ ? std::max(0, tabs_->currentIndex()) : 0;
}

int ReferenceArea::selectedSlot() const
{
    const int i = tabs_ ? tabs_->currentIndex() : -1;
    return (i >= 0 && !paths_[size_t(i)].isEmpty()) ? i : -1;
}

void ReferenceArea::LoadReferenceFiles()
{
    for (int i = 0; i < kReferenceCount; ++i) {
        paths_[size_t(i)] = ReadSettingStr(REG_RefFileName01 + i);
        if (!paths_[size_t(i)].isEmpty() && !QFileInfo(paths_[size_t(i)]).isFile()) {
            paths_[size_t(i)].clear();
            WriteSettingStr(REG_RefFileName01 + i, QString());
        }
    }
    for (int i = kReferenceCount - 1; i >= 0; --i) {
        if (paths_[size_t(i)].isEmpty())
            continue;
        buttons_[size_t(i)]->setChecked(true);
        bool opened = false;
        Guarded([&] { opened = OpenReferencePage(i); }, this);
        if (!opened) {
            paths_[size_t(i)].clear();
            buttons_[size_t(i)]->setChecked(false);
        }
    }
    UpdateReferenceArea();
    RestoreReferencePositions();
    const int active = ReadSettingInt(REG_RefFileActiveTab);
    if (active >= 0 && active < kReferenceCount && !paths_[size_t(active)].isEmpty())
        tabs_->setCurrentIndex(active);
}

bool ReferenceArea::OpenReferencePage(int slot)
{
    const QString path = paths_[size_t(slot)];
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    built();
    WriteSettingStr(REG_RefFileName01 + slot, path);
    setText(editors_[size_t(slot)], ReadForeignEditText(path));
    tabs_->setTabText(slot, Prefix(slot) + QFileInfo(path).fileName());
    labelSlot(slot, path);
    tabs_->setTabVisible(slot, true);
    tabs_->setCurrentIndex(slot);
    return true;
}

void ReferenceArea::closeSlot(int slot, bool writeSetting)
{
    labelSlot(slot, QString());
    if (tabs_)
        tabs_->setTabVisible(slot, false);
    paths_[size_t(slot)].clear();
    if (writeSetting)
        WriteSettingStr(REG_RefFileName01 + slot, QString());
}

void ReferenceArea::labelSlot(int slot, const QString& path)
{
    QAction* a = buttons_[size_t(slot)];
    const QString mnemonic = QStringLiteral("(&%1)").arg((slot + 1) % 10);
    // The menu item shows the button's icon (the slot's number) beside it.
    if (path.isEmpty()) {
        a->setToolTip(Prefix(slot) + kOpenHint);
        a->setText(kOpenHint + mnemonic);
    } else {
        a->setToolTip(Prefix(slot) + path);
        QString name = QFileInfo(path).fileName();
        a->setText(name.replace(u'&', QLatin1String("&&")) + mnemonic);
    }
}

void ReferenceArea::ToggleReferencePage(int slot)
{
    QAction* button = buttons_[size_t(slot)];
    closeSlot(slot, false);
    if (button->isChecked()) {
        const QString chosen = Prompts().openFile(QStringLiteral("テキストファイル(*.txt)|*.txt"));
        if (!chosen.isEmpty()) {
            paths_[size_t(slot)] = chosen;
            bool opened = false;
            try {
                opened = OpenReferencePage(slot);
            } catch (...) {
                paths_[size_t(slot)].clear();
                WriteSettingStr(REG_RefFileName01 + slot, QString());
                button->setChecked(false);
                UpdateReferenceArea();
                throw;
            }
            if (!opened)
                paths_[size_t(slot)].clear();
        }
        if (paths_[size_t(slot)].isEmpty()) {
            WriteSettingStr(REG_RefFileName01 + slot, QString());
            button->setChecked(false);
        }
    } else {
        WriteSettingStr(REG_RefFileName01 + slot, QString());
        if (tabs_)
            editors_[size_t(slot)]->clear();
    }
    UpdateReferenceArea();
}

bool ReferenceArea::openInFreeSlot(const QString& path)
{
    for (int slot = 0; slot < kReferenceCount; ++slot) {
        if (!paths_[size_t(slot)].isEmpty() || !buttons_[size_t(slot)])
            continue;
        paths_[size_t(slot)] = path;
        if (!OpenReferencePage(slot)) {
            paths_[size_t(slot)].clear();
            return false;
        }
        buttons_[size_t(slot)]->setChecked(true);
        if (areaSwitch_ && !areaSwitch_->isChecked()) {
            areaSwitch_->setChecked(true);
            ApplyReferenceVisibility();
        }
        UpdateReferenceArea();
        return true;
    }
    return false;
}

void ReferenceArea::UpdateReferenceArea()
{
    bool any = false;
    for (QAction* b : buttons_)
        any = any || (b && b->isChecked());
    const bool shown = any && (!areaSwitch_ || areaSwitch_->isChecked());
    if (shown)
        built();
    setVisible(shown);
}

void ReferenceArea::ApplyReferenceVisibility(bool store)
{
    const bool on = areaSwitch_->isChecked();
    if (store)
        WriteSettingInt(REG_ShowRefFile, on ? 1 : 0);
    areaSwitch_->setToolTip(on ? QStringLiteral("テキストファイル参照を非表示")
                               : QStringLiteral("テキストファイル参照を表示"));
    if (showSlotButtons_)
        showSlotButtons_(on);
    if (on)
        UpdateReferenceArea();
    else
        hide();
}

void ReferenceArea::SaveReferencePositions()
{
    QList<QPair<int, int>> values;
    for (int i = 0; i < kReferenceCount; ++i) {
        QPlainTextEdit* e = editors_[size_t(i)];
        if (!e) { // never built: every slot empty, at its start
            values.append(
                {{REG_RefScrollPos + i, 0}, {REG_RefSelStart + i, 0}, {REG_RefSelLength + i, 0}});
            continue;
        }
        const ByteSelection b =
            SelectionInBytes(e, e->toPlainText().replace(u'\n', QLatin1String("\r\n")));
        values.append({REG_RefScrollPos + i, e->verticalScrollBar()->value()});
        values.append({REG_RefSelStart + i, int(b.start)});
        values.append({REG_RefSelLength + i, int(b.length)});
    }
    WriteSettingIntsIfChanged(values);
}

void ReferenceArea::RestoreReferencePositions()
{
    QList<int> ids;
    for (int i = 0; i < kReferenceCount; ++i)
        ids << REG_RefScrollPos + i << REG_RefSelStart + i << REG_RefSelLength + i;
    const QList<int> v = ReadSettingInts(ids);
    for (int i = 0; i < kReferenceCount; ++i) {
        QPlainTextEdit* e = editors_[size_t(i)];
        if (paths_[size_t(i)].isEmpty())
            continue; // a closed slot has nothing to place the caret in
        SelectBytes(e, e->toPlainText().replace(u'\n', QLatin1String("\r\n")), v[3 * i + 1],
                    v[3 * i + 2]);
        e->verticalScrollBar()->setValue(std::max(0, v[3 * i]));
    }
}

void ReferenceArea::Reload()
{
    const int slot = selectedSlot();
    if (slot >= 0)
        setText(editors_[size_t(slot)], ReadForeignEditText(paths_[size_t(slot)]));
}

void ReferenceArea::OpenWithAssociatedProgram()
{
    const int slot = selectedSlot();
    if (slot >= 0)
        CurrentPlatform().desktop->openDocument(paths_[size_t(slot)]);
}

void ReferenceArea::CopySelection()
{
    const int slot = selectedSlot();
    if (slot >= 0)
        editors_[size_t(slot)]->copy();
}

void ReferenceArea::applyWordWrap(bool wrap)
{
    wrap_ = wrap;
    if (tabs_)
        styleEditors();
}

FontSpec ReferenceArea::StoredFont()
{
    FontSpec f{0, QStringLiteral("ＭＳ ゴシック"), 9, 0};
    ReadSettingFont(REG_EnvFontRef, f);
    return f;
}

void ReferenceArea::applyFontAndColour()
{
    font_ = StoredFont();
    backColour_ = ReadSettingInt(REG_EnvRefBackColor);
    fontSet_ = true;
    if (tabs_)
        styleEditors();
}

void ReferenceArea::styleEditors()
{
    for (QPlainTextEdit* e : editors_) {
        if (fontSet_) {
            e->setFont(ToDrawnFont(font_));
            QPalette pal = e->palette();
            pal.setColor(QPalette::Text, ToQColor(font_.color));
            pal.setColor(QPalette::Base, ToQColor(backColour_));
            e->setPalette(pal);
        }
        e->setLineWrapMode(wrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        e->setHorizontalScrollBarPolicy(wrap_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    }
}

} // namespace vn

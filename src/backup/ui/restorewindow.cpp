#include "restorewindow.h"

#include "backup/backupgenerations.h"
#include "foundation/clock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "ui_restorewindow.h"
#include "widgets/colorref.h"
#include "widgets/errorbox.h"
#include "widgets/filltabbar.h"
#include "widgets/shelldialog.h"
#include "widgets/uiprompts.h"

#include <QFileInfo>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>

namespace vn {

namespace {

const QString kDeletedLine = QStringLiteral("【警告】バックアップファイルが削除されています!!");

QString pageFileName(int page)
{
    return QFileInfo(PageFilePath(page)).fileName();
}

// Replaces an editor's whole text as one step the user can undo.
void replaceAll(QPlainTextEdit* editor, const QString& text)
{
    QTextCursor c(editor->document());
    c.select(QTextCursor::Document);
    c.insertText(text);
}

// Editors hold LF line breaks; pages and files CR LF.
QString crlf(const QString& text)
{
    return NormalizeLineBreaks(text);
}

} // namespace

RestoreWindow::RestoreWindow(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::RestoreWindow>())
{
    SetSecondaryWindowFont(this);
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmBackUpMemo",
                         QStringLiteral("バックアップされたメモ情報からの復元"), {812, 660});
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);

    // The installed face of the pages' design font, as the pages name it:
    // the faces the main window loaded serve here too.
    QFont fixed(DrawnFace(QStringLiteral("ＭＳ ゴシック")));
    fixed.setPixelSize(12);
    fixed.setStyleHint(QFont::Monospace);
    for (QPlainTextEdit* e : {ui->Memo1, ui->Memo2}) {
        e->setFont(fixed);
        e->setTabStopDistance(QFontMetricsF(fixed).horizontalAdvance(u' ') * 8);
    }
    // The headings of the three panes: white on a grey dark enough to read.
    for (QLabel* h : {ui->lblBackUpDir, ui->lblBackUpMemo, ui->lblCurrentMemo}) {
        QPalette p = h->palette();
        p.setColor(QPalette::Window, QColor(0x60, 0x60, 0x60));
        p.setColor(QPalette::WindowText, Qt::white);
        h->setPalette(p);
        h->setAutoFillBackground(true);
    }
    for (FillTabBar* tabs : {ui->TabControl1, ui->TabControl2}) {
        tabs->setExpanding(false);
        tabs->setUsesScrollButtons(true);
        tabs->setDrawBase(false);
        tabs->fill([tabs] {
            for (int i = 0; i < kBackUpPageCount; ++i)
                tabs->addTab(DefaultTabCaption(i));
        });
    }
    ui->mainLayout->setStretch(1, 1);
    ui->Splitter1->setSizes({180, 632});
    const int widths[] = {260, 80, 20, 80};
    for (int i = 0; i < 4; ++i) {
        status_[size_t(i)] = new QLabel(this);
        status_[size_t(i)]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        status_[size_t(i)]->setMinimumWidth(widths[i]);
        status_[size_t(i)]->setContentsMargins(2, 0, 8, 0); // panels apart
        ui->StatusBar1->addWidget(status_[size_t(i)]);
    }

    connect(ui->lstBackUpDir, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_)
            Guarded([this] { ShowBackUpPage(); }, this);
    });
    connect(ui->TabControl1, &QTabBar::currentChanged, this, &RestoreWindow::backUpTabChanged);
    connect(ui->TabControl2, &QTabBar::currentChanged, this, &RestoreWindow::currentTabChanged);
    connect(ui->ToolButton2, &QToolButton::clicked, this, [this] { runTool(Tool::RestoreWhole); });
    connect(ui->ToolButton5, &QToolButton::clicked, this, [this] { runTool(Tool::CopyPart); });
    connect(ui->ToolButton6, &QToolButton::clicked, this, [this] { runTool(Tool::PastePart); });
    connect(ui->cmdUpdate, &QPushButton::clicked, this, &RestoreWindow::cmdUpdateClick);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &RestoreWindow::cmdCancelClick);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::close);
    // Over the paste button the caret of the editor stays in sight.
    ui->ToolButton6->installEventFilter(this);
}

RestoreWindow::~RestoreWindow() = default;

QString RestoreWindow::DefaultTabCaption(int page)
{
    return QStringLiteral("メモ") + QString::number(page + 1);
}

QListWidget* RestoreWindow::generationList() const
{
    return ui->lstBackUpDir;
}
QTabBar* RestoreWindow::backUpTabs() const
{
    return ui->TabControl1;
}
QTabBar* RestoreWindow::currentTabs() const
{
    return ui->TabControl2;
}
QPlainTextEdit* RestoreWindow::backUpView() const
{
    return ui->Memo1;
}
QPlainTextEdit* RestoreWindow::currentEditor() const
{
    return ui->Memo2;
}
QToolButton* RestoreWindow::synchroButton() const
{
    return ui->cmdSynchro;
}
QString RestoreWindow::statusPanel(int i) const
{
    return status_[size_t(i)]->text();
}

void RestoreWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnScreen(this);
        Guarded([this] { FormShow(); }, this);
    }
}

void RestoreWindow::FormShow()
{
    filling_ = true;
    ui->lstBackUpDir->clear();
    ui->lstBackUpDir->addItems(ListBackUpGenerations());
    filling_ = false;
    if (ui->lstBackUpDir->count() > 0) {
        filling_ = true;
        ui->lstBackUpDir->setCurrentRow(0);
        filling_ = false;
        Guarded([this] { ShowBackUpPage(); }, this);
    }
    for (int i = 0; i < kBackUpPageCount; ++i)
        ui->TabControl2->setTabText(i, ReadSettingStr(REG_ShowTabName + i));
    ShowCurrentPage();
    status_[2]->setText(QStringLiteral("→"));
}

void RestoreWindow::refreshGenerations()
{
    const QListWidgetItem* item = ui->lstBackUpDir->currentItem();
    const QString shown = item ? item->text() : QString();
    filling_ = true;
    ui->lstBackUpDir->clear();
    ui->lstBackUpDir->addItems(ListBackUpGenerations());
    const QList<QListWidgetItem*> found = ui->lstBackUpDir->findItems(shown, Qt::MatchExactly);
    if (!found.isEmpty())
        ui->lstBackUpDir->setCurrentItem(found.first());
    else if (ui->lstBackUpDir->count() > 0)
        ui->lstBackUpDir->setCurrentRow(0);
    filling_ = false;
    Guarded([this] { ShowBackUpPage(); }, this);
}

void RestoreWindow::ShowBackUpPage()
{
    QListWidgetItem* item = ui->lstBackUpDir->currentItem();
    if (!item) {
        shownBackUpFile_.clear();
        ui->Memo1->clear();
        return;
    }
    const QString name = item->text();
    const QString age = GenerationAgeText(name, Now()); // throws for a name without a stamp
    status_[0]->setText(age);
    const QString folder = BackUpFolder() + u'/' + name + u'/';
    const int page = ui->TabControl1->currentIndex();
    const QString path = folder + pageFileName(page);
    if (path != shownBackUpFile_) {
        if (FileExists(path)) {
            const QString text = ReadEditText(path);
            shownBackUpFile_ = path;
            ui->Memo1->setPlainText(text);
        } else {
            shownBackUpFile_.clear();
            ui->Memo1->setPlainText(kDeletedLine);
        }
    }
    const QString tabFile = folder + QStringLiteral("TabName.txt");
    const QStringList names = FileExists(tabFile) ? ReadLines(tabFile) : QStringList();
    for (int i = 0; i < kBackUpPageCount; ++i)
        ui->TabControl1->setTabText(i, i < names.size() ? names[i] : DefaultTabCaption(i));
    status_[1]->setText(ui->TabControl1->tabText(page));
}

void RestoreWindow::ShowCurrentPage()
{
    const int page = ui->TabControl2->currentIndex();
    status_[3]->setText(ui->TabControl2->tabText(page));
    if (shownCurrentPage_ >= 0)
        OfferToSavePage(shownCurrentPage_);
    // A page whose editor here holds nothing of the user's own shows the page
    // as it stands now.
    if (page != shownCurrentPage_ || !edited())
        loadCurrent(page);
}

void RestoreWindow::loadCurrent(int page)
{
    if (!pages_)
        return;
    const QString text = pages_->pageText(page);
    shownCurrentPage_ = page;
    ui->Memo2->setPlainText(text);
    loadedText_ = crlf(ui->Memo2->toPlainText());
}

bool RestoreWindow::edited() const
{
    return crlf(ui->Memo2->toPlainText()) != loadedText_;
}

void RestoreWindow::OfferToSavePage(int page)
{
    if (!pages_ || !edited())
        return;
    const QString text = crlf(ui->Memo2->toPlainText());
    if (pages_->pageTextEquals(page, text))
        return;
    if (Ask(BoxKind::Warning, QStringLiteral("変更内容を保存しますか？\r\n"), BoxButtons::YesNo) ==
        BoxAnswer::Yes) {
        pages_->replacePageText(page, text);
        loadedText_ = text;
    }
}

void RestoreWindow::backUpTabChanged(int index)
{
    if (filling_)
        return;
    Guarded(
        [&] {
            ShowBackUpPage();
            if (ui->cmdSynchro->isChecked() && ui->TabControl2->currentIndex() != index) {
                filling_ = true;
                ui->TabControl2->setCurrentIndex(index);
                filling_ = false;
                ShowCurrentPage();
            }
        },
        this);
}

void RestoreWindow::currentTabChanged(int index)
{
    if (filling_)
        return;
    Guarded(
        [&] {
            ShowCurrentPage();
            if (ui->cmdSynchro->isChecked() && ui->TabControl1->currentIndex() != index) {
                filling_ = true;
                ui->TabControl1->setCurrentIndex(index);
                filling_ = false;
                ShowBackUpPage();
            }
        },
        this);
}

void RestoreWindow::runTool(Tool tool)
{
    switch (tool) {
    case Tool::RestoreWhole:
        if (ui->Memo1->document()->firstBlock().text() == kDeletedLine) {
            Ask(BoxKind::Plain, QStringLiteral("バックアップファイルが削除されています!!"),
                BoxButtons::Ok);
        } else if (!shownBackUpFile_.isEmpty() && shownCurrentPage_ >= 0) {
            replaceAll(ui->Memo2, ui->Memo1->toPlainText()); // stored only on "更新"
        }
        break;
    case Tool::CopyPart: ui->Memo1->copy(); break;
    case Tool::PastePart:
        ui->Memo2->paste();
        ui->Memo2->setFocus();
        break;
    }
}

void RestoreWindow::cmdUpdateClick()
{
    if (!pages_ || shownCurrentPage_ < 0)
        return;
    Guarded(
        [this] {
            const QString text = crlf(ui->Memo2->toPlainText());
            pages_->replacePageText(shownCurrentPage_, text);
            loadedText_ = text;
        },
        this);
}

void RestoreWindow::cmdCancelClick()
{
    if (shownCurrentPage_ >= 0)
        Guarded([this] { loadCurrent(shownCurrentPage_); }, this);
}

void RestoreWindow::done(int result)
{
    // Every way out ("閉じる", Esc, the window's close box) offers to store.
    if (shownCurrentPage_ >= 0)
        Guarded([this] { OfferToSavePage(shownCurrentPage_); }, this);
    QDialog::done(result);
}

bool RestoreWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->ToolButton6 && event->type() == QEvent::Enter)
        ui->Memo2->setFocus();
    return QDialog::eventFilter(watched, event);
}

} // namespace vn

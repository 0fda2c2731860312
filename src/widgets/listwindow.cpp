#include "widgets/listwindow.h"

#include "foundation/apperror.h"
#include "foundation/appstate.h"
#include "foundation/recordfile.h"
#include "widgets/errorbox.h"
#include "widgets/shelldialog.h"
#include "widgets/uiprompts.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vn {

ListWindow::ListWindow(QWidget* parent, const char* objectName, const QString& caption, QSize size)
    : QDialog(parent)
{
    SetUpSecondaryWindow(this, objectName, caption, size);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(toolBar_);
    grid_ = new ListGrid(this);
    grid_->setObjectName(QStringLiteral("GridView1"));
    layout->addWidget(grid_, 1);
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    // The program ends with the window open (a quit from the tray, the end
    // of the session, a stop signal): the rows are saved as at a close.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!isVisible())
            return;
        ending_ = true;
        done(QDialog::Rejected);
    });
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!popup_->isEmpty())
            popup_->popup(grid_->viewport()->mapToGlobal(at));
    });
}

QToolButton* ListWindow::addToolButton(const char* objectName, const QString& caption,
                                       const QString& hint)
{
    // The bar's own button for an action: a window too narrow for the bar
    // lists the buttons that do not fit in the bar's » menu.
    QAction* a = toolBar_->addAction(caption);
    a->setObjectName(QLatin1String(objectName) + QLatin1String("Action"));
    a->setToolTip(hint);
    a->setIconText(caption); // the caption as it is, "..." included
    auto* b = qobject_cast<QToolButton*>(toolBar_->widgetForAction(a));
    b->setObjectName(QLatin1String(objectName));
    return b;
}

std::vector<QToolButton*> ListWindow::addToolCommands(const std::vector<ToolCommand>& commands)
{
    std::vector<QToolButton*> made;
    made.reserve(commands.size());
    for (const ToolCommand& c : commands) {
        if (c.separatorBefore)
            toolBar_->addSeparator();
        QToolButton* b =
            addToolButton(c.name, QString::fromUtf16(c.caption), QString::fromUtf16(c.hint));
        connect(b->defaultAction(), &QAction::triggered, this,
                [this, run = c.run] { Guarded(run, this); });
        made.push_back(b);
    }
    return made;
}

int ListWindow::editableRow() const
{
    return grid_->rowCount() > 0 ? grid_->currentRow() : -1;
}

bool ListWindow::DeleteCurrentRow(const std::function<QString(int row)>& question)
{
    if (grid_->rowCount() == 0) {
        Ask(BoxKind::Warning, QStringLiteral("削除データなし"), BoxButtons::Ok);
        return false;
    }
    const int row = grid_->currentRow();
    if (row < 0) {
        Ask(BoxKind::Warning, QStringLiteral("削除データ不明"), BoxButtons::Ok);
        return false;
    }
    if (Ask(BoxKind::Confirmation, question(row), BoxButtons::YesNo) == BoxAnswer::No)
        return false;
    grid_->removeRow(row);
    if (grid_->rowCount() > 0)
        grid_->setCurrentRow(qMin(row, grid_->rowCount() - 1));
    return true;
}

void ListWindow::done(int result)
{
    try {
        saveRows();
        unsaved_ = false;
    } catch (const AppError& e) {
        unsaved_ = true;
        if (!closeUnsaved(e.message()))
            return; // the window stays open with its rows
    }
    QDialog::done(result);
}

bool ListWindow::closeUnsaved(const QString& error)
{
    if (ending_ || App().sessionEnding) {
        ReportError(error); // told, but nobody is asked
        return true;
    }
    const QString text = ErrorBoxText(error) +
                         QStringLiteral("\r\n\r\n一覧の内容はファイルに保存されていません。"
                                        "次にこの一覧を開いたときにも、終了するまでは残っています。"
                                        "\r\n\r\n「はい」: 内容をクリップボードにコピーして閉じる"
                                        "\r\n「いいえ」: コピーせずに閉じる"
                                        "\r\n「キャンセル」: 閉じずに一覧に戻る");
    switch (Ask(BoxKind::Error, text, BoxButtons::YesNoCancel)) {
    case BoxAnswer::Cancel: return ending_ || App().sessionEnding; // ended while asking
    case BoxAnswer::Yes: {
        QStringList lines;
        Guarded([&] { lines = savedLines(); }, this);
        QGuiApplication::clipboard()->setText(lines.join(QStringLiteral("\r\n")) +
                                              QStringLiteral("\r\n"));
        break;
    }
    default: break;
    }
    return true;
}

void ListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
    if (!outsideLook_) {
        outsideLook_ = new QTimer(this);
        outsideLook_->setInterval(1000);
        connect(outsideLook_, &QTimer::timeout, this, [this] {
            if (!unsaved_ && !ending_)
                Guarded([this] { takeInOutsideChange(); }, this);
        });
    }
    outsideLook_->start();
}

void ListWindow::hideEvent(QHideEvent* event)
{
    if (outsideLook_)
        outsideLook_->stop();
    QDialog::hideEvent(event);
}

bool ListWindow::changedOnlyOutside(const RecordFile& file,
                                    const std::function<QStringList()>& rowLines)
{
    // The look costs one stat() while the file keeps still.
    return !file.path().isEmpty() && ChangedSince(file.path(), file.stamp()) &&
           !file.changes(rowLines());
}

} // namespace vn

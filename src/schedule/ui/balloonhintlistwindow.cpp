#include "balloonhintlistwindow.h"

#include "balloonhinteditor.h"
#include "foundation/clock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "widgets/colorref.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"

#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace vn {

BalloonHintListWindow::BalloonHintListWindow(QWidget* parent)
    : ListWindow(parent, "TfrmBalloonHintList",
                 QStringLiteral("バルーンヒント一覧　(毎日、決まった時間にメッセージ？を表示）"),
                 {560, 360}),
      ownPastColour_(ReadSettingInt(REG_ScheduleOldColor))
{
    grid()->setColumns({
        {QStringLiteral("表示"), 40, Qt::AlignHCenter, CellKind::Check, {}, true},
        {QStringLiteral("時間"), 60, Qt::AlignLeft},
        {QStringLiteral("メッセージ"), 400, Qt::AlignLeft},
        {QStringLiteral("nHH"), 40, Qt::AlignLeft, CellKind::Hidden},
        {QStringLiteral("nNN"), 40, Qt::AlignLeft, CellKind::Hidden},
        {QStringLiteral("hh:nn"), 40, Qt::AlignLeft, CellKind::Hidden},
    });
    // Black while shown and still to come today, else the past colour.
    grid()->setRowColour([this](int row) {
        const qint64 now = qint64(TimeOnly(Now()) * kMSecsPerDay + 0.5);
        return BalloonHintRowColour(rowAt(row), now) == RowColour::Black ? QColor()
                                                                         : ToQColor(*pastColour_);
    });

    const std::vector<QToolButton*> made = addToolCommands({
        {"ToolButton1", u"追加", u"新規バルーンヒントの追加...", [this] { ToolButton1Click(); }},
        {"ToolButton2", u"修正", u"カレント・バルーンヒントの修正...",
         [this] { ToolButton2Click(); }},
        {"ToolButton3", u"削除", u"カレント・バルーンヒントの削除", [this] { ToolButton3Click(); }},
        {"ToolButton5", u"昇順", u"昇順ソート(時間)",
         [this] {
             grid()->sortRows(Key, Qt::AscendingOrder);
             syncStore();
         },
         true},
        {"ToolButton6", u"降順", u"降順ソート(時間)",
         [this] {
             grid()->sortRows(Key, Qt::DescendingOrder);
             syncStore();
         }},
        {"ToolButton8", u"閉じる", u"閉じる", [this] { close(); }, true},
    });
    std::copy(made.begin(), made.end(), buttons_.begin()); // in Command order
    connect(grid(), &ListGrid::rowDoubleClicked, this,
            [this] { Guarded([this] { ToolButton2Click(); }, this); });
    // A mark ticked in place counts at once.
    connect(grid(), &ListGrid::cellTicked, this, [this] { syncStore(); });
    // Hints turn to the past colour as their minutes pass.
    redrawTimer_ = new QTimer(this);
    redrawTimer_->setInterval(20000);
    connect(redrawTimer_, &QTimer::timeout, grid(), &ListGrid::redraw);
}

BalloonHintStore& BalloonHintListWindow::hints()
{
    if (!store_) {
        ownStore_ = std::make_unique<BalloonHintStore>();
        store_ = ownStore_.get();
    }
    return *store_;
}

QVariantList BalloonHintListWindow::cellsOf(const BalloonHintRow& r)
{
    return {r.shown, r.timeText, r.message, r.hour, r.minute, r.key};
}

BalloonHintRow BalloonHintListWindow::rowAt(int row) const
{
    BalloonHintRow r;
    r.shown = grid()->checked(row, Shown);
    r.timeText = grid()->text(row, TimeText);
    r.message = grid()->text(row, Message);
    r.hour = int(grid()->number(row, Hour));
    r.minute = int(grid()->number(row, Minute));
    r.key = grid()->text(row, Key);
    return r;
}

void BalloonHintListWindow::showRows()
{
    const int current = grid()->currentRow();
    std::vector<QVariantList> rows;
    rows.reserve(hints().rows().size());
    for (const BalloonHintRow& r : hints().rows())
        rows.push_back(cellsOf(r));
    grid()->setRows(std::move(rows));
    grid()->widenColumnsToContents();
    if (grid()->rowCount() > 0)
        grid()->setCurrentRow(qBound(0, current, grid()->rowCount() - 1));
}

void BalloonHintListWindow::syncStore()
{
    std::vector<BalloonHintRow>& rows = hints().rows();
    rows.clear();
    rows.reserve(size_t(grid()->rowCount()));
    for (int r = 0; r < grid()->rowCount(); ++r)
        rows.push_back(rowAt(r));
}

void BalloonHintListWindow::showEvent(QShowEvent* event)
{
    ListWindow::showEvent(event);
    showRows();
    redrawTimer_->start();
}

void BalloonHintListWindow::hideEvent(QHideEvent* event)
{
    redrawTimer_->stop();
    ListWindow::hideEvent(event);
}

void BalloonHintListWindow::takeInOutsideChange()
{
    // The store reads its file again only when no row was changed here.
    if (store_ && hints().takeInOutsideChange())
        showRows();
}

void BalloonHintListWindow::saveRows()
{
    syncStore();
    const QString path = BalloonHintPath();
    hints().SaveBalloonHints(
        path, [&path](const QString& target) { return AskWriteThroughLink(path, target); });
}

QStringList BalloonHintListWindow::savedLines() const
{
    return store_ ? store_->savedLines() : QStringList();
}

void BalloonHintListWindow::storeRow(int row, const BalloonHintRow& hint)
{
    if (row < 0 || row >= grid()->rowCount())
        row = grid()->addRow();
    grid()->setRowCells(row, cellsOf(hint));
    grid()->setCurrentRow(row);
    syncStore();
}

void BalloonHintListWindow::ToolButton1Click()
{
    if (editor_)
        editor_()->EditRow(-1, {}, [this](int row, const BalloonHintRow& h) { storeRow(row, h); });
}

void BalloonHintListWindow::ToolButton2Click()
{
    const int row = editableRow();
    if (row < 0 || !editor_)
        return;
    editor_()->EditRow(row, rowAt(row), [this](int r, const BalloonHintRow& h) { storeRow(r, h); });
}

void BalloonHintListWindow::ToolButton3Click()
{
    if (DeleteCurrentRow([this](int row) {
            return QStringLiteral("削除します？\r\n\r\n時間　　　 = [%1]\r\nメッセージ = [%2]")
                .arg(grid()->text(row, TimeText), grid()->text(row, Message));
        }))
        syncStore();
}

} // namespace vn

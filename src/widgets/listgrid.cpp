#include "widgets/listgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <numeric>

namespace vn {

namespace {

bool isNumeric(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool: return true;
    default: return false;
    }
}

// <0, 0, >0 as a is before, level with, or after b in ascending order.
int compareCells(CellKind kind, const QVariant& a, const QVariant& b)
{
    const bool numeric =
        kind == CellKind::Number || kind == CellKind::Check || (isNumeric(a) && isNumeric(b));
    if (numeric) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    return a.toString().compare(b.toString());
}

// Check boxes drawn in the middle of their cells and ticked there.
class CheckDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        if (!(opt.features & QStyleOptionViewItem::HasCheckIndicator)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        const Qt::CheckState state = opt.checkState;
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        QStyleOptionViewItem box = opt;
        box.rect = checkRect(option, index);
        box.state &= ~QStyle::State_HasFocus;
        box.state |= state == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, w);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        if (!(index.flags() & Qt::ItemIsUserCheckable) || !(index.flags() & Qt::ItemIsEnabled))
            return false;
        const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() != Qt::LeftButton ||
                !checkRect(option, index).contains(me->position().toPoint()))
                return false;
            break;
        }
        case QEvent::MouseButtonDblClick: {
            auto* me = static_cast<QMouseEvent*>(event);
            return checkRect(option, index).contains(me->position().toPoint());
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Select)
                return false;
            break;
        }
        default: return false;
        }
        return model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

private:
    QRect checkRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        const QSize size =
            style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, w).size();
        return QStyle::alignedRect(opt.direction, Qt::AlignCenter, size, option.rect);
    }
};

} // namespace

// ---- model

void ListGridModel::setColumns(const QList<GridColumn>& columns)
{
    beginResetModel();
    columns_ = columns;
    rows_.clear();
    endResetModel();
}

int ListGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int ListGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant ListGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int r = index.row(), c = index.column();
    const GridColumn& col = columns_[c];
    const QVariant& v = rows_[size_t(r)][c];
    switch (role) {
    case Qt::DisplayRole:
        if (col.kind == CellKind::Check)
            return {};
        return v.toString();
    case Qt::CheckStateRole:
        if (col.kind != CellKind::Check)
            return {};
        return v.toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: return int(col.alignment | Qt::AlignVCenter);
    case Qt::ForegroundRole: {
        QColor colour;
        if (cellColour_)
            colour = cellColour_(r, c);
        if (!colour.isValid() && rowColour_)
            colour = rowColour_(r);
        if (!colour.isValid())
            colour = col.textColour;
        if (!colour.isValid())
            colour = Qt::black;
        return colour;
    }
    default: return {};
    }
}

bool ListGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole ||
        columns_[index.column()].kind != CellKind::Check)
        return false;
    const bool on = value.toInt() == Qt::Checked;
    setCell(index.row(), index.column(), on);
    emit cellTicked(index.row(), index.column(), on);
    return true;
}

QVariant ListGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return {};
    if (role == Qt::DisplayRole)
        return columns_[section].caption;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignHCenter | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ListGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const GridColumn& col = columns_[index.column()];
    if (col.kind == CellKind::Check && col.tickable)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ListGridModel::normalised(int column, const QVariant& value) const
{
    switch (columns_[column].kind) {
    case CellKind::Text: return value.toString();
    case CellKind::Number: {
        if (!value.isValid() ||
            (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
            return QVariant();
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        return ok ? QVariant(n) : value;
    }
    case CellKind::Check: return value.toBool();
    case CellKind::Hidden: return value;
    }
    return value;
}

int ListGridModel::appendRow(const QVariantList& cells)
{
    const int row = int(rows_.size());
    QVariantList full;
    full.reserve(columns_.size());
    for (int c = 0; c < columns_.size(); ++c)
        full.append(normalised(c, cells.value(c)));
    beginInsertRows({}, row, row);
    rows_.push_back(std::move(full));
    endInsertRows();
    return row;
}

void ListGridModel::replaceRows(std::vector<QVariantList> rows)
{
    for (QVariantList& cells : rows) {
        cells.resize(columns_.size());
        for (int c = 0; c < columns_.size(); ++c)
            cells[c] = normalised(c, cells[c]);
    }
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ListGridModel::removeRowAt(int row)
{
    if (row < 0 || row >= int(rows_.size()))
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

const QVariant& ListGridModel::cell(int row, int column) const
{
    static const QVariant none;
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= columns_.size())
        return none;
    return rows_[size_t(row)][column];
}

void ListGridModel::setCell(int row, int column, const QVariant& value)
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= columns_.size())
        return;
    rows_[size_t(row)][column] = normalised(column, value);
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i);
}

void ListGridModel::sortRows(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columns_.size() || rows_.size() < 2)
        return;
    const CellKind kind = columns_[column].kind;
    std::vector<int> perm(rows_.size());
    std::iota(perm.begin(), perm.end(), 0);
    // The keys are taken out of their variants once, not at every comparison.
    size_t numbers = 0;
    for (const QVariantList& row : rows_)
        numbers += isNumeric(row[column]) ? 1 : 0;
    const bool numeric =
        kind == CellKind::Number || kind == CellKind::Check || numbers == rows_.size();
    const bool ascending = order == Qt::AscendingOrder;
    if (!numeric && numbers > 0) { // numbers and texts: compared pair by pair
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            const int c = compareCells(kind, rows_[size_t(a)][column], rows_[size_t(b)][column]);
            return ascending ? c < 0 : c > 0;
        });
    } else if (numeric) {
        std::vector<double> keys(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i)
            keys[i] = rows_[i][column].toDouble();
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            return ascending ? keys[size_t(a)] < keys[size_t(b)]
                             : keys[size_t(b)] < keys[size_t(a)];
        });
    } else {
        std::vector<QString> keys(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i)
            keys[i] = rows_[i][column].toString();
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            const int c = keys[size_t(a)].compare(keys[size_t(b)]);
            return ascending ? c < 0 : c > 0;
        });
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPlace(rows_.size());
    std::vector<QVariantList> sorted;
    sorted.reserve(rows_.size());
    for (size_t i = 0; i < perm.size(); ++i) {
        newPlace[size_t(perm[i])] = int(i);
        sorted.push_back(std::move(rows_[size_t(perm[i])]));
    }
    rows_ = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from)
        to.append(index(newPlace[size_t(i.row())], i.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---- view

ListGrid::ListGrid(QWidget* parent) : QTableView(parent), model_(new ListGridModel(this))
{
    setModel(model_);
    setItemDelegate(new CheckDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setSortingEnabled(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    setDefaultRowHeight(16);
    setHeaderHeight(18);
    horizontalHeader()->setResizeContentsPrecision(0); // widening looks at the rows on screen
    // The selected row: white text on the selection colour, also when the
    // window is not active.
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    setPalette(pal);

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid())
            emit rowDoubleClicked(i.row());
    });
    connect(model_, &ListGridModel::cellTicked, this, &ListGrid::cellTicked);
    // Hiding and showing a column "resizes" it from and to 0: not a choice.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int c, int oldSize, int size) {
                if (!sizing_ && oldSize > 0 && size > 0 && c < chosenWidths_.size())
                    chosenWidths_[c] = size; // dragged by the user
            });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit currentRowChanged(currentRow()); });
}

void ListGrid::setColumns(const QList<GridColumn>& columns)
{
    sizing_ = true;
    model_->setColumns(columns);
    chosenWidths_.clear();
    for (int c = 0; c < columns.size(); ++c) {
        setColumnWidth(c, columns[c].width);
        setColumnHidden(c, columns[c].kind == CellKind::Hidden);
        chosenWidths_.append(columns[c].width);
    }
    sizing_ = false;
}

void ListGrid::setRowColour(RowColourFunction f)
{
    model_->setRowColour(std::move(f));
    redraw();
}

void ListGrid::setCellColour(CellColourFunction f)
{
    model_->setCellColour(std::move(f));
    redraw();
}

void ListGrid::setDefaultRowHeight(int pixels)
{
    verticalHeader()->setMinimumSectionSize(qMin(pixels, 8));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(pixels);
}

void ListGrid::setHeaderHeight(int pixels)
{
    horizontalHeader()->setFixedHeight(pixels);
}

int FittedColumnWidth(int given, int header, int widestCell, int cap)
{
    return qMax(given, qMin(qMax(header, widestCell), cap));
}

int ListGrid::widenCap() const
{
    return 20 * fontMetrics().horizontalAdvance(QChar(0x3042)); // "あ"
}

void ListGrid::widenColumnsToContents()
{
    sizing_ = true;
    for (int c = 0; c < columnCount(); ++c) {
        if (isColumnHidden(c) || column(c).kind == CellKind::Check)
            continue;
        setColumnWidth(c, FittedColumnWidth(chosenWidth(c), horizontalHeader()->sectionSizeHint(c),
                                            sizeHintForColumn(c), widenCap()));
    }
    sizing_ = false;
}

int ListGrid::addRow(const QVariantList& cells)
{
    return model_->appendRow(cells);
}

void ListGrid::setRows(std::vector<QVariantList> rows)
{
    model_->replaceRows(std::move(rows));
}

void ListGrid::setRowCells(int row, const QVariantList& cells)
{
    for (int c = 0; c < cells.size() && c < columnCount(); ++c)
        model_->setCell(row, c, cells[c]);
}

void ListGrid::removeRow(int row)
{
    model_->removeRowAt(row);
}

void ListGrid::clearRows()
{
    model_->replaceRows({});
}

int ListGrid::currentRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListGrid::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    int column = 0;
    while (column < columnCount() - 1 && isColumnHidden(column))
        ++column;
    const QModelIndex i = model_->index(row, column);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                             QItemSelectionModel::Rows);
    scrollTo(i);
}

} // namespace vn

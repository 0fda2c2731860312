#pragma once
// The list grid of the list windows: a table of typed columns whose rows the
// program adds, changes and removes, with whole-row selection, one current
// row, sorting by one column and text colours chosen at drawing time.
//
// Cells hold values: text (QString), numbers (qint64) and check marks (bool).
// Hidden columns are never shown but hold their values like the others.
#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QTableView>
#include <QVariant>

#include <functional>
#include <vector>

namespace vn {

enum class CellKind { Text, Number, Check, Hidden };

struct GridColumn {
    GridColumn(QString caption_, int width_, Qt::Alignment alignment_ = Qt::AlignLeft,
               CellKind kind_ = CellKind::Text, QColor textColour_ = {}, bool tickable_ = false)
        : caption(std::move(caption_)), width(width_), alignment(alignment_), kind(kind_),
          textColour(textColour_), tickable(tickable_)
    {
    }
    QString caption;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft;
    CellKind kind = CellKind::Text;
    QColor textColour;     // invalid: the row's colour
    bool tickable = false; // a check column the user ticks in place
};

// Text colours at drawing time; an invalid colour leaves the choice to the
// next rule: the cell's colour, then the row's, then the column's, then black.
using RowColourFunction = std::function<QColor(int row)>;
using CellColourFunction = std::function<QColor(int row, int column)>;

class ListGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return columns_; }
    void setRowColour(RowColourFunction f) { rowColour_ = std::move(f); }
    void setCellColour(CellColourFunction f) { cellColour_ = std::move(f); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int appendRow(const QVariantList& cells);
    void replaceRows(std::vector<QVariantList> rows);
    void removeRowAt(int row);
    const QVariant& cell(int row, int column) const;
    void setCell(int row, int column, const QVariant& value);
    // Stable: rows with equal keys keep their order; persistent indexes
    // (the current row, the selection) follow their rows.
    void sortRows(int column, Qt::SortOrder order);

signals:
    void cellTicked(int row, int column, bool checked);

private:
    QVariant normalised(int column, const QVariant& value) const;

    QList<GridColumn> columns_;
    std::vector<QVariantList> rows_;
    RowColourFunction rowColour_;
    CellColourFunction cellColour_;
};

class ListGrid : public QTableView {
    Q_OBJECT
public:
    explicit ListGrid(QWidget* parent = nullptr);

    // Sets the columns and removes every row.
    void setColumns(const QList<GridColumn>& columns);
    const GridColumn& column(int c) const { return model_->columns()[c]; }
    int columnCount() const { return int(model_->columns().size()); }
    void setRowColour(RowColourFunction f);
    void setCellColour(CellColourFunction f);
    void setDefaultRowHeight(int pixels);
    void setHeaderHeight(int pixels);
    // Widens shown columns to their header and their widest shown cell
    // where the width they were given is too small (the design widths and
    // widths carried over from elsewhere were made for narrower fonts), by
    // FittedColumnWidth; check columns keep their widths.
    void widenColumnsToContents();
    // The width column c was given (its design or stored width) or that the
    // user last dragged it to; widening to the contents leaves it alone, so
    // it is the width to store.
    int chosenWidth(int c) const { return chosenWidths_.value(c); }
    // How wide widening may make a column: twenty full-width characters.
    int widenCap() const;

    int rowCount() const { return model_->rowCount(); }
    // Appends a row (missing cells are empty); returns its index.
    int addRow(const QVariantList& cells = {});
    // Replaces all rows at once; no row is current afterwards.
    void setRows(std::vector<QVariantList> rows);
    // Removing the current row makes the row now in its place current, or
    // the new last row.
    void removeRow(int row);
    void clearRows();

    QVariant cell(int row, int column) const { return model_->cell(row, column); }
    QString text(int row, int column) const { return cell(row, column).toString(); }
    qint64 number(int row, int column) const { return cell(row, column).toLongLong(); }
    bool checked(int row, int column) const { return cell(row, column).toBool(); }
    void setCell(int row, int column, const QVariant& value)
    {
        model_->setCell(row, column, value);
    }
    void setRowCells(int row, const QVariantList& cells);

    // The selected row, -1 when none is.
    int currentRow() const;
    // Selects the row and scrolls to it; -1 clears the selection.
    void setCurrentRow(int row);

    void sortRows(int column, Qt::SortOrder order) { model_->sortRows(column, order); }
    // Repaints the rows, for colours that depend on something else.
    void redraw() { viewport()->update(); }

    ListGridModel* gridModel() const { return model_; }

signals:
    void rowDoubleClicked(int row);
    void currentRowChanged(int row);
    void cellTicked(int row, int column, bool checked);

private:
    ListGridModel* model_;
    QList<int> chosenWidths_;
    bool sizing_ = false; // the program, not the user, is setting widths
};

// The width of a shown column: the width it was given, widened to its
// header and its widest shown cell where those need more, but by widening
// never past the cap (a column given more than the cap keeps it).
int FittedColumnWidth(int given, int header, int widestCell, int cap);

} // namespace vn

// The list grid: typed columns, rows changed by the program, the current
// row through changes and sorting, colours at drawing time, double clicks
// and check boxes ticked in place.
#include "widgets/listgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

using namespace vn;

namespace {

QList<GridColumn> sampleColumns()
{
    return {
        {QStringLiteral("名前"), 120, Qt::AlignLeft, CellKind::Text},
        {QStringLiteral("数"), 50, Qt::AlignRight, CellKind::Number, Qt::blue},
        {QStringLiteral("済"), 40, Qt::AlignHCenter, CellKind::Check, {}, true},
        {QStringLiteral("key"), 40, Qt::AlignLeft, CellKind::Hidden},
        {QStringLiteral("固"), 40, Qt::AlignHCenter, CellKind::Check},
    };
}

QStringList column0(const ListGrid& g)
{
    QStringList out;
    for (int r = 0; r < g.rowCount(); ++r)
        out.append(g.text(r, 0));
    return out;
}

// Pixels of the row's band that are close to the colour.
int pixelsLike(const QImage& image, const QRect& band, QColor colour)
{
    int n = 0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - colour.red()) < 40 && qAbs(p.green() - colour.green()) < 40 &&
                qAbs(p.blue() - colour.blue()) < 40)
                ++n;
        }
    return n;
}

} // namespace

class TstListGrid : public QObject {
    Q_OBJECT
private slots:
    void columnsAndCellValues()
    {
        ListGrid g;
        g.setColumns(sampleColumns());
        QCOMPARE(g.columnCount(), 5);
        QCOMPARE(g.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("数"));
        QCOMPARE(g.columnWidth(0), 120);
        QVERIFY(g.isColumnHidden(3));
        QVERIFY(!g.isColumnHidden(2));
        QCOMPARE(g.verticalHeader()->defaultSectionSize(), 16);
        QCOMPARE(g.horizontalHeader()->height(), 18);

        // Cells take the form of their column; missing cells are empty.
        const int r = g.addRow({QStringLiteral("あ"), QStringLiteral("12"), 1, 7});
        QCOMPARE(r, 0);
        QCOMPARE(g.cell(0, 1).typeId(), int(QMetaType::LongLong));
        QCOMPARE(g.number(0, 1), 12);
        QCOMPARE(g.cell(0, 2).typeId(), int(QMetaType::Bool));
        QVERIFY(g.checked(0, 2));
        QCOMPARE(g.number(0, 3), 7);
        QVERIFY(!g.checked(0, 4));
        QCOMPARE(g.model()->data(g.model()->index(0, 1), Qt::DisplayRole).toString(),
                 QStringLiteral("12"));
        QVERIFY(!g.model()->data(g.model()->index(0, 2), Qt::DisplayRole).isValid());
        QCOMPARE(g.model()->data(g.model()->index(0, 2), Qt::CheckStateRole).toInt(),
                 int(Qt::Checked));
        QCOMPARE(g.model()->data(g.model()->index(0, 1), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        // Only the tickable check column is ticked in place.
        QVERIFY(g.model()->flags(g.model()->index(0, 2)) & Qt::ItemIsUserCheckable);
        QVERIFY(!(g.model()->flags(g.model()->index(0, 4)) & Qt::ItemIsUserCheckable));

        g.setCell(0, 0, QStringLiteral("い"));
        g.setRowCells(0, {QStringLiteral("う"), 5});
        QCOMPARE(g.text(0, 0), QStringLiteral("う"));
        QCOMPARE(g.number(0, 1), 5);
        QVERIFY(g.checked(0, 2)); // cells not given stay
        // Out of range reads give nothing and writes do nothing.
        QVERIFY(!g.cell(5, 0).isValid());
        g.setCell(5, 0, QStringLiteral("x"));
        QCOMPARE(g.rowCount(), 1);
    }

    void currentRowThroughChanges()
    {
        ListGrid g;
        g.setColumns(sampleColumns());
        QSignalSpy changed(&g, &ListGrid::currentRowChanged);
        QCOMPARE(g.currentRow(), -1);
        for (const char* name : {"a", "b", "c"})
            g.addRow({QString::fromLatin1(name)});
        QCOMPARE(g.currentRow(), -1);
        g.setCurrentRow(1);
        QCOMPARE(g.currentRow(), 1);
        QCOMPARE(changed.last().at(0).toInt(), 1);
        QVERIFY(g.selectionModel()->isRowSelected(1, {}));
        // Adding and changing rows leaves the current row where it is.
        g.addRow({QStringLiteral("d")});
        QCOMPARE(g.currentRow(), 1);
        g.removeRow(0);
        QCOMPARE(column0(g), QStringList({"b", "c", "d"}));
        QCOMPARE(g.currentRow(), 0); // still "b"
        // Removing the current row makes the row now in its place current,
        // or the new last row.
        g.removeRow(0);
        QCOMPARE(g.currentRow(), 0);
        QCOMPARE(g.text(0, 0), QStringLiteral("c"));
        g.setCurrentRow(1);
        g.removeRow(1);
        QCOMPARE(g.currentRow(), 0);
        g.removeRow(0);
        QCOMPARE(g.currentRow(), -1);
        QCOMPARE(g.rowCount(), 0);
        g.addRow({QStringLiteral("e")});
        g.addRow({QStringLiteral("f")});
        g.setCurrentRow(9);
        QCOMPARE(g.currentRow(), -1);
        g.setCurrentRow(1);
        g.setCurrentRow(-1);
        QCOMPARE(g.currentRow(), -1);
        g.setRows({{QStringLiteral("x")}, {QStringLiteral("y")}});
        QCOMPARE(column0(g), QStringList({"x", "y"}));
        QCOMPARE(g.currentRow(), -1);
        g.clearRows();
        QCOMPARE(g.rowCount(), 0);
    }

    void sortingIsStableByKindAndKeepsTheCurrentRow_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("expected");
        // Rows: name, number, check, hidden key
        QTest::newRow("text ascending")
            << 0 << int(Qt::AscendingOrder) << QStringList({"10", "10", "9", "a"});
        QTest::newRow("number ascending")
            << 1 << int(Qt::AscendingOrder) << QStringList({"a", "9", "10", "10"});
        QTest::newRow("number descending")
            << 1 << int(Qt::DescendingOrder) << QStringList({"10", "10", "9", "a"});
        QTest::newRow("check ascending")
            << 2 << int(Qt::AscendingOrder) << QStringList({"9", "10", "a", "10"});
        QTest::newRow("hidden numbers")
            << 3 << int(Qt::AscendingOrder) << QStringList({"a", "10", "10", "9"});
    }
    void sortingIsStableByKindAndKeepsTheCurrentRow()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        QFETCH(QStringList, expected);
        ListGrid g;
        g.setColumns(sampleColumns());
        g.addRow({QStringLiteral("10"), 10, true, 5});
        g.addRow({QStringLiteral("9"), 9, false, 20});
        g.addRow({QStringLiteral("a"), -1, true, -3});
        g.addRow({QStringLiteral("10"), 10, true, 5}); // equal to the first
        g.setCurrentRow(3);
        g.sortRows(column, Qt::SortOrder(order));
        QCOMPARE(column0(g), expected);
        // The last row added is still current wherever it went: equal keys
        // keep their order, so it is the later of the two "10" rows.
        int last = -1;
        for (int r = 0; r < g.rowCount(); ++r)
            if (g.text(r, 0) == u"10")
                last = r;
        if (column == 2 || column == 3) // rows 0 and 3 have equal keys there too
            QCOMPARE(g.currentRow(), last);
        else
            QCOMPARE(g.text(g.currentRow(), 0), QStringLiteral("10"));
    }

    void coloursAtDrawingTime()
    {
        ListGrid g;
        g.setColumns(sampleColumns());
        g.addRow({QStringLiteral("a"), 1});
        g.addRow({QStringLiteral("b"), 2});
        auto fg = [&](int r, int c) {
            return g.model()->data(g.model()->index(r, c), Qt::ForegroundRole).value<QColor>();
        };
        QCOMPARE(fg(0, 0), QColor(Qt::black));
        QCOMPARE(fg(0, 1), QColor(Qt::blue)); // the column's own colour
        bool red = true;
        g.setRowColour([&](int r) { return r == 1 && red ? QColor(Qt::red) : QColor(); });
        QCOMPARE(fg(1, 0), QColor(Qt::red));
        QCOMPARE(fg(1, 1), QColor(Qt::red)); // the row's colour over the column's
        QCOMPARE(fg(0, 1), QColor(Qt::blue));
        g.setCellColour(
            [](int r, int c) { return r == 1 && c == 0 ? QColor(Qt::green) : QColor(); });
        QCOMPARE(fg(1, 0), QColor(Qt::green));
        QCOMPARE(fg(1, 1), QColor(Qt::red));
        red = false; // asked again at every drawing
        QCOMPARE(fg(1, 1), QColor(Qt::blue));
    }

    void selectedRowIsDrawnWhiteOnTheSelectionColour()
    {
        ListGrid g;
        g.setColumns({{QStringLiteral("文字"), 200, Qt::AlignLeft, CellKind::Text}});
        const QString blocks(12, QChar(0x25A0)); // ■
        g.addRow({blocks});
        g.addRow({blocks});
        g.setRowColour([](int) { return QColor(Qt::red); });
        g.resize(260, 120);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setCurrentRow(0);
        const QImage image = g.viewport()->grab().toImage();
        const QRect row0 = g.visualRect(g.model()->index(0, 0)).adjusted(1, 1, -1, -1);
        const QRect row1 = g.visualRect(g.model()->index(1, 0)).adjusted(1, 1, -1, -1);
        QVERIFY(pixelsLike(image, row1, Qt::red) > 20);
        QCOMPARE(pixelsLike(image, row0, Qt::red), 0);
        QVERIFY(pixelsLike(image, row0, Qt::white) > 20);
        const QColor highlight = g.palette().color(QPalette::Active, QPalette::Highlight);
        QVERIFY(pixelsLike(image, row0, highlight) > 20);
    }

    void doubleClicksAndTicking()
    {
        ListGrid g;
        g.setColumns(sampleColumns());
        g.addRow({QStringLiteral("a"), 1, false, 0, false});
        g.addRow({QStringLiteral("b"), 2, false, 0, false});
        g.resize(400, 120);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QSignalSpy doubles(&g, &ListGrid::rowDoubleClicked);
        QSignalSpy ticks(&g, &ListGrid::cellTicked);

        const QPoint name = g.visualRect(g.model()->index(1, 0)).center();
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, name);
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, name);
        QCOMPARE(doubles.size(), 1);
        QCOMPARE(doubles.at(0).at(0).toInt(), 1);
        QCOMPARE(g.currentRow(), 1);

        // A click on the box in the middle of its cell ticks it; a click
        // beside the box only selects the row.
        const QRect box = g.visualRect(g.model()->index(0, 2));
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, box.center());
        QVERIFY(g.checked(0, 2));
        QCOMPARE(ticks.size(), 1);
        QCOMPARE(ticks.at(0).at(0).toInt(), 0);
        QCOMPARE(ticks.at(0).at(1).toInt(), 2);
        QCOMPARE(ticks.at(0).at(2).toBool(), true);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, box.center());
        QVERIFY(!g.checked(0, 2));
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {},
                          QPoint(box.left() + 1, box.center().y()));
        QVERIFY(!g.checked(0, 2));
        QCOMPARE(g.currentRow(), 0);
        // A check column that is not tickable never changes from the mouse.
        const QRect fixed = g.visualRect(g.model()->index(0, 4));
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, fixed.center());
        QVERIFY(!g.checked(0, 4));
        QCOMPARE(ticks.size(), 2);
    }

    // A shown column is at least as wide as its header and its widest cell,
    // but widening stops at the cap; a width given above the cap stays.
    void columnWidthRule_data()
    {
        QTest::addColumn<int>("given");
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("widest");
        QTest::addColumn<int>("expected");
        const int cap = 240;
        QTest::newRow("given width holds everything") << 120 << 40 << 80 << 120;
        QTest::newRow("carried-over long date in a stored 100") << 100 << 30 << 170 << 170;
        QTest::newRow("header wider than the cells") << 30 << 48 << 20 << 48;
        QTest::newRow("long text stops at the cap") << 220 << 30 << 900 << cap;
        QTest::newRow("given above the cap keeps it") << 300 << 30 << 900 << 300;
        QTest::newRow("empty column") << 64 << 0 << 0 << 64;
    }
    void columnWidthRule()
    {
        QFETCH(int, given);
        QFETCH(int, header);
        QFETCH(int, widest);
        QFETCH(int, expected);
        QCOMPARE(FittedColumnWidth(given, header, widest, 240), expected);
    }

    // The texts the run record and the schedule list cut: after widening
    // each shows whole, a long text stops at the cap, and the widths to
    // store stay the given ones until the user drags a column.
    void widenedColumnsShowTheirTexts()
    {
        ListGrid g;
        const QString date = QStringLiteral("2004年12月10日(金曜日)");
        const QString holiday = QStringLiteral("天皇誕生日");
        const QString text = QString(60, QChar(0x4E88)); // 予予予...
        g.setColumns({{QStringLiteral("日付"), 100},
                      {QStringLiteral("休日名称"), 64},
                      {QStringLiteral("内容"), 220},
                      {QStringLiteral("開く"), 40, Qt::AlignHCenter, CellKind::Check},
                      {QStringLiteral("URL"), 200}});
        g.addRow({date, holiday, text, true, QStringLiteral("http://example.jp/")});
        g.resize(760, 200);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.widenColumnsToContents();
        const QFontMetrics fm(g.font());
        QVERIFY(g.columnWidth(0) > fm.horizontalAdvance(date));
        QVERIFY(g.columnWidth(1) > fm.horizontalAdvance(holiday));
        QCOMPARE(g.columnWidth(2), g.widenCap());
        QCOMPARE(g.columnWidth(3), 40); // check boxes keep their width
        QCOMPARE(g.columnWidth(4), 200);
        QCOMPARE(g.chosenWidth(0), 100);
        QCOMPARE(g.chosenWidth(1), 64);
        // hiding and showing is no choice of width; dragging is
        g.setColumnHidden(1, true);
        g.setColumnHidden(1, false);
        QCOMPARE(g.chosenWidth(1), 64);
        g.horizontalHeader()->resizeSection(4, 150);
        QCOMPARE(g.chosenWidth(4), 150);
    }
};

QTEST_MAIN(TstListGrid)
#include "tst_listgrid.moc"

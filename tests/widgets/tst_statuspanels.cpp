// Status panels that give way in a narrow window: the fitting rule, and the
// row of labels that follows it without drawing one over another.
#include "widgets/statuspanels.h"

#include <QApplication>
#include <QTest>

using namespace vn;

namespace {

// The main window's six panels: date, relative day, rokuyō, holiday,
// schedule count and the stretching page status.
std::vector<StatusPanelNeed> mainWindowPanels(const QList<int>& wanted, const QList<int>& empty)
{
    const int widths[] = {180, 60, 60, 180, 60, 50};
    const int ranks[] = {5, 4, 0, 3, 1, 2};
    std::vector<StatusPanelNeed> panels;
    for (int i = 0; i < 6; ++i)
        panels.push_back({widths[i], wanted.value(i), ranks[i], empty.contains(i), i == 5});
    return panels;
}

} // namespace

class TstStatusPanels : public QObject {
    Q_OBJECT
private slots:
    void panelsGiveWay_data()
    {
        QTest::addColumn<int>("available");
        QTest::addColumn<QList<int>>("wanted");
        QTest::addColumn<QList<int>>("empty");
        QTest::addColumn<QList<int>>("expected"); // 0: hidden
        const QList<int> texts = {100, 40, 30, 72, 55, 200};
        QTest::newRow("wide: design widths, the page status takes the rest")
            << 800 << texts << QList<int>{} << QList<int>{180, 60, 60, 180, 60, 250};
        QTest::newRow("a long date grows where there is room")
            << 800 << QList<int>{250, 40, 30, 72, 55, 200} << QList<int>{}
            << QList<int>{250, 60, 60, 180, 60, 180};
        QTest::newRow("a grown date shrinks before anything hides")
            << 610 << QList<int>{250, 40, 30, 72, 55, 200} << QList<int>{}
            << QList<int>{190, 60, 60, 180, 60, 50};
        QTest::newRow("420 px: the empty holiday panel gives way first")
            << 420 << QList<int>{100, 40, 30, 10, 55, 200} << QList<int>{3}
            << QList<int>{180, 60, 60, 0, 60, 52};
        QTest::newRow("narrow with a holiday: panels shrink to their texts")
            << 400 << texts << QList<int>{} << QList<int>{143, 40, 30, 72, 55, 50};
        QTest::newRow("very narrow: the lowest ranks hide, the date stays")
            << 200 << texts << QList<int>{} << QList<int>{158, 40, 0, 0, 0, 0};
        QTest::newRow("narrower than the date: it is cut to the row")
            << 80 << texts << QList<int>{} << QList<int>{80, 0, 0, 0, 0, 0};
    }
    void panelsGiveWay()
    {
        QFETCH(int, available);
        QFETCH(QList<int>, wanted);
        QFETCH(QList<int>, empty);
        QFETCH(QList<int>, expected);
        const std::vector<int> widths = FitStatusPanels(mainWindowPanels(wanted, empty), available);
        QCOMPARE(QList<int>(widths.begin(), widths.end()), expected);
    }

    // The labels follow the rule as their texts change: none overlaps
    // another or leaves the row, and each keeps its whole text.
    void labelsNeverOverlap()
    {
        QWidget window;
        auto* row = new StatusPanels(&window);
        const int widths[] = {180, 60, 60, 180, 60, 50};
        const int ranks[] = {5, 4, 0, 3, 1, 2};
        for (int i = 0; i < 6; ++i)
            row->addPanel(QStringLiteral("StatusPanel%1").arg(i), widths[i], Qt::AlignLeft,
                          ranks[i], i == 5)
                ->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        row->setGeometry(0, 0, 400, 20);
        window.resize(400, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString date = QStringLiteral("2004年12月10日(金曜日)");
        const QStringList texts = {date,
                                   QStringLiteral("7日後"),
                                   QStringLiteral("赤口"),
                                   QStringLiteral("天皇誕生日"),
                                   QStringLiteral("予定数=2"),
                                   QStringLiteral("1 番目のメモを表示中 [メモ１]")};
        for (int i = 0; i < 6; ++i)
            row->panel(i)->setText(texts[i]);
        QApplication::processEvents(); // the new texts ask for a new layout
        QRect used;
        for (int i = 0; i < 6; ++i) {
            const StatusPanel* p = row->panel(i);
            QCOMPARE(p->text(), texts[i]);
            if (!p->isVisible())
                continue;
            QVERIFY2(!used.intersects(p->geometry()), qPrintable(p->objectName()));
            QVERIFY(row->rect().contains(p->geometry()));
            used = used.united(p->geometry());
        }
        QVERIFY(row->panel(0)->isVisible());
        QVERIFY(row->panel(0)->width() >= row->panel(0)->textWidth()); // the date whole
        QVERIFY(row->panel(1)->isVisible());
        // emptied, the holiday panel gives its room back
        row->panel(3)->clear();
        QApplication::processEvents();
        QVERIFY(!row->panel(3)->isVisible());
        row->panel(3)->setText(texts[3]); // and comes back with a text
        QApplication::processEvents();
        QVERIFY(row->panel(3)->isVisible());
    }
};

QTEST_MAIN(TstStatusPanels)
#include "tst_statuspanels.moc"

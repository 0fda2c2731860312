// The tab bar filled in one go ends up laid out as one filled tab by tab:
// the same tab rectangles and size hint, before and after it is shown, for
// tabs added, renamed and hidden inside a fill.
#include "widgets/filltabbar.h"

#include <QTest>

#include <functional>

using namespace vn;

namespace {

QString caption(int i)
{
    return i % 3 == 0 ? QStringLiteral("メモ%1").arg(i + 1) : QStringLiteral("%1").arg(i + 1);
}

QList<QRect> rects(const QTabBar& bar)
{
    QList<QRect> out;
    for (int i = 0; i < bar.count(); ++i)
        out.append(bar.tabRect(i));
    return out;
}

} // namespace

class TstFillTabBar : public QObject {
    Q_OBJECT
private slots:
    void sameLayoutAsTabByTab_data()
    {
        QTest::addColumn<std::function<void(QTabBar&)>>("change");
        QTest::newRow("thirty tabs added") << std::function<void(QTabBar&)>([](QTabBar& b) {
            for (int i = 0; i < 30; ++i)
                b.addTab(caption(i));
        });
        QTest::newRow("renamed") << std::function<void(QTabBar&)>([](QTabBar& b) {
            for (int i = 0; i < b.count(); ++i)
                b.setTabText(i, QStringLiteral("長い名前のタブ%1").arg(i));
        });
        QTest::newRow("most hidden") << std::function<void(QTabBar&)>([](QTabBar& b) {
            for (int i = 5; i < b.count(); ++i)
                b.setTabVisible(i, false);
        });
    }
    void sameLayoutAsTabByTab()
    {
        QFETCH(std::function<void(QTabBar&)>, change);
        QTabBar plain;
        FillTabBar filled;
        for (QTabBar* bar : {static_cast<QTabBar*>(&plain), static_cast<QTabBar*>(&filled)}) {
            bar->setUsesScrollButtons(true);
            bar->setExpanding(false);
            bar->resize(400, 30);
            for (int i = 0; i < 30; ++i)
                bar->addTab(caption(i));
        }
        change(plain);
        filled.fill([&] { change(filled); });
        QCOMPARE(filled.sizeHint(), plain.sizeHint());
        QCOMPARE(rects(filled), rects(plain));
        plain.show();
        filled.show();
        QVERIFY(QTest::qWaitForWindowExposed(&filled));
        QCOMPARE(rects(filled), rects(plain));
        QVERIFY(filled.tabRect(0).width() > 10); // measured, not the filling's placeholder
    }
};

QTEST_MAIN(TstFillTabBar)
#include "tst_filltabbar.moc"

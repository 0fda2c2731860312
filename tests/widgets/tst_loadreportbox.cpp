// Telling unreadable lines once: a fault is its line's text, wherever a
// rewrite moves it.
#include "widgets/loadreportbox.h"

#include <QTest>

using namespace vn;

namespace {

// "Schedule.dat u3=broken c5=daily": the file's name, then its unreadable
// (u) and cut (c) lines by number and text.
LoadReport reportOf(const QString& load)
{
    const QStringList parts = load.split(u' ');
    LoadReport r;
    r.path = QStringLiteral("/velnote-test/") + parts[0];
    for (const QString& p : parts.mid(1)) {
        const qsizetype eq = p.indexOf(u'=');
        const int line = p.mid(1, eq - 1).toInt();
        if (p.startsWith(u'u'))
            r.addUnreadable(line - 1, p.mid(eq + 1));
        else
            r.addCut(line - 1, p.mid(eq + 1));
    }
    return r;
}

} // namespace

class TstLoadReportBox : public QObject {
    Q_OBJECT
private slots:
    void eachFaultIsToldOnce_data()
    {
        QTest::addColumn<QStringList>("loads");
        QTest::addColumn<QList<bool>>("told");
        const auto row = [](const char* name, QStringList loads, QList<bool> told) {
            QTest::newRow(name) << loads << told;
        };
        row("a stored schedule moves the line from 3 to 4",
            {"Schedule.dat u3=broken", "Schedule.dat u4=broken"}, {true, false});
        row("read again unchanged", {"Holiday.dat u2=x", "Holiday.dat u2=x"}, {true, false});
        row("a new fault beside it", {"Schedule.dat u2=x", "Schedule.dat u2=x u3=y"}, {true, true});
        row("one of two mended", {"Schedule.dat u2=x u3=y", "Schedule.dat u2=x"}, {true, false});
        row("the same text in another file", {"Schedule.dat u2=x", "BalloonHint.dat u2=x"},
            {true, true});
        row("told again after a clean load",
            {"Schedule.dat u2=x", "Schedule.dat", "Schedule.dat u5=x"}, {true, false, true});
        row("a cut repetition moved", {"Schedule.dat c1=daily", "Schedule.dat c2=daily"},
            {true, false});
        row("a cut line that also became unreadable",
            {"Schedule.dat c1=daily", "Schedule.dat u1=daily"}, {true, true});
    }
    void eachFaultIsToldOnce()
    {
        QFETCH(QStringList, loads);
        QFETCH(QList<bool>, told);
        QList<bool> got;
        for (const QString& load : loads)
            got.append(NoteLoadReport(reportOf(load)));
        for (const QString& load : loads) // forget, for the next row
            NoteLoadReport(reportOf(load.section(u' ', 0, 0)));
        QCOMPARE(got, told);
    }
};

QTEST_MAIN(TstLoadReportBox)
#include "tst_loadreportbox.moc"

// The page "バージョン情報": the version caption, the distribution page and
// the uptime fields, also for a PC that has run longer than 49.7 days.
#include "fakeclock.h"
#include "fakeplatform.h"
#include "settings/versionpage.h"
#include "ui_versionpage.h"

#include <QSignalSpy>
#include <QTest>

using namespace vn;
using namespace vn::test;

class TstVersionPage : public QObject {
    Q_OBJECT
private slots:
    void versionCaption_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("caption");
        QTest::newRow("two numbers") << "0.1"
                                     << "Ver.0.1.0.0";
        QTest::newRow("four") << "2.4.1.317"
                              << "Ver.2.4.1.317";
        QTest::newRow("five") << "1.2.3.4.5"
                              << "Ver.1.2.3.4";
        QTest::newRow("none") << ""
                              << "Ver.";
    }
    void versionCaption()
    {
        QFETCH(QString, version);
        QFETCH(QString, caption);
        QCOMPARE(VersionPage::VersionCaption(version), caption);
        VersionPage page;
        page.setProgramVersion(version);
        QCOMPARE(page.form().lblVer->text(), caption);
    }

    void distributionPageAndUptime()
    {
        auto fake = MakeFakePlatform();
        FakeDesktop* desktop = fake.desktop;
        SetPlatform(std::move(fake.platform));
        VersionPage page;
        const auto& ui = page.form();
        // The project's home page when it has one; no made-up address else.
        const QString home = QString::fromLatin1(kDistributionPage);
        QCOMPARE(ui.cmdHP->isHidden(), home.isEmpty());
        QCOMPARE(ui.Label60->isHidden(), home.isEmpty());
        QSignalSpy closing(&page, &VersionPage::distributionPageOpened);
        page.setDistributionPage(QStringLiteral("https://velnote.test/"));
        QVERIFY(!ui.cmdHP->isHidden() && !ui.Label60->isHidden());
        QCOMPARE(ui.cmdHP->text(), QStringLiteral("https://velnote.test/"));
        ui.cmdHP->click();
        QCOMPARE(desktop->urls, QStringList({QStringLiteral("https://velnote.test/")}));
        QCOMPARE(closing.size(), 1);
        page.setDistributionPage(QString());
        QVERIFY(ui.cmdHP->isHidden() && ui.Label60->isHidden());

        // Sixty days: more than a 32-bit millisecond count holds.
        const qint64 day = 86400000;
        page.showUptime(
            ComputeUptimeTexts(EncodeDate(2009, 3, 6) + EncodeTime(12, 0), 60 * day + 30 * 60000));
        QCOMPARE(ui.txtInfo02->text(), QStringLiteral("1440時間30分"));
        QCOMPARE(ui.txtInfo01->text(), QStringLiteral("01月05日(月) 11時30分"));
        QVERIFY(ui.txtInfo01->isReadOnly() && ui.txtInfo02->isReadOnly());
        SetPlatform(nullptr);
    }
};

QTEST_MAIN(TstVersionPage)
#include "tst_versionpage.moc"

// The backup explanation window: its text, size and closing.
#include "backup/ui/backupinfodialog.h"

#include "windowshot.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vn;

class TstBackUpInfoDialog : public QObject {
    Q_OBJECT
private slots:
    void textAndClosing()
    {
        BackUpInfoDialog d;
        QCOMPARE(d.objectName(), QStringLiteral("TfrmBackUpInfo"));
        QCOMPARE(d.windowTitle(), QStringLiteral("データ・バックアップの補足説明"));
        QCOMPARE(d.size(), QSize(703, 278));
        auto* memo = d.findChild<QPlainTextEdit*>();
        QVERIFY(memo->isReadOnly());
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[0], QStringLiteral("データ・バックアップでは下記ファイルを指定され日時に"
                                          "自動バックアップします。"));
        QVERIFY(lines[1].isEmpty() && lines[6].isEmpty());
        QCOMPARE(lines[3], QStringLiteral("\u30001.すべてのメモ情報（メモ1～30）"));
        QCOMPARE(lines[8],
                 QStringLiteral("　Velnoteインストールフォルダ内の \"BackUp\"フォルダ配下に、"
                                "yyyymmdd_hhnnss形式のフォルダを作成して保存します。"));
        QCOMPARE(lines[10],
                 QStringLiteral("　C:\\Program Files\\Vnote\\BackUp\\yyyymmdd_hhnnss\\"));
        d.show();
        test::SaveWindowShot(&d, "backupinfodialog");
        auto* close = d.findChild<QPushButton*>("cmdClose");
        QCOMPARE(close->text(), QStringLiteral("閉じる"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!d.isVisible());
    }
};

QTEST_MAIN(TstBackUpInfoDialog)
#include "tst_backupinfodialog.moc"

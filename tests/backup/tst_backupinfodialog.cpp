// The backup explanation window: its text with this PC's backup folder, its
// size and closing.
#include "backup/ui/backupinfodialog.h"

#include "tempdatafolder.h"
#include "windowshot.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vn;
using vn::test::TempDataFolder;

class TstBackUpInfoDialog : public QObject {
    Q_OBJECT
private slots:
    void textAndClosing()
    {
        TempDataFolder dir;
        BackUpInfoDialog d;
        d.show(); // the text is made for the folder of the moment
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
        QCOMPARE(lines[8], QStringLiteral("　Velnoteのデータフォルダ内の \"BackUp\"フォルダ配下に、"
                                          "yyyymmdd_hhnnss形式のフォルダを作成して保存します。"));
        // The folder of this PC, not a Windows installation folder.
        QCOMPARE(lines[9], QStringLiteral("　[このPCの場合]"));
        QCOMPARE(lines[10], QStringLiteral("　") + dir.path() + "/BackUp/yyyymmdd_hhnnss/");
        test::SaveWindowShot(&d, "backupinfodialog");
        auto* close = d.findChild<QPushButton*>("cmdClose");
        QCOMPARE(close->text(), QStringLiteral("閉じる"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!d.isVisible());
    }
};

QTEST_MAIN(TstBackUpInfoDialog)
#include "tst_backupinfodialog.moc"

#include "foundation/textcodec.h"

#include <QTest>

using namespace vn;

class TstTextCodec : public QObject {
    Q_OBJECT
private slots:
    void sjisRoundTrip()
    {
        const QString text = QStringLiteral("メモ１ abc\r\n～ｱｲ");
        const QByteArray b = EncodeText(text);
        QVERIFY(!b.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(DecodeText(b), text);
    }
};

QTEST_GUILESS_MAIN(TstTextCodec)
#include "tst_textcodec.moc"

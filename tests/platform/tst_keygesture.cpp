// The show/hide kinds and the key bookkeeping behind the X11 key source.
#include "platform/hotkeysource.h"
#include "platform/keygesture.h"

#include <QtTest>

using namespace vn;

Q_DECLARE_METATYPE(vn::HotKey)

class TestKeyGesture : public QObject {
    Q_OBJECT
private slots:
    void kindToKey_data();
    void kindToKey();

    void pauseEveryPressCounts();
    void pauseHeldDownCountsOnce();
    void pauseRepeatAsUpDownPairsCountsOnce();
    void pauseResetForgetsHeldKey();

    void bareShiftPressCounts();
    void shiftWithAnotherKeyDoesNotCount();
    void otherKeyHeldAcrossReleaseStillSpoils();
    void bothShiftKeysDoNotCount();
    void otherKeyAloneDoesNothing();
    void modifierAutoRepeatKeepsBarePress();
    void releaseOfUnarmedKeyDoesNothing();
    void nextPressAfterSpoiledOneCounts();
};

void TestKeyGesture::kindToKey_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<HotKey>("key");
    QTest::newRow("ignored presses") << 0 << HotKey::Pause;
    QTest::newRow("single Pause") << 1 << HotKey::Pause;
    QTest::newRow("double Pause") << 2 << HotKey::Pause;
    QTest::newRow("double Shift") << 3 << HotKey::Shift;
    QTest::newRow("double Ctrl") << 4 << HotKey::Ctrl;
    QTest::newRow("negative") << -1 << HotKey::Pause;
    QTest::newRow("five") << 5 << HotKey::Pause;
    QTest::newRow("large") << 111 << HotKey::Pause;
}

void TestKeyGesture::kindToKey()
{
    QFETCH(int, kind);
    QFETCH(HotKey, key);
    QCOMPARE(HotKeyForKind(kind), key);
}

void TestKeyGesture::pauseEveryPressCounts()
{
    SinglePressFilter filter;
    QVERIFY(filter.keyDown(127, 100));
    filter.keyUp(127, 180);
    QVERIFY(filter.keyDown(127, 400));
    filter.keyUp(127, 460);
}

void TestKeyGesture::pauseHeldDownCountsOnce()
{
    // Detectable auto-repeat: downs without ups while the key is held.
    SinglePressFilter filter;
    QVERIFY(filter.keyDown(127, 100));
    QVERIFY(!filter.keyDown(127, 600));
    QVERIFY(!filter.keyDown(127, 633));
    filter.keyUp(127, 700);
    QVERIFY(filter.keyDown(127, 900));
}

void TestKeyGesture::pauseRepeatAsUpDownPairsCountsOnce()
{
    // Classic auto-repeat: each repeat is an up and a down at the same time.
    SinglePressFilter filter;
    QVERIFY(filter.keyDown(127, 100));
    filter.keyUp(127, 600);
    QVERIFY(!filter.keyDown(127, 600));
    filter.keyUp(127, 633);
    QVERIFY(!filter.keyDown(127, 633));
    filter.keyUp(127, 700);
    // A real new press, even one right after, counts.
    QVERIFY(filter.keyDown(127, 701));
}

void TestKeyGesture::pauseResetForgetsHeldKey()
{
    SinglePressFilter filter;
    QVERIFY(filter.keyDown(127, 100));
    filter.reset(); // the key was given up while held; its up never came
    QVERIFY(filter.keyDown(127, 300));
}

constexpr std::uint32_t ShiftL = 50, ShiftR = 62, KeyA = 38, CtrlL = 37;

void TestKeyGesture::bareShiftPressCounts()
{
    BareModifierDetector detector;
    detector.keyDown(ShiftL, true);
    QVERIFY(detector.keyUp(ShiftL));
    detector.keyDown(ShiftR, true);
    QVERIFY(detector.keyUp(ShiftR));
}

void TestKeyGesture::shiftWithAnotherKeyDoesNotCount()
{
    BareModifierDetector detector;
    detector.keyDown(ShiftL, true);
    detector.keyDown(KeyA, false);
    QVERIFY(!detector.keyUp(KeyA));
    QVERIFY(!detector.keyUp(ShiftL));
}

void TestKeyGesture::otherKeyHeldAcrossReleaseStillSpoils()
{
    BareModifierDetector detector;
    detector.keyDown(ShiftL, true);
    detector.keyDown(CtrlL, false);
    QVERIFY(!detector.keyUp(ShiftL));
    QVERIFY(!detector.keyUp(CtrlL));
}

void TestKeyGesture::bothShiftKeysDoNotCount()
{
    BareModifierDetector detector;
    detector.keyDown(ShiftL, true);
    detector.keyDown(ShiftR, true);
    QVERIFY(!detector.keyUp(ShiftR));
    QVERIFY(!detector.keyUp(ShiftL));
}

void TestKeyGesture::otherKeyAloneDoesNothing()
{
    BareModifierDetector detector;
    detector.keyDown(CtrlL, false);
    QVERIFY(!detector.keyUp(CtrlL));
}

void TestKeyGesture::modifierAutoRepeatKeepsBarePress()
{
    BareModifierDetector detector;
    detector.keyDown(ShiftL, true);
    detector.keyDown(ShiftL, true);
    detector.keyDown(ShiftL, true);
    QVERIFY(detector.keyUp(ShiftL));
    QVERIFY(!detector.keyUp(ShiftL)); // a stray second up is no second press
}

void TestKeyGesture::releaseOfUnarmedKeyDoesNothing()
{
    BareModifierDetector detector;
    // The modifier went down before anyone watched; only its up is seen.
    QVERIFY(!detector.keyUp(ShiftL));
}

void TestKeyGesture::nextPressAfterSpoiledOneCounts()
{
    BareModifierDetector detector;
    detector.keyDown(ShiftL, true);
    detector.keyDown(KeyA, false);
    detector.keyUp(KeyA);
    QVERIFY(!detector.keyUp(ShiftL));
    detector.keyDown(ShiftL, true);
    QVERIFY(detector.keyUp(ShiftL));
}

QTEST_APPLESS_MAIN(TestKeyGesture)
#include "tst_keygesture.moc"

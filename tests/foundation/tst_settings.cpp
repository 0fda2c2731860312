#include "foundation/settings.h"
#include "tempdatafolder.h"

#include <QFile>
#include <QTest>

using namespace vn;
using vn::test::Sjis;
using vn::test::TempDataFolder;

namespace {
const char* kindName(SettingKind k)
{
    switch (k) {
    case SettingKind::Number: return "number";
    case SettingKind::Text: return "text";
    case SettingKind::Font: return "font";
    }
    return "?";
}
} // namespace

class TstSettings : public QObject {
    Q_OBJECT
private slots:
    // Every catalog row against an independent transcription of the tables.
    void catalogMatchesTheTables()
    {
        QFile f(QStringLiteral(VN_CATALOG_TSV));
        QVERIFY(f.open(QIODevice::ReadOnly));
        int rows = 0;
        QSet<int> seen;
        for (const QByteArray& raw : f.readAll().split('\n')) {
            if (raw.isEmpty() || raw.startsWith('#'))
                continue;
            const QStringList c = QString::fromUtf8(raw).split(u'\t');
            QCOMPARE(c.size(), 6);
            const int id = c[0].toInt();
            const SettingRow* row = LookUpSetting(id);
            QVERIFY2(row, qPrintable(c[0]));
            QCOMPARE(row->id, id);
            QCOMPARE(row->name, c[1]);
            QCOMPARE(row->section, c[2]);
            QCOMPARE(row->key, c[3]);
            QCOMPARE(QString::fromLatin1(kindName(row->kind)), c[4]);
            if (row->kind == SettingKind::Number)
                QCOMPARE(QString::number(row->defaultNumber), c[5]);
            else if (row->kind == SettingKind::Text)
                QCOMPARE(row->defaultText, c[5]);
            seen.insert(id);
            ++rows;
        }
        QCOMPARE(rows, 451);
        for (int id = -5; id <= 460; ++id)
            QCOMPARE(LookUpSetting(id) != nullptr, seen.contains(id));
        QCOMPARE(int(REG_ShowTabName01), 147);
        QCOMPARE(LookUpSetting(REG_ShowTabName01)->key, QStringLiteral("02"));
    }

    void defaultsWithoutAFile()
    {
        TempDataFolder dir;
        QCOMPARE(ReadSettingInt(REG_ShowVnoteCount), 3);
        QCOMPARE(ReadSettingStr(REG_EnvFormatDate), QStringLiteral("yyyy/mm/dd(aaa)"));
        QCOMPARE(ReadSettingStr(REG_ShowTabName29), QStringLiteral("メモ３０"));
        QCOMPARE(ReadSettingInt(REG_CalendarColorWeekNo), -16777203);
        QVERIFY(!dir.exists("Vnote.ini"));
        WriteSettingInt(REG_ShowCalendar, 0);
        QCOMPARE(dir.readBytes("Vnote.ini"), QByteArray("[Show]\r\nCalendar=0\r\n"));
    }

    void strictKindsAndUnknownIds()
    {
        TempDataFolder dir;
        WriteSettingInt(REG_SoundBalloonHint, 5); // a text row
        WriteSettingStr(REG_ShowCalendar, "x");   // a number row
        for (int id : {0, 422, 453, -1}) {
            WriteSettingInt(id, 1);
            WriteSettingStr(id, "x");
            WriteSettingFont(id, FontSpec{});
            QCOMPARE(ReadSettingInt(id), 0);
            QCOMPARE(ReadSettingStr(id), QString());
            FontSpec f{1, "keep", 10, 0};
            QVERIFY(!ReadSettingFont(id, f));
            QCOMPARE(f, (FontSpec{1, "keep", 10, 0}));
        }
        QVERIFY(!dir.exists("Vnote.ini"));
        QCOMPARE(ReadSettingInt(REG_SoundBalloonHint), 0);
        QCOMPARE(ReadSettingStr(REG_ShowCalendar), QString());
    }

    void emptyValues()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini", "[ShowVnote]\r\nCount=\r\n[Format]\r\nDate=\r\n");
        QCOMPARE(ReadSettingInt(REG_ShowVnoteCount), 3);
        QCOMPARE(ReadSettingStr(REG_EnvFormatDate), QString());
    }

    void colourDefaultIsWrittenAsSignedDecimal()
    {
        TempDataFolder dir;
        WriteSettingInt(REG_CalendarColorWeekNo, ReadSettingInt(REG_CalendarColorWeekNo));
        QCOMPARE(dir.readBytes("Vnote.ini"), QByteArray("[CalendarColor]\r\nWeekNo=-16777203\r\n"));
    }

    void fonts()
    {
        TempDataFolder dir;
        dir.writeBytes("Vnote.ini", "[FontMemo]\r\nSize=12\r\n[FontMemo01]\r\nStyle=5\r\n");
        FontSpec f{255, "ＭＳ ゴシック", 9, kFontItalic | kFontStrikeOut};
        QVERIFY(ReadSettingFont(REG_EnvFontMemo, f));
        QCOMPARE(f, (FontSpec{255, "ＭＳ ゴシック", 12, kFontItalic | kFontStrikeOut}));
        QVERIFY(ReadSettingFont(REG_EnvFontMemo01, f));
        QCOMPARE(f.style, kFontBold | kFontUnderline);

        WriteSettingFont(REG_EnvFontMemo02, FontSpec{128, "ＭＳ Ｐ明朝", 11, kFontBold});
        QVERIFY(dir.readBytes("Vnote.ini")
                    .endsWith(Sjis("[FontMemo02]\r\nColor=128\r\nName=ＭＳ Ｐ明朝\r\nSize=11\r\n"
                                   "Style=1\r\n")));
        FontSpec g;
        ReadSettingFont(REG_EnvFontMemo02, g);
        QCOMPARE(g, (FontSpec{128, "ＭＳ Ｐ明朝", 11, kFontBold}));
    }

    void japaneseValuesStayShiftJis()
    {
        TempDataFolder dir;
        WriteSettingStr(REG_ShowTabName, QStringLiteral("買い物"));
        QCOMPARE(dir.readBytes("Vnote.ini"), Sjis("[TabName]\r\n01=買い物\r\n"));
        QCOMPARE(ReadSettingStr(REG_ShowTabName), QStringLiteral("買い物"));
    }
};

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"

#include "maintoolbar.h"

#include "glyphicon.h"

#include <QToolButton>

namespace vn {

namespace {
const QColor kBlue(60, 110, 200);
const QColor kGreen(50, 150, 80);
const QColor kOrange(220, 130, 30);
const QColor kGrey(120, 120, 130);
const QColor kRed(200, 60, 60);
} // namespace

MainToolBar::MainToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("ToolBar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    add("ToolButton1", QStringLiteral("設"), kGrey, QStringLiteral("環境設定..."));
    add("ToolButton26", QStringLiteral("上"), kBlue, QStringLiteral("常に手前に表示"), true);
    add("ToolButton29", QStringLiteral("印"), kGrey,
        QStringLiteral("印刷プレビュー（カレントメモ、またはカレントメモ内の選択文字列のみ印刷）..."));
    add("ToolButton30", QStringLiteral("検"), kBlue, QStringLiteral("文字列検索..."));
    add("ToolButton3", QStringLiteral("暦"), kGreen, QStringLiteral("カレンダー非表示"), true, true);
    add("ToolButton2", QStringLiteral("電"), kGrey,
        QStringLiteral("選択文字列(数式)をコピーし電卓を起動する..."));
    add("ToolButton28", QStringLiteral("吹"), kOrange,
        QStringLiteral("バルーンヒント一覧の表示...(毎日、定刻にメッセージを表示）"));
    add("ToolButton31", QStringLiteral("削"), kRed, QStringLiteral("カレントのメモを削除"));
    add("ToolButton4", QStringLiteral("参"), kGreen,
        QStringLiteral("テキストファイル参照の非表示"), true, true);
    static const char16_t* const kCircled[] = {u"①", u"②", u"③", u"④", u"⑤",
                                               u"⑥", u"⑦", u"⑧", u"⑨", u"⑩"};
    for (int i = 0; i < 10; ++i) {
        const QByteArray name = "ToolButton" + QByteArray::number(6 + i);
        add(name.constData(), QString::fromUtf16(kCircled[i]), kBlue,
            QStringLiteral("テキストファイルを開く（参照モード）"), true);
    }
    add("ToolButton18", QStringLiteral("実"), kOrange, QStringLiteral("PC起動実績..."));
    addSeparator();
    add("ToolButton17", QStringLiteral("?"), kGrey, QString());
}

QToolButton* MainToolBar::add(const char* name, const QString& glyph, const QColor& tint,
                              const QString& hint, bool checkable, bool pressed)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setIcon(GlyphIcon(glyph, tint));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setCheckable(checkable);
    b->setChecked(pressed);
    addWidget(b);
    buttons_.insert(QLatin1String(name), b);
    return b;
}

} // namespace vn

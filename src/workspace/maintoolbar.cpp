#include "maintoolbar.h"

#include "icons/toolicons.h"

#include <QAction>
#include <QToolButton>

// The icons are compiled into this library; make sure they are registered.
static void initToolIcons()
{
    Q_INIT_RESOURCE(toolicons);
}

namespace vn {

MainToolBar::MainToolBar(QWidget* parent) : QToolBar(parent)
{
    initToolIcons();
    setObjectName(QStringLiteral("ToolBar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    add("ToolButton1", QStringLiteral("環境設定..."));
    add("ToolButton26", QStringLiteral("常に手前に表示"), true);
    add("ToolButton29",
        QStringLiteral(
            "印刷プレビュー（カレントメモ、またはカレントメモ内の選択文字列のみ印刷）..."));
    add("ToolButton30", QStringLiteral("文字列検索..."));
    add("ToolButton3", QStringLiteral("カレンダー非表示"), true, true);
    add("ToolButton2", QStringLiteral("選択文字列(数式)をコピーし電卓を起動する..."));
    add("ToolButton28",
        QStringLiteral("バルーンヒント一覧の表示...(毎日、定刻にメッセージを表示）"));
    add("ToolButton31", QStringLiteral("カレントのメモを削除"));
    add("ToolButton4", QStringLiteral("テキストファイル参照の非表示"), true, true);
    for (int i = 0; i < 10; ++i) {
        const QByteArray name = "ToolButton" + QByteArray::number(6 + i);
        add(name.constData(), QStringLiteral("テキストファイルを開く（参照モード）"), true);
    }
    add("ToolButton18", QStringLiteral("PC起動実績..."));
    addSeparator();
    add("ToolButton17", QString());
}

void MainToolBar::setButtonVisible(const QString& name, bool visible)
{
    if (QAction* a = actions_.value(name))
        a->setVisible(visible);
}

QToolButton* MainToolBar::add(const char* name, const QString& hint, bool checkable, bool pressed)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setIcon(ToolIconNamed(name));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setCheckable(checkable);
    b->setChecked(pressed);
    actions_.insert(QLatin1String(name), addWidget(b));
    buttons_.insert(QLatin1String(name), b);
    return b;
}

} // namespace vn

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
    using C = Command;
    add(C::Settings, "ToolButton1", QStringLiteral("環境設定..."));
    add(C::AlwaysOnTop, "ToolButton26", QStringLiteral("常に手前に表示"), true);
    add(C::Print, "ToolButton29",
        QStringLiteral(
            "印刷プレビュー（カレントメモ、またはカレントメモ内の選択文字列のみ印刷）..."));
    add(C::Search, "ToolButton30", QStringLiteral("文字列検索..."));
    add(C::Calendar, "ToolButton3", QStringLiteral("カレンダー非表示"), true, true);
    add(C::Calculator, "ToolButton2",
        QStringLiteral("選択文字列(数式)をコピーし電卓を起動する..."));
    add(C::BalloonHints, "ToolButton28",
        QStringLiteral("バルーンヒント一覧の表示...(毎日、定刻にメッセージを表示）"));
    add(C::DeletePage, "ToolButton31", QStringLiteral("カレントのメモを削除"));
    add(C::Reference, "ToolButton4", QStringLiteral("テキストファイル参照の非表示"), true, true);
    for (int i = 0; i < kReferenceButtons; ++i) {
        const QByteArray name = "ToolButton" + QByteArray::number(6 + i);
        add(referenceCommand(i), name.constData(),
            QStringLiteral("テキストファイルを開く（参照モード）"), true);
    }
    add(C::RunRecord, "ToolButton18", QStringLiteral("PC起動実績..."));
    addSeparator();
    add(C::Help, "ToolButton17", QString());
}

void MainToolBar::setReferenceButtonVisible(int i, bool visible)
{
    if (QAction* a = actions_[size_t(referenceCommand(i))])
        a->setVisible(visible);
}

void MainToolBar::add(Command c, const char* name, const QString& hint, bool checkable,
                      bool pressed)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setIcon(ToolIconNamed(name));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setCheckable(checkable);
    b->setChecked(pressed);
    actions_[size_t(c)] = addWidget(b);
    buttons_[size_t(c)] = b;
}

} // namespace vn

#include "maintoolbar.h"

#include "icons/toolicons.h"

#include <QAction>
#include <QMenu>
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
    add(C::Settings, "ToolButton1", QStringLiteral("環境設定(&O)..."),
        QStringLiteral("環境設定..."));
    add(C::AlwaysOnTop, "ToolButton26", QStringLiteral("常に手前に表示(&T)"),
        QStringLiteral("常に手前に表示"), true);
    add(C::Print, "ToolButton29", QStringLiteral("印刷プレビュー(&P)..."),
        QStringLiteral(
            "印刷プレビュー（カレントメモ、またはカレントメモ内の選択文字列のみ印刷）..."));
    add(C::Search, "ToolButton30", QStringLiteral("文字列検索(&F)..."),
        QStringLiteral("文字列検索..."));
    add(C::Calendar, "ToolButton3", QStringLiteral("カレンダーの表示(&C)"),
        QStringLiteral("カレンダー非表示"), true, true);
    add(C::Calculator, "ToolButton2", QStringLiteral("選択文字列(数式)をコピーし電卓を起動(&G)..."),
        QStringLiteral("選択文字列(数式)をコピーし電卓を起動する..."));
    add(C::BalloonHints, "ToolButton28", QStringLiteral("バルーンヒント一覧(&B)..."),
        QStringLiteral("バルーンヒント一覧の表示...(毎日、定刻にメッセージを表示）"));
    add(C::DeletePage, "ToolButton31", QStringLiteral("カレントのメモを削除(&D)"),
        QStringLiteral("カレントのメモを削除"));
    add(C::Reference, "ToolButton4", QStringLiteral("テキストファイル参照の表示(&V)"),
        QStringLiteral("テキストファイル参照の非表示"), true, true);
    for (int i = 0; i < kReferenceButtons; ++i) {
        const QByteArray name = "ToolButton" + QByteArray::number(6 + i);
        const QString hint = QStringLiteral("テキストファイルを開く（参照モード）");
        add(referenceCommand(i), name.constData(), hint + QStringLiteral("(&%1)").arg((i + 1) % 10),
            hint, true);
    }
    add(C::RunRecord, "ToolButton18", QStringLiteral("PC起動実績(&J)..."),
        QStringLiteral("PC起動実績..."));
    addSeparator();
    add(C::Help, "ToolButton17", QStringLiteral("ヘルプ(&H)"), QString());
    buildCommandMenu();
}

QToolButton* MainToolBar::button(Command c) const
{
    return qobject_cast<QToolButton*>(widgetForAction(action(c)));
}

void MainToolBar::setReferenceButtonVisible(int i, bool visible)
{
    if (QAction* a = referenceAction(i))
        a->setVisible(visible);
}

QToolButton* MainToolBar::overflowButton() const
{
    return findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
}

void MainToolBar::popupCommandMenu()
{
    commandMenu_->popup(mapToGlobal(QPoint(0, height())), actions_[0]);
}

void MainToolBar::add(Command c, const char* name, const QString& label, const QString& hint,
                      bool checkable, bool pressed)
{
    auto* a = new QAction(ToolIconNamed(name), label, this);
    a->setObjectName(QLatin1String(name) + QLatin1String("Action"));
    a->setToolTip(hint);
    a->setCheckable(checkable);
    a->setChecked(pressed);
    addAction(a);
    if (QWidget* b = widgetForAction(a))
        b->setObjectName(QLatin1String(name));
    actions_[size_t(c)] = a;
}

void MainToolBar::buildCommandMenu()
{
    commandMenu_ = new QMenu(this);
    commandMenu_->setObjectName(QStringLiteral("CommandMenu"));
    commandMenu_->setToolTipsVisible(true);
    using C = Command;
    for (C c : {C::Settings, C::AlwaysOnTop, C::Print, C::Search, C::Calendar, C::Calculator,
                C::BalloonHints, C::DeletePage, C::Reference})
        commandMenu_->addAction(action(c));
    referenceMenu_ = commandMenu_->addMenu(QStringLiteral("参照するテキストファイル(&R)"));
    referenceMenu_->setToolTipsVisible(true);
    for (int i = 0; i < kReferenceButtons; ++i)
        referenceMenu_->addAction(referenceAction(i));
    commandMenu_->addAction(action(C::RunRecord));
    commandMenu_->addSeparator();
    commandMenu_->addAction(action(C::Help));
    // The files' submenu goes with their buttons (the area switched off
    // hides them).
    connect(commandMenu_, &QMenu::aboutToShow, this,
            [this] { referenceMenu_->menuAction()->setVisible(referenceAction(0)->isVisible()); });
}

} // namespace vn

#include "clockpanel.h"

#include "widgets/colorref.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace vn {

namespace {
QToolButton* smallButton(const char* name, const QString& caption, const QString& hint,
                         QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFixedSize(14, 20);
    return b;
}
} // namespace

ClockPanel::ClockPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlTime"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedWidth(141);
    QFont f(DrawnFace(QStringLiteral("MS UI Gothic")));
    f.setPixelSize(13);
    f.setBold(true);
    setFont(f);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto* atCaret = smallButton("cmdInsertTimeC", QStringLiteral("|"),
                                QStringLiteral("カーソル位置に現在の日時を挿入"), this);
    auto* atEnd = smallButton("cmdInsertTimeB", QStringLiteral("＿"),
                              QStringLiteral("最下行に現在の日時を挿入"), this);
    caption_ = new QLabel(this);
    caption_->setAlignment(Qt::AlignCenter);
    layout->addWidget(atCaret);
    layout->addWidget(caption_, 1);
    layout->addWidget(atEnd);
    connect(atCaret, &QToolButton::clicked, this, &ClockPanel::stampAtCaret);
    connect(atEnd, &QToolButton::clicked, this, &ClockPanel::stampAtEnd);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu5"));
    auto* n46 = menu_->addAction(QStringLiteral("カーソル位置に現在の日時を挿入"));
    n46->setObjectName(QStringLiteral("N46"));
    auto* n45 = menu_->addAction(QStringLiteral("最下行に現在の日時を挿入"));
    n45->setObjectName(QStringLiteral("N45"));
    menu_->addSeparator();
    auto* n44 = menu_->addAction(QStringLiteral("クリップボードへ日時をコピー"));
    n44->setObjectName(QStringLiteral("N44"));
    connect(n46, &QAction::triggered, this, &ClockPanel::stampAtCaret);
    connect(n45, &QAction::triggered, this, &ClockPanel::stampAtEnd);
    connect(n44, &QAction::triggered, this, &ClockPanel::copyDateTime);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { menu_->popup(mapToGlobal(p)); });
}

void ClockPanel::setTimeText(const QString& text)
{
    caption_->setText(text);
}

QString ClockPanel::timeText() const
{
    return caption_->text();
}

} // namespace vn

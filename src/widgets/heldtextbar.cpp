#include "widgets/heldtextbar.h"

#include "widgets/uiprompts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vn {

HeldTextBar::HeldTextBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("heldTextBar"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xCE)); // a note, not an alarm
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layout_->setContentsMargins(4, 2, 4, 2);
    label_ = new QLabel(this);
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    connect(label_, &QLabel::linkActivated, this,
            [this] { Ask(BoxKind::Information, notice_, BoxButtons::Ok); });
    edit_ = new QPushButton(QStringLiteral("編集する(&E)..."), this);
    edit_->setObjectName(QStringLiteral("heldEditButton"));
    layout_->addWidget(label_, 1);
    layout_->addWidget(edit_, 0, Qt::AlignRight | Qt::AlignVCenter);
    connect(edit_, &QPushButton::clicked, this, &HeldTextBar::editRequested);
    hide();
}

void HeldTextBar::setCompact(bool compact)
{
    compact_ = compact;
    layout_->setDirection(compact ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}

void HeldTextBar::showNotice(const QString& notice, bool offerEdit, const QString& summary)
{
    notice_ = notice;
    if (compact_ && !summary.isEmpty()) {
        label_->setTextFormat(Qt::RichText);
        label_->setText(summary.toHtmlEscaped() +
                        QStringLiteral(" <a href=\"notice\">詳細...</a>"));
        setToolTip(notice);
    } else {
        label_->setTextFormat(Qt::PlainText);
        label_->setText(notice);
        setToolTip(QString());
    }
    edit_->setVisible(offerEdit);
    setVisible(!notice.isEmpty());
}

} // namespace vn

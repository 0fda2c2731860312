#include "widgets/heldtextbar.h"

#include <QHBoxLayout>
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
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    label_ = new QLabel(this);
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    edit_ = new QPushButton(QStringLiteral("編集する(&E)..."), this);
    edit_->setObjectName(QStringLiteral("heldEditButton"));
    layout->addWidget(label_, 1);
    layout->addWidget(edit_, 0, Qt::AlignVCenter);
    connect(edit_, &QPushButton::clicked, this, &HeldTextBar::editRequested);
    hide();
}

void HeldTextBar::showNotice(const QString& text, bool offerEdit)
{
    label_->setText(text);
    edit_->setVisible(offerEdit);
    setVisible(!text.isEmpty());
}

QString HeldTextBar::notice() const
{
    return isVisibleTo(parentWidget()) ? label_->text() : QString();
}

} // namespace vn

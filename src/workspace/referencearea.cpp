#include "referencearea.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vn {

ReferenceArea::ReferenceArea(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->setDocumentMode(true);
    for (int i = 0; i < kReferenceCount; ++i) {
        auto* e = new QPlainTextEdit(tabs_);
        e->setObjectName(QStringLiteral("Ref%1").arg(i + 1));
        e->setReadOnly(true);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        editors_[size_t(i)] = e;
        tabs_->addTab(e, QString());
        tabs_->setTabVisible(i, false);
    }
    layout->addWidget(tabs_);
}

int ReferenceArea::currentReference() const
{
    return std::max(0, tabs_->currentIndex());
}

void ReferenceArea::applyWordWrap(bool wrap)
{
    for (QPlainTextEdit* e : editors_)
        e->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

} // namespace vn

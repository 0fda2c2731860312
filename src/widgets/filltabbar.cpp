#include "filltabbar.h"

#include <QCoreApplication>
#include <QEvent>

namespace vn {

void FillTabBar::fill(const std::function<void()>& insertTabs)
{
    filling_ = true;
    insertTabs();
    filling_ = false;
    // As after a change of font: the sizes of all tabs are measured again
    // when next asked.
    QEvent changed(QEvent::FontChange);
    QCoreApplication::sendEvent(this, &changed);
}

QSize FillTabBar::tabSizeHint(int index) const
{
    return filling_ ? QSize(1, 1) : QTabBar::tabSizeHint(index);
}

QSize FillTabBar::minimumTabSizeHint(int index) const
{
    return filling_ ? QSize(1, 1) : QTabBar::minimumTabSizeHint(index);
}

} // namespace vn

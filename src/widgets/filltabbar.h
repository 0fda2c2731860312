#pragma once
// A tab bar that takes many tabs at once. Qt lays out every tab again at each
// insertion (n² tab measurements for n tabs); while filling, every tab
// measures as nothing, and the real sizes are worked out once afterwards.
#include <QTabBar>

#include <functional>

namespace vn {

class FillTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;
    // Runs insertTabs (which adds the tabs, to this bar or its tab widget),
    // then has the tabs measured anew.
    void fill(const std::function<void()>& insertTabs);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    bool filling_ = false;
};

} // namespace vn

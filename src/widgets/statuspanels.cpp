#include "widgets/statuspanels.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace vn {

namespace {

constexpr int kGap = 2; // between two panels

int sumWidths(const std::vector<int>& widths)
{
    int sum = 0, shown = 0;
    for (int w : widths) {
        if (w > 0) {
            sum += w;
            ++shown;
        }
    }
    return sum + std::max(0, shown - 1) * kGap;
}

} // namespace

std::vector<int> FitStatusPanels(const std::vector<StatusPanelNeed>& panels, int available)
{
    const size_t n = panels.size();
    std::vector<bool> shown(n, true);
    size_t shownCount = n;
    const auto grownWidth = [&](size_t i) {
        const StatusPanelNeed& p = panels[i];
        return std::max(1, p.stretch ? p.width : std::max(p.width, p.wanted));
    };
    enum class Stage { Grown, Design, Shrunk };
    const auto widthsAt = [&](Stage stage) {
        std::vector<int> w(n, 0);
        for (size_t i = 0; i < n; ++i) {
            if (!shown[i])
                continue;
            const StatusPanelNeed& p = panels[i];
            switch (stage) {
            case Stage::Grown: w[i] = grownWidth(i); break;
            case Stage::Design: w[i] = std::max(1, p.width); break;
            case Stage::Shrunk: w[i] = std::max(1, std::min(p.width, p.wanted)); break;
            }
        }
        return w;
    };
    // The shown panel that gives way next, the lowest rank first (only
    // empty ones when `emptyOnly`); n when there is none.
    const auto nextToHide = [&](bool emptyOnly) {
        size_t pick = n;
        for (size_t i = 0; i < n; ++i)
            if (shown[i] && (!emptyOnly || panels[i].empty) &&
                (pick == n || panels[i].rank < panels[pick].rank))
                pick = i;
        return pick;
    };
    std::vector<int> widths;
    const auto fitsAt = [&](std::initializer_list<Stage> stages) {
        for (Stage stage : stages) {
            widths = widthsAt(stage);
            if (sumWidths(widths) <= available)
                return true;
        }
        return false;
    };
    bool fitted = false;
    // First the panels keep their widths and the empty ones give way; then
    // they shrink to their texts and give way by rank.
    for (bool emptyOnly : {true, false}) {
        for (;;) {
            fitted = emptyOnly ? fitsAt({Stage::Grown, Stage::Design})
                               : fitsAt({Stage::Grown, Stage::Design, Stage::Shrunk});
            const size_t hide = nextToHide(emptyOnly);
            if (fitted || hide == n || shownCount <= 1)
                break;
            shown[hide] = false;
            --shownCount;
        }
        if (fitted)
            break;
    }
    if (!fitted) { // the last panel: cut to the row
        for (size_t i = 0; i < n; ++i)
            widths[i] = shown[i] ? std::max(0, available) : 0;
        return widths;
    }
    // What is left goes to the panels with text, the highest rank first, up
    // to their grown widths, and then to the stretching panel.
    int room = available - sumWidths(widths);
    std::vector<size_t> byRank;
    for (size_t i = 0; i < n; ++i)
        if (shown[i] && !panels[i].stretch && !panels[i].empty)
            byRank.push_back(i);
    std::stable_sort(byRank.begin(), byRank.end(),
                     [&](size_t a, size_t b) { return panels[a].rank > panels[b].rank; });
    for (size_t i : byRank) {
        const int more = std::clamp(grownWidth(i) - widths[i], 0, room);
        widths[i] += more;
        room -= more;
    }
    for (size_t i = 0; i < n; ++i) {
        if (shown[i] && panels[i].stretch) {
            widths[i] += room;
            break;
        }
    }
    return widths;
}

int StatusPanel::textWidth() const
{
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0;
    return fontMetrics().horizontalAdvance(text()) + 2 * (frameWidth() + margin() + indent) + 2;
}

void StatusPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawFrame(&p);
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0;
    const QRect r =
        contentsRect().adjusted(margin() + indent, margin(), -(margin() + indent), -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, r.width());
    style()->drawItemText(&p, r, int(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(), isEnabled(), shown, foregroundRole());
}

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

StatusPanel* StatusPanels::addPanel(const QString& objectName, int width, Qt::Alignment alignment,
                                    int rank, bool stretch)
{
    auto* l = new StatusPanel(this);
    l->setObjectName(objectName);
    l->setAlignment(alignment | Qt::AlignVCenter);
    // A new text asks the row for a new layout also while the panel is
    // hidden, so that it can come back.
    QSizePolicy policy = l->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    l->setSizePolicy(policy);
    panels_.push_back({l, width, rank, stretch});
    // Placed and shown by the arrangement: a panel shown before it has its
    // place would measure itself for nothing.
    arrange();
    return l;
}

void StatusPanels::setPanelWidth(int i, int width)
{
    if (panels_[size_t(i)].width == width)
        return;
    panels_[size_t(i)].width = width;
    arrange();
}

QSize StatusPanels::sizeHint() const
{
    int w = 0, h = 0;
    for (const Entry& e : panels_) {
        w += e.width + kGap;
        h = std::max(h, e.label->sizeHint().height());
    }
    return {w, h};
}

QSize StatusPanels::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

bool StatusPanels::event(QEvent* event)
{
    // A panel's new text asks for a new layout.
    if (event->type() == QEvent::LayoutRequest)
        arrange();
    return QWidget::event(event);
}

void StatusPanels::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void StatusPanels::arrange()
{
    std::vector<StatusPanelNeed> needs;
    needs.reserve(panels_.size());
    for (const Entry& e : panels_) {
        const QString text = e.label->text();
        needs.push_back({e.width, std::min(e.label->textWidth(), 2 * e.width), e.rank,
                         text.isEmpty(), e.stretch});
    }
    const std::vector<int> widths = FitStatusPanels(needs, width());
    int x = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
        StatusPanel* l = panels_[i].label;
        if (widths[i] <= 0) {
            l->setGeometry(0, 0, 0, 0);
            l->setVisible(false);
            continue;
        }
        l->setGeometry(x, 0, widths[i], height());
        l->setVisible(true);
        x += widths[i] + kGap;
    }
}

} // namespace vn

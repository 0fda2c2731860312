#pragma once
// A status bar's row of panels that give way in a narrow window instead of
// drawing over each other.
//
// Each panel has its design width and a rank. A panel grows to show its
// whole text where the row has room (up to twice its design width). Where
// the row is too narrow, grown panels go back to their design widths, empty
// panels are hidden (the lowest rank first), the panels shrink to their
// texts, and then panels are hidden from the lowest rank up; the last one
// is cut to the row. Room left over goes back to the panels with text, the
// highest rank first, and then to the one panel that may stretch. A text
// wider than its panel is cut with "…" (the label keeps its whole text).
#include <QLabel>
#include <QWidget>

#include <vector>

namespace vn {

struct StatusPanelNeed {
    int width = 0;  // design width (the least width of the stretching panel)
    int wanted = 0; // the width its text needs; at most twice the design width
    int rank = 0;   // higher ranks stay longer
    bool empty = false;
    bool stretch = false;
};

// The width of each panel in a row of `available` pixels; 0 hides it.
std::vector<int> FitStatusPanels(const std::vector<StatusPanelNeed>& panels, int available);

// A label that cuts its text with "…" where its width is too small.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The width the whole text needs, frame and margins included.
    int textWidth() const;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

class StatusPanels : public QWidget {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent = nullptr);

    // Adds a panel at the right end; `stretch` takes the row's free width.
    StatusPanel* addPanel(const QString& objectName, int width, Qt::Alignment alignment, int rank,
                          bool stretch = false);
    StatusPanel* panel(int i) const { return panels_[size_t(i)].label; }
    int count() const { return int(panels_.size()); }
    // Changes a panel's design width.
    void setPanelWidth(int i, int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrange();

    struct Entry {
        StatusPanel* label;
        int width;
        int rank;
        bool stretch;
    };
    std::vector<Entry> panels_;
};

} // namespace vn

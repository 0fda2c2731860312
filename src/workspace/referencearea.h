#pragma once
// The reference area `Panel2`: ten read-only text pages (`PageControl1`).
#include <QFrame>
#include <array>

class QPlainTextEdit;
class QTabWidget;

namespace vn {

constexpr int kReferenceCount = 10;

class ReferenceArea : public QFrame {
    Q_OBJECT
public:
    explicit ReferenceArea(QWidget* parent = nullptr);
    QTabWidget* tabs() const { return tabs_; }
    QPlainTextEdit* editor(int index) const { return editors_[size_t(index)]; }
    int currentReference() const;
    void applyWordWrap(bool wrap);

private:
    QTabWidget* tabs_;
    std::array<QPlainTextEdit*, kReferenceCount> editors_{};
};

} // namespace vn

#pragma once
// The reference area `Panel2`: ten read-only text files shown beside the
// memo pages (`PageControl1`), opened and closed by their toolbar buttons.
#include "foundation/settings.h"

#include <QFrame>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTabWidget;

namespace vn {

constexpr int kReferenceCount = 10;

class ReferenceArea : public QFrame {
    Q_OBJECT
public:
    explicit ReferenceArea(QWidget* parent = nullptr);
    // The actions of the slot buttons ToolButton6 .. ToolButton15 and of
    // the area switch, and how the slot buttons are shown and hidden (with
    // the area).
    void setButtons(const std::array<QAction*, kReferenceCount>& slotButtons, QAction* areaSwitch,
                    std::function<void(bool)> showSlotButtons);

    // The tabs and editors are made when a file is first opened (or when
    // asked for): a start with no reference file never builds them.
    QTabWidget* tabs() const { return built().tabs_; }
    QPlainTextEdit* editor(int slot) const { return built().editors_[size_t(slot)]; }
    bool isBuilt() const { return tabs_ != nullptr; }
    QString path(int slot) const { return paths_[size_t(slot)]; }
    int currentReference() const;

    void LoadReferenceFiles();
    bool OpenReferencePage(int slot);
    void ToggleReferencePage(int slot);
    // Opens a file in the first closed slot, as if chosen with its button;
    // false when every slot is open or the file cannot be shown.
    bool openInFreeSlot(const QString& path);
    void UpdateReferenceArea();
    // Applies the area switch; `store` writes it to the settings (a click).
    void ApplyReferenceVisibility(bool store = true);
    void SaveReferencePositions();
    void RestoreReferencePositions();
    void Reload();
    void OpenWithAssociatedProgram();
    void CopySelection();
    void applyWordWrap(bool wrap);
    void applyFontAndColour();
    // The font all ten pages share, as the settings hold it.
    static FontSpec StoredFont();
    static QString Prefix(int slot);

private:
    const ReferenceArea& built() const;
    void build();
    void styleEditors();
    void closeSlot(int slot, bool writeSetting);
    // The slot button's hint and menu item: the file's path, or the offer
    // to open one.
    void labelSlot(int slot, const QString& path);
    int selectedSlot() const;

    QTabWidget* tabs_ = nullptr;
    QMenu* menu_ = nullptr;
    std::array<QPlainTextEdit*, kReferenceCount> editors_{};
    std::array<QString, kReferenceCount> paths_{};
    std::array<QAction*, kReferenceCount> buttons_{};
    QAction* areaSwitch_ = nullptr;
    std::function<void(bool)> showSlotButtons_;
    // What the editors show, kept until they are built.
    FontSpec font_;
    int backColour_ = 0;
    bool fontSet_ = false;
    bool wrap_ = false;
};

} // namespace vn

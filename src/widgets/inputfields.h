#pragma once
// Input fields of the dialogs: number boxes that take an empty text as a
// value of their own, and text fields limited to what the files keep.
#include <QSpinBox>

#include <functional>

class QComboBox;
class QLineEdit;

namespace vn {

// A number box whose text, when left empty, stands for a value of its own
// (0, 1, the current year...) instead of the last value.
class NumberBox : public QSpinBox {
    Q_OBJECT
public:
    explicit NumberBox(QWidget* parent = nullptr);
    void setEmptyValue(int value);
    void setEmptyValue(std::function<int()> value) { emptyValue_ = std::move(value); }
    // Takes the text typed so far as the value (also an empty text).
    void commitText();

protected:
    void fixup(QString& input) const override;

private:
    std::function<int()> emptyValue_;
};

// Keeps the field's text within maxBytes of Shift-JIS, the length the file
// keeps: typing or pasting beyond it is cut at a character bound.
void LimitSjisBytes(QLineEdit* edit, int maxBytes);

// Gives the rows of a combo box's drop-down list room above and below their
// text: rows just as high as the font cut the glyphs that reach past its
// line (mixed kana, symbols and fallback faces), the last line most of all.
void PadDropDownRows(QComboBox* box);

} // namespace vn

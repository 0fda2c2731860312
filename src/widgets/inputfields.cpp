#include "widgets/inputfields.h"

#include "foundation/textcodec.h"

#include <QComboBox>
#include <QItemDelegate>
#include <QLineEdit>

namespace vn {

NumberBox::NumberBox(QWidget* parent) : QSpinBox(parent) {}

void NumberBox::setEmptyValue(int value)
{
    emptyValue_ = [value] { return value; };
}

void NumberBox::commitText()
{
    QString t = lineEdit()->text();
    if (t.trimmed().isEmpty() && emptyValue_) {
        setValue(emptyValue_());
        return;
    }
    interpretText();
}

void NumberBox::fixup(QString& input) const
{
    if (input.trimmed().isEmpty() && emptyValue_) {
        input = QString::number(qBound(minimum(), emptyValue_(), maximum()));
        return;
    }
    QSpinBox::fixup(input);
}

void LimitSjisBytes(QLineEdit* edit, int maxBytes)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, maxBytes](const QString& text) {
        qint64 over = SjisLength(text) - maxBytes;
        if (over <= 0)
            return;
        // What was just typed or pasted stands before the cursor: take the
        // excess from there, then from the end.
        QString t = text;
        qsizetype cursor = edit->cursorPosition();
        qsizetype from = cursor;
        while (from > 0 && over > 0)
            over -= SjisCharBytes(t[--from]);
        if (from > 0 && t[from].isLowSurrogate() && t[from - 1].isHighSurrogate())
            --from;
        t.remove(from, cursor - from);
        cursor = from;
        if (SjisLength(t) > maxBytes)
            t = SjisLeft(t, maxBytes);
        edit->setText(t);
        edit->setCursorPosition(int(qMin(cursor, t.size())));
    });
}

namespace {

class PaddedRowDelegate : public QItemDelegate {
public:
    using QItemDelegate::QItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QItemDelegate::sizeHint(option, index) + QSize(0, 4);
    }
};

} // namespace

void PadDropDownRows(QComboBox* box)
{
    box->setItemDelegate(new PaddedRowDelegate(box));
}

} // namespace vn

#include "holidayeditor.h"

#include "calendar/holidaytable.h"
#include "foundation/clock.h"
#include "ui_holidayeditor.h"
#include "widgets/errorbox.h"
#include "widgets/shelldialog.h"
#include "widgets/uiprompts.h"

#include <QRegularExpressionValidator>

namespace vn {

namespace {

int currentYear()
{
    return DecodeDate(Today()).year;
}

} // namespace

HolidayEditor::HolidayEditor(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::HolidayEditor>())
{
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmHoliday", QStringLiteral("新規休日の登録"), {360, 150});
    setFixedSize(360, 150);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->spinMM->setEmptyValue(1);
    ui->spinDD->setEmptyValue(1);
    ui->spinStart->setEmptyValue(currentYear);
    ui->spinEnd->setEmptyValue(currentYear);
    // The name is the last field of its line: it takes no commas, and no
    // more than the calendar keeps of it.
    ui->txtName->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,\\r\\n]*")), this));
    LimitSjisBytes(ui->txtName, cal::HolidayTable::kMaxNameBytes);
    connect(ui->cmdAdd, &QPushButton::clicked, this,
            [this] { Guarded([this] { cmdAddClick(); }, this); });
    connect(ui->cmdNew, &QPushButton::clicked, this,
            [this] { Guarded([this] { cmdNewClick(); }, this); });
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

HolidayEditor::~HolidayEditor() = default;

int HolidayEditor::EditRow(int row, const cal::HolidayEntry& entry, Store store)
{
    row_ = row;
    entry_ = entry;
    store_ = std::move(store);
    return exec();
}

void HolidayEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
    CentreOnScreen(this);
}

void HolidayEditor::FormShow()
{
    const bool adding = row_ < 0;
    setWindowTitle(adding ? QStringLiteral("新規休日の登録") : QStringLiteral("休日の修正"));
    ui->cmdAdd->setText(adding ? QStringLiteral("新規登録") : QStringLiteral("修正"));
    ui->cmdNew->setVisible(!adding);
    if (adding) {
        const YMD today = DecodeDate(Today());
        ui->spinMM->setValue(today.month);
        ui->spinDD->setValue(today.day);
        ui->spinStart->setValue(today.year);
        ui->spinEnd->setValue(today.year);
        ui->txtName->clear();
    } else {
        ui->spinMM->setValue(entry_.month);
        ui->spinDD->setValue(entry_.day);
        ui->spinStart->setValue(entry_.firstYear);
        ui->spinEnd->setValue(entry_.lastYear);
        ui->txtName->setText(entry_.name);
    }
    // Typing starts in the name, the one field a new entry always needs.
    ui->txtName->setFocus();
    ui->txtName->selectAll();
}

void HolidayEditor::cmdAddClick()
{
    for (NumberBox* spin : {ui->spinMM, ui->spinDD, ui->spinStart, ui->spinEnd})
        spin->commitText();
    if (ui->txtName->text().trimmed().isEmpty()) {
        Ask(BoxKind::Plain, QStringLiteral("休日名称を入力してください。"), BoxButtons::Ok);
        ui->txtName->setFocus();
        return;
    }
    cal::HolidayEntry e;
    e.month = ui->spinMM->value();
    e.day = ui->spinDD->value();
    e.firstYear = ui->spinStart->value();
    e.lastYear = ui->spinEnd->value();
    e.name = ui->txtName->text().trimmed();
    if (row_ >= 0)
        e.rest = entry_.rest; // fields the list does not show stay with the entry
    if (store_)
        store_(row_, e);
    accept();
}

void HolidayEditor::cmdNewClick()
{
    row_ = -1; // the values go to a further row; the edited one stays
    cmdAddClick();
}

} // namespace vn

#include "balloonhinteditor.h"

#include "foundation/clock.h"
#include "ui_balloonhinteditor.h"
#include "widgets/errorbox.h"
#include "widgets/inputfields.h"
#include "widgets/shelldialog.h"
#include "widgets/uiprompts.h"

#include <QLineEdit>

namespace vn {

BalloonHintEditor::BalloonHintEditor(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::BalloonHintEditor>())
{
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmBalloonHint", QStringLiteral("バルーンヒントの新規登録"),
                         {480, 160});
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(480, 0)));
    ui->spinHH->setEmptyValue(0);
    ui->spinNN->setEmptyValue(0);
    LimitSjisBytes(ui->cmbMsg->lineEdit(), kBalloonMessageBytes);
    PadDropDownRows(ui->cmbMsg); // the presets mix kana, symbols and fallback faces
    connect(ui->cmdAdd, &QPushButton::clicked, this,
            [this] { Guarded([this] { cmdAddClick(); }, this); });
    connect(ui->cmdNew, &QPushButton::clicked, this, [this] {
        row_ = -1; // a further hint; the edited one stays as it was
        Guarded([this] { cmdAddClick(); }, this);
    });
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

BalloonHintEditor::~BalloonHintEditor() = default;

int BalloonHintEditor::EditRow(int row, const BalloonHintRow& hint, Store store)
{
    row_ = row;
    hint_ = hint;
    store_ = std::move(store);
    return exec();
}

void BalloonHintEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
    CentreOnScreen(this);
}

void BalloonHintEditor::FormShow()
{
    const bool adding = row_ < 0;
    setWindowTitle(adding ? QStringLiteral("バルーンヒントの新規登録")
                          : QStringLiteral("バルーンヒントの修正"));
    ui->cmdAdd->setText(adding ? QStringLiteral("新規登録") : QStringLiteral("修正"));
    ui->cmdNew->setVisible(!adding);
    if (adding) {
        const HMS now = DecodeTime(Now());
        ui->chkShow->setChecked(true);
        ui->spinHH->setValue(now.hour);
        ui->spinNN->setValue(now.minute);
        ui->cmbMsg->setCurrentIndex(-1);
        ui->cmbMsg->setEditText(QString());
    } else {
        ui->chkShow->setChecked(hint_.shown);
        ui->spinHH->setValue(hint_.hour);
        ui->spinNN->setValue(hint_.minute);
        ui->cmbMsg->setCurrentIndex(-1);
        ui->cmbMsg->setEditText(hint_.message);
    }
    // The message is what a new hint needs first.
    ui->cmbMsg->setFocus();
    ui->cmbMsg->lineEdit()->selectAll();
}

void BalloonHintEditor::cmdAddClick()
{
    ui->spinHH->commitText();
    ui->spinNN->commitText();
    const QString message = ui->cmbMsg->currentText();
    if (message.trimmed().isEmpty()) {
        Ask(BoxKind::Plain, QStringLiteral("メッセージを入力してください。"), BoxButtons::Ok);
        ui->cmbMsg->setFocus();
        return;
    }
    BalloonHintRow hint;
    hint.shown = ui->chkShow->isChecked();
    hint.message = message;
    SetBalloonHintTime(hint, ui->spinHH->value(), ui->spinNN->value(), BalloonHintTimePattern(),
                       Today());
    if (store_)
        store_(row_, hint);
    accept();
}

} // namespace vn

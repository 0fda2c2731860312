#include "backupinfodialog.h"

#include "foundation/paths.h"
#include "ui_backupinfodialog.h"
#include "widgets/shelldialog.h"

namespace vn {

BackUpInfoDialog::BackUpInfoDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::BackUpInfoDialog>())
{
    ui->setupUi(this);
    SetUpSecondaryWindow(this, "TfrmBackUpInfo", QStringLiteral("データ・バックアップの補足説明"),
                         {703, 278});
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

BackUpInfoDialog::~BackUpInfoDialog() = default;

QString BackUpInfoDialog::InfoText(const QString& backUpFolder)
{
    return QStringList{
        QStringLiteral(
            "データ・バックアップでは下記ファイルを指定され日時に自動バックアップします。"),
        QString(),
        QStringLiteral("■バックアップ対象ファイル"),
        QStringLiteral("　1.すべてのメモ情報（メモ1～30）"),
        QStringLiteral("　2.スケジュール定義ファイル　←　カレンダの予定情報"),
        QStringLiteral("　3.休日定義ファイル　←　カレンダの休日情報"),
        QString(),
        QStringLiteral("■バックアップ先"),
        // Where the backups really are on this PC: the data folder, not an
        // installation folder.
        QStringLiteral("　Velnoteのデータフォルダ内の \"BackUp\"フォルダ配下に、"
                       "yyyymmdd_hhnnss形式のフォルダを作成して保存します。"),
        QStringLiteral("　[このPCの場合]"),
        QStringLiteral("　") + backUpFolder + QStringLiteral("/yyyymmdd_hhnnss/"),
    }
        .join(u'\n');
}

void BackUpInfoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->Memo1->setPlainText(InfoText(BackUpFolder()));
    CentreOnScreen(this);
    ui->cmdClose->setFocus();
}

} // namespace vn

#pragma once
// "データ・バックアップの補足説明": a fixed text about what is backed up and where.
#include <QDialog>
#include <memory>

namespace Ui {
class BackUpInfoDialog;
}

namespace vn {

class BackUpInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit BackUpInfoDialog(QWidget* parent = nullptr);
    ~BackUpInfoDialog() override;

    // The text, with the backup folder of this PC.
    static QString InfoText(const QString& backUpFolder);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::BackUpInfoDialog> ui;
};

} // namespace vn

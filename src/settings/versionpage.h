#pragma once
// The page "バージョン情報": the program's name and version, where to get the
// latest one, and when the PC started and how long it has been running.
#include "settingspage.h"

#include <memory>

namespace Ui {
class VersionPage;
}

namespace vn {

// The address behind "最新版の入手：": the project's home page, empty when
// it has none.
extern const char* const kDistributionPage;

class VersionPage : public SettingsPage {
    Q_OBJECT
public:
    explicit VersionPage(QWidget* parent = nullptr);
    ~VersionPage() override;
    const Ui::VersionPage& form() const { return *ui; }

    // "Ver." and the version as four numbers ("0.1" is 0.1.0.0); "Ver."
    // alone when there is none.
    static QString VersionCaption(const QString& version);
    void setProgramVersion(const QString& version);
    // "最新版の入手：" with its button shows only when there is an address.
    void setDistributionPage(const QString& address);
    void showUptime(const UptimeTexts& uptime);

signals:
    void distributionPageOpened(); // the dialog closes

private:
    std::unique_ptr<Ui::VersionPage> ui;
    QString distributionPage_;
};

} // namespace vn

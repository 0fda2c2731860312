#include "versionpage.h"

#include "platform/platform.h"
#include "platform/programicon.h"
#include "ui_versionpage.h"

namespace vn {

const char* const kDistributionPage = VN_HOMEPAGE;

VersionPage::VersionPage(QWidget* parent)
    : SettingsPage(parent), ui(std::make_unique<Ui::VersionPage>())
{
    ui->setupUi(this);
    ui->imgIcon->setPixmap(ProgramIcon().pixmap(48, 48));
    QFont product = font();
    product.setPixelSize(15);
    product.setBold(true);
    ui->lblProduct->setFont(product);
    QPalette white = ui->pnlVersion->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    ui->pnlVersion->setPalette(white);
    ui->lblVer->setStyleSheet(QStringLiteral("color: #0000ff;"));
    ui->lblNotice->setStyleSheet(QStringLiteral("color: #ff00ff;"));
    ui->lblNotice->setText(
        QStringLiteral("このソフトウェアは無保証です。ご自身の責任でお使いください。"));
    setDistributionPage(QString::fromLatin1(kDistributionPage));
    setProgramVersion(QString());
    connect(ui->cmdHP, &QPushButton::clicked, this, [this] {
        if (distributionPage_.isEmpty())
            return;
        act([this] { CurrentPlatform().desktop->openUrl(distributionPage_); });
        emit distributionPageOpened();
    });
}

VersionPage::~VersionPage() = default;

QString VersionPage::VersionCaption(const QString& version)
{
    QStringList parts = version.split(u'.', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QStringLiteral("Ver.");
    while (parts.size() < 4)
        parts.append(QStringLiteral("0"));
    return QStringLiteral("Ver.") + parts.mid(0, 4).join(u'.');
}

void VersionPage::setProgramVersion(const QString& version)
{
    ui->lblVer->setText(VersionCaption(version));
}

void VersionPage::setDistributionPage(const QString& address)
{
    distributionPage_ = address;
    ui->cmdHP->setText(address);
    ui->cmdHP->setVisible(!address.isEmpty());
    ui->Label60->setVisible(!address.isEmpty());
}

void VersionPage::showUptime(const UptimeTexts& uptime)
{
    ui->txtInfo01->setText(uptime.started);
    ui->txtInfo02->setText(uptime.elapsed);
}

} // namespace vn

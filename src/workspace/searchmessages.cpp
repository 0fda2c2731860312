#include "searchmessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vn
{

namespace
{

WarningSink& Sink()
{
    static WarningSink s;
    return s;
}

QWidget* Owner(QWidget* parent)
{
    return parent ? parent : QApplication::activeWindow();
}

} // namespace

void SetWarningSink(WarningSink sink)
{
    Sink() = std::move(sink);
}

void ShowWarningBox(const QString& text, QWidget* parent)
{
    if (Sink()) {
        Sink()(text, false);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), text, QMessageBox::Ok,
                    Owner(parent));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

bool AskWarningYesNo(const QString& text, QWidget* parent)
{
    if (Sink()) return Sink()(text, true);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), text,
                    QMessageBox::Yes | QMessageBox::No, Owner(parent));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace vn

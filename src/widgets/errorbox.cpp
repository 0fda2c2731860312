#include "widgets/errorbox.h"

#include "foundation/apperror.h"

#include <QApplication>
#include <QMessageBox>

namespace vn {

namespace {
ErrorSink& sink()
{
    static ErrorSink s;
    return s;
}
} // namespace

void SetErrorSink(ErrorSink s)
{
    sink() = std::move(s);
}

void ShowErrorBox(const QString& message, QWidget* parent)
{
    const QString text = ErrorBoxText(message);
    if (sink()) {
        sink()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Velnote"), text, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    box.exec();
}

bool Guarded(const std::function<void()>& operation, QWidget* parent)
{
    try {
        operation();
        return true;
    } catch (const AppError& e) {
        ShowErrorBox(e.message(), parent);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromLocal8Bit(e.what()), parent);
    }
    return false;
}

} // namespace vn

#include "widgets/errorbox.h"

#include "foundation/apperror.h"
#include "foundation/appstate.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include <cstdio>

namespace vn {

namespace {
ErrorSink& sink()
{
    static ErrorSink s;
    return s;
}
int g_gatherDepth = 0;
QStringList g_gathered;
} // namespace

GatheredErrors::GatheredErrors()
{
    ++g_gatherDepth;
}

GatheredErrors::~GatheredErrors()
{
    if (g_gatherDepth == 1)
        showNow();
    --g_gatherDepth;
}

void GatheredErrors::showNow(QWidget* parent)
{
    if (g_gatherDepth != 1 || g_gathered.isEmpty())
        return;
    const QString text = g_gathered.join(u'\n');
    g_gathered.clear();
    --g_gatherDepth; // the box itself is shown, not gathered
    ShowErrorBox(text, parent);
    ++g_gatherDepth;
}

QStringList GatheredErrors::take()
{
    return g_gatherDepth == 1 ? std::exchange(g_gathered, {}) : QStringList();
}

void SetErrorSink(ErrorSink s)
{
    sink() = std::move(s);
}

void ShowErrorBox(const QString& message, QWidget* parent)
{
    const QString text = ErrorBoxText(message);
    if (g_gatherDepth > 0) {
        if (!g_gathered.contains(text))
            g_gathered.append(text);
        return;
    }
    // Also on the error output, where the desktop keeps a program's messages.
    std::fprintf(stderr, "Velnote: %s\n", text.toUtf8().constData());
    if (sink()) {
        sink()(text);
        return;
    }
    if (App().sessionEnding)
        return;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Velnote"), text, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    box.exec();
}

void ReportError(const QString& message)
{
    const QString text = ErrorBoxText(message);
    std::fprintf(stderr, "Velnote: %s\n", text.toUtf8().constData());
    if (sink())
        sink()(text);
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

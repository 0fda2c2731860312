#include "widgets/composition.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QPointer>
#include <QTimer>

namespace vn {

namespace {

class CompositionWatch : public QObject {
public:
    using QObject::QObject;

    void commit()
    {
        if (!composing_ || waiting_)
            return;
        waiting_ = true;
        QGuiApplication::inputMethod()->reset();
        // Key presses wait: they would go on composing.
        QEventLoop wait;
        loop_ = &wait;
        QTimer::singleShot(1000, &wait, &QEventLoop::quit);
        if (composing_)
            wait.exec(QEventLoop::ExcludeUserInputEvents);
        loop_ = nullptr;
        // An input method that does not answer keeps its word to itself.
        composing_ = false;
        waiting_ = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::InputMethod) {
            composing_ = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
            if (!composing_ && loop_)
                loop_->quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool composing_ = false;
    bool waiting_ = false;
    QEventLoop* loop_ = nullptr;
};

QPointer<CompositionWatch> g_watch;

} // namespace

void InstallCompositionWatch()
{
    if (g_watch || !qApp)
        return;
    g_watch = new CompositionWatch(qApp);
    qApp->installEventFilter(g_watch);
}

void CommitComposition()
{
    if (g_watch)
        g_watch->commit();
}

} // namespace vn

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
        if (!composing_ || loop_)
            return;
        // Key presses wait: they would go on composing.
        QEventLoop wait;
        loop_ = &wait;
        committed_ = false;
        QGuiApplication::inputMethod()->reset();
        if (!committed_) {
            QTimer::singleShot(1000, &wait, &QEventLoop::quit);
            wait.exec(QEventLoop::ExcludeUserInputEvents);
        }
        loop_ = nullptr;
        // An input method that has not committed within the second (or
        // dropped the word on the reset) is not waited for again.
        composing_ = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::InputMethod: {
            // IBus first takes the word out of the editor, then commits it.
            auto* input = static_cast<QInputMethodEvent*>(event);
            composing_ = !input->preeditString().isEmpty();
            if (!input->commitString().isEmpty()) {
                committed_ = true;
                if (loop_)
                    loop_->quit();
            }
            break;
        }
        // A click takes the focus (another editor would get the word a
        // second time); a closing window hides.
        case QEvent::MouseButtonPress:
        case QEvent::Close: commit(); break;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool composing_ = false;
    bool committed_ = false;
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

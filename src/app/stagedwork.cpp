#include "stagedwork.h"

#include "foundation/startuptrace.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>

namespace vn {

namespace {

struct Finally {
    std::function<void()> run;
    ~Finally() { run(); }
};

// Input that may open a window: any mouse press, and the keys that are
// commands rather than text.
bool MayOpenAWindow(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Shortcut: return true;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        return (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
               (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F35);
    }
    default: return false;
    }
}

} // namespace

StagedWork::StagedWork(std::vector<Piece> pieces, QObject* parent)
    : QObject(parent), pieces_(std::move(pieces))
{
    if (!finished())
        qApp->installEventFilter(this);
}

StagedWork::~StagedWork() = default;

void StagedWork::start()
{
    scheduleNext();
}

void StagedWork::scheduleNext()
{
    if (!finished())
        QTimer::singleShot(0, this, [this] {
            // The next turn's piece, also when this one throws (its error
            // is told, the windows after it are still made).
            const Finally next([this] { scheduleNext(); });
            runNext();
        });
}

void StagedWork::runNext()
{
    if (finished() || running_)
        return;
    // A piece may open a box with its own event loop: the pieces after it
    // wait, and input meanwhile does not start them from inside this one.
    running_ = true;
    const Finally notRunning([this] { running_ = false; });
    const Piece& piece = pieces_[next_++];
    const long long began = StartupTraceEnabled() ? MonotonicNs() : 0;
    piece.work();
    if (began) {
        std::printf("staged %s %.1f ms\n", piece.name, (MonotonicNs() - began) / 1e6);
        std::fflush(stdout);
    }
    if (finished())
        qApp->removeEventFilter(this);
}

void StagedWork::finish()
{
    while (!finished() && !running_)
        runNext();
}

bool StagedWork::eventFilter(QObject*, QEvent* event)
{
    if (!finished() && !running_ && MayOpenAWindow(event))
        finish();
    return false;
}

} // namespace vn

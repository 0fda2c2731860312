#pragma once
// Work done one piece per turn of the event loop, so that a key typed
// meanwhile waits for one piece at most, never for all of them. Until the
// last piece has run, a mouse press or a command key (with Ctrl or Alt, or a
// function key) anywhere in the program first runs the rest at once: a
// click never reaches a button whose window is not made and wired yet.
#include <QObject>

#include <functional>
#include <vector>

namespace vn {

class StagedWork : public QObject {
public:
    struct Piece {
        const char* name; // a string literal, for the start-up trace
        std::function<void()> work;
    };
    StagedWork(std::vector<Piece> pieces, QObject* parent);
    ~StagedWork() override;

    // The first piece in the next turn, each other one in the turn after.
    void start();
    // The pieces not run yet, now, in their order.
    void finish();
    bool finished() const { return next_ == pieces_.size(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runNext();
    void scheduleNext();

    std::vector<Piece> pieces_;
    size_t next_ = 0;
    bool running_ = false;
};

} // namespace vn

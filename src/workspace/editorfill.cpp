#include "editorfill.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimerEvent>

#include <algorithm>

namespace vn {

namespace {

// Lines put in first around the top line, and the size of the later pieces.
constexpr int kLinesAbove = 50;
constexpr int kLinesBelow = 250;
constexpr qsizetype kWindowLength = 32 * 1024; // below the top line, once past it
constexpr qsizetype kPieceLength = 32 * 1024;
// The last lines go in with the first ones: the editor measures its scroll
// bar on the last lines of the text, which then are laid out only once.
constexpr int kTailLines = 200;

// The characters that end a block when a cursor inserts text.
bool endsBlock(QStringView t, qsizetype i)
{
    const char16_t c = t[i].unicode();
    return c == u'\n' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 ||
           (c == u'\r' && (i + 1 == t.size() || t[i + 1] != u'\n'));
}

// Just after the next block end at or after `from`, or the end of the text.
qsizetype nextLine(QStringView t, qsizetype from)
{
    for (qsizetype i = from; i < t.size(); ++i)
        if (endsBlock(t, i))
            return i + 1;
    return t.size();
}

// The start of the line before the one that starts at `start` (> 0).
qsizetype previousLine(QStringView t, qsizetype start)
{
    for (qsizetype i = start - 2; i >= 0; --i)
        if (endsBlock(t, i))
            return i + 1;
    return 0;
}

int blockEnds(QStringView t)
{
    int n = 0;
    for (qsizetype i = 0; i < t.size(); ++i)
        n += endsBlock(t, i);
    return n;
}

// A place to cut near `at`: just after a block end within the next piece
// length (the previous one when going back), else `at` itself, never inside
// a surrogate pair or a CR LF.
qsizetype cutNear(QStringView t, qsizetype at, bool back)
{
    if (back) {
        for (qsizetype i = at - 1; i >= std::max<qsizetype>(0, at - kPieceLength); --i)
            if (endsBlock(t, i))
                return i + 1;
    } else {
        for (qsizetype i = at; i < std::min(t.size(), at + kPieceLength); ++i)
            if (endsBlock(t, i))
                return i + 1;
    }
    if (at > 0 && at < t.size() &&
        (t[at - 1].isHighSurrogate() || (t[at - 1] == u'\r' && t[at] == u'\n')))
        return back ? at - 1 : at + 1;
    return at;
}

} // namespace

EditorFill::EditorFill(QPlainTextEdit* editor) : QObject(editor), editor_(editor)
{
    editor->installEventFilter(this);
    editor->viewport()->installEventFilter(this);
    editor->verticalScrollBar()->installEventFilter(this);
    editor->horizontalScrollBar()->installEventFilter(this);
}

void EditorFill::start(const QString& text, int anchor, int position, int scroll)
{
    cancel();
    text_ = text;
    anchor_ = anchor;
    position_ = position;
    scroll_ = scroll;
    // The lines around the top one, enough for a screen.
    const QStringView t(text_);
    qsizetype pos = 0;
    int line = 0;
    for (; line < scroll - kLinesAbove && pos < t.size(); ++line)
        pos = nextLine(t, pos);
    lo_ = pos;
    linesAbove_ = line;
    qsizetype topStart = pos;
    for (; pos < t.size() &&
           (line <= scroll || (line < scroll + kLinesBelow && pos - topStart < kWindowLength));
         ++line) {
        if (line == scroll)
            topStart = pos;
        pos = nextLine(t, pos);
    }
    hi_ = pos;
    // Near the end the lines above fill the screen.
    for (; hi_ == t.size() && lo_ > 0 && line - linesAbove_ < kLinesAbove + kLinesBelow; ++line) {
        lo_ = previousLine(t, lo_);
        --linesAbove_;
    }
    tail_ = t.size();
    for (int i = 0; i < kTailLines && tail_ > hi_; ++i)
        tail_ = previousLine(t, tail_);
    if (tail_ <= hi_)
        hi_ = tail_ = t.size();
    putting_ = true;
    editor_->setPlainText(text_.mid(lo_, hi_ - lo_) + text_.mid(tail_));
    putting_ = false;
    active_ = lo_ > 0 || hi_ < tail_;
    if (!active_) {
        end();
        return;
    }
    editor_->document()->setUndoRedoEnabled(false);
    place();
    timer_ = startTimer(0);
}

void EditorFill::putPiece(qsizetype from, qsizetype to, int at)
{
    putting_ = true;
    QTextCursor c(editor_->document());
    c.setPosition(at);
    c.insertText(text_.mid(from, to - from));
    putting_ = false;
}

void EditorFill::nextPiece()
{
    const QStringView t(text_);
    if (hi_ < tail_) { // the lines below the first ones, in front of the last ones
        const qsizetype to = cutNear(t, std::min(tail_, hi_ + kPieceLength), false);
        putPiece(hi_, std::min(to, tail_), int(hi_ - lo_));
        hi_ = std::min(to, tail_);
    } else if (lo_ > 0) { // the lines above them, from the nearest
        const qsizetype from = cutNear(t, std::max<qsizetype>(0, lo_ - kPieceLength), true);
        putPiece(from, lo_, 0);
        linesAbove_ -= blockEnds(t.mid(from, lo_ - from));
        lo_ = from;
    }
    if (lo_ == 0 && hi_ == tail_)
        end();
    else
        place();
}

void EditorFill::finish()
{
    if (!active_)
        return;
    if (hi_ < tail_)
        putPiece(hi_, tail_, int(hi_ - lo_));
    if (lo_ > 0)
        putPiece(0, lo_, 0);
    lo_ = 0;
    hi_ = tail_;
    linesAbove_ = 0;
    end();
}

void EditorFill::cancel()
{
    if (!active_)
        return;
    killTimer(timer_);
    timer_ = 0;
    active_ = false;
    editor_->document()->setUndoRedoEnabled(true);
    text_.clear();
}

void EditorFill::end()
{
    if (timer_)
        killTimer(std::exchange(timer_, 0));
    active_ = false;
    editor_->document()->setUndoRedoEnabled(true);
    editor_->document()->setModified(false);
    place();
    text_.clear();
}

void EditorFill::place()
{
    // A place in the text, in the part of it put in so far (or the nearest).
    auto inPart = [this](qsizetype x) {
        if (x >= tail_)
            return int(hi_ - lo_ + std::min(x, qsizetype(text_.size())) - tail_);
        return int(std::clamp<qsizetype>(x - lo_, 0, hi_ - lo_));
    };
    QTextCursor c(editor_->document());
    c.setPosition(inPart(anchor_));
    c.setPosition(inPart(position_), QTextCursor::KeepAnchor);
    editor_->setTextCursor(c);
    // Without wrapping the scroll bar counts lines; with it, lines on the
    // screen, and the lines laid out so far may take several: the top line
    // then goes by its number, during the fill and after it alike.
    QScrollBar* bar = editor_->verticalScrollBar();
    const int top = std::max(0, scroll_ - linesAbove_);
    if (editor_->lineWrapMode() == QPlainTextEdit::NoWrap) {
        bar->setValue(top);
    } else {
        const QTextBlock block = editor_->document()->findBlockByNumber(top);
        bar->setValue(block.isValid() ? block.firstLineNumber() : bar->maximum());
    }
}

bool EditorFill::eventFilter(QObject* watched, QEvent* event)
{
    if (active_) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::DragEnter:
        case QEvent::Drop:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin: finish(); break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void EditorFill::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer_)
        nextPiece();
    else
        QObject::timerEvent(event);
}

} // namespace vn

#pragma once
// A long text put into a plain-text editor without keeping the user waiting
// for all of it: the lines the editor shows go in at once, with the
// selection and scroll position, the rest follows in pieces between events.
//
// Nobody ever sees or edits a partial text: anything that reaches the
// editor's text first puts the rest in, at once. The user's keys, input
// method, mouse, wheel, drops and context menu do so by themselves (the fill
// watches the editor); code that reads or changes the text calls finish()
// first. Until it is finished the fill keeps the document without undo, so
// the pieces never become steps of the user's undo.
#include <QObject>
#include <QString>

class QPlainTextEdit;

namespace vn {

class EditorFill : public QObject {
    Q_OBJECT
public:
    // Texts shorter than this go into the editor whole.
    static constexpr qsizetype kMinimumLength = 64 * 1024;

    explicit EditorFill(QPlainTextEdit* editor); // owned by the editor

    // Fills the editor with `text` (LF line breaks), then selects from
    // `anchor` to `position` (characters of the text) and scrolls to
    // `scroll`: what setPlainText, setTextCursor and the vertical scroll
    // bar's setValue would do, in that order.
    void start(const QString& text, int anchor, int position, int scroll);
    bool active() const { return active_; }
    // True while a piece is going in: not a change of the user's.
    bool puttingPiece() const { return putting_; }
    // The rest of the text goes in now.
    void finish();
    // Stops where it is; the caller gives the editor another text.
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void putPiece(qsizetype from, qsizetype to, int at);
    void nextPiece();
    void place(); // the selection and scroll as meant, within the part put in
    void end();

    QPlainTextEdit* editor_;
    QString text_;
    // The editor holds text_ from lo_ to hi_, then from tail_ to its end.
    qsizetype lo_ = 0, hi_ = 0, tail_ = 0;
    int linesAbove_ = 0; // line breaks of text_ before lo_
    int anchor_ = 0, position_ = 0, scroll_ = 0;
    int timer_ = 0;
    bool active_ = false;
    bool putting_ = false;
};

} // namespace vn

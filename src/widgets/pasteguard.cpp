#include "widgets/pasteguard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace vn {

namespace {

// The text editor or one-line field a widget is, or is the viewport of.
QWidget* textEditorOf(QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (qobject_cast<QLineEdit*>(object))
        return static_cast<QWidget*>(object);
    for (QObject* o : {object, object->parent()})
        if (qobject_cast<QPlainTextEdit*>(o) || qobject_cast<QTextEdit*>(o))
            return static_cast<QWidget*>(o);
    return nullptr;
}

bool readOnly(QWidget* editor)
{
    if (auto* p = qobject_cast<QPlainTextEdit*>(editor))
        return p->isReadOnly();
    if (auto* l = qobject_cast<QLineEdit*>(editor))
        return l->isReadOnly();
    return static_cast<QTextEdit*>(editor)->isReadOnly();
}

bool clipboardEmpty(QClipboard::Mode mode)
{
    return !CanPasteFrom(QGuiApplication::clipboard()->mimeData(mode));
}

class PasteGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste) && textEditorOf(watched) &&
                clipboardEmpty(QClipboard::Clipboard))
                return true; // nothing to paste
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            QWidget* editor = textEditorOf(watched);
            if (mouse->button() == Qt::MiddleButton && editor && !readOnly(editor) &&
                QGuiApplication::clipboard()->supportsSelection() &&
                clipboardEmpty(QClipboard::Selection))
                return true;
            break;
        }
        default: break;
        }
        return false;
    }
};

QPointer<PasteGuard> g_guard;

template <typename Editor> void pasteInto(Editor* editor)
{
    if (editor && !editor->isReadOnly() && !clipboardEmpty(QClipboard::Clipboard))
        editor->paste();
}

} // namespace

bool CanPasteFrom(const QMimeData* data)
{
    return data && !data->formats().isEmpty();
}

void PasteInto(QPlainTextEdit* editor)
{
    pasteInto(editor);
}

void PasteInto(QTextEdit* editor)
{
    pasteInto(editor);
}

void InstallPasteGuard()
{
    if (g_guard || !qApp)
        return;
    g_guard = new PasteGuard(qApp);
    qApp->installEventFilter(g_guard);
}

} // namespace vn

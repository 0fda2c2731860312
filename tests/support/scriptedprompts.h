#pragma once
// Message boxes and error boxes answered by a script and recorded, for
// window tests (header only; the test links the window kit).
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"

#include <QList>
#include <QStringList>

namespace vn::test {

class ScriptedPrompts {
public:
    struct Box {
        BoxKind kind;
        QString text;
        BoxButtons buttons;
    };

    ScriptedPrompts()
    {
        Prompts().message = [this](BoxKind k, const QString& t, BoxButtons b) {
            boxes.append({k, t, b});
            if (!answers.isEmpty())
                return answers.takeFirst();
            return b == BoxButtons::Ok || b == BoxButtons::OkCancel ? BoxAnswer::Ok
                                                                    : BoxAnswer::Yes;
        };
        Prompts().chooseColour = [this](const QColor& initial) -> std::optional<QColor> {
            colourAsked = initial;
            return colour;
        };
        SetErrorSink([this](const QString& t) { errors.append(t); });
    }
    ~ScriptedPrompts()
    {
        Prompts() = DefaultPrompts(nullptr);
        SetErrorSink({});
    }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    QStringList texts() const
    {
        QStringList out;
        for (const Box& b : boxes)
            out.append(b.text);
        return out;
    }
    void clear()
    {
        boxes.clear();
        errors.clear();
    }

    QList<Box> boxes;
    QList<BoxAnswer> answers; // taken in order; then Yes or Ok
    QStringList errors;       // texts of error boxes
    std::optional<QColor> colour;
    QColor colourAsked;
};

} // namespace vn::test

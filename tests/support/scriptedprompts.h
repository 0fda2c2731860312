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
            return nextAnswer(b);
        };
        Prompts().notice = [this](BoxKind k, const QString& t, BoxButtons b,
                                  std::function<void(BoxAnswer)> answered) {
            boxes.append({k, t, b});
            if (holdNotices) {
                heldNotices.append(std::move(answered));
                return;
            }
            answered(nextAnswer(b));
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

    BoxAnswer nextAnswer(BoxButtons b)
    {
        if (!answers.isEmpty())
            return answers.takeFirst();
        return b == BoxButtons::Ok || b == BoxButtons::OkCancel ? BoxAnswer::Ok : BoxAnswer::Yes;
    }
    // Closes the oldest box that did not wait, with the next scripted answer.
    void closeNotice()
    {
        if (heldNotices.isEmpty())
            return;
        const auto answered = heldNotices.takeFirst();
        answered(answers.isEmpty() ? BoxAnswer::Yes : answers.takeFirst());
    }

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
    // Boxes that do not wait are answered at once unless held; held ones
    // stay open until closeNotice.
    bool holdNotices = false;
    QList<std::function<void(BoxAnswer)>> heldNotices;
    std::optional<QColor> colour;
    QColor colourAsked;
};

} // namespace vn::test

// Answers message boxes and file dialogs from a script, and records what was asked, so window
// tests run without a person.
#pragma once

#include <QStringList>
#include <deque>

#include "widgets/Prompts.h"

namespace skyvane::test {

struct AskedMessage {
    MessageKind kind;
    QString text;
    MessageButtons buttons;
};

class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts() { setPrompts(this); }
    ~ScriptedPrompts() override { setPrompts(nullptr); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // Answers for the next message boxes, in order; a box with no scripted answer gets the
    // first button (OK or Yes).
    std::deque<MessageAnswer> answers;
    // Paths for the next file dialogs, in order; an empty path cancels. None left: cancel.
    std::deque<QString> files;

    // Items for the next choices among items, in order; an empty one cancels. None left: the
    // first item offered.
    std::deque<QString> items;

    QList<AskedMessage> messages;
    QStringList errors;                // texts of the default error handler's boxes
    QList<FileDialogSettings> dialogs; // file dialogs shown
    QList<QStringList> choices;        // the items of each choice asked

    MessageAnswer message(QWidget*, MessageKind kind, const QString& text,
                          MessageButtons buttons) override {
        messages.append({kind, text, buttons});
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    void errorReport(QWidget*, const QString& text) override { errors.append(text); }

    QString chooseFile(QWidget*, const FileDialogSettings& settings) override {
        dialogs.append(settings);
        if (files.empty())
            return QString();
        const QString path = files.front();
        files.pop_front();
        return path;
    }

    QString chooseItem(QWidget*, const QString&, const QString&,
                       const QStringList& offered) override {
        choices.append(offered);
        if (items.empty())
            return offered.value(0);
        const QString item = items.front();
        items.pop_front();
        return item;
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const AskedMessage& asked : messages)
            texts.append(asked.text);
        return texts;
    }
};

} // namespace skyvane::test

// The one seam through which every window asks the user something: message boxes and file
// dialogs. Production shows QMessageBox and QFileDialog; tests install scripted answers.
#pragma once

#include <QString>
#include <utility>

class QWidget;

namespace skyvane {

enum class MessageKind { Warning, Error, Information, Confirm };
enum class MessageButtons { Ok, OkCancel, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// One file dialog: title, filter ("Jedi Knight keyframe files|*.KEY"), default extension,
// and the name chosen last time, which it offers again.
struct FileDialogSettings {
    QString objectName; // OpenKEY, SaveKEY, Open3DO
    QString title;
    QString filter;
    QString defaultExtension;
    bool save = false; // save dialogs ask before overwriting
    QString lastChosen;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual MessageAnswer message(QWidget* parent, MessageKind kind, const QString& text,
                                  MessageButtons buttons) = 0;
    // The default error handler's box: an error box with OK, titled with the application title.
    virtual void errorReport(QWidget* parent, const QString& text) = 0;
    // The full path chosen, or an empty string when the dialog was cancelled.
    virtual QString chooseFile(QWidget* parent, const FileDialogSettings& settings) = 0;
};

// The prompts in force; QMessageBox and QFileDialog unless a test installed others.
Prompts& prompts();
// Installs `replacement` (not owned); nullptr restores the standard prompts.
void setPrompts(Prompts* replacement);

// The caption of a kind of box: "Warning", "Error", "Information", "Confirm".
QString messageCaption(MessageKind kind);

MessageAnswer showMessage(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok);

// A file dialog that remembers the name last chosen in it.
class FileDialog {
public:
    explicit FileDialog(FileDialogSettings settings) : settings_(std::move(settings)) {}
    QString execute(QWidget* parent); // empty when cancelled
    const FileDialogSettings& settings() const { return settings_; }

private:
    FileDialogSettings settings_;
};

} // namespace skyvane

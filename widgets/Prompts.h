// The one seam through which every window asks the user something: message boxes and file
// dialogs. Production shows QMessageBox and QFileDialog; tests install scripted answers.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

class QFileDialog;
class QWidget;

namespace skyvane {

enum class MessageKind { Warning, Error, Information, Confirm };
// OkMend: "OK" and "Mend", for a report that offers to mend what it found.
enum class MessageButtons { Ok, OkCancel, YesNoCancel, OkMend };
enum class MessageAnswer { Ok, Cancel, Yes, No, Mend };

// One file dialog: title, filter ("Jedi Knight keyframe files|*.KEY"), default extension,
// and the name last used by a command that succeeded, which it offers again.
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
    // One of `items`, the first offered; an empty string when the user cancelled.
    virtual QString chooseItem(QWidget* parent, const QString& title, const QString& label,
                               const QStringList& items) = 0;
};

// The prompts in force; QMessageBox and QFileDialog unless a test installed others.
Prompts& prompts();
// Installs `replacement` (not owned); nullptr restores the standard prompts.
void setPrompts(Prompts* replacement);

// The caption of a kind of box: "Warning", "Error", "Information", "Confirm".
QString messageCaption(MessageKind kind);

MessageAnswer showMessage(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok);

// The standard file dialog for `settings`, not yet shown: it opens in the folder of the name
// it offers (the working folder when it offers none) and never reads a file to tell its type.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const FileDialogSettings& settings);

// A file dialog that offers again the name of the last command that succeeded with it.
class FileDialog {
public:
    explicit FileDialog(FileDialogSettings settings) : settings_(std::move(settings)) {}
    QString execute(QWidget* parent); // empty when cancelled
    // The command that used `path` succeeded: the dialog offers it next time. A name whose
    // command failed (a save into /proc, a file that is no KEY file) is never offered again.
    void keep(const QString& path) { settings_.lastChosen = path; }
    const FileDialogSettings& settings() const { return settings_; }

private:
    FileDialogSettings settings_;
};

} // namespace skyvane

// Standard prompts: QMessageBox with the program's captions and button texts, and QFileDialog
// with the program's filters.
#include "Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace skyvane {
namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirm:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// "Jedi Knight keyframe files|*.KEY" as a Qt filter. File names on Linux are case-sensitive,
// so the lower-case pattern is offered beside the upper-case one.
QString qtFilter(const QString& filter) {
    const QString description = filter.section('|', 0, 0);
    const QString pattern = filter.section('|', 1, 1);
    QString patterns = pattern;
    if (pattern.toLower() != pattern)
        patterns += ' ' + pattern.toLower();
    return QStringLiteral("%1 (%2)").arg(description, patterns);
}

class StandardPrompts : public Prompts {
public:
    MessageAnswer message(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons) override {
        QMessageBox box(iconOf(kind), messageCaption(kind), text, QMessageBox::NoButton, parent);
        QAbstractButton* ok = nullptr;
        QAbstractButton* yes = nullptr;
        QAbstractButton* no = nullptr;
        if (buttons == MessageButtons::YesNoCancel) {
            yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        } else {
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        }
        QAbstractButton* cancel = nullptr;
        if (buttons != MessageButtons::Ok)
            cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel ? cancel : ok);
        box.exec();
        const QAbstractButton* pressed = box.clickedButton();
        if (pressed == ok)
            return MessageAnswer::Ok;
        if (pressed == yes)
            return MessageAnswer::Yes;
        if (pressed == no)
            return MessageAnswer::No;
        return MessageAnswer::Cancel;
    }

    void errorReport(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text,
                        QMessageBox::NoButton, parent);
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
    }

    QString chooseFile(QWidget* parent, const FileDialogSettings& settings) override {
        QFileDialog dialog(parent, settings.title);
        dialog.setObjectName(settings.objectName);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(qtFilter(settings.filter));
        dialog.setDefaultSuffix(settings.defaultExtension);
        if (settings.save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
        }
        if (!settings.lastChosen.isEmpty())
            dialog.selectFile(settings.lastChosen);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }
};

StandardPrompts standardPrompts;
Prompts* current = &standardPrompts;

} // namespace

QString messageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirm:
        return QStringLiteral("Confirm");
    }
    return QString();
}

Prompts& prompts() {
    return *current;
}

void setPrompts(Prompts* replacement) {
    current = replacement ? replacement : &standardPrompts;
}

MessageAnswer showMessage(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons) {
    return prompts().message(parent, kind, text, buttons);
}

QString FileDialog::execute(QWidget* parent) {
    const QString chosen = prompts().chooseFile(parent, settings_);
    if (!chosen.isEmpty())
        settings_.lastChosen = chosen;
    return chosen;
}

} // namespace skyvane

// What the command line asks of the editor: a file to open at start-up, or a text to print.
#pragma once

#include <QString>
#include <QStringList>

namespace skyvane {

struct CommandLine {
    enum class Action {
        Run,   // start the editor, with `file` when one was named
        Print, // print `text` (help or version) and end successfully
        Fail,  // print `text` (what was wrong) as an error and end
    };
    Action action = Action::Run;
    QString file; // absolute path of the file to open; empty for none
    QString text;
};

// `arguments` as main() receives them, the program's name first. Help and version need no
// display, so this also works before the application object exists.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace skyvane

// The application's default error handler: an error that escapes a command is shown with its
// text and a "." appended in an error box titled with the application title.
#pragma once

#include <exception>
#include <utility>

class QWidget;

namespace skyvane {

void reportError(const std::exception& error, QWidget* parent = nullptr);

// Runs a command; an exception that escapes it is reported and the program goes on.
// Returns false when the command was abandoned.
template <typename Command> bool runGuarded(Command&& command, QWidget* parent = nullptr) {
    try {
        std::forward<Command>(command)();
        return true;
    } catch (const std::exception& error) {
        reportError(error, parent);
        return false;
    }
}

} // namespace skyvane

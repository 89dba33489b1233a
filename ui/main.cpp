// Start-up: the command line, the application, the decimal separator, the nine windows and the
// event loop.
#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "ui/AppWindows.h"
#include "ui/CommandLine.h"
#include "widgets/ErrorReport.h"
#include "core/numbers.h"

namespace {

// A backstop behind the commands' own guards: an error escaping any event handler is shown
// and the program goes on.
class SkyvaneApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            skyvane::reportError(error, activeWindow());
            return false;
        }
    }
};

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Prints what the command line asked for, or what was wrong with it; the exit status.
int answer(const skyvane::CommandLine& command) {
    const bool failed = command.action == skyvane::CommandLine::Action::Fail;
    std::fputs(command.text.toLocal8Bit().constData(), failed ? stderr : stdout);
    return failed ? 2 : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Skyvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Skyvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SKYVANE_VERSION));
    // Desktops match the windows with the installed desktop entry, and so with its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("skyvane"));
    // Help, version and wrong arguments need no display: they are answered before one is
    // opened.
    if (skyvane::parseCommandLine(argumentsOf(argc, argv)).action !=
        skyvane::CommandLine::Action::Run) {
        const QCoreApplication app(argc, argv);
        return answer(skyvane::parseCommandLine(QCoreApplication::arguments()));
    }

    SkyvaneApplication app(argc, argv);
    const skyvane::CommandLine command = skyvane::parseCommandLine(QCoreApplication::arguments());
    skyvane::setDecimalSeparator(skyvane::decimalSeparatorOf(QLocale::system()));
    skyvane::AppWindows windows;
    windows.show(command.file);
    const int status = QApplication::exec();
    windows.rememberPlaces();
    return status;
}

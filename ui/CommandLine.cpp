// The command line: "skyvane [FILE]", "--help" and "--version".
#include "ui/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace skyvane {

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keyframe (.KEY) editor for Jedi Knight and Mysteries of the Sith."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The KEY file to open, or a 3DO model whose mesh names to offer."),
        QStringLiteral("[FILE]"));

    CommandLine result;
    const QString program = arguments.isEmpty() ? QString() : QFileInfo(arguments[0]).fileName();
    // A wrong command line is answered with what was wrong, the usage line and where to learn
    // more.
    const QString tryHelp = QLatin1Char('\n') + parser.helpText().section(QLatin1Char('\n'), 0, 0) +
                            QStringLiteral("\nTry '%1 --help'.\n").arg(program);
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Fail;
        result.text = parser.errorText() + tryHelp;
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = CommandLine::Action::Print;
        result.text = parser.helpText();
    } else if (parser.isSet(version)) {
        result.action = CommandLine::Action::Print;
        result.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion());
    } else if (parser.positionalArguments().size() > 1) {
        result.action = CommandLine::Action::Fail;
        result.text = QStringLiteral("Only one file can be opened at a time.") + tryHelp;
    } else if (!parser.positionalArguments().isEmpty()) {
        result.file = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
    }
    return result;
}

} // namespace skyvane

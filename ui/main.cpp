// Start-up: the application, the decimal separator, the nine windows and the event loop.
#include <QApplication>
#include <QLocale>

#include "AppWindows.h"
#include "ErrorReport.h"
#include "numbers.h"

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

// The user's decimal separator, when the locale gives one 8-bit character.
char localeDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() != 1 || point.at(0).unicode() > 0xFF)
        return '.';
    return static_cast<char>(point.at(0).toLatin1());
}

} // namespace

int main(int argc, char* argv[]) {
    SkyvaneApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    skyvane::setDecimalSeparator(localeDecimalSeparator());
    skyvane::AppWindows windows;
    windows.show();
    return QApplication::exec();
}

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

} // namespace

int main(int argc, char* argv[]) {
    SkyvaneApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    skyvane::setDecimalSeparator(skyvane::decimalSeparatorOf(QLocale::system()));
    skyvane::AppWindows windows;
    windows.show();
    return QApplication::exec();
}

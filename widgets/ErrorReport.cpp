// The default error handler: the failure's text with a "." appended.
#include "widgets/ErrorReport.h"

#include "widgets/Prompts.h"

#include <QString>

namespace skyvane {

void reportError(const std::exception& error, QWidget* parent) {
    prompts().errorReport(parent, QString::fromLocal8Bit(error.what()) + QLatin1Char('.'));
}

} // namespace skyvane

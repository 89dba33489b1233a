// The caption as the desktop shows it: the window-modified marker as "*", or nothing.
#pragma once

#include <QWidget>

namespace skyvane::test {

inline QString shownCaption(const QWidget& window) {
    return window.windowTitle().replace(
        QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

} // namespace skyvane::test

// The placement rules applied to real windows and screens, and the places remembered between
// runs.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "ui/placement.h"

class QWidget;

namespace skyvane {

Place placeOf(const QWidget& window);
void setPlace(QWidget& window, const Place& place);
Size minimumSizeOf(const QWidget& window);

// The window manager's frame around `window`: measured once the window has one, estimated
// before.
Margins frameMarginsOf(const QWidget& window);

// The available area of every screen, the primary one first.
std::vector<Rect> availableAreas();

// Fits `window` into the available area of its screen each time it is shown.
void keepOnScreen(QWidget& window);

// Moves `window`, which is not shown yet, where it does not cover `keepClear`.
void placeClearOf(QWidget& window, const QWidget& keepClear);

// Where a window stood when it was last remembered under `key`.
std::optional<Place> rememberedPlace(const QString& key);
void rememberPlace(const QString& key, const QWidget& window);

} // namespace skyvane

// Qt's windows and screens seen as the rectangles of the placement rules, and QSettings for
// the places kept between runs.
#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace skyvane {
namespace {

// A title bar and thin borders, as most window managers draw them; used until a window has
// been framed and its real frame can be measured.
constexpr Margins kFrameEstimate{4, 30, 4, 4};

Rect toRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

Rect availableAreaAt(const QPoint& point) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? toRect(screen->availableGeometry()) : Rect{};
}

Rect frameCentreArea(const QWidget& window) {
    return availableAreaAt(window.frameGeometry().center());
}

// Fits its window into the screen whenever the program shows it.
class ScreenFit : public QObject {
public:
    explicit ScreenFit(QWidget& window) : QObject(&window), window_(window) {
        window_.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ || event->type() != QEvent::Show || event->spontaneous())
            return false;
        // A window that fits is left alone where the system or the program put it.
        const Place now = placeOf(window_);
        const Place fitted = fitInside(now, minimumSizeOf(window_), frameMarginsOf(window_),
                                       frameCentreArea(window_));
        if (!(fitted == now))
            setPlace(window_, fitted);
        return false;
    }

private:
    QWidget& window_;
};

} // namespace

Place placeOf(const QWidget& window) {
    return {window.x(), window.y(), window.width(), window.height()};
}

void setPlace(QWidget& window, const Place& place) {
    window.move(place.x, place.y);
    window.resize(place.width, place.height);
}

Size minimumSizeOf(const QWidget& window) {
    const QSize minimum = window.minimumSize().expandedTo(window.minimumSizeHint());
    return {minimum.width(), minimum.height()};
}

Margins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    if (frame == client)
        return kFrameEstimate;
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

std::vector<Rect> availableAreas() {
    std::vector<Rect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.push_back(toRect(primary->availableGeometry()));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            areas.push_back(toRect(screen->availableGeometry()));
    return areas;
}

void keepOnScreen(QWidget& window) {
    new ScreenFit(window);
}

void placeClearOf(QWidget& window, const QWidget& keepClear) {
    const QRect clear(keepClear.mapToGlobal(QPoint(0, 0)), keepClear.size());
    setPlace(window, skyvane::placeClearOf(placeOf(window), toRect(clear), frameMarginsOf(window),
                                           availableAreaAt(clear.center())));
}

std::optional<Place> rememberedPlace(const QString& key) {
    const QVariant value = QSettings().value(key);
    if (value.metaType().id() != QMetaType::QRect)
        return std::nullopt;
    const QRect rect = value.toRect();
    if (rect.width() <= 0 || rect.height() <= 0)
        return std::nullopt;
    return Place{rect.x(), rect.y(), rect.width(), rect.height()};
}

void rememberPlace(const QString& key, const QWidget& window) {
    const Place place = placeOf(window);
    QSettings().setValue(key, QRect(place.x, place.y, place.width, place.height));
}

} // namespace skyvane

// The playback slider with marker ticks.
#include "preview/MarkerSlider.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <cmath>

namespace skyvane {
namespace {

constexpr int kTickHeight = 4;
constexpr int kTipReach = 3; // pixels either side of a tick that still show its name
const QColor kTickColour(192, 0, 192);

} // namespace

MarkerSlider::MarkerSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void MarkerSlider::setTicks(std::vector<Tick> ticks) {
    if (ticks == ticks_)
        return;
    ticks_ = std::move(ticks);
    update();
}

int MarkerSlider::xOfFrame(double frame) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option,
                                                 QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option,
                                                 QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const double range = maximum() > minimum() ? maximum() - minimum() : 1;
    const double at = std::clamp((frame - minimum()) / range, 0.0, 1.0);
    return groove.left() + handle.width() / 2 + static_cast<int>(std::lround(at * span));
}

QString MarkerSlider::tipAt(int x) const {
    QStringList names;
    for (const Tick& tick : ticks_)
        if (std::abs(xOfFrame(tick.frame) - x) <= kTipReach)
            names.append(tick.name);
    return names.join(QStringLiteral(", "));
}

void MarkerSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (ticks_.empty())
        return;
    QPainter painter(this);
    painter.setPen(kTickColour);
    for (const Tick& tick : ticks_) {
        const int x = xOfFrame(tick.frame);
        painter.drawLine(x, height() - kTickHeight, x, height() - 1);
    }
}

bool MarkerSlider::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = tipAt(help->pos().x());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QSlider::event(event);
}

} // namespace skyvane

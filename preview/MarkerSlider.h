// The playback slider with the animation's markers drawn as ticks under its groove; a tick's
// tooltip names the event the engine fires there.
#pragma once

#include <QSlider>

#include <vector>

namespace skyvane {

class MarkerSlider : public QSlider {
    Q_OBJECT
public:
    struct Tick {
        double frame = 0;
        QString name;
        bool operator==(const Tick& other) const {
            return frame == other.frame && name == other.name;
        }
    };

    explicit MarkerSlider(QWidget* parent = nullptr);

    void setTicks(std::vector<Tick> ticks);
    const std::vector<Tick>& ticks() const { return ticks_; }
    // The x of a frame on the groove, where the handle's centre stands at that frame.
    int xOfFrame(double frame) const;
    // The names of the ticks within a few pixels of x, empty where there is none.
    QString tipAt(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::vector<Tick> ticks_;
};

} // namespace skyvane

// Files dropped on a window: a KEY file or a 3DO model is opened, anything else is refused with
// a message that says why.
#pragma once

#include <QObject>
#include <functional>

class QDropEvent;
class QWidget;

namespace skyvane {

// True for names ending in ".KEY", and in ".3DO", in any case.
bool isKeyFileName(const QString& path);
bool is3doFileName(const QString& path);

class FileDrops : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const QString& path)>;

    // Lets `window` take dropped files; `open` is called with a dropped KEY or 3DO file once
    // the drop is over.
    FileDrops(QWidget* window, Opener open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drop(QDropEvent& event);
    void later(std::function<void()> action);

    QWidget* window_;
    Opener open_;
};

} // namespace skyvane

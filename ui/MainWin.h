// The main window: the document, its node tabs and entry grid, and every command.
#pragma once

#include <QMainWindow>

namespace skyvane {

class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainWindow(QWidget* parent = nullptr);
};

} // namespace skyvane

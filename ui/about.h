// The about box: name, version and a picture.
#pragma once

#include <QDialog>

namespace skyvane {

class TAboutWin : public QDialog {
    Q_OBJECT
public:
    explicit TAboutWin(QWidget* parent = nullptr);
};

} // namespace skyvane

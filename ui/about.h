// The about box: name, version and a picture.
#pragma once

#include <QDialog>

class QLabel;

namespace skyvane {

class TAboutWin : public QDialog {
    Q_OBJECT
public:
    explicit TAboutWin(QWidget* parent = nullptr);

private:
    void createGui();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
};

} // namespace skyvane

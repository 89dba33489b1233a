// The help window: the program's help as a read-only scrolling text.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace skyvane {

class THelpWin : public QDialog {
    Q_OBJECT
public:
    explicit THelpWin(QWidget* parent = nullptr);

private:
    void createGui();

    QPlainTextEdit* Memo1 = nullptr;
};

} // namespace skyvane

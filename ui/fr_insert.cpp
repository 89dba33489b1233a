// Insert Frames: the count box with OK and Cancel.
#include "ui/fr_insert.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "widgets/EditBoxes.h"

namespace skyvane {
namespace {

constexpr int kClientWidth = 168;
constexpr int kClientHeight = 69;
// Wide enough for the caption in the usual desktop fonts, clear of the count box.
constexpr QRect kLabelRect{4, 12, 90, 16};
constexpr QRect kCountRect{96, 8, 57, 22};
constexpr QRect kOkRect{4, 38, 75, 25};
constexpr QRect kCancelRect{88, 38, 75, 25};
constexpr int kMinFrames = 1;
constexpr int kMaxFrames = 100;

} // namespace

TInsertWindow::TInsertWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    createGui();
}

void TInsertWindow::createGui() {
    setObjectName(QStringLiteral("InsertWindow"));
    setWindowTitle(QStringLiteral("Insert Frames"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    auto* label = new QLabel(QStringLiteral("No. of Frames:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(kLabelRect);

    SENoFrames = new ClampingSpinBox(this);
    SENoFrames->setObjectName(QStringLiteral("SENoFrames"));
    SENoFrames->setGeometry(kCountRect);
    SENoFrames->setRange(kMinFrames, kMaxFrames);
    SENoFrames->setValue(kMinFrames);
    label->setBuddy(SENoFrames);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(kOkRect);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TInsertWindow::BitBtn1Click);

    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(kCancelRect);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    selectTextOnFocus(this);
}

int TInsertWindow::frameCount() const {
    return SENoFrames->value();
}

void TInsertWindow::BitBtn1Click() {
    // A count still being typed counts as entered, brought into 1..100; an empty box counts
    // as 1.
    SENoFrames->interpretText();
    accept();
}

void TInsertWindow::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    SENoFrames->setFocus();
    QDialog::showEvent(event);
}

} // namespace skyvane

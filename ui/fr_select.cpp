// The frame selector: prompt, OK and Cancel; the grid selects whole rows while it is shown.
#include "ui/fr_select.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>

namespace skyvane {
namespace {

constexpr int kClientWidth = 184;
constexpr int kClientHeight = 83;
constexpr int kLeft = 425;
constexpr int kTop = 196;
constexpr QRect kPromptRect{15, 4, 153, 41};
constexpr QRect kOkRect{12, 50, 75, 25};
constexpr QRect kCancelRect{97, 50, 75, 25};
// Beside the caption, a title bar holds the window manager's close button and margins.
constexpr int kTitleBarExtras = 80;

} // namespace

TFrameSelector::TFrameSelector(FrameSelectorClient& client, QWidget* parent)
    // A tool window: window managers give it no minimise or maximise button.
    : QDialog(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      client_(client) {
    createGui();
}

void TFrameSelector::createGui() {
    setObjectName(QStringLiteral("FrameSelector"));
    setWindowTitle(QStringLiteral("Select Frames"));
    setModal(false);
    // Wider than designed only where the title font would cut the caption short.
    const int captionWidth = fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarExtras;
    setFixedSize(std::max(kClientWidth, captionWidth), kClientHeight);
    move(kLeft, kTop);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(kPromptRect);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);

    // Neither button takes Enter for itself when it holds the focus (Qt's auto-default): a
    // Cancel clicked once would keep the focus and turn every later Enter into Cancel. Enter
    // goes to the dialog, which presses the default button, OK; Esc cancels.
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(kOkRect);
    BitBtn1->setAutoDefault(false);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrameSelector::BitBtn1Click);

    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(kCancelRect);
    BitBtn2->setAutoDefault(false);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrameSelector::BitBtn2Click);
}

void TFrameSelector::selectFor(const QString& prompt, int command) {
    Label1->setText(prompt);
    PendingCommand = command;
    show();
    raise();
}

void TFrameSelector::showEvent(QShowEvent* event) {
    client_.setRowSelectionMode(true);
    QDialog::showEvent(event);
}

void TFrameSelector::BitBtn1Click() {
    client_.selectedEntries(FirstEntry, LastEntry);
    endSelection();
    client_.runFrameCommand(PendingCommand, FirstEntry, LastEntry);
}

void TFrameSelector::BitBtn2Click() {
    endSelection();
}

// Esc and a close by the window manager cancel the selection.
void TFrameSelector::reject() {
    BitBtn2Click();
}

void TFrameSelector::endSelection() {
    client_.setRowSelectionMode(false);
    hide();
}

} // namespace skyvane

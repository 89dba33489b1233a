// The frame selector: a small stay-on-top prompt through which the frame commands and two
// tools get a run of entries chosen in the main window's grid.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace skyvane {

// The commands that run when a selection is confirmed.
enum FrameCommand : int {
    NoCommand = 0,
    ClearCommand = 1,
    DeleteCommand = 2,
    OffsetCommand = 3,
    CopyCommand = 4,
    OrientateCommand = 5,
    SmoothCommand = 6,
    RetimeCommand = 7,
};

// What the selector needs of the main window.
class FrameSelectorClient {
public:
    virtual ~FrameSelectorClient() = default;
    virtual void setRowSelectionMode(bool rows) = 0;
    // First and last selected entry of the current grid.
    virtual void selectedEntries(int& first, int& last) const = 0;
    virtual void runFrameCommand(int command, int first, int last) = 0;
};

class TFrameSelector : public QDialog {
    Q_OBJECT
public:
    TFrameSelector(FrameSelectorClient& client, QWidget* parent = nullptr);

    // Shows the prompt and waits for a selection; a second call while shown re-targets it.
    void selectFor(const QString& prompt, int command);

    void BitBtn1Click(); // OK
    void BitBtn2Click(); // Cancel

    QLabel* Label1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // The last confirmed run; the tools read it as their range.
    int FirstEntry = 0;
    int LastEntry = 0;
    int PendingCommand = NoCommand;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createGui();
    void endSelection();

    FrameSelectorClient& client_;
};

} // namespace skyvane

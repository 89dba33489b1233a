// Markers: the events the engine fires as the animation plays, listed with their frame, their
// type and the engine's name for it; added, removed and edited together as one step.
#pragma once

#include <QDialog>

#include <optional>
#include <vector>

#include "core/keyheader.h"

class QPushButton;
class QTableWidget;

namespace skyvane {

class TMarkersWindow : public QDialog {
    Q_OBJECT
public:
    explicit TMarkersWindow(QWidget* parent = nullptr);

    // Shows the markers modally; the markers as edited when the user pressed OK on good values,
    // none when cancelled.
    std::optional<std::vector<KeyMarker>> edit(const std::vector<KeyMarker>& markers);

    void BtnAddMarkerClick();
    void BtnRemoveMarkerClick();
    void BBOkClick();

    QTableWidget* MarkerTable = nullptr;
    QPushButton* BtnAddMarker = nullptr;
    QPushButton* BtnRemoveMarker = nullptr;
    QPushButton* BBOk = nullptr;
    QPushButton* BBCancel = nullptr;

private:
    void createGui();
    void addRow(const QString& frame, const QString& type);
    void showEventName(int row);
    void enableButtons();

    std::vector<KeyMarker> accepted_;
};

} // namespace skyvane

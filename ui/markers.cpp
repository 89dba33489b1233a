// Markers: a table of frame, type and event name with Add, Remove, OK and Cancel.
#include "ui/markers.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "widgets/Prompts.h"
#include "widgets/Text.h"
#include "core/keymotion.h"
#include "core/numbers.h"

namespace skyvane {
namespace {

enum MarkerColumn { ColMarkerFrame, ColMarkerType, ColMarkerEvent, kMarkerColumns };
constexpr int kWindowWidth = 360;
constexpr int kWindowHeight = 300;

} // namespace

TMarkersWindow::TMarkersWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    createGui();
}

void TMarkersWindow::createGui() {
    setObjectName(QStringLiteral("MarkersWindow"));
    setWindowTitle(QStringLiteral("Markers"));
    setModal(true);
    resize(kWindowWidth, kWindowHeight);

    MarkerTable = new QTableWidget(0, kMarkerColumns, this);
    MarkerTable->setObjectName(QStringLiteral("MarkerTable"));
    MarkerTable->setHorizontalHeaderLabels(
        {QStringLiteral("Frame"), QStringLiteral("Type"), QStringLiteral("Event")});
    MarkerTable->horizontalHeader()->setStretchLastSection(true);
    MarkerTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(MarkerTable, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (column == ColMarkerType)
            showEventName(row);
    });

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    BtnAddMarker = button("BtnAddMarker", QStringLiteral("Add"));
    BtnRemoveMarker = button("BtnRemoveMarker", QStringLiteral("Remove"));
    BBOk = button("BBOk", QStringLiteral("OK"));
    BBCancel = button("BBCancel", QStringLiteral("Cancel"));
    BBOk->setDefault(true);
    connect(BtnAddMarker, &QPushButton::clicked, this, &TMarkersWindow::BtnAddMarkerClick);
    connect(BtnRemoveMarker, &QPushButton::clicked, this, &TMarkersWindow::BtnRemoveMarkerClick);
    connect(BBOk, &QPushButton::clicked, this, &TMarkersWindow::BBOkClick);
    connect(BBCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnAddMarker, BtnRemoveMarker})
        buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {BBOk, BBCancel})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MarkerTable, 1);
    layout->addLayout(buttons);
}

std::optional<std::vector<KeyMarker>> TMarkersWindow::edit(const std::vector<KeyMarker>& markers) {
    MarkerTable->setRowCount(0);
    for (const KeyMarker& marker : markers)
        addRow(fromBytes(formatPattern(marker.frame, kKeyValuePattern, kFileSeparator)),
               QString::number(marker.type));
    enableButtons();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return accepted_;
}

void TMarkersWindow::addRow(const QString& frame, const QString& type) {
    const int row = MarkerTable->rowCount();
    MarkerTable->insertRow(row);
    MarkerTable->setItem(row, ColMarkerFrame, new QTableWidgetItem(frame));
    auto* event = new QTableWidgetItem;
    event->setFlags(event->flags() & ~Qt::ItemIsEditable);
    MarkerTable->setItem(row, ColMarkerEvent, event);
    MarkerTable->setItem(row, ColMarkerType, new QTableWidgetItem(type));
}

// The engine's name for the type typed, so the user sees what the marker will do.
void TMarkersWindow::showEventName(int row) {
    QTableWidgetItem* event = MarkerTable->item(row, ColMarkerEvent);
    const QTableWidgetItem* type = MarkerTable->item(row, ColMarkerType);
    if (!event || !type)
        return;
    const std::optional<std::int32_t> number = tryParseInt(toBytes(type->text()));
    event->setText(number ? QString::fromLatin1(markerTypeName(*number)) : QString());
}

void TMarkersWindow::enableButtons() {
    BtnAddMarker->setEnabled(MarkerTable->rowCount() < kMaxMarkers);
    BtnRemoveMarker->setEnabled(MarkerTable->rowCount() > 0);
}

void TMarkersWindow::BtnAddMarkerClick() {
    addRow(QStringLiteral("0"), QString::number(knownMarkerTypes().front()));
    MarkerTable->setCurrentCell(MarkerTable->rowCount() - 1, ColMarkerFrame);
    enableButtons();
}

void TMarkersWindow::BtnRemoveMarkerClick() {
    const int row = MarkerTable->currentRow();
    if (row >= 0)
        MarkerTable->removeRow(row);
    enableButtons();
}

void TMarkersWindow::BBOkClick() {
    std::vector<MarkerText> rows;
    for (int row = 0; row < MarkerTable->rowCount(); ++row)
        rows.push_back({toBytes(MarkerTable->item(row, ColMarkerFrame)->text()),
                        toBytes(MarkerTable->item(row, ColMarkerType)->text())});
    const ParsedMarkers parsed = parseMarkers(rows);
    if (parsed.badRow >= 0) {
        showMessage(this, MessageKind::Error, QStringLiteral("Invalid value !"));
        MarkerTable->setCurrentCell(parsed.badRow, parsed.badColumn);
        MarkerTable->setFocus();
        return;
    }
    accepted_ = parsed.markers;
    accept();
}

} // namespace skyvane

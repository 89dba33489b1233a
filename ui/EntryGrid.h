// The entry grid: a table model over the working copy's entry table, and the view that shows
// it with the Entry column as a fixed row header and two modes (cell editing, row selection).
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include "document.h"

namespace skyvane {

// Model row e is entry e; model column c is table column c. The Entry column (0) is shown in
// the vertical header, so it never scrolls away and cannot be edited.
class EntryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    EntryGridModel(EntryTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The table changed behind the model's back: show every cell again.
    void refresh();

signals:
    // The user typed into a cell; the owner brings the working copy up to date.
    void cellEdited();

private:
    EntryTable& table_;
};

struct EntryRange {
    int first = 0;
    int last = 0;
};

class EntryGrid : public QTableView {
    Q_OBJECT
public:
    explicit EntryGrid(QWidget* parent = nullptr);

    // Editing mode: cells can be edited in place. Selection mode: whole runs of rows are
    // selected and nothing can be edited.
    void setRowSelectionMode(bool rows);
    bool rowSelectionMode() const { return rowSelection_; }
    // The selected run of entries, or the cursor's entry when nothing is selected.
    EntryRange selectedEntries() const;

    // Grid coordinates: row 0 is the header row, row e + 1 holds entry e.
    int cursorRow() const;
    int cursorColumn() const;
    void setCursor(int column, int row);

    // Commits a cell being edited, so commands see what was typed.
    void finishEditing();

    void setModel(QAbstractItemModel* newModel) override;

    // Wide enough to show every column without scrolling sideways.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitColumnsToValues();
    void paintCorner();

    QWidget* corner_ = nullptr;
    bool rowSelection_ = false;
};

} // namespace skyvane

// The entry grid: a table model over the working copy's entry table, and the view that shows
// it with the Entry column as a fixed row header and two modes (cell editing, row selection).
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include "core/session.h"

namespace skyvane {

// Model row e is entry e of the session's working copy; model column c is table column c. The
// Entry column (0) is shown in the vertical header, so it never scrolls away and cannot be
// edited. What the user types goes to the session as one step per cell.
class EntryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit EntryGridModel(EditSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The session changed: show every cell again.
    void refresh();

private:
    const EntryTable& table() const { return session_.entries(); }

    EditSession& session_;
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

    // The cursor's entry (0..999) and column; it never stands on the Entry column.
    int cursorEntry() const;
    int cursorColumn() const;
    void setCursor(int column, int entry);

    // Commits a cell being edited, so commands see what was typed.
    void finishEditing();
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }

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

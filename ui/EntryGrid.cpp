// The entry grid: model over the working copy and the view with its two modes.
#include "ui/EntryGrid.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <algorithm>

#include "widgets/Text.h"
#include "core/messagetext.h"

namespace skyvane {
namespace {

constexpr int kRowHeight = 16;
// The widest value a column is made for: five integer digits, a sign and the eight decimals
// that cells read from a file carry. The Entry column holds at most 999.
const QString kWidestValue = QStringLiteral("-99999.99999999");
const QString kWidestEntry = QStringLiteral("999");
// Room beyond the text, so it never touches the grid line.
constexpr int kSlack = 4;

const QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

} // namespace

EntryGridModel::EntryGridModel(EditSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {}

int EntryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table().rowCount();
}

int EntryGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant EntryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const std::string& cell = table().cell(index.column(), index.row());
    // A cell read from a file may hold millions of characters; laying them all out for a cell
    // a few digits wide would freeze the window. Editing still gets the whole text.
    return fromBytes(role == Qt::DisplayRole ? excerpt(cell) : cell);
}

bool EntryGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == ColEntry)
        return false;
    const std::string text = toBytes(value.toString());
    if (text == table().cell(index.column(), index.row()))
        return false;
    session_.typeCell(index.column(), index.row(), text);
    return true;
}

Qt::ItemFlags EntryGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != ColEntry)
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant EntryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < kColumnCount ? QString::fromLatin1(kColumnHeaders[section])
                                                      : QVariant();
    return section >= 0 && section < table().rowCount() ? fromBytes(table().cell(ColEntry, section))
                                                        : QVariant();
}

void EntryGridModel::refresh() {
    if (table().rowCount() == 0)
        return;
    emit dataChanged(index(0, 0), index(table().rowCount() - 1, kColumnCount - 1));
    emit headerDataChanged(Qt::Vertical, 0, table().rowCount() - 1);
}

EntryGrid::EntryGrid(QWidget* parent) : QTableView(parent) {
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Any column can be widened by dragging the edge of its header.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    corner_ = findChild<QAbstractButton*>();
    if (corner_)
        corner_->installEventFilter(this);
    setRowSelectionMode(false);
}

void EntryGrid::setRowSelectionMode(bool rows) {
    finishEditing();
    rowSelection_ = rows;
    setEditTriggers(rows ? QAbstractItemView::NoEditTriggers : kEditTriggers);
    setSelectionBehavior(rows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setSelectionMode(rows ? QAbstractItemView::ContiguousSelection
                          : QAbstractItemView::SingleSelection);
    if (!selectionModel())
        return;
    const QModelIndex current = currentIndex();
    const QItemSelectionModel::SelectionFlags flags =
        QItemSelectionModel::ClearAndSelect |
        (rows ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
    if (current.isValid())
        selectionModel()->select(current, flags);
    else
        selectionModel()->clearSelection();
}

EntryRange EntryGrid::selectedEntries() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return {cursorEntry(), cursorEntry()};
    EntryRange range{selection.first().top(), selection.first().bottom()};
    for (const QItemSelectionRange& part : selection) {
        range.first = std::min(range.first, part.top());
        range.last = std::max(range.last, part.bottom());
    }
    return range;
}

int EntryGrid::cursorEntry() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : 0;
}

int EntryGrid::cursorColumn() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : ColFrame;
}

void EntryGrid::setCursor(int column, int entry) {
    if (!model())
        return;
    entry = std::clamp(entry, 0, model()->rowCount() - 1);
    const int cellColumn = std::clamp(column, int(ColFrame), kColumnCount - 1);
    const QModelIndex target = model()->index(entry, cellColumn);
    selectionModel()->setCurrentIndex(
        target, QItemSelectionModel::ClearAndSelect |
                    (rowSelection_ ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
    scrollTo(target);
}

void EntryGrid::finishEditing() {
    if (!isEditing())
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void EntryGrid::setModel(QAbstractItemModel* newModel) {
    QTableView::setModel(newModel);
    if (!newModel)
        return;
    setColumnHidden(ColEntry, true);
    fitColumnsToValues();
    setRowSelectionMode(rowSelection_);
}

// Every column as wide as its header and the widest value it is made for, in the font the
// grid has; the Entry column, the row header, as wide as its caption and entry 999.
void EntryGrid::fitColumnsToValues() {
    const int cellMargins =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int valueWidth = fontMetrics().horizontalAdvance(kWidestValue) + cellMargins + kSlack;
    for (int column = ColFrame; column < kColumnCount; ++column)
        setColumnWidth(column,
                       std::max(valueWidth, horizontalHeader()->sectionSizeHint(column) + kSlack));

    const QFontMetrics header(verticalHeader()->font());
    const int headerMargins =
        2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, verticalHeader());
    verticalHeader()->setFixedWidth(
        std::max(header.horizontalAdvance(QString::fromLatin1(kColumnHeaders[ColEntry])),
                 header.horizontalAdvance(kWidestEntry)) +
        headerMargins + kSlack);
}

QSize EntryGrid::sizeHint() const {
    const int width = 2 * frameWidth() + verticalHeader()->width() + horizontalHeader()->length() +
                      verticalScrollBar()->sizeHint().width();
    return {width, QTableView::sizeHint().height()};
}

bool EntryGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        paintCorner();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

// Tab moves between cells, so Ctrl+Tab is the keyboard's way out of the grid to the other
// controls of the window.
void EntryGrid::keyPressEvent(QKeyEvent* event) {
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier)) {
        const bool backwards =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        finishEditing();
        QWidget::focusNextPrevChild(!backwards); // the view's own override would move the cursor
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// The top-left corner carries the Entry column's header text.
void EntryGrid::paintCorner() {
    QStyleOptionHeader option;
    option.initFrom(corner_);
    option.rect = corner_->rect();
    option.text = QString::fromLatin1(kColumnHeaders[ColEntry]);
    // The corner takes no clicks, but its caption reads like the other headers.
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(QPalette::Active);
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    QPainter painter(corner_);
    corner_->style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
}

} // namespace skyvane

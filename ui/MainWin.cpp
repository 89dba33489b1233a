// The main window: the document with its node tabs, the entry grid as the working copy of the
// current node, the file commands, the frame commands and the doors to tools, preview and help.
#include "MainWin.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "EditBoxes.h"
#include "EntryGrid.h"
#include "ErrorReport.h"
#include "FileDrops.h"
#include "RecentFiles.h"
#include "Text.h"
#include "Transform.h"
#include "WindowPlacement.h"
#include "about.h"
#include "fileio.h"
#include "fr_insert.h"
#include "keyfile.h"
#include "mesh3do.h"
#include "numbers.h"
#include "offset.h"
#include "orientate.h"
#include "playback.h"
#include "preview.h"
#include "temphelp.h"
#include "validation.h"

namespace skyvane {
namespace {

constexpr QRect kWindowRect{24, 24, 640, 480};
constexpr int kPanelHeight = 40;
constexpr int kStatusHeight = 24;
constexpr int kMeshPanelWidth = 152;
// Panel rows: a label, then its control; labels take the width their text needs.
constexpr int kRowLeft = 8;
constexpr int kControlTop = 8;
constexpr int kControlHeight = 22;
constexpr int kLabelGap = 4;
constexpr int kFieldGap = 16;
constexpr int kFrameRateWidth = 57;
constexpr int kNodesWidth = 49;
constexpr int kMeshNameWidth = 145;
constexpr int kNumEntriesWidth = 41;
constexpr QRect kMeshButtonRect{8, 8, 137, 24};

const QString kUntitled = QStringLiteral("UNTITLED");
const QString kKeyFilter = QStringLiteral("Jedi Knight keyframe files|*.KEY");
const QString k3doFilter = QStringLiteral("Jedi Knight 3DO files|*.3DO");

using Handler = void (TMainWindow::*)();

// One menu item: objectName, caption ("-" for a separator) and handler.
struct MenuItem {
    const char* name;
    const char* caption;
    Handler handler;
};

struct MenuDef {
    const char* name;
    const char* caption;
    std::vector<MenuItem> items;
};

// Places `control` with its label at `left` and returns where the next field starts.
int placeField(const QString& caption, QWidget* control, int width, int left) {
    auto* label = new QLabel(caption, control->parentWidget());
    label->setBuddy(control);
    const int labelWidth = label->sizeHint().width();
    label->setGeometry(left, kControlTop, labelWidth, kControlHeight);
    control->setGeometry(left + labelWidth + kLabelGap, kControlTop, width, kControlHeight);
    return control->geometry().right() + kFieldGap;
}

QFrame* makePanel(const QString& name, QFrame::Shadow shadow, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(shadow == QFrame::Plain ? int(QFrame::NoFrame)
                                                 : int(QFrame::Panel) | int(shadow));
    return panel;
}

} // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent), OpenKEY({QStringLiteral("OpenKEY"), QStringLiteral("Open KEY"),
                                    kKeyFilter, QStringLiteral("KEY"), false, QString()}),
      SaveKEY({QStringLiteral("SaveKEY"), QStringLiteral("Save KEY"), kKeyFilter,
               QStringLiteral("KEY"), true, QString()}),
      Open3DO({QStringLiteral("Open3DO"), QStringLiteral("Open 3DO"), k3doFilter,
               QStringLiteral("3DO"), false, QString()}) {
    createGui();
    resetDocument();
    addNodeTab();
    showNodeCount();
    setCaption(kUntitled);
    fitWidthToGrid(); // once the first tab is there, so the layout knows every control's size
}

// The grid shows the working copy, a member that dies before the widgets do: cut it off first.
TMainWindow::~TMainWindow() {
    QObject::disconnect(model_, nullptr, this, nullptr);
    DataGrid->setModel(nullptr);
}

void TMainWindow::setSecondaryWindows(const SecondaryWindows& windows) {
    windows_ = windows;
}

// ---------------------------------------------------------------------------------------------
// Layout

void TMainWindow::createGui() {
    setObjectName(QStringLiteral("MainWindow"));
    setGeometry(kWindowRect);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(createDocumentPanel());

    NodeTabs = new QTabBar(central);
    NodeTabs->setObjectName(QStringLiteral("NodeTabs"));
    NodeTabs->setExpanding(false);
    NodeTabs->setDrawBase(true);
    connect(NodeTabs, &QTabBar::currentChanged, this, &TMainWindow::onTabChanged);
    layout->addWidget(NodeTabs);
    layout->addWidget(createNodePanel(), 1);

    PNLErrors = new QLabel(central);
    PNLErrors->setObjectName(QStringLiteral("PNLErrors"));
    PNLErrors->setFixedHeight(kStatusHeight);
    PNLErrors->setAlignment(Qt::AlignCenter);
    QFont bold = PNLErrors->font();
    bold.setBold(true);
    PNLErrors->setFont(bold);
    PNLErrors->setStyleSheet(QStringLiteral("color: black"));
    layout->addWidget(PNLErrors);

    setCentralWidget(central);
    createMenus();
    selectTextOnFocus(this);
    createRecentMenu();
    new FileDrops(this, [this](const QString& path) { openFile(path); });
}

// The window starts wide enough for the grid to show all nine columns; it can be resized and
// maximised, and the grid follows.
void TMainWindow::fitWidthToGrid() {
    resize(std::max(width(), sizeHint().width()), height());
}

QWidget* TMainWindow::createDocumentPanel() {
    Panel1 = makePanel(QStringLiteral("Panel1"), QFrame::Sunken, this);
    Panel1->setFixedHeight(kPanelHeight);
    FrameRate = new QLineEdit(Panel1);
    FrameRate->setObjectName(QStringLiteral("FrameRate"));
    const int next = placeField(QStringLiteral("Frame Rate:"), FrameRate,
                                std::max(kFrameRateWidth, numberBoxWidth(*FrameRate)), kRowLeft);

    SENodes = new QSpinBox(Panel1);
    SENodes->setObjectName(QStringLiteral("SENodes"));
    placeField(QStringLiteral("Nodes:"), SENodes, kNodesWidth, next);
    SENodes->setRange(0, kMaxNodes);
    // Nodes come and go one at a time: only the arrows change the count.
    if (auto* edit = SENodes->findChild<QLineEdit*>())
        edit->setReadOnly(true);
    connect(SENodes, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int value) { runGuarded([&] { SENodesChange(value); }, this); });
    return Panel1;
}

QWidget* TMainWindow::createNodePanel() {
    auto* page = new QFrame(this);
    page->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(2, 2, 2, 2);
    pageLayout->setSpacing(0);

    Panel2 = makePanel(QStringLiteral("Panel2"), QFrame::Plain, page);
    Panel2->setFixedHeight(kPanelHeight);
    MeshName = new QComboBox(Panel2);
    MeshName->setObjectName(QStringLiteral("MeshName"));
    const int next = placeField(QStringLiteral("Mesh Name :"), MeshName, kMeshNameWidth, kRowLeft);
    MeshName->setEditable(true);
    MeshName->setInsertPolicy(QComboBox::NoInsert);
    NumEntries = new QLineEdit(QStringLiteral("0"), Panel2);
    NumEntries->setObjectName(QStringLiteral("NumEntries"));
    placeField(QStringLiteral("Entries :"), NumEntries, kNumEntriesWidth, next);
    NumEntries->setReadOnly(true);
    pageLayout->addWidget(Panel2);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    DataGrid = new EntryGrid(page);
    DataGrid->setObjectName(QStringLiteral("DataGrid"));
    model_ = new EntryGridModel(working_.table, this);
    DataGrid->setModel(model_);
    connect(model_, &EntryGridModel::cellEdited, this, &TMainWindow::workingCopyChanged);
    connect(DataGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(DataGrid->viewport()->mapToGlobal(at)); });
    body->addWidget(DataGrid, 1);

    Panel3 = makePanel(QStringLiteral("Panel3"), QFrame::Plain, page);
    BtnGetMeshName = new QPushButton(QStringLiteral("Get Mesh Names from 3DO"), Panel3);
    BtnGetMeshName->setObjectName(QStringLiteral("BtnGetMeshName"));
    // The caption stays readable where the font is wider than designed.
    QRect button = kMeshButtonRect;
    button.setWidth(std::max(button.width(), BtnGetMeshName->sizeHint().width()));
    BtnGetMeshName->setGeometry(button);
    Panel3->setFixedWidth(std::max(kMeshPanelWidth, button.right() + kMeshButtonRect.left()));
    connect(BtnGetMeshName, &QPushButton::clicked, this,
            [this] { runGuarded([&] { BtnGetMeshNameClick(); }, this); });
    body->addWidget(Panel3);
    pageLayout->addLayout(body, 1);
    return page;
}

void TMainWindow::createMenus() {
    const std::vector<MenuDef> mainMenu = {
        {"FileMenu",
         "&File",
         {{"New1", "&New KEY", &TMainWindow::New1Click},
          {"Open", "&Open KEY", &TMainWindow::OpenClick},
          {"Save", "&Save KEY", &TMainWindow::SaveClick},
          {"N1", "-", nullptr},
          {"Exit1", "E&xit", &TMainWindow::Exit1Click}}},
        {"EditMenu",
         "&Edit",
         {{"Copy1", "&Copy Frames", &TMainWindow::Copy1Click},
          {"Paste1", "&Paste Frames", &TMainWindow::Paste1Click},
          {"N3", "-", nullptr},
          {"InsFrames1", "&Insert Frames", &TMainWindow::InsFrames1Click},
          {"ClrFrames1", "Clea&r Frames", &TMainWindow::ClrFrames1Click},
          {"DelFrames1", "&Delete Frames", &TMainWindow::DelFrames1Click}}},
        {"ToolsMenu",
         "&Tools",
         {{"Check1", "&Check Data", &TMainWindow::Check1Click},
          {"CheckPlayback1", "Check Pla&yback", &TMainWindow::CheckPlayback1Click},
          {"N8", "-", nullptr},
          {"FillDown1", "&Transform Object", &TMainWindow::Transform1Click},
          {"OffsetVal1", "&Offset Values", &TMainWindow::OffsetVal1Click},
          {"AutoOrientate1", "&Auto Orientate", &TMainWindow::AutoOrientate1Click},
          {"N9", "-", nullptr},
          {"Preview1", "3D &Preview", &TMainWindow::Preview1Click}}},
        {"HelpMenu",
         "&Help",
         {{"Contents1", "&Contents", &TMainWindow::Contents1Click},
          {"N2", "-", nullptr},
          {"About1", "&About", &TMainWindow::About1Click}}},
    };
    const MenuDef popupMenu = {
        "PopupMenu1",
        "",
        {{"Copy2", "Copy Frames", &TMainWindow::Copy1Click},
         {"Paste2", "Paste Frames", &TMainWindow::Paste1Click},
         {"N7", "-", nullptr},
         {"InsFrames2", "Insert Frames", &TMainWindow::InsFrames1Click},
         {"ClrFrames2", "Clear Frames", &TMainWindow::ClrFrames1Click},
         {"DelFrames2", "Delete Frames", &TMainWindow::DelFrames1Click},
         {"N4", "-", nullptr},
         {"Check2", "Check Data", &TMainWindow::Check1Click},
         {"CheckPlayback2", "Check Playback", &TMainWindow::CheckPlayback1Click},
         {"FillDown2", "Transform Object", &TMainWindow::Transform1Click},
         {"OffsetVal2", "Offset values", &TMainWindow::OffsetVal1Click},
         {"AutoOrientate2", "Auto Orientate", &TMainWindow::AutoOrientate1Click},
         {"N6", "-", nullptr},
         {"Preview2", "3D Preview", &TMainWindow::Preview1Click}}};

    auto fill = [this](QMenu* menu, const MenuDef& def) {
        menu->setObjectName(QString::fromLatin1(def.name));
        for (const MenuItem& item : def.items) {
            QAction* action = item.handler ? menu->addAction(QString::fromLatin1(item.caption))
                                           : menu->addSeparator();
            action->setObjectName(QString::fromLatin1(item.name));
            if (!item.handler)
                continue;
            const Handler handler = item.handler;
            connect(action, &QAction::triggered, this, [this, handler] {
                // What is being typed into a cell counts before any command looks at the grid.
                DataGrid->finishEditing();
                runGuarded([&] { (this->*handler)(); }, this);
            });
        }
    };

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuDef& def : mainMenu)
        fill(MainMenu1->addMenu(QString::fromLatin1(def.caption)), def);
    setMenuBar(MainMenu1);

    PopupMenu1 = new QMenu(this);
    fill(PopupMenu1, popupMenu);

    Paste1 = MainMenu1->findChild<QAction*>(QStringLiteral("Paste1"));
    Paste2 = PopupMenu1->findChild<QAction*>(QStringLiteral("Paste2"));
    Paste1->setEnabled(false);
    Paste2->setEnabled(false);
}

// File > Open Recent, right after Open KEY.
void TMainWindow::createRecentMenu() {
    auto* fileMenu = MainMenu1->findChild<QMenu*>(QStringLiteral("FileMenu"));
    auto* recentMenu = new QMenu(QStringLiteral("Open &Recent"), fileMenu);
    recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    recentMenu->menuAction()->setObjectName(QStringLiteral("OpenRecent1"));
    const QList<QAction*> items = fileMenu->actions();
    const auto open = std::find_if(items.begin(), items.end(), [](const QAction* item) {
        return item->objectName() == QStringLiteral("Open");
    });
    fileMenu->insertMenu(*(open + 1), recentMenu);
    recentFiles_ = new RecentFiles(recentMenu, [this](const QString& path) { openFile(path); });
}

void TMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    DataGrid->setFocus();
}

// ---------------------------------------------------------------------------------------------
// GridHost

const EntryTable& TMainWindow::entries() const {
    return working_.table;
}

void TMainWindow::applyCellEdits(const std::vector<CellEdit>& edits) {
    skyvane::applyCellEdits(working_.table, edits);
    workingCopyChanged();
}

int TMainWindow::cursorRow() const {
    return DataGrid->cursorRow();
}

void TMainWindow::setCursor(int column, int row) {
    DataGrid->setCursor(column, row);
}

void TMainWindow::setCursorRow(int row) {
    DataGrid->setCursor(DataGrid->cursorColumn(), row);
}

void TMainWindow::focusGrid() {
    DataGrid->setFocus();
}

void TMainWindow::setStatus(const QString& text) {
    PNLErrors->setText(text);
}

QString TMainWindow::numEntriesText() const {
    return NumEntries->text();
}

bool TMainWindow::checkEntries(int first, int last) {
    return showEntryCheck(skyvane::checkEntries(working_.table, first, last));
}

// Leaving the node and saving it check it whole, so no entry after a gap is dropped unseen.
bool TMainWindow::checkNode() {
    return showEntryCheck(skyvane::checkNode(working_.table));
}

// The verdict in PNLErrors and the cursor on a faulty cell; true on a fault.
bool TMainWindow::showEntryCheck(const EntryCheck& check) {
    if (check.outcome != EntryCheck::Outcome::RangeEnded)
        setStatus(fromBytes(check.message));
    if (check.fault())
        setCursor(check.column, check.entry + 1);
    return check.fault();
}

QWidget* TMainWindow::mainWidget() {
    return this;
}

// ---------------------------------------------------------------------------------------------
// Document, nodes and tabs

// Everything back to an empty document without nodes; callers add node 0.
void TMainWindow::resetDocument() {
    skyvane::resetDocument(Document);
    // The last verdict spoke of the document that is gone.
    PNLErrors->clear();
    FrameRate->setText(fromBytes(formatPattern(Document.Fps, "00.000")));
    frameRateShown_ = FrameRate->text();
    {
        const QSignalBlocker blocker(NodeTabs);
        while (NodeTabs->count() > 0)
            NodeTabs->removeTab(NodeTabs->count() - 1);
    }
    currentNode_ = -1;
    showNodeCount();
    MeshName->clear();
    MeshName->setEditText(QString());
    NumEntries->setText(QStringLiteral("0"));
    resetWorkingCopy(working_);
    workingCopyChanged();
    setCursor(ColFrame, 1);
}

// Takes over a document read from a file; node 0 becomes current.
void TMainWindow::installDocument(TKeyDocument document) {
    resetDocument();
    Document = std::move(document);
    // A file without nodes leaves the editor usable, as after New.
    if (Document.Nodes.empty())
        skyvane::addNode(Document);
    FrameRate->setText(fromBytes(formatPattern(Document.Fps, "#.00")));
    frameRateShown_ = FrameRate->text();
    rebuildTabs();
    showNodeCount();
    loadCurrentNode();
}

void TMainWindow::rebuildTabs() {
    const QSignalBlocker blocker(NodeTabs);
    while (NodeTabs->count() > 0)
        NodeTabs->removeTab(NodeTabs->count() - 1);
    for (std::size_t node = 0; node < Document.Nodes.size(); ++node)
        NodeTabs->addTab(QStringLiteral("Node %1").arg(node));
    NodeTabs->setCurrentIndex(0);
    currentNode_ = 0;
}

// The box follows the node list without raising its change event; more than 50 nodes (read
// from a file) show as 50.
void TMainWindow::showNodeCount() {
    const QSignalBlocker blocker(SENodes);
    SENodes->setValue(std::min(int(Document.Nodes.size()), kMaxNodes));
}

void TMainWindow::addNodeTab() {
    skyvane::addNode(Document);
    const QSignalBlocker blocker(NodeTabs);
    NodeTabs->addTab(QStringLiteral("Node %1").arg(Document.Nodes.size() - 1));
    if (currentNode_ < 0)
        currentNode_ = NodeTabs->currentIndex();
}

void TMainWindow::removeLastNodeTab() {
    removeLastNode(Document);
    const QSignalBlocker blocker(NodeTabs);
    NodeTabs->removeTab(NodeTabs->count() - 1);
}

void TMainWindow::storeCurrentNode() {
    working_.mesh = toBytes(MeshName->currentText());
    working_.numEntries = toBytes(NumEntries->text());
    storeWorkingCopy(Document, currentNode_, working_);
}

void TMainWindow::loadCurrentNode() {
    loadNode(Document, currentNode_, working_);
    MeshName->setEditText(fromBytes(working_.mesh));
    NumEntries->setText(fromBytes(working_.numEntries));
    workingCopyChanged();
}

// After every change of the working copy: the entry defaults, the entry count, the display.
void TMainWindow::workingCopyChanged() {
    applyEntryDefaults(working_.table);
    const int count = countEntries(working_.table);
    working_.numEntries = std::to_string(count);
    NumEntries->setText(QString::number(count));
    model_->refresh();
}

void TMainWindow::SENodesChange(int value) {
    const int count = int(Document.Nodes.size());
    if (value > count) {
        addNodeTab();
    } else if (value < count && NodeTabs->currentIndex() != count - 1) {
        if (showMessage(this, MessageKind::Confirm,
                        QStringLiteral("This will remove the last Node. Proceed?"),
                        MessageButtons::OkCancel) == MessageAnswer::Ok)
            removeLastNodeTab();
    }
    // The current node is never removed: the box snaps back to the node count.
    showNodeCount();
}

void TMainWindow::onTabChanged(int index) {
    if (index < 0 || index == currentNode_)
        return;
    DataGrid->finishEditing();
    bool allowed = false;
    runGuarded([&] { allowed = NodeTabsChanging(); }, this);
    if (!allowed) {
        const QSignalBlocker blocker(NodeTabs);
        NodeTabs->setCurrentIndex(currentNode_);
        return;
    }
    currentNode_ = index;
    runGuarded([&] { NodeTabsChange(); }, this);
}

// Leaving a node is allowed only when its entries pass the check; it is stored first.
bool TMainWindow::NodeTabsChanging() {
    if (checkNode())
        return false;
    storeCurrentNode();
    return true;
}

void TMainWindow::NodeTabsChange() {
    loadCurrentNode();
}

void TMainWindow::BtnGetMeshNameClick() {
    const QString path = Open3DO.execute(this);
    if (!path.isEmpty())
        readMeshNames(path);
}

bool TMainWindow::readMeshNames(const QString& path) {
    const QString notValid = QStringLiteral("Not a valid 3DO file!");
    std::optional<std::vector<std::string>> names;
    try {
        names = read3doMeshNamesFromFile(localPath(path));
    } catch (const FileError& e) {
        // A file that cannot be read is no 3DO model either: the same box, with the reason.
        showMessage(this, MessageKind::Error, notValid + QLatin1Char('\n') + reasonText(e.what()));
        return false;
    }
    if (!names) {
        showMessage(this, MessageKind::Error, notValid);
        return false;
    }
    Open3DO.keep(path);
    MeshName->clear();
    for (const std::string& name : *names)
        MeshName->addItem(fromBytes(name));
    MeshName->setEditText(names->empty() ? QString() : fromBytes(names->front()));
    return true;
}

// ---------------------------------------------------------------------------------------------
// File commands

void TMainWindow::setCaption(const QString& fileName) {
    setWindowTitle(QStringLiteral("Skyvane - ") + fileName);
}

// Asks to save when the document holds data. False when the command must stop.
bool TMainWindow::offerToSave() {
    if (!documentHoldsData(Document, currentNode_, toBytes(NumEntries->text())))
        return true;
    switch (showMessage(this, MessageKind::Confirm,
                        QStringLiteral("Do you want to save your data?"),
                        MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        return saveDocument();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

// Stores, checks, asks for the name and writes. False when the check failed or the dialog was
// cancelled; a failed write throws and is reported by the caller's error handler.
bool TMainWindow::saveDocument() {
    storeCurrentNode();
    if (preSaveCheck())
        return false;
    const QString path = SaveKEY.execute(this);
    if (path.isEmpty())
        return false;
    writeDocument(path);
    SaveKEY.keep(path);
    setCaption(path);
    recentFiles_->add(path);
    return true;
}

// All three checks run, so the user sees every complaint at once. True when anything is wrong.
bool TMainWindow::preSaveCheck() {
    bool fault = checkNode();
    if (!frameRateIsValid(toBytes(FrameRate->text()))) {
        showMessage(this, MessageKind::Error, QStringLiteral("Invalid value !"));
        FrameRate->setFocus();
        fault = true;
    }
    if (const std::optional<NodeMeshFault> mesh = firstMeshNameFault(Document)) {
        showMessage(this, MessageKind::Warning, QString::fromLatin1(meshNameMessage(mesh->fault)));
        MeshName->setFocus();
        fault = true;
    }
    return fault;
}

// A frame rate the user typed is the one saved; one read from a file keeps its precision.
std::optional<float> TMainWindow::savedFrameRate() const {
    if (FrameRate->text() == frameRateShown_)
        return Document.Fps;
    const std::string text = toBytes(FrameRate->text());
    if (!frameRateIsValid(text))
        return std::nullopt;
    return parseSingle(text);
}

void TMainWindow::writeDocument(const QString& path) {
    // The pre-save check has seen a number in the box.
    Document.Fps = savedFrameRate().value_or(Document.Fps);
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    saveKeyFile(localPath(path), Document,
                toBytes(locale.toString(now.date(), QLocale::ShortFormat)),
                toBytes(locale.toString(now.time(), QLocale::LongFormat)));
}

// Reads the whole file before touching anything: an unreadable file leaves the document as
// it was.
bool TMainWindow::readDocument(const QString& path) {
    KeyReadResult result = readKeyFile(localPath(path));
    if (!result.ok) {
        showMessage(this, MessageKind::Error,
                    QStringLiteral("Not a valid KEY file!\n") + reasonText(result.reason));
        return false;
    }
    installDocument(std::move(result.document));
    OpenKEY.keep(path);
    setCaption(path);
    recentFiles_->add(path);
    return true;
}

void TMainWindow::New1Click() {
    if (!offerToSave())
        return;
    resetDocument();
    addNodeTab();
    showNodeCount();
    setCaption(kUntitled);
}

void TMainWindow::OpenClick() {
    if (!offerToSave())
        return;
    const QString path = OpenKEY.execute(this);
    if (path.isEmpty())
        return;
    readDocument(path);
}

bool TMainWindow::openFile(const QString& path) {
    DataGrid->finishEditing();
    bool opened = false;
    runGuarded(
        [&] {
            // A model only offers its mesh names, as Get Mesh Names does; the document stays.
            opened =
                is3doFileName(path) ? readMeshNames(path) : offerToSave() && readDocument(path);
        },
        this);
    return opened;
}

void TMainWindow::SaveClick() {
    saveDocument();
}

void TMainWindow::Exit1Click() {
    close();
}

// Unsaved work is never lost silently: closing offers to save as New does.
void TMainWindow::closeEvent(QCloseEvent* event) {
    DataGrid->finishEditing();
    bool mayClose = false;
    runGuarded([&] { mayClose = offerToSave(); }, this);
    if (!mayClose) {
        event->ignore();
        return;
    }
    if (windows_.frameSelector)
        windows_.frameSelector->hide();
    QMainWindow::closeEvent(event);
}

void TMainWindow::Check1Click() {
    if (checkNode())
        showMessage(this, MessageKind::Error, QStringLiteral("Error found in Data!"));
    else
        showMessage(this, MessageKind::Information, QStringLiteral("No Errors found!"));
}

// Lists where the game's playback jumps, in every node, and puts the cursor on the Steps cell of
// the first one. Changes no cell.
void TMainWindow::CheckPlayback1Click() {
    if (checkEntries(0, kMaxEntries - 1)) {
        showMessage(this, MessageKind::Error, QStringLiteral("Error found in Data!"));
        return;
    }
    TKeyDocument document = Document;
    WorkingCopy current = working_;
    current.numEntries = toBytes(NumEntries->text());
    storeWorkingCopy(document, currentNode_, current);
    const std::vector<PlaybackJump> jumps = documentJumps(document);
    showMessage(this, MessageKind::Information, fromBytes(checkPlaybackMessage(jumps)));
    if (jumps.empty())
        return;
    const PlaybackJump& first = jumps.front();
    // Another node is reached as a tab change is: the current node has just passed its check.
    if (first.node != currentNode_)
        NodeTabs->setCurrentIndex(first.node);
    if (first.node == currentNode_) {
        setCursor(ColSteps, first.entry + 1);
        focusGrid();
    }
}

PlaybackTiming TMainWindow::playbackTiming() const {
    std::int32_t largest = largestFrame(working_.table, countEntries(working_.table), currentNode_);
    for (int k = 0; k < static_cast<int>(Document.Nodes.size()); ++k)
        if (k != currentNode_)
            largest = std::max(largest,
                               largestFrame(Document.Nodes[k].Data, Document.Nodes[k].Entries, k));
    return {std::int64_t{largest} + 1, savedFrameRate()};
}

std::vector<KeyNodeTrack> TMainWindow::keyNodes() const {
    std::vector<KeyNodeTrack> nodes;
    for (const TNode& node : Document.Nodes)
        nodes.push_back({node.Mesh, &node.Data, node.Entries});
    if (currentNode_ >= 0 && currentNode_ < static_cast<int>(nodes.size()))
        nodes[static_cast<std::size_t>(currentNode_)] = {
            toBytes(MeshName->currentText()), &working_.table, countEntries(working_.table)};
    return nodes;
}

void TMainWindow::Transform1Click() {
    const std::optional<long double> rate = tryParseFloat(toBytes(FrameRate->text()));
    if (!rate) {
        showMessage(this, MessageKind::Error, QStringLiteral("Invalid frame-rate value!"));
        FrameRate->setFocus();
        return;
    }
    windows_.transformWindow->setFramesPerSecond(toSingle(*rate));
    windows_.transformWindow->setStartEntry(cursorRow() - 1);
    windows_.transformWindow->exec();
}

void TMainWindow::Preview1Click() {
    windows_.previewWindow->show();
    windows_.previewWindow->raise();
    windows_.previewWindow->activateWindow();
}

void TMainWindow::Contents1Click() {
    windows_.helpWin->exec();
}

void TMainWindow::About1Click() {
    windows_.aboutWin->exec();
}

// ---------------------------------------------------------------------------------------------
// Frame commands

void TMainWindow::openSelector(const QString& prompt, int command) {
    // The selector opens where it leaves the rows to be selected in view.
    if (!windows_.frameSelector->isVisible())
        placeClearOf(*windows_.frameSelector, *DataGrid);
    windows_.frameSelector->selectFor(prompt, command);
}

void TMainWindow::Copy1Click() {
    openSelector(QStringLiteral("Select entries to Copy, then press OK"), CopyCommand);
    // Paste is offered from the first Copy on, confirmed or not.
    Paste1->setEnabled(true);
    Paste2->setEnabled(true);
}

void TMainWindow::ClrFrames1Click() {
    openSelector(QStringLiteral("Select entries to Clear, then press OK"), ClearCommand);
}

void TMainWindow::DelFrames1Click() {
    openSelector(QStringLiteral("Select entries to Remove, then press OK"), DeleteCommand);
}

void TMainWindow::OffsetVal1Click() {
    openSelector(QStringLiteral("Select entries to Offset, then press OK"), OffsetCommand);
}

void TMainWindow::AutoOrientate1Click() {
    openSelector(QStringLiteral("Select entries to Orientate, then press OK"), OrientateCommand);
}

void TMainWindow::Paste1Click() {
    const int at = cursorRow() - 1;
    if (pasteLosesEntries(working_.table, FrameClipboard, at)) {
        showMessage(this, MessageKind::Error, QStringLiteral("Not enough room to paste frames!"));
        return;
    }
    pasteEntries(working_.table, FrameClipboard, at);
    workingCopyChanged();
}

void TMainWindow::InsFrames1Click() {
    if (windows_.insertWindow->exec() == QDialog::Accepted)
        insertFrames(windows_.insertWindow->frameCount());
}

void TMainWindow::insertFrames(int count) {
    const int at = cursorRow() - 1;
    // Entries after an emptied one are not counted in NumEntries but still hold data.
    if (parseInt(toBytes(NumEntries->text())) + count > kMaxEntries ||
        insertLosesEntries(working_.table, count, at)) {
        showMessage(this, MessageKind::Error, QStringLiteral("Not enough room to insert frames!"));
        return;
    }
    openGap(working_.table, count, at);
    workingCopyChanged();
}

void TMainWindow::setRowSelectionMode(bool rows) {
    DataGrid->setRowSelectionMode(rows);
}

void TMainWindow::selectedEntries(int& first, int& last) const {
    const EntryRange range = DataGrid->selectedEntries();
    first = range.first;
    last = range.last;
}

void TMainWindow::runFrameCommand(int command, int first, int last) {
    runGuarded(
        [&] {
            switch (command) {
            case ClearCommand:
                clearEntries(working_.table, first, last);
                break;
            case DeleteCommand:
                closeGap(working_.table, first, last);
                break;
            case CopyCommand:
                FrameClipboard = copyEntries(working_.table, first, last);
                return;
            case OffsetCommand:
                windows_.offsetWindow->setRange(first, last);
                windows_.offsetWindow->exec();
                return;
            case OrientateCommand:
                windows_.orientateWindow->setRange(first, last);
                windows_.orientateWindow->exec();
                return;
            default:
                return;
            }
            workingCopyChanged();
        },
        this);
}

} // namespace skyvane

// The main window: the editing session shown with its node tabs and the entry grid, the file
// commands, undo and redo, the frame commands and the doors to tools, preview and help. Handlers
// read their widgets and call the session; the widgets follow the session's changes.
#include "ui/MainWin.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
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
#include <limits>
#include <string_view>

#include "widgets/EditBoxes.h"
#include "ui/EntryGrid.h"
#include "widgets/ErrorReport.h"
#include "ui/FileDrops.h"
#include "ui/RecentFiles.h"
#include "widgets/Text.h"
#include "tools/Transform.h"
#include "ui/WindowPlacement.h"
#include "ui/about.h"
#include "core/fileio.h"
#include "ui/fr_insert.h"
#include "ui/markers.h"
#include "core/keyfile.h"
#include "tools/mendcalc.h"
#include "formats/model3do.h"
#include "core/numbers.h"
#include "tools/offset.h"
#include "tools/orientate.h"
#include "core/playback.h"
#include "preview/preview.h"
#include "tools/retime.h"
#include "tools/smooth.h"
#include "ui/temphelp.h"
#include "core/validation.h"

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
constexpr int kTypeWidth = 57;
constexpr int kCountWidth = 57;
constexpr int kMaxJoint = 499; // the reader takes files of at most 500 joints
constexpr QRect kMeshButtonRect{8, 8, 137, 24};

const QString kUntitled = QStringLiteral("UNTITLED");
const QString kKeyFilter = QStringLiteral("Jedi Knight keyframe files|*.KEY");
const QString k3doFilter = QStringLiteral("Jedi Knight 3DO files|*.3DO");

// The file's date and time lines in the user's own format.
void writeKeyFile(const std::string& path, const TKeyDocument& document) {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    saveKeyFile(path, document, toBytes(locale.toString(now.date(), QLocale::ShortFormat)),
                toBytes(locale.toString(now.time(), QLocale::LongFormat)));
}

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
    session_.setChangeListener([this] { sessionChanged(); });
    startedAfresh();
    fitWidthToGrid(); // once the first tab is there, so the layout knows every control's size
}

// The grid and the boxes reach the session, a member that dies before the widgets do: cut them
// off first.
TMainWindow::~TMainWindow() {
    session_.setChangeListener(nullptr);
    const std::initializer_list<QObject*> senders = {FrameRate, MeshName, MeshName->lineEdit(),
                                                     DataGrid->selectionModel()};
    for (QObject* sender : senders)
        QObject::disconnect(sender, nullptr, this, nullptr);
    DataGrid->setModel(nullptr);
}

void TMainWindow::setSecondaryWindows(const SecondaryWindows& windows) {
    windows_ = windows;
    if (windows_.previewWindow)
        windows_.previewWindow->shareUndoKeys({Undo1, Redo1});
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
    // The boxes hand every keystroke to the session, so their undo keys are the session's: a
    // box's own undo would be recorded as a new step and throw the redo history away.
    FrameRate->installEventFilter(this);
    // The combo box passes its keys on to its line edit, which may also have the focus.
    MeshName->installEventFilter(this);
    MeshName->lineEdit()->installEventFilter(this);
    // The header boxes come after the designed controls in the Tab cycle, so the keys that
    // walk from one designed control to the next are as they always were.
    QWidget* const chain[] = {BtnGetMeshName, HeaderType, LoopFrames, CBFitFrames,
                              SEJoints,       SEJoint,    FrameRate};
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
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
    int left = SENodes->geometry().right() + kFieldGap;

    HeaderType = new QLineEdit(Panel1);
    HeaderType->setObjectName(QStringLiteral("HeaderType"));
    left = placeField(QStringLiteral("Type:"), HeaderType,
                      std::max(kTypeWidth, numberBoxWidth(*HeaderType)), left);
    connect(HeaderType, &QLineEdit::editingFinished, this, [this] {
        setHeaderField(kStepType, [&](KeyHeader& h) { h.type = toBytes(HeaderType->text()); });
    });

    LoopFrames = new QSpinBox(Panel1);
    LoopFrames->setObjectName(QStringLiteral("LoopFrames"));
    LoopFrames->setRange(1, std::numeric_limits<int>::max());
    LoopFrames->setKeyboardTracking(false);
    left = placeField(QStringLiteral("Frames:"), LoopFrames, kCountWidth + 20, left);
    connect(LoopFrames, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        setHeaderField(kStepFrames, [&](KeyHeader& h) { h.frames = value; });
    });
    CBFitFrames = new QCheckBox(QStringLiteral("Fit"), Panel1);
    CBFitFrames->setObjectName(QStringLiteral("CBFitFrames"));
    CBFitFrames->setGeometry(left - kFieldGap + kLabelGap, kControlTop,
                             CBFitFrames->sizeHint().width(), kControlHeight);
    left = CBFitFrames->geometry().right() + kFieldGap;
    // Fit: the loop ends with the last entry, as in a new document.
    connect(CBFitFrames, &QCheckBox::toggled, this, [this](bool fit) {
        setHeaderField(kStepFrames, [&](KeyHeader& h) {
            h.frames = fit ? std::nullopt : std::optional<std::int64_t>(LoopFrames->value());
        });
    });

    SEJoints = new QSpinBox(Panel1);
    SEJoints->setObjectName(QStringLiteral("SEJoints"));
    SEJoints->setRange(0, kMaxJoint + 1);
    SEJoints->setKeyboardTracking(false);
    placeField(QStringLiteral("Joints:"), SEJoints, kNodesWidth, left);
    // The node count is not kept: the count then follows nodes added later.
    connect(SEJoints, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        setHeaderField(kStepJoints, [&](KeyHeader& h) {
            h.joints = value == session_.nodeCount() ? std::nullopt
                                                     : std::optional<std::int32_t>(value);
        });
    });
    // Each keystroke reaches the session; leaving the box ends the step.
    connect(FrameRate, &QLineEdit::textChanged, this,
            [this](const QString& text) { session_.setFrameRateText(toBytes(text)); });
    connect(FrameRate, &QLineEdit::editingFinished, this, [this] { session_.finishTyping(); });
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
    connect(MeshName, &QComboBox::editTextChanged, this,
            [this](const QString& text) { session_.setMeshName(toBytes(text)); });
    connect(MeshName->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { session_.finishTyping(); });
    NumEntries = new QLineEdit(QStringLiteral("0"), Panel2);
    NumEntries->setObjectName(QStringLiteral("NumEntries"));
    const int afterEntries =
        placeField(QStringLiteral("Entries :"), NumEntries, kNumEntriesWidth, next);
    NumEntries->setReadOnly(true);
    SEJoint = new QSpinBox(Panel2);
    SEJoint->setObjectName(QStringLiteral("SEJoint"));
    SEJoint->setRange(0, kMaxJoint);
    SEJoint->setKeyboardTracking(false);
    placeField(QStringLiteral("Joint:"), SEJoint, kNodesWidth, afterEntries);
    connect(SEJoint, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int value) { session_.setJoint(value); });
    pageLayout->addWidget(Panel2);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    DataGrid = new EntryGrid(page);
    DataGrid->setObjectName(QStringLiteral("DataGrid"));
    model_ = new EntryGridModel(session_, this);
    DataGrid->setModel(model_);
    // Undo comes back to where the user was.
    connect(DataGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    session_.setCursor({current.column(), current.row()});
            });
    // At rest, the preview's slider goes to the Frame of the entry clicked.
    connect(DataGrid, &QAbstractItemView::clicked, this, [this](const QModelIndex& clicked) {
        if (windows_.previewWindow)
            runGuarded([&] { windows_.previewWindow->gridEntryClicked(clicked.row()); }, this);
    });
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
          {"SaveAs1", "Save KEY &As...", &TMainWindow::SaveAs1Click},
          {"N1", "-", nullptr},
          {"Exit1", "E&xit", &TMainWindow::Exit1Click}}},
        {"EditMenu",
         "&Edit",
         {{"Undo1", "&Undo", &TMainWindow::Undo1Click},
          {"Redo1", "R&edo", &TMainWindow::Redo1Click},
          {"N10", "-", nullptr},
          {"Copy1", "&Copy Frames", &TMainWindow::Copy1Click},
          {"Paste1", "&Paste Frames", &TMainWindow::Paste1Click},
          {"N3", "-", nullptr},
          {"InsFrames1", "&Insert Frames", &TMainWindow::InsFrames1Click},
          {"ClrFrames1", "Clea&r Frames", &TMainWindow::ClrFrames1Click},
          {"DelFrames1", "&Delete Frames", &TMainWindow::DelFrames1Click},
          {"N12", "-", nullptr},
          {"Markers1", "&Markers...", &TMainWindow::Markers1Click}}},
        {"ToolsMenu",
         "&Tools",
         {{"Check1", "&Check Data", &TMainWindow::Check1Click},
          {"CheckPlayback1", "Check Pla&yback", &TMainWindow::CheckPlayback1Click},
          {"MendJumps1", "&Mend Jumps", &TMainWindow::MendJumps1Click},
          {"N8", "-", nullptr},
          {"FillDown1", "&Transform Object", &TMainWindow::Transform1Click},
          {"OffsetVal1", "&Offset Values", &TMainWindow::OffsetVal1Click},
          {"AutoOrientate1", "&Auto Orientate", &TMainWindow::AutoOrientate1Click},
          {"SmoothPath1", "&Smooth Path...", &TMainWindow::SmoothPath1Click},
          {"Retime1", "&Retime...", &TMainWindow::Retime1Click},
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
        {{"Undo2", "Undo", &TMainWindow::Undo1Click},
         {"Redo2", "Redo", &TMainWindow::Redo1Click},
         {"N11", "-", nullptr},
         {"Copy2", "Copy Frames", &TMainWindow::Copy1Click},
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
         {"SmoothPath2", "Smooth Path...", &TMainWindow::SmoothPath1Click},
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
    Undo1 = MainMenu1->findChild<QAction*>(QStringLiteral("Undo1"));
    Undo2 = PopupMenu1->findChild<QAction*>(QStringLiteral("Undo2"));
    Redo1 = MainMenu1->findChild<QAction*>(QStringLiteral("Redo1"));
    Redo2 = PopupMenu1->findChild<QAction*>(QStringLiteral("Redo2"));
    addShortcuts();
}

// Keys only on the main menu's items: a key on a popup twin too would make it ambiguous.
void TMainWindow::addShortcuts() {
    const std::vector<std::pair<const char*, QList<QKeySequence>>> keys = {
        {"New1", {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {"Open", {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {"Save", {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {"SaveAs1", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {"Undo1", {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
        {"Redo1",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}},
        {"Contents1", {QKeySequence(Qt::Key_F1)}},
    };
    for (const auto& [name, sequences] : keys)
        MainMenu1->findChild<QAction*>(QString::fromLatin1(name))->setShortcuts(sequences);
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

int TMainWindow::cursorEntry() const {
    return DataGrid->cursorEntry();
}

void TMainWindow::setCursor(int column, int entry) {
    DataGrid->setCursor(column, entry);
}

void TMainWindow::setCursorEntry(int entry) {
    DataGrid->setCursor(DataGrid->cursorColumn(), entry);
}

void TMainWindow::followEntry(int entry) {
    if (!DataGrid->isEditing() && !DataGrid->rowSelectionMode() && entry != cursorEntry())
        setCursorEntry(entry);
}

void TMainWindow::focusGrid() {
    DataGrid->setFocus();
}

void TMainWindow::setStatus(const QString& text) {
    PNLErrors->setText(text);
}

QWidget* TMainWindow::mainWidget() {
    return this;
}

// ---------------------------------------------------------------------------------------------
// The widgets follow the session

// After every change of the session: each widget shows what the session holds, quietly, and
// only where it differs, so typing into a box is never disturbed.
void TMainWindow::sessionChanged() {
    const QString rate = fromBytes(session_.frameRateText());
    if (FrameRate->text() != rate)
        FrameRate->setText(rate);
    {
        // More than 50 nodes (read from a file) show as 50.
        const QSignalBlocker blocker(SENodes);
        SENodes->setValue(std::min(session_.nodeCount(), kMaxNodes));
    }
    showTabs();
    showHeader();
    const QString mesh = fromBytes(session_.meshName());
    if (MeshName->currentText() != mesh) {
        const QSignalBlocker blocker(MeshName);
        MeshName->setEditText(mesh);
    }
    NumEntries->setText(QString::number(session_.entryCount()));
    model_->refresh();
    showFileName();
    setWindowModified(session_.modified());
    showHistory();
}

void TMainWindow::showTabs() {
    const QSignalBlocker blocker(NodeTabs);
    while (NodeTabs->count() > session_.nodeCount())
        NodeTabs->removeTab(NodeTabs->count() - 1);
    while (NodeTabs->count() < session_.nodeCount())
        NodeTabs->addTab(QString());
    // Each tab names the joint its node drives, as the file's NODE line does.
    for (int k = 0; k < NodeTabs->count(); ++k)
        NodeTabs->setTabText(k, QStringLiteral("Node %1").arg(session_.joint(k)));
    NodeTabs->setCurrentIndex(session_.currentNode());
}

void TMainWindow::showHeader() {
    const KeyHeader& header = session_.header();
    const QString type = fromBytes(header.type);
    if (HeaderType->text() != type && !HeaderType->hasFocus())
        HeaderType->setText(type);
    const QSignalBlocker frames(LoopFrames);
    const QSignalBlocker fit(CBFitFrames);
    const QSignalBlocker joints(SEJoints);
    const QSignalBlocker joint(SEJoint);
    CBFitFrames->setChecked(!header.frames);
    LoopFrames->setEnabled(header.frames.has_value());
    try {
        LoopFrames->setValue(static_cast<int>(
            std::min<std::int64_t>(session_.loopLength(), std::numeric_limits<int>::max())));
    } catch (const ConversionError&) {
        // A Frame that is no integer: the box keeps what it showed until the entries are fixed.
    }
    SEJoints->setValue(session_.jointCount());
    SEJoint->setValue(session_.joint(session_.currentNode()));
}

// One header value changed in its box: one undo step, nothing when the value stays.
void TMainWindow::setHeaderField(const std::string& stepName,
                                 const std::function<void(KeyHeader&)>& change) {
    KeyHeader header = session_.header();
    change(header);
    session_.setHeader(std::move(header), stepName);
    showHeader();
}

// The undo and redo items name the step they take back or repeat.
void TMainWindow::showHistory() {
    const auto show = [](QAction* item, const QString& caption, bool enabled,
                         const std::string& step) {
        item->setEnabled(enabled);
        item->setText(enabled ? caption + QLatin1Char(' ') + fromBytes(step) : caption);
    };
    show(Undo1, QStringLiteral("&Undo"), session_.canUndo(), session_.undoName());
    show(Undo2, QStringLiteral("Undo"), session_.canUndo(), session_.undoName());
    show(Redo1, QStringLiteral("R&edo"), session_.canRedo(), session_.redoName());
    show(Redo2, QStringLiteral("Redo"), session_.canRedo(), session_.redoName());
}

void TMainWindow::showSessionCursor() {
    const GridCursor cursor = session_.cursor();
    DataGrid->setCursor(cursor.column, cursor.entry);
}

// After New and Open: the last verdict spoke of the document that is gone, the list of mesh
// names of another model, and the cursor stood elsewhere.
void TMainWindow::startedAfresh() {
    PNLErrors->clear();
    {
        const QSignalBlocker blocker(MeshName);
        MeshName->clear();
    }
    sessionChanged();
    setCursor(ColFrame, 0);
    if (windows_.previewWindow)
        windows_.previewWindow->documentReplaced();
}

void TMainWindow::SENodesChange(int value) {
    const int count = session_.nodeCount();
    if (value > count) {
        session_.addNode();
    } else if (value < count && session_.canRemoveLastNode()) {
        if (showMessage(this, MessageKind::Confirm,
                        QStringLiteral("This will remove the last Node. Proceed?"),
                        MessageButtons::OkCancel) == MessageAnswer::Ok)
            session_.removeLastNode();
    }
    // The current node is never removed: the box snaps back to the node count.
    sessionChanged();
}

void TMainWindow::onTabChanged(int index) {
    if (index < 0 || index == session_.currentNode())
        return;
    DataGrid->finishEditing();
    runGuarded(
        [&] {
            if (NodeTabsChanging())
                NodeTabsChange(index);
        },
        this);
    // A refused change leaves the tab where it was.
    showTabs();
}

// Leaving a node is allowed only when its entries pass the check.
bool TMainWindow::NodeTabsChanging() {
    return !showEntryCheck(session_.checkNode());
}

// The clicked tab, not the tab bar's current one: committing the cell being typed redraws the
// tabs at the node being left.
void TMainWindow::NodeTabsChange(int index) {
    session_.changeNode(index);
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
    {
        const QSignalBlocker blocker(MeshName);
        MeshName->clear();
        for (const std::string& name : *names)
            MeshName->addItem(fromBytes(name));
    }
    session_.pickMeshName(names->empty() ? std::string() : names->front());
    return true;
}

// ---------------------------------------------------------------------------------------------
// File commands

void TMainWindow::showFileName() {
    const QString path = QFile::decodeName(session_.fileName().c_str());
    setWindowTitle(QStringLiteral("Skyvane - ") + (path.isEmpty() ? kUntitled : path) +
                   QStringLiteral("[*]"));
}

// Asks to save when the document changed since it was last opened, saved or made. False when
// the command must stop.
bool TMainWindow::offerToSave() {
    if (!session_.modified())
        return true;
    switch (showMessage(this, MessageKind::Confirm,
                        QStringLiteral("Do you want to save your data?"),
                        MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        return saveDocument(false);
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

// Shows the check's verdicts, asks for the name unless the document has one already, and lets
// the session save. False when the check failed or the dialog was cancelled; a failed write
// throws and is reported by the caller's error handler.
bool TMainWindow::saveDocument(bool askName) {
    if (showSaveCheck(session_.checkForSave()))
        return false;
    const QString path = askName || session_.fileName().empty()
                             ? SaveKEY.execute(this)
                             : QFile::decodeName(session_.fileName().c_str());
    if (path.isEmpty() || session_.save(localPath(path), writeKeyFile).fault())
        return false;
    SaveKEY.keep(path);
    recentFiles_->add(path);
    return true;
}

// Every complaint at once: the user sees them all. True when anything is wrong.
bool TMainWindow::showSaveCheck(const SaveCheck& check) {
    showEntryCheck(check.node);
    if (check.frameRateInvalid) {
        showMessage(this, MessageKind::Error, QStringLiteral("Invalid value !"));
        FrameRate->setFocus();
    }
    if (check.mesh) {
        showMessage(this, MessageKind::Warning,
                    QString::fromLatin1(meshNameMessage(check.mesh->fault)));
        MeshName->setFocus();
    }
    if (check.header)
        showMessage(this, MessageKind::Error, fromBytes(*check.header));
    return check.fault();
}

bool TMainWindow::readDocument(const QString& path) {
    if (const std::optional<std::string> reason = session_.open(localPath(path))) {
        showMessage(this, MessageKind::Error,
                    QStringLiteral("Not a valid KEY file!\n") + reasonText(*reason));
        return false;
    }
    startedAfresh();
    OpenKEY.keep(path);
    recentFiles_->add(path);
    return true;
}

void TMainWindow::New1Click() {
    if (!offerToSave())
        return;
    session_.newDocument();
    startedAfresh();
}

void TMainWindow::OpenClick() {
    if (!offerToSave())
        return;
    const QString path = OpenKEY.execute(this);
    if (path.isEmpty())
        return;
    readDocument(path);
}

bool TMainWindow::openModel(const QString& path) {
    // The first name filled into a new, untouched document is part of starting it from the
    // model, not a change that Exit should offer to save.
    const bool untouched = session_.fileName().empty() && !session_.modified();
    if (!readMeshNames(path))
        return false;
    if (untouched)
        session_.markSaved();
    return true;
}

bool TMainWindow::openFile(const QString& path) {
    DataGrid->finishEditing();
    bool opened = false;
    runGuarded(
        [&] {
            // A model only offers its mesh names, as Get Mesh Names does; the document stays.
            opened = is3doFileName(path) ? openModel(path) : offerToSave() && readDocument(path);
        },
        this);
    return opened;
}

void TMainWindow::SaveClick() {
    saveDocument(false);
}

void TMainWindow::SaveAs1Click() {
    saveDocument(true);
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

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Left unaccepted, the override lets the window's Undo and Redo take the key; with
        // nothing to undo, the key press does nothing.
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::Markers1Click() {
    if (!markersWindow_)
        markersWindow_ = new TMarkersWindow(this);
    if (const auto markers = markersWindow_->edit(session_.header().markers))
        setHeaderField(kStepMarkers, [&](KeyHeader& h) { h.markers = *markers; });
}

void TMainWindow::Check1Click() {
    bool fault = showEntryCheck(session_.checkNode());
    if (!fault) {
        if (const std::optional<std::string> header = session_.headerFault()) {
            setStatus(fromBytes(*header));
            fault = true;
        }
    }
    if (fault)
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
    const std::vector<PlaybackJump> jumps = documentJumps(session_.snapshot());
    // Jumps listed can be mended from the box.
    const MessageButtons buttons = jumps.empty() ? MessageButtons::Ok : MessageButtons::OkMend;
    if (showMessage(this, MessageKind::Information, fromBytes(checkPlaybackMessage(jumps)),
                    buttons) == MessageAnswer::Mend)
        mendJumps();
    if (jumps.empty())
        return;
    const PlaybackJump& first = jumps.front();
    // Another node is reached as a tab change is: the current node has just passed its check.
    if (first.node != session_.currentNode())
        NodeTabs->setCurrentIndex(first.node);
    if (first.node == session_.currentNode()) {
        setCursor(ColSteps, first.entry);
        focusGrid();
    }
}

void TMainWindow::MendJumps1Click() {
    if (checkEntries(0, kMaxEntries - 1)) {
        showMessage(this, MessageKind::Error, QStringLiteral("Error found in Data!"));
        return;
    }
    mendJumps();
}

void TMainWindow::mendJumps() {
    const std::vector<NodeCellEdits> edits = skyvane::mendJumps(session_.keyNodes());
    session_.applyNodeCellEdits(edits, kStepMendJumps);
    showMessage(this, MessageKind::Information, fromBytes(mendMessage(mendedCount(edits))));
}

void TMainWindow::Transform1Click() {
    const std::optional<float> rate = session_.typedFrameRate();
    if (!rate) {
        showMessage(this, MessageKind::Error, QStringLiteral("Invalid frame-rate value!"));
        FrameRate->setFocus();
        return;
    }
    windows_.transformWindow->setFramesPerSecond(*rate);
    windows_.transformWindow->setStartEntry(cursorEntry());
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
// Undo and redo: the grid shows the cell the step changed.

void TMainWindow::Undo1Click() {
    session_.undo();
    showSessionCursor();
}

void TMainWindow::Redo1Click() {
    session_.redo();
    showSessionCursor();
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

void TMainWindow::SmoothPath1Click() {
    openSelector(QStringLiteral("Select the keys to smooth through, then press OK"), SmoothCommand);
}

void TMainWindow::Retime1Click() {
    openSelector(QStringLiteral("Select entries to Retime, then press OK"), RetimeCommand);
}

void TMainWindow::Paste1Click() {
    if (!session_.pasteEntries(cursorEntry()))
        showMessage(this, MessageKind::Error, QStringLiteral("Not enough room to paste frames!"));
}

void TMainWindow::InsFrames1Click() {
    if (windows_.insertWindow->exec() == QDialog::Accepted)
        insertFrames(windows_.insertWindow->frameCount());
}

void TMainWindow::insertFrames(int count) {
    if (!session_.insertEntries(count, cursorEntry()))
        showMessage(this, MessageKind::Error, QStringLiteral("Not enough room to insert frames!"));
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
                session_.clearEntries(first, last);
                break;
            case DeleteCommand:
                session_.deleteEntries(first, last);
                break;
            case CopyCommand:
                session_.copyEntries(first, last);
                break;
            case OffsetCommand:
                windows_.offsetWindow->setRange(first, last);
                windows_.offsetWindow->exec();
                break;
            case OrientateCommand:
                windows_.orientateWindow->setRange(first, last);
                windows_.orientateWindow->exec();
                break;
            case SmoothCommand:
                windows_.smoothWindow->setRange(first, last);
                windows_.smoothWindow->exec();
                break;
            case RetimeCommand:
                windows_.retimeWindow->setRange(first, last);
                windows_.retimeWindow->exec();
                break;
            default:
                break;
            }
        },
        this);
}

} // namespace skyvane

// The 3D preview window: lays out the camera read-outs beside the picture, checks the entries
// each time it becomes active, turns key presses into camera moves before its controls see
// them, moves the camera with the mouse, plays the path frame by frame in real time over a
// timeline the grid follows, loads the object and the level it draws around the path, frames
// them, and shows the view through the played object's eye.
#include "preview/preview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

#include "widgets/BusyCursor.h"
#include "widgets/EditBoxes.h"
#include "widgets/ErrorReport.h"
#include "widgets/GridHost.h"
#include "widgets/Prompts.h"
#include "widgets/Text.h"
#include "core/keymotion.h"
#include "formats/levelfile.h"
#include "core/numbers.h"

namespace skyvane {

namespace {

constexpr int kLeft = 80;
constexpr int kTop = 80;
constexpr int kWidth = 650;
constexpr int kHeight = 470;
constexpr int kPanelWidth = 200;
constexpr int kBoxHeight = 21;
constexpr int kLabelHeight = 16;
constexpr int kLabelWidth = 188;
constexpr int kMargin = 8;
constexpr int kFontPixels = 11;

constexpr const char* kVectorPattern = "###0.000";
constexpr const char* kZoomPattern = "#0.0";

struct LabelLayout {
    const char* name;
    const char* text;
    int x;
    int y;
};

// The captions of the left panel, top to bottom.
constexpr LabelLayout kLabels[] = {
    {"Label1", "Entry :", kMargin, 12},
    {"Label2", "Use arrow keys to move around", kMargin, 44},
    {"Label3", "Use shift + arrow keys to rotate", kMargin, 62},
    {"Label4", "Use + and - keys to zoom in/out", kMargin, 80},
    {"Label5", "Camera Position :", kMargin, 112},
    {"Label6", "X", 16, 136},
    {"Label7", "Y", 16, 162},
    {"Label8", "Z", 16, 188},
    {"Label9", "Camera Heading:", kMargin, 218},
    {"Label10", "Zoom Factor :", kMargin, 280},
};

// The six vector boxes: Position x, y, z, then Heading u, v, w.
struct VectorBoxSpec {
    const char* name;
    int x;
    int y;
    int width;
    unsigned readOut;
};
constexpr std::array<VectorBoxSpec, 6> kVectorBoxes{{
    {"EDX", 32, 132, 80, ReadOutX},
    {"EDY", 32, 158, 80, ReadOutY},
    {"EDZ", 32, 184, 80, ReadOutZ},
    {"EDu", kMargin, 238, 46, ReadOutU},
    {"EDv", 72, 238, 46, ReadOutV},
    {"EDw", 136, 238, 46, ReadOutW},
}};

// The bold italic unit vectors after the heading boxes, and the plus signs between them.
constexpr LabelLayout kHeadingSigns[] = {
    {"LabelI", "i", 55, 241},      {"LabelPlus1", "+", 62, 241}, {"LabelJ", "j", 119, 241},
    {"LabelPlus2", "+", 126, 241}, {"LabelK", "k", 183, 241},
};
constexpr int kEntryBoxX = 56;
constexpr int kEntryBoxY = 8;
constexpr int kEntryBoxWidth = 60;
constexpr int kZoomBoxX = 92;
constexpr int kZoomBoxY = 276;
constexpr int kZoomBoxWidth = 48;

// The playback controls, below the camera read-outs, and below them the object and the level:
// a button that loads each and a tick box that shows it. All fit above y 440, so a preview
// squeezed below a wide main window on a 1280 x 1024 screen still shows them.
constexpr int kSecondColumn = 100;
// Below this height the panel scrolls, so no control is out of reach on a smaller screen.
constexpr int kPanelHeight = 584;
constexpr QRect kPlayButton{kMargin, 308, 88, 24};
constexpr QRect kResetButton{kSecondColumn, 308, 88, 24};
constexpr QRect kFrameSlider{kMargin, 338, 124, 20};
constexpr QRect kLoopBox{136, 338, 56, 20};
constexpr QRect kFrameReadOut{kMargin, 362, 184, 16};
constexpr QRect kLoad3doButton{kMargin, 384, 88, 24};
constexpr QRect kShowObjectBox{kSecondColumn, 386, 96, 20};
constexpr QRect kLoadLevelButton{kMargin, 414, 88, 24};
constexpr QRect kShowLevelBox{kSecondColumn, 416, 96, 20};
// The timeline below them: one frame back, the frame number, one frame on; then the range of
// frames that Play plays and Loop loops. In a window of the designed height the first row is in
// sight; the panel scrolls to the rest.
constexpr QRect kFrameBackButton{kMargin, 446, 24, 22};
constexpr QRect kFrameBox{36, 446, 64, 22};
constexpr QRect kFrameNextButton{104, 446, 24, 22};
constexpr LabelLayout kRangeLabels[] = {{"LabelRange", "Range", kMargin, 478},
                                        {"LabelRangeTo", "to", 112, 478}};
constexpr QRect kRangeStartBox{44, 474, 64, 22};
constexpr QRect kRangeEndBox{128, 474, 64, 22};
// Framing: the camera turned to fit the path, or the object, into the picture.
constexpr QRect kFramePathButton{kMargin, 502, 88, 24};
constexpr QRect kFrameObjectButton{kSecondColumn, 502, 88, 24};
// The views: through the played object's eye, and every node's path.
constexpr QRect kLookThroughBox{kMargin, 532, 184, 20};
constexpr QRect kAllNodesBox{kMargin, 556, 184, 20};
constexpr float kStartFps = 15.0f;
constexpr int kWheelEighthsPerNotch = 120;
constexpr int kLongestTickMs = 1000; // even a slow frame rate shows the time passing

// One tick of the play timer per frame.
int tickMs(float fps) {
    return static_cast<int>(std::clamp(std::lround(1000.0f / fps), 1L, long{kLongestTickMs}));
}

float vectorValue(const Camera& camera, std::size_t i) {
    const std::array<float, 6> values{camera.Position.x, camera.Position.y, camera.Position.z,
                                      camera.Heading.x,  camera.Heading.y,  camera.Heading.z};
    return values[i];
}

QLabel* addLabel(QWidget* parent, const LabelLayout& item) {
    auto* label = new QLabel(QString::fromLatin1(item.text), parent);
    label->setObjectName(QString::fromLatin1(item.name));
    label->move(item.x, item.y);
    return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const char* caption, const QRect& place) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

QCheckBox* addTickBox(QWidget* parent, const char* name, const char* caption, const QRect& place) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    return box;
}

// A frame number box: taken on Enter or on leaving it, not on every digit typed; not a tab stop.
QSpinBox* addFrameBox(QWidget* parent, const char* name, const QRect& place) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setRange(0, 0);
    box->setKeyboardTracking(false);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QLineEdit* addReadOnlyBox(QWidget* parent, const char* name, int x, int y, int width) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, y, width, kBoxHeight);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    return box;
}

std::optional<NavKey> navKey(int key) {
    switch (key) {
    case Qt::Key_Up:
        return NavKey::Up;
    case Qt::Key_Down:
        return NavKey::Down;
    case Qt::Key_Left:
        return NavKey::Left;
    case Qt::Key_Right:
        return NavKey::Right;
    // The keypad plus, and the main keyboard's plus-and-equals key with or without Shift.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return NavKey::ZoomIn;
    // The keypad minus, and the main keyboard's minus key with or without Shift.
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return NavKey::ZoomOut;
    default:
        return std::nullopt;
    }
}

QImage toImage(const Bitmap& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    const auto rowBytes = static_cast<std::size_t>(bitmap.width()) * 3;
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(image.scanLine(y), bitmap.scanLine(y), rowBytes);
    return image;
}

} // namespace

TPreviewWindow::TPreviewWindow(GridHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      host_(host), OpenLevel({QStringLiteral("OpenLevel"), QStringLiteral("Open Level"),
                              QStringLiteral("Jedi Knight levels|*.JKL *.GOB"),
                              QStringLiteral("JKL"), false, QString()}) {
    createGui();
    showReadOuts(ReadOutAll);
    // Keys are seen on their way into the window, before whichever control has the focus.
    qApp->installEventFilter(this);
}

void TPreviewWindow::createGui() {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("3D Preview"));
    setGeometry(kLeft, kTop, kWidth, kHeight);

    LeftScroll = new QScrollArea(this);
    LeftScroll->setObjectName(QStringLiteral("LeftScroll"));
    LeftScroll->setFrameShape(QFrame::NoFrame);
    LeftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The camera keys belong to the picture; the panel scrolls by the bar and the wheel only.
    LeftScroll->setFocusPolicy(Qt::NoFocus);
    LeftPanel = new QWidget;
    LeftPanel->setObjectName(QStringLiteral("LeftPanel"));
    LeftScroll->setWidget(LeftPanel);
    // The panel is laid out in pixels, so its text is sized in pixels too and always fits.
    QFont panelFont = LeftPanel->font();
    panelFont.setPixelSize(kFontPixels);
    LeftPanel->setFont(panelFont);
    for (const auto& item : kLabels)
        addLabel(LeftPanel, item)->resize(kLabelWidth, kLabelHeight);
    QFont bold = panelFont;
    bold.setBold(true);
    bold.setItalic(true);
    for (const auto& item : kHeadingSigns) {
        QLabel* sign = addLabel(LeftPanel, item);
        if (item.text[0] != '+')
            sign->setFont(bold);
        sign->adjustSize();
    }

    SpEntry = new QSpinBox(LeftPanel);
    SpEntry->setObjectName(QStringLiteral("SpEntry"));
    SpEntry->setGeometry(kEntryBoxX, kEntryBoxY, kEntryBoxWidth, kBoxHeight);
    SpEntry->setRange(0, 0);
    SpEntry->setEnabled(false);
    SpEntry->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    connect(SpEntry, qOverload<int>(&QSpinBox::valueChanged), this, [this] { SpEntryChange(); });

    QLineEdit** vectorBoxes[] = {&EDX, &EDY, &EDZ, &EDu, &EDv, &EDw};
    for (std::size_t i = 0; i < kVectorBoxes.size(); ++i) {
        const auto& item = kVectorBoxes[i];
        *vectorBoxes[i] = addReadOnlyBox(LeftPanel, item.name, item.x, item.y, item.width);
    }
    EDZoom = addReadOnlyBox(LeftPanel, "EDZoom", kZoomBoxX, kZoomBoxY, kZoomBoxWidth);

    RightPanel = new QFrame(this);
    RightPanel->setObjectName(QStringLiteral("RightPanel"));
    RightPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    RightPanel->setLineWidth(1);
    RightPanel->setAutoFillBackground(true);
    QPalette black = RightPanel->palette();
    black.setColor(QPalette::Window, Qt::black);
    RightPanel->setPalette(black);

    Image1 = new QLabel(RightPanel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The picture follows the panel's size, never the other way round.
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    BtnPlay = addButton(LeftPanel, "BtnPlay", "Play", kPlayButton);
    connect(BtnPlay, &QPushButton::clicked, this,
            [this] { guardPlayback([this] { BtnPlayClick(); }); });

    TBFrame = new MarkerSlider(LeftPanel);
    TBFrame->setObjectName(QStringLiteral("TBFrame"));
    TBFrame->setGeometry(kFrameSlider);
    TBFrame->setRange(0, 0);
    // Not a tab stop: the arrow keys, which move the camera, walk the focus on from a button
    // and would step the frames too. A click on the slider gives it the keys.
    TBFrame->setFocusPolicy(Qt::ClickFocus);
    connect(TBFrame, &QSlider::valueChanged, this,
            [this] { guardPlayback([this] { TBFrameChange(); }); });

    LblFrame = new QLabel(fromBytes(frameReadOut(0, kStartFps)), LeftPanel);
    LblFrame->setObjectName(QStringLiteral("LblFrame"));
    LblFrame->setGeometry(kFrameReadOut);

    CBLoop = addTickBox(LeftPanel, "CBLoop", "Loop", kLoopBox);

    createTimelineAndViews();

    BtnResetView = addButton(LeftPanel, "BtnResetView", "Reset view", kResetButton);
    connect(BtnResetView, &QPushButton::clicked, this, [this] { BtnResetViewClick(); });

    BtnLoad3DO = addButton(LeftPanel, "BtnLoad3DO", "Load 3DO...", kLoad3doButton);
    connect(BtnLoad3DO, &QPushButton::clicked, this,
            [this] { runGuarded([this] { BtnLoad3DOClick(); }, this); });
    BtnLoadLevel = addButton(LeftPanel, "BtnLoadLevel", "Load Level...", kLoadLevelButton);
    connect(BtnLoadLevel, &QPushButton::clicked, this,
            [this] { runGuarded([this] { BtnLoadLevelClick(); }, this); });
    // Nothing to show until something is loaded.
    CBShowObject = addTickBox(LeftPanel, "CBShowObject", "Show object", kShowObjectBox);
    CBShowLevel = addTickBox(LeftPanel, "CBShowLevel", "Show level", kShowLevelBox);
    for (QCheckBox* shows : {CBShowObject, CBShowLevel}) {
        shows->setEnabled(false);
        connect(shows, &QCheckBox::toggled, this,
                [this] { runGuarded([this] { DrawScene(); }, this); });
    }

    PlayTimer = new QTimer(this);
    PlayTimer->setObjectName(QStringLiteral("PlayTimer"));
    PlayTimer->setTimerType(Qt::PreciseTimer);
    connect(PlayTimer, &QTimer::timeout, this,
            [this] { guardPlayback([this] { PlayTimerTimer(); }); });
}

// The frame steps, the frame box and the play range, the framing buttons and the view boxes.
void TPreviewWindow::createTimelineAndViews() {
    BtnFrameBack = addButton(LeftPanel, "BtnFrameBack", "<", kFrameBackButton);
    BtnFrameNext = addButton(LeftPanel, "BtnFrameNext", ">", kFrameNextButton);
    connect(BtnFrameBack, &QPushButton::clicked, this, [this] { stepFrame(-1); });
    connect(BtnFrameNext, &QPushButton::clicked, this, [this] { stepFrame(1); });
    SpFrame = addFrameBox(LeftPanel, "SpFrame", kFrameBox);
    connect(SpFrame, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int frame) { TBFrame->setValue(frame); });
    for (const auto& item : kRangeLabels)
        addLabel(LeftPanel, item)->adjustSize();
    SpRangeStart = addFrameBox(LeftPanel, "SpRangeStart", kRangeStartBox);
    SpRangeEnd = addFrameBox(LeftPanel, "SpRangeEnd", kRangeEndBox);

    BtnFramePath = addButton(LeftPanel, "BtnFramePath", "Frame path", kFramePathButton);
    BtnFrameObject = addButton(LeftPanel, "BtnFrameObject", "Frame object", kFrameObjectButton);
    connect(BtnFramePath, &QPushButton::clicked, this, [this] { BtnFramePathClick(); });
    connect(BtnFrameObject, &QPushButton::clicked, this, [this] { BtnFrameObjectClick(); });
    CBLookThrough = addTickBox(LeftPanel, "CBLookThrough", "Look through", kLookThroughBox);
    CBAllNodes = addTickBox(LeftPanel, "CBAllNodes", "All nodes", kAllNodesBox);
    // The arrow keys walk the focus from button to button; kept off these, they never scroll the
    // panel away from the camera's read-outs.
    for (QWidget* control : std::initializer_list<QWidget*>{
             BtnFrameBack, BtnFrameNext, BtnFramePath, BtnFrameObject, CBLookThrough, CBAllNodes})
        control->setFocusPolicy(Qt::NoFocus);
    for (QCheckBox* view : {CBLookThrough, CBAllNodes})
        connect(view, &QCheckBox::toggled, this,
                [this] { runGuarded([this] { DrawScene(); }, this); });
}

void TPreviewWindow::showReadOuts(unsigned readOuts) {
    const std::array<QLineEdit*, 6> boxes{EDX, EDY, EDZ, EDu, EDv, EDw};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (readOuts & kVectorBoxes[i].readOut)
            showText(boxes[i], fromBytes(formatPattern(vectorValue(camera_, i), kVectorPattern)));
    if (readOuts & ReadOutZoom)
        showText(EDZoom, fromBytes(formatPattern(camera_.Zoom, kZoomPattern)));
}

bool TPreviewWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        runGuarded([this] { FormActivate(); }, this);
    return QWidget::event(event);
}

void TPreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    runGuarded([this] { FormResize(); }, this);
}

// A hidden preview has nothing to play to.
void TPreviewWindow::hideEvent(QHideEvent* event) {
    pause();
    QWidget::hideEvent(event);
}

bool TPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    // Left unaccepted by the entry box, the main window's Undo and Redo take their keys here too.
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
            return true;
    }
    // Every key press enters through the window's platform window before it is passed to the
    // focused control; catching it there sees each press exactly once.
    if (event->type() == QEvent::KeyPress && watched == windowHandle())
        runGuarded([&] { FormKeyDown(*static_cast<QKeyEvent*>(event)); }, this);
    if (watched == Image1)
        return Image1Mouse(event);
    return false; // the key still reaches the focused control
}

void TPreviewWindow::FormActivate() {
    takeEntryCount();
    {
        // The value is set quietly too: drawing waits for the entry check.
        const QSignalBlocker quiet(SpEntry);
        SpEntry->setValue(std::min(host_.cursorEntry(), EntryCount - 1));
    }
    if (host_.checkEntries(0, kMaxEntries - 1)) {
        showMainWithFault();
        return;
    }
    // The frames to play may have changed meanwhile; a shown frame reads the cells again.
    if (const std::optional<PlaybackTiming> timing = timingIfReadable())
        showTiming(*timing, TBFrame->value());
    if (playbackShown())
        takePlayedFrame();
    DrawScene();
    host_.setStatus(QString());
}

void TPreviewWindow::FormResize() {
    // A window too short for the panel gets a scroll bar over the panel's right edge; the
    // picture keeps its place and size. The panel is then as wide as the room beside the bar,
    // so a focused control never scrolls it sideways.
    const int panelHeight = std::max(height(), kPanelHeight);
    const int bar =
        panelHeight > height() ? LeftScroll->verticalScrollBar()->sizeHint().width() : 0;
    LeftPanel->resize(kPanelWidth - bar, panelHeight);
    LeftScroll->setGeometry(0, 0, kPanelWidth, height());
    RightPanel->setGeometry(kPanelWidth, 0, std::max(0, width() - kPanelWidth), height());
    Image1->setGeometry(RightPanel->contentsRect());
    DrawScene();
}

void TPreviewWindow::SpEntryChange() {
    DrawScene();
}

// The keys a focused slider or frame box steps or edits with move nothing else.
bool TPreviewWindow::timelineTakes(const QKeyEvent& key) const {
    static constexpr int kTimelineKeys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,
                                            Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                                            Qt::Key_Home, Qt::Key_End};
    const bool focused = TBFrame->hasFocus() || SpFrame->hasFocus() || SpRangeStart->hasFocus() ||
                         SpRangeEnd->hasFocus();
    return focused && std::find(std::begin(kTimelineKeys), std::end(kTimelineKeys), key.key()) !=
                          std::end(kTimelineKeys);
}

void TPreviewWindow::FormKeyDown(const QKeyEvent& key) {
    if (timelineTakes(key))
        return;
    const bool plain = !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (key.key() == Qt::Key_Comma || key.key() == Qt::Key_Period)) {
        stepFrame(key.key() == Qt::Key_Comma ? -1 : 1);
        return;
    }
    if (key.key() == Qt::Key_Home) {
        moveCamera(resetCamera(camera_));
        return;
    }
    if (plain && key.key() == Qt::Key_F) {
        BtnFramePathClick();
        return;
    }
    const std::optional<NavKey> nav = navKey(key.key());
    if (!nav)
        return;
    const Qt::KeyboardModifiers held = key.modifiers();
    const KeyModifiers modifiers{held.testFlag(Qt::ShiftModifier),
                                 held.testFlag(Qt::ControlModifier),
                                 held.testFlag(Qt::AltModifier)};
    moveCamera(navigate(camera_, *nav, modifiers));
}

// Shows what a camera move changed and draws the picture again; a move that changed nothing
// does not draw.
void TPreviewWindow::moveCamera(unsigned changed) {
    if (changed == ReadOutNone)
        return;
    showReadOuts(changed);
    DrawScene();
}

void TPreviewWindow::DrawScene() {
    // A typed entry number is clamped by the spin box; the drawing clamps once more.
    const SceneEntries entries{host_.entries(), EntryCount, SpEntry->value()};
    // The played frame goes over the path: the object where the game has it at that frame.
    const ScenePlayback* playback = played_ ? &*played_ : nullptr;
    SceneWorld world;
    world.level = level_ && CBShowLevel->isChecked() ? &*level_ : nullptr;
    world.object = shownObject();
    if (CBAllNodes->isChecked())
        addOtherNodes(world);
    const std::optional<EyeView> eye = CBLookThrough->isChecked() ? lookingThrough() : std::nullopt;
    const Bitmap bitmap = eye ? DrawEyeScene(*eye, entries, world)
                              : skyvane::DrawScene(Image1->width(), Image1->height(), camera_,
                                                   entries, world, playback);
    Image1->setPixmap(QPixmap::fromImage(toImage(bitmap)));
}

// Every other node's entries and, while playback is shown, where each plays at the slider's frame.
void TPreviewWindow::addOtherNodes(SceneWorld& world) const {
    const std::vector<KeyNodeTrack> nodes = host_.keyNodes();
    const int current = host_.currentNode();
    for (int k = 0; k < static_cast<int>(nodes.size()); ++k) {
        const KeyNodeTrack& node = nodes[static_cast<std::size_t>(k)];
        if (k == current)
            continue;
        std::vector<Vec3f>& path = world.otherPaths.emplace_back();
        for (int e = 0; e < node.count; ++e)
            if (const auto position = entryPosition(*node.table, e))
                path.push_back(*position);
    }
    if (!playbackShown())
        return;
    const auto poses = keyPosesAtFrame(nodes, TBFrame->value());
    for (int k = 0; k < static_cast<int>(poses.size()); ++k)
        if (k != current && poses[static_cast<std::size_t>(k)])
            world.otherPlayed.push_back(*poses[static_cast<std::size_t>(k)]);
}

// The played object's eye: at the played frame while playback is shown, otherwise on the
// highlighted entry; none where there is no entry or its cells do not hold numbers.
std::optional<EyeView> TPreviewWindow::lookingThrough() const {
    const int width = Image1->width();
    const int height = Image1->height();
    if (played_)
        return eyeOf(played_->position, played_->pitch, played_->yaw, played_->roll, width, height);
    if (EntryCount <= 0)
        return std::nullopt;
    try {
        const KeyValues at =
            keyValues(host_.entries(), std::clamp(SpEntry->value(), 0, EntryCount - 1));
        return eyeOf({at[0], at[1], at[2]}, at[kFirstAngle], at[kFirstAngle + 1],
                     at[kFirstAngle + 2], width, height);
    } catch (const ConversionError&) {
    } catch (const MathError&) {
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// Playback

// The played object is shown while playing and wherever the slider is away from frame 0; at
// rest on frame 0 the picture is the path's alone.
bool TPreviewWindow::playbackShown() const {
    return playing_ || TBFrame->value() > 0;
}

std::optional<PlaybackTiming> TPreviewWindow::timingIfReadable() const {
    try {
        return host_.session().playbackTiming();
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

// The main window shows the entry check's fault and its cell; the old picture stays.
void TPreviewWindow::showMainWithFault() {
    QWidget* main = host_.mainWidget();
    main->raise();
    main->activateWindow();
}

// The entry count and the entry box's limits as activation takes them, quietly.
void TPreviewWindow::takeEntryCount() {
    EntryCount = host_.session().entryCount();
    const QSignalBlocker quiet(SpEntry);
    SpEntry->setRange(0, std::max(0, EntryCount - 1));
    SpEntry->setEnabled(EntryCount > 1);
}

// The slider over the frames the file would hold, at `frame`, and its read-out; quietly.
void TPreviewWindow::showTiming(const PlaybackTiming& timing, std::int64_t frame) {
    const auto last = static_cast<int>(
        std::clamp<std::int64_t>(timing.frameCount - 1, 0, std::numeric_limits<int>::max()));
    const QSignalBlocker quiet(TBFrame);
    TBFrame->setRange(0, last);
    TBFrame->setValue(static_cast<int>(std::clamp<std::int64_t>(frame, 0, last)));
    // A range that ended at the last frame goes on ending there.
    const bool rangeToTheEnd = SpRangeEnd->value() == SpRangeEnd->maximum();
    for (QSpinBox* box : {SpFrame, SpRangeStart, SpRangeEnd}) {
        const QSignalBlocker quietBox(box);
        box->setMaximum(last);
    }
    const QSignalBlocker quietEnd(SpRangeEnd);
    if (rangeToTheEnd)
        SpRangeEnd->setValue(last);
    const QSignalBlocker quietFrame(SpFrame);
    SpFrame->setValue(TBFrame->value());
    // Without a frame rate to count in, the time goes on in the last one known.
    if (timing.fps && *timing.fps > 0)
        shownFps_ = *timing.fps;
    const std::vector<KeyMarker>& markers = host_.session().header().markers;
    std::vector<MarkerSlider::Tick> ticks;
    for (const KeyMarker& marker : markers)
        ticks.push_back({marker.frame, QString::fromLatin1(markerTypeName(marker.type))});
    TBFrame->setTicks(std::move(ticks));
    LblFrame->setText(fromBytes(frameReadOut(TBFrame->value(), shownFps_, markers)));
}

// What the game plays at the slider's frame, from the current cells, while it is shown.
void TPreviewWindow::takePlayedFrame() {
    played_.reset();
    if (playbackShown() && EntryCount > 0)
        played_ = scenePlayback(host_.entries(), EntryCount, TBFrame->value());
}

// Whatever fails while playing pauses before its box is shown, so the box comes once and not
// again on every tick of the timer.
void TPreviewWindow::guardPlayback(const std::function<void()>& work) {
    runGuarded(
        [&] {
            try {
                work();
            } catch (...) {
                pause();
                throw;
            }
        },
        this);
}

// The timing of the current cells, through the entry check as activation does. Before anything
// else, cells that fail the check or give no timing pause playback with one message in the
// status panel, and the main window shows it.
std::optional<PlaybackTiming> TPreviewWindow::checkedTiming() {
    takeEntryCount();
    if (host_.checkEntries(0, kMaxEntries - 1)) {
        pause();
        showMainWithFault();
        return std::nullopt;
    }
    try {
        return host_.session().playbackTiming();
    } catch (const ConversionError& fault) {
        pause();
        host_.setStatus(fromBytes(fault.what()));
        showMainWithFault();
        return std::nullopt;
    }
}

// Draws `frame` of the timing from the current cells; the grid follows.
void TPreviewWindow::drawFrame(const PlaybackTiming& timing, std::int64_t frame) {
    showTiming(timing, frame);
    takePlayedFrame();
    followInGrid(TBFrame->value());
    DrawScene();
    host_.setStatus(QString());
}

// Draws `frame` from the current cells when they pass the check. False when it paused.
bool TPreviewWindow::showFrame(std::int64_t frame) {
    const std::optional<PlaybackTiming> timing = checkedTiming();
    if (timing)
        drawFrame(*timing, frame);
    return timing.has_value();
}

void TPreviewWindow::BtnPlayClick() {
    if (playing_)
        pause();
    else
        play();
}

void TPreviewWindow::play() {
    const std::optional<PlaybackTiming> timing = checkedTiming();
    if (!timing)
        return;
    if (!timing->fps || !(*timing->fps > 0)) {
        showMessage(this, MessageKind::Error, QStringLiteral("Invalid frame-rate value!"));
        return;
    }
    // At the end of the range or outside it, Play starts again from its beginning.
    const PlayRange range = playRange();
    std::int64_t frame = TBFrame->value();
    if (frame < range.first || frame >= range.last)
        frame = range.first;
    playing_ = true;
    playingFps_ = *timing->fps;
    startFrame_ = frame;
    clock_.start();
    PlayTimer->start(tickMs(playingFps_));
    BtnPlay->setText(QStringLiteral("Pause"));
    showFrame(frame);
}

// Pausing leaves the played object where it is, unless the slider rests on frame 0, where the
// picture is the path's alone.
void TPreviewWindow::pause() {
    playing_ = false;
    PlayTimer->stop();
    BtnPlay->setText(QStringLiteral("Play"));
    if (played_ && !playbackShown())
        dropPlayedFrame();
}

void TPreviewWindow::dropPlayedFrame() {
    played_.reset();
    DrawScene();
}

void TPreviewWindow::shareUndoKeys(const QList<QAction*>& undoAndRedo) {
    addActions(undoAndRedo);
    // A step undone from here shows at once, as on activation.
    for (QAction* action : undoAndRedo)
        connect(action, &QAction::triggered, this, [this] {
            if (isActiveWindow())
                runGuarded([this] { FormActivate(); }, this);
        });
}

void TPreviewWindow::documentReplaced() {
    pause();
    const QSignalBlocker quiet(TBFrame);
    TBFrame->setValue(0);
    LblFrame->setText(fromBytes(frameReadOut(0, shownFps_)));
    // A played object of the old document goes; otherwise the picture waits for activation.
    if (played_) {
        takeEntryCount();
        dropPlayedFrame();
    }
}

void TPreviewWindow::PlayTimerTimer() {
    if (!playing_)
        return;
    const std::optional<PlaybackTiming> timing = checkedTiming();
    if (!timing)
        return;
    if (!timing->fps || !(*timing->fps > 0)) {
        pause();
        host_.setStatus(QStringLiteral("Invalid frame-rate value!"));
        return;
    }
    // A new frame rate takes over from the frame shown now.
    if (*timing->fps != playingFps_) {
        startFrame_ = TBFrame->value();
        playingFps_ = *timing->fps;
        clock_.restart();
        PlayTimer->setInterval(tickMs(playingFps_));
    }
    const long double elapsed = static_cast<long double>(clock_.nsecsElapsed()) / 1e9L;
    const PlaybackStep step =
        advancePlayback(startFrame_, elapsed, playingFps_, playRange(), CBLoop->isChecked());
    drawFrame(*timing, step.frame);
    if (step.ended)
        pause();
}

// Moving the slider shows that frame; while playing, playback goes on from there.
void TPreviewWindow::TBFrameChange() {
    if (playing_) {
        startFrame_ = TBFrame->value();
        clock_.restart();
    }
    showFrame(TBFrame->value());
}

void TPreviewWindow::stepFrame(int by) {
    TBFrame->setValue(TBFrame->value() + by);
}

// The two range boxes in either order.
PlayRange TPreviewWindow::playRange() const {
    return {std::min(SpRangeStart->value(), SpRangeEnd->value()),
            std::max(SpRangeStart->value(), SpRangeEnd->value())};
}

// The grid's cursor goes to the entry whose way to the next holds the frame.
void TPreviewWindow::followInGrid(std::int64_t frame) {
    if (EntryCount > 0)
        host_.followEntry(playedFrame(host_.entries(), EntryCount, frame).entry);
}

void TPreviewWindow::gridEntryClicked(int entry) {
    if (playing_ || !isVisible() || entry >= host_.session().entryCount())
        return;
    // Cells that fail the check wait for the next activation to show their fault.
    if (host_.session().checkEntries(0, kMaxEntries - 1).fault())
        return;
    TBFrame->setValue(parseInt(host_.entries().cell(ColFrame, entry)));
}

// The entries drawn, as far as their cells hold numbers.
void TPreviewWindow::BtnFramePathClick() {
    std::vector<Vec3f> points;
    for (int k = 0; k < EntryCount; ++k)
        if (const auto position = entryPosition(host_.entries(), k))
            points.push_back(*position);
    moveCamera(frameAll(camera_, points, Image1->width(), Image1->height()));
}

// The object as it is shown now.
void TPreviewWindow::BtnFrameObjectClick() {
    std::vector<Vec3f> points;
    for (const WireMesh& mesh : shownObject())
        points.insert(points.end(), mesh.points.begin(), mesh.points.end());
    moveCamera(frameAll(camera_, points, Image1->width(), Image1->height()));
}

void TPreviewWindow::BtnResetViewClick() {
    moveCamera(resetCamera(camera_));
}

// ---------------------------------------------------------------------------------------------
// The object and the level

// The object where the KEY has it: at the played frame while playback is shown, otherwise with
// the current node on the highlighted entry.
std::vector<WireMesh> TPreviewWindow::shownObject() const {
    if (!model_ || !CBShowObject->isChecked())
        return {};
    const std::vector<KeyNodeTrack> nodes = host_.keyNodes();
    const int current = host_.currentNode();
    std::vector<std::int32_t> joints;
    for (const KeyNodeTrack& node : nodes)
        joints.push_back(node.joint);
    const auto poses = playbackShown() ? keyPosesAtFrame(nodes, TBFrame->value())
                                       : keyPosesAtEntry(nodes, current, SpEntry->value());
    return objectAtFrame(*model_, joints, poses, current);
}

// A model that cannot be read leaves the one shown as it was.
void TPreviewWindow::BtnLoad3DOClick() {
    FileDialogSettings dialog = host_.open3doDialog();
    // The model shown here is offered again; before there is one, the one read for mesh names.
    if (!modelPath_.isEmpty())
        dialog.lastChosen = modelPath_;
    const QString path = prompts().chooseFile(this, dialog);
    if (path.isEmpty())
        return;
    ReadResult<Model3do> read = read3doModelFile(localPath(path));
    if (!read.ok) {
        showMessage(this, MessageKind::Error,
                    QStringLiteral("Not a valid 3DO file!\n") + reasonText(read.reason));
        return;
    }
    model_ = std::move(read.value);
    modelPath_ = path;
    showLoaded(CBShowObject);
}

// A level that cannot be read, or a choice cancelled, leaves the level shown as it was.
void TPreviewWindow::BtnLoadLevelClick() {
    const QString path = OpenLevel.execute(this);
    if (path.isEmpty())
        return;
    const ReadResult<LevelFile> file = [&] {
        const BusyCursor busy; // a large archive takes a moment to read
        return openLevelFile(localPath(path));
    }();
    ReadResult<Level> read{false, {}, file.reason};
    if (file.ok) {
        const std::optional<std::string> entry = chooseLevelEntry(file.value.levels);
        if (!entry)
            return;
        read = readLevelOf(file.value, *entry);
    }
    if (!read.ok) {
        showMessage(this, MessageKind::Error,
                    QStringLiteral("Not a valid level file!\n") + reasonText(read.reason));
        return;
    }
    level_ = std::move(read.value);
    OpenLevel.keep(path);
    showLoaded(CBShowLevel);
}

// The archive's level the user picks when it holds several; none when the choice is cancelled.
std::optional<std::string>
TPreviewWindow::chooseLevelEntry(const std::vector<std::string>& levels) {
    if (levels.size() < 2)
        return levels.empty() ? std::string() : levels.front();
    QStringList names;
    for (const std::string& level : levels)
        names << fromBytes(level);
    const QString chosen =
        prompts().chooseItem(this, QStringLiteral("Load Level"),
                             QStringLiteral("The archive holds several levels:"), names);
    if (chosen.isEmpty())
        return std::nullopt;
    return toBytes(chosen);
}

// What was just loaded is shown at once.
void TPreviewWindow::showLoaded(QCheckBox* shows) {
    const QSignalBlocker quiet(shows);
    shows->setEnabled(true);
    shows->setChecked(true);
    DrawScene();
}

// ---------------------------------------------------------------------------------------------
// The mouse in the picture: the left button orbits, the right or middle button pans, the wheel
// zooms.

bool TPreviewWindow::Image1Mouse(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto& press = *static_cast<QMouseEvent*>(event);
        if (dragButton_ == Qt::NoButton &&
            (press.button() == Qt::LeftButton || press.button() == Qt::RightButton ||
             press.button() == Qt::MiddleButton)) {
            dragButton_ = press.button();
            lastMouse_ = press.position().toPoint();
        }
        return true;
    }
    case QEvent::MouseMove:
        runGuarded([&] { Image1MouseMove(*static_cast<QMouseEvent*>(event)); }, this);
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == dragButton_)
            dragButton_ = Qt::NoButton;
        return true;
    case QEvent::Wheel:
        runGuarded([&] { Image1MouseWheel(*static_cast<QWheelEvent*>(event)); }, this);
        return true;
    default:
        return false;
    }
}

void TPreviewWindow::Image1MouseMove(const QMouseEvent& event) {
    if (dragButton_ == Qt::NoButton)
        return;
    const QPoint now = event.position().toPoint();
    const QPoint from = lastMouse_;
    lastMouse_ = now;
    if (dragButton_ == Qt::LeftButton) {
        moveCamera(orbitByDrag(camera_, now.x() - from.x(), now.y() - from.y()));
        return;
    }
    const Pixel centre = pictureCentre(Image1->width(), Image1->height());
    moveCamera(panByDrag(camera_, centre, {from.x(), from.y()}, {now.x(), now.y()}));
}

void TPreviewWindow::Image1MouseWheel(const QWheelEvent& event) {
    // Fine-grained wheels send parts of a notch; they add up to whole notches.
    wheelEighths_ += event.angleDelta().y();
    const int notches = wheelEighths_ / kWheelEighthsPerNotch;
    wheelEighths_ -= notches * kWheelEighthsPerNotch;
    moveCamera(zoomByWheel(camera_, notches));
}

} // namespace skyvane

// The 3D preview window: lays out the camera read-outs beside the picture, checks the entries
// each time it becomes active, and turns key presses into camera moves before its controls
// see them.
#include "preview.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "EditBoxes.h"
#include "ErrorReport.h"
#include "GridHost.h"
#include "Text.h"
#include "numbers.h"

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
      host_(host) {
    createGui();
    showReadOuts(ReadOutAll);
    // Keys are seen on their way into the window, before whichever control has the focus.
    qApp->installEventFilter(this);
}

void TPreviewWindow::createGui() {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("3D Preview"));
    setGeometry(kLeft, kTop, kWidth, kHeight);

    LeftPanel = new QWidget(this);
    LeftPanel->setObjectName(QStringLiteral("LeftPanel"));
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

bool TPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    // Every key press enters through the window's platform window before it is passed to the
    // focused control; catching it there sees each press exactly once.
    if (event->type() == QEvent::KeyPress && watched == windowHandle())
        runGuarded([&] { FormKeyDown(*static_cast<QKeyEvent*>(event)); }, this);
    return false; // the key still reaches the focused control
}

void TPreviewWindow::FormActivate() {
    const std::int32_t shown = tryParseInt(toBytes(host_.numEntriesText())).value_or(0);
    EntryCount = std::clamp(shown, 0, kMaxEntries);
    {
        // Limits and value are set quietly: drawing waits for the entry check.
        const QSignalBlocker quiet(SpEntry);
        SpEntry->setRange(0, std::max(0, EntryCount - 1));
        SpEntry->setEnabled(EntryCount > 1);
        SpEntry->setValue(std::min(host_.cursorRow() - 1, EntryCount - 1));
    }
    if (host_.checkEntries(0, kMaxEntries - 1)) {
        // The main window shows the fault and its cell; the old picture stays.
        QWidget* main = host_.mainWidget();
        main->raise();
        main->activateWindow();
        return;
    }
    DrawScene();
    host_.setStatus(QString());
}

void TPreviewWindow::FormResize() {
    LeftPanel->setGeometry(0, 0, kPanelWidth, height());
    RightPanel->setGeometry(kPanelWidth, 0, std::max(0, width() - kPanelWidth), height());
    Image1->setGeometry(RightPanel->contentsRect());
    DrawScene();
}

void TPreviewWindow::SpEntryChange() {
    DrawScene();
}

void TPreviewWindow::FormKeyDown(const QKeyEvent& key) {
    const std::optional<NavKey> nav = navKey(key.key());
    if (!nav)
        return;
    const Qt::KeyboardModifiers held = key.modifiers();
    const KeyModifiers modifiers{held.testFlag(Qt::ShiftModifier),
                                 held.testFlag(Qt::ControlModifier),
                                 held.testFlag(Qt::AltModifier)};
    const unsigned changed = navigate(camera_, *nav, modifiers);
    if (changed == ReadOutNone)
        return;
    showReadOuts(changed);
    DrawScene();
}

void TPreviewWindow::DrawScene() {
    // A typed entry number is clamped by the spin box; the drawing clamps once more.
    const SceneEntries entries{host_.entries(), EntryCount, SpEntry->value()};
    const Bitmap bitmap = skyvane::DrawScene(Image1->width(), Image1->height(), camera_, entries);
    Image1->setPixmap(QPixmap::fromImage(toImage(bitmap)));
}

} // namespace skyvane

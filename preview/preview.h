// The 3D preview window: the current node's trajectory over a ground grid, steered by keys and
// the mouse, and played frame by frame as the game plays it, with a 3DO object posed by the KEY
// and a level around the path; framed on demand and also seen through the played object's eye.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

#include "preview/MarkerSlider.h"
#include "widgets/Prompts.h"
#include "preview/eyeview.h"
#include "formats/level.h"
#include "formats/model3do.h"
#include "preview/scene.h"

class QAction;
class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTimer;
class QWheelEvent;

namespace skyvane {

class GridHost;
struct PlaybackTiming;

class TPreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewWindow(GridHost& host, QWidget* parent = nullptr);

    // After New or Open: playback stops and a played object of the old document goes.
    void documentReplaced();
    // The main window's Undo and Redo, whose keys act from here too.
    void shareUndoKeys(const QList<QAction*>& undoAndRedo);
    // A click on a grid row at rest: the slider goes to that entry's Frame.
    void gridEntryClicked(int entry);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createGui();
    void createTimelineAndViews();
    void FormActivate();
    void FormResize();
    void SpEntryChange();
    void FormKeyDown(const QKeyEvent& key);
    bool timelineTakes(const QKeyEvent& key) const;
    void DrawScene();
    void showReadOuts(unsigned readOuts);
    void moveCamera(unsigned changed);

    // Playback.
    void BtnPlayClick();
    void TBFrameChange();
    void PlayTimerTimer();
    void BtnResetViewClick();
    void BtnFramePathClick();
    void BtnFrameObjectClick();
    std::optional<EyeView> lookingThrough() const;
    void addOtherNodes(SceneWorld& world) const;
    void play();
    void pause();
    void takeEntryCount();
    void showMainWithFault();
    void showTiming(const PlaybackTiming& timing, std::int64_t frame);
    bool showFrame(std::int64_t frame);
    void drawFrame(const PlaybackTiming& timing, std::int64_t frame);
    std::optional<PlaybackTiming> checkedTiming();
    void guardPlayback(const std::function<void()>& work);
    void dropPlayedFrame();
    void stepFrame(int by);
    PlayRange playRange() const;
    void followInGrid(std::int64_t frame);
    bool playbackShown() const;
    void takePlayedFrame();
    std::optional<PlaybackTiming> timingIfReadable() const;

    // The object and the level.
    void BtnLoad3DOClick();
    void BtnLoadLevelClick();
    std::optional<std::string> chooseLevelEntry(const std::vector<std::string>& levels);
    std::vector<WireMesh> shownObject() const;
    void showLoaded(QCheckBox* shows);

    // The mouse in the picture.
    bool Image1Mouse(QEvent* event);
    void Image1MouseMove(const QMouseEvent& event);
    void Image1MouseWheel(const QWheelEvent& event);

    GridHost& host_;
    Camera camera_ = startCamera();
    int EntryCount = 0;

    bool playing_ = false;
    float playingFps_ = 0.0f;
    float shownFps_ = 15.0f;      // the frame rate the read-out counts time in
    std::int64_t startFrame_ = 0; // the frame the clock started from
    QElapsedTimer clock_;
    std::optional<ScenePlayback> played_; // what the last shown frame plays, while it is shown
    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPoint lastMouse_;
    int wheelEighths_ = 0; // wheel turn not yet a whole notch

    std::optional<Model3do> model_;
    QString modelPath_; // the model shown, which Load 3DO offers again
    std::optional<Level> level_;
    FileDialog OpenLevel;

    QScrollArea* LeftScroll = nullptr;
    QWidget* LeftPanel = nullptr;
    QFrame* RightPanel = nullptr;
    QSpinBox* SpEntry = nullptr;
    QLineEdit* EDX = nullptr;
    QLineEdit* EDY = nullptr;
    QLineEdit* EDZ = nullptr;
    QLineEdit* EDu = nullptr;
    QLineEdit* EDv = nullptr;
    QLineEdit* EDw = nullptr;
    QLineEdit* EDZoom = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* BtnPlay = nullptr;
    MarkerSlider* TBFrame = nullptr;
    QLabel* LblFrame = nullptr;
    QCheckBox* CBLoop = nullptr;
    QPushButton* BtnFrameBack = nullptr;
    QSpinBox* SpFrame = nullptr;
    QPushButton* BtnFrameNext = nullptr;
    QSpinBox* SpRangeStart = nullptr;
    QSpinBox* SpRangeEnd = nullptr;
    QPushButton* BtnFramePath = nullptr;
    QPushButton* BtnFrameObject = nullptr;
    QCheckBox* CBLookThrough = nullptr;
    QCheckBox* CBAllNodes = nullptr;
    QPushButton* BtnResetView = nullptr;
    QPushButton* BtnLoad3DO = nullptr;
    QCheckBox* CBShowObject = nullptr;
    QPushButton* BtnLoadLevel = nullptr;
    QCheckBox* CBShowLevel = nullptr;
    QTimer* PlayTimer = nullptr;
};

} // namespace skyvane

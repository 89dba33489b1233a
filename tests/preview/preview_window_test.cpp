// The preview window over a stand-in main window: its controls, the activation rules, the
// entry box's limits, the keys, playback, and the object and level it loads.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <cstring>
#include <fstream>

#include "ScriptedPrompts.h"
#include "SessionHost.h"
#include "core/numbers.h"
#include "preview/preview.h"
#include "preview/scene.h"
#include "testdata.h"

using skyvane::TPreviewWindow;
using skyvane::test::SessionHost;
using namespace skyvane;

namespace {

const char* const kReadOuts[] = {"EDX", "EDY", "EDZ", "EDu", "EDv", "EDw", "EDZoom"};

// A straight flight along +X at height 0: entry e at (e, 0, 0), facing -X (yaw 90).
void fillTrajectory(SessionHost& host, int count) {
    for (int e = 0; e < count; ++e)
        host.setEntry(e, {std::to_string(e), "1", std::to_string(e), "0", "0", "0", "90", "0"});
}

// Two nodes of two entries, 4 frames apart: node k's entry e at (1 + e, 3 k, 0), facing -X.
TKeyDocument twoNodes() {
    TKeyDocument document;
    document.Nodes.resize(2);
    for (int k = 0; k < 2; ++k)
        for (int e = 0; e < 2; ++e) {
            const std::string cells[] = {std::to_string(4 * e),
                                         "4",
                                         std::to_string(1 + e),
                                         std::to_string(3 * k),
                                         "0",
                                         "0",
                                         "90",
                                         "0"};
            for (int c = 0; c < 8; ++c)
                document.Nodes[k].Data.setCell(ColFrame + c, e, cells[c]);
            document.Nodes[k].Entries = 2;
        }
    return document;
}

QColor pixelAt(const QLabel* image, int x, int y) {
    return image->pixmap().toImage().pixelColor(x, y);
}

// A path whose entry 0 has Steps 1 but 4 frames to entry 1: the object flies on to X 8 and
// jumps back to entry 1 at X 2.
void fillOvershootingPath(SessionHost& host) {
    host.setEntry(0, {"0", "1", "0", "0", "0", "0", "90", "0"});
    host.setEntry(1, {"4", "1", "2", "0", "0", "0", "90", "0"});
}

QImage imageOf(const Bitmap& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(image.scanLine(y), bitmap.scanLine(y),
                    static_cast<std::size_t>(bitmap.width()) * 3);
    return image;
}

// The picture the scene draws for these entries and camera, with nothing played.
QImage plainPicture(SessionHost& host, const Camera& camera, QSize size, int count, int highlighted,
                    const SceneWorld& world = {}) {
    return imageOf(skyvane::DrawScene(size.width(), size.height(), camera,
                                      SceneEntries{host.entries(), count, highlighted}, world));
}

// The read-outs a camera shows, as the boxes format them.
QStringList readOutsOf(const Camera& camera) {
    QStringList texts;
    for (const float v : {camera.Position.x, camera.Position.y, camera.Position.z, camera.Heading.x,
                          camera.Heading.y, camera.Heading.z})
        texts << QString::fromStdString(formatPattern(v, "###0.000"));
    texts << QString::fromStdString(formatPattern(camera.Zoom, "#0.0"));
    return texts;
}

// How many pixels of a colour the picture holds, and the box around them.
struct Painted {
    int count = 0;
    QRect box;
};
Painted paintedIn(const QLabel* image, const QColor& colour) {
    const QImage picture = image->pixmap().toImage();
    Painted painted;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) == colour) {
                ++painted.count;
                painted.box |= QRect(x, y, 1, 1);
            }
    return painted;
}

const QColor kObjectGrey(192, 192, 192);

QString dataFile(const char* name) {
    return QString::fromStdString(testdata::path(name));
}

QString writeFile(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

    SessionHost* host = nullptr;
    TPreviewWindow* window = nullptr;

    template <typename T> T* control(const char* name) {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("control %s missing", name);
        return found;
    }
    QString text(const char* box) { return control<QLineEdit>(box)->text(); }
    QStringList readOuts() {
        QStringList texts;
        for (const char* box : kReadOuts)
            texts << text(box);
        return texts;
    }
    void activate() {
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window, &activation);
    }
    // A key as the platform delivers it: into the window, then to the focused control.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), static_cast<Qt::Key>(key), modifiers);
    }
    qint64 pictureKey() { return control<QLabel>("Image1")->pixmap().cacheKey(); }
    QImage picture() {
        return control<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
    }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // Where the start camera puts a point of the world in the picture.
    QPoint projected(Vec3f point) {
        const auto* image = control<QLabel>("Image1");
        const Pixel centre = pictureCentre(image->width(), image->height());
        const auto at = ProjectPoint(centre.x, centre.y, startCamera(), point);
        if (!at)
            qFatal("no pixel");
        return {at->x, at->y};
    }

private slots:
    void init() {
        host = new SessionHost;
        window = new TPreviewWindow(*host, nullptr);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() {
        delete window;
        delete host;
    }

    void layout_hasItsNamedControls() {
        QCOMPARE(window->windowTitle(), QStringLiteral("3D Preview"));
        QCOMPARE(window->objectName(), QStringLiteral("PreviewWindow"));
        QCOMPARE(window->size(), QSize(650, 470));
        QVERIFY(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        for (const char* name : kReadOuts) {
            auto* box = control<QLineEdit>(name);
            QVERIFY2(box->isReadOnly(), name);
            QVERIFY2(!(box->focusPolicy() & Qt::TabFocus), name);
        }
        QVERIFY(!(control<QSpinBox>("SpEntry")->focusPolicy() & Qt::TabFocus));
        QStringList captions;
        for (const QLabel* label : window->findChildren<QLabel*>())
            captions << label->text();
        for (const char* caption :
             {"Entry :", "Use arrow keys to move around", "Use shift + arrow keys to rotate",
              "Use + and - keys to zoom in/out", "Camera Position :", "X", "Y", "Z",
              "Camera Heading:", "i", "+", "j", "k", "Zoom Factor :"})
            QVERIFY2(captions.contains(QString::fromLatin1(caption)), caption);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("LabelI"))->font().bold());
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("LabelK"))->font().italic());
    }

    void start_showsTheStartCameraAndTheGrid() {
        QCOMPARE(readOuts(),
                 QStringList({"0.000", "-49.384", "7.822", "0.000", "0.988", "-0.156", "1.0"}));
        const auto* image = control<QLabel>("Image1");
        QCOMPARE(image->width(), 650 - 200 - 2);
        QCOMPARE(image->pixmap().size(), image->size());
        const int cx = qRound(image->width() * 0.5);
        const int cy = image->height() / 2; // 468 / 2
        QCOMPARE(pixelAt(image, cx, cy), QColor(0, 0, 128));
        QCOMPARE(pixelAt(image, cx, 5), QColor(Qt::black));
    }

    void activation_setsTheEntryBoxFromCountAndCursor_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("cursorEntry");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty table") << 0 << 0 << 0 << 0 << false;
        QTest::newRow("one entry") << 1 << 3 << 0 << 0 << false;
        QTest::newRow("cursor below the last entry") << 5 << 7 << 4 << 4 << true;
        QTest::newRow("cursor on entry 2") << 5 << 2 << 2 << 4 << true;
    }
    void activation_setsTheEntryBoxFromCountAndCursor() {
        QFETCH(int, entries);
        QFETCH(int, cursorEntry);
        fillTrajectory(*host, entries);
        host->entry = cursorEntry;
        activate();
        const auto* spEntry = control<QSpinBox>("SpEntry");
        QTEST(spEntry->value(), "value");
        QTEST(spEntry->maximum(), "maximum");
        QCOMPARE(spEntry->minimum(), 0);
        QTEST(spEntry->isEnabled(), "enabled");
    }

    void activation_withGoodEntries_drawsThemAndClearsTheStatus() {
        fillTrajectory(*host, 3);
        host->entry = 1; // entry 1, at (1, 0, 0)
        host->status = QStringLiteral("No Errors");
        activate();
        QCOMPARE(host->status, QString());
        const auto* image = control<QLabel>("Image1");
        const int cx = image->width() / 2;
        const int cy = image->height() / 2;
        QCOMPARE(pixelAt(image, cx - 2, cy - 2), QColor(0, 128, 0)); // entry 0, green
        QCOMPARE(pixelAt(image, cx + 25, cy), QColor(255, 0, 0));    // entry 1, red
        QCOMPARE(pixelAt(image, cx + 10, cy), QColor(255, 0, 0));    // its heading, towards -X
    }

    void activation_withAFault_keepsThePictureAndLeavesTheFaultShown() {
        fillTrajectory(*host, 3);
        host->entry = 0;
        activate();
        const qint64 before = pictureKey();
        host->setEntry(2, {"2", "1", "abc", "0", "0", "0", "0", "0"});
        host->entry = 1; // a new highlighted entry would redraw if it were set loudly
        activate();
        QCOMPARE(pictureKey(), before);
        QCOMPARE(host->status, QStringLiteral("Error: Invalid number"));
        QCOMPARE(host->cursorColumn, 3);
        QCOMPARE(host->entry, 2);
    }

    void entryBox_changeRedraws() {
        fillTrajectory(*host, 5);
        activate();
        const qint64 before = pictureKey();
        control<QSpinBox>("SpEntry")->setValue(3);
        QVERIFY(pictureKey() != before);
    }

    void entryBox_keepsTypedValuesWithinTheEntries() {
        fillTrajectory(*host, 5);
        host->entry = 2;
        activate();
        auto* spEntry = control<QSpinBox>("SpEntry");
        spEntry->setFocus();
        spEntry->selectAll();
        QTest::keyClicks(spEntry, QStringLiteral("9"));
        QVERIFY(spEntry->value() >= 0 && spEntry->value() <= 4);
        spEntry->selectAll();
        QTest::keyClicks(spEntry, QStringLiteral("x-"));
        QVERIFY(spEntry->value() >= 0 && spEntry->value() <= 4);
        spEntry->setValue(99);
        QCOMPARE(spEntry->value(), 4);
        spEntry->setValue(-3);
        QCOMPARE(spEntry->value(), 0);
    }

    void keys_moveTheCameraOncePerPress() {
        press(Qt::Key_Up);
        QCOMPARE(text("EDY"), QStringLiteral("-49.228"));
        QCOMPARE(text("EDZ"), QStringLiteral("8.809"));
        press(Qt::Key_Down);
        QCOMPARE(text("EDY"), QStringLiteral("-49.384"));
        press(Qt::Key_Left);
        QCOMPARE(text("EDX"), QStringLiteral("-1.000"));
        for (int i = 0; i < 9; ++i)
            press(Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(text("EDw"), QStringLiteral("-1.000"));
        QCOMPARE(text("EDZ"), QStringLiteral("50.000"));
    }

    void keys_withCtrlOrAlt_changeNothingAndDoNotRedraw() {
        const QStringList before = readOuts();
        const qint64 picture = pictureKey();
        press(Qt::Key_Up, Qt::ControlModifier);
        press(Qt::Key_Left, Qt::AltModifier);
        press(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(readOuts(), before);
        QCOMPARE(pictureKey(), picture);
    }

    void zoomKeys_workOnBothKeyboardsWithAndWithoutShift_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("zoom");
        QTest::newRow("equals") << int(Qt::Key_Equal) << int(Qt::NoModifier) << "2.0";
        QTest::newRow("shift plus") << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << "2.0";
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << int(Qt::KeypadModifier) << "2.0";
        QTest::newRow("ctrl plus") << int(Qt::Key_Plus) << int(Qt::ControlModifier) << "2.0";
        QTest::newRow("minus") << int(Qt::Key_Minus) << int(Qt::NoModifier) << "0.9";
        QTest::newRow("shift minus") << int(Qt::Key_Underscore) << int(Qt::ShiftModifier) << "0.9";
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << int(Qt::KeypadModifier) << "0.9";
    }
    void zoomKeys_workOnBothKeyboardsWithAndWithoutShift() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        press(key, Qt::KeyboardModifiers(modifiers));
        QTEST(text("EDZoom"), "zoom");
    }

    void keys_alsoReachTheFocusedEntryBox() {
        fillTrajectory(*host, 5);
        host->entry = 2;
        activate();
        auto* spEntry = control<QSpinBox>("SpEntry");
        spEntry->setFocus();
        press(Qt::Key_Up);
        QCOMPARE(text("EDY"), QStringLiteral("-49.228"));
        QCOMPARE(spEntry->value(), 3);
    }

    // A read-only box passes Up on to its parents; the camera still moves only once.
    void keys_ignoredByTheFocusedControl_moveTheCameraOnce() {
        control<QLineEdit>("EDX")->setFocus();
        press(Qt::Key_Up);
        QCOMPARE(text("EDY"), QStringLiteral("-49.228"));
    }

    void resize_redrawsAtTheNewSize() {
        window->resize(500, 400);
        const auto* image = control<QLabel>("Image1");
        QCOMPARE(image->size(), QSize(298, 398));
        QCOMPARE(image->pixmap().size(), QSize(298, 398));
        QCOMPARE(pixelAt(image, 149, 199), QColor(0, 0, 128));
    }

    void playbackControls_areBelowTheCameraBoxes() {
        QCOMPARE(control<QPushButton>("BtnPlay")->text(), QStringLiteral("Play"));
        QCOMPARE(control<QLabel>("LblFrame")->text(), QStringLiteral("Frame 0   0.000 s"));
        QCOMPARE(control<QCheckBox>("CBLoop")->text(), QStringLiteral("Loop"));
        QVERIFY(!control<QCheckBox>("CBLoop")->isChecked());
        QCOMPARE(control<QPushButton>("BtnResetView")->text(), QStringLiteral("Reset view"));
        const int zoomBottom = control<QLineEdit>("EDZoom")->geometry().bottom();
        for (const char* name : {"BtnPlay", "TBFrame", "LblFrame", "CBLoop", "BtnResetView"})
            QVERIFY2(control<QWidget>(name)->y() > zoomBottom, name);
    }

    void objectAndLevelControls_fitAShortWindow() {
        // A preview placed below a wide main window on a 1280 x 1024 screen is 444 pixels high.
        window->resize(650, 444);
        const QList<QPair<const char*, const char*>> captions{{"BtnLoad3DO", "Load 3DO..."},
                                                              {"CBShowObject", "Show object"},
                                                              {"BtnLoadLevel", "Load Level..."},
                                                              {"CBShowLevel", "Show level"},
                                                              {"CBLoop", "Loop"},
                                                              {"BtnFramePath", "Frame path"},
                                                              {"BtnFrameObject", "Frame object"},
                                                              {"CBLookThrough", "Look through"},
                                                              {"CBAllNodes", "All nodes"}};
        for (const auto& [name, caption] : captions) {
            auto* button = control<QAbstractButton>(name);
            QCOMPARE(button->text(), QString::fromLatin1(caption));
            QVERIFY2(button->geometry().bottom() < control<QWidget>("LeftPanel")->height(), name);
            QVERIFY2(button->sizeHint().width() <= button->width(), name);
        }
        // Nothing to show before something is loaded.
        QVERIFY(!control<QCheckBox>("CBShowObject")->isEnabled());
        QVERIFY(!control<QCheckBox>("CBShowLevel")->isEnabled());

        // Shorter still (below a wide main window on a 1440 x 900 screen), the panel scrolls to
        // its last row and the picture keeps its place.
        window->resize(650, 320);
        auto* scroll = control<QScrollArea>("LeftScroll");
        auto* last = control<QWidget>("CBShowLevel");
        scroll->ensureWidgetVisible(last);
        const int top = last->mapTo(scroll->viewport(), QPoint(0, 0)).y();
        QVERIFY(top >= 0 && top + last->height() <= scroll->viewport()->height());
        QCOMPARE(control<QWidget>("RightPanel")->x(), 200);
    }

    void loadedObject_standsOnTheEntryOrThePlayedFrame_andTheTickHidesIt() {
        skyvane::test::ScriptedPrompts prompts;
        host->meshNamesDialog.lastChosen = QStringLiteral("/models/ship.3do");
        fillTrajectory(*host, 5);
        host->entry = 3; // at (3, 0, 0)
        activate();
        const QImage plain = picture();
        prompts.files = {dataFile("cube.3do")};
        click("BtnLoad3DO");
        // Before a model is shown here, the one read for mesh names is offered.
        QCOMPARE(prompts.dialogs.at(0).objectName, QStringLiteral("Open3DO"));
        QCOMPARE(prompts.dialogs.at(0).lastChosen, QStringLiteral("/models/ship.3do"));
        auto* show = control<QCheckBox>("CBShowObject");
        QVERIFY(show->isEnabled() && show->isChecked());
        const Painted onEntry = paintedIn(control<QLabel>("Image1"), kObjectGrey);
        QVERIFY(onEntry.count > 0);
        QVERIFY(onEntry.box.contains(projected({3, 0, 0})));

        show->setChecked(false);
        QCOMPARE(picture(), plain);
        show->setChecked(true);
        control<QSlider>("TBFrame")->setValue(1);
        const Painted played = paintedIn(control<QLabel>("Image1"), kObjectGrey);
        QVERIFY(played.box.contains(projected({1, 0, 0})));
        QVERIFY(!played.box.contains(projected({3, 0, 0})));

        click("BtnLoad3DO"); // cancelled
        QCOMPARE(prompts.dialogs.at(1).lastChosen, dataFile("cube.3do"));
    }

    void unreadableModel_keepsTheObjectShownAndSaysWhy() {
        skyvane::test::ScriptedPrompts prompts;
        const QTemporaryDir dir;
        const QString broken = writeFile(
            dir, "broken.3do", testdata::cutBefore(testdata::text("cube.3do"), "HIERARCHY NODES"));
        fillTrajectory(*host, 2);
        activate();
        prompts.files = {dataFile("cube.3do"), broken};
        click("BtnLoad3DO");
        const QImage withCube = picture();
        click("BtnLoad3DO");
        const std::string reason = read3doModelFile(broken.toStdString()).reason;
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages[0].kind, MessageKind::Error);
        QCOMPARE(prompts.messages[0].text,
                 QStringLiteral("Not a valid 3DO file!\n") + QString::fromStdString(reason));
        QCOMPARE(picture(), withCube);
        click("BtnLoad3DO"); // cancelled: the model shown is offered, not the refused one
        QCOMPARE(prompts.dialogs.at(2).lastChosen, dataFile("cube.3do"));
    }

    void levels_aTextLevelAtOnce_anArchiveOfTwoAsksWhich_anUnreadableOneKeepsTheShown() {
        skyvane::test::ScriptedPrompts prompts;
        const QTemporaryDir dir;
        const std::string rooms = testdata::text("tworooms.jkl");
        // The second level's first corner raised, so the two draw differently.
        const std::string raised =
            testdata::edited(rooms, "0:\t-6.000000\t-3.000000\t0.000000", "0:\t-6\t-3\t2");
        const QString archive = writeFile(dir, "episode.gob",
                                          testdata::gobArchive({{"jkl\\rooms.jkl", rooms},
                                                                {"misc\\readme.txt", "two levels"},
                                                                {"jkl\\raised.jkl", raised}}));
        const QString broken =
            writeFile(dir, "broken.jkl", testdata::cutBefore(rooms, "World surfaces"));
        const QSize size = control<QLabel>("Image1")->size();
        const auto pictureOf = [&](const std::string& text) {
            const Level level = readLevel(text).value;
            return plainPicture(*host, startCamera(), size, 0, 0, {&level, {}});
        };

        prompts.files = {dataFile("tworooms.jkl"), archive, broken};
        prompts.items = {QStringLiteral("jkl\\raised.jkl")};
        click("BtnLoadLevel");
        QVERIFY(prompts.choices.isEmpty());
        QCOMPARE(picture(), pictureOf(rooms));
        click("BtnLoadLevel");
        QCOMPARE(prompts.choices, QList<QStringList>({{"jkl\\rooms.jkl", "jkl\\raised.jkl"}}));
        QCOMPARE(picture(), pictureOf(raised));
        QVERIFY(picture() != pictureOf(rooms));
        click("BtnLoadLevel");
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(
            prompts.messages[0].text.startsWith(QStringLiteral("Not a valid level file!\nline ")));
        QCOMPARE(picture(), pictureOf(raised));
        control<QCheckBox>("CBShowLevel")->setChecked(false);
        QCOMPARE(picture(), plainPicture(*host, startCamera(), size, 0, 0));
    }

    // Arrow keys on a focused button would walk the focus on to the slider and play frames.
    void panelButtons_leaveTheArrowKeysToTheCamera() {
        skyvane::test::ScriptedPrompts prompts; // every dialog cancelled
        fillOvershootingPath(*host);
        activate();
        const auto arrows = [&](const char* after) {
            for (const int key : {Qt::Key_Left, Qt::Key_Up})
                for (int i = 0; i < 4; ++i)
                    press(key);
            QVERIFY2(!control<QSlider>("TBFrame")->hasFocus(), after);
            QCOMPARE(control<QSlider>("TBFrame")->value(), 0);
        };
        arrows("opening");
        for (const char* name : {"BtnResetView", "CBLoop", "BtnLoad3DO", "BtnLoadLevel"}) {
            QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
            arrows(name);
        }
    }

    void activation_setsTheSliderOverTheFramesOfTheFile() {
        fillOvershootingPath(*host);
        activate();
        QCOMPARE(control<QSlider>("TBFrame")->maximum(), 4);
        QCOMPARE(control<QSlider>("TBFrame")->value(), 0);
    }

    void slider_showsThePlayedObjectWhereTheGameHasIt_data() {
        QTest::addColumn<int>("frame");
        QTest::addColumn<float>("x");
        QTest::addColumn<QString>("readOut");
        QTest::newRow("overshooting") << 3 << 6.0f << "Frame 3   0.200 s";
        QTest::newRow("snapped back to entry 1") << 4 << 2.0f << "Frame 4   0.267 s";
    }
    void slider_showsThePlayedObjectWhereTheGameHasIt() {
        QFETCH(int, frame);
        QFETCH(float, x);
        fillOvershootingPath(*host);
        host->entry = 1; // entry 1 highlighted
        activate();
        control<QSlider>("TBFrame")->setValue(frame);
        QTEST(control<QLabel>("LblFrame")->text(), "readOut");
        const auto* image = control<QLabel>("Image1");
        const Pixel centre = pictureCentre(image->width(), image->height());
        const auto at = ProjectPoint(centre.x, centre.y, startCamera(), {x, 0, 0});
        QVERIFY(at);
        const QColor yellow(255, 255, 0);
        QCOMPARE(pixelAt(image, at->x - 3, at->y - 3), yellow);
        QCOMPARE(pixelAt(image, at->x + 2, at->y + 2), yellow);
        QCOMPARE(pixelAt(image, at->x - 10, at->y), yellow); // heading towards -X
        QVERIFY(pixelAt(image, at->x + 3, at->y + 3) != yellow);
        // Entry 0 ends in a jump: magenta at the centre, where entry 0 stands.
        QCOMPARE(pixelAt(image, centre.x - 3, centre.y - 3), QColor(255, 0, 255));
    }

    void sliderBackAtZero_withNothingPlaying_isThePlainPicturePixelForPixel() {
        fillOvershootingPath(*host);
        host->entry = 1;
        activate();
        auto* image = control<QLabel>("Image1");
        const QImage plain = plainPicture(*host, startCamera(), image->size(), 2, 1);
        QCOMPARE(image->pixmap().toImage().convertToFormat(QImage::Format_RGB888), plain);
        control<QSlider>("TBFrame")->setValue(2);
        QVERIFY(image->pixmap().toImage().convertToFormat(QImage::Format_RGB888) != plain);
        control<QSlider>("TBFrame")->setValue(0);
        QCOMPARE(image->pixmap().toImage().convertToFormat(QImage::Format_RGB888), plain);
    }

    void play_runsInRealTimeToTheLastFrameAndStops() {
        fillOvershootingPath(*host);
        host->edit.setFrameRateText("30.0");
        activate();
        auto* play = control<QPushButton>("BtnPlay");
        QTest::mouseClick(play, Qt::LeftButton);
        QCOMPARE(play->text(), QStringLiteral("Pause"));
        QTRY_COMPARE(control<QSlider>("TBFrame")->value(), 4);
        QTRY_COMPARE(play->text(), QStringLiteral("Play"));
        // The object stays on the last frame, at entry 1.
        QCOMPARE(control<QLabel>("LblFrame")->text(), QStringLiteral("Frame 4   0.133 s"));
    }

    void play_withLoop_goesOnAndPauseKeepsTheFrame() {
        fillOvershootingPath(*host);
        host->edit.setFrameRateText("60.0");
        activate();
        control<QCheckBox>("CBLoop")->setChecked(true);
        auto* play = control<QPushButton>("BtnPlay");
        QTest::mouseClick(play, Qt::LeftButton);
        QTest::qWait(200); // more than the 5 frames of the path
        QCOMPARE(play->text(), QStringLiteral("Pause"));
        QTest::mouseClick(play, Qt::LeftButton);
        QCOMPARE(play->text(), QStringLiteral("Play"));
        const int paused = control<QSlider>("TBFrame")->value();
        const qint64 picture = pictureKey();
        QTest::qWait(100);
        QCOMPARE(control<QSlider>("TBFrame")->value(), paused);
        QCOMPARE(pictureKey(), picture);
    }

    void play_followsEditsAndPausesOnceAtCellsThatFailTheCheck_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("status");
        QTest::newRow("X no number") << 3 << "abc"
                                     << "Error: Invalid number";
        QTest::newRow("Frame no integer") << 1 << "1.5"
                                          << "Error: Invalid integer";
        QTest::newRow("Frame no number") << 1 << "abc"
                                         << "Error: Invalid integer";
    }
    void play_followsEditsAndPausesOnceAtCellsThatFailTheCheck() {
        QFETCH(int, column);
        QFETCH(QString, cell);
        skyvane::test::ScriptedPrompts prompts;
        fillOvershootingPath(*host);
        host->edit.setFrameRateText("10.0");
        activate();
        auto* play = control<QPushButton>("BtnPlay");
        QTest::mouseClick(play, Qt::LeftButton);
        host->edit.typeCell(column, 1, cell.toStdString());
        QTRY_COMPARE(play->text(), QStringLiteral("Play"));
        QTEST(host->status, "status");
        QCOMPARE(host->cursorColumn, column);
        QCOMPARE(host->entry, 1);
        // No box, now or on later ticks: the event loop serves the window.
        QTest::qWait(250);
        QCOMPARE(prompts.messages.size() + prompts.errors.size(), 0);
        QCOMPARE(play->text(), QStringLiteral("Play"));
    }

    // Another node's Frame is not checked by the entry check, only read for the timing.
    void play_withAnotherNodesFrameNoInteger_saysWhichInTheStatusPanel() {
        skyvane::test::ScriptedPrompts prompts;
        TKeyDocument document = twoNodes();
        document.Nodes[1].Data.setCell(ColFrame, 1, "abc");
        host->edit.install(document);
        activate();
        QTest::mouseClick(control<QPushButton>("BtnPlay"), Qt::LeftButton);
        QCOMPARE(control<QPushButton>("BtnPlay")->text(), QStringLiteral("Play"));
        QCOMPARE(host->status,
                 QStringLiteral("node 1 entry 1: 'abc' is not a valid integer value"));
        QCOMPARE(prompts.messages.size() + prompts.errors.size(), 0);
    }

    // The object stays after playback only where the slider rests away from frame 0.
    void play_ofAOneEntryNode_endsWithoutThePlayedSquare() {
        host->setEntry(0, {"0", "1", "0", "0", "0", "0", "90", "0"});
        host->edit.setFrameRateText("30.0");
        activate();
        const QImage plain = picture();
        QTest::mouseClick(control<QPushButton>("BtnPlay"), Qt::LeftButton);
        QTRY_COMPARE(control<QPushButton>("BtnPlay")->text(), QStringLiteral("Play"));
        QCOMPARE(paintedIn(control<QLabel>("Image1"), QColor(255, 255, 0)).count, 0);
        QCOMPARE(picture(), plain);
    }

    void deepHierarchy_loadsAndDraws() {
        skyvane::test::ScriptedPrompts prompts;
        const QTemporaryDir dir;
        std::ifstream cube(testdata::path("cube.3do"), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(cube)), std::istreambuf_iterator<char>());
        text.erase(text.find("HIERARCHY NODES"));
        // A chain 100,000 nodes deep, the fin at its end.
        constexpr int kDepth = 100000;
        text += "HIERARCHY NODES " + std::to_string(kDepth) + "\n";
        for (int n = 0; n < kDepth; ++n)
            text += std::to_string(n) + ": 0x0 0x1 " +
                    (n == 0            ? "0"
                     : n + 1 == kDepth ? "1"
                                       : "-1") +
                    " " + std::to_string(n - 1) + " -1 -1 0 0 0 0 0 0 0 0 0 0 n\n";
        prompts.files = {writeFile(dir, "deep.3do", text)};
        fillTrajectory(*host, 1);
        activate();
        click("BtnLoad3DO");
        QCOMPARE(prompts.messages.size() + prompts.errors.size(), 0);
        QVERIFY(paintedIn(control<QLabel>("Image1"), kObjectGrey).count > 0);
    }

    void sliderKeys_moveTheFrameAndLeaveTheCamera() {
        fillOvershootingPath(*host);
        activate();
        control<QSlider>("TBFrame")->setFocus();
        const QStringList before = readOuts();
        for (int key : {Qt::Key_Right, Qt::Key_Up, Qt::Key_End, Qt::Key_Left, Qt::Key_Home})
            press(key);
        press(Qt::Key_Right);
        QCOMPARE(control<QSlider>("TBFrame")->value(), 1);
        QCOMPARE(readOuts(), before);
    }

    void frameBox_typedAndEntered_movesTheSliderAndTheGridCursor() {
        fillTrajectory(*host, 10);
        activate();
        auto* box = control<QSpinBox>("SpFrame");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "7");
        QCOMPARE(control<QSlider>("TBFrame")->value(), 0); // not before Enter
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(control<QSlider>("TBFrame")->value(), 7);
        QCOMPARE(host->entry, 7);
        click("BtnFrameBack");
        click("BtnFrameBack");
        click("BtnFrameNext");
        QCOMPARE(box->value(), 6);
    }

    void playRange_playsItsFramesAndLoopLoopsThem() {
        fillTrajectory(*host, 10);
        host->edit.setFrameRateText("100.0");
        activate();
        control<QSpinBox>("SpRangeStart")->setValue(3);
        QCOMPARE(control<QSpinBox>("SpRangeEnd")->value(), 9);
        control<QSpinBox>("SpRangeEnd")->setValue(5);
        auto* play = control<QPushButton>("BtnPlay");
        QTest::mouseClick(play, Qt::LeftButton);
        QCOMPARE(control<QSlider>("TBFrame")->value(), 3);
        QTRY_COMPARE(play->text(), QStringLiteral("Play"));
        QCOMPARE(control<QSlider>("TBFrame")->value(), 5);

        control<QCheckBox>("CBLoop")->setChecked(true);
        QTest::mouseClick(play, Qt::LeftButton);
        QTRY_COMPARE(control<QSlider>("TBFrame")->value(), 5); // round to the end of the range,
        QTRY_COMPARE(control<QSlider>("TBFrame")->value(), 3); // and from its start again
        QCOMPARE(play->text(), QStringLiteral("Pause"));
    }

    void framePathKeyAndButtons_fitThePathAndTheObjectIntoThePicture() {
        skyvane::test::ScriptedPrompts prompts;
        fillTrajectory(*host, 5);
        activate();
        auto* image = control<QLabel>("Image1");
        press(Qt::Key_F);
        Camera path = startCamera();
        frameAll(path, {{0, 0, 0}, {4, 0, 0}}, image->width(), image->height());
        QCOMPARE(readOuts(), readOutsOf(path));
        prompts.files = {dataFile("cube.3do")};
        click("BtnLoad3DO");
        click("BtnFrameObject");
        QVERIFY(readOuts() != readOutsOf(path));
        const QRect object = paintedIn(image, kObjectGrey).box;
        const QRect inside =
            image->rect().adjusted(kFrameMargin, kFrameMargin, -kFrameMargin, -kFrameMargin);
        QVERIFY(inside.contains(object));
        QVERIFY(object.width() > image->width() / 4);
    }

    void lookThrough_seesFromTheHighlightedEntryThenFromThePlayedFrame() {
        fillOvershootingPath(*host);
        host->entry = 1;
        activate();
        const QImage plain = picture();
        const QSize size = control<QLabel>("Image1")->size();
        const auto seenFrom = [&](Vec3f at) {
            const EyeView eye = eyeOf(at, 0, 90, 0, size.width(), size.height());
            return imageOf(DrawEyeScene(eye, {host->entries(), 2, 1}, {}));
        };
        auto* look = control<QCheckBox>("CBLookThrough");
        look->setChecked(true);
        QCOMPARE(picture(), seenFrom({2, 0, 0}));
        control<QSlider>("TBFrame")->setValue(3); // flown on to X 6
        QCOMPARE(picture(), seenFrom({6, 0, 0}));
        control<QSlider>("TBFrame")->setValue(0);
        look->setChecked(false);
        QCOMPARE(picture(), plain);
    }

    void allNodes_drawsTheOtherNodesDimmedAndPlaysThemTogether() {
        host->edit.install(twoNodes());
        activate();
        const QImage plain = picture();
        auto* image = control<QLabel>("Image1");
        auto* all = control<QCheckBox>("CBAllNodes");
        all->setChecked(true);
        QVERIFY(paintedIn(image, QColor(0, 64, 0)).box.contains(projected({1, 3, 0})));
        control<QSlider>("TBFrame")->setValue(2); // node 1 halfway to its entry 1
        QVERIFY(paintedIn(image, QColor(128, 128, 0)).box.contains(projected({1.5f, 3, 0})));
        QVERIFY(paintedIn(image, QColor(255, 255, 0)).box.contains(projected({1.5f, 0, 0})));
        control<QSlider>("TBFrame")->setValue(0);
        all->setChecked(false);
        QCOMPARE(picture(), plain);
    }

    void closing_pausesPlayback() {
        fillOvershootingPath(*host);
        activate();
        QTest::mouseClick(control<QPushButton>("BtnPlay"), Qt::LeftButton);
        window->close();
        QCOMPARE(control<QPushButton>("BtnPlay")->text(), QStringLiteral("Play"));
    }

    void play_withoutAFrameRate_saysSo() {
        skyvane::test::ScriptedPrompts prompts;
        fillOvershootingPath(*host);
        host->edit.setFrameRateText("");
        activate();
        QTest::mouseClick(control<QPushButton>("BtnPlay"), Qt::LeftButton);
        QCOMPARE(prompts.messageTexts(), QStringList({"Invalid frame-rate value!"}));
        QCOMPARE(control<QPushButton>("BtnPlay")->text(), QStringLiteral("Play"));
    }

    void mouseDrag_orbitsAsTheShiftArrowKeysTurn_data() {
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<int>("key");
        QTest::newRow("30 pixels right") << QPoint(30, 0) << int(Qt::Key_Left);
        QTest::newRow("30 pixels left") << QPoint(-30, 0) << int(Qt::Key_Right);
        QTest::newRow("18 pixels down") << QPoint(0, 18) << int(Qt::Key_Up);
        QTest::newRow("18 pixels up") << QPoint(0, -18) << int(Qt::Key_Down);
    }
    void mouseDrag_orbitsAsTheShiftArrowKeysTurn() {
        QFETCH(QPoint, move);
        QFETCH(int, key);
        auto* image = control<QLabel>("Image1");
        const QPoint from(100, 100);
        QTest::mousePress(image, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(image, from + move);
        QTest::mouseRelease(image, Qt::LeftButton, Qt::NoModifier, from + move);
        const QStringList dragged = readOuts();
        press(Qt::Key_Home);
        press(key, Qt::ShiftModifier);
        QCOMPARE(dragged, readOuts());
    }

    void mouseDrag_withTheRightOrMiddleButton_pans_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }
    void mouseDrag_withTheRightOrMiddleButton_pans() {
        QFETCH(int, button);
        auto* image = control<QLabel>("Image1");
        const Pixel centre = pictureCentre(image->width(), image->height());
        const QPoint from(centre.x, centre.y);
        const QPoint to = from + QPoint(40, -30);
        const auto held = static_cast<Qt::MouseButton>(button);
        QTest::mousePress(image, held, Qt::NoModifier, from);
        QTest::mouseMove(image, to);
        QTest::mouseRelease(image, held, Qt::NoModifier, to);
        Camera expected = startCamera();
        panByDrag(expected, centre, {from.x(), from.y()}, {to.x(), to.y()});
        QCOMPARE(readOuts(), readOutsOf(expected));
        // The focus point followed the mouse: the grid lines x = 0 and y = 0 cross there.
        QCOMPARE(pixelAt(image, to.x(), to.y()), QColor(0, 0, 128));
    }

    void mouseWheel_zoomsOneLadderStepPerNotch() {
        auto* image = control<QLabel>("Image1");
        const auto wheel = [&](int delta) {
            QWheelEvent event(QPointF(50, 50), image->mapToGlobal(QPointF(50, 50)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QCoreApplication::sendEvent(image, &event);
        };
        wheel(120);
        QCOMPARE(text("EDZoom"), QStringLiteral("2.0"));
        wheel(-240);
        QCOMPARE(text("EDZoom"), QStringLiteral("0.9"));
        wheel(60); // half a notch waits for its other half
        QCOMPARE(text("EDZoom"), QStringLiteral("0.9"));
        wheel(60);
        QCOMPARE(text("EDZoom"), QStringLiteral("1.0"));
        press(Qt::Key_Minus);
        QCOMPARE(text("EDZoom"), QStringLiteral("0.9"));
    }

    void homeAndResetView_bringBackTheStartCamera() {
        const QStringList start = readOuts();
        press(Qt::Key_Up, Qt::ShiftModifier);
        press(Qt::Key_Left);
        press(Qt::Key_Plus);
        QVERIFY(readOuts() != start);
        press(Qt::Key_Home);
        QCOMPARE(readOuts(), start);
        press(Qt::Key_Right, Qt::ShiftModifier);
        QTest::mouseClick(control<QPushButton>("BtnResetView"), Qt::LeftButton);
        QCOMPARE(readOuts(), start);
        QCOMPARE(
            control<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB888),
            plainPicture(*host, startCamera(), control<QLabel>("Image1")->size(), 0, 0));
    }

    void hiding_keepsTheCamera() {
        press(Qt::Key_Right, Qt::ShiftModifier);
        const QStringList moved = readOuts();
        window->close();
        QVERIFY(window->isHidden());
        window->show();
        QCOMPARE(readOuts(), moved);
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"

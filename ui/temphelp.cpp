// The help window. The text lives here rather than in a help file, so it always matches the
// program it ships with.
#include "temphelp.h"

#include <QPlainTextEdit>
#include <QStringList>

namespace skyvane {

namespace {

constexpr int kLeft = 37;
constexpr int kTop = 41;
constexpr int kWidth = 400;
constexpr int kHeight = 400;
constexpr int kMemoLeft = 8;
constexpr int kMemoTop = 8;
constexpr int kMemoWidth = 377;
constexpr int kMemoHeight = 353;

// A title followed by a line of `rule` characters as long as the title.
QString titled(const QString& title, QChar rule) {
    return title + QLatin1Char('\n') + QString(title.size(), rule);
}

QString helpText() {
    const QStringList parts{
        titled(QStringLiteral("Skyvane v. 1.1 help"), QLatin1Char('=')),
        QStringLiteral(
            "Skyvane makes KEY files for Jedi Knight and Mysteries of the Sith that move one "
            "object along a trajectory worked out in advance: a camera flying through a "
            "cut-scene, a ship flying its course, and so on."),
        QStringLiteral("A complete help file is still being written; until it is ready, this "
                       "page covers the essentials. Your impressions and problem reports are "
                       "very welcome, so please pass them on to the author."),
        titled(QStringLiteral("What's new in version 1.1?"), QLatin1Char('-')),
        QStringLiteral(
            "- Transform Object can now be limited to the fields you tick. Earlier versions "
            "always changed all six of X, Y, Z, Pitch, Yaw and Roll.\n"
            "- Moving around in the 3D preview is simpler and now feels much like moving "
            "around in the level editor JED.\n"
            "- You can pick an entry in the 3D preview. It is drawn in red, with a short "
            "vector showing where the object faces at that entry."),
        titled(QStringLiteral("3D Preview :"), QLatin1Char('-')),
        QStringLiteral(
            "The preview draws the object as the series of points that make up its "
            "trajectory, over a simple grid lying in the horizontal plane so you keep your "
            "bearings. The arrow keys move the camera, Shift with the arrow keys swings it "
            "around the point it looks at, and + and - zoom in and out."),
        QStringLiteral("Planned for later versions: loading a level so that the trajectory "
                       "can be seen among its sectors, and a wireframe of the whole object."),
        titled(QStringLiteral("Transform Object"), QLatin1Char('-')),
        QStringLiteral(
            "Transform Object builds a trajectory for you from a few presets: a time, an "
            "initial velocity, and either a final velocity or an acceleration. Each is split "
            "into its components along the x, y and z axes, for the movement as well as for "
            "the rotation. The game's distance unit is large (1 JKU is 10 metres), so "
            "distances and velocities are typed in metres rather than in JKU."),
        titled(QStringLiteral("Auto Orientate"), QLatin1Char('-')),
        QStringLiteral(
            "Auto Orientate turns the object for you in one of two ways: towards the next "
            "entry, like a ship looking ahead along its course, or towards one fixed point in "
            "space, like a camera keeping its eye on something. Only Pitch and Yaw are "
            "computed; Roll is left to you. Run it last, once everything else in the KEY "
            "is finished."),
        QStringLiteral(
            "Finally, it is well worth reading the published description of the game's KEY "
            "file format: it explains every field that Skyvane writes.\n\n"
            "Happy flying!\n"
            "-- the author of Skyvane"),
    };
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace

THelpWin::THelpWin(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    createGui();
}

void THelpWin::createGui() {
    setObjectName(QStringLiteral("HelpWin"));
    setWindowTitle(QStringLiteral("Helpa !"));
    setModal(true);
    setGeometry(kLeft, kTop, kWidth, kHeight);

    // The text box keeps its size when the window is resized.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(kMemoLeft, kMemoTop, kMemoWidth, kMemoHeight);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(helpText());
}

} // namespace skyvane

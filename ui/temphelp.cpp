// The help window. The text lives here rather than in a help file, so it always matches the
// program it ships with.
#include "ui/temphelp.h"

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
        titled(QStringLiteral("Skyvane v. " SKYVANE_VERSION " help"), QLatin1Char('=')),
        QStringLiteral(
            "Skyvane makes KEY files for Jedi Knight and Mysteries of the Sith that move one "
            "object along a trajectory worked out in advance: a camera flying through a "
            "cut-scene, a ship flying its course, and so on."),
        QStringLiteral("A complete help file is still being written; until it is ready, this "
                       "page explains every command. Your impressions and problem reports are "
                       "very welcome: report them in the issue tracker of the Skyvane project, "
                       "where the program is published."),
        titled(QStringLiteral("What's new in version " SKYVANE_VERSION "?"), QLatin1Char('-')),
        QStringLiteral(
            "- Transform Object can now be limited to the fields you tick. Earlier versions "
            "always changed all six of X, Y, Z, Pitch, Yaw and Roll.\n"
            "- Moving around in the 3D preview is simpler and now feels much like moving "
            "around in the level editor JED.\n"
            "- You can pick an entry in the 3D preview. It is drawn in red, with a short "
            "vector showing where the object faces at that entry."),
        titled(QStringLiteral("The main window"), QLatin1Char('-')),
        QStringLiteral(
            "A KEY file moves the meshes of one 3D object. Each mesh has its own track, a "
            "node, shown on a tab of its own (Node 0, Node 1, ...). Nodes sets how many there "
            "are: its up arrow adds a node at the end, its down arrow removes the last one "
            "after asking (never the node whose tab you are on). Frame Rate is the frames per "
            "second the file is written for. Mesh Name is the name of the node's mesh in the "
            "3DO model; Get Mesh Names from 3DO reads the names out of a model so you can pick "
            "them from the list. Entries counts the node's entries."),
        QStringLiteral(
            "The grid holds the node's entries (keyframes), one per row: the Frame at which "
            "the entry starts, the Steps (frames) to the next entry, the position X, Y, Z in "
            "JKU (1 JKU is 10 metres) and the angles Pitch, Yaw and Roll in degrees, each at "
            "least 0 and below 360. Type into a cell to change it; Tab moves to the next cell, "
            "Ctrl+Tab leaves the grid. As soon as you type into an empty row, its Frame and "
            "Steps are filled in for you (the Frame plus Steps of the entry above, and 1). "
            "Widen a column by dragging the edge of its header. A right click on the grid "
            "opens the Edit and Tools commands. The line at the bottom shows what the last "
            "check found."),
        titled(QStringLiteral("File commands"), QLatin1Char('-')),
        QStringLiteral(
            "New KEY (Ctrl+N) starts an empty file with one node. Open KEY (Ctrl+O) reads a KEY "
            "file; Open Recent offers the files you used last, and a KEY file can also be "
            "dropped on the window or named when Skyvane is started. Both ask first whether to "
            "save your changes, when there are any: the caption shows a * after the file name "
            "while the document differs from what was last opened or saved. Save KEY (Ctrl+S) "
            "checks the data and writes it to the file it came from or was last saved to, "
            "asking where only when it has no file yet; Save KEY As... (Ctrl+Shift+S) always "
            "asks. Before anything is written, every entry is "
            "checked as Check Data does, the frame rate must be a number and every node needs "
            "a mesh name of 1 to 31 characters: letters, digits and the other plain ASCII "
            "signs, but no blanks, commas, # or accented letters, which the game or other "
            "programs would read differently. A file holding such a name opens all the same; "
            "rename the mesh before saving. Exit ends Skyvane, "
            "asking first whether to save your changes. Help Contents (F1) shows this text."),
        titled(QStringLiteral("Undo and Redo"), QLatin1Char('-')),
        QStringLiteral(
            "Undo (Ctrl+Z) takes back the last change: a whole tool run, a whole frame "
            "command, the typing into one cell, a node added or removed, a mesh name or a "
            "frame rate typed. It goes back to the node and the cell where the change was "
            "made. Redo (Ctrl+Shift+Z or Ctrl+Y) makes it again. The items name what they take "
            "back or make again, and they stand at the top of the Edit menu and of the grid's "
            "right-click menu. New KEY and Open KEY start afresh; undoing back to what was "
            "saved takes the * from the caption."),
        titled(QStringLiteral("Frame commands and the frame selector"), QLatin1Char('-')),
        QStringLiteral(
            "Copy Frames, Clear Frames, Delete Frames, Offset Values and Auto Orientate work "
            "on a run of entries that you choose with the frame selector, a small window "
            "titled Select Frames. While it is open, a click in the grid selects a whole row; "
            "drag, or click again with Shift held, to select several. Then press OK (or "
            "Enter) to run the command on the selected entries, or Cancel (or Esc) to drop "
            "it. Without a selection, the entry under the cursor is taken."),
        QStringLiteral(
            "- Copy Frames keeps the selected entries for Paste Frames, which inserts them "
            "at the cursor, in this node or another. When that would push an entry holding "
            "data past entry 999, nothing is pasted and Skyvane says Not enough room to paste "
            "frames!\n"
            "- Insert Frames inserts 1 to 100 empty entries at the cursor.\n"
            "- Clear Frames empties the selected entries; Delete Frames removes them and "
            "moves the later entries up.\n"
            "None of these changes Frame numbers: after moving entries, check the data and "
            "set the Frames right where the check asks you to."),
        titled(QStringLiteral("Check Data"), QLatin1Char('-')),
        QStringLiteral(
            "Check Data checks the entries from the first one down to the first entry "
            "without a Frame, stops at the first fault, puts the cursor on the faulty cell and "
            "tells what is wrong in the line at the bottom of the window. The messages and "
            "how to mend them:\n"
            "- No Errors: every entry can be saved.\n"
            "- Error: Invalid integer: Frame or Steps is empty or not a whole number. Type a "
            "whole number.\n"
            "- Error: Must be greater than 0: Steps must be 1 or more.\n"
            "- Error: Must be greater than or equal to 0: a Frame cannot be negative.\n"
            "- Error: Frame number of first entry must be 0: set the Frame of entry 0 to 0.\n"
            "- Error: Must equal at least (Frame number + step) of previous entry: the "
            "Frame is below the Frame plus Steps of the entry above. Raise this Frame, or "
            "lower the Steps above.\n"
            "- Error: Invalid number: a position or angle is empty or not a number. Type a "
            "number, with the decimal separator your system uses.\n"
            "- Error: Must be >= 0 and < 360: an angle is out of range. Add or subtract 360 "
            "(-90 becomes 270).\n"
            "- Entry E is empty, but later entries hold data that would not be saved !: the "
            "entries end at the first one without a Frame, so the entries below that one "
            "would be left out of the file. Delete the empty entries with Delete Frames, or "
            "fill them."),
        QStringLiteral(
            "Changing to another node's tab and saving run the same check and wait until "
            "the fault is mended; the 3D preview and Offset Values check too before they "
            "draw or shift anything."),
        titled(QStringLiteral("3D Preview :"), QLatin1Char('-')),
        QStringLiteral(
            "The preview draws the object as the series of points that make up its "
            "trajectory, over a simple grid lying in the horizontal plane so you keep your "
            "bearings. The arrow keys move the camera, Shift with the arrow keys swings it "
            "around the point it looks at, and + and - zoom in and out. Entry picks the entry "
            "drawn in red."),
        QStringLiteral(
            "With the mouse in the picture, dragging with the left button swings the camera, "
            "dragging with the right or middle button moves it, and the wheel zooms. Home or "
            "Reset view brings back the camera the preview starts with."),
        QStringLiteral(
            "Play shows the path as the game plays it, at the document's frame rate: the "
            "yellow square is the object, a magenta square marks an entry after which it "
            "jumps, and the slider shows any frame. The game moves from each entry by the "
            "change per frame that Steps gives until the next entry's Frame, then takes that "
            "entry's values; where Steps is shorter than the frames to the next entry, the "
            "object flies on too far and jumps back. Tools > Check Playback lists every such "
            "jump of every node and puts the cursor on the first one's Steps cell: make Steps "
            "as long as the frames to the next entry."),
        QStringLiteral(
            "Tools > Mend Jumps does that for you: in every node, each Steps that is shorter "
            "than the frames to the next entry is made as long as them, all in one step that "
            "Undo takes back, and a box tells how many it mended. The box of Check Playback "
            "offers the same as its Mend button when it lists jumps."),
        QStringLiteral(
            "Load 3DO... reads a model (the one Get Mesh Names from 3DO read is offered first) "
            "and draws a light grey wireframe of the whole object on the entry drawn in red, "
            "or, while the slider is away from frame 0, where the game has it at that frame. "
            "Each node moves and turns the part of the model its joint number names, as the "
            "game does whatever the mesh names say; the other parts keep the model's own pose, "
            "and where the current node drives none of them, the whole object rides on its "
            "path. Load Level... reads a "
            "level (.jkl) or a level inside a GOB archive, asking which one when it holds "
            "several, and draws the edges of its surfaces in dark cyan behind the trajectory. "
            "Show object and Show level hide and show each."),
        QStringLiteral(
            "Below them, < and > (or the , and . keys) step one frame, the box between them "
            "takes a typed frame when you press Enter, and Range ... to ... sets the frames "
            "that Play plays and Loop loops. While the preview plays, the grid's cursor follows "
            "the entry being played; at rest, a click on a grid row moves the slider to its "
            "Frame. A fault found while playing pauses and shows its message in the status "
            "panel. Ctrl+Z and Ctrl+Y undo and redo from the preview too."),
        QStringLiteral(
            "Frame path (or F) fits the whole path into the picture, Frame object the object. "
            "Look through shows what the cut-scene shows: the view from the played object, "
            "turned by its Pitch, Yaw and Roll as the game turns it, through the game's field "
            "of view. All nodes draws every node's path, the others dimmed, and plays them "
            "together."),
        titled(QStringLiteral("Game animations"), QLatin1Char('-')),
        QStringLiteral(
            "Beside the frame rate stand the values the game reads from the file's header. "
            "Type says which joints of the model the animation drives at high priority: the "
            "game ANDs it with each joint's type, so 0x000F moves only the torso and leaves the "
            "legs to the walk. Frames is the loop length; with Fit ticked it ends with the last "
            "entry, unticked it also holds the pose after it. Joints is the joint count of the "
            "model. Each node's Joint is the joint it moves, and names its tab; no two nodes "
            "may move the same joint, and every joint must be below the Joints count."),
        QStringLiteral(
            "Edit > Markers... lists the events the game fires as the animation plays: "
            "footsteps, the moment an attack lands, a saber swing and its end, swimming "
            "strokes, the death fall, jumps. Each has a frame and a type; Add and Remove "
            "change the list, at most 8 markers, each between frame 0 and Frames. Files "
            "opened keep their header and markers when they are saved again."),
        titled(QStringLiteral("Transform Object"), QLatin1Char('-')),
        QStringLiteral(
            "Transform Object builds a trajectory for you from a few presets: a time, an "
            "initial velocity, and either a final velocity or an acceleration. Each is split "
            "into its components along the x, y and z axes, for the movement as well as for "
            "the rotation. The game's distance unit is large (1 JKU is 10 metres), so "
            "distances and velocities are typed in metres rather than in JKU: each box shows "
            "its unit (m/s, m/s², deg/s, deg/s²), and the positions written to the grid are "
            "in JKU, a tenth of the metres."),
        QStringLiteral(
            "It starts at the entry under the cursor (Entry to start at), takes the initial "
            "velocities from the step before it, and writes one entry per frame for the "
            "time given, one frame apart. Only the ticked columns move; the others keep what "
            "they hold, and empty ones hold the start entry's value. A velocity or "
            "acceleration that is not a number shows ? and must be mended before OK."),
        titled(QStringLiteral("Offset Values"), QLatin1Char('-')),
        QStringLiteral(
            "Offset Values adds the same amounts to every selected entry: X, Y and Z in JKU, "
            "Pitch, Yaw and Roll in degrees (angles are brought back to 0 to 360). All six "
            "boxes are always applied, so leave a 0 where nothing should change. When the "
            "selected entries do not pass the check, it says Error found in data! and only "
            "Cancel is offered: mend the entry the line at the bottom names first."),
        titled(QStringLiteral("Auto Orientate"), QLatin1Char('-')),
        QStringLiteral(
            "Auto Orientate turns the object for you in one of two ways: towards the next "
            "entry, like a ship looking ahead along its course, or towards one fixed point in "
            "space (in JKU), like a camera keeping its eye on something. Only Pitch and Yaw "
            "are computed; Roll is left to you. Run it last, once everything else in the KEY "
            "is finished."),
        titled(QStringLiteral("Smooth Path"), QLatin1Char('-')),
        QStringLiteral(
            "Smooth Path... (Tools menu and the grid's right-click menu) makes a smooth path "
            "through a few keys you typed. The frame selector asks: Select the keys to smooth "
            "through, then press OK. Every selected entry is a key. Spacing (frames) sets how "
            "far apart the new entries are (1 gives one per frame); between two keys whose "
            "distance is no multiple of it, the last step is shorter. The curve is Catmull-Rom, "
            "which bends smoothly through every key without loops or overshoot even where the "
            "keys are unevenly spaced, or Linear, straight from key to key. Angles turn the "
            "shorter way round (from 350 through 0 to 10). The keys keep their Frames and "
            "values, every Steps is set to reach the next entry, so the game plays the path "
            "without a jump, and the entries after the keys move down to make room. When an "
            "entry holding data would be pushed past entry 999, nothing is written and Skyvane "
            "says Not enough room to smooth the path!"),
        titled(QStringLiteral("Retime"), QLatin1Char('-')),
        QStringLiteral(
            "Retime... (Tools menu) changes the pace of the selected entries: give the new "
            "duration in frames (it shows the present one), or a factor (2 makes the motion "
            "take twice as long, 0.5 half as long). Every Frame of the selection is rescaled "
            "from its first Frame and rounded to a whole frame, always above the one before, "
            "Steps are set to the new distances, and the entries after the selection move by "
            "the change of length. Positions and angles stay. A duration with fewer frames "
            "than the selection has steps is refused: The new duration is too short to keep "
            "the Frames rising!"),
        QStringLiteral("Help, Contents shows this page; Help, About shows the version of Skyvane."),
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

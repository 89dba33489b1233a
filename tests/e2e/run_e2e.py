#!/usr/bin/env python3
"""End-to-end test of the installed editor on a real X server.

A user's session: type two entries, generate a trajectory with Transform Object, orient it
with Auto Orientate through the frame selector, name the mesh, try to open a FIFO through Open
KEY (refused at once, nothing lost), add a second node with an entry of its own, save through
the Save KEY dialog and compare the file with the expected text; then
open it again through Open KEY, save it under a second name and compare again, so what the grid
shows after the reading is checked cell by cell. Every command is reached from the keyboard by
its access letters; the mouse only puts the focus into the mesh-name box, as a user would.

Then the tools as a new user meets them: a value of five integer digits and eight decimals,
read from a file, shown whole in the main window at its starting size (the screenshot
main-at-start.png is left in the work folder); Transform Object run with its default ticks over
empty entries, which Check Data then passes; Offset Values typed into as it opens, with no
selecting first, and the saved file holding exactly that offset; five keys of a camera path
typed and Tools > Smooth Path at spacing 1 through them, the saved file holding an entry on
every frame that the game plays without a jump.

Then the program as the desktop starts it: `skyvane FILE` with the saved file shows its name in
the caption and its entries (saved again and compared), the preview beside the main window;
and the desktop's type database, built in the installation's prefix, knows a KEY file written
by Skyvane as a keyframe file and a PGP key that is also called *.key still as a PGP key.

Last, the preview plays a generated path: after a second of playback and after half a second
more, the two pictures differ only along the path, where the yellow square moved forward.

Usage: run_e2e.py SKYVANE_EXECUTABLE [WORK_DIR]
"""

import os
import subprocess
import sys
import tempfile
import time

from xsession import E2EFailure, Session, XServer, require_tools

HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED = os.path.join(HERE, "expected.KEY")
MAIN_UNTITLED = "Skyvane - UNTITLED"
PREVIEW = "3D Preview"
# Where the mesh-name box lies in the main window (its left part, clear of the arrow).
MESH_NAME_AT = (130, 107)
KEYFRAME_TYPE = "application/x-jedi-knight-keyframe"
PGP_TYPE = "application/pgp-keys"
PGP_KEY = b"""-----BEGIN PGP PUBLIC KEY BLOCK-----

mDMEZbUd7hYJKwYBBAHaRw8BAQdAq7jvH6bD0J9rYQXkZ8lH8u7GfVbq3sPpZk3C
4d2nqkG0G0FsaWNlIEV4YW1wbGUgPGFsaWNlQGV4YW1wbGU+iJMEExYKADsWIQQ3
=kT2x
-----END PGP PUBLIC KEY BLOCK-----
"""


def type_entry(s, values):
    """Types X, Y, Z, Pitch, Yaw, Roll from the X cell on and commits the last one; the
    cursor ends on the Roll cell."""
    for i, value in enumerate(values):
        if i:
            s.key("Tab")
        s.type(value)
    s.key("Return")


def start(s, caption=MAIN_UNTITLED):
    """Waits for the main window and the preview, which opens beside it, not over it."""
    main = s.wait_window(caption)
    preview = s.wait_window(PREVIEW)
    mx, my, mw, mh = s.geometry(main)
    px, py, pw, ph = s.geometry(preview)
    if px < mx + mw and mx < px + pw and py < my + mh and my < py + ph:
        raise E2EFailure("the preview (%d, %d, %d x %d) covers the main window "
                         "(%d, %d, %d x %d)" % (px, py, pw, ph, mx, my, mw, mh))
    s.focus(main)
    return main


def first_node(s, main):
    # The grid has the focus with its cursor on the Frame cell of entry 0; the entry defaults
    # fill Frame and Steps as soon as a value arrives.
    s.key("Tab", "Tab")
    type_entry(s, ["0", "0", "1", "0", "0", "0"])
    s.key("Down", *["Left"] * 5)
    type_entry(s, ["0.1", "0.2", "1", "0", "0", "0"])
    transform(s, main)
    orientate(s, main)
    s.click(main, *MESH_NAME_AT)
    s.type("fuselage")


def open_transform(s):
    """Opens Transform Object from the Tools menu, ticks Roll as well (the entries it writes
    need every value to pass the check) and leaves the cursor in the time box."""
    s.key("alt+t", "t")
    dialog = s.wait_window("Transform Object")
    s.focus(dialog)
    # Backwards from the start entry: Cancel, OK, Roll's three boxes, then its tick box.
    s.key(*["shift+Tab"] * 6, "space", *["Tab"] * 7, "ctrl+a")
    return dialog


def transform(s, main):
    # The cursor stands on entry 1: the trajectory starts there, with the initial velocities
    # of the step from entry 0 (15 and 30 m/s). 0.4 s at 15 frames per second: 6 frames more.
    dialog = open_transform(s)
    s.type("0.4")
    # Tick box X, initial velocity X, then its acceleration.
    s.key("Tab", "Tab", "Tab", "ctrl+a")
    s.type("-5")
    s.key("Return")
    s.wait_gone("Transform Object")
    s.focus(main)


def orientate(s, main, last_entry=7):
    select_and_run(s, main, ["a"], last_entry, "Auto Orientate")


def second_node(s, main):
    # From the mesh-name box back to the node count: its up arrow adds node 1.
    s.key("shift+Tab", "shift+Tab", "Up")
    s.settle()
    # Forward to the tab strip, over to Node 1, then its mesh name and the grid.
    s.key("Tab", "Right", "Tab")
    s.type("wing")
    # The Entry column takes no cursor: the first cell is Frame of entry 0; X is two cells on.
    s.key("Tab", "Tab", "ctrl+Home", "Right", "Right")
    type_entry(s, ["5", "-2.5", "0.75", "10", "90", "0"])


def save_as(s, main, path):
    """File > Save KEY As..., which always asks for the name."""
    s.focus(main)
    s.key("alt+f", "a")
    dialog = s.wait_window("Save KEY")
    s.focus(dialog)
    s.type(path)
    s.key("Return")
    s.wait_gone("Save KEY")
    s.wait_caption_of(main, "Skyvane - " + path)
    s.focus(main)


def open_file(s, main, path):
    """File > Open KEY right after a save: nothing changed since, so nothing is asked."""
    s.focus(main)
    s.key("alt+f", "o")
    dialog = s.wait_window("Open KEY")
    s.focus(dialog)
    s.type(path)
    s.key("Return")
    s.wait_gone("Open KEY")
    s.wait_caption_of(main, "Skyvane - " + path)
    s.focus(main)


def same_as_expected(path):
    try:
        compare_with_expected(path)
        return True
    except E2EFailure:
        return False


def undo_redo_and_ctrl_s(s, main, path):
    """On the file just opened: Transform Object from entry 0, undone, redone and saved with
    Ctrl+S (no dialog), then undone and saved again, which must give the opened file back."""
    caption = "Skyvane - " + path
    s.focus(main)
    s.key("ctrl+Home")
    s.key("alt+t", "t")
    dialog = s.wait_window("Transform Object")
    s.focus(dialog)
    s.key("Return")
    s.wait_gone("Transform Object")
    s.wait_caption_of(main, caption + "*")
    s.focus(main)
    s.key("ctrl+z")
    s.wait_caption_of(main, caption)
    s.key("ctrl+shift+z")
    s.wait_caption_of(main, caption + "*")
    s.key("ctrl+s")
    s.wait_caption_of(main, caption)
    if s.find_windows("Save KEY"):
        raise E2EFailure("Ctrl+S asked for a name although the file has one")
    if same_as_expected(path):
        raise E2EFailure("the redone Transform Object did not reach %s" % path)
    s.key("ctrl+z")
    s.wait_caption_of(main, caption + "*")
    s.key("ctrl+s")
    s.wait_caption_of(main, caption)
    compare_with_expected(path)


def open_fifo(s, main, path):
    """Open KEY of a FIFO: refused at once with the error box, the document kept as it was."""
    os.mkfifo(path)
    caption = s.xdo("getwindowname", main)
    s.focus(main)
    s.key("alt+f", "o")
    confirm = s.wait_window("Confirm")
    s.focus(confirm)
    s.key("alt+n")
    dialog = s.wait_window("Open KEY")
    s.focus(dialog)
    s.type(path)
    s.key("Return")
    s.wait_gone("Open KEY")
    box = s.wait_window("Error")
    s.focus(box)
    s.key("Return")
    s.wait_gone("Error")
    s.wait_caption_of(main, caption)
    s.focus(main)


def exit_program(s, main):
    """File > Exit; the question whether to save what was typed since is answered No."""
    s.focus(main)
    s.key("alt+f", "x")
    deadline = time.monotonic() + 20
    while s.process.poll() is None:
        confirm = s.find_windows("Confirm")
        if confirm:
            s.focus(confirm[0])
            s.key("alt+n")
        if time.monotonic() > deadline:
            raise E2EFailure("the program did not end after File > Exit")
        time.sleep(0.05)
    if s.process.returncode != 0:
        raise E2EFailure("the program ended with status %d%s"
                         % (s.process.returncode, s.log_tail()))


def keyfile_entries(path):
    """The entries of a KEY file's nodes: for each entry line, its index and the six values
    x, y, z, pitch, yaw, roll as written."""
    entries = []
    with open(path, "rb") as f:
        for line in f.read().decode("latin-1").split("\r\n"):
            fields = line.split()
            if len(fields) == 9 and fields[0].endswith(":") and fields[0][:-1].isdigit():
                entries.append((int(fields[0][:-1]), fields[3:9]))
    return entries


def widest_value_at_start(program, server, work, saved):
    """`skyvane FILE` with a file whose first X holds five integer digits, a sign and
    decimals: the grid shows it with eight decimals, whole, at the window's starting size."""
    os.makedirs(work)
    with open(saved, "rb") as f:
        text = f.read()
    first_position = b"\t0.000000\t0.000000\t1.000000"
    if first_position not in text:
        raise E2EFailure("%s has no entry at (0, 0, 1) to widen" % saved)
    wide = os.path.join(work, "wide.KEY")
    with open(wide, "wb") as f:
        f.write(text.replace(first_position, b"\t-12345.123456\t0.000000\t1.000000", 1))
    s = Session(program, server, work, args=[wide])
    try:
        main = start(s, "Skyvane - " + wide)
        s.settle()
        s.screenshot(os.path.join(work, "main-at-start.png"), main)
        exit_program(s, main)
    finally:
        s.close()


def tools_session(program, server, work):
    os.makedirs(work)
    s = Session(program, server, work)
    try:
        main = start(s)
        # Entry 0 with its angles; the cursor ends on its Roll cell, the start entry.
        s.key("Tab", "Tab")
        type_entry(s, ["0", "0", "0", "10", "20", "30"])
        # Transform Object as it opens: X, Y and Z ticked, 2 seconds at 15 frames per
        # second, every velocity 0: 31 entries, the empty angles holding entry 0's.
        s.key("alt+t", "t")
        dialog = s.wait_window("Transform Object")
        s.focus(dialog)
        s.key("Return")
        s.wait_gone("Transform Object")
        s.focus(main)
        s.key("alt+t", "c")
        s.wait_window("Information")  # "No Errors found!"; a fault shows an "Error" box
        s.key("Return")
        s.wait_gone("Information")
        # Offset Values on entries 0 to 2, typed into the box as the dialog opens.
        s.focus(main)
        s.key("alt+t", "o")
        selector = s.wait_window("Select Frames")
        s.focus(main)
        s.key("ctrl+Home", "shift+Down", "shift+Down")
        s.settle()
        s.focus(selector)
        s.key("Return")
        dialog = s.wait_window("Offset Values")
        s.focus(dialog)
        s.type("10")
        s.key("Return")
        s.wait_gone("Offset Values")
        s.click(main, *MESH_NAME_AT)
        s.type("cam")
        path = os.path.join(work, "offset.KEY")
        save_as(s, main, path)
        exit_program(s, main)
    finally:
        s.close()
    entries = keyfile_entries(path)
    if len(entries) != 31:
        raise E2EFailure("%s has %d entries, expected 31" % (path, len(entries)))
    for index, values in entries:
        expected = ["10.000000" if index < 3 else "0.000000", "0.000000", "0.000000",
                    "10.000000", "20.000000", "30.000000"]
        if values != expected:
            raise E2EFailure("%s entry %d: %s, expected %s" % (path, index, values, expected))


# Five keys of a camera path, typed as a modder would: Frame, Steps 1, X, Y, Z, Pitch, Yaw,
# Roll. Uneven spacing, and a yaw that crosses 0/360 twice.
SMOOTH_KEYS = [["0", "1", "0", "-8", "0", "0", "350", "0"],
               ["15", "1", "3", "-4", "0.5", "0", "20", "0"],
               ["30", "1", "0", "0", "1", "0", "0", "0"],
               ["50", "1", "-3", "4", "1.5", "0", "340", "0"],
               ["60", "1", "0", "8", "2", "0", "10", "0"]]


def type_keys(s, keys):
    """From the Frame cell of entry 0, every cell of each key; the cursor ends on the last
    key's Roll cell."""
    for i, cells in enumerate(keys):
        if i:
            s.key("Down", *["Left"] * 7)
        s.type(cells[0])
        s.key("Tab")
        s.type(cells[1])
        s.key("Tab")
        type_entry(s, cells[2:])


def select_and_run(s, main, menu_keys, last_entry, dialog_caption):
    """A tool of the Tools menu on entries 0 to `last_entry` through the frame selector; its
    dialog is confirmed as it opens."""
    s.key("alt+t", *menu_keys)
    selector = s.wait_window("Select Frames")
    s.focus(main)
    s.key("ctrl+Home", *["shift+Down"] * last_entry)
    s.settle()
    s.focus(selector)
    s.key("Return")
    dialog = s.wait_window(dialog_caption)
    s.focus(dialog)
    s.key("Return")
    s.wait_gone(dialog_caption)
    s.focus(main)


def smooth_path(s, main, last_entry):
    """Tools > Smooth Path... at spacing 1 and Catmull-Rom, as the dialog opens."""
    select_and_run(s, main, ["s"], last_entry, "Smooth Path")


def jumps_in(path):
    """The Frames of the entries after which the game misses the next entry: it moves each
    entry by its change per frame (the flags saying whether positions and angles change)
    until the next entry's Frame. Misses up to 0.001 JKU and 0.01 degree, the shorter way
    round, are rounding."""
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").split("\r\n")
    entries = []
    for n, fields in enumerate(line.split() for line in lines):
        if len(fields) == 9 and fields[0].endswith(":") and fields[0][:-1].isdigit():
            entries.append((int(fields[1]), int(fields[2], 16), [float(v) for v in fields[3:9]],
                            [float(v) for v in lines[n + 1].split()]))
    jumps = []
    for (frame, flags, values, changes), (next_frame, _, target, _) in zip(entries, entries[1:]):
        played = [v + (c * (next_frame - frame) if flags & (1 if i < 3 else 2) else 0)
                  for i, (v, c) in enumerate(zip(values, changes))]
        if max(abs(p - t) for p, t in zip(played[:3], target[:3])) > 0.001 or \
                max(abs((p - t + 180) % 360 - 180) for p, t in zip(played[3:], target[3:])) > 0.01:
            jumps.append(frame)
    return [frame for frame, _, _, _ in entries], jumps


def smooth_session(program, server, work):
    """Five keys typed, Smooth Path at spacing 1, saved: an entry on every frame, and the game
    plays the file without a jump."""
    os.makedirs(work)
    s = Session(program, server, work)
    try:
        main = start(s)
        type_keys(s, SMOOTH_KEYS)
        smooth_path(s, main, len(SMOOTH_KEYS) - 1)
        s.click(main, *MESH_NAME_AT)
        s.type("cam")
        path = os.path.join(work, "smooth.KEY")
        save_as(s, main, path)
        exit_program(s, main)
    finally:
        s.close()
    frames, jumps = jumps_in(path)
    if frames != list(range(61)):
        raise E2EFailure("%s has the Frames %s, expected 0 to 60" % (path, frames))
    if jumps:
        raise E2EFailure("%s jumps after the Frames %s" % (path, jumps))


def compare_with_expected(path):
    with open(path, "rb") as f:
        actual = f.read().split(b"\r\n")
    with open(EXPECTED, "rb") as f:
        expected = f.read().split(b"\r\n")
    # Line 2 holds the date and time of the writing.
    if len(actual) > 1 and actual[1].startswith(b"# Created on ") \
            and actual[1].endswith(b" by Skyvane"):
        actual[1] = expected[1]
    if actual != expected:
        for number, (a, e) in enumerate(zip(actual, expected), start=1):
            if a != e:
                raise E2EFailure("%s line %d:\n  got      %r\n  expected %r" %
                                 (path, number, a, e))
        raise E2EFailure("%s has %d lines, expected %d" % (path, len(actual), len(expected)))


def open_from_command_line(program, server, work, path, copy):
    """`skyvane PATH`: the file is open at start-up; saving it again gives the same text."""
    os.makedirs(work)
    s = Session(program, server, work, args=[path])
    try:
        main = start(s, "Skyvane - " + path)
        save_as(s, main, copy)
        compare_with_expected(copy)
        exit_program(s, main)
    finally:
        s.close()


def file_type(path, share, desktop):
    """The type the desktop gives `path`, with the installation's type database before the
    system's. On GNOME xdg-mime asks gio; without a desktop it asks File::MimeInfo, which puts
    content rules of priority 80 and more before file-name patterns."""
    # Nothing else of the surroundings, which xdg-mime reads to guess the desktop.
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": os.environ.get("HOME", "/"),
           "XDG_DATA_DIRS": share + ":/usr/share", "XDG_CURRENT_DESKTOP": desktop}
    result = subprocess.run(["xdg-mime", "query", "filetype", path], env=env,
                            capture_output=True, text=True, timeout=30)
    return result.stdout.strip()


def check_file_types(share, keyframes, work):
    pgp = os.path.join(work, "alice.key")
    with open(pgp, "wb") as f:
        f.write(PGP_KEY)
    # File::MimeInfo takes the first *.key pattern it meets for anything else, Apple Keynote's
    # (weight 80) as much as PGP's: only gio can tell a PGP key by its content.
    for path, expected, desktops in ((keyframes, KEYFRAME_TYPE, ("GNOME", "")),
                                     (pgp, PGP_TYPE, ("GNOME",))):
        for desktop in desktops:
            found = file_type(path, share, desktop)
            if found != expected:
                raise E2EFailure("xdg-mime (desktop %r) gives %s the type %r, expected %r" %
                                 (desktop, path, found, expected))


# The preview's picture starts right of its 200-pixel panel and its 1-pixel bevel; the play
# button lies in the panel below the camera boxes.
PICTURE_LEFT = 201
PICTURE_TOP = 1
PLAY_AT = (50, 320)
YELLOW = (255, 255, 0)


def generated_path(path, entries=31, frames_apart=2):
    """A KEY file of one node flying along +X at height 0, facing where it flies (yaw 270),
    within the start camera's view: entry e at X = (e - 15) / 2, half a unit in frames_apart
    frames, 15 frames per second."""
    lines = ["# KEYFRAME generated path", "", "SECTION: HEADER", "",
             "FLAGS  0x0000", "TYPE   0xFFFF", "FRAMES %d" % ((entries - 1) * frames_apart + 1),
             "FPS    15", "JOINTS 1", "", "SECTION: KEYFRAME NODES", "", "NODES 1", "",
             "NODE    0", "MESH NAME path", "ENTRIES %d" % entries, ""]
    for e in range(entries):
        last = e == entries - 1
        lines.append(" %d:\t%d\t0x000%d\t%.6f\t0.000000\t0.000000\t0.000000\t270.000000\t"
                     "0.000000" % (e, e * frames_apart, 0 if last else 1, (e - 15) / 2.0))
        change = 0.0 if last else 0.5 / frames_apart
        lines.append("\t\t\t\t%.6f\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000" % change)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


def picture_pixels(png):
    """The pixels of a screenshot of the preview as rows of (r, g, b), picture area only."""
    ppm = subprocess.run(["convert", png, "-depth", "8", "ppm:-"], check=True,
                         capture_output=True, timeout=60).stdout
    fields = ppm.split(maxsplit=4)
    width, height, data = int(fields[1]), int(fields[2]), fields[4]
    return [[tuple(data[3 * (y * width + x):3 * (y * width + x) + 3])
             for x in range(PICTURE_LEFT, width)] for y in range(PICTURE_TOP, height)]


def yellow_columns(rows):
    return [x for row in rows for x, pixel in enumerate(row) if pixel == YELLOW]


def play_for(s, preview, seconds):
    """Play, and Pause after `seconds`. The second click lands a pixel off the first: a
    pointer move to where the pointer already is never reports that it arrived."""
    s.click(preview, *PLAY_AT)
    time.sleep(seconds)
    s.click(preview, PLAY_AT[0] + 1, PLAY_AT[1] + 1)
    s.settle()


def playback_session(program, server, work):
    """Plays a generated path in the preview and sees the square move along it, and nothing
    else change."""
    os.makedirs(work)
    path = os.path.join(work, "path.KEY")
    generated_path(path)
    s = Session(program, server, work, args=[path])
    try:
        main = start(s, "Skyvane - " + path)
        preview = s.wait_window(PREVIEW)
        s.focus(preview)
        s.settle()
        shots = [os.path.join(work, name) for name in ("one-second.png", "later.png")]
        play_for(s, preview, 1.0)
        s.screenshot(shots[0], preview)
        play_for(s, preview, 0.5)
        s.screenshot(shots[1], preview)
        first, second = picture_pixels(shots[0]), picture_pixels(shots[1])
        changed_rows = [y for y, (a, b) in enumerate(zip(first, second)) if a != b]
        if not changed_rows:
            raise E2EFailure("the picture did not change while the path played")
        # The path runs along one row of the picture: the square and its heading line stay
        # within a few pixels of it.
        if max(changed_rows) - min(changed_rows) > 8:
            raise E2EFailure("the pictures differ on rows %d to %d, beyond the path" %
                             (min(changed_rows), max(changed_rows)))
        before, after = yellow_columns(first), yellow_columns(second)
        if not before or not after:
            raise E2EFailure("no yellow square in %s" % (shots[0] if not before else shots[1]))
        if min(after) <= max(before):
            raise E2EFailure("the square did not move forward: columns %d..%d, then %d..%d" %
                             (min(before), max(before), min(after), max(after)))
        exit_program(s, main)
    finally:
        s.close()


def editing_session(program, server, work):
    s = Session(program, server, work)
    try:
        main = start(s)
        first_node(s, main)
        # Nothing of what was typed is lost, and the grid still takes typing afterwards.
        open_fifo(s, main, os.path.join(work, "fifo.KEY"))
        second_node(s, main)
        first = os.path.join(work, "first", "trajectory.KEY")
        second = os.path.join(work, "second", "trajectory.KEY")
        os.makedirs(os.path.dirname(first))
        os.makedirs(os.path.dirname(second))
        save_as(s, main, first)
        compare_with_expected(first)
        open_file(s, main, first)
        undo_redo_and_ctrl_s(s, main, first)
        save_as(s, main, second)
        compare_with_expected(second)
        exit_program(s, main)
        return first
    finally:
        s.close()


def run(program, work):
    server = XServer()
    try:
        saved = editing_session(program, server, work)
        widest_value_at_start(program, server, os.path.join(work, "wide"), saved)
        tools_session(program, server, os.path.join(work, "tools"))
        smooth_session(program, server, os.path.join(work, "smooth"))
        third = os.path.join(work, "third")
        open_from_command_line(program, server, third, saved,
                               os.path.join(third, "trajectory.KEY"))
        share = os.path.join(os.path.dirname(os.path.dirname(program)), "share")
        check_file_types(share, saved, work)
        playback_session(program, server, os.path.join(work, "playback"))
    except Exception:
        shot = os.path.join(work, "failure.png")
        try:
            server.screenshot(shot)
            print("screen at the failure: " + shot, file=sys.stderr)
        except Exception:
            pass
        raise
    finally:
        server.close()


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    require_tools()
    work = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="skyvane-e2e-")
    os.makedirs(work, exist_ok=True)
    try:
        run(os.path.abspath(sys.argv[1]), os.path.abspath(work))
    except E2EFailure as failure:
        print("e2e FAILED: %s (files in %s)" % (failure, work), file=sys.stderr)
        return 1
    print("e2e passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

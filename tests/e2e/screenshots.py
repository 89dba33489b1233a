#!/usr/bin/env python3
"""Takes the README's pictures of the real program on a private X server: the main window with
a trajectory, the preview with a highlighted entry, the Transform Object dialog, the main
window at twice the scale, both windows as `skyvane FILE` opens them, and a fly-by through the
two-room test level with the test cube on the path, also seen through the eye of one entry,
and a path smoothed through five keys.

Usage: screenshots.py SKYVANE_EXECUTABLE OUTPUT_DIR
"""

import math
import os
import subprocess
import sys
import tempfile

from run_e2e import (MESH_NAME_AT, PREVIEW, SMOOTH_KEYS, open_transform, orientate, save_as,
                     smooth_path, start, type_entry, type_keys)
from xsession import E2EFailure, Session, XServer, require_tools

# Entry under the cursor when the preview is activated: it is drawn highlighted.
HIGHLIGHTED_ENTRY = 24

FORMATS_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "formats", "data")
# Where the preview's Load 3DO... and Load Level... buttons lie.
LOAD_3DO_AT = (52, 396)
LOAD_LEVEL_AT = (52, 426)
SHOW_OBJECT_AT = (110, 396)
ENTRY_BOX_AT = (70, 18)
LOOK_THROUGH_AT = (20, 542)
# A fly-by from the west room through the open wall into the east one, weaving and rising.
FLYBY = [["%g" % x, "%.2f" % (round(1.5 * math.sin(x * math.pi / 5), 2) + 0.0),
          "%.2f" % (1.4 + 0.08 * x)] for x in range(-5, 6)]
FLYBY_OBJECT_ENTRY = 6


def climbing_turn(s, main):
    """A ship that starts level, turns left while it climbs: 61 entries from Transform
    Object, faced along its path by Auto Orientate."""
    s.key("Tab", "Tab")
    type_entry(s, ["0", "-8", "0", "0", "0", "0"])
    s.key("Down", *["Left"] * 5)
    type_entry(s, ["0.3", "-8", "0.05", "0", "0", "0"])
    dialog = open_transform(s)
    s.type("4")
    s.key("Tab", "Tab", "Tab", "ctrl+a")
    s.type("-22")   # X acceleration: the path bends back
    s.key("Tab", "Tab", "Tab", "ctrl+a")
    s.type("40")    # Y initial velocity
    s.key("Tab", "ctrl+a")
    s.type("-5")    # Y acceleration
    return dialog


def take(program, out_dir, work, saved):
    os.makedirs(out_dir, exist_ok=True)
    server = XServer()
    s = Session(program, server, work)
    try:
        main = start(s)
        dialog = climbing_turn(s, main)
        s.settle()
        s.screenshot(os.path.join(out_dir, "transform-object.png"), dialog)
        s.key("Return")
        s.wait_gone("Transform Object")
        s.focus(main)
        orientate(s, main, last_entry=61)
        s.click(main, *MESH_NAME_AT)
        s.type("x_wing")
        s.key("Tab", "Tab", "ctrl+Home", *["Down"] * HIGHLIGHTED_ENTRY)
        s.settle()
        s.screenshot(os.path.join(out_dir, "main-window.png"), main)
        preview = s.wait_window(PREVIEW)
        s.focus(preview)
        s.key("shift+Left", "shift+Left", "shift+Up", "shift+Up", "shift+Up", "Up", "Up")
        s.settle()
        s.screenshot(os.path.join(out_dir, "preview.png"), preview)
        save_as(s, main, saved)
    finally:
        s.close()
        server.close()


def take_scaled(program, out_dir, work):
    """The main window at scale factor 2, as on a 192 dpi screen."""
    server = XServer(screen="2800x2000x24", dpi=192)
    s = Session(program, server, work, {"QT_SCALE_FACTOR": "2"})
    try:
        main = start(s)
        s.key("Tab", "Tab")
        type_entry(s, ["0", "-8", "0", "0", "0", "0"])
        s.settle()
        s.screenshot(os.path.join(out_dir, "main-window-192dpi.png"), main)
    finally:
        s.close()
        server.close()


def take_start_up(program, out_dir, work, path):
    """`skyvane FILE` on a 1440 x 900 screen: the main window and the preview, cut from the
    screen."""
    server = XServer(screen="1440x900x24")
    s = Session(program, server, work, args=[path])
    try:
        main = start(s, "Skyvane - " + path)
        preview = s.wait_window(PREVIEW)
        # The preview draws the entries once it has been active.
        s.focus(preview)
        s.focus(main)
        s.settle()
        boxes = [s.geometry(w) for w in (main, preview)]
        left = min(x for x, _, _, _ in boxes)
        top = min(y for _, y, _, _ in boxes)
        right = max(x + w for x, _, w, _ in boxes)
        bottom = max(y + h for _, y, _, h in boxes)
        whole = os.path.join(work, "screen.png")
        s.screenshot(whole)
        subprocess.run(["convert", whole, "-crop",
                        "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage",
                        os.path.join(out_dir, "start-up.png")], check=True, timeout=60)
    finally:
        s.close()
        server.close()


def load_into_preview(s, preview, button_at, dialog_caption, path):
    s.click(preview, *button_at)
    dialog = s.wait_window(dialog_caption)
    s.focus(dialog)
    s.type(path)
    s.key("Return")
    s.wait_gone(dialog_caption)
    s.focus(preview)


def take_flyby(program, out_dir, work):
    """The fly-by faced along its path, the cube on one of its entries, the level around it."""
    server = XServer()
    s = Session(program, server, work)
    try:
        main = start(s)
        s.key("Tab", "Tab")
        for i, position in enumerate(FLYBY):
            if i:
                s.key("Down", *["Left"] * 5)
            type_entry(s, position + ["0", "0", "0"])
        orientate(s, main, last_entry=len(FLYBY) - 1)
        s.key("ctrl+Home", *["Down"] * FLYBY_OBJECT_ENTRY)
        s.settle()
        preview = s.wait_window(PREVIEW)
        s.focus(preview)
        load_into_preview(s, preview, LOAD_3DO_AT, "Open 3DO",
                          os.path.join(FORMATS_DATA, "cube.3do"))
        load_into_preview(s, preview, LOAD_LEVEL_AT, "Open Level",
                          os.path.join(FORMATS_DATA, "tworooms.jkl"))
        s.key("shift+Left", "shift+Left", "shift+Up", "shift+Up", "shift+Up")
        s.settle()
        s.screenshot(os.path.join(out_dir, "flyby.png"), preview)
        # Through the eye of entry 2, facing the open wall, the cube hidden, in a preview tall
        # enough for the whole panel.
        s.move(preview, 0, 0)
        s.xdo("windowsize", "--sync", preview, "840", "600")
        s.click(preview, *SHOW_OBJECT_AT)
        s.click(preview, *ENTRY_BOX_AT)
        s.key("ctrl+a")
        s.type("2")
        s.click(preview, *LOOK_THROUGH_AT)
        s.settle()
        s.screenshot(os.path.join(out_dir, "look-through.png"), preview)
    finally:
        s.close()
        server.close()


def take_smoothed(program, out_dir, work):
    """Five keys typed and Smooth Path through them at spacing 1, seen in the preview."""
    server = XServer()
    s = Session(program, server, work)
    try:
        main = start(s)
        type_keys(s, SMOOTH_KEYS)
        smooth_path(s, main, len(SMOOTH_KEYS) - 1)
        # The third key drawn highlighted.
        s.key("ctrl+Home", *["Down"] * 30)
        s.settle()
        preview = s.wait_window(PREVIEW)
        s.focus(preview)
        s.key("shift+Left", "shift+Left", "shift+Up", "shift+Up", "shift+Up", "Down", "Down")
        s.settle()
        s.screenshot(os.path.join(out_dir, "smooth-path.png"), preview)
    finally:
        s.close()
        server.close()


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    require_tools()
    program, out_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    work = tempfile.mkdtemp(prefix="skyvane-shots-")
    try:
        saved = os.path.join(work, "climbing-turn.KEY")
        take(program, out_dir, work, saved)
        take_scaled(program, out_dir, work)
        take_start_up(program, out_dir, work, saved)
        take_flyby(program, out_dir, work)
        take_smoothed(program, out_dir, work)
    except E2EFailure as failure:
        print("screenshots FAILED: %s (files in %s)" % (failure, work), file=sys.stderr)
        return 1
    print("screenshots written to " + out_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())

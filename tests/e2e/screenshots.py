#!/usr/bin/env python3
"""Takes the README's pictures of the real program on a private X server: the main window with
a trajectory, the preview with a highlighted entry, the Transform Object dialog, and the main
window at twice the scale.

Usage: screenshots.py SKYVANE_EXECUTABLE OUTPUT_DIR
"""

import os
import sys
import tempfile

from run_e2e import MESH_NAME_AT, PREVIEW, open_transform, orientate, start, type_entry
from xsession import E2EFailure, Session, XServer, require_tools

# Entry under the cursor when the preview is activated: it is drawn highlighted.
HIGHLIGHTED_ENTRY = 24


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


def take(program, out_dir, work):
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
    finally:
        s.close()
        server.close()


def take_scaled(program, out_dir, work):
    """The main window at scale factor 2, as on a 192 dpi screen."""
    server = XServer(screen="2800x2000x24", dpi=192)
    s = Session(program, server, work, {"QT_SCALE_FACTOR": "2"})
    try:
        main = start(s, preview_aside=(1400, 48))
        s.key("Tab", "Tab")
        type_entry(s, ["0", "-8", "0", "0", "0", "0"])
        s.settle()
        s.screenshot(os.path.join(out_dir, "main-window-192dpi.png"), main)
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
        take(program, out_dir, work)
        take_scaled(program, out_dir, work)
    except E2EFailure as failure:
        print("screenshots FAILED: %s (files in %s)" % (failure, work), file=sys.stderr)
        return 1
    print("screenshots written to " + out_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())

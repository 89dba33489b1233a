"""A private X server (Xvfb) with the installed Skyvane in it, driven by real input events.

Everything a user would do goes through xdotool: key presses, typing and mouse clicks arrive
at the program as X input events, exactly as from a keyboard and a mouse. Every wait polls
for a window by its caption with a deadline, so a slow machine only makes a run slower.
"""

import os
import re
import shutil
import subprocess
import tempfile
import time

SCREEN = "1280x1024x24"


class E2EFailure(Exception):
    pass


class XServer:
    """Xvfb on a display number it picks itself."""

    def __init__(self, screen=SCREEN, dpi=96):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            # -noreset: by default the server resets when its last client leaves, and a
            # program started during that reset cannot connect and aborts.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-dpi", str(dpi),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.kill()
            raise E2EFailure("Xvfb did not start")
        self.display = ":" + number

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path],
                       env=dict(os.environ, DISPLAY=self.display), check=True, timeout=60,
                       capture_output=True)

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Session:
    """One run of a program on the X server, with the means to drive it."""

    def __init__(self, program, server, work_dir, extra_env=None, args=()):
        self.server = server
        self.work_dir = work_dir
        self.env = self._environment(extra_env or {})
        self.log = open(os.path.join(work_dir, "program.log"), "w")
        self.started = time.monotonic()
        self.process = subprocess.Popen([program, *args], env=self.env, cwd=work_dir,
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def _environment(self, extra):
        env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_"))}
        home = tempfile.mkdtemp(prefix="home-", dir=self.work_dir)
        runtime = tempfile.mkdtemp(prefix="run-", dir=self.work_dir)
        os.chmod(runtime, 0o700)
        env.update({
            "DISPLAY": self.server.display,
            "QT_QPA_PLATFORM": "xcb",
            "HOME": home,
            "XDG_RUNTIME_DIR": runtime,
            # "." as decimal separator and a fixed date format, as in the expected files.
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        env.update(extra)
        return env

    # -- xdotool ---------------------------------------------------------------------------

    def xdo(self, *args, check=True):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                                text=True, timeout=30)
        if check and result.returncode != 0:
            raise E2EFailure("xdotool %s failed: %s" % (" ".join(map(str, args)),
                                                       result.stderr.strip()))
        return result.stdout.strip()

    def find_windows(self, caption):
        """Visible windows whose caption is exactly `caption`."""
        out = self.xdo("search", "--onlyvisible", "--name", "^%s$" % re.escape(caption),
                       check=False)
        return [w for w in out.split() if w]

    def wait_window(self, caption, timeout=20.0):
        deadline = time.monotonic() + timeout
        while True:
            self.ensure_running()
            found = self.find_windows(caption)
            if found:
                return found[-1]
            if time.monotonic() > deadline:
                raise E2EFailure("no window %r within %.0f s" % (caption, timeout))
            time.sleep(0.05)

    def wait_gone(self, caption, timeout=20.0):
        deadline = time.monotonic() + timeout
        while self.find_windows(caption):
            self.ensure_running()
            if time.monotonic() > deadline:
                raise E2EFailure("window %r still shown after %.0f s" % (caption, timeout))
            time.sleep(0.05)

    def wait_caption_of(self, window, caption, timeout=20.0):
        deadline = time.monotonic() + timeout
        while True:
            name = self.xdo("getwindowname", window, check=False)
            if name == caption:
                return
            if time.monotonic() > deadline:
                raise E2EFailure("caption is %r, expected %r" % (name, caption))
            time.sleep(0.05)

    def focus(self, window):
        self.xdo("windowfocus", "--sync", window)

    def key(self, *keys):
        self.xdo("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdo("type", "--delay", "20", "--", text)

    def click(self, window, x, y):
        """A left click at (x, y) inside `window`."""
        self.xdo("mousemove", "--window", window, "--sync", x, y)
        self.xdo("click", "1")

    def geometry(self, window):
        """(x, y, width, height) of `window` on the screen."""
        out = self.xdo("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def move(self, window, x, y):
        self.xdo("windowmove", "--sync", window, x, y)

    def settle(self):
        """Lets the program work off the input queued so far: a round trip through the
        server and a moment for the event loop."""
        self.xdo("getmouselocation")
        time.sleep(0.15)

    def screenshot(self, path, window="root"):
        subprocess.run(["import", "-window", window, path], env=self.env, check=True,
                       timeout=60, capture_output=True)

    # -- the program -----------------------------------------------------------------------

    def ensure_running(self):
        if self.process.poll() is not None:
            raise E2EFailure("the program ended with status %d%s"
                             % (self.process.returncode, self.log_tail()))

    def log_tail(self, lines=20):
        """The end of what the program printed, so a failure in CI explains itself."""
        self.log.flush()
        with open(self.log.name, errors="replace") as log:
            tail = log.read().splitlines()[-lines:]
        return "".join("\n  | " + line for line in tail)

    def wait_exit(self, timeout=20.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise E2EFailure("the program did not end within %.0f s" % timeout)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


def require_tools():
    missing = [t for t in ("Xvfb", "xdotool", "import") if shutil.which(t) is None]
    if missing:
        raise E2EFailure("missing tools: " + ", ".join(missing))

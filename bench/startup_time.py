#!/usr/bin/env python3
"""Start-up time of the real program on a private X server: from starting the process until
both the main window and the 3D preview are mapped, over several runs. Besides the elapsed
time it gives the processor time the program used until then, which a machine busy with other
work inflates far less.

Usage: startup_time.py SKYVANE_EXECUTABLE [RUNS]
"""

import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from xsession import E2EFailure, Session, XServer, require_tools  # noqa: E402

WINDOWS = ("Skyvane - UNTITLED", "3D Preview")
TIMEOUT = 20.0


def cpu_seconds(pid):
    """User and system time of a running process, all its threads."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def one_start(program, server, work):
    s = Session(program, server, work)
    try:
        waiting = set(WINDOWS)
        while waiting:
            s.ensure_running()
            waiting = {caption for caption in waiting if not s.find_windows(caption)}
            if time.monotonic() - s.started > TIMEOUT:
                raise E2EFailure("windows not shown: " + ", ".join(sorted(waiting)))
            if waiting:
                time.sleep(0.005)
        return time.monotonic() - s.started, cpu_seconds(s.process.pid)
    finally:
        s.close()


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    require_tools()
    program = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    work = tempfile.mkdtemp(prefix="skyvane-startup-")
    server = XServer()
    try:
        one_start(program, server, work)  # fills the file cache
        results = [one_start(program, server, work) for _ in range(runs)]
    finally:
        server.close()
    for label, values in (("elapsed", [r[0] for r in results]),
                          ("processor", [r[1] for r in results])):
        print("start-up until both windows are shown, %d runs, %s time: median %.0f ms, "
              "min %.0f ms, max %.0f ms" % (runs, label, statistics.median(values) * 1000,
                                            min(values) * 1000, max(values) * 1000))
    return 0


if __name__ == "__main__":
    sys.exit(main())

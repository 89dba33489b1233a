#!/usr/bin/env python3
"""`skyvane-key check` of the largest document (50 nodes of 1000 entries) against a plain C
fgets/sscanf loader of the same file, both timed as whole processes. The two run in pairs, the
order turning from pair to pair, so that a drift of the machine's speed weighs on both alike;
the figure to quote is the median of the pairs' ratios check / loader.

Usage: check_speed.py BUILD_FOLDER [PAIRS]   (PAIRS defaults to 15)
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time


def timed(command):
    """Processor (user + system) and elapsed seconds of one run; its output is thrown away."""
    started = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.monotonic() - started
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit("%s exited with %d" % (" ".join(command), process.returncode))
    return usage.ru_utime + usage.ru_stime, elapsed


def report(name, values):
    print("%-22s median %.1f ms (min %.1f, max %.1f)"
          % (name, 1000 * statistics.median(values), 1000 * min(values), 1000 * max(values)))


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    build = sys.argv[1]
    pairs = int(sys.argv[2]) if len(sys.argv) == 3 else 15
    with tempfile.TemporaryDirectory() as work:
        key = os.path.join(work, "full.KEY")
        subprocess.run([os.path.join(build, "bench", "full_key_file"), key], check=True)
        check = [os.path.join(build, "cli", "skyvane-key"), "check", key]
        loader = [os.path.join(build, "bench", "fgets_loader"), key]
        timed(check)  # warm-up: the file in the page cache, the programs loaded once
        timed(loader)
        runs = {"check": [], "loader": []}
        for pair in range(pairs):
            order = ("check", "loader") if pair % 2 == 0 else ("loader", "check")
            for name in order:
                runs[name].append(timed(check if name == "check" else loader))
    for name in ("check", "loader"):
        report(name + " processor", [cpu for cpu, _ in runs[name]])
        report(name + " elapsed", [wall for _, wall in runs[name]])
    for index, what in ((0, "processor"), (1, "elapsed")):
        ratios = [c[index] / l[index] for c, l in zip(runs["check"], runs["loader"])]
        print("ratio check / loader, %s: median %.2f (min %.2f, max %.2f) over %d pairs"
              % (what, statistics.median(ratios), min(ratios), max(ratios), pairs))


if __name__ == "__main__":
    main()

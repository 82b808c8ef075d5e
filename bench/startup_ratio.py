#!/usr/bin/env python3
"""Start-up of the program against an empty Qt Widgets window, runs alternating.

Runs bench/vinkring_startup and `vinkring_startup --empty` in turn under the
current display and prints the medians: on the clock from before the process
is started to the window's first paint, and the processor time to that paint
(its loading included). Each run starts half a second after the last.

    xvfb-run -a -s "-screen 0 1366x768x24" bench/startup_ratio.py build/bench/vinkring_startup 21
"""

import re
import statistics
import subprocess
import sys
import time


def run(binary, *args):
    # The X server tears down the last run's window after that process is
    # gone; a run started at once waits for it in QApplication (30 ms after an
    # empty window, which ends at once; not after the program, which ends a
    # second later). A pause keeps the runs apart.
    time.sleep(0.5)
    started = time.time_ns()
    out = subprocess.run([binary, *args], capture_output=True, text=True, check=True).stdout
    fields = {k: float(v) for k, v in re.findall(r"(\w+)=([\d.]+)", out)}
    return (fields["paint_at"] - started) / 1e6, fields["cpu_first_paint"], fields.get("complete")


def main():
    binary = sys.argv[1] if len(sys.argv) > 1 else "build/bench/vinkring_startup"
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    program, empty = [], []
    for _ in range(count):
        program.append(run(binary))
        empty.append(run(binary, "--empty"))
    median = lambda rows, i: statistics.median(r[i] for r in rows)
    for name, i in (("clock, start to first paint", 0), ("processor time to first paint", 1)):
        p, e = median(program, i), median(empty, i)
        print(f"{name}: {p:.1f} ms against {e:.1f} ms: {p / e:.2f} times")
    print(f"window complete (other pages, writing aids), from main: {median(program, 2):.1f} ms")


if __name__ == "__main__":
    main()

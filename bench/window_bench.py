#!/usr/bin/env python3
"""The program in the real window against plain Qt, runs alternated.

Starts an X server of its own (Xvfb, 1366x768, 96 dpi) with a window manager
(openbox), writes benchmark documents of 1 MB and 10 MB, and runs
build/bench/vinkring_windowprobe on the program (build/vinkring-artikel) and
on its floor (build/bench/vinkring_floor: a plain QPlainTextEdit holding the
same text, and an empty Qt window), one after the other, scenario by scenario.
The probe pings the window every 20 ms with _NET_WM_PING, types with XTest and
times each key until its repaint reaches the X server (XDamage). Prints the
medians (and the range) over the runs as a Markdown table; every run's raw
figures go to a JSON file beside it.

    bench/window_bench.py                       # all scenarios, 3 runs, build/
    bench/window_bench.py --runs 5 --only open,replace --sizes 10
    bench/window_bench.py --report build/bench/window-bench.json   # the table again
"""

import argparse
import json
import os
import signal
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PROGRAM_TITLE = "Vinkring Artikel Template"
FLOOR_TITLE = "Vinkring floor"
VIEW_TITLE = "Voorbeeld van het artikel"
STALL_MS = 50
# Pings answered within this much of each other end the same stall.
SAME_STALL_MS = 3

# The section field of the program's second page, at the start of its text.
PROGRAM_FIELD = "alt+Right,ctrl+Home"
FLOOR_FIELD = "ctrl+Home"


def parse_args():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", default="build", help="the build folder (default: build)")
    p.add_argument("--runs", type=int, default=3, help="runs of each scenario and subject (default: 3)")
    p.add_argument("--sizes", default="1,10", help="document sizes in MB (default: 1,10)")
    p.add_argument("--only", default="", help="comma-separated scenarios: open,opentype,openen,type,replace,import,liveview")
    p.add_argument("--typing", type=float, default=20, help="seconds of typing (default: 20)")
    p.add_argument("--out", default="", help="the JSON file of every run (default: BUILD/bench/window-bench.json)")
    p.add_argument("--no-wm", action="store_true", help="no window manager")
    p.add_argument("--report", default="", help="only print the table of the runs in this JSON file")
    p.add_argument("--program", default="", help="another build of the program (default: BUILD/vinkring-artikel)")
    p.add_argument("--display", default="", help="the X display number to start Xvfb on (default: a free one)")
    return p.parse_args()


def loadavg():
    with open("/proc/loadavg") as f:
        return float(f.read().split()[0])


class Display:
    """Xvfb with openbox, on a free display."""

    def __init__(self, tmp, with_wm, number=""):
        read, write = os.pipe()
        where = [f":{number}"] if number else []
        self.xvfb = subprocess.Popen(
            ["Xvfb", *where, "-displayfd", str(write), "-screen", "0", "1366x768x24", "-dpi", "96", "-nolisten",
             "tcp", "-noreset"], pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                sys.exit("Xvfb did not start")
            number += chunk
        os.close(read)
        self.name = ":" + number.decode().strip()
        self.wm = None
        if with_wm:
            env = dict(os.environ, DISPLAY=self.name, HOME=tmp)
            self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            for _ in range(200):
                out = subprocess.run(["xprop", "-display", self.name, "-root", "_NET_SUPPORTING_WM_CHECK"],
                                     capture_output=True, text=True).stdout
                if "window id" in out:
                    break
                time.sleep(0.05)
            else:
                sys.exit("openbox did not start")

    def close(self):
        for p in (self.wm, self.xvfb):
            if p:
                p.terminate()
                p.wait()


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build)
        self.probe = os.path.join(self.build, "bench", "vinkring_windowprobe")
        self.floor = os.path.join(self.build, "bench", "vinkring_floor")
        self.program = os.path.abspath(args.program or os.path.join(self.build, "vinkring-artikel"))
        for f in (self.probe, self.floor, self.program):
            if not os.access(f, os.X_OK):
                sys.exit(f"{f} is missing: build first (cmake --build {args.build})")
        # Digits only in the path: the probe types it into the file dialog.
        self.tmp = f"/tmp/vinkring-window-{os.getpid()}"
        os.makedirs(self.tmp)
        self.display = Display(self.tmp, not args.no_wm, args.display)
        self.runs = []

    def close(self):
        self.display.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def document(self, size):
        path = os.path.join(self.tmp, f"doc{size}.vkv")
        if not os.path.exists(path):
            subprocess.run([self.floor, "--write", path, str(size)], check=True, env=self.env(self.tmp))
        return path

    def forum_text(self, size):
        path = os.path.join(self.tmp, f"forum{size}.txt")
        if not os.path.exists(path):
            subprocess.run([self.floor, "--forum", path, str(size)], check=True, env=self.env(self.tmp))
        return path

    def env(self, home):
        env = {k: v for k, v in os.environ.items() if k not in ("DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER")}
        env.update(DISPLAY=self.display.name, HOME=home, XDG_CONFIG_HOME=f"{home}/.config",
                   XDG_CACHE_HOME=f"{home}/.cache", XDG_DATA_HOME=f"{home}/.local/share",
                   XDG_STATE_HOME=f"{home}/.local/state", XDG_RUNTIME_DIR=f"{home}/runtime",
                   QT_QPA_PLATFORM="xcb", NO_AT_BRIDGE="1")
        return env

    def subject(self, who, size):
        """The command line and title of a subject: program, plain or empty."""
        doc = [self.document(size)] if size else []
        if who == "program":
            return [self.program, *doc], PROGRAM_TITLE
        if who == "plain":
            return [self.floor, *doc], FLOOR_TITLE
        return [self.floor, "--empty"], FLOOR_TITLE

    def run(self, scenario, who, size, probe_args, command=None, before=None):
        """One run of the probe, in a home of its own."""
        home = tempfile.mkdtemp(prefix="home", dir=self.tmp)
        for d in (".config", ".cache", ".local/share", ".local/state", "runtime"):
            os.makedirs(os.path.join(home, d), mode=0o700, exist_ok=True)
        env = self.env(home)
        if command is None:
            command, title = self.subject(who, size)
        else:
            title = PROGRAM_TITLE
        helper = before(env) if before else None
        # A moment between runs: the X server tears the last window down.
        time.sleep(0.5)
        load = loadavg()
        out = subprocess.run([self.probe, "--title", title, *probe_args, "--", *command], env=env,
                             capture_output=True, text=True)
        if helper:
            helper.terminate()
            helper.wait()
        shutil.rmtree(home, ignore_errors=True)
        if out.returncode != 0:
            print(f"  {scenario} {who} {size} MB failed: {out.stderr.strip()}", file=sys.stderr)
            return
        result = json.loads(out.stdout)
        result.update(scenario=scenario, who=who, size=size, load=load, load_after=loadavg(),
                      file_bytes=os.path.getsize(self.document(size)) if size else 0)
        self.runs.append(result)
        print(f"  {scenario:9} {who:8} {size:3} MB  load {load:4.2f}  {summary_line(result)}", file=sys.stderr)


def stalls(run, since):
    """The stalls of pings sent from `since` on: (start, length), in order."""
    end = run["end_ms"]
    answered = []
    for sent, got in run["pings"]:
        if sent < since:
            continue
        answered.append((got if got >= 0 else end, sent))
    answered.sort()
    out = []
    group = []
    for got, sent in answered + [(float("inf"), 0)]:
        if group and got - group[-1][0] > SAME_STALL_MS:
            first = min(s for _, s in group)
            length = group[-1][0] - first
            if length > STALL_MS:
                out.append((first, length))
            group = []
        group.append((got, sent))
    return sorted(out)


def stall_figures(run, zero):
    """Longest wait for a ping, the stalls over 50 ms after it and when the
    window answers within 50 ms again."""
    end = run["end_ms"]
    waits = [(got if got >= 0 else end) - sent for sent, got in run["pings"] if sent >= zero]
    longest = max(waits, default=0)
    found = stalls(run, zero)
    if not found:
        return {"longest": longest, "train": 0, "train_ms": 0, "again": 0}
    first = max(found, key=lambda s: s[1])
    after = [s for s in found if s[0] > first[0]]
    last = found[-1]
    return {"longest": longest, "train": len(after),
            "train_ms": statistics.median(s[1] for s in after) if after else 0,
            "again": last[0] + last[1] - zero}


# statistics.quantiles has no 0th and 100th percentile and wants two values at least.
def percentile(values, p):
    values = sorted(values)
    if not values:
        return float("nan")
    k = (len(values) - 1) * p / 100
    lo = int(k)
    hi = min(lo + 1, len(values) - 1)
    return values[lo] + (values[hi] - values[lo]) * (k - lo)


def key_latencies(run, lost=5000):
    return [(sent, painted - sent if painted >= 0 else lost) for sent, painted, _ in run["keys"]]


def summary_line(run):
    parts = []
    s = stall_figures(run, 0 if run["scenario"] in ("open", "opentype") else run["trigger_ms"])
    parts.append(f"longest {s['longest']:.0f} ms, {s['train']} more, again at {s['again']:.0f} ms")
    keys = [k for _, k in key_latencies(run)]
    if keys:
        parts.append(f"keys p50 {percentile(keys, 50):.1f} max {max(keys):.1f} ms ({len(keys)})")
    if run["memory"]:
        parts.append("rss " + "/".join(f"{m[1] / 1024:.0f}" for m in run["memory"]) + " MiB")
    return "; ".join(parts)


def cell(values, fmt="{:.0f}"):
    values = [v for v in values if v == v]
    if not values:
        return ""
    m = fmt.format(statistics.median(values))
    if len(values) > 1 and min(values) != max(values):
        return f"{m} ({fmt.format(min(values))}–{fmt.format(max(values))})"
    return m


def report(runs, sizes, typing):

    def pick(scenario, who, size):
        return [r for r in runs if r["scenario"] == scenario and r["who"] == who and r["size"] == size]

    columns = [(size, who) for size in sizes for who in ("program", "plain")]
    rows = []

    def row(label, scenario, fn, fmt="{:.0f}", whos=("program", "plain")):
        cells = []
        for size, who in columns:
            values = [fn(r) for r in pick(scenario, who, size)] if who in whos else []
            values = [v for v in values if v is not None]
            cells.append(cell(values, fmt))
        if any(cells):
            rows.append((label, cells))

    row("window on the screen, ms after the start", "open", lambda r: r["window_ms"])
    row("opening: longest wait for a ping (stall), ms", "open", lambda r: stall_figures(r, 0)["longest"])
    row("opening: stalls over 50 ms after it", "open", lambda r: stall_figures(r, 0)["train"])
    row("opening: their median length, ms", "open", lambda r: stall_figures(r, 0)["train_ms"] or None)
    row("opening: answers within 50 ms again, s after the start", "open",
        lambda r: stall_figures(r, 0)["again"] / 1000, "{:.2f}")

    # From the first moment the window reads keys after the start, for 3 s (1 MB) or 6 s (10 MB).
    row("keys typed as soon as it takes them, while the spelling pass is due: median, ms", "opentype",
        lambda r: percentile([k for _, k in key_latencies(r)], 50), "{:.1f}")
    row("the same keys: slowest, ms", "opentype", lambda r: percentile([k for _, k in key_latencies(r)], 100))
    row("the same keys: waited for a stall over 50 ms, of all", "opentype",
        lambda r: sum(k > STALL_MS for _, k in key_latencies(r)) / max(1, len(r["keys"])), "{:.2f}")
    row("Openen: longest wait for a ping, ms", "openen", lambda r: stall_figures(r, r["trigger_ms"])["longest"],
        whos=("program",))
    row("Openen: answers within 50 ms again, s after Enter", "openen",
        lambda r: stall_figures(r, r["trigger_ms"])["again"] / 1000, "{:.2f}", whos=("program",))
    row("\"Alles vervangen\" of \"aquarium\": longest wait for a ping, ms", "replace",
        lambda r: stall_figures(r, r["trigger_ms"])["longest"], whos=("program",))
    row("\"Alles vervangen\": stalls over 50 ms after it", "replace",
        lambda r: stall_figures(r, r["trigger_ms"])["train"], whos=("program",))
    row("\"Alles vervangen\": answers within 50 ms again, s after the key", "replace",
        lambda r: stall_figures(r, r["trigger_ms"])["again"] / 1000, "{:.2f}", whos=("program",))
    row("import of the forum text, after the question: longest wait for a ping, ms", "import",
        lambda r: stall_figures(r, r["trigger_ms"])["longest"], whos=("program",))
    row("import of a forum text file, after the question: longest wait for a ping, ms", "importfile",
        lambda r: stall_figures(r, r["trigger_ms"])["longest"], whos=("program",))
    row("import of a forum text file: answers within 50 ms again, s after the question", "importfile",
        lambda r: stall_figures(r, r["trigger_ms"])["again"] / 1000, "{:.2f}", whos=("program",))
    row("import of a forum text file: peak memory (VmHWM), MiB", "importfile",
        lambda r: r["memory"][-1][2] / 1024 if r["memory"] else None, "{:.0f}", whos=("program",))
    for p in (50, 90, 99, 100):
        label = "max" if p == 100 else f"p{p}"
        row(f"key to screen while typing ({typing:.0f} s), {label}, ms", "type",
            lambda r, p=p: percentile([k for _, k in key_latencies(r)], p), "{:.1f}")
    row("typing: longest wait for a ping, ms", "type", lambda r: stall_figures(r, r["trigger_ms"])["longest"],
        "{:.1f}")
    for p in (50, 90, 100):
        label = "max" if p == 100 else f"p{p}"
        row(f"typing with the live view open: key to screen, {label}, ms", "liveview",
            lambda r, p=p: percentile([k for _, k in key_latencies(r)], p), "{:.1f}", whos=("program",))
    row("typing with the live view open: longest wait for a ping, ms", "liveview",
        lambda r: stall_figures(r, r["trigger_ms"])["longest"], whos=("program",))
    row("typing with the live view open: keys over 16 ms, %", "liveview",
        lambda r: 100 * sum(k > 16 for _, k in key_latencies(r)) / max(1, len(r["keys"])), "{:.0f}",
        whos=("program",))
    row("typing with the live view open: the view repainted, ms after the key before the next (median)", "liveview",
        lambda r: statistics.median([v - s for s, _, v in r["keys"] if v >= 0] or [float("nan")]), "{:.0f}",
        whos=("program",))

    # Memory: what a document adds to the same program without one, per MB of its file.
    def base(who, index):
        values = [r["memory"][index][1] for r in pick("type", who, 0)]
        return statistics.median(values) if values else None

    def per_mb(r, index, column=1):
        b = base(r["who"], index)
        if b is None:
            return None
        mb = r.get("file_bytes", r["size"] * 1e6) / 1e6
        return (r["memory"][index][column] - b) / 1024 / mb

    row("memory after opening (VmRSS beyond no document), MiB per MB", "type", lambda r: per_mb(r, 0), "{:.1f}")
    row(f"memory after {typing:.0f} s of typing (VmRSS), MiB per MB", "type",
        lambda r: per_mb(r, 1), "{:.1f}")
    row(f"peak memory after {typing:.0f} s of typing (VmHWM), MiB per MB", "type",
        lambda r: per_mb(r, 1, 2), "{:.1f}")

    head = "| what | " + " | ".join(f"{size} MB: {'program' if who == 'program' else 'QPlainTextEdit'}"
                                   for size, who in columns) + " |"
    print(head)
    print("|---" * (len(columns) + 1) + "|")
    for label, cells in rows:
        print(f"| {label} | " + " | ".join(cells) + " |")

    # The floors of memory and of a ping.
    for who, label in (("program", "the program without a document"), ("plain", "an empty QPlainTextEdit")):
        values = [r["memory"][0][1] / 1024 for r in pick("type", who, 0)]
        if values:
            print(f"\nVmRSS of {label}, settled: {cell(values, '{:.1f}')} MiB", end="")
    empty = pick("open", "empty", 0)
    if empty:
        rss = [r["memory"][-1][1] / 1024 for r in empty if r["memory"]]
        pings = [statistics.median(g - s for s, g in r["pings"] if g >= 0) for r in empty]
        print(f"\nEmpty Qt window: VmRSS {cell(rss, '{:.1f}')} MiB; a ping answered in {cell(pings, '{:.2f}')} ms")
    loads = [r["load"] for r in runs]
    if loads:
        print(f"Load average (1 min) at the runs' starts: median {statistics.median(loads):.2f}, "
              f"{min(loads):.2f} to {max(loads):.2f}; {len(runs)} runs")


def main():
    args = parse_args()
    sizes = [int(s) for s in args.sizes.split(",") if s]
    if args.report:
        with open(args.report) as f:
            report(json.load(f), sizes, args.typing)
        return
    # Stopped, it still takes its X server and files away.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    only = set(s for s in args.only.split(",") if s)
    want = lambda name: not only or name in only
    bench = Bench(args)
    typing = str(args.typing)
    try:
        for n in range(args.runs):
            print(f"run {n + 1} of {args.runs}", file=sys.stderr)
            if want("open"):
                bench.run("open", "empty", 0, ["--seconds", "2", "--memory"])
                for size in sizes:
                    seconds = "6" if size >= 10 else "3"
                    for who in ("program", "plain"):
                        bench.run("open", who, size, ["--seconds", seconds, "--memory"])
            if want("opentype"):
                for size in sizes:
                    seconds = "6" if size >= 10 else "3"
                    for who, field in (("program", PROGRAM_FIELD), ("plain", FLOOR_FIELD)):
                        bench.run("opentype", who, size, ["--steps", field, "--type", "--seconds", seconds])
            if want("type"):
                for size in [0, *sizes]:
                    for who, field in (("program", PROGRAM_FIELD), ("plain", FLOOR_FIELD)):
                        bench.run("type", who, size, ["--steps", f"settle,memory,{field},settle", "--type",
                                                      "--seconds", typing, "--memory"])
            if want("openen"):
                for size in sizes:
                    # A key pressed makes the work unsaved: the question comes first.
                    steps = (f"settle,text:x,alt+b,o,window:{PROGRAM_TITLE},alt+n,window:Bestand Openen,"
                             f"text:{bench.document(size)}")
                    bench.run("openen", "program", size, ["--steps", steps, "--trigger", "Return", "--seconds",
                                                          "6" if size >= 10 else "3"], command=[bench.program])
            if want("replace"):
                for size in sizes:
                    bench.run("replace", "program", size,
                              ["--steps", "settle,ctrl+h,text:aquarium,alt+r,text:bak,settle", "--trigger", "alt+a",
                               "--seconds", "6" if size >= 10 else "3"])
            if want("import") and 1 in sizes:
                forum = bench.forum_text(1)
                clipboard = lambda env: subprocess.Popen(
                    ["xclip", "-selection", "clipboard", "-quiet", "-i", forum], env=env,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                bench.run("import", "program", 1,
                          ["--steps", f"settle,text:x,alt+b,i,window:Forumtekst Importeren,alt+k,window:{PROGRAM_TITLE}",
                           "--trigger", "alt+n", "--seconds", "3"], command=[bench.program], before=clipboard)
            if want("import"):
                # From a file: read and taken apart on a thread of its own, then the question
                # (a letter typed first, so that there is unsaved work to ask about).
                # The file dialog has the question's title: a pause lets the question go and the
                # dialog come. It starts in the home folder, where the file's name is typed.
                for size in sizes:
                    forum = bench.forum_text(size)
                    name = os.path.basename(forum)
                    link = lambda env, forum=forum, name=name: os.symlink(forum, os.path.join(env["HOME"], name))
                    steps = (f"settle,text:x,alt+b,i,window:Forumtekst Importeren,alt+u,pause:1000,text:{name},Return,"
                             f"window:{PROGRAM_TITLE}")
                    bench.run("importfile", "program", size,
                              ["--steps", steps, "--trigger", "alt+n", "--seconds", str(max(3, size)), "--memory"],
                              command=[bench.program], before=link)
            if want("liveview") and 1 in sizes:
                bench.run("liveview", "program", 1,
                          ["--steps", f"settle,{PROGRAM_FIELD},alt+d,v,window:{VIEW_TITLE},focus,settle", "--type",
                           "--seconds", typing, "--view", VIEW_TITLE])
    finally:
        out = args.out or os.path.join(bench.build, "bench", "window-bench.json")
        with open(out, "w") as f:
            json.dump(bench.runs, f)
        print(f"every run's figures: {out}", file=sys.stderr)
        report(bench.runs, sizes, args.typing)
        bench.close()


if __name__ == "__main__":
    main()

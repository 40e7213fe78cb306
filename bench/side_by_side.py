#!/usr/bin/env python3
"""The game against a bare Qt program that does the same visible work (BareQtWindow: a 500 x 300
picture redrawn every 100 ms from a precise 20 ms timer), run in turn, each under its own Xvfb
with SDL's dummy audio driver and a fresh home.

For each program it prints:
  window  ms from the launch to the MapNotify of its window on the X server;
  RSS     resident memory, and anonymous memory (heap, stacks), from /proc/PID/smaps_rollup,
          read at the end of the CPU interval;
  CPU     utime + stime over a fixed interval once start-up is over, in percent of one core.
          In the game a game is running: Ctrl+T starts one, and is sent again every second so
          that a strike on the runner ends no more than a second of it. The bare program gets
          the same keys and ignores them.
and, from the medians of the runs (one disturbed run moves a median little), the game's figures
divided by the bare program's, against the goals.

Usage: bench/side_by_side.py [--runs N] [--seconds S] [build dir]
With no build dir it configures and builds build-release (Release) first. --game and --bare
run other binaries instead (an older build of the game, say).
"""

import argparse
import ctypes
import ctypes.util
import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GAME_TITLE = "Tembrolo"
BARE_TITLE = "BareQt"
GOALS = {"window": 1.5, "rss": 1.4, "cpu": 1.25}  # most the game may cost, as a ratio
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class XWatch:
    """Reports when a top-level window with a given name is mapped, from the X server's events."""

    _SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
    _MAP_NOTIFY = 19

    def __init__(self, display):
        x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._x = x
        self._dpy = x.XOpenDisplay(display.encode())
        if not self._dpy:
            raise RuntimeError(f"cannot open display {display}")
        root = x.XDefaultRootWindow(self._dpy)
        x.XSelectInput(self._dpy, root, self._SUBSTRUCTURE_NOTIFY_MASK)
        x.XSync(self._dpy, 0)
        self._wm_name = x.XInternAtom(self._dpy, b"WM_NAME", 0)

    def close(self):
        self._x.XCloseDisplay(self._dpy)

    def _name(self, window):
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        if self._x.XGetWindowProperty(self._dpy, window, self._wm_name, 0, 256, 0, 0,
                                      ctypes.byref(kind), ctypes.byref(fmt), ctypes.byref(count),
                                      ctypes.byref(after), ctypes.byref(data)) != 0:
            return ""
        if not data.value:
            return ""
        name = ctypes.string_at(data.value, count.value).decode(errors="replace")
        self._x.XFree(data)
        return name

    def wait_for_map(self, title, timeout):
        """The monotonic time at which a window named `title` was mapped, and its id."""
        event = (ctypes.c_long * 24)()
        fd = self._x.XConnectionNumber(self._dpy)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self._x.XPending(self._dpy) == 0:
                select.select([fd], [], [], 0.05)
                continue
            self._x.XNextEvent(self._dpy, event)
            seen = time.monotonic()
            if ctypes.c_int.from_buffer(event).value == self._MAP_NOTIFY:
                window = event[5]  # XMapEvent.window on LP64
                if self._name(window) == title:
                    return seen, window
        raise RuntimeError(f"no window {title!r} within {timeout} s")


def start_xvfb():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=[write_end],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number:
        xvfb.kill()
        raise RuntimeError("Xvfb did not start")
    return xvfb, ":" + number


def cpu_seconds(pid):
    """utime + stime of the whole process so far, and the threads it was summed over. Summed from
    each thread's nanosecond run time (/proc/PID/task/*/schedstat) rather than read in 10 ms clock
    ticks from /proc/PID/stat, which at 1 % of a core would be a 5 % error over 20 s."""
    total, threads = 0, set()
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as schedstat:
                total += int(schedstat.read().split()[0])
            threads.add(tid)
        except OSError:
            pass  # the thread has just ended
    return total / 1e9, threads


def cpu_ticks_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime, dead threads too


def memory_mib(pid):
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as rollup:
        for line in rollup:
            parts = line.split()
            if parts and parts[0] in ("Rss:", "Anonymous:"):
                values[parts[0][:-1]] = int(parts[1]) / 1024
    return values["Rss"], values["Anonymous"]


def xdotool(display, *args):
    subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=display), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=10)


def measure(program, title, args):
    xvfb, display = start_xvfb()
    home = tempfile.mkdtemp(prefix="side_by_side.")
    watch = None
    proc = None
    try:
        watch = XWatch(display)
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                   HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_RUNTIME_DIR=home)
        with open(os.path.join(home, "program.log"), "w") as log:
            launched = time.monotonic()
            proc = subprocess.Popen([program, title] if title == BARE_TITLE else [program],
                                    env=env, stdout=log, stderr=log)
            mapped, window = watch.wait_for_map(title, 20)
        window_ms = (mapped - launched) * 1000
        time.sleep(args.settle)
        xdotool(display, "windowfocus", "--sync", str(window))
        xdotool(display, "key", "--clearmodifiers", "ctrl+t")
        time.sleep(0.5)
        (before, threads), ticks_before = cpu_seconds(proc.pid), cpu_ticks_seconds(proc.pid)
        start = time.monotonic()
        while time.monotonic() - start < args.seconds:
            time.sleep(min(args.restart, args.seconds - (time.monotonic() - start)))
            xdotool(display, "key", "--clearmodifiers", "ctrl+t")
        (after, threads_after), end = cpu_seconds(proc.pid), time.monotonic()
        if not threads <= threads_after:  # a thread ended, and its time with it
            before, after = ticks_before, cpu_ticks_seconds(proc.pid)
        rss, anon = memory_mib(proc.pid)
        if proc.poll() is not None:
            raise RuntimeError(f"{program} ended during the run")
        return {"window": window_ms, "rss": rss, "anon": anon,
                "cpu": (after - before) / (end - start) * 100}
    finally:
        if proc is not None and proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        if watch is not None:
            watch.close()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)


def build(build_dir):
    subprocess.run(["cmake", "-S", SOURCE_DIR, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DTEMBROLO_BUILD_TESTS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "--target", "tembrolo", "BareQtWindow"],
                   check=True, stdout=subprocess.DEVNULL)


def report(results):
    rows = [("window (ms)", "window", "window"), ("RSS (MiB)", "rss", "rss"),
            ("anonymous (MiB)", "anon", None), ("CPU while playing (%)", "cpu", "cpu")]
    print(f"\nmedians{'':17}{'game':>9}{'bare':>9}{'ratio':>8}  goal")
    for label, key, goal in rows:
        game = statistics.median(r[key] for r in results["game"])
        bare = statistics.median(r[key] for r in results["bare"])
        ratio = game / bare if bare > 0 else float("inf")
        verdict = ""
        if goal is not None:
            verdict = f"<= {GOALS[goal]:.2f}  {'met' if ratio <= GOALS[goal] else 'MISSED'}"
        print(f"{label:24}{game:9.2f}{bare:9.2f}{ratio:8.2f}  {verdict}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build_dir", nargs="?", help="a built tree (default: build build-release)")
    parser.add_argument("--runs", type=int, default=5, help="runs of each program (5)")
    parser.add_argument("--seconds", type=float, default=20, help="CPU interval in s (20)")
    parser.add_argument("--settle", type=float, default=2, help="s after the window shows (2)")
    parser.add_argument("--restart", type=float, default=1,
                        help="s between the Ctrl+T that restart a game ended by a strike (1)")
    parser.add_argument("--game", help="the game's binary (default: from the build dir)")
    parser.add_argument("--bare", help="the bare program (default: from the build dir)")
    args = parser.parse_args()

    build_dir = args.build_dir
    if build_dir is None:
        build_dir = os.path.join(SOURCE_DIR, "build-release")
        build(build_dir)
    programs = {"game": (args.game or os.path.join(build_dir, "tembrolo"), GAME_TITLE),
                "bare": (args.bare or os.path.join(build_dir, "bench", "BareQtWindow"),
                         BARE_TITLE)}
    results = {"game": [], "bare": []}
    for run in range(args.runs):
        # Interleaved, and each round in the other order, so that drift hits both alike.
        for name in (["game", "bare"] if run % 2 == 0 else ["bare", "game"]):
            program, title = programs[name]
            figures = measure(os.path.abspath(program), title, args)
            results[name].append(figures)
            print(f"run {run + 1} {name}: window {figures['window']:.1f} ms, "
                  f"RSS {figures['rss']:.1f} MiB, anonymous {figures['anon']:.1f} MiB, "
                  f"CPU {figures['cpu']:.2f} %", flush=True)
    report(results)


if __name__ == "__main__":
    sys.exit(main())

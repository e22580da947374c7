#!/usr/bin/python3
"""Corkvane against a bare Qt program of the same windows, in the same run.

Runs, alternating, the floor (build/bin/floor_notes: N frameless 170 x 120 windows with a text
editor) and Corkvane with a store of N shown notes, under a private Xvfb without a window
manager, and prints each measure with its ratio:

  - N notes all shown: from the start of the process until every window has been painted
    once (Corkvane less its 500 ms start-up timer), for N = 100 and 1000;
  - peak memory (VmHWM) with no notes and with 100 notes;
  - processor time used while idle for 20 s with 100 notes;
  - SIGTERM to process end with 1000 notes, and to the store being on disk.

Usage: bench/bench_desktop.py [--bin build/bin] [--runs 5] [--quick]
Needs Xvfb (Debian package xvfb).
"""
import argparse
import os
import pwd
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

STARTUP_TIMER_S = 0.5


def write_store(home, count):
    login = pwd.getpwuid(os.getuid()).pw_name
    data = os.path.join(home, "Documents", "Corkvane", login, "data")
    os.makedirs(data, mode=0o700, exist_ok=True)
    lines = ["[General]", "NumStickies=%d" % count, "AutoSave=0", "DefaultLang=Port", "[Network]", "Enabled=0"]
    for i in range(count):
        lines += ["[Stick%d]" % i, "caption=Nota %d" % i, "visible=1", "topmost=0",
                  "note=Note %d\\nSecond line of the note\\nThird line" % i,
                  "posx=%d" % (400 + (i % 40) * 10), "posy=%d" % (100 + (i % 30) * 10),
                  "Width=170", "Height=120", "Color=8126463"]
    path = os.path.join(data, "stickies.cvf")
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    return path


class Run:
    def __init__(self, argv, env, ready):
        self.start = time.monotonic()
        self.proc = subprocess.Popen(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.ready_at = ready(self) - self.start

    def status(self, key):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for line in f:
                if line.startswith(key + ":"):
                    return int(line.split()[1])
        return 0

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.proc.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()


def wait_for(predicate, timeout=120):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if predicate():
            return time.monotonic()
        time.sleep(0.0005)
    raise RuntimeError("timed out")


class Bench:
    def __init__(self, bindir, display):
        self.bindir = bindir
        self.display = display

    def env(self, home):
        run = os.path.join(home, "run")
        os.makedirs(run, mode=0o700, exist_ok=True)
        env = {k: v for k, v in os.environ.items() if not k.startswith(("LC_", "QT_", "WAYLAND", "XDG_"))}
        env.update(HOME=home, XDG_RUNTIME_DIR=run, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   DISPLAY=self.display, QT_QPA_PLATFORM="xcb", LANG="pt_BR.UTF-8")
        return env

    def floor(self, count):
        home = tempfile.mkdtemp(prefix="floor-")
        def ready(run):
            line = run.proc.stdout.readline()
            if line.strip() != b"ready":
                raise RuntimeError("floor_notes did not start")
            return time.monotonic()
        run = Run([os.path.join(self.bindir, "floor_notes"), str(count)], self.env(home), ready)
        run.home = home
        return run

    def corkvane(self, count):
        home = tempfile.mkdtemp(prefix="corkvane-")
        store = write_store(home, count)
        env = self.env(home)
        env["CORKVANE_STARTUP_TRACE"] = "1"
        endpoint = os.path.join(env["XDG_RUNTIME_DIR"], "CorkvaneMsg")
        def ready(run):
            # Every note painted once, as the floor's "ready"; then the program is fully up.
            if run.proc.stdout.readline().strip() != b"painted":
                raise RuntimeError("corkvane did not report its notes painted")
            at = time.monotonic()
            wait_for(lambda: os.path.exists(endpoint))
            return at
        run = Run([os.path.join(self.bindir, "corkvane")], env, ready)
        run.ready_at -= STARTUP_TIMER_S
        run.home, run.store = home, store
        return run


def median_ms(values):
    return statistics.median(values) * 1000


def row(name, ours, floor, unit, fmt="%.0f"):
    ratio = ours / floor if floor else float("nan")
    print("%-46s %10s %-4s %10s %-4s %6.2f" % (name, fmt % ours, unit, fmt % floor, unit, ratio))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", default=os.path.join(here, "..", "build", "bin"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--idle", type=float, default=20.0)
    args = parser.parse_args()
    if not shutil.which("Xvfb"):
        sys.exit("bench_desktop: Xvfb is missing (apt-get install xvfb)")

    display = ":%d" % (90 + os.getpid() % 9)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for(lambda: os.path.exists("/tmp/.X11-unix/X" + display[1:]), 10)
        bench = Bench(os.path.abspath(args.bin), display)
        print("%-46s %15s %15s %6s" % ("measure (median of %d, alternating)" % args.runs, "Corkvane", "floor", "ratio"))

        for count in (100, 1000):
            ours, floor, ours_mem, floor_mem = [], [], [], []
            for _ in range(args.runs):
                for make, times, mem in ((bench.floor, floor, floor_mem), (bench.corkvane, ours, ours_mem)):
                    run = make(count)
                    times.append(run.ready_at)
                    time.sleep(0.3)
                    mem.append(run.status("VmHWM") / 1024)
                    run.stop()
            row("%d notes all shown (less the 500 ms timer)" % count, median_ms(ours), median_ms(floor), "ms")
            if count == 100:
                row("peak memory, 100 notes", statistics.median(ours_mem), statistics.median(floor_mem), "MiB", "%.1f")

        ours_mem, floor_mem = [], []
        for _ in range(args.runs):
            for make, mem in ((bench.floor, floor_mem), (bench.corkvane, ours_mem)):
                run = make(0)
                time.sleep(0.5)
                mem.append(run.status("VmHWM") / 1024)
                run.stop()
        row("peak memory, no notes", statistics.median(ours_mem), statistics.median(floor_mem), "MiB", "%.1f")

        idle = {}
        for name, make in (("floor", bench.floor), ("ours", bench.corkvane)):
            run = make(100)
            time.sleep(1.0)
            before = run.cpu_seconds()
            time.sleep(args.idle)
            idle[name] = run.cpu_seconds() - before
            run.stop()
        row("processor time idle over %.0f s, 100 notes" % args.idle, idle["ours"], idle["floor"], "s", "%.3f")

        ends, stored = [], []
        for _ in range(args.runs):
            run = bench.corkvane(1000)
            time.sleep(0.5)
            inode = os.stat(run.store).st_ino
            sent = time.monotonic()
            run.proc.send_signal(signal.SIGTERM)
            on_disk = None
            while run.proc.poll() is None:
                if on_disk is None:
                    try:
                        if os.stat(run.store).st_ino != inode:
                            on_disk = time.monotonic() - sent
                    except FileNotFoundError:
                        pass
                time.sleep(0.0005)
            ends.append(time.monotonic() - sent)
            if on_disk is None and os.stat(run.store).st_ino != inode:
                on_disk = ends[-1]
            stored.append(on_disk if on_disk is not None else float("nan"))
        print("%-46s %10.0f ms" % ("SIGTERM to process end, 1000 notes", median_ms(ends)))
        print("%-46s %10.0f ms" % ("SIGTERM to the store on disk, 1000 notes", median_ms(stored)))
    finally:
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()

"""A private desktop session for tests that need a real X server: Xvfb on a free display, a
D-Bus session bus of its own (so nothing of the user's desktop, a notification area above all,
leaks in), and on request a window manager (openbox) and the accessibility bus (AT-SPI).

    with XSession(window_manager=True, accessibility=True) as session:
        subprocess.run([...], env=session.env)

A session that cannot be set up raises Unavailable with the reason; the test then reports
itself skipped (exit code SKIPPED) with that reason. Every wait is bounded.
"""
import codecs
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
AT_SPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class Unavailable(Exception):
    pass


def skip(reason):
    print("SKIP: " + reason, flush=True)
    sys.exit(SKIPPED)


def wait_until(predicate, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise TimeoutError("timed out after %.0f s waiting for %s" % (timeout, what))


def _read_line_from_fd(fd, timeout, what):
    """The first line a child writes on `fd` (its display number, its bus address)."""
    end = time.monotonic() + timeout
    data = b""
    os.set_blocking(fd, False)
    while b"\n" not in data:
        if time.monotonic() > end:
            raise Unavailable("%s did not start within %.0f s" % (what, timeout))
        try:
            chunk = os.read(fd, 256)
        except BlockingIOError:
            time.sleep(0.02)
            continue
        if not chunk:
            raise Unavailable("%s ended before it was ready" % what)
        data += chunk
    return data.split(b"\n", 1)[0].decode().strip()


class XSession:
    def __init__(self, window_manager=False, accessibility=False, screen="1024x768x24"):
        self.window_manager = window_manager
        self.accessibility = accessibility
        self.screen = screen
        self.processes = []
        self.home = None
        self.env = None

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def _spawn_reporting(self, argv, what, env=None):
        """Starts a child that writes one line to a pipe when ready; returns that line."""
        read_end, write_end = os.pipe()
        argv = [a.replace("{fd}", str(write_end)) for a in argv]
        try:
            proc = subprocess.Popen(argv, pass_fds=(write_end,), env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except OSError as e:
            os.close(read_end)
            os.close(write_end)
            raise Unavailable("cannot run %s: %s" % (argv[0], e))
        os.close(write_end)
        self.processes.append(proc)
        try:
            return _read_line_from_fd(read_end, 15, what)
        finally:
            os.close(read_end)

    def start(self):
        needed = ["Xvfb", "dbus-daemon", "xprop"]
        if self.window_manager:
            needed.append("openbox")
        for tool in needed:
            if not shutil.which(tool):
                raise Unavailable("%s is not installed (scripts/deps.sh installs it)" % tool)
        if self.accessibility and not os.access(AT_SPI_BUS_LAUNCHER, os.X_OK):
            raise Unavailable("%s is missing (package at-spi2-core)" % AT_SPI_BUS_LAUNCHER)

        self.home = tempfile.mkdtemp(prefix="xsession-")
        runtime = os.path.join(self.home, "run")
        os.makedirs(runtime, mode=0o700)
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("LC_", "QT_", "WAYLAND", "XDG_", "DBUS_", "AT_SPI", "DISPLAY", "LANGUAGE"))}
        env.update(HOME=self.home, XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"), LANG="pt_BR.UTF-8",
                   QT_QPA_PLATFORM="xcb")

        display = self._spawn_reporting(["Xvfb", "-displayfd", "{fd}", "-screen", "0", self.screen,
                                         "-nolisten", "tcp", "-noreset"], "Xvfb")
        env["DISPLAY"] = ":" + display
        address = self._spawn_reporting(["dbus-daemon", "--session", "--nofork", "--print-address={fd}"],
                                        "the D-Bus session bus", env)
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env = env

        if self.accessibility:
            proc = subprocess.Popen([AT_SPI_BUS_LAUNCHER, "--launch-immediately"], env=env,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.processes.append(proc)
            try:
                wait_until(self._accessibility_bus_up, 15, "the accessibility bus")
            except TimeoutError as e:
                raise Unavailable(str(e))
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            env["QT_ACCESSIBILITY"] = "1"

        if self.window_manager:
            proc = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.processes.append(proc)
            try:
                wait_until(lambda: "window id" in self.root_property("_NET_SUPPORTING_WM_CHECK"), 15,
                           "the window manager")
            except TimeoutError as e:
                raise Unavailable(str(e))

    def _accessibility_bus_up(self):
        result = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                 "org.a11y.Bus.GetAddress"], env=self.env, capture_output=True, timeout=10)
        return result.returncode == 0

    def stop(self):
        for proc in reversed(self.processes):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.processes = []
        if self.home:
            shutil.rmtree(self.home, ignore_errors=True)
            self.home = None

    # --- reading the X server's state -----------------------------------------------------

    def run(self, *argv, timeout=10):
        return subprocess.run(list(argv), env=self.env, capture_output=True, text=True, timeout=timeout)

    def root_property(self, name):
        return self.run("xprop", "-root", name).stdout.strip()

    def active_window(self):
        """The window the window manager names active (_NET_ACTIVE_WINDOW), 0 when none."""
        value = self.root_property("_NET_ACTIVE_WINDOW")
        try:
            return int(value.rsplit(" ", 1)[-1], 16)
        except ValueError:
            return 0

    def window_name(self, window):
        out = self.run("xprop", "-id", str(window), "_NET_WM_NAME").stdout.strip()
        if "=" not in out:
            return ""
        value = out.split("=", 1)[1].strip()
        if value.startswith('"'):
            value = value[1:-1]
        # xprop writes the bytes of UTF-8 text beyond ASCII as octal escapes.
        return codecs.escape_decode(value.encode())[0].decode("utf-8", "replace")

    def client_windows(self):
        """The managed windows (_NET_CLIENT_LIST) with their names."""
        value = self.root_property("_NET_CLIENT_LIST")
        if "#" not in value:
            return {}
        ids = [int(v.strip(), 16) for v in value.split("#", 1)[1].split(",") if v.strip()]
        return {w: self.window_name(w) for w in ids}

    def frame_of(self, window):
        """A managed window's place and size with the window manager's frame around it."""
        info = self.run("xwininfo", "-id", str(window)).stdout
        field = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
        x, y = field("Absolute upper-left X"), field("Absolute upper-left Y")
        w, h = field("Width"), field("Height")
        extents = self.run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS").stdout
        left = right = top = bottom = 0
        if "=" in extents:
            left, right, top, bottom = (int(v) for v in extents.split("=", 1)[1].split(","))
        return x - left, y - top, w + left + right, h + top + bottom

    def shoot(self, build, area, out):
        """Writes the picture of `area` (x, y, width, height) of the screen to the PNG `out`,
        with the build's shot_screen driver."""
        result = self.run(os.path.join(build, "drivers", "shot_screen"), *(str(v) for v in area), out)
        if result.returncode != 0:
            raise RuntimeError("shot_screen failed: " + result.stderr)
        print("wrote", out)

    def find_window(self, prefix, timeout=20):
        """The first managed window whose name starts with `prefix`."""
        def found():
            for window, name in self.client_windows().items():
                if name.startswith(prefix):
                    return window
            return None
        return wait_until(found, timeout, "a window named %r" % prefix)

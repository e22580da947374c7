#!/usr/bin/python3
"""Every control of every window of the program has a name a screen reader can say.

Runs the driver build/drivers/a11y_windows on a private X server with its own D-Bus session
bus and AT-SPI accessibility bus, and for each window the driver opens (a note, the notes
window, the note settings and the preferences on each of their pages, the title dialog,
today's tasks, the send dialog, the contact book and its entry dialog, the e-mail dialog, the
about box, the help, the block-list entry and the event-sound dialog) walks the accessibility
tree the program publishes, as a screen reader reads it. It fails on:

  - a control shown to the user that can be reached or worked (a button, box, field, list,
    table, slider, tab...) with no accessible name;
  - a control whose name holds no letter or digit (a "..." button) and no description either;
  - a note window, or its text, that is not called by the note's title.

Usage: a11y_names.py <build folder>
Skipped (exit code 77) when Xvfb, D-Bus, the AT-SPI bus or pyatspi is not available.
"""
import os
import select
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, Unavailable, skip, wait_until  # noqa: E402

# What a user works with. A control of these roles needs a name; so does any other object
# that takes the keyboard focus, unless it is a container or a piece of a list's content.
CONTROL_ROLES = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text", "password text",
    "entry", "spin button", "slider", "list", "list box", "table", "tree table", "tree", "page tab",
    "date editor", "link", "menu button", "split button", "dial", "editbar",
}
NOT_CONTROLS = {
    "frame", "dialog", "window", "filler", "panel", "label", "static", "heading", "table cell", "list item",
    "tree item", "column header", "row header", "table column header", "table row header", "menu", "menu bar",
    "popup menu", "page tab list", "scroll pane", "viewport", "redundant object", "unknown", "separator",
    "scroll bar", "tool bar", "status bar", "image", "icon", "document frame", "section", "grouping",
    "application", "layered pane", "root pane", "glass pane", "internal frame", "desktop frame",
}
# Their children are the list's content (cells, rows) or the control's own parts (the edit
# field of a spin box, the drop-down list of a combo box), not controls of their own.
COMPOSITE = {"list", "list box", "table", "tree table", "tree", "spin button", "combo box"}

WALK_SECONDS = 60
NOTE_TITLE = "Compras"
MAX_NODES = 5000


def has_word(text):
    return any(c.isalnum() for c in text)


class Walker:
    def __init__(self, pyatspi, pid):
        self.pyatspi = pyatspi
        self.pid = pid
        self.failures = {}
        self.checked = 0

    def application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.pid:
                    return app
            except Exception:
                continue
        return None

    def walk_window(self, step, window):
        deadline = time.monotonic() + WALK_SECONDS
        stack = [(window, [self.describe(window)])]
        seen = 0
        while stack:
            if time.monotonic() > deadline or seen > MAX_NODES:
                raise TimeoutError("walking %s took too long" % step)
            node, path = stack.pop()
            seen += 1
            role = node.getRoleName()
            self.check(step, node, role, path)
            if role in COMPOSITE:
                continue
            for i in range(node.childCount - 1, -1, -1):
                child = node.getChildAtIndex(i)
                if child is not None:
                    stack.append((child, path + [self.describe(child)]))

    @staticmethod
    def describe(node):
        name = (node.name or "").strip()
        return "%s %r" % (node.getRoleName(), name) if name else node.getRoleName()

    def check(self, step, node, role, path):
        states = node.getState()
        focusable = states.contains(self.pyatspi.STATE_FOCUSABLE)
        if role in NOT_CONTROLS or not (role in CONTROL_ROLES or focusable):
            return
        # What the user cannot meet now (another page, a helper kept hidden) is met on the
        # step that shows it.
        if not states.contains(self.pyatspi.STATE_SHOWING):
            return
        self.checked += 1
        name = (node.name or "").strip()
        where = " > ".join(path)
        if not name:
            self.failures.setdefault("%s: %s has no name" % (step, where), True)
        elif not has_word(name) and not (node.description or "").strip():
            self.failures.setdefault("%s: %s says only %r and has no description" % (step, where, name), True)


def check_note_names(windows, failures):
    """The note the driver shows first is titled "Compras": so are its window and its text."""
    notes = [w for w in windows if w.name == NOTE_TITLE]
    if not notes:
        failures["note: no window is called %r (windows: %s)" % (NOTE_TITLE, [w.name for w in windows])] = True
        return
    stack = [notes[0]]
    while stack:
        node = stack.pop()
        if node.getRoleName() == "text":
            if node.name != NOTE_TITLE:
                failures["note: its text is called %r, not %r" % (node.name, NOTE_TITLE)] = True
            return
        stack.extend(c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c is not None)
    failures["note: the note window has no text"] = True


def showing_windows(pyatspi, app):
    windows = []
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.getState().contains(pyatspi.STATE_SHOWING):
            windows.append(window)
    return windows


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    build = os.path.abspath(sys.argv[1])
    driver = os.path.join(build, "drivers", "a11y_windows")
    if not os.access(driver, os.X_OK):
        print("FAIL: %s is not built" % driver)
        return 1
    try:
        session = XSession(accessibility=True)
        session.start()
    except Unavailable as e:
        skip(str(e))
    try:
        os.environ.update({k: session.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        try:
            import pyatspi
        except ImportError:
            skip("pyatspi is not installed (package python3-pyatspi)")
        return run(session, pyatspi, driver, build)
    finally:
        session.stop()


def run(session, pyatspi, driver, build):
    env = dict(session.env, CORKVANE_BIN_DIR=os.path.join(build, "bin"))
    proc = subprocess.Popen([driver], env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
    walker = Walker(pyatspi, proc.pid)
    steps = []
    try:
        try:
            app = wait_until(walker.application, 30, "the program on the accessibility bus")
        except TimeoutError as e:
            print("FAIL: " + str(e))
            return 1
        while True:
            ready, _, _ = select.select([proc.stdout], [], [], 30)
            if not ready:
                print("FAIL: the driver showed no window for 30 s (after %s)" % (steps[-1] if steps else "start"))
                return 1
            line = proc.stdout.readline().strip()
            if line == "end" or not line:
                break
            step = line.split(" ", 1)[1]
            steps.append(step)
            windows = showing_windows(pyatspi, app)
            if not windows:
                print("FAIL: %s: no window of the program is showing" % step)
                return 1
            for window in windows:
                walker.walk_window(step, window)
            if step == "note":
                check_note_names(windows, walker.failures)
            proc.stdin.write("next\n")
            proc.stdin.flush()
        if proc.wait(20) != 0:
            print("FAIL: the driver ended with %d" % proc.returncode)
            return 1
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()

    print("walked %d windows, %d controls" % (len(steps), walker.checked))
    expected = 20
    if len(steps) != expected:
        print("FAIL: the driver showed %d windows, %d expected" % (len(steps), expected))
        return 1
    if walker.checked < 100:
        print("FAIL: only %d controls were found: the tree was not read" % walker.checked)
        return 1
    for failure in sorted(walker.failures):
        print("FAIL: " + failure)
    return 1 if walker.failures else 0


if __name__ == "__main__":
    sys.exit(main())

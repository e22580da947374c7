#!/usr/bin/python3
"""A desktop without a notification area: the program as a user meets it there.

On a private X server with a window manager (openbox) and no notification area (no XEmbed
tray, no StatusNotifierWatcher on the session bus), the built program is started on a store
of three notes. The notes window "Notas" must open by itself and hold the focus; typing "pao"
and Enter must make the note whose text holds "pão" the active window (_NET_ACTIVE_WINDOW of
the window manager) with the keyboard in its text (what is typed next lands in the note, as
the store saved at SIGTERM shows). Closed with Escape, the window comes back when the program
is started a second time.

Usage: notes_without_tray.py <program folder (build/bin)>
Skipped (exit code 77) when Xvfb, openbox, xdotool or D-Bus is not available.
"""
import os
import pwd
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, Unavailable, skip, wait_until  # noqa: E402

STORE = (
    "[General]\r\nDefaultLang=Port\r\nNumStickies=3\r\nAutoSave=0\r\n"
    "[Network]\r\nEnabled=0\r\n"
    "[Stick0]\r\ncaption=Reuni\xe3o\r\nvisible=1\r\nnote=pauta da semana\\ncaf\xe9\r\nposx=20\r\nposy=20\r\n"
    "[Stick1]\r\ncaption=Compras\r\nvisible=1\r\nnote=Comprar P\xc3O\\nleite\r\nposx=220\r\nposy=20\r\n"
    "[Stick2]\r\ncaption=Pagar contas\r\nvisible=1\r\nnote=luz e \xe1gua\r\nposx=420\r\nposy=20\r\n"
)


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def store_path(home):
    login = pwd.getpwuid(os.getuid()).pw_name
    return os.path.join(home, "Documents", "Corkvane", login, "data", "stickies.cvf")


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    program = os.path.join(os.path.abspath(sys.argv[1]), "corkvane")
    if not shutil.which("xdotool"):
        skip("xdotool is not installed (scripts/deps.sh installs it)")
    try:
        session = XSession(window_manager=True)
        session.start()
    except Unavailable as e:
        skip(str(e))
    corkvane = None
    try:
        expect("window id" not in session.root_property("_NET_SYSTEM_TRAY_S0"), "a tray is running")
        path = store_path(session.home)
        os.makedirs(os.path.dirname(path), mode=0o700)
        with open(path, "wb") as f:
            f.write(STORE.encode("cp1252"))

        corkvane = subprocess.Popen([program], env=session.env, stdin=subprocess.DEVNULL)
        notes = session.find_window("Notas")
        wait_until(lambda: session.active_window() == notes, 20, "the notes window to be active")
        for title in ("Reuni\u00e3o", "Compras", "Pagar contas"):
            session.find_window(title)

        session.run("xdotool", "type", "--delay", "40", "pao")
        time.sleep(0.3)
        expect(session.active_window() == notes, "typing the search moved the focus away from the notes window")
        session.run("xdotool", "key", "Return")
        compras = session.find_window("Compras")
        try:
            wait_until(lambda: session.active_window() == compras, 20, "the note to become active")
        except TimeoutError:
            raise Failure("Enter left %r active instead of the note %r"
                          % (session.window_name(session.active_window()), session.window_name(compras)))

        # The keyboard is in the note's text now.
        session.run("xdotool", "type", "--delay", "40", "queijo ")
        time.sleep(0.5)

        # Closed, the window comes back with a second start.
        session.run("xdotool", "windowactivate", "--sync", str(notes), timeout=20)
        wait_until(lambda: session.active_window() == notes, 20, "the notes window to come forward")
        session.run("xdotool", "key", "Escape")
        wait_until(lambda: notes not in session.client_windows(), 20, "Escape to close the notes window")
        second = subprocess.run([program], env=session.env, timeout=30)
        expect(second.returncode == 0, "the second start ended with %d" % second.returncode)
        notes = session.find_window("Notas")
        wait_until(lambda: session.active_window() == notes, 20, "the notes window to be active again")

        corkvane.send_signal(signal.SIGTERM)
        expect(corkvane.wait(20) == 0, "the program did not end cleanly")
        with open(path, "rb") as f:
            saved = f.read().decode("cp1252")
        expect("note=queijo Comprar P\u00c3O" in saved,
               "what was typed after Enter did not land in the note's text:\n" + saved)
        print("the notes window opened at start, \"pao\" + Enter made the note active, the second start reopened it")
        return 0
    except (Failure, TimeoutError) as e:
        print("FAIL: " + str(e))
        return 1
    finally:
        if corkvane and corkvane.poll() is None:
            corkvane.kill()
            corkvane.wait()
        session.stop()


if __name__ == "__main__":
    sys.exit(main())

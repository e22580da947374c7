#!/usr/bin/python3
"""Takes the pictures of the tray menu in docs/: the built program on Xvfb under openbox with
Debian's trayer as the notification area at the bottom right, a few notes on the desk, the
menu opened by a right click on the icon and its "Mostrar" row pointed at, in Portuguese and
in English. Not a test.

Usage: tests/app/shot_tray_menu.py [build folder] [docs folder]
Needs Xvfb, openbox, trayer, xdotool and x11-utils (scripts/deps.sh).
"""
import os
import pwd
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, wait_until  # noqa: E402

WIDTH, HEIGHT = 1024, 700
PANEL = 24

NOTES = {
    "Port": [
        ("Compras", "Comprar p\u00e3o e leite\\nLigar para a Ana \u00e0s 15h", 0x80FFFF, (30, 30)),
        ("Reuni\u00e3o", "Pauta: or\u00e7amento de mar\u00e7o\\nTrazer os n\u00fameros", 0xFFD0A0, (260, 60)),
        ("Recado", "O Jo\u00e3o ligou: retornar at\u00e9 as 17h", 0xA0FFA0, (90, 250)),
    ],
    "Eng": [
        ("Shopping", "Buy bread and milk\\nCall Ana at 3 pm", 0x80FFFF, (30, 30)),
        ("Meeting", "Agenda: March budget\\nBring the figures", 0xFFD0A0, (260, 60)),
        ("Message", "Jo\u00e3o called: call back by 5 pm", 0xA0FFA0, (90, 250)),
    ],
}


def write_store(home, language):
    login = pwd.getpwuid(os.getuid()).pw_name
    path = os.path.join(home, "Documents", "Corkvane", login, "data", "stickies.cvf")
    os.makedirs(os.path.dirname(path), mode=0o700)
    notes = NOTES[language]
    lines = ["[General]", "DefaultLang=" + language, "NumStickies=%d" % len(notes), "AutoSave=0",
             "[Network]", "Enabled=0"]
    for i, (title, text, colour, (x, y)) in enumerate(notes):
        lines += ["[Stick%d]" % i, "caption=" + title, "note=" + text, "Color=%d" % colour,
                  "visible=1", "posx=%d" % x, "posy=%d" % y, "Width=220", "Height=130"]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def icon_window(session):
    """The program's icon as embedded in trayer's panel: its absolute place and size."""
    tree = session.run("xwininfo", "-root", "-tree").stdout
    for line in tree.splitlines():
        if '"corkvane"' not in line.lower() and "corkvane" not in line.lower():
            continue
        match = re.search(r"(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)", line)
        if not match:
            continue
        w, h, x, y = (int(v) for v in match.groups())
        # The icon is the small window inside the panel at the bottom edge.
        if 1 < w <= 64 and 1 < h <= 64 and y >= HEIGHT - 2 * PANEL:
            return x, y, w, h
    return None


def shoot(build, docs, language, lang, name):
    with XSession(window_manager=True, screen="%dx%dx24" % (WIDTH, HEIGHT)) as session:
        write_store(session.home, language)
        env = dict(session.env, LANG=lang, QT_QPA_PLATFORM="xcb")
        panel = subprocess.Popen(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                                  "--height", str(PANEL), "--SetDockType", "true", "--transparent", "false"],
                                 env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        program = subprocess.Popen([os.path.join(build, "bin", "corkvane")], env=env)
        try:
            x, y, w, h = wait_until(lambda: icon_window(session), 30, "the icon in the tray")
            time.sleep(1.5)  # the notes painted, the icon placed again as the program does
            session.run("xdotool", "mousemove", str(x + w // 2), str(y + h // 2))
            session.run("xdotool", "click", "3")
            time.sleep(1.0)
            # "Mostrar" is the second row: reach it with the keyboard, then open its list.
            session.run("xdotool", "key", "Down", "Down", "Right")
            time.sleep(1.0)
            session.shoot(build, (0, 0, WIDTH, HEIGHT), os.path.join(docs, name))
        finally:
            program.terminate()
            program.wait(20)
            panel.terminate()
            panel.wait(10)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "build"))
    docs = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "docs"))
    shoot(build, docs, "Port", "pt_BR.UTF-8", "screenshot-tray-menu.png")
    shoot(build, docs, "Eng", "en_US.UTF-8", "screenshot-tray-menu-en.png")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Takes the pictures of the notes window in docs/: the built program on Xvfb under openbox
with no notification area (so the window opens by itself at start), on a store of a dozen
notes, in Portuguese with the search "pao" typed, and in English with the whole list.
Not a test.

Usage: tests/app/shot_notes_window.py [build folder] [docs folder]
Needs Xvfb, openbox, xdotool and x11-utils (scripts/deps.sh).
"""
import os
import pwd
import subprocess
import sys
import datetime
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession, wait_until  # noqa: E402

NOTES = {
    "Port": [
        ("Compras", "Comprar p\u00e3o, leite e caf\u00e9", 0x80FFFF, True, "", ""),
        ("Reuni\u00e3o de equipe", "Pauta: or\u00e7amento de mar\u00e7o\\nTrazer os n\u00fameros", 0xFFD0A0, True,
         (12, 9, 30), ""),
        ("Receita", "P\u00e3o caseiro: 500 g de farinha, fermento, \u00e1gua morna", 0xA0FFA0, True, "", ""),
        ("Anivers\u00e1rio da Ana", "Comprar presente", 0xD0A0FF, False, (40, 8, 0), ""),
        ("Recado", "Ligar para o Jo\u00e3o sobre o or\u00e7amento", 0x0000FF, True, "", "De bia (192.168.0.7)"),
        ("Caf\u00e9 da manh\u00e3", "P\u00e3o de queijo e suco", 0xC0E0FF, True, "", ""),
        ("Senhas do Wi-Fi", "Sala: guarde na gaveta", 0x80FFFF, False, "", ""),
        ("Contas do m\u00eas", "Luz, \u00e1gua e internet at\u00e9 o dia 10", 0x80FFFF, True, (5, 10, 0), ""),
    ],
    "Eng": [
        ("Shopping", "Bread, milk and coffee", 0x80FFFF, True, "", ""),
        ("Team meeting", "Agenda: March budget\\nBring the figures", 0xFFD0A0, True, (12, 9, 30), ""),
        ("Recipe", "Home-made bread: 500 g of flour, yeast, warm water", 0xA0FFA0, True, "", ""),
        ("Ana's birthday", "Buy a present", 0xD0A0FF, False, (40, 8, 0), ""),
        ("Message", "Call Jo\u00e3o about the budget", 0x0000FF, True, "", "From bia (192.168.0.7)"),
        ("Breakfast", "Cheese bread and juice", 0xC0E0FF, True, "", ""),
        ("Wi-Fi passwords", "Living room: kept in the drawer", 0x80FFFF, False, "", ""),
        ("Monthly bills", "Power, water and internet by the 10th", 0x80FFFF, True, (5, 10, 0), ""),
    ],
}


def write_store(home, language):
    login = pwd.getpwuid(os.getuid()).pw_name
    path = os.path.join(home, "Documents", "Corkvane", login, "data", "stickies.cvf")
    os.makedirs(os.path.dirname(path), mode=0o700)
    notes = NOTES[language]
    lines = ["[General]", "DefaultLang=" + language, "NumStickies=%d" % len(notes), "AutoSave=0",
             "[Network]", "Enabled=0"]
    for i, (title, text, colour, shown, alarm, footer) in enumerate(notes):
        lines += ["[Stick%d]" % i, "caption=" + title, "note=" + text, "Color=%d" % colour,
                  "visible=%d" % shown, "posx=%d" % (20 + 180 * (i % 5)), "posy=%d" % (520 + 10 * (i // 5))]
        if alarm:
            # Days ahead and a time of day: alarms still to come, so none rings in the picture.
            days, hour, minute = alarm
            when = datetime.datetime.now().replace(hour=hour, minute=minute, second=0) + datetime.timedelta(days=days)
            if language == "Eng":
                stamp = "%d/%d/%d %d:%02d:00 %s" % (when.month, when.day, when.year, (when.hour + 11) % 12 + 1,
                                                    when.minute, "AM" if when.hour < 12 else "PM")
            else:
                stamp = when.strftime("%d/%m/%Y %H:%M:00")
            lines += ["alarm=1", "AlarmDateTime=" + stamp]
        if footer:
            lines += ["Rodape=" + footer]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def shoot(build, docs, language, lang, search, name):
    with XSession(window_manager=True, screen="1024x700x24") as session:
        write_store(session.home, language)
        env = dict(session.env, LANG=lang)
        program = subprocess.Popen([os.path.join(build, "bin", "corkvane")], env=env)
        try:
            window = session.find_window("Notes" if language == "Eng" else "Notas")
            wait_until(lambda: session.active_window() == window, 20, "the notes window")
            if search:
                session.run("xdotool", "type", "--delay", "60", search)
            time.sleep(1.0)
            session.shoot(build, session.frame_of(window), os.path.join(docs, name))
        finally:
            program.terminate()
            program.wait(20)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "build"))
    docs = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "docs"))
    shoot(build, docs, "Port", "pt_BR.UTF-8", "pao", "screenshot-notes-window.png")
    shoot(build, docs, "Eng", "en_US.UTF-8", "", "screenshot-notes-window-en.png")


if __name__ == "__main__":
    main()

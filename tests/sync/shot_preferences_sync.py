#!/usr/bin/python3
"""Takes the picture of the preferences' "Geral" page in docs/, its "Sincronização" group
showing what the merge at start did: the built program on Xvfb under openbox, on a store with
one note of its own and a sync folder holding two notes of another computer and a conflict file
its file-sync engine left. Not a test.

Usage: tests/sync/shot_preferences_sync.py [build folder] [docs folder]
Needs Xvfb, openbox, xdotool and x11-utils (scripts/deps.sh).
"""
import os
import pwd
import subprocess
import sys
import time
import uuid

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import XSession  # noqa: E402


def note_file(caption, text, note_id):
    lines = ["[Note]", "caption=" + caption, "note=" + text, "Color=8454143", "Width=180", "Height=147",
             "SyncId=" + note_id, "Modified=2026-12-08T09:00:00Z", "Device=laptop"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def prepare(home):
    login = pwd.getpwuid(os.getuid()).pw_name
    data = os.path.join(home, "Documents", "Corkvane", login, "data")
    os.makedirs(data, mode=0o700)
    folder = os.path.join(home, "Sync", "corkvane")
    os.makedirs(os.path.join(folder, "notes"))
    lines = ["[General]", "DefaultLang=Port", "NumStickies=1", "User=Ana Souza", "AutoSave=1", "TimeAutoSave=10",
             "BackupOnExit=1", "BackupPath=" + os.path.join(home, "Backups") + "/", "[Network]", "Enabled=0",
             "[Stick0]", "caption=Compras", "note=P\u00e3o e caf\u00e9", "visible=0",
             "[Sync]", "Folder=" + folder]
    with open(os.path.join(data, "stickies.cvf"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    meeting, call = str(uuid.uuid4()), str(uuid.uuid4())
    for name, content in ((meeting + ".cvn", note_file("Reuni\u00e3o", "Pauta de mar\u00e7o", meeting)),
                          (call + ".cvn", note_file("Recado", "Ligar para o Jo\u00e3o", call)),
                          (call + ".sync-conflict-20261208-090000-ABCDEFG.cvn",
                           note_file("Recado", "Ligar para o Jo\u00e3o amanh\u00e3", call))):
        with open(os.path.join(folder, "notes", name), "wb") as f:
            f.write(content)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "build"))
    docs = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "docs"))
    with XSession(window_manager=True, screen="1024x768x24") as session:
        prepare(session.home)
        env = dict(session.env, LANG="pt_BR.UTF-8")
        program = subprocess.Popen([os.path.join(build, "bin", "corkvane")], env=env)
        try:
            time.sleep(4.0)  # the start and its first merge
            subprocess.run([os.path.join(build, "bin", "corkvane-msg"), "preferences"], env=env, check=True)
            window = session.find_window("Configura")
            time.sleep(1.0)
            session.shoot(build, session.frame_of(window), os.path.join(docs, "screenshot-preferences-geral.png"))
        finally:
            program.terminate()
            program.wait(20)


if __name__ == "__main__":
    main()

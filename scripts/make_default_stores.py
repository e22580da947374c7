#!/usr/bin/env python3
"""Writes the two first stores shipped beside the program (Windows-1252, CR LF)."""
import sys

GENERAL = """[General]
NumStickies=1
UseSounds=0
AskDelete=1
NoteDaily=0
BackupOnExit=0
DefaultColor=8454143
DefaultFontName=Arial
DefaultFontSize=10
DefaultFontColor=0
ScrollBar=0
DarkCaption=0
TrackPosition=12
ShowDate=1
ShowTime=1
DefaultFontBold=0
DefaultFontItalic=0
AutoSave=1
TimeAutoSave=10
[Network]
Enabled=0
PortTCP=7801
SMTPPort=25
Blocktype=0
Authtype=0
Listcount=0
"""

NOTE = """[Stick0]
caption={caption}
visible=1
topmost=0
note={text}
scrollbar=0
DarkCaption=0
TrackPosition=12
posx=120
posy=90
Width=240
Height=170
FontName=Arial
FontSize=10
FontColor=0
FontBold=0
FontItalic=0
Color=8454143
"""

TEXTS = {
    "default_ptb.cvf": (
        "Bem-vindo ao Corkvane!",
        "Esta é a sua primeira nota.\\n\\nDê um duplo clique no ícone da bandeja para criar "
        "novas notas; o botão direito nele abre o menu. Clique com o botão direito no título "
        "de uma nota para configurá-la, pôr um alarme, imprimir ou enviá-la (para enviar, "
        "ligue a rede em Preferências > Rede).",
    ),
    "default_enu.cvf": (
        "Welcome to Corkvane!",
        "This is your first note.\\n\\nDouble-click the tray icon to create new notes; its "
        "right button opens the menu. Right-click a note's title bar to configure it, set an "
        "alarm, print or send it (to send, turn the network on in Preferences > Network).",
    ),
}


def main(folder):
    for name, (caption, text) in TEXTS.items():
        body = GENERAL + NOTE.format(caption=caption, text=text)
        with open(f"{folder}/{name}", "wb") as f:
            f.write(body.replace("\n", "\r\n").encode("cp1252"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")

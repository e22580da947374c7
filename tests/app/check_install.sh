#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and checks what a desktop reads there: the menu
# entry and the AppStream file pass their validators, every icon size is there at its size, the
# commands on the PATH lead into the program folder, and the program starts through them.
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
cmake --install "$build" --prefix "$dest/usr" >/dev/null
share=$dest/usr/share
id=org.corkvane.Corkvane

desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
grep -q '<release version="[0-9]' "$share/metainfo/$id.metainfo.xml"

test -s "$share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48 64 128 256; do
  /usr/bin/python3 - "$share/icons/hicolor/${size}x${size}/apps/$id.png" "$size" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read(24)
assert data[:8] == b'\x89PNG\r\n\x1a\n', sys.argv[1] + ': not a PNG'
w, h = struct.unpack('>II', data[16:24])
assert (w, h) == (int(sys.argv[2]),) * 2, '%s: %dx%d' % (sys.argv[1], w, h)
PY
done

# Every command of the entry and its actions is one of the installed commands.
for exec_line in $(grep '^Exec=' "$share/applications/$id.desktop" | sed 's/^Exec=\([^ ]*\).*/\1/' | sort -u); do
  test -x "$dest/usr/bin/$exec_line" || { echo "Exec=$exec_line is not installed in bin/" >&2; exit 1; }
done
for command in corkvane corkvane-msg; do
  test "$(readlink -f "$dest/usr/bin/$command")" = "$(readlink -f "$dest/usr/lib/corkvane/$command")"
done
test -f "$dest/usr/lib/corkvane/corkvane.html" && test -f "$dest/usr/lib/corkvane/corkvane_enu.html"
# The modules loaded on first use sit beside the program.
for module in sound tls print; do
  test -f "$dest/usr/lib/corkvane/libcorkvane-$module.so" || { echo "libcorkvane-$module.so is not installed" >&2; exit 1; }
done
! ls "$dest/usr/lib/corkvane" | grep -q '^tst_'

# Started through the link, the program finds its shipped files: it makes the first store.
home=$dest/home
mkdir -p "$home/run" && chmod 700 "$home/run"
HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/.config LANG=C LC_ALL= QT_QPA_PLATFORM=offscreen \
  timeout -s TERM 4 "$dest/usr/bin/corkvane" || test $? -eq 124
test -s "$(ls "$home"/Documents/Corkvane/*/data/stickies.cvf)"
echo "installed desktop files are valid"

#!/usr/bin/env bash
# Tries the Debian package the way a user gets it, in a minimal Debian 12 made by debootstrap:
#   1. builds the package (cpack -G DEB in the build tree);
#   2. installs it with `apt-get install ./corkvane_*.deb`, which pulls every dependency the
#      package declares from the Debian archive apt already uses on this machine (taken from its
#      sources by scripts/apt-mirror.sh; without one the script stops before doing anything);
#   3. as an ordinary user of the chroot, starts `corkvane` from the PATH headless for a few
#      seconds and checks that it made the user's store;
#   4. `apt-get remove corkvane`, and checks that the user's notes are still there.
# Needs root (debootstrap, chroot) and the network; downloads about 150 MB, allow 10 minutes.
# Not part of the test suite. Usage: sudo scripts/test-deb.sh [build-dir] (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
[ "$(id -u)" -eq 0 ] || { echo "test-deb.sh: run as root (debootstrap and chroot need it)" >&2; exit 1; }
# The archive apt uses here, and only that: before anything is installed or built.
mirror=$(scripts/apt-mirror.sh bookworm) || { echo "test-deb.sh: no archive to bootstrap from; nothing done" >&2; exit 1; }
if ! command -v debootstrap >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
fi

(cd "$build" && rm -f corkvane_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/corkvane_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Depends

root=$(mktemp -d /var/tmp/corkvane-deb.XXXXXX)
chmod 755 "$root"  # the chroot's "/", which its ordinary user must be able to walk
cleanup() {
  for m in proc dev/pts dev; do umount -l "$root/$m" 2>/dev/null || true; done
  rm -rf "$root"
}
trap cleanup EXIT

echo "debootstrap bookworm from $mirror ..."
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 || { tail -20 "$root.log"; exit 1; }
rm -f "$root.log"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
in_root sh -c 'command -v corkvane && command -v corkvane-msg'

in_root useradd -m ana
in_root mkdir -p /run/user/ana && in_root chown ana /run/user/ana && in_root chmod 700 /run/user/ana
run_as_ana() {
  chroot --userspec=ana "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/ana USER=ana LANG=pt_BR.UTF-8 \
    XDG_RUNTIME_DIR=/run/user/ana QT_QPA_PLATFORM=offscreen "$@"
}
set +e
run_as_ana timeout -s TERM 5 corkvane
status=$?
set -e
[ "$status" -eq 124 ] || { echo "corkvane ended by itself with status $status" >&2; exit 1; }
store=$root/home/ana/Documents/Corkvane/ana/data/stickies.cvf
[ -s "$store" ] || { echo "corkvane made no store in the user's data folder" >&2; exit 1; }
echo "corkvane started from the PATH and saved $(grep -c '^\[Stick' "$store") note(s) on SIGTERM"
before=$(sha256sum <"$store")

in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq corkvane >/dev/null
in_root sh -c '! command -v corkvane'
[ "$(sha256sum <"$store")" = "$before" ] || { echo "removing the package changed the user's notes" >&2; exit 1; }
echo "apt-get remove left the user's notes alone"
echo "test-deb.sh: all good"

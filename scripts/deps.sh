#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Corkvane need,
# asking apt only for those that are missing.
set -euo pipefail
packages=(
  build-essential cmake
  qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools libgl-dev
  poppler-utils python3 python3-aiosmtpd
  libssl-dev
  desktop-file-utils
  appstream
  clang libclang-rt-14-dev
  qt6-translations-l10n
  libavahi-client-dev
  pkg-config
  avahi-daemon
  dbus
  iproute2
  util-linux
  xvfb openbox xdotool x11-utils
  at-spi2-core python3-pyatspi
  libxcb1-dev libxcb-xfixes0-dev
  trayer haskell-gtk-sni-tray-utils
  weston xwayland
  syncthing
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

#!/usr/bin/env bash
# Checks the Debian package as a user meets it: validates the desktop entry and the AppStream
# metadata, installs the package with apt, starts the installed program on an Xvfb display of its
# own as a user who cannot write its folder, waits for its window and for the user's data folder
# that its lists then live in, and removes the package again. Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/package/zelvano_*.deb)
desktop-file-validate data/org.zelvano.Zelvano.desktop
appstreamcli validate --no-net data/org.zelvano.Zelvano.metainfo.xml
echo "$deb: $(dpkg-deb -f "$deb" Depends)"

user=zelvano-check
id "$user" >/dev/null 2>&1 || useradd --create-home "$user"
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.local/share/zelvano"

display=90
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
Xvfb ":${display}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zelvano >/dev/null 2>&1 || true
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
runuser -u "$user" -- env -i DISPLAY=":${display}" HOME="$home" PATH=/usr/bin:/bin zelvano >/dev/null 2>&1 &
program=$!
DISPLAY=":${display}" timeout 30 xdotool search --sync --onlyvisible --name '^Zelvano - Version' >/dev/null
test -d "$home/.local/share/zelvano"
echo "The installed program started as $user; its lists live in $home/.local/share/zelvano."

#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run Zelvano, when any is missing.
# Runs apt-get as root, through sudo otherwise. Further package names may be given as arguments.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fuse3 libfuse3-dev
  dpkg-dev
  # The tests that press keys and click on the real program: a display of their own, a window
  # manager to give the keys as a desktop does, and the presses and clicks.
  xvfb openbox xdotool
  # Printing: the print system's own library, and for the tests a print system of their own (a
  # cups-pdf queue, whose PDFs they read) and the script that reads them.
  libcups2-dev cups printer-driver-cups-pdf poppler-utils python3
)
packages+=("$@")
if [ "${ZELVANO_WITH_WINDOWS:-0}" = 1 ]; then
  # The Windows program and its tests, and Wine and a display to run them on.
  packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine64 wine)
  # The i686 program runs under Wine's 32-bit half, as a 32-bit program runs on 64-bit Windows;
  # Linux runs it only where the kernel runs 32-bit programs at all.
  if "$(dirname "$0")/runs-i386.sh"; then
    packages+=(wine32:i386)
  else
    echo "This machine does not run 32-bit programs: the i686 program is built, its tests are skipped."
  fi
fi
if [ "${ZELVANO_WITH_TOOLS:-0}" = 1 ]; then
  # Screenshots and the benchmark peers; only the scripts that need them ask for them.
  packages+=(imagemagick hyperfine bfs fd-find sshfs openssh-server python3-xlib)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"

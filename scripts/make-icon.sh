#!/usr/bin/env bash
# Draws the Windows icon (src/platform/win32/resources/zelvano.ico) from data/org.zelvano.Zelvano.svg in the
# sizes Windows asks for. Run it after changing the picture; the build uses the icon as committed.
set -euo pipefail
cd "$(dirname "$0")/.."
ZELVANO_WITH_TOOLS=1 scripts/install-deps.sh librsvg2-bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 16 24 32 48 64 256; do
  rsvg-convert -w "$size" -h "$size" data/org.zelvano.Zelvano.svg -o "$work/$size.png"
done
convert "$work"/16.png "$work"/24.png "$work"/32.png "$work"/48.png "$work"/64.png "$work"/256.png \
  src/platform/win32/resources/zelvano.ico

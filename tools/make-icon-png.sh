#!/usr/bin/env bash
# Renders the program icon resources/stelvorn.svg into the 48 px PNG that the window, the menus
# and the installed icon theme use (resources/stelvorn-48.png, committed). Run it after changing
# the SVG; it needs rsvg-convert (Debian package librsvg2-bin), which it installs when missing.
#   bash tools/make-icon-png.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh librsvg2-bin
rsvg-convert --width 48 --height 48 --format png --output resources/stelvorn-48.png resources/stelvorn.svg
echo "resources/stelvorn-48.png written"

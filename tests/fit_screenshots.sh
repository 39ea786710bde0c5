#!/usr/bin/env bash
# A new user's minute under Xvfb: from the window to a fitted arrangement and to a PDF of it. Opens the
# fit with Ctrl+R (10 Ом), applies the first row with Enter, saves the document with Ctrl+E and turns
# its page into a PNG; then measures 18 Ом with Ctrl+M and applies it. Usage:
# tests/fit_screenshots.sh [build-dir] [output-dir]; SCREEN=1920x1080x24 gives another screen than
# 1024x768x24, and QT_SCALE_FACTOR=2 passes through to the program.
# Needs xvfb, xdotool, imagemagick and poppler-utils; installs what is missing of them.
set -euo pipefail
bash "$(dirname "$0")/../scripts/install-deps.sh" xdotool imagemagick
build="${1:-build/release}"
out="${2:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
# A folder of its own, so that the settings file written at close is a first start's.
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cp "$(cd "$build" && pwd)/ui/stelvorn" "$folder/"

xvfb-run -a -s "-screen 0 ${SCREEN:-1024x768x24}" bash -c '
    set -e
    "$0" & pid=$!
    for _ in $(seq 50); do
        win=$(xdotool search --name "v[.]1[.]7" 2>/dev/null | head -n1) && [ -n "$win" ] && break
        sleep 0.1
    done
    sleep 0.5
    import -window root "$1/fit-window.png"
    xdotool windowfocus "$win"
    xdotool key ctrl+r
    sleep 1
    import -window root "$1/fit-dialog.png"
    xdotool key Return
    sleep 0.5
    import -window root "$1/fit-applied.png"
    xdotool windowfocus "$win"
    xdotool key ctrl+e
    sleep 1
    import -window root "$1/fit-save-dialog.png"
    xdotool key ctrl+a
    xdotool type --delay 10 "$1/fit-document.pdf"
    xdotool key Return
    sleep 1
    # The measurement of what the fit built: 18 Ом typed, Enter applies the corrected soil and the
    # first row.
    xdotool windowfocus "$win"
    xdotool key ctrl+m
    sleep 1
    xdotool type --delay 20 "18"
    sleep 0.5
    import -window root "$1/measurement-dialog.png"
    xdotool key Return
    sleep 0.5
    import -window root "$1/measurement-applied.png"
    kill "$pid"
' "$folder/stelvorn" "$out"
pdftoppm -r 90 -png -singlefile "$out/fit-document.pdf" "$out/fit-document"
echo "screenshots in $out"

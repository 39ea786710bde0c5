#!/usr/bin/env bash
# Takes screenshots of the window under Xvfb, at its designed size and at a larger one, as a person
# would see it. Usage: tests/screenshots.sh [build-dir] [output-dir]
# Needs xvfb, xdotool and imagemagick; installs what is missing of them.
set -euo pipefail
bash "$(dirname "$0")/../scripts/install-deps.sh" xdotool imagemagick
build="${1:-build/release}"
out="${2:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
program="$(cd "$build" && pwd)/ui/stelvorn"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    "$0" & pid=$!
    for _ in $(seq 50); do
        win=$(xdotool search --name "v[.]1[.]7" 2>/dev/null | head -n1) && [ -n "$win" ] && break
        sleep 0.1
    done
    sleep 0.5
    import -window root "$1/window-designed.png"
    xdotool windowmove "$win" 0 0
    xdotool windowsize "$win" 820 560
    sleep 0.5
    import -window root "$1/window-large.png"
    # The help tab (the third tab header, 100 px wide) on the index page, then on МЕТОДИКА, the
    # fifth link of the index page, at the top and scrolled down with the mouse wheel.
    xdotool windowsize "$win" 584 452
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove $((X + 250)) $((Y + 12)) click 1
    sleep 0.5
    xdotool mousemove $((X + 300)) $((Y + 400))
    sleep 0.3
    import -window root "$1/help-index.png"
    xdotool mousemove $((X + 110)) $((Y + 250)) click 1
    sleep 0.5
    import -window root "$1/help-metodika.png"
    xdotool click --repeat 8 5
    sleep 0.5
    import -window root "$1/help-metodika-scrolled.png"
    kill "$pid"
' "$program" "$out"
echo "screenshots in $out"

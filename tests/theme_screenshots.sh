#!/usr/bin/env bash
# Screenshots of the window in every theme on offer (the standard look included), on each of its
# three tabs, plus one hint, under Xvfb without a window manager, as a person would see them.
# Usage: tests/theme_screenshots.sh [build-dir] [output-dir]
# Needs xvfb, xdotool and imagemagick; installs what is missing of them.
set -euo pipefail
bash "$(dirname "$0")/../scripts/install-deps.sh" xdotool imagemagick
build="${1:-build/release}"
out="${2:-build/theme-screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$build/ui/stelvorn" "$work/"
cp -r "$build/ui/Skins" "$work/"
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LANG=ru_RU.UTF-8

# xvfb-run -a can lose the race for a display number to another X server starting at the same
# moment: each theme gets up to three tries.
shoot() { # <file name part> <SkinName> <Skins> <title bar height> <border>
    for _ in 1 2 3; do
        shoot_once "$@" && [ -f "$out/$1-hint.png" ] && return 0
        sleep 1
    done
    echo "no screenshots of $1"
    return 1
}

shoot_once() {
    printf '[INTERFACE]\r\nSkinName=%s\r\nSkins=%s\r\n' "$2" "$3" > "$work/стелворн.ini"
    xvfb-run -a -s "-screen 0 800x600x24" bash -c '
        set -e
        "$0" & pid=$!
        win=
        for _ in $(seq 50); do
            win=$(xdotool search --onlyvisible --name "v[.]1[.]7" 2>/dev/null | head -n1) && [ -n "$win" ] && break
            sleep 0.1
        done
        [ -n "$win" ] || { kill $pid; exit 1; }
        sleep 0.3
        xdotool windowmove "$win" 20 20
        sleep 0.5
        eval "$(xdotool getwindowgeometry --shell "$win")"
        # The tabs are 100 pixels wide, in a row at the top of the client area.
        top=$((Y + $2 + 10))
        import -window root -crop 640x540+0+0 "$1-calc.png"
        xdotool mousemove $((X + $3 + 150)) $top click 1; sleep 0.4
        import -window root -crop 640x540+0+0 "$1-settings.png"
        xdotool mousemove $((X + $3 + 250)) $top click 1; sleep 0.4
        import -window root -crop 640x540+0+0 "$1-help.png"
        xdotool mousemove $((X + $3 + 50)) $top click 1; sleep 0.3
        # Rest on the first climate radio button (region I) for its hint.
        xdotool mousemove $((X + $3 + 20)) $((top + 45)); sleep 0.2
        xdotool mousemove $((X + $3 + 21)) $((top + 46)); sleep 1.5
        import -window root -crop 640x540+0+0 "$1-hint.png"
        kill $pid
    ' "$work/stelvorn" "$out/$1" "$4" "$5"
}

# Themed windows draw their own title bar (30 px) and border (8 px); the standard look has no frame
# here, as there is no window manager.
shoot standard "Windows 10 (внутренний)" 0 0 0
shoot builtin "Windows 10 (внутренний)" 1 30 8
for theme in "$build"/ui/Skins/*.skin; do
    name="$(basename "$theme" .skin)"
    shoot "$(echo "$name" | tr ' ' '_')" "$name" 1 30 8
done
echo "screenshots in $out"

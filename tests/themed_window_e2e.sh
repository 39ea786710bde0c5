#!/usr/bin/env bash
# End to end: the themed window under a window manager, as a user drives it with the mouse. Right
# after a start in a theme, the theme selector's list opens at its box, not in a corner of the
# screen; and a drag of the themed title bar, quick or slow, moves the window by exactly the way the
# pointer went.
# Usage: themed_window_e2e.sh <stelvorn executable> <shipped themes folder>
set -euo pipefail
source "$(dirname "$0")/desktop_session.sh"
e2e_enter_session "$@"
program="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/stelvorn"
mkdir "$work/Skins"
cp "$2"/*.skin "$work/Skins/"
printf '[INTERFACE]\r\nSkinName=Графит\r\nSkins=1\r\n' > "$work/стелворн.ini"
export LANG=ru_RU.UTF-8
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

e2e_start "$work/stelvorn"
main=$(e2e_wait_window 'Стелворн v*') || e2e_fail "the window did not appear"
sleep 0.8
where() { # sets X, Y, WIDTH, HEIGHT of a window
    eval "$(xdotool getwindowgeometry --shell "$1")"
}
where "$main"
x0=$X y0=$Y width=$WIDTH height=$HEIGHT

# The settings tab (the second tab, 100 pixels wide, under the 30-pixel title bar and the 8-pixel
# border), then the theme selector at (12, 28) of the page, 239 by 22.
xdotool mousemove $((x0 + 8 + 150)) $((y0 + 30 + 10)) click 1
sleep 0.5
xdotool mousemove $((x0 + 8 + 12 + 100)) $((y0 + 30 + 22 + 28 + 11)) click 1
# The list, once it is shown (a loaded machine may take a while).
popup=
for _ in $(seq 50); do
    sleep 0.1
    for id in $(xdotool search --onlyvisible --class stelvorn); do
        [[ "$((id))" == "$((main))" ]] && continue
        where "$id"
        if ((WIDTH >= 200 && WIDTH < width)); then popup=$id; break; fi
    done
    [[ -n "$popup" ]] && break
done
[[ -n "$popup" ]] || e2e_fail "the theme list did not open"
where "$popup"
box_left=$((x0 + 8 + 12))
if ((X < box_left - 4 || X > box_left + 4 || Y < y0 || Y > y0 + height)); then
    e2e_fail "the theme list opened at $X,$Y, not at its box (left edge $box_left, window $x0,$y0 ${width}x$height)"
fi
xdotool key Escape
sleep 0.3

drag() { # <how> <steps>: drags the title bar by 50 right and 30 down
    where "$main"
    local x=$X y=$Y
    xdotool mousemove $((x + 300)) $((y + 12)) mousedown 1
    local k
    for ((k = 1; k <= $2; k++)); do
        xdotool mousemove $((x + 300 + 50 * k / $2)) $((y + 12 + 30 * k / $2))
        [[ "$1" == slow ]] && sleep 0.1
    done
    xdotool mouseup 1
    # The window's last move may reach the server a little later on a loaded machine.
    for _ in $(seq 30); do
        sleep 0.1
        where "$main"
        ((X == x + 50 && Y == y + 30)) && break
    done
    if ((X != x + 50 || Y != y + 30)); then
        e2e_fail "a $1 drag by 50,30 moved the window from $x,$y to $X,$Y"
    fi
}
drag slow 5
drag quick 3
drag quick 1

e2e_close "$main"
e2e_wait_exit
echo "the themed window's list and drag are right"

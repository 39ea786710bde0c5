#!/usr/bin/env bash
# End to end: a copy of the program starts beside a settings file under Xvfb with a window manager,
# is closed the way a user closes it (the window manager's close), and the file it wrote is checked.
# Usage: end_to_end_settings.sh <stelvorn executable>
set -euo pipefail
program="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/stelvorn"

# A file carried over from an earlier run: a few keys, a comment and a section of someone else's.
printf '; kept\r\n[INTERFACE]\r\nNumber=6\r\nTopLayer=Мой грунт (77)\r\nLength=2,5\r\nSkins=0\r\n[Other]\r\nKey=1\r\n' \
    > "$work/стелворн.ini"

export LANG=ru_RU.UTF-8 # a decimal comma
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    openbox >/dev/null 2>&1 & wm=$!
    # The window manager must be running before the window maps, or it may never manage it.
    for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
    "$0" & app=$!
    shown=
    for _ in $(seq 100); do
        if wmctrl -l 2>/dev/null | grep -q "v.1.7"; then shown=1; break; fi
        sleep 0.1
    done
    [ -n "$shown" ] || { echo "the window did not appear"; kill $app; exit 1; }
    sleep 0.3
    wmctrl -c "v.1.7"
    for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
    if kill -0 $app 2>/dev/null; then echo "the program did not end after the close"; kill $app; exit 1; fi
    wait $app
    kill $wm 2>/dev/null || true
' "$work/stelvorn"

expected=$(printf '; kept\r\n[INTERFACE]\r\nNumber=6\r\nTopLayer=Мой грунт (77)\r\nLength=2,5\r\nSkins=0\r\nShowHints=1\r\nClimaticRegion=2\r\nBottomLayer=Суглинок, сильно увлажнённый грунтовыми водами (60)\r\nThickness=1,5\r\nDepth=0,5\r\nForm=1\r\nWidth=50\r\nMutualDisposition=1\r\nIntervalMultiplicity=1\r\nFormHor=1\r\nWidthHor=40\r\nSkinName=Windows 10 (внутренний)\r\n[Other]\r\nKey=1\r\n' | od -c)
actual=$(od -c < "$work/стелворн.ini")
if [ "$expected" != "$actual" ]; then
    echo "the settings file differs from what was expected:"
    cat -A "$work/стелворн.ini"
    exit 1
fi
echo "settings file written back as expected"

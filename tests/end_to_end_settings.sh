#!/usr/bin/env bash
# End to end: a copy of the program starts beside a settings file under Xvfb with a window manager,
# is closed the way a user closes it (the window manager's close), and the file it wrote is checked.
# Two starts: one in the standard look, and one in a theme from the "Skins" folder beside the
# program, whose window draws its own title bar while the window manager lists the caption alone.
# Usage: end_to_end_settings.sh <stelvorn executable>
set -euo pipefail
source "$(dirname "$0")/desktop_session.sh"
e2e_enter_session "$@"
program="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/stelvorn"

export LANG=ru_RU.UTF-8 # a decimal comma
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Starts the program, closes it through the window manager and writes the window list it saw to
# $work/windows.
run() {
    e2e_start "$work/stelvorn"
    local main
    main=$(e2e_wait_window 'Стелворн v*') || e2e_fail "the window did not appear"
    sleep 0.3
    wmctrl -l > "$work/windows"
    e2e_close "$main"
    e2e_wait_exit
}

expect_file() { # <what> <expected bytes, printf format>
    expected=$(printf "$2" | od -c)
    actual=$(od -c < "$work/стелворн.ini")
    if [ "$expected" != "$actual" ]; then
        echo "$1: the settings file differs from what was expected:"
        cat -A "$work/стелворн.ini"
        exit 1
    fi
}

# A file carried over from an earlier run: a few keys, a comment and a section of someone else's.
printf '; kept\r\n[INTERFACE]\r\nNumber=6\r\nTopLayer=Мой грунт (77)\r\nLength=2,5\r\nSkins=0\r\n[Other]\r\nKey=1\r\n' \
    > "$work/стелворн.ini"
run
expect_file "standard look" '; kept\r\n[INTERFACE]\r\nNumber=6\r\nTopLayer=Мой грунт (77)\r\nLength=2,5\r\nSkins=0\r\nShowHints=1\r\nClimaticRegion=2\r\nBottomLayer=Суглинок, сильно увлажнённый грунтовыми водами (60)\r\nThickness=1,5\r\nDepth=0,5\r\nForm=1\r\nWidth=50\r\nMutualDisposition=1\r\nIntervalMultiplicity=1\r\nFormHor=1\r\nWidthHor=40\r\nSkinName=Windows 10 (внутренний)\r\n[Other]\r\nKey=1\r\n'
echo "standard look: settings file written back as expected"

# A theme of the Skins folder beside the program, named in the file with hints off.
mkdir "$work/Skins"
printf '@title-background: #1f1f1f;\nQLabel { color: #e8e8e8; }\n' > "$work/Skins/Тёмная.skin"
printf '[INTERFACE]\r\nShowHints=0\r\nSkinName=Тёмная\r\nSkins=1\r\n' > "$work/стелворн.ini"
run
if ! grep -q "Стелворн v.1.7$" "$work/windows" || grep -q "расчёт" "$work/windows"; then
    echo "themed: the window manager should list the caption alone:"
    cat "$work/windows"
    exit 1
fi
expect_file "themed" '[INTERFACE]\r\nShowHints=0\r\nSkinName=Тёмная\r\nSkins=1\r\nClimaticRegion=2\r\nTopLayer=Суглинок полутвёрдый лёссовидный (100)\r\nBottomLayer=Суглинок, сильно увлажнённый грунтовыми водами (60)\r\nThickness=1,5\r\nDepth=0,5\r\nForm=1\r\nWidth=50\r\nLength=3\r\nMutualDisposition=1\r\nNumber=1\r\nIntervalMultiplicity=1\r\nFormHor=1\r\nWidthHor=40\r\n'
echo "themed: the theme and the caption kept, settings file written back as expected"

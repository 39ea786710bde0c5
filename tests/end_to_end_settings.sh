#!/usr/bin/env bash
# End to end: a copy of the program starts beside a settings file under Xvfb with a window manager,
# is closed the way a user closes it (the window manager's close), and the file it wrote is checked.
# Usage: end_to_end_settings.sh <stelvorn executable>
set -euo pipefail
source "$(dirname "$0")/desktop_session.sh"
e2e_enter_session "$@"
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
e2e_start_and_close "$work/stelvorn"

expected=$(printf '; kept\r\n[INTERFACE]\r\nNumber=6\r\nTopLayer=Мой грунт (77)\r\nLength=2,5\r\nSkins=0\r\nShowHints=1\r\nClimaticRegion=2\r\nBottomLayer=Суглинок, сильно увлажнённый грунтовыми водами (60)\r\nThickness=1,5\r\nDepth=0,5\r\nForm=1\r\nWidth=50\r\nMutualDisposition=1\r\nIntervalMultiplicity=1\r\nFormHor=1\r\nWidthHor=40\r\nSkinName=Windows 10 (внутренний)\r\n[Other]\r\nKey=1\r\n' | od -c)
actual=$(od -c < "$work/стелворн.ini")
if [ "$expected" != "$actual" ]; then
    echo "the settings file differs from what was expected:"
    cat -A "$work/стелворн.ini"
    exit 1
fi
echo "settings file written back as expected"

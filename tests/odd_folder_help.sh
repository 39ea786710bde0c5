#!/usr/bin/env bash
# End to end: a copy of the program's start in a folder whose name holds a space, "#", "%" and
# Cyrillic letters loads the help's index page before its window shows.
# Usage: odd_folder_help.sh <stelvorn_startup_probe executable>
set -euo pipefail
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
folder="$work/Стелворн #1 100% папка"
mkdir -p "$folder"
cp "$1" "$folder/"
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
output="$(QT_QPA_PLATFORM=offscreen "$folder/$(basename "$1")")"
echo "$output"
[[ "$output" == "help qrc:/INDEX 4" ]]

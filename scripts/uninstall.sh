#!/usr/bin/env bash
# Удаляет Стелворн, установленный scripts/install.sh.
# Removes exactly what scripts/install.sh put under ~/.local (or $PREFIX): the files it recorded in
# share/stelvorn/installed.txt and the folders it created, when they are empty; the desktop's
# databases of file types are refreshed without the program's type. The settings file
# стелворн.ini in the program folder stays (and with it the folder), unless --purge is given;
# --purge also removes the settings file that an earlier uninstall left behind. The list of recent
# calculations beside it, стелворн-недавние.txt, goes and stays with the settings file.
# install.sh copies this script to share/stelvorn/uninstall.sh, so it works without the sources.
#   bash scripts/uninstall.sh [--prefix DIR] [--purge]
set -euo pipefail
# The copy beside the record of an install knows its own prefix.
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=scripts/desktop-databases.sh
source "$here/desktop-databases.sh"
if [[ -f "$here/installed.txt" && "$here" == */share/stelvorn ]]; then
    prefix="${here%/share/stelvorn}"
else
    prefix="${PREFIX:-$HOME/.local}"
fi
purge=""
while [[ $# -gt 0 ]]; do
    case "$1" in
    --prefix) prefix="$2"; shift 2 ;;
    --purge) purge=1; shift ;;
    *) echo "Неизвестный параметр: $1" >&2; exit 2 ;;
    esac
done
prefix="${prefix%/}"
record="$prefix/share/stelvorn/installed.txt"
settings="$prefix/lib/stelvorn/стелворн.ini"
recent="$prefix/lib/stelvorn/стелворн-недавние.txt"
if [[ ! -f "$record" ]]; then
    # What an earlier plain uninstall left: the settings file and the folders that hold it, which
    # --purge removes as well, up to the prefix and never the home folder itself.
    if [[ -n "$purge" && -e "$settings" ]]; then
        rm -f -- "$settings" "$recent"
        folder="$prefix/lib/stelvorn"
        while [[ "$folder" == "$prefix"* && "$folder" != "${HOME%/}" ]] && rmdir -- "$folder" 2>/dev/null; do
            folder="${folder%/*}"
        done
        echo "Файл настроек удалён: $settings"
        exit 0
    fi
    echo "Стелворн не установлен в $prefix (нет $record)." >&2
    [[ -e "$settings" ]] && echo "Файл настроек остался: $settings; его удаляет параметр --purge." >&2
    exit 1
fi

mapfile -t lines < "$record"
folders=()
databases=()
generated=()
for line in "${lines[@]}"; do
    kind="${line%% *}" path="${line#* }"
    case "$kind" in
    file) [[ -f "$path" || -L "$path" ]] && rm -f -- "$path" ;;
    folder) folders+=("$path") ;;
    database) databases+=("$path") ;;
    generated) generated+=("$path") ;;
    esac
done

# The databases forget the file type. What the install's refresh created in one goes when it names
# no file type any more; while another program's types are in it, it stays, refreshed.
for database in "${databases[@]}"; do
    [[ -d "$database" ]] || continue
    refresh_database "$database"
    database_is_empty "$database" || continue
    for file in "${generated[@]}"; do
        [[ "$file" == "$database"/* ]] && rm -f -- "$file"
    done
done

if [[ -e "$settings" ]]; then
    if [[ -n "$purge" ]]; then
        rm -f -- "$settings" "$recent"
    else
        echo "Файл настроек оставлен: $settings"
    fi
fi
# The recorded folders come deepest first; one that still holds something (settings, a theme of
# the user's, a file of another program) stays.
for folder in "${folders[@]}"; do
    rmdir -- "$folder" 2>/dev/null || true
done
echo "Стелворн удалён из $prefix"

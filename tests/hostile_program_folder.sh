#!/usr/bin/env bash
# End to end: the real program started from program folders that a user may hand it, closed the way
# a user closes it. Each case copies the executable, named "Стелворн" as it is installed, into a
# folder of its own:
# - a path with blanks, "#", "%" and Cyrillic letters: the settings are written there, and only there;
# - a folder its user may not write to, with a settings file of an earlier run: the close reports
#   that the settings could not be saved (a message box captioned "Стелворн"), the window still
#   closes, and the old file and the folder are untouched;
# - "Skins" a file, an empty folder, a folder of unreadable files: the program starts and closes as
#   usual, on the built-in theme; an unreadable file named like the built-in theme is reported by
#   the theme engine at the start, and then the program goes on as usual.
# Usage: hostile_program_folder.sh <stelvorn executable>
set -euo pipefail
source "$(dirname "$0")/desktop_session.sh"
e2e_enter_session "$@"
program="$(realpath "$1")"

E2E_WORK="$(mktemp -d)"
trap 'chmod -R u+rwX "$E2E_WORK"; rm -rf "$E2E_WORK"' EXIT
chmod 755 "$E2E_WORK"
export LANG=ru_RU.UTF-8
export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A program folder holding the program.
new_folder() {
    local folder="$E2E_WORK/$1"
    mkdir -p "$folder"
    cp "$program" "$folder/Стелворн"
    chmod 755 "$folder" "$folder/Стелворн"
    echo "$folder"
}

echo "== a path with blanks, #, % and Cyrillic"
folder=$(new_folder 'Мои программы #1 %s %20 100% ё/Стелворн 2.0')
# Started from another working folder, as a menu starts it.
(cd / && e2e_start_and_close "$folder/Стелворн")
e2e_expect_settings_written "$folder/стелворн.ini"
[[ "$(e2e_tree "$folder")" == "$(printf './Стелворн\n./стелворн.ini')" ]] ||
    e2e_fail "the program folder holds other files: $(e2e_tree "$folder")"
[[ "$(ls "$(dirname "$folder")")" == "Стелворн 2.0" ]] || e2e_fail "files beside the program folder"

echo "== a folder the user may not write to"
folder=$(new_folder 'только для чтения')
printf '[INTERFACE]\r\nNumber=6\r\nTopLayer=Мой грунт (77)\r\n' > "$folder/стелворн.ini"
chmod 444 "$folder/стелворн.ini"
chmod 555 "$folder"
before=$(e2e_tree "$folder")
cp "$folder/стелворн.ini" "$E2E_WORK/old.ini"
[[ $(id -u) -eq 0 ]] || chown "$(id -u)" "$folder"
e2e_start e2e_as_other_user "$folder/Стелворн"
main=$(e2e_wait_window 'Стелворн v*') || e2e_fail "the window did not appear"
sleep 0.3
e2e_expect_no_window 'Стелворн' "the old file must read without a message"
e2e_close "$main"
box=$(e2e_wait_window 'Стелворн') || e2e_fail "no message box captioned Стелворн at the close"
e2e_close "$box"
e2e_wait_exit
cmp -s "$folder/стелворн.ini" "$E2E_WORK/old.ini" || e2e_fail "the old settings file changed"
[[ "$(e2e_tree "$folder")" == "$before" ]] || e2e_fail "files left in the read-only folder: $(e2e_tree "$folder")"

# The three kinds of a "Skins" that holds no themes; the program folder belongs to the user.
check_skins_case() {
    local folder="$1"
    [[ $(id -u) -eq 0 ]] && chown -R nobody:nogroup "$folder"
    e2e_as_other_user true # makes the user's home
    (cd / && e2e_start_and_close e2e_as_other_user "$folder/Стелворн")
    e2e_expect_settings_written "$folder/стелворн.ini"
    grep -q '^SkinName=Windows 10 (внутренний)' "$folder/стелворн.ini" || e2e_fail "not the built-in theme"
}

echo "== Skins is a file"
folder=$(new_folder 'скины-файл')
printf 'not a theme\n' > "$folder/Skins"
check_skins_case "$folder"
[[ "$(cat "$folder/Skins")" == "not a theme" ]] || e2e_fail "the file Skins changed"

echo "== Skins is an empty folder"
folder=$(new_folder 'скины-пусто')
mkdir "$folder/Skins"
check_skins_case "$folder"

echo "== Skins holds unreadable files"
folder=$(new_folder 'скины-нечитаемые')
mkdir "$folder/Skins" "$folder/Skins/Папка.skin"
for name in "Тёмная.skin" "Папка.skin/Вложенная.skin"; do
    printf '@title-background: #1f1f1f;\n' > "$folder/Skins/$name"
done
chmod 000 "$folder/Skins/Тёмная.skin" "$folder/Skins/Папка.skin/Вложенная.skin" "$folder/Skins/Папка.skin"
check_skins_case "$folder"

# An unreadable theme file named like the built-in theme comes first in the look-up: the theme
# engine says why it cannot use it, and then the window opens and closes as usual.
echo "== an unreadable theme named like the built-in one"
folder=$(new_folder 'скины-тёзка')
mkdir "$folder/Skins"
printf '@title-background: #1f1f1f;\n' > "$folder/Skins/Windows 10 (внутренний).skin"
chmod 000 "$folder/Skins/Windows 10 (внутренний).skin"
[[ $(id -u) -eq 0 ]] && chown -R nobody:nogroup "$folder"
(
    cd /
    e2e_start e2e_as_other_user "$folder/Стелворн"
    box=$(e2e_wait_window 'Стелворн') || e2e_fail "no message about the unreadable theme"
    e2e_close "$box"
    main=$(e2e_wait_window 'Стелворн v*') || e2e_fail "the window did not appear after the message"
    sleep 0.3
    e2e_close "$main"
    e2e_wait_exit
)
e2e_expect_settings_written "$folder/стелворн.ini"

echo "all program folder cases passed"

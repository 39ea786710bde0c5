#!/usr/bin/env bash
# End to end: both ways a user gets the program, tried on a clean folder.
# - The per-user install (scripts/install.sh) into a home folder whose path holds blanks, "#", "%"
#   and Cyrillic letters: the layout, the desktop entry and the metainfo (validated), a start through
#   the command link under Xvfb, a close, the settings file in the program folder, the file type
#   of the calculation files known and opened by the entry; the uninstall removes exactly what was
#   installed and keeps the settings file; a second install keeps using it, and an uninstall with
#   --purge leaves the home folder as it was, also when a plain uninstall has already removed the
#   record of the install. An install beside another program's file type leaves that type as it was.
# - The portable archive (cpack): its contents, unpacked into such a folder, started, closed,
#   settings beside the executable.
# Usage: install_round_trip.sh <source folder> <build folder>
set -euo pipefail
source "$(dirname "$0")/desktop_session.sh"
e2e_enter_session "$@"
source_dir="$(realpath "$1")"
build="$(realpath "$2")"

E2E_WORK="$(mktemp -d)"
trap 'rm -rf "$E2E_WORK"' EXIT
export LANG=ru_RU.UTF-8
export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
app_id=ru.stelvorn.Stelvorn

# xdg-mime as a GNOME session runs it: its generic way asks `file`, which knows no installed type.
# It splits the data folders at blanks when it looks for the entry of a type, so it is given links
# without blanks. It searches the data folders given (the user's first, a colon, the others) and no
# configuration.
mkdir "$E2E_WORK/config"
xdg_mime() {
    local data="$1"
    shift
    XDG_CURRENT_DESKTOP=GNOME XDG_CONFIG_HOME="$E2E_WORK/config" XDG_DATA_HOME="${data%%:*}" \
        XDG_DATA_DIRS="${data#*:}" xdg-mime "$@"
}
calculation="$E2E_WORK/расчёт объекта.stelvorn"
echo '{"электроды": 4}' >"$calculation"

# What the build carries into the program folder besides the executable: its print module, and the
# themes beside it.
skins=""
[[ -d "$build/ui/Skins" ]] && skins="$build/ui/Skins"
expected_program_folder() {
    echo "./Стелворн"
    echo "./libstelvorn_print.so"
    [[ -n "$skins" ]] && (cd "$(dirname "$skins")" && find Skins | sed 's|^|./|')
    [[ $# -gt 0 ]] && printf '%s\n' "$@"
}

echo "== per-user install"
home="$E2E_WORK/дом пользователя #1 %u"
mkdir -p "$home/.local/share/applications"
touch "$home/.local/share/applications/другая-программа.desktop" # another program's entry stays
before=$(e2e_tree "$home")
HOME="$home" PREFIX= bash "$source_dir/scripts/install.sh" --from-build "$build" >/dev/null
local_dir="$home/.local"
program_folder="$local_dir/lib/stelvorn"
[[ -x "$program_folder/Стелворн" && ! -L "$program_folder/Стелворн" ]] || e2e_fail "no executable Стелворн"
[[ "$(e2e_tree "$program_folder")" == "$(expected_program_folder | LC_ALL=C sort)" ]] ||
    e2e_fail "the program folder holds: $(e2e_tree "$program_folder")"
[[ "$(readlink "$local_dir/bin/stelvorn")" == "../lib/stelvorn/Стелворн" ]] || e2e_fail "the link bin/stelvorn"
for file in "share/icons/hicolor/scalable/apps/$app_id.svg" "share/icons/hicolor/48x48/apps/$app_id.png" \
    share/icons/hicolor/{scalable/mimetypes/application-x-stelvorn.svg,48x48/mimetypes/application-x-stelvorn.png} \
    "share/metainfo/$app_id.metainfo.xml" "share/applications/$app_id.desktop"; do
    [[ -f "$local_dir/$file" ]] || e2e_fail "missing $file"
done
[[ "$(file -b "$local_dir/share/icons/hicolor/48x48/apps/$app_id.png")" == "PNG image data, 48 x 48,"* ]] ||
    e2e_fail "the PNG icon is not 48 x 48"

desktop="$local_dir/share/applications/$app_id.desktop"
desktop-file-validate "$desktop" || e2e_fail "desktop-file-validate"
appstreamcli validate --no-net "$local_dir/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    e2e_fail "appstreamcli validate: $(appstreamcli validate --no-net "$local_dir/share/metainfo/$app_id.metainfo.xml")"
link="$local_dir/bin/stelvorn"
# The Exec line names the link, quoted for its blank and "#", with "%" doubled, and the file to open.
grep -qxF "Exec=\"${link//%/%%}\" %f" "$desktop" || e2e_fail "the Exec line: $(grep '^Exec=' "$desktop")"
grep -qx "Icon=$app_id" "$desktop" || e2e_fail "the Icon line"
# The calculation files have their type, and the entry opens it.
ln -s "$local_dir/share" "$E2E_WORK/home-data"
data="$E2E_WORK/home-data:/usr/share"
[[ "$(xdg_mime "$data" query filetype "$calculation")" == application/x-stelvorn ]] ||
    e2e_fail "the type of a calculation file: $(xdg_mime "$data" query filetype "$calculation")"
[[ "$(xdg_mime "$data" query default application/x-stelvorn)" == "$app_id.desktop" ]] ||
    e2e_fail "the entry for application/x-stelvorn: $(xdg_mime "$data" query default application/x-stelvorn)"

# Started by the command a user types; the window's class is the one the desktop entry names.
e2e_start "$link"
main=$(e2e_wait_window 'Стелворн v*') || e2e_fail "the installed program's window did not appear"
sleep 0.3
e2e_expect_no_window 'Стелворн' "at the start"
wm_class=$(grep '^StartupWMClass=' "$desktop" | cut -d= -f2)
[[ "$(e2e_window_class "$main")" == *".$wm_class" ]] ||
    e2e_fail "window class $(e2e_window_class "$main"), desktop entry $wm_class"
e2e_close "$main"
e2e_wait_exit
e2e_expect_settings_written "$program_folder/стелворн.ini"
sed -i 's/^Number=1\r$/Number=7\r/' "$program_folder/стелворн.ini"

settings_path=$(printf './.local\n./.local/lib\n./.local/lib/stelvorn\n./.local/lib/stelvorn/стелворн.ini')
HOME="$home" bash "$local_dir/share/stelvorn/uninstall.sh" >/dev/null
[[ "$(e2e_tree "$home")" == "$(printf '%s\n%s' "$before" "$settings_path" | LC_ALL=C sort -u)" ]] ||
    e2e_fail "after the uninstall the home holds: $(e2e_tree "$home")"
[[ "$(xdg_mime "$data" query filetype "$calculation")" != application/x-stelvorn ]] ||
    e2e_fail "the uninstall left the file type"

echo "== second install over the kept settings, uninstall with --purge"
HOME="$home" bash "$source_dir/scripts/install.sh" --from-build "$build" >/dev/null
grep -q $'^Number=7\r$' "$program_folder/стелворн.ini" || e2e_fail "the reinstall lost the settings"
e2e_start_and_close "$link"
grep -q $'^Number=7\r$' "$program_folder/стелворн.ini" || e2e_fail "the settings did not survive the restart"
HOME="$home" bash "$source_dir/scripts/uninstall.sh" --purge >/dev/null
[[ "$(e2e_tree "$home")" == "$before" ]] || e2e_fail "after the purge the home holds: $(e2e_tree "$home")"

echo "== --purge after a plain uninstall, when the record is gone"
HOME="$home" bash "$source_dir/scripts/install.sh" --from-build "$build" >/dev/null
e2e_start_and_close "$link"
HOME="$home" bash "$local_dir/share/stelvorn/uninstall.sh" >/dev/null
[[ -f "$program_folder/стелворн.ini" ]] || e2e_fail "the plain uninstall removed the settings"
HOME="$home" bash "$source_dir/scripts/uninstall.sh" --purge >/dev/null || e2e_fail "--purge without the record"
[[ "$(e2e_tree "$home")" == "$before" ]] || e2e_fail "after the late purge the home holds: $(e2e_tree "$home")"
# Nothing left to remove: the uninstall says so and fails.
if HOME="$home" bash "$source_dir/scripts/uninstall.sh" --purge >/dev/null 2>&1; then
    e2e_fail "--purge with nothing installed reported success"
fi

echo "== beside another program's file type"
# Another program's type and entry in a prefix, registered before this install or after it: the
# uninstall refreshes the databases and leaves the prefix as that program alone has it. Removing
# the databases would lose its type, leaving them would leave ours.
other_program() {
    mkdir -p "$1/share/mime/packages" "$1/share/applications"
    cat >"$1/share/mime/packages/другая-программа.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="text/x-drugaya"><comment>Другая</comment><glob pattern="*.drg"/></mime-type>
</mime-info>
XML
    printf '[Desktop Entry]\nType=Application\nName=Другая\nExec=true %%f\nMimeType=text/x-drugaya;\n' \
        >"$1/share/applications/другая-программа.desktop"
    update-mime-database "$1/share/mime" 2>/dev/null
    update-desktop-database "$1/share/applications"
}
other_program "$E2E_WORK/одна другая"
other_alone=$(e2e_tree "$E2E_WORK/одна другая")
other_file="$E2E_WORK/другой файл.drg"
echo "другое" >"$other_file"
types() {
    local data="$E2E_WORK/no-user-data:$1/share:/usr/share"
    printf '%s %s, %s %s\n' "$(xdg_mime "$data" query filetype "$other_file")" \
        "$(xdg_mime "$data" query default text/x-drugaya)" \
        "$(xdg_mime "$data" query filetype "$calculation")" "$(xdg_mime "$data" query default application/x-stelvorn)"
}
for when in before after; do
    prefix="$E2E_WORK/общая папка #3 $when"
    ln -s "$prefix" "$E2E_WORK/shared-$when" # without blanks, for xdg-mime
    [[ "$when" == before ]] && other_program "$prefix"
    bash "$source_dir/scripts/install.sh" --prefix "$prefix" --from-build "$build" >/dev/null
    [[ "$when" == after ]] && other_program "$prefix"
    [[ "$(types "$E2E_WORK/shared-$when")" == "text/x-drugaya другая-программа.desktop, application/x-stelvorn $app_id.desktop" ]] ||
        e2e_fail "other program $when, installed: $(types "$E2E_WORK/shared-$when")"
    bash "$prefix/share/stelvorn/uninstall.sh" >/dev/null
    [[ "$(e2e_tree "$prefix")" == "$other_alone" ]] ||
        e2e_fail "other program $when, after the uninstall the prefix holds: $(e2e_tree "$prefix")"
    [[ "$(types "$E2E_WORK/shared-$when")" == "text/x-drugaya другая-программа.desktop, text/plain " ]] ||
        e2e_fail "other program $when, uninstalled: $(types "$E2E_WORK/shared-$when")"
done

echo "== portable archive"
# cpack's archive library needs a UTF-8 locale for the Cyrillic names; ru_RU.UTF-8 may be missing.
LC_ALL=C.UTF-8 cpack --config "$build/CPackConfig.cmake" -B "$E2E_WORK/пакет" >/dev/null
archive=$(ls "$E2E_WORK/пакет"/stelvorn-*.tar.gz)
top=$(basename "$archive" .tar.gz)
listing=$(LC_ALL=C.UTF-8 tar -tzf "$archive" | sed "s|^$top/||; s|/$||" | grep -v '^$' | LC_ALL=C sort)
[[ "$listing" == "$(expected_program_folder ./ПРОЧТИ.txt | sed 's|^\./||' | LC_ALL=C sort)" ]] ||
    e2e_fail "the archive holds: $listing"
unpacked="$E2E_WORK/распаковано сюда #2 %d"
mkdir -p "$unpacked"
tar -xzf "$archive" -C "$unpacked"
(cd / && e2e_start_and_close "$unpacked/$top/Стелворн")
e2e_expect_settings_written "$unpacked/$top/стелворн.ini"
grep -q 'стелворн.ini' "$unpacked/$top/ПРОЧТИ.txt" || e2e_fail "the read-me"

echo "install, archive and uninstall passed"

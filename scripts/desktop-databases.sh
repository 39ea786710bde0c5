# shellcheck shell=bash
# The desktop's databases that learn of the calculation files *.stelvorn and of the program that
# opens them, in two folders under the install prefix: share/mime (the file types, built from its
# packages/) and share/applications (mimeinfo.cache, the types that the desktop entries open).
# Sourced by install.sh and uninstall.sh; install.sh copies it beside the uninstaller.

# Refreshes the database in one of those folders. A missing tool or a failure is reported and
# does not stop the install or the uninstall.
refresh_database() {
    local tool=update-desktop-database package=desktop-file-utils output
    [[ "$1" == */mime ]] && tool=update-mime-database package=shared-mime-info
    if ! command -v "$tool" >/dev/null; then
        echo "Нет программы $tool (пакет $package): база в $1 не обновлена." >&2
        return 0
    fi
    # The tools also warn about other programs' files and about folders outside XDG_DATA_DIRS.
    output=$("$tool" "$1" 2>&1) || printf '%s не обновил %s:\n%s\n' "$tool" "$1" "$output" >&2
}

# Succeeds when the refreshed database in the folder names no file type of any program.
database_is_empty() {
    case "$1" in
    */mime) [[ ! -s "$1/types" ]] ;;
    *) ! grep -qs = "$1/mimeinfo.cache" ;;
    esac
}

#!/usr/bin/env bash
# Устанавливает Стелворн для текущего пользователя.
# Installs Стелворн for the current user: builds it in Release (build/release) and lays it out under
# ~/.local, or under $PREFIX when set:
#   lib/stelvorn/                 the program folder: "Стелворн", Skins/, later стелворн.ini
#   bin/stelvorn                  the command, a link to the executable
#   share/applications/, share/icons/hicolor/, share/metainfo/   the menu entry, icon, metainfo
#   share/mime/packages/          the file type of the calculation files *.stelvorn
#   share/stelvorn/               what was installed, and the uninstaller uninstall.sh
# An earlier install is replaced; its settings file stays.
#   bash scripts/install.sh [--prefix DIR] [--from-build BUILD_DIR]
# --from-build installs an existing build as it is, without building.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
# shellcheck source=scripts/desktop-databases.sh
source "$here/desktop-databases.sh"

prefix="${PREFIX:-$HOME/.local}"
build=""
while [[ $# -gt 0 ]]; do
    case "$1" in
    --prefix) prefix="$2"; shift 2 ;;
    --from-build) build="$2"; shift 2 ;;
    *) echo "Неизвестный параметр: $1" >&2; exit 2 ;;
    esac
done
[[ "$prefix" == /* ]] || prefix="$PWD/$prefix"
prefix="${prefix%/}"
if [[ "$prefix" == *$'\n'* || "$prefix" == *$'\t'* ]]; then
    echo "Папка установки не может содержать переводы строк и табуляции: $prefix" >&2
    exit 2
fi

if [[ -z "$build" ]]; then
    bash scripts/install-deps.sh
    build=build/release
    bash scripts/build-release.sh --target stelvorn
fi

record="$prefix/share/stelvorn"
if [[ -f "$record/installed.txt" ]]; then
    echo "Заменяю прежнюю установку (настройки сохраняются)."
    bash "$here/uninstall.sh" --prefix "$prefix" >/dev/null
fi

# The folders this install creates, so that the uninstall can remove them again: those of a trial
# install into a scratch folder and the prefix itself, when they do not exist yet or hold nothing
# but the settings file that an earlier uninstall left, and the folders above the prefix that do
# not exist yet. The home folder is never one of them.
settings="$prefix/lib/stelvorn/стелворн.ini"
ours() {
    [[ -e "$1" ]] || return 0
    local entry
    while IFS= read -r -d '' entry; do
        [[ "$entry" == "$settings" || ( -d "$entry" && "$settings" == "$entry"/* ) ]] || return 1
    done < <(find "$1" -mindepth 1 -print0)
}
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir -p "$stage$record"
created=()
while IFS= read -r -d '' folder; do
    path="${folder#"$stage"}"
    ours "$path" && created+=("$path")
done < <(find "$stage$prefix" -mindepth 1 -type d -print0 | sort -rz)
if [[ "$prefix" != "${HOME%/}" ]] && ours "$prefix"; then
    created+=("$prefix")
    path="${prefix%/*}"
    while [[ -n "$path" && ! -e "$path" ]]; do
        created+=("$path")
        path="${path%/*}"
    done
fi

cmake --install "$build" --prefix "$prefix" >/dev/null

# The desktop's databases learn of the file type. What their refresh creates is recorded too: the
# uninstall refreshes them again and removes it when they name no file type any more.
databases=("$prefix/share/mime" "$prefix/share/applications")
listing() { { find "${databases[@]}" -mindepth 1 -print0 2>/dev/null || true; } | LC_ALL=C sort -z; }
listing > "$stage/before-refresh"
for folder in "${databases[@]}"; do refresh_database "$folder"; done
new_folders=()
generated=()
while IFS= read -r -d '' path; do
    if [[ -d "$path" ]]; then new_folders+=("$path"); else generated+=("$path"); fi
done < <(LC_ALL=C comm -z -13 "$stage/before-refresh" <(listing) | LC_ALL=C sort -rz)
# They lie inside folders that existed before the refresh: deeper than those recorded already.
created=("${new_folders[@]}" "${created[@]}")

mkdir -p "$record"
cp "$here/uninstall.sh" "$here/desktop-databases.sh" "$record/"
{
    while IFS= read -r file; do printf 'file %s\n' "$file"; done < "$build/install_manifest.txt"
    printf 'file %s\n' "$record/uninstall.sh" "$record/desktop-databases.sh" "$record/installed.txt"
    for path in "${databases[@]}"; do printf 'database %s\n' "$path"; done
    for path in "${generated[@]}"; do printf 'generated %s\n' "$path"; done
    for path in "${created[@]}"; do printf 'folder %s\n' "$path"; done
} > "$record/installed.txt"

echo "Стелворн установлен в $prefix/lib/stelvorn"
echo "Запуск: меню приложений или команда $prefix/bin/stelvorn"
case ":$PATH:" in
*":$prefix/bin:"*) ;;
*) echo "Папки $prefix/bin нет в PATH: команда stelvorn заработает после нового входа в систему или с полным путём." ;;
esac
echo "Удаление: bash $record/uninstall.sh (с --purge удаляет и файл настроек)"

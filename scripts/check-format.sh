#!/usr/bin/env bash
# Checks that every C++ file of the tree follows .clang-format, with clang-format-14 (Debian 12).
# Names each file that does not and fails; `clang-format-14 -i FILE` formats one.
#   bash scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format-14 >/dev/null || {
    echo "clang-format-14 is missing (bash scripts/install-deps.sh installs it)" >&2
    exit 1
}

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
else
    mapfile -d '' files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -type f -print0)
fi

unformatted=()
for file in "${files[@]}"; do
    [[ -f "$file" ]] || continue
    clang-format-14 --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done

if [[ ${#unformatted[@]} -gt 0 ]]; then
    echo "Not formatted as .clang-format asks (clang-format-14 -i FILE formats one):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "Formatting: ${#files[@]} files follow .clang-format"

#!/usr/bin/env bash
# The packages that the portable archive's read-me (packaging/ПРОЧТИ.txt) and the README tell a user
# to install give the program what it needs at run time: every library that `ldd` finds for the
# executable and for the Qt plugins it loads on a desktop, the plugins themselves and Qt's Russian
# translation belong to a package that is named there or that a named package depends on (Depends
# and Pre-Depends, first alternative, as recorded by dpkg for the installed packages).
# Usage: runtime_packages.sh <source folder> <executable> [plugin or data file ...]
set -euo pipefail
source_dir="$1"
shift
fail() {
    echo "FAILED: $*"
    exit 1
}

# The install command, the same in the read-me and in the README.
named_in() { grep -m1 -o 'apt install .*' "$1" | sed 's/^apt install //; s/[`[:space:]]*$//'; }
listed=$(named_in "$source_dir/packaging/ПРОЧТИ.txt")
[[ -n "$listed" ]] || fail "ПРОЧТИ.txt names no packages to install"
[[ "$(named_in "$source_dir/README.md")" == "$listed" ]] ||
    fail "the README names \"$(named_in "$source_dir/README.md")\", ПРОЧТИ.txt \"$listed\""

# What the named packages bring: they and their dependencies, recursively.
declare -A brought
queue=($listed)
while [[ ${#queue[@]} -gt 0 ]]; do
    package="${queue[0]}"
    queue=("${queue[@]:1}")
    [[ -n "${brought[$package]:-}" ]] && continue
    brought[$package]=1
    depends=$(dpkg-query -W -f='${Depends}, ${Pre-Depends}\n' "$package" 2>/dev/null | head -n1) || continue
    while read -r dependency; do
        [[ -n "$dependency" ]] && queue+=("$dependency")
    done < <(tr ',' '\n' <<<"$depends" | sed 's/|.*//; s/(.*)//; s/:.*//; s/[[:space:]]//g')
done

# What the program needs: the files given (plugins, Qt's translation) and every library ldd finds
# for the executable and the plugins. The sanitizer runtimes of a test build are left out: the
# program's own build never links them.
declare -A needed_by
for file in "$@"; do
    [[ -f "$file" ]] || fail "no file $file (is its package installed?)"
    [[ "$file" == "$1" ]] || needed_by[$file]="$file"
    [[ "$file" == "$1" || "$file" == *.so ]] || continue
    ! ldd "$file" | grep 'not found' || fail "$file misses libraries"
    while read -r library; do
        [[ "$(basename "$library")" =~ ^lib(a|ub|l|t)san\. ]] || needed_by[$library]="${needed_by[$library]:-$file}"
    done < <(ldd "$file" | awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }')
done

# Their packages, asked of dpkg at once (it reads every package's file list for each question).
# dpkg records some libraries under /lib and some under /usr/lib (the merged /usr), so every
# spelling of a path is asked.
spellings() {
    local path
    for path in "$1" "$(realpath "$1")"; do
        printf '%s\n' "$path" "${path#/usr}" "/usr$path"
    done
}
mapfile -t asked < <(for path in "${!needed_by[@]}"; do spellings "$path"; done | sort -u)
declare -A owners
while IFS= read -r line; do
    owners[${line#*: }]="${line%%:*}"
done < <(dpkg-query -S "${asked[@]}" 2>/dev/null || true)

missing=()
for path in "${!needed_by[@]}"; do
    package="?"
    while read -r spelling; do
        [[ -n "${owners[$spelling]:-}" ]] && package="${owners[$spelling]}" && break
    done < <(spellings "$path")
    [[ -n "${brought[$package]:-}" ]] || missing+=("$package ($path, for $(basename "${needed_by[$path]}"))")
done

[[ ${#missing[@]} -eq 0 ]] || fail "not brought by \"apt install $listed\": $(printf '%s\n' "${missing[@]}" | sort -u)"
echo "apt install $listed brings all the program needs"

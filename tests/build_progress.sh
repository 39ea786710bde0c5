#!/usr/bin/env bash
# scripts/run.sh and scripts/install.sh show the build's progress while they build, instead of
# minutes of silence. Run on a copy of scripts/ with stand-ins for cmake (a build that reports its
# progress), dpkg-query (everything installed) and the built program.
# Usage: build_progress.sh <source folder>
set -euo pipefail
source_dir="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*"
    exit 1
}

tree="$work/tree"
mkdir -p "$tree/build/release/ui" "$work/bin"
cp -r "$source_dir/scripts" "$tree/"
printf '#!/bin/sh\necho "the program started"\n' > "$tree/build/release/ui/stelvorn"
cat > "$work/bin/cmake" <<'STUB'
#!/usr/bin/env bash
case "$1" in
--build) echo "[ 42%] Building CXX object calc/CMakeFiles/stelvorn_calc.dir/pipeline.cpp.o" ;;
--install) mkdir -p "${DESTDIR:-}$4/lib/stelvorn" && : > "$2/install_manifest.txt" ;;
esac
STUB
printf '#!/bin/sh\nprintf "install ok installed"\n' > "$work/bin/dpkg-query"
chmod +x "$tree/build/release/ui/stelvorn" "$work/bin/cmake" "$work/bin/dpkg-query"
export PATH="$work/bin:$PATH"

progress='[ 42%] Building CXX object calc/CMakeFiles/stelvorn_calc.dir/pipeline.cpp.o'
for command in "scripts/run.sh" "scripts/install.sh --prefix $work/prefix"; do
    # shellcheck disable=SC2086
    output=$(cd "$tree" && bash $command 2>&1) || fail "$command: $output"
    grep -qxF "$progress" <<<"$output" || fail "$command does not show the build's progress: $output"
done
echo "the scripts show the build's progress"

#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt, and those named on the command line, that are
# missing. Silent when all are there.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

missing=()
while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done < <(cat "$here/packages.txt"; printf '%s\n' "$@")

[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null; then
    "${sudo[@]}" apt-get update -q >/dev/null
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

#!/usr/bin/env bash
# Builds the program in Release and packs the portable archive: the program folder ("Стелворн",
# Skins/) with ПРОЧТИ.txt, as build/package/stelvorn-<version>-linux-<machine>.tar.gz.
#   bash scripts/archive.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build-release.sh --target stelvorn
# The archive library of cpack needs a UTF-8 locale for the Cyrillic file names.
LC_ALL=C.UTF-8 cpack --config build/release/CPackConfig.cmake -B build/package >/dev/null
ls build/package/stelvorn-*.tar.gz

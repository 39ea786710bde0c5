#!/usr/bin/env bash
# Configures and builds the Release preset in build/release, showing the build's progress as it
# goes: a first build takes minutes. The arguments go to the build, e.g. --target stelvorn.
#   bash scripts/build-release.sh [--target TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
echo "Сборка Стелворна (Release) в build/release…"
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" "$@"

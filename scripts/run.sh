#!/usr/bin/env bash
# Installs what is missing, builds the program in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" >/dev/null
exec build/release/ui/stelvorn

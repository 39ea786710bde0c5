#!/usr/bin/env bash
# Installs what is missing, builds the program in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build-release.sh
exec build/release/ui/stelvorn

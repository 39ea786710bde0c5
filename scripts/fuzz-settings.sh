#!/usr/bin/env bash
# Fuzzes the settings file reader and writer for the given number of seconds (default 180); the
# same as `bash scripts/fuzz.sh settings [seconds]`.
set -euo pipefail
exec bash "$(dirname "$0")/fuzz.sh" settings "$@"

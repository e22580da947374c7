#!/usr/bin/env bash
# Builds Corkvane and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
exec ./build/bin/corkvane "$@"

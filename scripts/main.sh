#!/usr/bin/env bash
# Builds the host configuration and runs the companion tool, which shows
# what the library answers on this machine:
#   scripts/main.sh [TSENV-ARGUMENTS...]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-packages.sh \
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev

cmake --preset host
cmake --build --preset host -j "${TSEN_JOBS:-2}" --target tsenv

tsenv=build/host/tools/tsenv/tsenv
if [[ ! -x $tsenv ]]; then
  echo "the companion tool was not built: $tsenv" >&2
  exit 1
fi
exec "$tsenv" "$@"

#!/usr/bin/env bash
# Builds the host configuration, stages the sample installation with the
# built library and the companion tool in its Binaries folder, and runs
# `tsenv info` (or the tsenv arguments given) with the sample settings:
#   scripts/main.sh [TSENV-ARGUMENTS...]
# The sample lives in build/host/sample: its registry is sample.reg there, its
# user folders below home/ and tmp/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-packages.sh \
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev

cmake --preset host >/dev/null
cmake --build --preset host -j "${TSEN_JOBS:-2}" --target tsenv >/dev/null

sample=$PWD/build/host/sample
rm -rf "$sample"
mkdir -p "$sample/Suite/Binaries" "$sample/home/.config" "$sample/tmp"
cp -R examples/installation/. "$sample/Suite/"
cp build/host/tools/tsenv/tsenv build/host/libTessaline.Environment.so "$sample/Suite/Binaries/"
cp examples/settings.reg "$sample/sample.reg"

export TSEN_REGISTRY=$sample/sample.reg
export HOME=$sample/home XDG_CONFIG_HOME=$sample/home/.config TMPDIR=$sample/tmp
# The staged library, not the build's, so the application folder is the sample's.
export LD_LIBRARY_PATH=$sample/Suite/Binaries
if [[ $# -eq 0 ]]; then
  set -- info
fi
exec "$sample/Suite/Binaries/tsenv" "$@"

#!/usr/bin/env bash
# Builds the library and tsenv, stages the sample installation with both in
# its Binaries folder, and runs `tsenv info` (or the arguments given) with the
# sample settings:
#   scripts/main.sh [--wine] [TSENV-ARGUMENTS...]
# On the host the sample's registry is build/host/sample/sample.reg, its user
# folders below home/ and tmp/ there. --wine: under Wine, in a prefix of the
# sample's own (build/windows/sample-prefix) into which the sample settings
# are imported, replacing the suite's keys there.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

preset=host packages=(g++ googletest libgtest-dev libbenchmark-dev)
tool=build/host/tools/tsenv/tsenv library=build/host/libTessaline.Environment.so
if [[ ${1:-} == --wine ]]; then
  preset=windows packages=(g++-mingw-w64-x86-64-posix wine64 googletest)
  tool=build/windows/bin/tsenv.exe library=build/windows/bin/Tessaline.Environment.dll
  shift
fi
(($# > 0)) || set -- info

# Built quietly: the build's own output only on failure.
bash scripts/install-packages.sh cmake ninja-build libcli11-dev nlohmann-json3-dev "${packages[@]}"
log=build/$preset-main.log
mkdir -p build
echo "== building the $preset configuration (log: $log)" >&2
if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j "${TSEN_JOBS:-2}" \
  --target TessalineEnvironment tsenv; } >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  exit 1
fi

# The sample installation with the tool and library in its Binaries folder.
sample=$PWD/build/$preset/sample
rm -rf "$sample"
mkdir -p "$sample/Suite/Binaries"
cp -R examples/installation/. "$sample/Suite/"
cp "$tool" "$library" "$sample/Suite/Binaries/"
cp examples/settings.reg "$sample/sample.reg"

if [[ $preset == host ]]; then
  mkdir -p "$sample/home/.config" "$sample/tmp"
  export TSEN_REGISTRY=$sample/sample.reg HOME=$sample/home XDG_CONFIG_HOME=$sample/home/.config \
    TMPDIR=$sample/tmp
  # The staged library, not the build's, so the application folder is the sample's.
  export LD_LIBRARY_PATH=$sample/Suite/Binaries
  exec "$sample/Suite/Binaries/tsenv" "$@"
fi

prefix=$PWD/build/windows/sample-prefix
wine=(bash cmake/wine-run.sh "$prefix")
echo "== importing examples/settings.reg into the Wine prefix $prefix" >&2
"${wine[@]}" reg delete 'HKCU\SOFTWARE\Quarzel' /f >/dev/null 2>&1 || true
"${wine[@]}" regedit /S "Z:${sample//\//\\}\\sample.reg"
echo >&2
# Wine's console writes CR LF line ends; the terminal needs only LF.
"${wine[@]}" "$sample/Suite/Binaries/tsenv.exe" "$@" | tr -d '\r'

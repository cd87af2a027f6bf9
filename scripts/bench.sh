#!/usr/bin/env bash
# Builds and runs every benchmark, host and Wine, and writes their figures
# beside each goal to docs/performance.md (raw output in build/bench-results):
#   scripts/bench.sh [--host-only | --wine-only]
# TSEN_JOBS: parallel build jobs (default 2). The Wine timing program owns the
# product keys of build/windows/wineprefix: run no Wine tests meanwhile.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

case ${1:-} in
'') sides=(host windows) ;;
--host-only) sides=(host) ;;
--wine-only) sides=(windows) ;;
*) echo "usage: $0 [--host-only | --wine-only]" >&2 && exit 2 ;;
esac
started=$SECONDS failed=() results=build/bench-results machine=build/bench-results/machine.txt
declare -A targets=([host]="bench_fake bench_real bench_c" [windows]=tsen_wine_timing)

bash scripts/install-packages.sh cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev \
  libcli11-dev nlohmann-json3-dev g++-mingw-w64-x86-64-posix wine64 python3 || failed+=(install)
rm -rf "$results"
mkdir -p "$results"
printf 'Machine: %s, %s cores\nKernel: %s\n' "$(sed -n 's/^model name\s*: //p' /proc/cpuinfo |
  head -n 1)" "$(nproc)" "$(uname -srm)" >"$machine"

# Each side's preset configured (an older build may predate its benchmarks)
# and its benchmarks built, the compiler and flags noted for the report.
built=()
for side in "${sides[@]}"; do
  log=build/$side/bench-build.log
  echo "== $side: building ${targets[$side]} (log: $log)"
  mkdir -p "build/$side"
  # shellcheck disable=SC2086 # the targets are words
  if ! { cmake --preset "$side" && cmake --build --preset "$side" -j "${TSEN_JOBS:-2}" \
    --target ${targets[$side]}; } >"$log" 2>&1; then
    tail -n 40 "$log" && failed+=("$side build") && continue
  fi
  built+=("$side")
  compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' \
    "build/$side"/CMakeFiles/*/CMakeCXXCompiler.cmake | head -n 1)
  echo "${side^} compiler: $("$compiler" --version | head -n 1) (\`$(realpath "$(command -v \
    "$compiler")")\`, Release \`$(sed -n 's/^CMAKE_CXX_FLAGS_RELEASE:STRING=//p' \
    "build/$side/CMakeCache.txt")\`)" >>"$machine"
done

load=$(cut -d' ' -f1-3 /proc/loadavg) runs_started=$(date -u +%Y-%m-%dT%H:%M:%SZ) begun=$SECONDS
for side in "${built[@]}"; do
  if [[ $side == host ]]; then
    # Repetitions interleaved at random, so that a busy spell of a shared
    # machine falls on every side alike; the report keeps each side's fastest.
    for program in bench_fake app/Binaries/bench_real app/Binaries/bench_c; do
      echo "== host: ${program##*/}"
      "build/host/bench/$program" --benchmark_repetitions=8 --benchmark_min_time=0.1 \
        --benchmark_enable_random_interleaving=true --benchmark_out_format=json \
        --benchmark_out="$results/${program##*_}.json" >"$results/${program##*/}.log" 2>&1 ||
        { tail -n 20 "$results/${program##*/}.log" && failed+=("${program##*/}"); }
    done
    echo "Google Benchmark: $(dpkg-query -W -f='${Version}' libbenchmark-dev)" >>"$machine"
  else
    echo "== wine: tsen_wine_timing"
    # Wine's console writes CR LF line ends.
    bash cmake/wine-run.sh "$PWD/build/windows/wineprefix" \
      build/windows/bench/timingapp/Binaries/tsen_wine_timing.exe 2>"$results/wine.err" |
      tr -d '\r' >"$results/wine.txt" || { cat "$results/wine.err" && failed+=(tsen_wine_timing); }
    echo "Wine: $("${TSEN_WINE64:-/usr/lib/wine/wine64}" --version)" >>"$machine"
  fi
done
echo "Benchmarks run: $runs_started, $((SECONDS - begun)) s (builds not counted)" >>"$machine"
echo "Load average: $load at the start of the runs, $(cut -d' ' -f1-3 /proc/loadavg) at the end" >>"$machine"

echo "== writing docs/performance.md"
python3 scripts/bench_report.py "$results" "$machine" docs/performance.md || failed+=(report)
echo "== everything took $((SECONDS - started)) s"
((${#failed[@]} == 0)) || { echo "== FAILED: ${failed[*]}" && exit 1; }

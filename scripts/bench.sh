#!/usr/bin/env bash
# Builds and runs every benchmark, the host's and those under Wine, and
# writes their figures side by side to docs/performance.md:
#   scripts/bench.sh [--host-only | --wine-only]
# Environment: TSEN_JOBS (parallel build jobs, default 2).
# The raw output stays in build/host/bench-results and
# build/windows/bench-results. The Wine timing programs own the suite's
# product keys in the build's prefix while they run: run no Wine tests of
# build/windows at the same time.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

run_host=1
run_wine=1
case ${1:-} in
'') ;;
--host-only) run_wine=0 ;;
--wine-only) run_host=0 ;;
*)
  echo "usage: $0 [--host-only | --wine-only]" >&2
  exit 2
  ;;
esac
jobs=${TSEN_JOBS:-2}
started=$SECONDS
failed=()

# Repetitions of each host benchmark, interleaved at random with the other
# benchmarks of the same program, so that a busy spell of a shared machine
# falls on every side alike; the report keeps each side's fastest.
host_options=(--benchmark_repetitions=8 --benchmark_enable_random_interleaving=true
  --benchmark_min_time=0.1)
# Rounds of the Wine timing programs, for about a minute in all.
registry_rounds=3000
command_log_rounds=1000
grep_runs=50

# build PRESET TARGET...: configures the preset when it has no build yet and
# builds the targets quietly, the output kept in build/PRESET/bench-build.log.
build() {
  local preset=$1
  shift
  local log=build/$preset/bench-build.log
  echo "== $preset: building ${#@} targets (log: $log)"
  mkdir -p "build/$preset"
  if ! { { [[ -f build/$preset/CMakeCache.txt ]] || cmake --preset "$preset"; } &&
    cmake --build --preset "$preset" -j "$jobs" --target "$@"; } >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "== $preset: build FAILED"
    return 1
  fi
}

# The topic files of bench_TopicFilesBench searched with grep -F -m1 for the
# sought (last) line, process start included: "RUNS REAL USER SYSTEM" seconds.
time_grep() {
  local app=$1 out=$2
  local files sought i
  # find keeps the folder's own order, the one the library's listing sees.
  mapfile -t files < <(find "$app/Help/WikiCfg" -maxdepth 1 -name '*.cfg' -type f)
  ((${#files[@]} > 0)) || return 1
  sought=$(tail -n 1 "${files[-1]}")
  grep -F -m1 -q -- "$sought" "${files[@]}" || return 1
  local TIMEFORMAT="$grep_runs %R %U %S"
  {
    time for ((i = 0; i < grep_runs; i++)); do
      grep -F -m1 -- "$sought" "${files[@]}" >/dev/null
    done
  } 2>"$out"
}

host_benchmarks() {
  local results=build/host/bench-results
  rm -rf "$results"
  mkdir -p "$results"
  local name
  for name in "${host_targets[@]}"; do
    echo "== host: $name"
    # TopicFilesBench keeps its scratch application folder for grep.
    if ! TSEN_BENCH_APP=$PWD/$results/topicapp "build/host/bench/$name" "${host_options[@]}" \
      --benchmark_out="$results/$name.json" --benchmark_out_format=json \
      >"$results/$name.log" 2>&1; then
      tail -n 20 "$results/$name.log"
      failed+=("$name")
    fi
  done
  if [[ -d $results/topicapp ]]; then
    echo "== host: grep -F -m1 over the topic files, $grep_runs runs"
    time_grep "$results/topicapp" "$results/grep.txt" || failed+=("grep over the topic files")
    rm -rf "$results/topicapp"
  fi
}

# Where the build put a program: some are built into folders of their own.
wine_program() {
  find build/windows -name "$1.exe" -type f -not -path '*/CMakeFiles/*' | head -n 1
}

wine_benchmarks() {
  local results=build/windows/bench-results
  rm -rf "$results"
  mkdir -p "$results"
  local wine=(bash cmake/wine-run.sh "$PWD/build/windows/wineprefix")
  echo "== wine: preparing the prefix"
  "${wine[@]}" --prepare || {
    failed+=("wine prefix")
    return
  }
  local entry name program arguments
  # PROGRAM:ROUNDS, no rounds for the program's own default.
  for entry in tsen_wine_registry_timing:$registry_rounds tsen_wine_expansion_timing: \
    tsen_wine_command_log_timing:$command_log_rounds tsen_wiki_launch_timing:; do
    name=${entry%%:*}
    arguments=()
    [[ -n ${entry#*:} ]] && arguments=("${entry#*:}")
    echo "== wine: $name"
    program=$(wine_program "$name")
    # Wine's console writes CR LF line ends.
    if [[ -z $program ]] || ! "${wine[@]}" "$program" "${arguments[@]}" 2>"$results/$name.err" |
      tr -d '\r' >"$results/$name.txt"; then
      cat "$results/$name.err"
      failed+=("$name")
    fi
  done
}

bash scripts/install-packages.sh cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev \
  libcli11-dev nlohmann-json3-dev g++-mingw-w64-x86-64-posix wine64 python3 || failed+=("install")

host_targets=()
for source in bench/host/*.cpp; do
  host_targets+=("bench_$(basename "$source" .cpp)")
done
report=()
if ((run_host)); then
  if build host "${host_targets[@]}"; then
    report+=(--host build/host)
  else
    failed+=("host build")
    run_host=0
  fi
fi
if ((run_wine)); then
  if build windows tsen_wine_registry_timing tsen_wine_expansion_timing \
    tsen_wine_command_log_timing tsen_wiki_launch_timing; then
    report+=(--windows build/windows)
  else
    failed+=("windows build")
    run_wine=0
  fi
fi

load=$(cut -d' ' -f1-3 /proc/loadavg)
runs_started=$(date -u +%Y-%m-%dT%H:%M:%SZ)
runs_begun=$SECONDS
((run_host)) && host_benchmarks
((run_wine)) && wine_benchmarks
runs_took=$((SECONDS - runs_begun))

if ((${#report[@]} > 0)); then
  echo "== writing docs/performance.md"
  python3 scripts/bench_report.py "${report[@]}" --started "$runs_started" --load "$load" \
    --seconds "$runs_took" --output docs/performance.md || failed+=("report")
fi

echo "== the benchmarks took $runs_took s, everything $((SECONDS - started)) s"
if ((${#failed[@]} > 0)); then
  echo "== FAILED: ${failed[*]}"
  exit 1
fi

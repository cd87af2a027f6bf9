#!/usr/bin/env bash
# FindWikiPage beside `grep -F -m1` for the same topic line over the same
# topic files. Runs bench_TopicFilesBench (which writes the files), then times
# grep over the files in the order the folder lists them.
#   scripts/topic_grep_bench.sh [build folder] [grep runs] [benchmark options...]
set -euo pipefail

build=${1:-build/host}
runs=${2:-50}
shift $(($# > 2 ? 2 : $#))
bench="$build/bench/bench_TopicFilesBench"
[[ -x $bench ]] || { echo "no $bench: build the target bench_TopicFilesBench" >&2; exit 1; }

app=$(mktemp -d "${TMPDIR:-/tmp}/tsen-topic-grep-XXXXXX")
trap 'rm -rf "$app"' EXIT
TSEN_BENCH_APP="$app" "$bench" "$@"

folder="$app/Help/WikiCfg"
# find keeps the folder's own order (readdir), the one the library's listing sees.
mapfile -t files < <(find "$folder" -maxdepth 1 -name '*.cfg' -type f)
(( ${#files[@]} > 0 )) || { echo "no topic files in $folder" >&2; exit 1; }
sought=$(tail -n 1 "${files[-1]}")
grep -F -m1 -- "$sought" "${files[@]}" > /dev/null || { echo "grep misses: $sought" >&2; exit 1; }

if command -v hyperfine > /dev/null; then
  hyperfine --warmup 3 --runs "$runs" "grep -F -m1 -- '$sought' ${files[*]} > /dev/null"
else
  echo "sought line: $sought (last line of ${files[-1]##*/})"
  TIMEFORMAT="grep -F -m1 over ${#files[@]} files, $runs runs: %3R s real, %3U s user, %3S s sys"
  start=$(date +%s%N)
  time for ((i = 0; i < runs; i++)); do
    grep -F -m1 -- "$sought" "${files[@]}" > /dev/null
  done
  end=$(date +%s%N)
  echo "mean: $(((end - start) / runs / 1000)) us a run, process start included"
fi

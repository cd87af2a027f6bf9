#!/usr/bin/env bash
# Builds and tests every configuration (host, host under the address and
# undefined behaviour sanitizers, the Windows DLL under Wine), fuzzes for a
# bounded time and checks formatting. Every step runs even after a failure;
# the exit status tells whether all passed:
#   scripts/test.sh
# Environment: TSEN_JOBS (parallel jobs, default 2), TSEN_FUZZ_SECONDS (per
# fuzz target, default 30), TSEN_FORMAT_STRICT=1 (fail on unformatted code).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

jobs=${TSEN_JOBS:-2} started=$SECONDS failed=()

bash scripts/install-packages.sh \
  cmake ninja-build g++ clang-14 clang libclang-rt-14-dev lld-14 llvm-14 python3 googletest libgtest-dev \
  libbenchmark-dev g++-mingw-w64-x86-64-posix wine64 libcli11-dev nlohmann-json3-dev \
  clang-format || failed+=("install")

# step NAME COMMAND...: runs one step and remembers a failure.
step() {
  local name=$1 begun=$SECONDS
  shift
  printf '\n== %s\n' "$name"
  if "$@"; then
    echo "== ${name}: passed ($((SECONDS - begun)) s)"
  else
    echo "== ${name}: FAILED ($((SECONDS - begun)) s)"
    failed+=("$name")
  fi
}

# run_tests PRESET CTEST-ARGUMENTS...: runs CTest, keeps its log beside the
# build and prints the summary, with the output of every failed test.
run_tests() {
  local log=build/$1/ctest.log
  mkdir -p "build/$1"
  shift
  if ctest --output-on-failure "$@" >"$log" 2>&1; then
    sed -n '/tests passed/,$p' "$log"
  else
    grep -v -E '^ *(Start +[0-9]+:|[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)' "$log" | tail -n 400
    return 1
  fi
}

for preset in host host-asan windows; do
  step "${preset}: configure" cmake --preset "$preset"
  step "${preset}: build" cmake --build --preset "$preset" -j "$jobs"
  step "${preset}: test" run_tests "$preset" --preset "$preset" -j "$jobs"
done

# The caches' first fill from several threads at once, under ThreadSanitizer.
step "host-tsan: configure" cmake --preset host-tsan
step "host-tsan: build" cmake --build --preset host-tsan -j "$jobs" --target tsen_unit_tests
step "host-tsan: test" run_tests host-tsan --preset host-tsan -R FirstCallRace

# Each fuzz target for a bounded time.
step "fuzz: configure" cmake --preset fuzz -DTSEN_FUZZ_SECONDS="${TSEN_FUZZ_SECONDS:-30}"
step "fuzz: build" cmake --build --preset fuzz -j "$jobs"
step "fuzz: run" run_tests fuzz --test-dir build/fuzz -L fuzz -j "$jobs"

format_check() {
  local unformatted
  unformatted=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs -r clang-format-14 \
    --dry-run 2>&1 | grep -oE '^[^ :]+\.(cpp|h):[0-9]+:[0-9]+: (warning|error)' | cut -d: -f1 | sort -u)
  [[ -z $unformatted ]] && return 0
  echo "not formatted with clang-format-14:" && sed 's/^/  /' <<<"$unformatted"
  [[ ${TSEN_FORMAT_STRICT:-0} != 1 ]]
}
step "format" format_check

printf '\n== all steps took %s s\n' $((SECONDS - started))
((${#failed[@]} == 0)) || { echo "== FAILED: ${failed[*]}" && exit 1; }
echo "== everything passed"

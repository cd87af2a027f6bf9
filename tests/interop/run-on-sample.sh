#!/usr/bin/env bash
# Runs a caller of the library against a scratch copy of the sample
# installation, with the library in its Binaries folder and the sample
# settings in force, and compares what it prints with EXPECTED (in which
# @SUITE@ stands for the staged application folder as the library names it):
#   run-on-sample.sh wine PREFIX WORK LIBRARY RECORDER EXPECTED PROGRAM
#   run-on-sample.sh host WORK LIBRARY EXPECTED COMMAND...
# Under Wine the prefix is the interface tests' own; the sample .reg replaces
# the suite's keys there, and the address recorder stands in for the browser,
# so that the addresses the caller opens are compared too (EXPECTED.opened).
set -euo pipefail
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
platform=$1
shift

stage() { # WORK LIBRARY: the sample installation with the library in Binaries
  rm -rf "$1" && mkdir -p "$1/Suite/Binaries"
  cp -R "$source_dir/examples/installation/." "$1/Suite/"
  cp "$2" "$1/Suite/Binaries/"
}

compare() { # EXPECTED ACTUAL SUITE: the differences shown, if any
  diff <(sed "s|@SUITE@|${3//\\/\\\\}|g" "$1") <(echo "$2")
}

if [[ $platform == host ]]; then
  work=$1 library=$2 expected=$3
  shift 3
  stage "$work" "$library"
  cp "$source_dir/examples/settings.reg" "$work/sample.reg"
  mkdir -p "$work/home/.config" "$work/tmp"
  printed=$(TSEN_REGISTRY=$work/sample.reg HOME=$work/home XDG_CONFIG_HOME=$work/home/.config \
    TMPDIR=$work/tmp "$@" "$work/Suite/Binaries/$(basename "$library")")
  compare "$expected" "$printed" "${work//\//\\}\\Suite"
  echo "$printed"
  exit 0
fi

prefix=$1 work=$2 library=$3 recorder=$4 expected=$5 program=$6
wine=(bash "$source_dir/cmake/wine-run.sh" "$prefix")
windows() { echo "Z:${1//\//\\}"; }
stage "$work" "$library"
cp "$program" "$recorder" "$work/Suite/Binaries/"
"${wine[@]}" reg delete 'HKCU\SOFTWARE\Quarzel' /f >/dev/null 2>&1 || true
"${wine[@]}" regedit /S "$(windows "$source_dir/examples/settings.reg")"
"${wine[@]}" reg add 'HKCR\https\shell\open\command' /ve /f /d \
  "\"$(windows "$work/Suite/Binaries/$(basename "$recorder")")\" \"$(windows "$work/opened.log")\" \"%1\"" \
  >/dev/null
printed=$("${wine[@]}" "$work/Suite/Binaries/$(basename "$program")" | tr -d '\r')
echo "$printed"
compare "$expected" "$printed" "$(windows "$work/Suite")"

# The browser is started, not waited for: give the recorder time on a busy machine.
want=$(grep -c . "$expected.opened")
for _ in $(seq 300); do
  [[ -f $work/opened.log && $(grep -c . "$work/opened.log") -ge $want ]] && break
  sleep 0.1
done
compare "$expected.opened" "$(sort "$work/opened.log" 2>/dev/null)" "$(windows "$work/Suite")"

#!/usr/bin/env bash
# Runs a caller of the library against a scratch copy of the sample
# installation, with the library in its Binaries folder and the sample
# settings in force, and compares what it prints with EXPECTED, in which
# @SUITE@ stands for the staged application folder and @USER@ for the user:
#   run-on-sample.sh host WORK LIBRARY EXPECTED COMMAND...
#   run-on-sample.sh wine WORK LIBRARY EXPECTED PROGRAM PREFIX RECORDER
# Under Wine, in the interface tests' own prefix, the program lies in the
# application folder, outside Binaries, so only the library's own file name
# can give that folder; the address recorder stands in for the browser: the
# addresses opened are compared with EXPECTED.opened.
set -euo pipefail
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
platform=$1 work=$2 library=$3 expected=$4
shift 4
rm -rf "$work" && mkdir -p "$work/Suite/Binaries"
cp -R "$source_dir/examples/installation/." "$work/Suite/"
cp "$library" "$work/Suite/Binaries/"
compare() { # EXPECTED ACTUAL: the differences shown, if any
  diff <(sed "s|@SUITE@|${suite//\\/\\\\}|g" "$1") <(echo "$2" | sed 's|\\users\\[^\\]*|\\users\\@USER@|')
}

if [[ $platform == host ]]; then
  suite=${work//\//\\}\\Suite
  cp "$source_dir/examples/settings.reg" "$work/sample.reg"
  printed=$(TSEN_REGISTRY=$work/sample.reg "$@" "$work/Suite/Binaries/$(basename "$library")")
  compare "$expected" "$printed"
  exit
fi

program=$1 recorder=$3
wine=(bash "$source_dir/cmake/wine-run.sh" "$2")
windows() { echo "Z:${1//\//\\}"; }
suite=$(windows "$work/Suite")
cp "$program" "$work/Suite/" && cp "$recorder" "$work/Suite/Binaries/"
"${wine[@]}" reg delete 'HKCU\SOFTWARE\Quarzel' /f >/dev/null 2>&1 || true
"${wine[@]}" regedit /S "$(windows "$source_dir/examples/settings.reg")"
"${wine[@]}" reg add 'HKCR\https\shell\open\command' /ve /f /d \
  "\"$suite\\Binaries\\$(basename "$recorder")\" \"$(windows "$work/opened.log")\" \"%1\"" >/dev/null
printed=$(WINEPATH="$suite\\Binaries" "${wine[@]}" "$work/Suite/$(basename "$program")" | tr -d '\r')
compare "$expected" "$printed"
# The browser is started, not waited for: give the recorder time on a busy machine.
for _ in $(seq 300); do
  [[ $(sort "$work/opened.log" 2>/dev/null) == "$(<"$expected.opened")" ]] && break
  sleep 0.1
done
compare "$expected.opened" "$(sort "$work/opened.log" 2>/dev/null)"

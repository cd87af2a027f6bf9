#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the build's own:
#   wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
#   wine-run.sh PREFIX --prepare      only makes sure the prefix exists
#   wine-run.sh PREFIX --shutdown     ends the prefix's Wine processes
# The prefix is made on first use; the Wine server is kept a while after the
# last program ends, as starting it and the prefix's services costs seconds.
set -euo pipefail
# Wine takes only an absolute prefix. No prompts to install .NET or HTML engines.
prefix=$(realpath -m -- "$1") wine=${TSEN_WINE64:-/usr/lib/wine/wine64}
shift
wineserver=$(dirname "$wine")/wineserver
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
unset DISPLAY WAYLAND_DISPLAY

if [[ $1 == --shutdown ]]; then
  "$wineserver" -k >/dev/null 2>&1 || true
  exit 0
fi

# One caller at a time makes the prefix and starts its server and services,
# with no output attached: they outlive the program that starts them, and a
# test runner waits for a test's output to close.
mkdir -p "$(dirname "$prefix")"
exec {lock}>"$prefix.lock"
flock "$lock"
if [[ ! -e $prefix/.tsen-ready ]]; then
  rm -rf "$prefix"
  "$wine" wineboot --init </dev/null >/dev/null 2>&1
  "$wineserver" -w
  touch "$prefix/.tsen-ready"
fi
# Starting the server fails harmlessly when it runs already.
if "$wineserver" -p30 </dev/null >/dev/null 2>&1; then
  "$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
fi
flock -u "$lock"
exec {lock}>&-

if [[ $1 == --prepare ]]; then
  exit 0
fi
exec "$wine" "$@"

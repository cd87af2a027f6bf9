#!/usr/bin/env bash
# Installs those of the named Debian packages that are not installed yet:
#   scripts/install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
((${#missing[@]} > 0)) || exit 0

echo "== installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "installing packages needs root: run as root, or install them first" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"

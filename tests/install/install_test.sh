#!/usr/bin/env bash
# `cmake --install` of the build into a scratch DESTDIR under a prefix of its own: nothing lands
# outside the two, and the installed tree works (check-install).
# Usage: install_test.sh CMAKE BUILD_DIR CHECK_INSTALL
set -euo pipefail
cmake=$1
build=$2
check=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root "$cmake" --install "$build" --prefix /opt/quintabell >/dev/null
outside=$(find "$root" -mindepth 1 -not -path "$root/opt" -not -path "$root/opt/quintabell*")
[ -z "$outside" ] || { echo "installed outside DESTDIR/prefix: $outside"; exit 1; }
"$check" "$root" /opt/quintabell

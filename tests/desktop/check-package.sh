#!/usr/bin/env bash
# Builds the Debian package from the build folder and lets lintian judge it:
# any error or warning fails. Then unpacks it and checks the unpacked binary
# finds its own data through the relocatable data folder.
# usage: check-package.sh <build dir>
set -euo pipefail
build=$1
cd "$build"
cpack -G DEB > cpack.log 2>&1 || { cat cpack.log; exit 1; }
deb=$(ls -t orvane_*_amd64.deb | head -n 1)
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
"$root/usr/bin/orvane" --version
[ -f "$root/usr/share/orvane/Language/Default.ovs" ]
[ -f "$root/usr/share/orvane/help/index.html" ]
echo "package $deb: lintian clean, unpacks with its data"

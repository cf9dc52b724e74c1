#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what the desktop reads
# from it: the desktop entry, the AppStream data, the MIME package (and that
# the MIME database takes it), every icon size, the manual page, and the
# information options of the installed binary.
# usage: check-desktop-files.sh <build dir>
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$root/usr" > /dev/null
share=$root/usr/share

desktop-file-validate "$share/applications/orvane.desktop" || fail "desktop entry"
grep -q '^MimeType=.*application/x-orvane-playlist;' "$share/applications/orvane.desktop" ||
    fail "the desktop entry does not claim the playlist type"
grep -q '^MimeType=.*audio/mpeg;' "$share/applications/orvane.desktop" ||
    fail "the desktop entry does not claim MP3"
appstreamcli validate --no-net "$share/metainfo/org.orvane.Orvane.metainfo.xml" || fail "metainfo"
xmllint --noout "$share/mime/packages/orvane.xml" || fail "MIME package"

update-mime-database "$share/mime" > /dev/null
grep -q 'application/x-orvane-playlist' "$share/mime/globs2" || fail "MIME glob not taken"
grep -q 'x-orvane-playlist' "$share/mime/magic" || fail "MIME magic not taken"

for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/orvane.png
    [ -f "$png" ] || fail "no ${size}px icon"
    got=$(identify -format '%wx%h' "$png")
    [ "$got" = "${size}x${size}" ] || fail "${size}px icon is $got"
done
[ -f "$share/icons/hicolor/scalable/apps/orvane.svg" ] || fail "no scalable icon"
zcat "$share/man/man1/orvane.1.gz" | grep -q '^\.TH ORVANE 1' || fail "manual page"

# The installed binary answers from its own folder, and its data is beside it.
version=$("$root/usr/bin/orvane" --version) || fail "--version exit status"
[[ $version == "orvane "* ]] || fail "--version printed '$version'"
"$root/usr/bin/orvane" --help | grep -q '^Usage: orvane' || fail "--help"
[ -f "$share/orvane/Language/Default.ovs" ] || fail "language files not installed"
[ -f "$share/orvane/help/index.html" ] || fail "manual not installed"
echo "desktop files: all checks passed"

#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and
# checks what it holds, what it depends on and what lintian says of it.
#   package_test.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
BUILD=$1 VERSION=$2 ID=$3
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK" >/dev/null
deb=$WORK/morvane_${VERSION}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $(basename "$deb")"

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
wanted=(usr/bin/morvane usr/bin/morvane-render usr/share/applications/$ID.desktop
  usr/share/metainfo/$ID.metainfo.xml usr/share/icons/hicolor/scalable/apps/$ID.svg
  usr/share/icons/hicolor/256x256/apps/$ID.png usr/share/icons/hicolor/16x16/apps/$ID.png
  usr/share/man/man1/morvane.1.gz usr/share/man/man1/morvane-render.1.gz usr/share/morvane/metronome/beat.wav
  usr/share/morvane/help/manual.html usr/share/morvane/translations/morvane_de.qm
  usr/share/doc/morvane/copyright usr/share/doc/morvane/changelog.gz)
for f in "${wanted[@]}"; do
  grep -qx "./$f" <<<"$listing" || fail "the package lacks /$f"
done
# Only the programs and their data: no test, benchmark or build-tree file.
if grep -vE '^\./usr/(bin/(morvane|morvane-render)?|share/((applications|metainfo|icons|man|morvane|doc)/.*)?)?$' <<<"$listing"; then
  fail "unexpected files in the package"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6core6 libc6 qt6-qpa-plugins; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" >/dev/null 2>&1 || fail "lintian"
echo "package: $(basename "$deb") checked"

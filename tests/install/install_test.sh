#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the result as a user
# of the installed program would meet it: validators, man pages, versions, a
# render and a window start that use only the installed data, translations.
#   install_test.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
BUILD=$1 VERSION=$2 ID=$3
WORK=$(mktemp -d)
PID=
cleanup() {
  [[ -n $PID ]] && kill "$PID" 2>/dev/null && wait "$PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Nothing of the real user's, nor an installed copy elsewhere, may be found.
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/config XDG_DATA_HOME=$WORK/home/data
export XDG_DATA_DIRS=$WORK/none XDG_RUNTIME_DIR=$WORK/run
unset MORVANE_DATA_DIR LANGUAGE LC_ALL LC_MESSAGES
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

DESTDIR=$WORK/root cmake --install "$BUILD" --prefix /usr >/dev/null
P=$WORK/root/usr
SHARE=$P/share/morvane

files=(bin/morvane bin/morvane-render share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml
  share/icons/hicolor/scalable/apps/$ID.svg share/man/man1/morvane.1.gz share/man/man1/morvane-render.1.gz
  share/morvane/help/manual.html share/morvane/translations/morvane_de.qm share/doc/morvane/copyright)
for s in 16 22 24 32 48 64 128 256; do files+=(share/icons/hicolor/${s}x$s/apps/$ID.png); done
for f in accent beat click; do files+=(share/morvane/metronome/$f.wav); done
for f in "${files[@]}"; do [[ -s $P/$f ]] || fail "not installed: $f"; done
[[ ! -e $P/share/Morvane ]] || fail "data installed under share/Morvane"
[[ $(identify -format '%wx%h' "$P/share/icons/hicolor/48x48/apps/$ID.png") == 48x48 ]] || fail "48x48 icon size"

desktop-file-validate "$P/share/applications/$ID.desktop" || fail "desktop entry"
grep -qx "Icon=$ID" "$P/share/applications/$ID.desktop" || fail "desktop entry names another icon"
appstreamcli validate --no-net "$P/share/metainfo/$ID.metainfo.xml" >"$WORK/as.txt" 2>&1 || { cat "$WORK/as.txt"; fail "AppStream"; }
grep -q "version=\"$VERSION\"" "$P/share/metainfo/$ID.metainfo.xml" || fail "AppStream release is not $VERSION"

# Man pages: render without a warning, and name every option --help shows.
for page in morvane morvane-render; do
  gz=$P/share/man/man1/$page.1.gz
  warnings=$(MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$page.1: $warnings"
  roff=$(zcat "$gz" | sed 's/\\-/-/g')
  for opt in $("$P/bin/$page" --help 2>&1 | grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' | tr -d ' ,' | sort -u); do
    grep -qe "$opt\b" <<<"$roff" || fail "$page.1 does not describe $opt from --help"
  done
  [[ $("$P/bin/$page" --version) == "$page $VERSION" ]] || fail "$page --version"
done

# A render with only the installed data: the installed beat sound is swapped
# for the accent, so a track of plain beats shows which folder was read.
cp "$SHARE/metronome/accent.wav" "$SHARE/metronome/beat.wav"
args=(--tempo 150 --seconds 2)
(cd "$WORK" && "$P/bin/morvane-render" "${args[@]}" -o installed.wav >/dev/null) || fail "installed render"
"$BUILD/tools/morvane-render" "${args[@]}" --beat "$SHARE/metronome/accent.wav" -o "$WORK/expected.wav" >/dev/null
cmp -s "$WORK/installed.wav" "$WORK/expected.wav" || fail "the installed render did not use the installed sounds"

# German texts under a German locale (no locale data needed: Qt reads LANG).
LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen "$P/bin/morvane" --help | grep -q "Aufruf: morvane" || fail "German --help"
LANG=C QT_QPA_PLATFORM=offscreen "$P/bin/morvane" --help | grep -q "usage: morvane" || fail "English --help"

# The window offscreen copies its default sounds from the installed folder
# (the swapped beat tells) and keeps running until asked to quit.
QT_QPA_PLATFORM=offscreen MORVANE_AUDIO_CAPTURE=$WORK/capture.wav "$P/bin/morvane" >"$WORK/window.log" 2>&1 &
PID=$!
copy=$XDG_DATA_HOME/Morvane/Shared/metronome
for _ in $(seq 100); do [[ -s $copy/.shipped ]] && break; sleep 0.1; done
sleep 0.5
kill -0 "$PID" 2>/dev/null || { cat "$WORK/window.log"; fail "the window did not keep running"; }
cmp -s "$copy/beat.wav" "$SHARE/metronome/accent.wav" || fail "the window did not copy the installed sounds"
kill -TERM "$PID"
status=0
wait "$PID" || status=$?
PID=
[[ $status == 0 ]] || { cat "$WORK/window.log"; fail "the window ended with status $status"; }
echo "install: all checks passed"

#!/usr/bin/env bash
# End-to-end run of the desktop program under Xvfb: a copy of the program in a temporary
# folder (its catalog files land beside it), a temporary settings store pointing at the sample
# logs, a screenshot once the main window shows, then items of the first forum selected with the
# mouse and the keyboard and screenshots of their detail pane (the first item's file is not in
# the sample downloads, the third one's is), a second program started on the same catalog
# (it shows that the catalog is in use and ends), then SIGTERM,
# and the checks that the catalog files and the settings were written.
#
#   e2e_xvfb.sh PROGRAM SAMPLES_DIR ARTIFACT_DIR
set -euo pipefail
program=$1
samples=$(cd "$2" && pwd)
artifacts=$(mkdir -p "$3" && cd "$3" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# A sanitizer build reports the desktop libraries' own leaks; those are suppressed, ours are not.
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"


work=$(mktemp -d "${TMPDIR:-/tmp}/quenbrill-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/quenbrill"
mkdir -p "$work/config/Quenbrill"
# Normal state at fixed bounds: Xvfb has no window manager to maximise the window.
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty]\r\n'
    printf '"LogPath"="%s/logs/"\r\n"DownPath"="%s/download/"\r\n\r\n' "$samples" "$samples"
    printf '[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings]\r\n'
    printf '"Top"="0"\r\n"Left"="0"\r\n"Height"="480"\r\n"Width"="720"\r\n'
    printf '"Splitter"="200"\r\n"Maximized"="0"\r\n\r\n'
} >"$work/config/Quenbrill/registry.reg"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -u
cd "$WORK"
unset QT_QPA_PLATFORMTHEME
XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM=xcb ./quenbrill &
pid=$!
shown=0
for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Quenbrill"'; then
        shown=1
        break
    fi
    sleep 0.1
done
# Let the first scan finish and the window paint.
sleep 1.5
import -window root "$ARTIFACTS/quenbrill-e2e.png"
# A second program on the same catalog says that it is in use and ends without writing.
files_before=$(ls -l --time-style=full-iso quenbrill.* 2>/dev/null || true)
XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM=xcb ./quenbrill &
second=$!
box=""
for _ in $(seq 1 100); do
    box=$(xdotool search --pid "$second" 2>/dev/null | tail -n 1 || true)
    [ -n "$box" ] && xwininfo -id "$box" 2>/dev/null | grep -q "IsViewable" && break
    box=""
    sleep 0.1
done
sleep 0.5
import -window root "$ARTIFACTS/quenbrill-e2e-in-use.png"
[ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
refused=124
for _ in $(seq 1 50); do
    if ! kill -0 "$second" 2>/dev/null; then
        wait "$second"
        refused=$?
        break
    fi
    sleep 0.1
done
kill -KILL "$second" 2>/dev/null || true
echo "second program: box=${box:-none} status=$refused"
[ "$refused" = 1 ] || exit 1
[ "$(ls -l --time-style=full-iso quenbrill.* 2>/dev/null || true)" = "$files_before" ] || exit 1
# The window has no frame at 0, 0: a click on the root's row (tool bar 33 pixels high) selects
# it; Right opens a node, Down moves to the next row.
xdotool mousemove 40 44 click 1
sleep 0.3
xdotool key Right Down Right Down
sleep 1
import -window root "$ARTIFACTS/quenbrill-e2e-missing.png"
xdotool key Down Down
sleep 1
import -window root "$ARTIFACTS/quenbrill-e2e-item.png"
kill -TERM "$pid"
wait "$pid"
status=$?
echo "shown=$shown status=$status"
[ "$shown" = 1 ] && [ "$status" = 0 ]
SESSION
chmod +x "$work/session.sh"
WORK=$work ARTIFACTS=$artifacts xvfb-run -a -s "-screen 0 800x600x24" "$work/session.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }
for ext in dat trr nod; do
    [ -s "$work/quenbrill.$ext" ] || fail "quenbrill.$ext was not written"
done
reg="$work/config/Quenbrill/registry.reg"
for value in PreDateTimeF Splitter Maximized Top Left Height Width; do
    grep -q "^\"$value\"=" "$reg" || fail "$value was not stored"
done
grep -q '^"Maximized"="0"' "$reg" || fail "Maximized changed"
# The tree file holds the root and the sample forums.
[ "$(head -c 18 "$work/quenbrill.trr")" = "Niftyserve-Library" ] || fail "unexpected tree file"
# A screenshot with a drawn window, not an empty screen.
colours=$(convert "$artifacts/quenbrill-e2e.png" -format %k info:)
[ "$colours" -gt 16 ] || fail "screenshot shows $colours colours only"
# Selecting an item changed the picture: its text, name, date and icon are in the pane.
difference=$(compare -metric AE "$artifacts/quenbrill-e2e.png" "$artifacts/quenbrill-e2e-item.png" \
    null: 2>&1 || true)
[ "${difference%% *}" -gt 1000 ] 2>/dev/null || fail "selecting an item changed $difference pixels only"
cp "$reg" "$artifacts/registry-after.reg"
echo "screenshots: $artifacts/quenbrill-e2e.png ($colours colours)," \
    "$artifacts/quenbrill-e2e-item.png ($difference pixels changed)"

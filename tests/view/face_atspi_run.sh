#!/usr/bin/env bash
# Runs the face's AT-SPI test on a private X server and a private session bus, whose
# accessibility bus starts on first use; everything ends with the test.
#   face_atspi_run.sh PROBE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
probe=$1

workdir=$(mktemp -d "${TMPDIR:-/tmp}/face-atspi.XXXXXX")
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
    [ -s "$workdir/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$workdir/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
[ -s "$workdir/display" ] || { echo "Xvfb gave no display" >&2; exit 1; }

export DISPLAY=":$(head -n1 "$workdir/display")"
unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$workdir/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0
dbus-run-session -- /usr/bin/python3 "$here/face_atspi_test.py" "$probe"

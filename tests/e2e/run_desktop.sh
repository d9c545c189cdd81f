#!/usr/bin/env bash
# Runs a command on a desktop of its own: a private X server (Xvfb on a free display), a private
# session bus and an accessibility bus, all ended when the command ends.
#   tests/e2e/run_desktop.sh COMMAND [ARGS...]
# Screen size: TAVU_E2E_SCREEN (default 1280x800x24).
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

if [ "${TAVU_E2E_INNER:-}" = 1 ]; then
    # On the private session bus: start the accessibility bus, run the command, end the bus.
    # The buses' chatter went to a log; the command gets the caller's standard error back. Each
    # process dies with the shell that started it, even when that shell is killed.
    unset TAVU_E2E_INNER
    exec 2>&4 4>&-
    setpriv --pdeathsig TERM -- /usr/libexec/at-spi-bus-launcher --launch-immediately \
        >>"$TAVU_E2E_LOG" 2>&1 &
    launcher=$!
    # The bus is usable once the launcher owns its name on the session bus. (Asking the name
    # itself would have the session bus start a second launcher.)
    for _ in $(seq 1 200); do
        if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null \
            | grep -q 'boolean true'; then
            break
        fi
        sleep 0.05
    done
    set +e
    setpriv --pdeathsig TERM -- "$@"
    status=$?
    set -e
    kill "$launcher" 2>/dev/null || true
    wait "$launcher" 2>/dev/null || true
    exit "$status"
fi

workdir=$(mktemp -d "${TMPDIR:-/tmp}/tavu-e2e.XXXXXX")
xvfb_pid=
cleanup() {
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid"; wait "$xvfb_pid"; } 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb picks a free display itself and writes its number to the descriptor given.
setpriv --pdeathsig TERM -- Xvfb -displayfd 3 -screen 0 "${TAVU_E2E_SCREEN:-1280x800x24}" -nolisten tcp -noreset \
    3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
    [ -s "$workdir/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        cat "$workdir/xvfb.log" >&2
        echo "run_desktop: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.05
done
display=$(head -n1 "$workdir/display")
[ -n "$display" ] || { echo "run_desktop: Xvfb gave no display" >&2; exit 1; }

export DISPLAY=":$display"
unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$workdir/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
# The tests find controls by their English labels, whatever the language of the machine.
export LANGUAGE=en
export QT_ACCESSIBILITY=1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0
export TAVU_E2E_INNER=1
export TAVU_E2E_LOG="$workdir/buses.log"
set +e
setpriv --pdeathsig TERM -- dbus-run-session -- setpriv --pdeathsig TERM -- "$0" "$@" \
    4>&2 2>"$TAVU_E2E_LOG"
status=$?
set -e
[ "$status" -eq 0 ] || [ ! -s "$TAVU_E2E_LOG" ] || { echo "run_desktop: the buses said:"; tail -n 20 "$TAVU_E2E_LOG"; } >&2
exit "$status"

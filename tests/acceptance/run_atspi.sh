#!/usr/bin/env bash
# Runs an accessibility-bus acceptance script against the real program inside a private X
# server and D-Bus session. Usage: run_atspi.sh SCRIPT PROGRAM
set -euo pipefail
script="$1"
program="$2"

# The X server picks a free display itself and writes its number once it accepts
# connections (-displayfd), so runs started at the same moment never share or race a display.
work="$(mktemp -d)"
Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 200); do
  [ -s "$work/display" ] && break
  kill -0 $xvfb 2>/dev/null || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start in time" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
unset XAUTHORITY

status=0
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    sleep 1
    status=0
    timeout 120 /usr/bin/python3 "$0" "$1" || status=$?
    kill $launcher 2>/dev/null || true
    exit $status' "$script" "$program" || status=$?
exit $status

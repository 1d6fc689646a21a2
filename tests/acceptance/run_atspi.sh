#!/usr/bin/env bash
# Runs an accessibility-bus acceptance script against the real program inside a private X
# server and D-Bus session. Usage: run_atspi.sh SCRIPT PROGRAM
set -euo pipefail
script="$1"
program="$2"
# A random first display number: several runs starting at once would otherwise all try :99.
exec xvfb-run -n $((100 + RANDOM % 800)) -a -s "-screen 0 1280x900x24" \
  dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    sleep 1
    status=0
    timeout 120 /usr/bin/python3 "$0" "$1" || status=$?
    kill $launcher 2>/dev/null || true
    exit $status' "$script" "$program"

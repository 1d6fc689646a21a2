#!/usr/bin/env bash
# Runs a benchmark with the accessibility bridge on, as on a desktop with a screen reader:
# a private X server, a D-Bus session with the accessibility bus, and a listener registered
# for every object event (the bridge sends only the events someone listens for).
# Usage: bench/run_with_accessibility.sh build/test/morvane_stockbench [options]
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x900x24" dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  sleep 1
  /usr/bin/python3 -c "
import pyatspi
def heard(event):
    pass
pyatspi.Registry.registerEventListener(heard, \"object\", \"window\", \"focus\")
pyatspi.Registry.start()
" &
  listener=$!
  sleep 2
  status=0
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@" || status=$?
  kill $listener $launcher 2>/dev/null || true
  exit $status' bash "$@"

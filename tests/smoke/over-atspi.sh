#!/bin/sh
# Runs one of the Python tests here in a D-Bus session of its own, which
# gives it the AT-SPI bus. Debian's python3 is named: it is the one that
# python3-pyatspi installs into. Exit status 77 (skipped) without them.
if ! command -v dbus-run-session >/dev/null || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "skipped: needs dbus-run-session and python3-pyatspi"
  exit 77
fi
PYTHONDONTWRITEBYTECODE=1 exec dbus-run-session -- /usr/bin/python3 "$@"

#!/usr/bin/env bash
# Reads the control window of the program over AT-SPI as a screen reader does
# (read_tree.py), on an X server and a D-Bus session of its own, and removes
# both afterwards.
#   read_tree.sh [PROGRAM]   (default: build/Qorvix of this tree)
# The program runs as a copy outside its build tree, so that it keeps its
# settings file in a temporary folder.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="${1:-$here/../../build/Qorvix}"
for tool in Xvfb xdotool dbus-run-session dbus-daemon /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "read_tree.sh: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb=""
cleanup() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
cp "$program" "$work/Qorvix"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

# Xvfb picks a free display and writes its number once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "read_tree.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# The session bus starts the accessibility bus when the program asks for it.
timeout 300 dbus-run-session -- /usr/bin/python3 "$here/read_tree.py" "$work/Qorvix"

#!/usr/bin/env bash
# The window as a screen reader meets it: runs zenavo on a virtual display with the AT-SPI
# accessibility bus on, presses "Calcular" for the start-up site with Alt+C, chooses the
# second satellite with the keyboard (three Tabs from the latitude box, then Down), then prints the accessibility tree (dump_tree.py) and
# saves a screenshot. A developer aid, not part of the test run; needs xvfb, dbus,
# at-spi2-core, python3-pyatspi, xdotool and imagemagick (scripts/install-deps).
#
#   tools/a11y/check_window.sh [BIN_DIR] [SCREENSHOT.png]
# SCREEN=1024x600x24 for a small screen; QT_SCALE_FACTOR=2 for 200 %; CELLS=N to shorten tables.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../../build/bin}" && pwd)
shot=${2:-$PWD/zenavo-a11y.png}
if [ -z "${ZENAVO_A11Y_INSIDE:-}" ]; then
  export ZENAVO_A11Y_INSIDE=1
  exec xvfb-run -a -s "-screen 0 ${SCREEN:-1280x1024x24}" dbus-run-session -- "$0" "$bin" "$shot"
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
app=""
trap 'kill $app $launcher 2>/dev/null || true' EXIT
sleep 1
QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$bin/zenavo" &
app=$!
window=$(xdotool search --sync --name '^Zenavo')
xdotool windowfocus --sync "$window"
sleep 1
xdotool key --window "$window" alt+c  # "Calcular"
sleep 3
xdotool key --window "$window" Tab Tab Tab Down  # into the satellite table, second row
sleep 1
/usr/bin/python3 "$here/dump_tree.py" ${CELLS:+--cells "$CELLS"}
import -window root "$shot"
echo "screenshot: $shot" >&2

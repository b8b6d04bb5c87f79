#!/bin/sh
# Runs an accessibility test (a Python script using pyatspi) against the
# desktop program on a virtual X screen of 1366 by 768, with a session bus of
# its own (which starts the accessibility bus on demand). Skips, with one
# line saying why, when a piece is missing; scripts/bootstrap installs them.
#   run_a11y.sh SCRIPT BIN_DIR SIM_DIR SOURCE_DIR
set -u
script=$1
py=${A11Y_PYTHON:-/usr/bin/python3}  # the Debian Python, which has python3-pyatspi
skip() { echo "a11y: SKIPPED, $1 (scripts/bootstrap installs it)"; exit 77; }
[ -x "$py" ] || skip "$py is missing"
"$py" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
command -v xvfb-run >/dev/null 2>&1 || skip "xvfb-run (xvfb) is not installed"
command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session (dbus) is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the accessibility bus (at-spi2-core) is not installed"
shift
exec xvfb-run -a -s "-screen 0 1366x768x24" dbus-run-session -- "$py" "$script" "$@"

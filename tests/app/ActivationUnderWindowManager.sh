#!/bin/sh
# The module under a real X server and window manager, with a host table
# missing so that the start-up fails:
#  - the error box shows once; after OK it does not come back;
#  - going to another application and back tries the start-up once more;
#  - the window then closes through the window manager and the process ends.
# Usage: ActivationUnderWindowManager.sh <Korvex_Export> <korvex_make_host>
# Exits 77 (skipped) when Xvfb, openbox or xdotool is not installed.
set -eu
exe=$1
make_host=$2
for tool in Xvfb openbox xdotool xlogo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pids=
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number: the lock file of a display in use exists.
n=70
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
# -noreset: a server that resets when its first client (the readiness probe)
# leaves can refuse the window manager that connects during the reset.
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids="$!"
export DISPLAY=":$n"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
# Both waits end as soon as the server is ready; the limits only have to
# outlast a machine busy with the rest of the suite.
tries=0
until xdotool getmouselocation >/dev/null 2>&1; do
  tries=$((tries + 1)); [ $tries -lt 600 ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }; sleep 0.1
done
openbox >"$work/openbox.log" 2>&1 &
pids="$pids $!"
# The window manager is ready once it announces its desktops.
tries=0
until xdotool get_desktop >/dev/null 2>&1; do
  tries=$((tries + 1)); [ $tries -lt 600 ] || { echo "openbox did not start"; cat "$work/openbox.log"; exit 1; }; sleep 0.1
done

prg=$("$make_host" "$work/host" --vehicles 3)
cp "$exe" "$prg/Korvex_Export"
rm "$work/host/Data/Prijeti.DB"
"$prg/Korvex_Export" >"$work/module.log" 2>&1 &
module=$!
pids="$pids $module"

boxes() { xdotool search --onlyvisible --name '^Korvex_Export$' 2>/dev/null | wc -l; }
wait_for_box() {
  tries=0
  until [ "$(boxes)" -ge 1 ]; do
    tries=$((tries + 1)); [ $tries -lt 150 ] || { echo "FAIL: $1: no error box"; exit 1; }; sleep 0.1
  done
}
press_ok() {
  box=$(xdotool search --onlyvisible --name '^Korvex_Export$' | head -n 1)
  xdotool windowactivate --sync "$box" key --clearmodifiers Return
}

wait_for_box "start-up"
press_ok
sleep 2
if [ "$(boxes)" -ne 0 ]; then echo "FAIL: the error box came back after OK"; exit 1; fi

main=$(xdotool search --onlyvisible --name 'Exportní modul' | head -n 1)
[ -n "$main" ] || { echo "FAIL: no main window"; exit 1; }
xlogo >/dev/null 2>&1 &
pids="$pids $!"
sleep 1
logo=$(xdotool search --onlyvisible --class xlogo | head -n 1)
xdotool windowactivate --sync "$logo"
sleep 1
# Not --sync: the box of the new try may take the activation first, and
# xdotool would wait its full 15 s for the main window.
xdotool windowactivate "$main"
wait_for_box "return from another application"
if [ "${SCREENSHOT:-}" ]; then import -window root "$SCREENSHOT"; fi
press_ok
sleep 2
if [ "$(boxes)" -ne 0 ]; then echo "FAIL: the error box came back after the retry"; exit 1; fi

xdotool windowactivate --sync "$main" key --clearmodifiers alt+F4
tries=0
while kill -0 "$module" 2>/dev/null; do
  tries=$((tries + 1)); [ $tries -lt 100 ] || { echo "FAIL: the window did not close"; exit 1; }; sleep 0.1
done
echo "PASS"

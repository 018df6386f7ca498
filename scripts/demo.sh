#!/usr/bin/env bash
# The demo: builds the module, generates a dealer installation (about 40
# vehicles over two branches, photos included), starts the local portal stub
# and lets the real executable publish in automatic mode ("RYCHLE") without a
# display. The first run imports the host and marks every vehicle afterwards;
# the second publishes them all. Prints a short summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build-demo -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF -DKORVEX_BUILD_BENCH=OFF

demo=${KORVEX_DEMO_DIR:-$PWD/demo-host}
rm -rf "$demo"
prg=$(build-demo/tools/hostfixture/korvex_make_host "$demo" --demo)
prg=${prg%/}
cp build-demo/src/app/Korvex_Export "$prg"
# The demo dealer's portal account (user name on line 4, password on line 5).
printf '1\r\n0\r\n150\r\nautobazar-demo\r\nheslo\r\n\r\n\r\n\r\n\r\n' > "$prg/Korvex.ddd"
chmod 600 "$prg/Korvex.ddd"

mkdir -p "$demo/portal"
build-demo/tools/portalstub/korvex_portal_stub --data "$demo/portal" --date "$(date +%-d.%-m.%Y)" \
  > "$demo/portal.log" &
stub=$!
trap 'kill $stub 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  grep -q '^port ' "$demo/portal.log" && break
  sleep 0.1
done
port=$(awk '/^port /{print $2}' "$demo/portal.log")
export KORVEX_GATEWAY_URL="http://127.0.0.1:$port" KORVEX_MAKER_URL="http://127.0.0.1:$port"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

# Offscreen no message box waits and each run ends on its own with a status
# that says how it went; the time limit only guards the demo against a hang.
# Nothing is marked before the first run, so the withdrawal guard stops that
# empty send (status 5) and the run marks every vehicle for the next one,
# which publishes them (status 0).
for run in 1 2; do
  expected=$([ $run -eq 1 ] && echo 5 || echo 0)
  status=0
  timeout 300 "$prg/Korvex_Export" RYCHLE || status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "Run $run of Korvex_Export ended with status $status instead of $expected; see $prg/Korvex_log.txt." >&2
    exit 1
  fi
done

table=$(find "$demo" -maxdepth 2 -name Nesta.DB | head -n 1)
archive=$(find "$demo/portal" -name '*.zip' | head -n 1)
echo "Demo host installation:    $demo"
echo "Module installed in:       $prg"
echo "Vehicles in Nesta.DB:      $(sqlite3 "$table" 'select count(*) from Nesta')"
echo "Marked for the next run:   $(sqlite3 "$table" 'select count(*) from Nesta where OZNACENO = 1')"
echo "Offers in Data.xml:        $(grep -c '<offer>' "$prg/Korvex_zip/Data.xml")"
echo "Pictures sent:             $(find "$prg/Korvex_zip" -iname '*.jpg' | wc -l)"
echo "Archive received by stub:  $(stat -c %s "$archive") bytes"
echo "Gateway reply:             $prg/Korvex_zip/Response.htm"
echo "Sends in the history:      $(sqlite3 "$prg/Korvex_historie.db" 'select count(*) from odeslani')"
echo "Preview of the next send:  $prg/Korvex_Export --nahled"

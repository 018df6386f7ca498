#!/usr/bin/env bash
# package_test.sh <build folder>: makes the Debian package from the build,
# checks its files and its dependency field, unpacks it into a throw-away
# root and runs the module's "--version" from there.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/out/korvex-export_*.deb) || fail "no package made"

contents=$(dpkg-deb -c "$deb")
for file in ./opt/korvex-export/Korvex_Export ./opt/korvex-export/README.md \
    ./opt/korvex-export/contrib/korvex-export.service ./opt/korvex-export/contrib/korvex-export.timer \
    ./opt/korvex-export/contrib/korvex-export.cron ./usr/share/applications/korvex-export.desktop \
    ./usr/share/icons/hicolor/scalable/apps/korvex-export.svg; do
  grep -q " $file\$" <<<"$contents" || fail "$file missing from the package"
done
grep -q 'rwxr-xr-x.* ./opt/korvex-export/Korvex_Export$' <<<"$contents" || fail "Korvex_Export is not executable"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libcurl4 libsqlite3-0 libjpeg62-turbo libminizip1 zlib1g ca-certificates; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
# Every library the executable loads comes from a declared package.
for lib in $(ldd "$build/src/app/Korvex_Export" | awk '/libQt6|libcurl|libsqlite|libjpeg|libminizip|libz\./{print $1}'); do
  owner=$(dpkg -S "*/$lib" 2>/dev/null | head -n 1 | cut -d: -f1) || owner=
  [[ -n $owner ]] || fail "$lib belongs to no Debian package"
  grep -qE "(^|, )$owner( |,|$)" <<<"$depends" || fail "$lib comes from $owner, which Depends lacks"
done

dpkg -x "$deb" "$work/root"
version=$(env -u DISPLAY QT_QPA_PLATFORM= "$work/root/opt/korvex-export/Korvex_Export" --version)
[[ $version == "Korvex_Export "* ]] || fail "--version printed: $version"
echo "package ok: $(basename "$deb")"

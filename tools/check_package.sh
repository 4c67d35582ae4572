#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks it: the files it must hold, its
# dependencies, that they are satisfied here, that the desktop entry and metainfo validate, and
# that the packaged program starts. Usage: tools/check_package.sh BUILD_DIR
set -euo pipefail
build=$1
(cd "$build" && cpack >/dev/null)
deb=$(ls -t "$build"/qtrv_*.deb | head -1)
echo "package: $(basename "$deb") ($(du -h "$deb" | cut -f1))"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
id=example.qtrv.TuningUtility
for f in usr/bin/qtrv usr/bin/qtrv-sim \
    usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/256x256/apps/$id.png; do
    [[ -s "$root/$f" ]] || { echo "missing from the package: $f"; exit 1; }
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for p in libqt6widgets6 libqt6serialport6 qt6-qpa-plugins fonts-liberation fonts-dancingscript; do
    grep -q "$p" <<<"$depends" || { echo "dependency missing: $p"; exit 1; }
done
dpkg --dry-run -i "$deb" >/dev/null

desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null
exec_line=$(grep '^Exec=' "$root/usr/share/applications/$id.desktop" | cut -d= -f2 | cut -d' ' -f1)
[[ -x "$root/usr/bin/$exec_line" ]] || { echo "the desktop entry starts $exec_line, not in the package"; exit 1; }

# The packaged program starts and keeps running until stopped.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/$exec_line" 2>/dev/null || status=$?
[[ $status -eq 124 ]] || { echo "the packaged program ended by itself (status $status)"; exit 1; }
echo "package checked"

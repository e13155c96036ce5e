#!/usr/bin/env bash
# Builds the Debian package from the build tree in $2 (emptied first) and
# checks that it holds the program, its menu entry, its icons and its
# metainfo, and that it depends on the libraries and on the runtime packages
# the libraries don't bring.
set -euo pipefail
set -f
build=$1 out=$2 id=$3
rm -rf "$out"
mkdir -p "$out"
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  exit 1
fi
deb=$(find "$out" -maxdepth 1 -name "velkor_*_$(dpkg --print-architecture).deb" | head -n 1)
[ -n "$deb" ] || { echo "no package in $out"; cat "$out/cpack.log"; exit 1; }
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
failed=0
for path in ./usr/bin/velkor \
            ./usr/share/applications/$id.desktop \
            ./usr/share/icons/hicolor/scalable/apps/$id.svg \
            ./usr/share/icons/hicolor/48x48/apps/$id.png \
            ./usr/share/icons/hicolor/128x128/apps/$id.png \
            ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/doc/velkor/copyright; do
  grep -qxF "$path" <<<"$contents" || { echo "missing from the package: $path"; failed=1; }
done
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libc6 fonts-noto-cjk shared-mime-info xdg-utils; do
  grep -q "\b$package\b" <<<"$depends" || { echo "not a dependency: $package ($depends)"; failed=1; }
done
# Each PNG is the size its folder names.
for size in 48 128; do
  dpkg-deb --fsys-tarfile "$deb" \
    | tar -xO "./usr/share/icons/hicolor/${size}x${size}/apps/$id.png" >"$out/icon.png"
  file "$out/icon.png" | grep -q "$size x $size" \
    || { echo "icon of $size is $(file -b "$out/icon.png")"; failed=1; }
done
exit $failed

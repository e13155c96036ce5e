#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds, then runs the program ("run"),
# the whole test suite ("test"), the suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize ("sanitize"), checks that every
# source file is formatted ("format"), builds the benchmarks with the other
# duplicate finders they are timed against ("bench") or builds the Debian
# package velkor_<version>_<arch>.deb in build-release and checks it with
# lintian ("package").
# VELKOR_WERROR=ON makes every compiler warning an error (CI sets it).
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(g++ cmake make ccache qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
          qt6-gtk-platformtheme libqt6svg6 fonts-noto-cjk shared-mime-info libgl-dev dbus-x11 xdg-utils
          dbus-daemon libxxhash-dev pkg-config librsvg2-bin)
# The suite validates the menu entry and the metainfo and builds the package
# (dpkg-shlibdeps finds its library dependencies, and reads binaries by file).
case "$mode" in
  test|sanitize) packages+=(desktop-file-utils appstream dpkg-dev file) ;;
  package) packages+=(dpkg-dev file lintian) ;;
esac
# Only for "bench": the content measurement times these beside our own run
# (xxhash brings xxh128sum, the floor it is measured against).
# The program does not use them.
[ "$mode" = bench ] && packages+=(jdupes rmlint xxhash)
[ "$mode" = format ] && packages+=(clang-format git)
# The window tests read the trash back with the desktop's own trash tool.
[ "$mode" = test ] || [ "$mode" = sanitize ] && packages+=(trash-cli)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths relative to the checkout, so a fresh clone reuses what another one compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
werror=(-DVELKOR_WERROR="${VELKOR_WERROR:-OFF}")

# Builds the whole suite in folder $1, with the sanitizers when $2 is ON, and runs it.
run_suite() {
  cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${werror[@]}" \
    -DVELKOR_SANITIZE="$2" "${launcher[@]}"
  cmake --build "$1" -j"$(nproc)"
  cd "$1"
  exec ctest --output-on-failure -j"$(nproc)"
}

case "$mode" in
  run)
    cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    cmake --build "$root/build-release" --target velkor -j"$(nproc)"
    exec "$root/build-release/velkor"
    ;;
  test)
    run_suite "$root/build" OFF
    ;;
  sanitize)
    run_suite "$root/build-sanitize" ON
    ;;
  package)
    cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    cmake --build "$root/build-release" --target velkor velkor_install_files -j"$(nproc)"
    cd "$root/build-release"
    cpack -G DEB
    deb=$root/build-release/$(ls -t velkor_*.deb | head -n 1)
    lintian --fail-on error "$deb"
    echo "$deb"
    ;;
  format)
    cd "$root"
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
    echo "every source file is formatted"
    ;;
  bench)
    cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    cmake --build "$root/build-release" --target velkor-bench -j"$(nproc)"
    echo "$root/build-release/bench/velkor-bench"
    ;;
  *)
    echo "usage: $0 run|test|sanitize|format|bench|package" >&2
    exit 2
    ;;
esac

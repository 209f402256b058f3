#!/usr/bin/env bash
# libjpeg for ruDOZ.exe: libjpeg-turbo from Debian's source package, cross-built with
# MinGW-w64 as a static library. Built once; later calls find it and return.
#   scripts/build-libjpeg-win.sh [INSTALL_DIR]   (default build/libjpeg-win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$root/build/libjpeg-win}
if [[ -f $prefix/lib/libjpeg.a && -f $prefix/include/jpeglib.h ]]; then
  exit 0
fi

work=$root/build/libjpeg-src
mkdir -p "$work"
cd "$work"
src=$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
if [[ -z $src ]]; then
  # setup.sh adds the deb-src entry this needs.
  if ! apt-get source --download-only libjpeg-turbo >/dev/null 2>&1; then
    apt-get update -qq
  fi
  apt-get source libjpeg-turbo
  src=$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
fi
[[ -n $src ]] || { echo "build-libjpeg-win: no libjpeg-turbo source" >&2; exit 1; }

cmake -S "$src" -B build -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
  -DWITH_JPEG8=OFF -DREQUIRE_SIMD=OFF >/dev/null
cmake --build build --target jpeg-static
# Only the library is built, so install it and its four headers by hand.
mkdir -p "$prefix/lib" "$prefix/include"
cp build/libjpeg.a "$prefix/lib/"
cp build/jconfig.h "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$prefix/include/"
echo "build-libjpeg-win: installed in $prefix"

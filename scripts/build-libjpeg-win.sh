#!/usr/bin/env bash
# libjpeg for ruDOZ.exe: libjpeg-turbo from Debian's source package, cross-built with
# MinGW-w64 as a static library with its SIMD code. The version and the SHA-256 of
# its sources are pinned here; the build is stamped with them, the flags, the tools'
# versions and this script, and done again whenever any of them changes. Otherwise
# a call finds the build and returns.
#   scripts/build-libjpeg-win.sh [INSTALL_DIR]   (default build/libjpeg-win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$root/build/libjpeg-win}

# Debian bookworm's libjpeg-turbo.
package=libjpeg-turbo
deb_version=1:2.1.5-2
upstream=2.1.5
declare -A sha256=(
  [libjpeg-turbo_2.1.5.orig.tar.gz]=254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c
  [libjpeg-turbo_2.1.5-2.debian.tar.xz]=cdb2433c2f7101345c1ffa14efb943787c675b86354691a32490845fe4bc9237
)
# BUILD fixes the date libjpeg-turbo would otherwise stamp into its version text.
flags=(-DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF
       -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DBUILD="$deb_version")

fail() { echo "build-libjpeg-win: $*" >&2; exit 1; }
command -v nasm >/dev/null || fail "nasm is missing (run scripts/setup.sh)"
stamp="$package $deb_version
$(for f in "${!sha256[@]}"; do echo "$f ${sha256[$f]}"; done | sort)
flags ${flags[*]}
$(dpkg-query -W -f='${Package} ${Version}\n' gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev nasm 2>/dev/null)
script $(sha256sum <"$0" | cut -d' ' -f1)"
if [[ -f $prefix/lib/libjpeg.a && -f $prefix/build-stamp && "$(cat "$prefix/build-stamp")" == "$stamp" ]]; then
  exit 0
fi
echo "build-libjpeg-win: building $package $deb_version into $prefix"

work=$root/build/libjpeg-src
# The library in use stays until the new one is built: a failed download or build
# leaves it as it was.
rm -rf "$work"
mkdir -p "$work"
cd "$work"
# setup.sh adds the deb-src entry this needs.
if ! apt-get source --download-only "$package=$deb_version" >/dev/null 2>&1; then
  apt-get update -qq || true
  if ! apt-get source --download-only "$package=$deb_version" >/dev/null 2>&1; then
    offered=$(apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -u | paste -sd' ')
    fail "Debian's archive offers $package ${offered:-in no version (is there a deb-src entry?)}," \
         "not the pinned $deb_version; change the pin in scripts/build-libjpeg-win.sh only after checking the new version"
  fi
fi
for f in "${!sha256[@]}"; do
  [[ -f $f ]] || fail "the source package has no $f"
  echo "${sha256[$f]}  $f" | sha256sum --check --quiet - || fail "$f does not have the pinned SHA-256"
done
dpkg-source -x "${package}_${deb_version#*:}.dsc" src >/dev/null

cmake -S src -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${flags[@]}" >/dev/null
cmake --build build --target jpeg-static
# Only the library is built, so install it, its four headers and its licences by
# hand, beside the one in use, and swap them only then. Only what this script
# installs is removed.
next=$work/install
mkdir -p "$next/lib" "$next/include" "$next/share/licenses"
cp build/libjpeg.a "$next/lib/"
cp build/jconfig.h src/jpeglib.h src/jmorecfg.h src/jerror.h "$next/include/"
cp src/LICENSE.md src/README.ijg "$next/share/licenses/"
echo "$stamp" >"$next/build-stamp"
mkdir -p "$prefix/lib" "$prefix/include" "$prefix/share"
rm -rf "$prefix/build-stamp" "$prefix/share/licenses"
cp "$next/lib/libjpeg.a" "$prefix/lib/"
cp "$next"/include/* "$prefix/include/"
cp -r "$next/share/licenses" "$prefix/share/"
cp "$next/build-stamp" "$prefix/build-stamp"
echo "build-libjpeg-win: installed $package $upstream in $prefix"

#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the demo need.
# Safe to run again; when everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
  # native build, tests, benchmarks, fuzzing
  g++ cmake ninja-build make pkg-config libgtest-dev googletest libbenchmark-dev libjpeg-dev
  clang libclang-rt-14-dev
  # Windows cross build
  g++-mingw-w64-x86-64-posix
  # running Windows code: Wine on a virtual X display, real input, screenshots
  wine64 xvfb xauth x11-utils xdotool imagemagick
  # the end-to-end tests read what the program copies from the X clipboard
  xclip
  # the local HTTP service of the tests and the demo
  python3
  # the radio through Hamlib's network daemon: rigctld and rigctl with the dummy radio
  libhamlib-utils
  # libjpeg for Windows is built from Debian's source package, its SIMD code with nasm
  dpkg-dev nasm
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ "$status" == ii* ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi

# libjpeg for ruDOZ.exe is cross-built from Debian's source package, which apt can
# fetch only with a deb-src entry for the same archive as the binary packages.
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/rudoz-deb-src.sources >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      $sudo tee /etc/apt/sources.list.d/rudoz-deb-src.list >/dev/null
  fi
  $sudo apt-get update -qq
fi
"$(dirname "$0")/build-libjpeg-win.sh"

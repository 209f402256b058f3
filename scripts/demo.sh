#!/usr/bin/env bash
# Installs what is missing, builds ruDOZ.exe and l32sim.exe and runs the demo in
# build/demo: ruDOZ with the sample reference files beside the Logger32 stand-in. On
# a desktop (DISPLAY set) it opens there and runs until you close it (Alt+Q); without
# a display it plays a short session on a virtual screen and saves screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows
cmake --build --preset windows --target ruDOZ l32sim
exec python3 scripts/demo.py "$@"

#!/usr/bin/env bash
# Takes the README's screenshot: Kestrova showing the bundled sample, drawn under Xvfb and saved
# by the program itself (its --screenshot option) into docs/screenshot.png.
# KESTROVA_BUILD_DIR chooses the build folder (default build); it is built when needed.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${KESTROVA_BUILD_DIR:-build}"
if [ ! -x "$build/bin/Kestrova" ] || [ ! -f "$build/sample/spectrum.pgm" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build "$build" -j "$(nproc)" --target Kestrova kestrova_sample pgm2ksv
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p docs
# Its own work and settings folders, so the user's initial thresholds do not change the picture.
TMP="$work" AppData="$work/appdata" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bin/Kestrova" "$build/sample/spectrum.pgm" --screenshot="$PWD/docs/screenshot.png"
echo "docs/screenshot.png"

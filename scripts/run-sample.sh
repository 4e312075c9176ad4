#!/usr/bin/env bash
# Installs what is needed, builds the programs and opens Kestrova on the bundled sample: a
# synthetic spectrometer frame (build/sample/spectrum.pgm) with its calibration beside it.
# Without a display the window is drawn on a virtual screen and saved as build/sample/kestrova.png.
# KESTROVA_BUILD_DIR chooses another build folder; further arguments go to Kestrova.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build="${KESTROVA_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$(nproc)" --target Kestrova kestrova_sample \
  fit2ksv bmp2ksv pgm2ksv ksv2fit ksv2bmp ksv2pgm

sample="$build/sample/spectrum.pgm"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/bin/Kestrova" "$sample" "$@"
fi

echo "No display: drawing Kestrova on a virtual screen into $build/sample/kestrova.png"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/Kestrova" "$sample" \
  --screenshot="$PWD/$build/sample/kestrova.png" "$@"

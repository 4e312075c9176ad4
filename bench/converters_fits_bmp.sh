#!/usr/bin/env bash
# Times the FITS and bitmap converters against their peers on the same files, in one run:
#   fit2ksv and ksv2fit on a 6144 x 4096 float FITS file, against cp, cfitsio's fitscopy and the
#   floor of fit2ksv: fits_strip_floor, a plain cfitsio strip reader writing the same pixels raw;
#   bmp2ksv (and ksv2bmp) on a 6144 x 4096 24-bit bitmap, against netpbm's bmptopnm and cp.
# Prints the median wall time of 5 runs, the peak resident memory and the ratios.
#
# Usage: bench/converters_fits_bmp.sh [bin folder]   (default: build/bin)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
bin="$(cd "${1:-$here/../build/bin}" && pwd)"
for tool in fitscopy bmptopnm /usr/bin/time python3; do
  command -v "$tool" >/dev/null || { echo "$tool not found: run scripts/install-deps.sh" >&2; exit 1; }
done
for program in fit2ksv ksv2fit bmp2ksv ksv2bmp fits_strip_floor; do
  [ -x "$bin/$program" ] || { echo "$bin/$program not built" >&2; exit 1; }
done

BENCH_DIR="$here" BIN_DIR="$bin" python3 - <<'EOF'
import array
import os
import struct
import sys
import tempfile

sys.path.insert(0, os.environ["BENCH_DIR"])
from benchlib import measure, report  # noqa: E402

WIDTH, HEIGHT, RUNS = 6144, 4096, 5
bin_dir = os.environ["BIN_DIR"]


def write_float_fits(path):
    """A single-image FITS file, BITPIX -32, with smoothly varying finite values."""
    cards = ["SIMPLE  =                    T", "BITPIX  =                  -32", "NAXIS   =                    2",
             f"NAXIS1  = {WIDTH:>20}", f"NAXIS2  = {HEIGHT:>20}", "END"]
    header = "".join(c.ljust(80) for c in cards).ljust(2880).encode("ascii")
    base = array.array("f", (((x * 37) % 4093) * 0.25 for x in range(WIDTH)))
    with open(path, "wb") as f:
        f.write(header)
        for y in range(HEIGHT):
            row = array.array("f", base)
            row[y % WIDTH] = -1.5 * y
            row.byteswap()  # FITS is big-endian
            f.write(row.tobytes())
        f.write(b"\0" * (-(WIDTH * HEIGHT * 4) % 2880))


def write_bmp24(path):
    stride = (WIDTH * 3 + 3) // 4 * 4
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + stride * HEIGHT, 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, stride * HEIGHT, 2835, 2835, 0, 0))
        f.write(os.urandom(stride * HEIGHT))


def remover(*paths):
    def remove():
        for p in paths:
            if os.path.exists(p):
                os.remove(p)
    return remove


with tempfile.TemporaryDirectory(prefix="kestrova-bench-") as work:
    def w(name):
        return os.path.join(work, name)

    def prog(name):
        return os.path.join(bin_dir, name)

    write_float_fits(w("frame.fits"))
    write_bmp24(w("frame.bmp"))
    # Inputs of the from-KSV runs.
    measure("prepare", [prog("fit2ksv"), w("frame.fits"), w("fits.ksv"), "x"], runs=1)
    measure("prepare", [prog("bmp2ksv"), w("frame.bmp"), w("bmp.ksv"), "x"], runs=1)

    fits_rows = [
        measure("cp", ["cp", w("frame.fits"), w("copy.fits")], RUNS, before=remover(w("copy.fits"))),
        measure("fitscopy", ["fitscopy", w("frame.fits"), w("peer.fits")], RUNS, before=remover(w("peer.fits"))),
        measure("strip floor", [prog("fits_strip_floor"), w("frame.fits"), w("floor.raw")], RUNS,
                before=remover(w("floor.raw"))),
        measure("fit2ksv", [prog("fit2ksv"), w("frame.fits"), w("out.ksv"), "x"], RUNS, before=remover(w("out.ksv"))),
        measure("ksv2fit", [prog("ksv2fit"), w("fits.ksv"), w("back.fits")], RUNS, before=remover(w("back.fits"))),
    ]
    bmp_rows = [
        measure("cp", ["cp", w("frame.bmp"), w("copy.bmp")], RUNS, before=remover(w("copy.bmp"))),
        measure("bmptopnm", ["bmptopnm", w("frame.bmp")], RUNS, stdout=w("peer.ppm")),
        measure("bmp2ksv", [prog("bmp2ksv"), w("frame.bmp"), w("out2.ksv"), "x"], RUNS, before=remover(w("out2.ksv"))),
        measure("ksv2bmp", [prog("ksv2bmp"), w("bmp.ksv"), w("back.bmp")], RUNS, before=remover(w("back.bmp"))),
    ]
    mib = 2 ** 20
    print(f"{WIDTH} x {HEIGHT} float FITS ({os.path.getsize(w('frame.fits')) / mib:.0f} MiB), medians of {RUNS} runs")
    report(fits_rows, ["cp", "fitscopy", "strip floor"])
    print()
    print(f"{WIDTH} x {HEIGHT} 24-bit bitmap ({os.path.getsize(w('frame.bmp')) / mib:.0f} MiB), medians of {RUNS} runs")
    report(bmp_rows, ["cp", "bmptopnm"])
EOF

#!/usr/bin/env python3
"""Times pgm2ksv and ksv2pgm on a 6144 x 4096 16-bit PGM against two baselines on the same file:
a plain copy (cp) and netpbm's pamtopnm, which reads and rewrites the same format.

Usage: bench/converters_pgm.py [bin folder]   (default: build/bin)"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from benchlib import measure, report  # noqa: E402

WIDTH, HEIGHT = 6144, 4096


def main():
    bin_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "build", "bin")
    bin_dir = os.path.abspath(bin_dir)
    if shutil.which("pamtopnm") is None:
        raise SystemExit("pamtopnm not found: apt-get install netpbm")
    with tempfile.TemporaryDirectory(prefix="kestrova-bench-") as work:
        pgm = os.path.join(work, "frame.pgm")
        with open(pgm, "wb") as f:
            f.write(b"P5\n%d %d\n65535\n" % (WIDTH, HEIGHT))
            f.write(os.urandom(WIDTH * HEIGHT * 2))
        ksv = os.path.join(work, "frame.ksv")
        rows = [
            measure("cp (baseline)", ["cp", pgm, os.path.join(work, "copy.pgm")]),
            measure("pamtopnm (peer)", ["pamtopnm", pgm], stdout=os.path.join(work, "peer.pgm")),
            measure("pgm2ksv", [os.path.join(bin_dir, "pgm2ksv"), pgm, ksv, "x"]),
            measure("ksv2pgm", [os.path.join(bin_dir, "ksv2pgm"), ksv, os.path.join(work, "back.pgm")]),
            # The KSV file is twice the PGM's size: a copy of it is the floor for writing it.
            measure("cp of the KSV file", ["cp", ksv, os.path.join(work, "copy.ksv")]),
        ]
        print(f"{WIDTH} x {HEIGHT} 16-bit PGM ({os.path.getsize(pgm) / 2**20:.0f} MiB), medians of 7 runs")
        report(rows, ["cp (baseline)", "pamtopnm (peer)"])


if __name__ == "__main__":
    main()

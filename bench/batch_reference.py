#!/usr/bin/python3
"""The baseline of the batch benchmark: the same analyses as kestrova-batch with numpy and
astropy, each frame memory-mapped and only its band read.

Usage: batch_reference.py BLX BLY TRX TRY LOWER UPPER OUTFOLDER [--spectrum] [--profile]
       [--histogram] [--centroid] FRAME...   (1-based inclusive corners, rows from the bottom)"""

import os
import sys

import numpy as np
from astropy.io import fits


def values_text(first, values):
    return "".join("%d,%.15G\r\n" % (first + i, v) for i, v in enumerate(values))


def histogram_text(band):
    lo, hi = band.min(), band.max()
    span = float(hi) - float(lo) if hi > lo else 255.0
    bins = np.rint((band.astype(np.float64) - float(lo)) * 255.0 / span).astype(np.int64)
    counts = np.bincount(bins.ravel(), minlength=256)
    return "".join("%d,%d\r\n" % (b, c) for b, c in enumerate(counts))


def main():
    blx, bly, trx, try_, lower, upper = (float(a) for a in sys.argv[1:7])
    blx, bly, trx, try_ = int(blx), int(bly), int(trx), int(try_)
    out = sys.argv[7]
    wanted = {a for a in sys.argv[8:] if a.startswith("--")}
    frames = [a for a in sys.argv[8:] if not a.startswith("--")]
    table = ["file,x,y,wavelength,area\r\n"]
    for frame in frames:
        name = os.path.splitext(os.path.basename(frame))[0]
        with fits.open(frame, memmap=True) as hdul:
            band = np.asarray(hdul[0].data[bly - 1:try_, blx - 1:trx])
            accepted = (band >= lower) & (band <= upper)
            kept = np.where(accepted, band, 0).astype(np.float64)
            column_means = kept.sum(axis=0) / band.shape[0]
            row_means = kept.sum(axis=1) / band.shape[1]
            if "--spectrum" in wanted:
                with open(os.path.join(out, name + "-X.csv"), "w", newline="") as f:
                    f.write(values_text(blx, column_means))
            if "--profile" in wanted:
                with open(os.path.join(out, name + "-Y.csv"), "w", newline="") as f:
                    f.write(values_text(bly, row_means))
            if "--histogram" in wanted:
                with open(os.path.join(out, name + "-H.csv"), "w", newline="") as f:
                    f.write(histogram_text(band))
            if "--centroid" in wanted:
                columns = np.arange(blx, trx + 1)
                rows = np.arange(bly, try_ + 1)
                inside = (column_means >= lower) & (column_means <= upper)
                weights = np.where(inside, column_means - lower, 0.0)
                x = (weights * columns).sum() / weights.sum() if weights.sum() else (blx + trx) / 2
                inside = (row_means >= lower) & (row_means <= upper)
                weights = np.where(inside, row_means - row_means.min(), 0.0)
                y = (weights * rows).sum() / weights.sum() if weights.sum() else (bly + try_) / 2
                table.append("%s,%.15G,%.15G,,%d\r\n" % (frame, x, y, int(accepted.sum())))
    if "--centroid" in wanted:
        with open(os.path.join(out, "centroid.csv"), "w", newline="") as f:
            f.write("".join(table))


if __name__ == "__main__":
    main()

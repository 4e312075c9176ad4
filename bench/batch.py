#!/usr/bin/python3
"""Times kestrova-batch against a numpy + astropy script doing the same analyses on the same
files in the same run (batch_reference.py), with the peak memory of each (default --jobs):
  (a) 100 float FITS frames of 1024 x 1024, spectrum and centroid;
  (b) 20 16-bit FITS frames of 6144 x 4096, spectrum, profile and histogram.
The two programs alternate run by run; the table gives the median wall and processor (user +
system, the whole process tree) seconds. The frames are generated into a temporary folder and
removed afterwards.

Usage: bench/batch.py [bin folder] [runs]   (default: build/bin, 3)
Needs python3-numpy and python3-astropy."""

import os
import resource
import statistics
import sys
import tempfile

import numpy as np
from astropy.io import fits

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from benchlib import run_once  # noqa: E402

REFERENCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "batch_reference.py")


def make_frames(folder, count, width, height, dtype, band_rows, low, high):
    """Frames with noise, a bright band and fixed extremes, so that every frame has the range
    low..high and the same thresholds fit them all."""
    rng = np.random.default_rng(7)
    os.makedirs(folder)
    rows = np.arange(height)[:, None]
    centre = (band_rows[0] + band_rows[1]) / 2
    profile = np.exp(-((rows - centre) / ((band_rows[1] - band_rows[0]) / 4)) ** 2)
    columns = np.arange(width)[None, :]
    lines = 1 + np.cos(columns / 37.0) ** 8
    signal = (low + 200 + (high - low) * 0.4 * profile * lines).astype(np.float32)
    paths = []
    for i in range(count):
        data = signal + rng.normal(0, 20, size=(height, width)).astype(np.float32)
        data = np.clip(data, low, high).astype(dtype)
        data[0, 0], data[0, 1] = low, high
        path = os.path.join(folder, "frame%03d.fits" % i)
        fits.PrimaryHDU(data).writeto(path)
        paths.append(path)
    return paths


def settings_file(path, corners, lower, upper):
    values = ["0", "1", *map(str, corners), "0", "1", "1", "2", "2", "1", "1", "1", str(lower), "1", str(upper)]
    with open(path, "w", newline="") as f:
        f.write("".join(" %s\r" % v for v in values))


def compare(batch_file, reference_file):
    """The two files agree line by line to 12 significant digits (the script sums in another order)."""
    with open(batch_file) as a, open(reference_file) as b:
        for x, y in zip(a.read().split(), b.read().split()):
            for p, q in zip(x.split(","), y.split(",")):
                if p != q and abs(float(p) - float(q)) > 1e-12 * max(1.0, abs(float(q))):
                    raise SystemExit(f"{batch_file} and {reference_file} differ: {x} / {y}")


def case(title, work, bin_dir, runs, frames, corners, lower, upper, outputs):
    batch_out = os.path.join(work, "batch-out")
    reference_out = os.path.join(work, "reference-out")
    os.makedirs(batch_out)
    os.makedirs(reference_out)
    analysis = os.path.join(work, "analysis.txt")
    settings_file(analysis, corners, lower, upper)
    argv = [os.path.join(bin_dir, "kestrova-batch"), "-q", "--analysis", analysis]
    suffix = {"spectrum": "-X.csv", "profile": "-Y.csv", "histogram": "-H.csv"}
    for o in outputs:
        argv += ["--centroid", os.path.join(batch_out, "centroid.csv")] if o == "centroid" else [
            "--" + o, os.path.join(batch_out, "{name}" + suffix[o])]
    reference = [sys.executable, REFERENCE, *map(str, corners), str(lower), str(upper), reference_out,
                 *("--" + o for o in outputs)]
    env = dict(os.environ, TMP=work, XDG_CONFIG_HOME=os.path.join(work, "config"))
    programs = [("numpy + astropy (baseline)", reference + frames), ("kestrova-batch", argv + frames)]
    times = {name: [] for name, _ in programs}
    cpu = {name: [] for name, _ in programs}
    peaks = {name: 0 for name, _ in programs}
    # The two alternate, so that a change in the machine's load falls on both alike.
    for _ in range(runs):
        for name, command in programs:
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            seconds, peak, code = run_once(command, env=env)
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            if code != 0:
                raise SystemExit(f"{name}: exit code {code}")
            times[name].append(seconds)
            cpu[name].append(after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
            peaks[name] = max(peaks[name], peak)
    for o in outputs:
        name = "centroid.csv" if o == "centroid" else "frame000" + suffix[o]
        compare(os.path.join(batch_out, name), os.path.join(reference_out, name))
    print(title + f", medians of {runs} runs")
    print(f"{'program':<28}{'wall s':>9}{'CPU s':>9}{'peak MiB':>10}{'wall x base':>13}{'CPU x base':>12}")
    base = programs[0][0]
    for name, _ in programs:
        wall, used = statistics.median(times[name]), statistics.median(cpu[name])
        print(f"{name:<28}{wall:>9.3f}{used:>9.3f}{peaks[name] / 1024:>10.1f}"
              f"{wall / statistics.median(times[base]):>13.2f}{used / statistics.median(cpu[base]):>12.2f}")
    print()


def main():
    bin_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                              os.path.join(os.path.dirname(__file__), "..", "build", "bin"))
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    with tempfile.TemporaryDirectory(prefix="kestrova-bench-") as work:
        a = os.path.join(work, "a")
        frames = make_frames(os.path.join(a, "frames"), 100, 1024, 1024, np.float32, (400, 500), 100.0, 60000.0)
        case("(a) 100 float FITS frames 1024 x 1024: spectrum and centroid", a, bin_dir, runs, frames,
             (1, 401, 1024, 500), 150, 59000, ["spectrum", "centroid"])
        b = os.path.join(work, "b")
        frames = make_frames(os.path.join(b, "frames"), 20, 6144, 4096, np.int16, (1800, 2311), 100, 30000)
        case("(b) 20 16-bit FITS frames 6144 x 4096: spectrum, profile and histogram", b, bin_dir, runs, frames,
             (1, 1800, 6144, 2311), 150, 29000, ["spectrum", "profile", "histogram"])


if __name__ == "__main__":
    main()

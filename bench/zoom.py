#!/usr/bin/env python3
"""Peak memory of the window program on a 6144 x 4096 float FITS frame shown at 100 %, at Actual
Pixels and at 32 times Actual Pixels (start, open, zoom, show, quit), against the same run at
100 %; then the time of one zoom step at each level (bench_zoom).

usage: python3 bench/zoom.py [BUILD_DIR] [--runs N]

BUILD_DIR defaults to "build"; it needs bin/Kestrova, bin/bench_zoom, bin/ksv2fit and
tools/kestrova_make_sample. Runs offscreen.
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import benchlib  # noqa: E402
from open_to_picture import make_frame  # noqa: E402


def main():
    args = list(sys.argv[1:])
    runs = 3
    if "--runs" in args:
        i = args.index("--runs")
        runs = int(args[i + 1])
        del args[i:i + 2]
    build = os.path.abspath(args[0] if args else "build")
    kestrova = os.path.join(build, "bin", "Kestrova")

    with tempfile.TemporaryDirectory(prefix="kestrova-bench-") as folder:
        fits = make_frame(build, folder)
        work = os.path.join(folder, "work")
        os.makedirs(work)
        env = dict(os.environ, TMP=work, AppData=os.path.join(folder, "appdata"), QT_QPA_PLATFORM="offscreen")
        rows = [
            benchlib.measure(f"zoom {text}", [kestrova, fits, "--zoom", text, "--quit-when-shown"], runs, env=env)
            for text in ("100", "600", "19200")
        ]
        print(f"Peak memory, 6144 x 4096 float FITS shown at a zoom (600 = Actual Pixels), {runs} runs")
        benchlib.report(rows, ["zoom 100"])
        base = rows[0]["peak_kib"]
        for r in rows[1:]:
            print(f"{r['name']}: peak memory {r['peak_kib'] / base:.3f} x that at 100 %")
        print()
        subprocess.check_call([os.path.join(build, "bin", "bench_zoom"), fits, str(max(runs * 5, 15))], env=env)


if __name__ == "__main__":
    main()

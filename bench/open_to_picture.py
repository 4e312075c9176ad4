#!/usr/bin/env python3
"""Open-to-picture time of the window program: start, open a 6144 x 4096 float FITS frame,
compute the display thresholds, show the picture, quit. Measured beside the program's own
start-and-quit with no file, and beside SAOImage DS9 doing the same job (a 99.5 % clip) when
`ds9` is installed (Debian package saods9), all in the same run under the same X server.

usage: python3 bench/open_to_picture.py [BUILD_DIR] [--runs N]

BUILD_DIR defaults to "build"; it needs bin/Kestrova, bin/ksv2fit and tools/kestrova_make_sample.
Without a DISPLAY the script runs itself again under xvfb-run.
"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import benchlib  # noqa: E402

WIDTH, HEIGHT = 6144, 4096


def make_frame(build, folder):
    ksv = os.path.join(folder, "frame.ksv")
    fits = os.path.join(folder, "frame.fits")
    subprocess.check_call([os.path.join(build, "tools", "kestrova_make_sample"), "--ksv-float", str(WIDTH),
                           str(HEIGHT), ksv])
    subprocess.check_call([os.path.join(build, "bin", "ksv2fit"), ksv, fits])
    os.remove(ksv)
    return fits


def main():
    args = [a for a in sys.argv[1:]]
    runs = 7
    if "--runs" in args:
        i = args.index("--runs")
        runs = int(args[i + 1])
        del args[i:i + 2]
    build = os.path.abspath(args[0] if args else "build")

    if not os.environ.get("DISPLAY"):
        if not shutil.which("xvfb-run"):
            raise SystemExit("no DISPLAY and no xvfb-run")
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1600x1200x24", sys.executable,
                               os.path.abspath(__file__)] + sys.argv[1:])

    kestrova = os.path.join(build, "bin", "Kestrova")
    with tempfile.TemporaryDirectory(prefix="kestrova-bench-") as folder:
        fits = make_frame(build, folder)
        work = os.path.join(folder, "work")
        os.makedirs(work)
        env = dict(os.environ, TMP=work, AppData=os.path.join(folder, "appdata"), XPA_METHOD="local")
        env.pop("QT_QPA_PLATFORM", None)

        rows = [
            benchlib.measure("Kestrova start+quit", [kestrova, "--quit-when-shown"], runs, env=env),
            benchlib.measure("Kestrova open FITS", [kestrova, fits, "--quit-when-shown"], runs, env=env),
        ]
        ds9 = shutil.which("ds9")
        if ds9:
            rows.append(benchlib.measure("DS9 start+quit", [ds9, "-exit"], runs, env=env))
            rows.append(benchlib.measure("DS9 open FITS", [ds9, fits, "-scale", "mode", "99.5", "-exit"], runs,
                                         env=env))

    print(f"Open-to-picture, {WIDTH} x {HEIGHT} float FITS, median of {runs} runs")
    benchlib.report(rows, ["Kestrova start+quit", "Kestrova open FITS"])
    by = {r["name"]: r["median"] for r in rows}
    opening = by["Kestrova open FITS"] - by["Kestrova start+quit"]
    print(f"\nKestrova: {by['Kestrova open FITS']:.3f} s in all, {opening:.3f} s for the file itself")
    if ds9:
        print(f"DS9:      {by['DS9 open FITS']:.3f} s in all, "
              f"{by['DS9 open FITS'] - by['DS9 start+quit']:.3f} s for the file itself")
        print(f"DS9 / Kestrova, whole job: {by['DS9 open FITS'] / by['Kestrova open FITS']:.2f}x")
    else:
        print("DS9 (Debian package saods9) is not installed: no comparison.")


if __name__ == "__main__":
    main()

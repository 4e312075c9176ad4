"""Shared helpers for the benchmark scripts: run a command several times, report the median
wall time and the peak resident memory of each run."""

import os
import statistics
import subprocess
import tempfile
import time


def run_once(argv, stdout=None, env=None):
    """Runs argv under /usr/bin/time (same overhead for every program); returns
    (seconds, peak KiB, exit code)."""
    out = open(stdout, "wb") if stdout else subprocess.DEVNULL
    with tempfile.NamedTemporaryFile("r", suffix=".rss") as rss:
        try:
            start = time.perf_counter()
            code = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", rss.name] + list(argv),
                                   stdout=out, stderr=subprocess.DEVNULL, env=env)
            elapsed = time.perf_counter() - start
        finally:
            if stdout:
                out.close()
        text = rss.read().strip().splitlines()
        peak = int(text[-1]) if text and text[-1].isdigit() else 0
    return elapsed, peak, code


def measure(name, argv, runs=7, stdout=None, env=None, before=None):
    """Median seconds and peak KiB over `runs` runs; `before` runs ahead of each run untimed."""
    times, peaks = [], []
    for _ in range(runs):
        if before:
            before()
        seconds, peak, code = run_once(argv, stdout, env)
        if code != 0:
            raise SystemExit(f"{name}: exit code {code}")
        times.append(seconds)
        peaks.append(peak)
    return {"name": name, "median": statistics.median(times), "peak_kib": max(peaks)}


def report(rows, baselines):
    """Prints each row with its ratio to every baseline row named in `baselines`."""
    by_name = {r["name"]: r for r in rows}
    header = f"{'program':<28}{'median s':>10}{'peak MiB':>10}" + "".join(f"{'x ' + b:>16}" for b in baselines)
    print(header)
    for r in rows:
        line = f"{r['name']:<28}{r['median']:>10.3f}{r['peak_kib'] / 1024:>10.1f}"
        for b in baselines:
            line += f"{r['median'] / by_name[b]['median']:>16.2f}"
        print(line)

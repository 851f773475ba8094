#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Time from starting a Windows program under Wine until its window is mapped on the X server.

    start_time.py RUNS TITLE=PROGRAM.exe [TITLE=PROGRAM.exe ...]

Starts each program in turn (interleaved), RUNS times, waits for a viewable top-level window with
that title, then closes it with Escape. Prints each run and the medians. Needs DISPLAY, a window
manager and WINEPREFIX (bench/windows/start-time.sh sets them up).
"""

import re
import statistics
import subprocess
import sys
import time


def mapped(title):
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for window in re.findall(r'^\s*(0x[0-9a-f]+) "' + re.escape(title) + '":', tree, re.M):
        state = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
        if "IsViewable" in state:
            return window
    return None


def start(title, program):
    began = time.monotonic()
    process = subprocess.Popen(["wine", program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = None
    while time.monotonic() - began < 60 and not window:
        window = mapped(title)
        if not window:
            time.sleep(0.01)
    elapsed = time.monotonic() - began
    # Escape closes a sheet (the encoder's first Escape may only take its splash away).
    for _ in range(20):
        if process.poll() is not None:
            break
        subprocess.run(["xdotool", "windowactivate", "--sync", window or "0", "key", "Escape"],
                       capture_output=True)
        time.sleep(0.3)
    if process.poll() is None:
        process.kill()
    process.wait()
    if not window:
        raise SystemExit(f"start_time: no window titled '{title}' within a minute")
    return elapsed


def main():
    runs = int(sys.argv[1])
    programs = [argument.split("=", 1) for argument in sys.argv[2:]]
    times = {title: [] for title, _ in programs}
    for title, program in programs:  # one unmeasured start each: the disk cache warm for all
        start(title, program)
    for run in range(runs):
        for title, program in programs:
            times[title].append(start(title, program))
            print(f"run {run + 1}: {title}: {times[title][-1]:.3f} s", flush=True)
    medians = {title: statistics.median(values) for title, values in times.items()}
    for title, median in medians.items():
        print(f"median of {runs}: {title}: {median:.3f} s")
    if len(programs) == 2:
        (first, _), (second, _) = programs
        print(f"ratio: {first} / {second} = {medians[first] / medians[second]:.2f}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Times start-up to first paint and peak memory of the launcher against a bare Qt
Widgets program showing the same window, interleaved, under a private Xvfb server.

usage: run_startup.py BUILD_DIR [RUNS]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb():
    for display in range(90, 120):
        if os.path.exists(f"/tmp/.X11-unix/X{display}") or os.path.exists(f"/tmp/.X{display}-lock"):
            continue
        server = subprocess.Popen(["Xvfb", f":{display}", "-nolisten", "tcp", "-screen", "0",
                                   "1280x1024x24"], stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{display}"):
                return server, f":{display}"
            time.sleep(0.05)
        server.kill()
    sys.exit("no free display for Xvfb")


def run_once(program, env):
    env = dict(env, STARTUP_T0_NS=str(time.monotonic_ns()))
    child = subprocess.Popen([program], env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
    output = child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0 or not output.strip():
        sys.exit(f"{program} failed: exit {child.returncode}")
    return float(output), usage.ru_maxrss  # ms, KiB


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    programs = {
        "launcher": os.path.join(build, "bench/startup/startup_launcher"),
        "bare Qt": os.path.join(build, "bench/startup/startup_bare"),
    }
    server, display = start_xvfb()
    try:
        with tempfile.TemporaryDirectory() as scratch:
            env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                       XDG_RUNTIME_DIR=scratch, LAUNCHER_DRIVE_C=scratch)
            env.pop("WAYLAND_DISPLAY", None)
            results = {name: ([], []) for name in programs}
            for name, program in programs.items():  # warm the caches once
                run_once(program, env)
            for _ in range(runs):
                for name, program in programs.items():
                    ms, rss = run_once(program, env)
                    results[name][0].append(ms)
                    results[name][1].append(rss)
    finally:
        server.terminate()
        server.wait()

    print(f"{runs} runs each, interleaved, Xvfb {display}")
    print(f"{'program':10} {'first paint ms (median)':>24} {'peak RSS KiB (median)':>22}")
    medians = {}
    for name, (times, rss) in results.items():
        medians[name] = (statistics.median(times), statistics.median(rss))
        print(f"{name:10} {medians[name][0]:24.1f} {medians[name][1]:22.0f}")
    launcher, bare = medians["launcher"], medians["bare Qt"]
    print(f"ratio      {launcher[0] / bare[0]:24.2f} {launcher[1] / bare[1]:22.2f}")


if __name__ == "__main__":
    main()

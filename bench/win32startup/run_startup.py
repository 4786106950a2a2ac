#!/usr/bin/env python3
"""Times the Windows launcher's start-up under Wine against a bare Win32 program showing the
same window, interleaved, with one wineserver already running, on a private Xvfb server:
from process start to its window shown, and from process start to exit after a click on
the exit button.

usage: run_startup.py BUILD_DIR [RUNS]   (BUILD_DIR: the windows preset's, build-windows)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TITLE = "筠栎软件安装程序"
CLIENT = (513, 600)
EXIT_BUTTON = (388 + 58, 493 + 50)  # the exit button's middle in the client area


def start_xvfb(work):
    display_file = os.path.join(work, "display")
    with open(display_file, "w") as out:
        server = subprocess.Popen(["Xvfb", "-displayfd", str(out.fileno()), "-nolisten", "tcp",
                                   "-screen", "0", "1024x768x24"], pass_fds=[out.fileno()],
                                  stderr=subprocess.DEVNULL)
    for _ in range(100):
        with open(display_file) as source:
            number = source.read().strip()
        if number:
            return server, ":" + number
        time.sleep(0.05)
    server.kill()
    sys.exit("Xvfb did not start")


def visible_window(env):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$"],
                           env=env, capture_output=True, text=True).stdout.split()
    return found[0] if found else None


def run_once(program, env):
    start = time.monotonic()
    child = subprocess.Popen(["wine", program], env=env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = None
    while window is None:
        if time.monotonic() - start > 30:
            child.kill()
            sys.exit(f"{program}: no window")
        window = visible_window(env)
    shown = time.monotonic()
    geometry = dict(line.split("=") for line in subprocess.run(
        ["xdotool", "getwindowgeometry", "--shell", window], env=env, capture_output=True,
        text=True).stdout.split())
    border = (int(geometry["WIDTH"]) - CLIENT[0]) // 2
    caption = int(geometry["HEIGHT"]) - CLIENT[1] - 2 * border
    subprocess.run(["xdotool", "mousemove", "--window", window, str(border + EXIT_BUTTON[0]),
                    str(border + caption + EXIT_BUTTON[1]), "click", "1"], env=env, check=True)
    if child.wait(timeout=30) != 0:
        sys.exit(f"{program} ended with {child.returncode}")
    return (shown - start) * 1000, (time.monotonic() - start) * 1000


def main():
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    programs = {"launcher": os.path.join(build, "app", "launcher.exe"),
                "bare": os.path.join(build, "bench", "win32startup", "startup_bare_win32.exe")}
    with tempfile.TemporaryDirectory() as work:
        xvfb, display = start_xvfb(work)
        env = dict(os.environ, DISPLAY=display, WINEPREFIX=os.path.join(work, "prefix"),
                   WINEDEBUG="-all", LANG="C.UTF-8")
        env.pop("LC_ALL", None)
        try:
            subprocess.run(["bash", os.path.join(ROOT, "tools", "make-wine-prefix.sh")], env=env,
                           check=True)
            times = {name: [] for name in programs}
            for name, program in programs.items():  # one unmeasured warm-up each
                run_once(program, env)
            for _ in range(runs):
                for name, program in programs.items():
                    times[name].append(run_once(program, env))
        finally:
            subprocess.run(["wineserver", "-k"], env=env)
            xvfb.kill()
    # On a shared machine the medians carry queueing; the minimums are nearer each
    # program's own cost.
    print(f"{runs} runs each, interleaved, wineserver running (ms: median, minimum)")
    print(f"{'':10}{'to window shown':>20}{'to exit':>14}")
    for name, samples in times.items():
        shown, ended = [s[0] for s in samples], [s[1] for s in samples]
        print(f"{name:10}{statistics.median(shown):12.0f}{min(shown):8.0f}"
              f"{statistics.median(ended):8.0f}{min(ended):6.0f}")
    for column, label in ((0, "window shown"), (1, "exit")):
        launcher = [s[column] for s in times["launcher"]]
        bare = [s[column] for s in times["bare"]]
        print(f"launcher / bare, {label}: median {statistics.median(launcher) / statistics.median(bare):.2f},"
              f" minimum {min(launcher) / min(bare):.2f}")


if __name__ == "__main__":
    main()

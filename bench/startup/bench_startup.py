#!/usr/bin/env python3
"""Start-up benchmark: time from process start to the main window's first paint.

Runs the program (with LUMO_STARTUP_PROBE set, it prints the monotonic clock
at its main window's first paint and leaves) in a temporary application
folder, alternately on the delivered (empty) register, the anchor, and on a
generated register, and prints the medians as `name value unit` lines.

usage: bench_startup.py [--bin DIR] [--listings N] [--runs R]
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def prepare(folder, database):
    app = os.path.join(folder, "app")
    config = os.path.join(folder, "config")
    install = os.path.join(folder, "install")
    for d in (app, config, install):
        os.makedirs(d, exist_ok=True)
    shutil.copyfile(database, os.path.join(app, "lumo.fc"))
    # An earlier start and an installed program: no first-start questions.
    with open(os.path.join(config, "Velmora.conf"), "w", encoding="utf-8") as f:
        f.write("[app]\nstarted=1\n")
    program = os.path.join(install, "lumo")
    with open(program, "w") as f:
        f.write("#!/bin/sh\n")
    env = dict(os.environ)
    env.update(QT_QPA_PLATFORM=env.get("QT_QPA_PLATFORM", "offscreen"),
               LUMO_CONFIG_DIR=config, LUMO_INSTALL_DIR=install,
               LUMO_DESKTOP_DIR=os.path.join(folder, "desktop"),
               LUMO_APPLICATIONS_DIR=os.path.join(folder, "applications"),
               LUMO_STARTUP_PROBE="1")
    return app, env


def run_once(binary, app, env):
    start = time.monotonic_ns()
    proc = subprocess.run([binary], cwd=app, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, timeout=120, text=True)
    if proc.returncode != 0:
        sys.exit(f"the program failed to start (exit {proc.returncode})")
    for line in proc.stdout.splitlines():
        if line.startswith("first_paint "):
            return (int(line.split()[1]) - start) / 1e9
    sys.exit("the program did not report its first paint")


def measure(binary, databases, runs):
    """Median seconds to the first paint for each database, runs alternating."""
    with tempfile.TemporaryDirectory() as folder:
        prepared = []
        for i, database in enumerate(databases):
            app, env = prepare(os.path.join(folder, str(i)), database)
            run_once(binary, app, env)  # warm the file cache
            prepared.append((app, env))
        times = [[] for _ in databases]
        for _ in range(runs):
            for i, (app, env) in enumerate(prepared):
                times[i].append(run_once(binary, app, env))
    return [statistics.median(t) for t in times]


def peak_rss_mb(binary, database):
    # Peak memory of a child is only known after it ends: measure it alone
    # in a fresh process so earlier children do not mask it.
    code = (
        "import resource,subprocess,sys,os;"
        "subprocess.run(sys.argv[1:2],cwd=sys.argv[2],env=dict(os.environ),"
        "stdout=subprocess.DEVNULL,stderr=subprocess.DEVNULL);"
        "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)"
    )
    with tempfile.TemporaryDirectory() as folder:
        app, env = prepare(folder, database)
        out = subprocess.run([sys.executable, "-c", code, binary, app], env=env,
                             capture_output=True, text=True, check=True).stdout
    return int(out.strip()) / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", default=os.path.join(ROOT, "build", "bin"),
                        help="folder of the built program (default build/bin)")
    parser.add_argument("--listings", type=int, default=200000)
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()

    binary = os.path.join(args.bin, "lumo")
    delivered = os.path.join(args.bin, "lumo.fc.delivered")
    with tempfile.TemporaryDirectory() as work:
        big = os.path.join(work, "register.fc")
        subprocess.run([sys.executable, os.path.join(ROOT, "bench", "common",
                                                     "generate_register.py"),
                        "--source", delivered, str(args.listings), big],
                       check=True, stdout=subprocess.DEVNULL)
        empty, full = measure(binary, [delivered, big], args.runs)
        print(f"startup_empty_register_ms {empty * 1000:.1f} ms")
        print(f"startup_{args.listings}_listings_ms {full * 1000:.1f} ms")
        print(f"startup_{args.listings}_vs_empty_ratio {full / empty:.3f} ratio")
        print(f"startup_empty_register_rss {peak_rss_mb(binary, delivered):.1f} MB")
        print(f"startup_{args.listings}_listings_rss {peak_rss_mb(binary, big):.1f} MB")

if __name__ == "__main__":
    main()

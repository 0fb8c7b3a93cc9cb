#!/usr/bin/env python3
"""Compiles the product's sources with clang, syntax only, with the warnings the GCC
build treats as errors. Reads the commands from a build's compile_commands.json.

usage: clang-check.py BUILD_DIR SOURCE_DIR [-j N] [--clang clang++]
"""
import argparse
import concurrent.futures
import json
import os
import shlex
import subprocess
import sys

PRODUCT = ("base/", "core/", "platform/", "widgets/", "app/", "helpers/")
FLAGS = ["-fsyntax-only", "-Wsuggest-override", "-Woverloaded-virtual", "-Werror"]


def product_sources(build_dir, source_dir):
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        entries = json.load(f)
    root = os.path.realpath(source_dir) + os.sep
    seen = set()
    for e in entries:
        path = os.path.realpath(os.path.join(e["directory"], e["file"]))
        rel = path[len(root):] if path.startswith(root) else None
        if rel is None or not rel.startswith(PRODUCT) or path in seen:
            continue
        seen.add(path)
        yield e, path, rel


def clang_command(entry, path, clang):
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    out = [clang]
    skip = False
    for a in args[1:]:
        if skip:
            skip = False
            continue
        if a == "-o":
            skip = True
            continue
        if a in ("-c", path, entry["file"]):
            continue
        out.append(a)
    return out + FLAGS + [path]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("build_dir")
    p.add_argument("source_dir")
    p.add_argument("-j", type=int, default=os.cpu_count() or 1)
    p.add_argument("--clang", default="clang++")
    a = p.parse_args()

    jobs = [(rel, entry["directory"], clang_command(entry, path, a.clang))
            for entry, path, rel in product_sources(a.build_dir, a.source_dir)]
    if not jobs:
        print("no product sources in " + a.build_dir + "/compile_commands.json")
        return 1

    def run(job):
        rel, cwd, cmd = job
        r = subprocess.run(cmd, cwd=cwd, capture_output=True, text=True)
        return rel, r.returncode, r.stdout + r.stderr

    failed = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=a.j) as pool:
        for rel, code, text in pool.map(run, sorted(jobs)):
            if code != 0:
                failed.append(rel)
                sys.stdout.write(text)
    print("clang: %d of %d product sources failed" % (len(failed), len(jobs)))
    for rel in failed:
        print("  " + rel)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

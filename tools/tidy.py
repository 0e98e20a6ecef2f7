#!/usr/bin/env python3
"""clang-tidy (the checks of .clang-tidy) over every C++ source file of the
repository, with the compile commands of one build; any finding fails.

A file whose check passed is remembered by a key made of everything the
check reads: clang-tidy's version, .clang-tidy, the file's compile command
and the contents of the file and of every header the build found it to
include (Ninja's dependency log). The next run checks again only the files
whose key changed, so an unchanged tree costs seconds; without the record
(a new machine, a cache emptied) every file is checked.

usage: tidy.py BUILD_DIR [--cache DIR] [--jobs N] [--all] [PATHSPEC ...]
The files are those git lists for the pathspecs (every *.cpp by default). A
build without Ninja's log gives no record: every file is checked. The record lives in --cache, by default $SONOHA_TIDY_CACHE, else
$XDG_CACHE_HOME/sonoha-tidy (~/.cache/sonoha-tidy).
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def sources(pathspecs):
    out = subprocess.run(["git", "ls-files", "--"] + (pathspecs or ["*.cpp"]), cwd=ROOT, check=True,
                         capture_output=True, text=True)
    return [os.path.join(ROOT, f) for f in out.stdout.split()]


def ninja_deps(build):
    """object (relative to the build) -> the files it was compiled from."""
    if not os.path.exists(os.path.join(build, "build.ninja")):
        return {}
    out = subprocess.run(["ninja", "-C", build, "-t", "deps"], check=True, capture_output=True, text=True)
    deps, current = {}, None
    for line in out.stdout.splitlines():
        if not line.strip():
            current = None
        elif not line.startswith(" "):
            # A stale list predates the last change to the source: it may
            # miss a header, so the object counts as not built.
            current = None if line.rstrip().endswith("(STALE)") else line.split(":", 1)[0]
            if current is not None:
                deps[current] = []
        elif current is not None:
            deps[current].append(line.strip())
    return deps


class Contents:
    """Hashes of file contents, each file read once."""

    def __init__(self):
        self.known = {}

    def __call__(self, path):
        if path not in self.known:
            try:
                with open(path, "rb") as f:
                    self.known[path] = hashlib.sha256(f.read()).hexdigest()
            except OSError:
                self.known[path] = "missing"
        return self.known[path]


def tidy_version():
    out = subprocess.run(["clang-tidy", "--version"], check=True, capture_output=True, text=True)
    return out.stdout


def key_of(entry, build, deps, contents, common):
    command = entry.get("command") or " ".join(shlex.quote(a) for a in entry["arguments"])
    output = entry.get("output")
    if output is None:
        match = re.search(r"(?:^|\s)-o\s+(\S+)", command)
        output = match.group(1) if match else ""
    inputs = deps.get(output)
    if inputs is None:
        return None  # not compiled by this build (yet): no record to trust
    # Paths are taken relative to the checkout, so that another clone of the
    # same tree (a CI run) finds the record of this one.
    h = hashlib.sha256(common.encode())
    h.update(command.replace(ROOT, "<root>").encode())
    for path in sorted(set([entry["file"]] + inputs)):
        full = os.path.normpath(path if os.path.isabs(path) else os.path.join(build, path))
        if full.endswith((".pch", ".gch")):
            continue  # a compiled header differs by build; its headers are among the inputs
        h.update(full.replace(ROOT, "<root>").encode() + b"\0" + contents(full).encode() + b"\0")
    return h.hexdigest()


def run_tidy(build, path):
    proc = subprocess.run(["clang-tidy", "-p", build, "--quiet", path], capture_output=True, text=True)
    # clang-tidy counts the warnings it hid in system headers on stderr;
    # only its findings are worth reading.
    noise = re.compile(r"^\d+ warnings? (and \d+ errors? )?generated\.$|^Suppressed \d+ warnings|^Use -header-filter")
    text = "\n".join(l for l in (proc.stdout + proc.stderr).splitlines() if not noise.match(l.strip()))
    return proc.returncode, text.strip()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    default_cache = os.environ.get("SONOHA_TIDY_CACHE") or os.path.join(
        os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "sonoha-tidy")
    parser.add_argument("--cache", default=default_cache)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--all", action="store_true", help="check every file, whatever the record says")
    parser.add_argument("paths", nargs="*", help="git pathspecs of the files to check")
    args = parser.parse_intermixed_args()

    build = os.path.abspath(args.build)
    with open(os.path.join(build, "compile_commands.json")) as f:
        commands = {os.path.realpath(e["file"]): e for e in json.load(f)}
    deps = ninja_deps(build)
    contents = Contents()
    with open(os.path.join(ROOT, ".clang-tidy"), "rb") as f:
        common = tidy_version() + f.read().decode()

    files = sources(args.paths)
    missing = [f for f in files if os.path.realpath(f) not in commands]
    if missing:
        print("clang-tidy: no compile command in %s for:\n  %s" % (build, "\n  ".join(missing)))
        return 1

    todo = []
    for path in files:
        key = key_of(commands[os.path.realpath(path)], build, deps, contents, common)
        stamp = os.path.join(args.cache, key[:2], key) if key else None
        if args.all or not stamp or not os.path.exists(stamp):
            todo.append((path, stamp))
    print("clang-tidy: %d of %d files to check (record: %s)" % (len(todo), len(files), args.cache), flush=True)

    failed = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        runs = {pool.submit(run_tidy, build, path): (path, stamp) for path, stamp in todo}
        for done in concurrent.futures.as_completed(runs):
            path, stamp = runs[done]
            code, text = done.result()
            if code != 0 or text:
                failed.append(os.path.relpath(path, ROOT))
                print(text or "clang-tidy failed on %s" % path, flush=True)
            elif stamp:
                os.makedirs(os.path.dirname(stamp), exist_ok=True)
                open(stamp, "w").close()
    if failed:
        print("clang-tidy: findings in %s" % ", ".join(sorted(failed)))
        return 1
    print("clang-tidy: no finding.")
    return 0


if __name__ == "__main__":
    sys.exit(main())

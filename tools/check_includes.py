#!/usr/bin/env python3
"""Checks that every #include "..." of the program (src/) and of the results
site (server/, its tests aside) reaches only down the layers of the tree:
the folders each folder may use are listed below, and a folder missing from
the list is itself a failure, so a new folder gets its place on purpose.
Usage: check_includes.py REPO_ROOT. Prints each include that reaches up or
sideways and exits 1, or prints a summary and exits 0."""
import os
import re
import sys

# What each part of src/ may include besides itself, bottom up.
SRC_LAYERS = {
    "text": set(),
    "pixels": set(),
    "site": set(),
    "platform": set(),  # the seam: interfaces only
    "profile": {"platform"},
    "dialog": {"platform"},
    "sysinfo": {"platform", "site", "text"},
    "raster": {"platform", "pixels", "text"},
    "bench": {"dialog", "platform", "sysinfo", "text"},
    "skin": {"pixels", "platform", "site", "sysinfo", "text"},
    "results": {"bench", "platform", "profile", "site", "sysinfo", "text"},
    "app": {"bench", "dialog", "platform", "profile", "results", "site", "skin", "sysinfo", "text"},
    # The backends: above the seam, below nothing of the core but the entry.
    "platform/linux": {"platform", "text"},
    # The self-drawn user interface both Linux backends use: no X, no Wayland.
    "platform/drawn": {"platform", "platform/linux", "raster", "text"},
    "platform/x11": {"pixels", "platform", "platform/drawn", "platform/linux", "profile", "raster",
                     "text"},
    "platform/win32": {"platform", "profile", "text"},
    # The Wayland backend, so far the layer that speaks to the compositor.
    "platform/wayland": {"platform", "platform/drawn", "platform/linux", "profile", "raster",
                         "text"},
}
# A backend's main.cpp starts the program, and a backend's probe/ holds a
# measuring program of its own: they alone include the core above the seam.
ENTRY_MAY_INCLUDE = {"app", "bench"}
# The site shares with the program only the upload protocol and the text table.
SERVER_SHARED = {"site/upload_protocol.h", "text/windows1252.h"}


def part_of(path):
    parts = path.split("/")
    if parts[0] == "platform" and len(parts) > 2:
        return "platform/" + parts[1]
    return parts[0]


def includes(file):
    with open(file, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
            if m:
                yield number, m.group(1)


def check_src(root, problems):
    src = os.path.join(root, "src")
    count = 0
    for folder, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, src)
            own = part_of(rel)
            if own not in SRC_LAYERS:
                problems.append("%s: the folder %s has no place in the layers" % (rel, own))
                continue
            allowed = SRC_LAYERS[own] | {own}
            entry = name == "main.cpp" or "/probe/" in "/" + rel
            if entry and own.startswith("platform/"):
                allowed |= ENTRY_MAY_INCLUDE
            for number, target in includes(path):
                count += 1
                if "/" not in target:
                    continue  # a generated header beside the build
                if part_of(target) not in allowed:
                    problems.append("src/%s:%d includes %s (%s may use %s)" % (
                        rel, number, target, own, ", ".join(sorted(allowed - {own})) or "nothing"))
    return count


def check_server(root, problems):
    server = os.path.join(root, "server")
    own_parts = {d for d in os.listdir(server) if os.path.isdir(os.path.join(server, d))}
    own_parts.discard("tests")
    count = 0
    for part in sorted(own_parts):
        for folder, _, files in os.walk(os.path.join(server, part)):
            for name in files:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, root)
                for number, target in includes(path):
                    count += 1
                    if target.split("/")[0] in own_parts or target in SERVER_SHARED:
                        continue
                    problems.append("%s:%d includes %s (the site shares only %s)" % (
                        rel, number, target, ", ".join(sorted(SERVER_SHARED))))
    return count


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    problems = []
    counted = check_src(root, problems) + check_server(root, problems)
    for p in problems:
        print(p)
    if problems:
        sys.exit(1)
    print("includes: %d checked, none reaches up or sideways" % counted)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""The folders of src include only the layers below their own: a quoted
include of a folder of a higher layer, or one that no layer names, fails."""

import os
import re
import sys

# From the top down; the folders of one line are one layer and may include
# one another.
LAYERS = [
    ["media_tool"],
    ["win32", "sim", "logging"],
    ["app"],
    ["dialogs", "driver"],
    ["package", "cleanup"],
    ["common", "framework"],
    ["platform", "resources"],
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/', re.M)


def arrows_back_up(src):
    rank = {folder: depth for depth, layer in enumerate(LAYERS) for folder in layer}
    problems = []
    for folder in sorted(os.listdir(src)):
        if not os.path.isdir(os.path.join(src, folder)):
            continue
        if folder not in rank:
            problems.append("src/%s is in no layer" % folder)
            continue
        for root, _, files in os.walk(os.path.join(src, folder)):
            for name in files:
                if not name.endswith((".h", ".cpp", ".rc")):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for included in INCLUDE.findall(f.read()):
                        if included not in rank:
                            problems.append("%s includes %s/, which is in no layer"
                                            % (os.path.relpath(path, src), included))
                        elif rank[included] < rank[folder]:
                            problems.append("%s includes %s/, a layer above its own"
                                            % (os.path.relpath(path, src), included))
    return problems


def main(argv):
    src = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src")
    problems = arrows_back_up(os.path.abspath(src))
    for problem in problems:
        print(problem)
    print("%d include(s) against the layers" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

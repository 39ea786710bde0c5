#!/usr/bin/env python3
"""Checks that the source folders include one another in one direction only.

The folders stand in layers, from the bottom up:

    resources <- calc <- settings <- controls, help, skins <- report <- ui

A file may include headers from its own folder and from the folders below it. The check fails when a
folder includes from a folder above it, or when two folders include each other (which catches two
folders of the same layer leaning on each other). Includes are by bare file name through the include
directories, so a quoted include is resolved by looking the name up among the folders' files; a name
found in none of them (a Qt or system header) is not ours and is skipped.

    python3 scripts/check-includes.py              checks the tree this script lies in
    python3 scripts/check-includes.py --self-test  checks the checker on small made-up trees
"""

import os
import re
import sys
import tempfile

LAYERS = [["resources"], ["calc"], ["settings"], ["controls", "help", "skins"], ["report"], ["ui"]]
SOURCE_ENDINGS = (".h", ".hpp", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def layer_of(folder):
    for index, layer in enumerate(LAYERS):
        if folder in layer:
            return index
    raise KeyError(folder)


def folder_files(root):
    """{folder: [file names]} for the layered folders that exist under root (not descending)."""
    files = {}
    for layer in LAYERS:
        for folder in layer:
            path = os.path.join(root, folder)
            if os.path.isdir(path):
                files[folder] = sorted(os.listdir(path))
    return files


def check(root):
    """The problems found under root, as lines of text; empty when the directions hold."""
    files = folder_files(root)
    owner = {}  # header name -> folders holding it (a .in template stands for the header it makes)
    for folder, names in files.items():
        for name in names:
            header = name[:-3] if name.endswith(".h.in") else name
            if header.endswith((".h", ".hpp")):
                owner.setdefault(header, set()).add(folder)

    problems = []
    edges = {}  # (from folder, to folder) -> first "file includes header" seen
    for folder, names in files.items():
        for name in names:
            if not name.endswith(SOURCE_ENDINGS):
                continue
            path = os.path.join(root, folder, name)
            with open(path, encoding="utf-8", errors="replace") as source:
                text = source.read()
            for included in INCLUDE.findall(text):
                header = os.path.basename(included)
                holders = owner.get(header, set())
                if len(holders) > 1:
                    problems.append(f"{folder}/{name}: \"{included}\" is in several folders: "
                                    + ", ".join(sorted(holders)))
                    continue
                if not holders:
                    continue
                target = next(iter(holders))
                if target == folder:
                    continue
                edges.setdefault((folder, target), f"{folder}/{name} includes \"{included}\"")
                if layer_of(target) > layer_of(folder):
                    problems.append(f"{folder}/{name} includes \"{included}\" from {target}/, "
                                    f"a folder above {folder}/")

    for (source, target), example in sorted(edges.items()):
        if source < target and (target, source) in edges:
            problems.append(f"{source}/ and {target}/ include each other: {example}; "
                            f"{edges[(target, source)]}")
    return problems


def self_test():
    """Made-up trees with a known answer; returns the number of wrong answers."""
    cases = [
        ("downward includes only", {
            "calc/earthing.h": "",
            "settings/store.h": '#include "earthing.h"\n',
            "ui/window.cpp": '#include "store.h"\n#include <QWidget>\n#include "qwidget_private.h"\n',
        }, []),
        ("an include from a folder above", {
            "calc/earthing.cpp": '#include "window.h"\n',
            "ui/window.h": "",
        }, ["above"]),
        ("a generated header's template counts as the header", {
            "resources/version.h.in": "",
            "calc/demo.cpp": '#include "version.h"\n',
            "report/page.cpp": '  #  include "version.h"\n',
        }, []),
        ("two folders of one layer include each other", {
            "help/browser.h": '#include "theme.h"\n',
            "skins/theme.h": '#include "browser.h"\n',
        }, ["each other"]),
        ("one header name in two folders", {
            "calc/shared.h": "",
            "ui/shared.h": "",
            "report/page.cpp": '#include "shared.h"\n',
        }, ["several folders"]),
        ("a commented-out include is not an include", {
            "calc/earthing.cpp": '// #include "window.h"\n',
            "ui/window.h": "",
        }, []),
    ]
    failures = 0
    for title, tree, expected in cases:
        with tempfile.TemporaryDirectory() as root:
            for path, text in tree.items():
                os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(root, path), "w", encoding="utf-8") as out:
                    out.write(text)
            problems = check(root)
        found = len(problems) == len(expected) and all(
            any(word in problem for problem in problems) for word in expected)
        if not found:
            failures += 1
            print(f"self-test failed: {title}: expected {expected}, got {problems}", file=sys.stderr)
    return failures


def main(arguments):
    if arguments == ["--self-test"]:
        failures = self_test()
        print("Include directions: the self-test " + ("failed" if failures else "passed"))
        return 1 if failures else 0
    if arguments:
        print(__doc__, file=sys.stderr)
        return 2
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    problems = check(root)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print("Include directions: " + " <- ".join(", ".join(layer) for layer in LAYERS)
              + " is broken", file=sys.stderr)
        return 1
    print("Include directions: " + " <- ".join(", ".join(layer) for layer in LAYERS))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

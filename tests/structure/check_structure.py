#!/usr/bin/env python3
"""Checks how the program's files meet.

- Every quoted include names its folder from the top of the tree.
- A folder uses only the folders below it in the layering.
- No unit (X.h with X.cpp) reaches itself through the units it includes.
- A window's header is included only by its own unit, the wiring in
  windows/ProgramWindows and the tests.
Prints each fault and exits 1 if there is one.
"""
import os
import re
import sys

# Each folder and the folders it may include from (besides itself).
LAYERS = {
    "files": [],
    "colour/model": ["files"],
    "engine": ["colour/model", "files"],
    "colour/views": ["engine", "colour/model", "files"],
    "platform": ["engine", "colour/model", "files"],
    "commands": ["platform", "engine", "colour/model", "files"],
    "colour/windows": ["commands", "platform", "colour/views", "engine", "colour/model", "files"],
    "dialogs": ["commands", "platform", "engine", "colour/model", "files"],
    "windows": ["colour/windows", "dialogs", "commands", "platform", "colour/views", "engine", "colour/model", "files"],
    "tools": ["platform", "engine", "colour/model", "files"],
    "render": ["engine", "colour/model", "files"],
}
# Folders outside the program (benchmarks, tests, build-time tools) may use
# every layer but are never used by it.
OUTSIDE = ["bench", "tests", "desktop"]
WIRING = "windows/ProgramWindows"
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
WINDOW_CLASS = re.compile(r"^class\s+Tfrm\w+\s*(final\s*)?:", re.M)


def sources(root, folder):
    for path, _, files in os.walk(os.path.join(root, folder)):
        for name in files:
            if name.endswith((".h", ".cpp")):
                yield os.path.relpath(os.path.join(path, name), root)


def folder_of(path):
    best = ""
    for folder in list(LAYERS) + OUTSIDE:
        if path.startswith(folder + "/") and len(folder) > len(best):
            best = folder
    return best


def main(root):
    faults = []
    program = [f for folder in LAYERS for f in sources(root, folder)]
    outside = [f for folder in OUTSIDE for f in sources(root, folder)]
    includes = {}
    for path in program + outside:
        with open(os.path.join(root, path), encoding="utf-8") as text:
            includes[path] = INCLUDE.findall(text.read())
    window_headers = set()
    for path in program:
        if path.endswith(".h"):
            with open(os.path.join(root, path), encoding="utf-8") as text:
                if WINDOW_CLASS.search(text.read()):
                    window_headers.add(path)

    unit = lambda path: os.path.splitext(path)[0]
    edges = {}
    for path in program:
        folder = folder_of(path)
        for name in includes[path]:
            if not os.path.isfile(os.path.join(root, name)):
                faults.append(f"{path}: include \"{name}\" does not name its folder")
                continue
            target = folder_of(name)
            if target != folder and target not in LAYERS.get(folder, []):
                faults.append(f"{path}: {folder}/ may not include {name}")
            if name in window_headers and unit(path) not in (unit(name), WIRING):
                faults.append(f"{path}: includes the window header {name}")
            if unit(name) != unit(path):
                edges.setdefault(unit(path), set()).add(unit(name))
    for path in outside:
        for name in includes[path]:
            local = os.path.isfile(os.path.join(root, os.path.dirname(path), name))
            if not local and not os.path.isfile(os.path.join(root, name)):
                faults.append(f"{path}: include \"{name}\" does not name its folder")

    # Tarjan's strongly connected components: any with two or more units is a loop.
    index, low, stack, on_stack, loops = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(edges.get(node, ())):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                component.append(top)
                if top == node:
                    break
            if len(component) > 1:
                loops.append(sorted(component))

    sys.setrecursionlimit(10000)
    for node in sorted(set(edges) | {unit(p) for p in program}):
        if node not in index:
            visit(node)
    for loop in loops:
        faults.append("units that include each other in a loop: " + ", ".join(loop))

    for fault in faults:
        print(fault)
    print(f"checked {len(program)} program files and {len(outside)} others: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))

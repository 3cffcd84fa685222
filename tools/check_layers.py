#!/usr/bin/env python3
"""Checks that the program's includes follow its layers: check_layers.py ROOT

Each layer is a folder whose sources.cmake declares it with
tessarine_layer(NAME ... DEPENDS LAYER...). A source file of a layer may
include headers of its own layer and of the layers it builds on, directly or
through others, and nothing else of the program; and no two modules (a header
and its source file) may include each other, however long the circle.
Prints every fault and exits 1 when there is one.
"""
import os
import re
import sys

LAYER = re.compile(r"tessarine_layer\(\s*(\w+)(.*?)\)", re.S)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([\w./]+)"', re.M)
KEYWORDS = {"PORTABLE", "POSIX", "WIN", "DEPENDS", "LIBRARIES", "WIN_LIBRARIES"}


def read_layers(root):
    """Each layer's name and the layers it names after DEPENDS."""
    layers = {}
    for folder in sorted(os.listdir(root)):
        path = os.path.join(root, folder, "sources.cmake")
        if not os.path.isfile(path):
            continue
        with open(path, encoding="utf-8") as f:
            text = re.sub(r"#.*", "", f.read())
        for name, body in LAYER.findall(text):
            words = body.split()
            depends = []
            if "DEPENDS" in words:
                for word in words[words.index("DEPENDS") + 1 :]:
                    if word in KEYWORDS:
                        break
                    depends.append(word)
            layers[name] = depends
    return layers


def below(layers, name, seen=None):
    """The layers that `name` builds on, directly or not."""
    seen = set() if seen is None else seen
    for depend in layers.get(name, []):
        if depend not in seen:
            seen.add(depend)
            below(layers, depend, seen)
    return seen


def sources(root, folder):
    for dirpath, _, files in os.walk(os.path.join(root, folder)):
        for file in sorted(files):
            if file.endswith((".h", ".cpp")):
                yield os.path.relpath(os.path.join(dirpath, file), root)


def module(path):
    return os.path.splitext(path)[0]


def find_cycle(graph):
    """A circle of modules, as a list, or None."""
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return stack[stack.index(nxt) :] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    layers = read_layers(root)
    if not layers:
        print("no layers found under %s" % root)
        return 1
    faults = []
    graph = {}
    for name in layers:
        allowed = below(layers, name) | {name}
        for path in sources(root, name):
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                includes = INCLUDE.findall(f.read())
            for include in includes:
                folder = include.split("/")[0]
                if "/" not in include or folder not in layers:
                    continue  # a generated header or one of a library
                if folder not in allowed:
                    faults.append(
                        "%s includes %s: %s does not build on %s (it builds on %s)"
                        % (path, include, name, folder, ", ".join(sorted(allowed - {name})) or "nothing")
                    )
                if module(include) != module(path):
                    graph.setdefault(module(path), set()).add(module(include))
    cycle = find_cycle(graph)
    if cycle:
        faults.append("modules include each other in a circle: " + " -> ".join(cycle))
    for fault in faults:
        print(fault)
    print("layers: %d folders, %d faults" % (len(layers), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

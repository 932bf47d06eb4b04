#!/usr/bin/env python3
"""Checks the include graph of src/.

The folders form one order, each using only those before it (and itself):
platform < engine/model < engine/catalogue < engine/selection < engine/analysis
< engine/pipeline < engine/controls < engine/picture < the programs (win, cli).
The check fails on any include that runs against that order (a header-only
module counts like any other file), when modules (a header and its source,
src/a/b.h + src/a/b.cpp) include each other in a circle, and when an engine
file includes a Windows-side header: one of src/win/, or a
Win32/Direct3D/WinINet system header.
Usage: python3 scripts/check_includes.py [SRC_DIR]
"""
import os
import re
import sys

WINDOWS_SYSTEM_HEADERS = {
    "windows.h", "windowsx.h", "d3d9.h", "d3dx9.h", "wininet.h", "commctrl.h",
    "commdlg.h", "shellapi.h", "shlobj.h", "mmsystem.h", "objbase.h", "winuser.h",
    "wingdi.h", "winbase.h", "winnls.h",
}
LAYERS = ["platform/", "engine/model/", "engine/catalogue/", "engine/selection/", "engine/analysis/",
          "engine/pipeline/", "engine/controls/", "engine/picture/"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def read_includes(src):
    """Returns {file: [(kind, name)]} for every .h/.cpp under src, paths relative to src."""
    includes = {}
    for folder, _, names in os.walk(src):
        for name in names:
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            with open(path, encoding="utf-8", errors="replace") as f:
                includes[rel] = [m.groups() for m in map(INCLUDE.match, f) if m]
    return includes


def module_of(path):
    return os.path.splitext(path)[0]


def circles(graph):
    """The strongly connected components of more than one module (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return found


def layer_of(path):
    """The position of a file's folder in LAYERS; the programs (and anything else) come last."""
    for rank, folder in enumerate(LAYERS):
        if path.startswith(folder):
            return rank
    return len(LAYERS)


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else "src"
    includes = read_includes(src)
    graph, problems = {}, []
    for path, items in sorted(includes.items()):
        here = module_of(path)
        for kind, name in items:
            if path.startswith("engine/"):
                if (kind == '"' and name.startswith("win/")) or \
                   (kind == "<" and name.lower() in WINDOWS_SYSTEM_HEADERS):
                    problems.append(f"{path}: the engine includes Windows-side {name}")
            if kind == '"' and name in includes and module_of(name) != here:
                graph.setdefault(here, set()).add(module_of(name))
                if layer_of(name) > layer_of(path):
                    problems.append(f"{path}: includes {name}, a later layer")
    for component in circles(graph):
        problems.append("include circle: " + " <-> ".join(component))
    for problem in problems:
        print(problem)
    print(f"include check: {len(includes)} files, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Checks that every #include between the source folders points down the layer table.

A file may include headers of its own folder and of folders on a lower rank; an include of a
folder on the same rank (sideways) or a higher one (up) is an error, and so is any cycle
between folders. Exits 1 with one line per fault."""
import pathlib
import re
import sys

# Lowest rank first. Folders on one rank never include each other.
LAYERS = [
    ["resources", "common"],                      # shared by all three programs
    ["toolkit"],                                  # widgets
    ["face", "alarms", "tools"],                  # features of the clock
    ["breaksettings"],                            # a break is an alarm item: builds on alarms
    ["apps/zentaro", "apps/break", "apps/vitaro"],  # the programs
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def folder_of(path: str):
    """The table's folder that holds path (a repository-relative path), or None."""
    for folder in sorted(RANK, key=len, reverse=True):
        if path == folder or path.startswith(folder + "/"):
            return folder
    return None


def main(root: pathlib.Path) -> int:
    faults = []
    edges = {}
    for folder in RANK:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in (".h", ".cpp", ".rc"):
                continue
            rel = source.relative_to(root).as_posix()
            for number, line in enumerate(source.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = folder_of(match.group(1))
                if target is None or target == folder:
                    continue
                edges.setdefault(folder, set()).add(target)
                if RANK[target] >= RANK[folder]:
                    way = "sideways" if RANK[target] == RANK[folder] else "up"
                    faults.append(f"{rel}:{number}: includes {match.group(1)} ({way}: {folder} -> {target})")

    # Any cycle between folders, found by depth-first search over the include edges.
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == "open":
                cycle = trail[trail.index(nxt):] + [nxt]
                faults.append("cycle between folders: " + " -> ".join(cycle))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])

    for fault in faults:
        print(fault)
    if faults:
        print(f"layers: {len(faults)} fault(s); the order is " + " < ".join("/".join(f) for f in LAYERS))
        return 1
    print("layers: every include points down (" + " < ".join("/".join(f) for f in LAYERS) + ")")
    return 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(__file__).resolve().parent.parent))

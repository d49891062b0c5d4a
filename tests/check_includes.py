#!/usr/bin/env python3
"""Fails on any #include "..." under src/ that runs up the house, and on any units (a .cpp
with its .h) that include each other round a loop, so that the rooms stay as the README's
Layout section draws them. Usage: check_includes.py <src folder>"""
import pathlib
import re
import sys

# Bottom to top. A file may include its own room and those below it, never one above.
ROOMS = ["base", "platform", "config", "patterns", "monitor", "keep", "wizard", "win32", "app"]
# The one record of shared state is read from the rooms that the program's design names;
# AppState.h itself includes only rooms below app.
APP_STATE = "app/AppState.h"
APP_STATE_READERS = {"config", "patterns", "keep", "wizard"}


def room_of(path):
    if path == "resources/resource.h":
        return "base"  # the control identifiers, which every room may name
    top = path.split("/")[0]
    return top if top in ROOMS else None


def includes_of(src):
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        path = file.relative_to(src).as_posix()
        for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
            match = include.match(line)
            if not match:
                continue
            # Resource scripts' headers are found beside them; everything else by its path from src/.
            target = match.group(1) if "/" in match.group(1) else f"resources/{match.group(1)}"
            if room_of(target) is None and not (src / target).exists() and (file.parent / match.group(1)).exists():
                continue  # a header generated or kept beside its file
            yield path, number, target


def room_problems(src):
    problems = []
    for path in sorted(p.relative_to(src).as_posix() for p in src.rglob("*") if p.suffix in (".h", ".cpp")):
        if room_of(path) is None:
            problems.append(f"{path}: in no room")
    for path, number, target in includes_of(src):
        room, target_room = room_of(path), room_of(target)
        if room is None:
            continue
        if target_room is None:
            problems.append(f"{path}:{number}: {target} is in no room")
        elif target == APP_STATE and room in APP_STATE_READERS:
            continue
        elif ROOMS.index(target_room) > ROOMS.index(room) or (target == APP_STATE and room != "app"):
            problems.append(f"{path}:{number}: {room} includes {target} of {target_room}")
    return problems


def loop_problems(src):
    """A unit is a file's path without its suffix; a loop is a strongly connected set of units."""
    edges = {}
    for path, _, target in includes_of(src):
        unit, other = path.rsplit(".", 1)[0], target.rsplit(".", 1)[0]
        edges.setdefault(unit, set())
        if other != unit:
            edges[unit].add(other)
    index, low, stack, on_stack, loops = {}, {}, [], set(), []

    def visit(unit):  # Tarjan's algorithm
        index[unit] = low[unit] = len(index)
        stack.append(unit)
        on_stack.add(unit)
        for other in edges.get(unit, ()):
            if other not in index:
                visit(other)
                low[unit] = min(low[unit], low[other])
            elif other in on_stack:
                low[unit] = min(low[unit], index[other])
        if low[unit] == index[unit]:
            members = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                members.append(member)
                if member == unit:
                    break
            if len(members) > 1:
                loops.append(sorted(members))

    for unit in sorted(edges):
        if unit not in index:
            visit(unit)
    return ["units in a loop: " + ", ".join(loop) for loop in loops]


def main():
    src = pathlib.Path(sys.argv[1])
    problems = room_problems(src) + loop_problems(src)
    for problem in problems:
        print(problem)
    print(f"{len(problems)} include(s) against the rooms or in a loop")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.setrecursionlimit(10000)
    sys.exit(main())

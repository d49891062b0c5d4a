#!/usr/bin/env python3
"""Fails on any #include "..." under src/ that runs up the house, so that the layers stay
as the README's Layout section draws them. Usage: check_includes.py <src folder>"""
import pathlib
import re
import sys

# Bottom to top. A file may include its own layer and those below it, never one above.
LAYERS = [
    ("base", lambda p: p.startswith("base/") or p == "resources/resource.h"),
    ("seams", lambda p: p == "platform/Platform.h"),
    ("core", lambda p: p.split("/")[0] in ("config", "patterns", "wizard") or
     (p.startswith("app/") and p != "app/WinMain.cpp")),
    ("in-memory backends", lambda p: p.startswith("platform/") and "/win32/" not in p),
    ("win32", lambda p: p.startswith("platform/win32/")),
    ("program", lambda p: p == "app/WinMain.cpp"),
]


def layer_of(path):
    for rank, (_, matches) in enumerate(LAYERS):
        if matches(path):
            return rank
    return None


def main():
    src = pathlib.Path(sys.argv[1])
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
    problems = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        path = file.relative_to(src).as_posix()
        rank = layer_of(path)
        if rank is None:
            problems.append(f"{path}: in no layer")
            continue
        for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
            match = include.match(line)
            if not match:
                continue
            # Resource scripts' headers are found beside them; everything else by its path from src/.
            target = match.group(1) if "/" in match.group(1) else f"resources/{match.group(1)}"
            target_rank = layer_of(target)
            if target_rank is None and not (src / target).exists() and (file.parent / match.group(1)).exists():
                continue  # a header generated or kept beside its file
            if target_rank is None:
                problems.append(f"{path}:{number}: {match.group(1)} is in no layer")
            elif target_rank > rank:
                problems.append(f"{path}:{number}: {LAYERS[rank][0]} includes {target} of {LAYERS[target_rank][0]}")
    for problem in problems:
        print(problem)
    print(f"{len(problems)} include(s) against the layers")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

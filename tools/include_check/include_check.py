#!/usr/bin/env python3
"""Checks that every #include in src/ points down the folder order, never up or sideways.

The order, lowest first: link, model, platform, the view's common folder, the view's areas
(face, captions, pickers: none of them includes another), the root view, shell. A file may
include headers of its own folder and of folders below it. Prints each offending include and
exits 1 if there is one.

    include_check.py [SOURCE_DIR]
"""
import pathlib
import re
import sys

RANK = {
    "link": 0,
    "model": 1,
    "platform": 2,
    "view/common": 3,
    "view/face": 4,
    "view/captions": 4,
    "view/pickers": 4,
    "view": 5,
    "shell": 6,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path, src):
    return path.parent.relative_to(src).as_posix()


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
    src = root / "src"
    files = sorted(p for p in src.rglob("*") if p.suffix in (".cpp", ".hpp"))
    unknown = sorted({folder_of(p, src) for p in files} - RANK.keys())
    if unknown:
        print("include_check: folders without a place in the order: " + ", ".join(unknown))
        return 1
    # A plain name is found next to the including file or in a folder's public include path;
    # the view's headers are named with their folder ("captions/card.hpp").
    by_name = {}
    for p in files:
        folder = folder_of(p, src)
        by_name.setdefault(p.name, []).append(folder)
        if folder.startswith("view/"):
            by_name.setdefault(folder[len("view/"):] + "/" + p.name, []).append(folder)
    bad = 0
    for p in files:
        here = folder_of(p, src)
        for no, line in enumerate(p.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m or not m.group(1).endswith(".hpp"):
                continue
            name = m.group(1)
            if (p.parent / name).is_file():
                there = folder_of((p.parent / name).resolve(), src.resolve())
            elif len(by_name.get(name, [])) == 1:
                there = by_name[name][0]
            else:
                print("%s:%d: cannot tell where \"%s\" lives" % (p.relative_to(root), no, name))
                bad += 1
                continue
            if there != here and RANK[there] >= RANK[here]:
                print("%s:%d: %s includes \"%s\" from %s, which is not below it"
                      % (p.relative_to(root), no, here, name, there))
                bad += 1
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Writes the help pages of one language from their common source.

Usage: help_pages.py SOURCE OUTDIR     writes every page into OUTDIR
       help_pages.py --list SOURCE     prints the pages' file names

The source (help/vrm650t_LANG.html.in) holds the text of all pages of a
language once. Its first line names the pages:

    @@pages lmr brs gmrs adv

and each is written as vrm650t_LANG_NAME.html. Every other line goes into
every page, except inside a block: a line "@@ NAME..." starts lines only for
the named pages, a line "@@" alone ends the block. Marker lines are not
copied.
"""
import pathlib
import re
import sys

PAGES = re.compile(r"@@pages((?: [a-z]+)+)\n")
SOURCE_NAME = re.compile(r"(.+)\.html\.in$")


class SourceError(Exception):
    pass


def parse(source_path):
    """Returns (file stem, page names, {page: text})."""
    name = SOURCE_NAME.match(source_path.name)
    if not name:
        raise SourceError(f"{source_path}: the source's name must end in .html.in")
    text = source_path.read_text(encoding="utf-8")
    lines = text.splitlines(keepends=True)
    header = PAGES.fullmatch(lines[0]) if lines else None
    if not header:
        raise SourceError(f"{source_path}:1: the first line must be '@@pages NAME...'")
    pages = header.group(1).split()
    if len(set(pages)) != len(pages):
        raise SourceError(f"{source_path}:1: a page is named twice")
    out = {p: [] for p in pages}
    wanted = pages
    for number, line in enumerate(lines[1:], start=2):
        if line.startswith("@@"):
            names = line[2:].split()
            unknown = [n for n in names if n not in out]
            if unknown or (names and line[2:3] != " "):
                raise SourceError(f"{source_path}:{number}: unknown page in marker: {line.strip()}")
            wanted = names or pages
            continue
        for p in wanted:
            out[p].append(line)
    if wanted is not pages:
        raise SourceError(f"{source_path}: the last block is not ended by '@@'")
    return name.group(1), pages, {p: "".join(out[p]) for p in pages}


def write_page(path, text):
    # Written beside and renamed, so that a running program never reads half a page.
    tmp = path.with_name(path.name + ".tmp")
    tmp.write_bytes(text.encode("utf-8"))
    tmp.replace(path)


def main(argv):
    try:
        if len(argv) == 3 and argv[1] == "--list":
            stem, pages, _ = parse(pathlib.Path(argv[2]))
            print(";".join(f"{stem}_{p}.html" for p in pages))
            return 0
        if len(argv) != 3:
            print(__doc__.strip().splitlines()[2], file=sys.stderr)
            return 2
        stem, pages, texts = parse(pathlib.Path(argv[1]))
        outdir = pathlib.Path(argv[2])
        outdir.mkdir(parents=True, exist_ok=True)
        for p in pages:
            write_page(outdir / f"{stem}_{p}.html", texts[p])
        return 0
    except (OSError, UnicodeDecodeError, SourceError) as e:
        print(f"help_pages.py: {e}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""List C++ function bodies longer than a limit.

Usage: long_functions.py [--limit N] PATH...   (folders are searched for *.cpp/*.h)

A function is a brace block at namespace or class level whose head ends in a
closing parenthesis (optionally followed by const, noexcept, override, a
trailing return type or a constructor's initialiser list). Its length runs
from the first line of the head to the closing brace. Lambdas and local
classes count towards the function that holds them. The scan is textual
(comments, strings and character literals are blanked first), which is enough
for this code base's layout.
"""
import argparse
import pathlib
import re
import sys

CONTROL = {"if", "for", "while", "switch", "catch", "do", "else", "try"}


def blank_comments_and_strings(text):
    """Returns text of equal length with comments and literals replaced by spaces."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        nxt = text[i + 1] if i + 1 < n else ""
        if c == "/" and nxt == "/":
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif c == "/" and nxt == "*":
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == "R" and nxt == '"':
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + re.sub(r"[^\n]", " ", text[i + 1:j - 1]) + c if j - i >= 2 else text[i:j])
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def is_function_head(head):
    head = re.sub(r"\s+", " ", head).strip()
    if not head or head.startswith("#"):
        return False
    # Constructor initialiser lists: cut at the first ") :" that is not "::".
    m = re.search(r"\)\s*(?:const\s*)?(?:noexcept\s*)?:(?!:)", head)
    if m:
        head = head[:m.end() - 1].rstrip(" :")
    head = re.sub(r"\s*(const|noexcept|override|final|mutable|->\s*[\w:<>,\s*&]+)\s*$", "", head)
    head = re.sub(r"\s*(const|noexcept|override|final)\s*$", "", head)
    if not head.endswith(")"):
        return False
    first = re.match(r"[A-Za-z_]\w*", head)
    if first and first.group(0) in CONTROL:
        return False
    if re.search(r"(^|\s)(=|return)\s", head) or "= [" in head or head.startswith("["):
        return False
    return True


def scan(path, limit):
    raw = path.read_text(encoding="utf-8", errors="replace")
    text = blank_comments_and_strings(raw)
    results = []
    # Stack of (kind, start_line, name); kind is "scope" (namespace/class), "func" or "block".
    stack = []
    head_start = 0
    for i, c in enumerate(text):
        if c in ";{}":
            if c == "{":
                head = text[head_start:i]
                in_func = any(k == "func" for k, _, _ in stack)
                if in_func:
                    stack.append(("block", 0, ""))
                elif re.search(r"\b(namespace|class|struct|union|enum)\b[^()]*$", head) or \
                        re.search(r'extern\s*"\s*"\s*$', head):
                    stack.append(("scope", 0, ""))
                elif is_function_head(head):
                    stripped = head.lstrip()
                    start_off = i - len(head) + (len(head) - len(stripped))
                    line = text.count("\n", 0, start_off) + 1
                    name = re.search(r"([~\w:]+(?:operator\S*)?)\s*\(", re.sub(r"\s+", " ", head))
                    stack.append(("func", line, name.group(1) if name else "?"))
                else:
                    stack.append(("block", 0, ""))
            elif c == "}":
                if stack:
                    kind, line, name = stack.pop()
                    if kind == "func":
                        end = text.count("\n", 0, i) + 1
                        length = end - line + 1
                        if length > limit:
                            results.append((length, line, name))
            head_start = i + 1
        elif c == "#" and (i == 0 or text[i - 1] == "\n"):
            # Preprocessor lines end a head.
            j = text.find("\n", i)
            head_start = len(text) if j < 0 else j + 1
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--limit", type=int, default=60)
    parser.add_argument("paths", nargs="+")
    args = parser.parse_args()
    files = []
    for p in map(pathlib.Path, args.paths):
        files += sorted(p.rglob("*")) if p.is_dir() else [p]
    total = 0
    for f in files:
        if f.suffix not in (".cpp", ".h") or not f.is_file():
            continue
        for length, line, name in scan(f, args.limit):
            print(f"{f}:{line}: {name} {length} lines")
            total += 1
    print(f"{total} function(s) over {args.limit} lines", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())

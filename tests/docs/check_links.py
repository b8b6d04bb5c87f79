#!/usr/bin/env python3
"""Fails on a relative link or image in README.md or docs/*.md that does not
resolve: the file (or folder) must exist, and an #anchor must name a heading
of the Markdown file it points into, by GitHub's heading-slug rules.

    check_links.py SOURCE_DIR     check the tree's pages
    check_links.py --self-test    prove the check on planted good and bad links
"""
import os
import re
import sys
import tempfile

LINK = re.compile(r'!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]*)>?(?:\s+"[^"]*")?\s*\)')
HTML_LINK = re.compile(r'<(?:a|img)\s[^>]*?(?:href|src)="([^"]*)"', re.IGNORECASE)
FENCE = re.compile(r'^\s*(```|~~~)')
HEADING = re.compile(r'^(#{1,6})\s+(.*?)\s*#*\s*$')


def prose_lines(text):
    """(line number, line) of the lines outside fenced and indented code."""
    in_fence = False
    previous_blank = True
    in_indented = False
    for number, line in enumerate(text.split('\n'), 1):
        if FENCE.match(line):
            in_fence = not in_fence
            continue
        if in_fence:
            continue
        blank = not line.strip()
        if line.startswith(('    ', '\t')) and (previous_blank or in_indented) and not blank:
            in_indented = True
            continue
        if not blank:
            in_indented = False
        previous_blank = blank
        yield number, line


def slug(heading):
    """GitHub's anchor for a heading's text."""
    text = re.sub(r'!?\[([^\]]*)\]\([^)]*\)', r'\1', heading)  # links keep their text
    text = re.sub(r'<[^>]+>', '', text)                           # inline HTML goes
    text = text.lower()
    text = ''.join(c for c in text if c.isalnum() or c in ' -_')
    return text.replace(' ', '-')


def anchors(path, cache={}):
    if path not in cache:
        with open(path, encoding='utf-8') as f:
            text = f.read()
        seen = {}
        found = set()
        for _, line in prose_lines(text):
            m = HEADING.match(line)
            if not m:
                continue
            base = slug(m.group(2))
            n = seen.get(base, 0)
            seen[base] = n + 1
            found.add(base if n == 0 else f'{base}-{n}')
        cache[path] = found
    return cache[path]


def strip_code_spans(line):
    return re.sub(r'(`+)(.+?)\1', '', line)


def check_file(path, root):
    problems = []
    with open(path, encoding='utf-8') as f:
        text = f.read()
    here = os.path.dirname(path)
    for number, line in prose_lines(text):
        line = strip_code_spans(line)
        targets = LINK.findall(line) + HTML_LINK.findall(line)
        for target in targets:
            if not target or re.match(r'^[a-z][a-z0-9+.-]*:', target, re.IGNORECASE):
                continue  # an absolute URL (https:, mailto:) is not checked here
            where = f'{os.path.relpath(path, root)}:{number}'
            if target.startswith('/'):
                problems.append(f'{where}: {target}: links must be relative')
                continue
            file_part, _, anchor = target.partition('#')
            linked = os.path.normpath(os.path.join(here, file_part)) if file_part else path
            if not os.path.exists(linked):
                problems.append(f'{where}: {target}: no such file')
                continue
            if anchor and linked.endswith('.md') and anchor not in anchors(linked):
                problems.append(f'{where}: {target}: no heading with the anchor #{anchor}')
    return problems


def pages(root):
    found = [os.path.join(root, 'README.md')]
    docs = os.path.join(root, 'docs')
    found += sorted(os.path.join(docs, n) for n in os.listdir(docs) if n.endswith('.md'))
    return found


def check_tree(root):
    problems = []
    for page in pages(root):
        problems += check_file(page, root)
    return problems


def self_test():
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, 'docs'))
        files = {
            'README.md': '# Title\n\n![Shot](docs/shot.png) [guide](docs/guide.md#a-b--c)\n'
                         '[gone](docs/gone.md) ![lost](docs/lost.png)\n'
                         '[bad](docs/guide.md#nowhere) [web](https://example.org/x)\n'
                         '`[in code](docs/nope.md)`\n\n    [indented](docs/nope.md)\n',
            'docs/guide.md': '# Guide\n\n## A, `b` & C\n\n## Twice\n\n## Twice\n\n'
                             '```\n## Not a heading\n```\n\n'
                             '[one](#twice) [two](#twice-1) [three](#twice-2) [fenced](#not-a-heading)\n'
                             '[up](../README.md#title) [root](/etc/passwd)\n',
            'docs/shot.png': '',
        }
        for name, text in files.items():
            with open(os.path.join(root, name), 'w', encoding='utf-8') as f:
                f.write(text)
        got = sorted(p.split(': ', 1)[1] for p in check_tree(root))
    want = sorted([
        'docs/gone.md: no such file',
        'docs/lost.png: no such file',
        'docs/guide.md#nowhere: no heading with the anchor #nowhere',
        '#twice-2: no heading with the anchor #twice-2',
        '#not-a-heading: no heading with the anchor #not-a-heading',
        '/etc/passwd: links must be relative',
    ])
    if got != want:
        print('the check found:\n  ' + '\n  '.join(got) + '\nbut should find:\n  ' + '\n  '.join(want))
        return 1
    print('the check finds every planted bad link and passes the good ones')
    return 0


def main(argv):
    if argv[1:] == ['--self-test']:
        return self_test()
    if len(argv) != 2:
        print(__doc__)
        return 64
    problems = check_tree(argv[1])
    for p in problems:
        print(p)
    if problems:
        print(f'{len(problems)} links do not resolve')
        return 1
    print(f'every relative link in {len(pages(argv[1]))} pages resolves')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

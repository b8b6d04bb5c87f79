#!/usr/bin/env python3
"""Checks that every #include in the layer folders points down (or within its
own folder), and that no Qt header reaches the core, the CLI, the simulated
radio or the transport. Prints one line per offending include (file:line) and
exits 1 when there is any.

Usage: check_layers.py SOURCE_ROOT
"""
import os
import re
import sys

CORE = ['core/base', 'core/model', 'core/fields', 'core/files', 'core/exchange',
        'core/link', 'core/document']
GUI_MIDDLE = ['gui/editors', 'gui/transfer', 'gui/print']

# What each folder may include besides itself.
ALLOWED = {'pipelink': set(), 'sim': set(CORE) | {'pipelink'}}
for i, layer in enumerate(CORE):
    ALLOWED[layer] = set(CORE[:i])
ALLOWED['core/link'].add('pipelink')
ALLOWED['gui/widgets'] = set(CORE)
for layer in GUI_MIDDLE:
    ALLOWED[layer] = set(CORE) | {'gui/widgets'}
ALLOWED['gui/app'] = set(CORE) | {'gui/widgets'} | set(GUI_MIDDLE)
ALLOWED['cli'] = set(CORE) | {'sim'}
QT_FREE = set(CORE) | {'pipelink', 'sim', 'cli'}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def layer_of(path):
    parts = path.split('/')
    if parts[0] in ('core', 'gui') and len(parts) > 2:
        return parts[0] + '/' + parts[1]
    return parts[0] if len(parts) > 1 else None


def check(root):
    faults = []
    for top in ('core', 'gui', 'cli', 'sim', 'pipelink'):
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith(('.cpp', '.h')):
                    continue
                full = os.path.join(folder, name)
                rel = os.path.relpath(full, root).replace(os.sep, '/')
                faults += check_file(full, rel, layer_of(rel))
    return faults


def check_file(full, rel, layer):
    faults = []
    with open(full, encoding='utf-8', errors='replace') as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, target = m.groups()
            where = f'{rel}:{number}: #include {kind}{target}: '
            if kind == '<':
                if layer in QT_FREE and re.match(r'Q[A-Za-z]*(/|$)', target):
                    faults.append(where + f'{layer} must not use Qt')
                continue
            to = layer_of(target)
            if to not in ALLOWED:
                faults.append(where + 'not written from the source root')
            elif to != layer and to not in ALLOWED[layer]:
                faults.append(where + f'{layer} may not include {to}')
    return faults


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())

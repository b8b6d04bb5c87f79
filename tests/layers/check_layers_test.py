#!/usr/bin/env python3
"""The layering check on small trees: a clean one passes, and each planted bad
include fails the check, named by file and line."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'check_layers.py')

CLEAN = {
    'core/base/text.h': '#pragma once\n#include <string>\n',
    'core/model/image.h': '#include "core/base/text.h"\n',
    'core/link/port.cpp': '#include "core/model/image.h"\n#include "pipelink/pipelink.h"\n',
    'gui/widgets/grid.h': '#include <QWidget>\n#include "core/model/image.h"\n',
    'gui/app/frame.cpp': '#include "gui/widgets/grid.h"\n',
    'sim/radio.cpp': '#include "core/link/port.h"\n',
    'cli/main.cpp': '#include "sim/radio.h"\n#include "core/base/text.h"\n',
    'pipelink/pipelink.h': '#include <stdint.h>\n',
}


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), 'w') as f:
                f.write(text)
        done = subprocess.run([sys.executable, CHECKER, root], capture_output=True, text=True)
        return done.returncode, done.stdout


class CheckLayersTest(unittest.TestCase):
    def test_clean_tree_passes(self):
        self.assertEqual(run(CLEAN), (0, ''))

    def test_each_planted_include_fails_naming_file_and_line(self):
        planted = {
            'up a layer': ('core/base/text.cpp', '// text\n#include "core/model/image.h"\n', 'core/base/text.cpp:2:'),
            'Qt in core': ('core/model/image.cpp', '#include <QString>\n', 'core/model/image.cpp:1:'),
            'core into gui': ('core/document/doc.cpp', '#include "gui/widgets/grid.h"\n', 'core/document/doc.cpp:1:'),
            'sideways in gui': ('gui/editors/view.cpp', '\n\n#include "gui/transfer/dialog.h"\n', 'gui/editors/view.cpp:3:'),
            'gui into sim': ('gui/app/main.cpp', '#include "sim/radio.h"\n', 'gui/app/main.cpp:1:'),
            'cli into gui': ('cli/print.cpp', '#include "gui/print/render.h"\n', 'cli/print.cpp:1:'),
            'not from the root': ('gui/app/x.cpp', '#include "grid.h"\n', 'gui/app/x.cpp:1:'),
        }
        for name, (path, text, where) in planted.items():
            with self.subTest(name):
                code, out = run({**CLEAN, path: text})
                self.assertEqual(code, 1, out)
                self.assertEqual(len(out.splitlines()), 1, out)
                self.assertTrue(out.startswith(where), out)


if __name__ == '__main__':
    unittest.main()

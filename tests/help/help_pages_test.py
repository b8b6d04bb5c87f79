#!/usr/bin/env python3
"""The help pages written from their common sources: each page holds its own
sections and none of the other pages' ones; the marker grammar is checked on
small sources, and a malformed source stops the build with its line."""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
SCRIPT = os.path.join(ROOT, 'scripts', 'help_pages.py')

# Per page: texts only that page has, by language (its heading, and one
# section or row that belongs to that kind of radio alone).
OWN = {
    'en': {
        'lmr': ['(typed frequencies)</h1>', 'Dropout Delay Time [s] *'],
        'brs': ['(list of 99 frequencies)</h1>', 'Choose the receive frequency from the list of 99'],
        'gmrs': ['radios with the list of 22 frequencies</h1>', 'The 22 preset frequencies'],
        'adv': ["technician's tools</h1>", 'id="hF1101"'],
    },
    'de': {
        'lmr': ['(freie Frequenzeingabe)</h1>', 'Abfallverzögerung [s] *'],
        'brs': ['(Liste von 99 Frequenzen)</h1>', 'Wählen Sie die Empfangsfrequenz aus der Liste der 99'],
        'gmrs': ['Liste von 22 Frequenzen</h1>', 'Die 22 vorgegebenen Frequenzen nach Listeneintrag'],
        'adv': ['Werkzeuge für Techniker</h1>', 'id="hF1101"'],
    },
}


def generate(source, outdir):
    return subprocess.run([sys.executable, SCRIPT, source, outdir], capture_output=True, text=True)


class ShippedPagesTest(unittest.TestCase):
    def test_each_page_has_its_own_sections_and_not_the_others(self):
        with tempfile.TemporaryDirectory() as out:
            for lang, pages in OWN.items():
                done = generate(os.path.join(ROOT, 'help', f'vrm650t_{lang}.html.in'), out)
                self.assertEqual(done.returncode, 0, done.stderr)
                texts = {}
                for page in pages:
                    with open(os.path.join(out, f'vrm650t_{lang}_{page}.html'), encoding='utf-8') as f:
                        texts[page] = f.read()
                    self.assertTrue(texts[page].startswith('<!DOCTYPE html>'), page)
                    self.assertTrue(texts[page].endswith('</html>\n'), page)
                    self.assertNotIn('\n@@', texts[page], page)
                # One heading each; the main pages share the editors' anchors,
                # the technician's page has its own.
                for page, text in texts.items():
                    self.assertEqual(text.count('<h1 '), 1, f'{lang} {page}')
                    self.assertEqual('id="h11000"' in text, page != 'adv', f'{lang} {page}')
                    self.assertEqual('id="hF1101"' in text, page == 'adv', f'{lang} {page}')
                for page, own in pages.items():
                    for other, text in texts.items():
                        for marker in own:
                            self.assertEqual(marker in text, other == page, f'{marker!r} in {other}')


class MarkerGrammarTest(unittest.TestCase):
    def run_source(self, text, name='pages.html.in'):
        with tempfile.TemporaryDirectory() as d:
            src = os.path.join(d, name)
            with open(src, 'w', encoding='utf-8') as f:
                f.write(text)
            done = generate(src, os.path.join(d, 'out'))
            pages = {}
            if done.returncode == 0:
                for n in sorted(os.listdir(os.path.join(d, 'out'))):
                    with open(os.path.join(d, 'out', n), encoding='utf-8') as f:
                        pages[n] = f.read()
            return done.returncode, done.stderr, pages

    def test_blocks_go_only_into_the_named_pages(self):
        rc, err, pages = self.run_source('@@pages a b c\nall\n@@ a\nonly a\n@@ b c\nb and c\n@@\nend ä\n')
        self.assertEqual(rc, 0, err)
        self.assertEqual(pages, {'pages_a.html': 'all\nonly a\nend ä\n',
                                 'pages_b.html': 'all\nb and c\nend ä\n',
                                 'pages_c.html': 'all\nb and c\nend ä\n'})

    def test_a_malformed_source_is_refused_with_its_line(self):
        for text, where in [('no header\n', ':1:'),
                            ('@@pages a b\nx\n@@ a z\ny\n@@\n', ':3:'),
                            ('@@pages a b\n@@a\n', ':2:'),
                            ('@@pages a b\n@@ a\nopen block\n', 'not ended')]:
            rc, err, pages = self.run_source(text)
            self.assertEqual(rc, 1, text)
            self.assertIn(where, err, text)
            self.assertEqual(pages, {}, text)
        rc, err, _ = self.run_source('@@pages a\nx\n', name='pages.html')
        self.assertEqual(rc, 1)


if __name__ == '__main__':
    unittest.main()

#!/usr/bin/env python3
"""Cases for check_help.py: each fault the help check exists for is made in
a small help file and a small source tree, and must be reported; the sound
file must pass."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_help  # noqa: E402

TOC = """<html><body><ul>
<li><object type="text/sitemap"><param name="Name" value="Start"><param name="Local" value="a.htm"></object>
<li><object type="text/sitemap"><param name="Name" value="Tool"><param name="Local" value="b.htm#top"></object>
</ul></body></html>"""
INDEX = """<html><body><ul>
<li><object type="text/sitemap"><param name="Name" value="Apply"><param name="Local" value="b.htm#apply"></object>
</ul></body></html>"""
PAGE_A = '<html><head><title>A</title><link rel="stylesheet" href="s.css"></head>' \
         '<body><p><a href="b.htm#apply">Apply</a> <a href="#here">here</a><a name="here"></a></p></body></html>'
PAGE_B = '<html><head><title>B</title></head><body><h1 id="top">B</h1><h2 id="apply">Apply</h2></body></html>'


def sound_file():
    return {"toc.hhc": TOC, "index.hhk": INDEX, "a.htm": PAGE_A, "b.htm": PAGE_B, "s.css": "p{}"}


TABLE = {"mainform": "a.htm", "toolfrm": "b.htm#top", "VisualFrame": "a.htm", "Pages(1)": "b.htm"}
WINDOWS = set(TABLE)


def changed(**edits):
    f = sound_file()
    for name, text in edits.items():
        name = name.replace("_", ".")
        if text is None:
            del f[name]
        else:
            f[name] = text
    return f


class CheckFile(unittest.TestCase):
    def test_sound_file_passes(self):
        self.assertEqual(check_help.check_file(sound_file(), TABLE, WINDOWS), [])

    def test_each_fault_is_reported(self):
        cases = [
            # (case, contents, table, windows, words the fault names)
            ("link to a page not in the file",
             changed(a_htm=PAGE_A.replace("b.htm#apply", "c.htm")), TABLE, WINDOWS, "c.htm"),
            ("link to an anchor the page lacks",
             changed(a_htm=PAGE_A.replace("b.htm#apply", "b.htm#nowhere")), TABLE, WINDOWS,
             'anchor "nowhere"'),
            ("anchor within the same page missing",
             changed(a_htm=PAGE_A.replace('<a name="here"></a>', "")), TABLE, WINDOWS, '"here"'),
            ("style sheet left out of the file", changed(s_css=None), TABLE, WINDOWS, "s.css"),
            ("link out of the file",
             changed(a_htm=PAGE_A.replace("b.htm#apply", "http://example.com/")), TABLE, WINDOWS,
             "leads out"),
            ("contents entry to a missing page",
             changed(toc_hhc=TOC.replace("a.htm", "gone.htm")), TABLE, WINDOWS, "gone.htm"),
            ("index entry to a missing anchor",
             changed(index_hhk=INDEX.replace("#apply", "#aply")), TABLE, WINDOWS, '"aply"'),
            ("page not reached from the contents",
             changed(c_htm="<html><head><title>C</title></head></html>"), TABLE, WINDOWS,
             "c.htm: not reached"),
            ("page without a title",
             changed(b_htm=PAGE_B.replace("<title>B</title>", "")), TABLE, WINDOWS, "no title"),
            ("no index in the file", changed(index_hhk=None), TABLE, WINDOWS, "index files"),
            ("window without a row", sound_file(), {k: v for k, v in TABLE.items() if k != "toolfrm"},
             WINDOWS, "toolfrm: a window"),
            ("row naming a page not in the file", sound_file(), dict(TABLE, toolfrm="tool.htm"),
             WINDOWS, "tool.htm"),
            ("row naming an anchor the page lacks", sound_file(), dict(TABLE, toolfrm="b.htm#x"),
             WINDOWS, 'anchor "x"'),
        ]
        for case, contents, table, windows, words in cases:
            with self.subTest(case):
                faults = check_help.check_file(contents, table, windows)
                self.assertTrue(any(words in f for f in faults), "%s: got %r" % (case, faults))

    def test_names_are_matched_without_regard_to_case(self):
        # The help viewer finds "B.HTM" for b.htm; so does the check.
        f = changed(a_htm=PAGE_A.replace("b.htm#apply", "B.HTM#apply"))
        self.assertEqual(check_help.check_file(f, TABLE, WINDOWS), [])

    def test_too_few_index_entries(self):
        faults = check_help.check_file(sound_file(), TABLE, WINDOWS, min_index_entries=2)
        self.assertTrue(any("fewer than 2" in f for f in faults), faults)


MAIN_H = """
class mainform : public ui::Form, public shell::MainWindow {
    ui::Frame Frame1{*this, "Frame1", {"", "", 60, 1860, 1635, 3555, false}};
    ui::Frame VisualFrame{*this, "VisualFrame", {"Visual", "1002", 1950, 420, 7125, 4695}};
    ui::Frame VoptionsFrame1{*this,
                             "VoptionsFrame",
                             {"Start Menu", "7015", 180, 600, 6765, 3900, false, false},
                             &VisualFrame,
                             1};
    // ui::Frame Old{*this, "Old", {"", "", 0, 0, 1, 1}};
};
"""
TOOLS_H = """
class enumfrm : public ui::Form {};
class PlaceholderWindow : public ui::Form {};
class HealthPlaceholder : public PlaceholderWindow {};
class Painter : public ui::Picture {};
struct Helper {};
"""


class WindowsInSources(unittest.TestCase):
    def test_windows_and_frames(self):
        cases = [
            # (case, sources, names expected in, names expected out)
            ("main window, its frames, an indexed frame",
             {"app/mainform.h": MAIN_H}, {"mainform", "Frame1", "VisualFrame", "VoptionsFrame(1)"},
             {"Old"}),
            ("direct and indirect subclasses; a base of windows is not one",
             {"tools/t.h": TOOLS_H}, {"enumfrm", "HealthPlaceholder"},
             {"PlaceholderWindow", "Painter", "Helper"}),
            ("a final window class", {"x/f.h": "class Fontsfrm final : public ui::Form {};"},
             {"Fontsfrm"}, set()),
            ("a struct deriving without an access word",
             {"x/s.h": "struct Tiny : ui::Form {};"}, {"Tiny"}, set()),
            ("a window in a comment is not one",
             {"x/f.h": "/* class Ghost : public ui::Form {}; */ class Real : public ui::Form {};"},
             {"Real"}, {"Ghost"}),
        ]
        for case, sources, inside, outside in cases:
            with self.subTest(case):
                names = check_help.windows_in_sources(sources)
                self.assertTrue(inside <= names, "%s: %r" % (case, names))
                self.assertFalse(outside & names, "%s: %r" % (case, names))

    def test_test_folders_are_not_read(self):
        root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
        files = check_help.read_sources(root)
        self.assertTrue(files, "no product sources found under %s" % root)
        self.assertFalse([p for p in files if "tests" in p.split(os.sep)])


class Table(unittest.TestCase):
    def test_rows(self):
        cases = [
            ("rows, comments and blank lines",
             "# windows\n\nmainform index.htm\nOptionsFrame(1) privacy.htm#top\n",
             {"mainform": "index.htm", "OptionsFrame(1)": "privacy.htm#top"}, 0),
            ("a row without a page", "mainform\n", {}, 1),
            ("a window listed twice", "a x.htm\na y.htm\n", {"a": "y.htm"}, 1),
        ]
        for case, text, table, fault_count in cases:
            with self.subTest(case):
                got, faults = check_help.read_table(text)
                self.assertEqual(got, table, case)
                self.assertEqual(len(faults), fault_count, "%s: %r" % (case, faults))


if __name__ == "__main__":
    unittest.main(verbosity=1)

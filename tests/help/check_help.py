#!/usr/bin/env python3
"""Checks the compiled help file newhelp.chm against the program's sources.

  check_help.py --chm FILE --source ROOT --table windows.txt [--chmls chmls]

Fails (exit 1, one line per fault) when
- a window of the program (a ui::Form subclass in the product sources) or a
  panel frame of the main window has no row in the table, or its row names a
  page or anchor the help file does not hold;
- a link, a picture or a style sheet of a page, or an entry of the contents
  or of the index, leads to a page or anchor that is not in the file, or out
  of it (any address with a scheme);
- a page has no title, or is not reached from the contents.

Everything is read from the compiled file (listed and unpacked with chmls),
so a page left out of the project is caught as well as a wrong link.
"""

import argparse
import html.parser
import os
import posixpath
import re
import subprocess
import sys
import tempfile

# Folders of the checkout whose classes are not windows of the program.
SKIPPED_DIRS = {".git", "tests", "e2e", "fuzz", "bench", "resources", "docs", "scripts", "cmake"}
PAGE_SUFFIXES = (".htm", ".html")


# ---------------------------------------------------------------------------
# The windows of the program, from its sources.

CLASS_RE = re.compile(r"\b(?:class|struct)\s+(\w+)\s*(?:final\s*)?:\s*([^{;]+)\{")
FRAME_RE = re.compile(
    r"\bui::Frame\s+(\w+)\s*\{\s*\*this\s*,\s*\"([^\"]+)\"\s*,\s*\{[^{}]*\}"
    r"\s*(?:,\s*&\w+)?\s*(?:,\s*(\d+))?\s*\}"
)


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def base_names(bases):
    names = []
    for base in bases.split(","):
        words = [w for w in base.split() if w not in ("public", "protected", "private", "virtual")]
        if words:
            names.append(words[-1].split("::")[-1])
    return names


def windows_in_sources(files):
    """files: {relative path: text} of the product sources.

    Returns the names a help page is owed for: every class derived (directly
    or through another) from ui::Form, except those only used as bases of
    other windows, and every frame declared in the main window's class, a
    frame of a control array as "Name(index)"."""
    bases = {}
    main_files = []
    for path, text in files.items():
        text = strip_comments(text)
        for m in CLASS_RE.finditer(text):
            bases[m.group(1)] = base_names(m.group(2))
        if re.search(r"\bclass\s+mainform\b", text):
            main_files.append(text)
    forms = set()
    changed = True
    while changed:
        changed = False
        for name, of in bases.items():
            if name not in forms and any(b == "Form" or b in forms for b in of):
                forms.add(name)
                changed = True
    used_as_base = {b for name in forms for b in bases[name] if b in forms}
    names = forms - used_as_base
    for text in main_files:
        for m in FRAME_RE.finditer(text):
            names.add(m.group(2) + ("(%s)" % m.group(3) if m.group(3) else ""))
    return names


def read_sources(root):
    files = {}
    for dirpath, dirnames, filenames in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        dirnames[:] = [
            d for d in dirnames if d not in SKIPPED_DIRS and not (rel == "." and d.startswith("build"))
        ]
        for f in filenames:
            if f.endswith((".h", ".cpp")):
                path = os.path.join(dirpath, f)
                with open(path, encoding="utf-8", errors="replace") as fh:
                    files[os.path.relpath(path, root)] = fh.read()
    return files


def read_table(text):
    """"Name page.htm[#anchor]" per line; blank lines and # comments skipped."""
    table, faults = {}, []
    for number, line in enumerate(text.splitlines(), 1):
        parts = line.split()
        if not parts or parts[0].startswith("#"):
            continue
        if len(parts) != 2:
            faults.append("windows.txt:%d: expected \"Name page.htm\", got %r" % (number, line))
            continue
        if parts[0] in table:
            faults.append("windows.txt:%d: %s is listed twice" % (number, parts[0]))
        table[parts[0]] = parts[1]
    return table, faults


# ---------------------------------------------------------------------------
# The pages, contents and index inside the help file.


class PageParser(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.anchors = set()
        self.links = []  # (what, address)
        self.locals = []  # sitemap "Local" values (contents and index)
        self.names = 0  # sitemap entries with a "Name"
        self.title = ""
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        a = {k.lower(): (v or "") for k, v in attrs}
        if "id" in a:
            self.anchors.add(a["id"])
        if tag == "a" and "name" in a:
            self.anchors.add(a["name"])
        if tag in ("a", "link", "area") and "href" in a:
            self.links.append((tag + " href", a["href"]))
        if tag in ("img", "script", "frame", "iframe") and "src" in a:
            self.links.append((tag + " src", a["src"]))
        if tag == "param":
            name = a.get("name", "").lower()
            if name == "local":
                self.locals.append(a.get("value", ""))
            elif name == "name" and a.get("value", "").strip():
                self.names += 1
        if tag == "title":
            self._in_title = True

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def parse(text):
    p = PageParser()
    p.feed(text)
    p.close()
    return p


def resolve(base, address, parsed, faults, where):
    """The page an address leads to, or None (with a fault) when it leaves
    the file or leads to nothing in it."""
    if re.match(r"^[A-Za-z][A-Za-z0-9+.-]*:", address):
        faults.append("%s: %s leads out of the help file" % (where, address))
        return None
    path, _, fragment = address.partition("#")
    target = base if not path else posixpath.normpath(posixpath.join(posixpath.dirname(base), path))
    key = target.lower()
    if key not in parsed:
        faults.append("%s: %s: no %s in the help file" % (where, address, target))
        return None
    if fragment and fragment not in parsed[key].anchors:
        faults.append("%s: %s: %s has no anchor \"%s\"" % (where, address, target, fragment))
        return None
    return key


def check_file(contents, table, windows, min_index_entries=1):
    """contents: {name inside the file: text}; table: name -> page; windows:
    the names the sources owe a page. Returns the list of faults."""
    faults = []
    parsed = {name.lower(): parse(text) for name, text in contents.items()}
    pages = sorted(n for n in parsed if n.endswith(PAGE_SUFFIXES))
    tocs = [n for n in parsed if n.endswith(".hhc")]
    indexes = [n for n in parsed if n.endswith(".hhk")]
    if len(tocs) != 1:
        faults.append("the help file holds %d contents files (.hhc), not one" % len(tocs))
    if len(indexes) != 1:
        faults.append("the help file holds %d index files (.hhk), not one" % len(indexes))

    for name in pages:
        p = parsed[name]
        if not p.title.strip():
            faults.append("%s: the page has no title" % name)
        for what, address in p.links:
            resolve(name, address, parsed, faults, "%s (%s)" % (name, what))

    reached = set()
    for sitemap in tocs + indexes:
        p = parsed[sitemap]
        if not p.locals:
            faults.append("%s: no entries" % sitemap)
        for address in p.locals:
            target = resolve(sitemap, address, parsed, faults, sitemap)
            if target and sitemap in tocs:
                reached.add(target)
    for sitemap in indexes:
        if parsed[sitemap].names < min_index_entries:
            faults.append(
                "%s: %d entries, fewer than %d" % (sitemap, parsed[sitemap].names, min_index_entries)
            )
    if tocs:
        for name in pages:
            if name not in reached:
                faults.append("%s: not reached from the contents" % name)

    for window in sorted(windows):
        if window not in table:
            faults.append("%s: a window of the program without a row in windows.txt" % window)
    for window, page in sorted(table.items()):
        resolve("", page, parsed, faults, "windows.txt: %s" % window)
    return faults


# ---------------------------------------------------------------------------


def unpack(chmls, chm):
    """{name inside the file: text} of the file's own entries (not the
    compiler's internal streams)."""
    listing = subprocess.run(
        [chmls, "--no-page", "--name-only", "list", chm], capture_output=True, text=True
    )
    if listing.returncode != 0:
        raise RuntimeError("chmls could not list %s: %s" % (chm, listing.stderr.strip()))
    names = [
        line.strip()[1:]
        for line in listing.stdout.splitlines()
        if line.strip().startswith("/") and not line.strip().startswith(("/#", "/$"))
        and not line.strip().endswith("/")
    ]
    contents = {}
    with tempfile.TemporaryDirectory() as out:
        done = subprocess.run([chmls, "extractall", chm, out], capture_output=True, text=True)
        if done.returncode != 0:
            raise RuntimeError("chmls could not unpack %s: %s" % (chm, done.stderr.strip()))
        for name in names:
            path = os.path.join(out, *name.split("/"))
            if not os.path.isfile(path):
                raise RuntimeError("%s is listed in %s but was not unpacked" % (name, chm))
            with open(path, "rb") as fh:
                contents[name] = fh.read().decode("cp1252", errors="replace")
    return contents


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--chm", required=True)
    ap.add_argument("--source", required=True)
    ap.add_argument("--table", required=True)
    ap.add_argument("--chmls", default="chmls")
    ap.add_argument("--min-index", type=int, default=100)
    args = ap.parse_args(argv)
    if not os.path.isfile(args.chm):
        print("no help file at %s" % args.chm)
        return 1
    with open(args.table, encoding="utf-8") as fh:
        table, faults = read_table(fh.read())
    windows = windows_in_sources(read_sources(args.source))
    contents = unpack(args.chmls, args.chm)
    faults += check_file(contents, table, windows, args.min_index)
    for fault in faults:
        print(fault)
    pending = sorted(set(table) - windows)
    if pending:
        print("note: rows for windows not in these sources: " + ", ".join(pending))
    pages = [n for n in contents if n.lower().endswith(PAGE_SUFFIXES)]
    print(
        "%d pages, %d windows and frames checked, %d faults" % (len(pages), len(windows), len(faults))
    )
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

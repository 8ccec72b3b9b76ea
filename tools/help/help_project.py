"""The help project (help/norv.hhp) as the build and the checks read it.

The sources are UTF-8 and declare it in one Content-Type meta element; the
compiled help file carries them in code page 932, the Windows form of
Shift_JIS, because the help viewer reads a Japanese help file's pages,
contents and index in the code page of its language.
"""

import html.parser
import pathlib
import re

SOURCE_CHARSET = "UTF-8"
HELP_CHARSET = "Shift_JIS"
HELP_CODEC = "cp932"
TEXT_SUFFIXES = {".html", ".hhc", ".hhk", ".hhp", ".css"}
MARKUP_SUFFIXES = {".html", ".hhc", ".hhk"}
CHARSET_META = re.compile(r'charset=([A-Za-z0-9_-]+)"', re.IGNORECASE)


class HelpProject:
    def __init__(self, hhp_path):
        self.hhp = pathlib.Path(hhp_path)
        self.folder = self.hhp.parent
        self.options = {}
        self.files = []
        section = None
        for line in self.hhp.read_text(encoding="utf-8").splitlines():
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].upper()
            elif section == "OPTIONS" and "=" in line:
                key, value = line.split("=", 1)
                self.options[key.strip()] = value.strip()
            elif section == "FILES":
                self.files.append(line)

    @property
    def compiled_name(self):
        return self.options["Compiled file"]

    @property
    def contents(self):
        return self.options["Contents file"]

    @property
    def index(self):
        return self.options["Index file"]

    @property
    def default_topic(self):
        return self.options["Default topic"]

    @property
    def pages(self):
        return [name for name in self.files if name.endswith(".html")]

    def every_file(self):
        """Everything the compiled help must hold: the listed files, the
        contents and the index."""
        return sorted(set(self.files) | {self.contents, self.index})


class PageScan(html.parser.HTMLParser):
    """The anchors a page offers and the references it makes."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids = set()
        self.references = []  # (attribute, value, line)
        self.locals = []  # sitemap targets of a .hhc or .hhk: (value, line)
        self.title = ""
        self.charsets = []
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        line = self.getpos()[0]
        for key in ("id", "name"):
            if key in attributes and tag != "param" and tag != "meta":
                self.ids.add(attributes[key])
        for key in ("href", "src"):
            if attributes.get(key):
                self.references.append((key, attributes[key], line))
        if tag == "param" and (attributes.get("name") or "").lower() == "local":
            self.locals.append((attributes.get("value") or "", line))
        if tag == "meta" and (attributes.get("http-equiv") or "").lower() == "content-type":
            match = CHARSET_META.search('{}"'.format(attributes.get("content") or ""))
            self.charsets.append(match.group(1) if match else "")
        if tag == "title":
            self._in_title = True

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def scan(path):
    page = PageScan()
    page.feed(pathlib.Path(path).read_text(encoding="utf-8"))
    page.close()
    return page

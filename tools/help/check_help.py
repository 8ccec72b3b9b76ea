#!/usr/bin/env python3
"""Checks the help.

usage: check_help.py links PROJECT.hhp
       check_help.py chm PROJECT.hhp COMPILED.chm [--chmls PATH]

links: every href and src of every page, and every target of the contents
and the index, names a file of the project (and an anchor that exists in
it); every page is in the contents; every page has a title and declares its
charset; nothing links outside the help.
chm: the compiled help file holds every file of the project, is marked
Japanese, and carries its pages in Shift_JIS.
Prints one line per fault and exits 1 when there is any.
"""

import argparse
import pathlib
import posixpath
import subprocess
import sys
import tempfile
import urllib.parse

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import help_project as hp  # noqa: E402

JAPANESE_LCID = "1041"


def resolve(project, scans, origin, target):
    """The fault in a reference from file `origin` to `target`, or None."""
    parts = urllib.parse.urlsplit(target)
    if parts.scheme or parts.netloc:
        return "links outside the help: {}".format(target)
    name = posixpath.normpath(posixpath.join(posixpath.dirname(origin), parts.path)) if parts.path else origin
    if name not in project.files and name not in (project.contents, project.index):
        return "names {}, which the project does not list".format(name)
    if not (project.folder / name).is_file():
        return "names {}, which does not exist".format(name)
    if parts.fragment and parts.fragment not in scans[name].ids:
        return "names #{} in {}, which has no such anchor".format(parts.fragment, name)
    return None


def check_links(project):
    faults = []
    scans = {}
    for name in project.pages:
        path = project.folder / name
        if not path.is_file():
            faults.append("{}: listed but missing".format(name))
            continue
        scans[name] = hp.scan(path)
    for name, page in scans.items():
        if not page.title.strip():
            faults.append("{}: no title".format(name))
        if [c.upper() for c in page.charsets] != [hp.SOURCE_CHARSET.upper()]:
            faults.append("{}: needs one Content-Type meta with charset={}".format(name, hp.SOURCE_CHARSET))
        for attribute, target, line in page.references:
            fault = resolve(project, scans, name, target)
            if fault:
                faults.append("{}:{}: {} {}".format(name, line, attribute, fault))
    in_contents = set()
    for sitemap in (project.contents, project.index):
        path = project.folder / sitemap
        if not path.is_file():
            faults.append("{}: missing".format(sitemap))
            continue
        entries = hp.scan(path).locals
        if not entries:
            faults.append("{}: no entries".format(sitemap))
        for target, line in entries:
            fault = resolve(project, scans, sitemap, target)
            if fault:
                faults.append("{}:{}: {}".format(sitemap, line, fault))
            elif sitemap == project.contents:
                in_contents.add(urllib.parse.urlsplit(target).path)
    for name in project.pages:
        if name not in in_contents:
            faults.append("{}: not in the contents".format(name))
    if project.default_topic not in project.pages:
        faults.append("default topic {} is not a page of the project".format(project.default_topic))
    return faults


def chmls(tool, *arguments):
    result = subprocess.run([tool, "-p", *arguments], capture_output=True, text=True, encoding="utf-8",
                            errors="replace")
    return result.returncode, result.stdout


def check_compiled(project, compiled, tool):
    faults = []
    code, listing = chmls(tool, "-n", "list", str(compiled))
    if code != 0:
        return ["chmls cannot list {}".format(compiled)]
    held = {line.strip().lstrip("/") for line in listing.splitlines() if line.strip().startswith("/")}
    for name in project.every_file():
        if name not in held:
            faults.append("{}: not in {}".format(name, compiled.name))
    _, system = chmls(tool, "printsystem", str(compiled))
    if not any("LCID" in line and line.split(":")[-1].strip() == JAPANESE_LCID for line in system.splitlines()):
        faults.append("{}: not marked Japanese (LCID {})".format(compiled.name, JAPANESE_LCID))
    with tempfile.TemporaryDirectory() as scratch:
        for name in project.pages:
            copy = pathlib.Path(scratch) / "page"
            chmls(tool, "extract", str(compiled), "/" + name, str(copy))
            if not copy.is_file():
                faults.append("{}: cannot be taken out of {}".format(name, compiled.name))
                continue
            try:
                text = copy.read_bytes().decode(hp.HELP_CODEC)
            except UnicodeDecodeError:
                faults.append("{}: not Shift_JIS in {}".format(name, compiled.name))
                continue
            if hp.CHARSET_META.findall(text) != [hp.HELP_CHARSET]:
                faults.append("{}: does not declare charset={} in {}".format(name, hp.HELP_CHARSET, compiled.name))
            copy.unlink()
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("what", choices=["links", "chm"])
    parser.add_argument("project", type=pathlib.Path)
    parser.add_argument("compiled", type=pathlib.Path, nargs="?")
    parser.add_argument("--chmls", default="chmls")
    args = parser.parse_args()
    project = hp.HelpProject(args.project)
    if args.what == "links":
        faults = check_links(project)
        checked = "{} pages, their links, the contents and the index".format(len(project.pages))
    else:
        if not args.compiled:
            parser.error("chm needs the compiled help file")
        faults = check_compiled(project, args.compiled, args.chmls)
        checked = "{} files in {}".format(len(project.every_file()), args.compiled.name)
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print("ok: " + checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())

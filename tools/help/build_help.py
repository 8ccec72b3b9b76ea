#!/usr/bin/env python3
"""Compiles the help file from the UTF-8 sources of a help project.

usage: build_help.py PROJECT.hhp STAGING_DIR OUTPUT.chm [--chmcmd PATH]

Every text file of the project is written to STAGING_DIR in code page 932,
its charset declaration changed to Shift_JIS, and chmcmd compiles the staged
project; the result goes to OUTPUT.chm. A character without a Shift_JIS form
stops the build with the file and line that hold it.
"""

import argparse
import pathlib
import shutil
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import help_project as hp  # noqa: E402


class BuildError(Exception):
    pass


def staged_text(path, text):
    if path.suffix in hp.MARKUP_SUFFIXES:
        declared = hp.CHARSET_META.findall(text)
        if [d.upper() for d in declared] != [hp.SOURCE_CHARSET.upper()]:
            raise BuildError("{}: needs exactly one Content-Type meta with charset={}, has {}".format(
                path, hp.SOURCE_CHARSET, declared or "none"))
        text = hp.CHARSET_META.sub('charset={}"'.format(hp.HELP_CHARSET), text)
    try:
        return text.encode(hp.HELP_CODEC)
    except UnicodeEncodeError as error:
        line = text.count("\n", 0, error.start) + 1
        raise BuildError("{}:{}: {!r} has no Shift_JIS form".format(
            path, line, text[error.start:error.end])) from None


def stage(project, staging):
    if staging.exists():
        shutil.rmtree(staging)
    staging.mkdir(parents=True)
    for name in [project.hhp.name] + project.every_file():
        source = project.folder / name
        if not source.is_file():
            raise BuildError("{}: listed in {} but missing".format(source, project.hhp.name))
        target = staging / name
        target.parent.mkdir(parents=True, exist_ok=True)
        if source.suffix in hp.TEXT_SUFFIXES:
            target.write_bytes(staged_text(source, source.read_text(encoding="utf-8")))
        else:
            shutil.copyfile(source, target)


def compile_staged(project, staging, chmcmd, output):
    result = subprocess.run([chmcmd, "--no-html-scan", project.hhp.name], cwd=staging,
                            capture_output=True, text=True, encoding="utf-8", errors="replace")
    compiled = staging / project.compiled_name
    errors = [line for line in result.stdout.splitlines() if line.lower().startswith("error")]
    if result.returncode != 0 or errors or not compiled.is_file():
        raise BuildError("chmcmd failed:\n" + result.stdout + result.stderr)
    output.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(compiled, output)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("project", type=pathlib.Path)
    parser.add_argument("staging", type=pathlib.Path)
    parser.add_argument("output", type=pathlib.Path)
    parser.add_argument("--chmcmd", default="chmcmd")
    args = parser.parse_args()
    project = hp.HelpProject(args.project)
    try:
        stage(project, args.staging)
        compile_staged(project, args.staging, args.chmcmd, args.output)
    except BuildError as error:
        print("build_help: {}".format(error), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Writes the manual pages of the installed programs from their own --help.

usage: make-manpages.py VERSION OUTDIR NAME=PROGRAM...

Each program's --help is the one description of its options and exit
status; the pages are made from it at build time so the two cannot drift.
"""
import re
import subprocess
import sys
from pathlib import Path


def help_text(*command):
    result = subprocess.run(command, capture_output=True, text=True, timeout=60)
    return result.stdout + result.stderr


def parse(text):
    """A --help text as (usage, summary lines, {section: [(term, text)]})."""
    lines = text.splitlines()
    usage = lines[0].removeprefix("usage: ")
    summary, sections, section = [], {}, None
    for line in lines[1:]:
        if not line.strip():
            continue
        if not line.startswith(" "):
            section = line.rstrip(":")
            sections[section] = []
        elif section is None:
            summary.append(line.strip())
        elif line.startswith("    ") and sections[section]:
            term, what = sections[section][-1]
            sections[section][-1] = (term, what + " " + line.strip())
        else:
            term, _, what = line.strip().partition("  ")
            sections[section].append((term, what.strip()))
    return usage, summary, sections


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return re.sub(r"^([.'])", r"\\&\1", text)


def entries(items):
    out = []
    for term, what in items:
        out += [".TP", f"\\fB{roff(term)}\\fR", roff(what)]
    return out


def page(name, version, whatis, synopsis, description, sections, extra=()):
    out = [f'.TH {name.upper()} 1 "" "Quillop {version}" "User Commands"',
           ".SH NAME", f"{name} \\- {roff(whatis)}",
           ".SH SYNOPSIS", f".B {name}", roff(synopsis.removeprefix(name).strip()),
           ".SH DESCRIPTION", roff(description)]
    out += list(extra)
    for title, items in sections.items():
        out += [f".SH {title.upper()}"] + entries(items)
    others = [p for p in WHATIS if p != name]
    out += [".SH SEE ALSO", ", ".join(f"\\fB{p}\\fR(1)" for p in others)]
    return "\n".join(out) + "\n"


WHATIS = {
    "quillop": "editor for the resources of games and multimedia programs",
    "quillop-cli": "runs the Quillop resource editor's model from a terminal",
    "quillop-thumbnailer": "pictures Quillop resource files for file managers",
    "quillop-runtime-dump": "prints a Quillop resource file as read by the runtime library",
    "quillop-runtime-player": "plays a world of a Quillop resource file with the runtime library and SDL2",
}


def cli_page(version, cli):
    listing = help_text(cli, "--help")
    names = re.findall(r"^  ([a-z-]+) ", listing, re.M)
    extra = [".SH COMMANDS"]
    for command in names:
        usage, summary, sections = parse(help_text(cli, command, "--help"))
        extra += [f'.SS "{roff(usage.removeprefix("quillop-cli "))}"', roff(" ".join(summary))]
        for title, items in sections.items():
            if title == "exit status" and [t for t, _ in items] == ["0", "1"]:
                continue  # the usual status, said once below
            extra += [".PP", f"\\fI{roff(title.capitalize())}:\\fR", ".RS"] + entries(items) + [".RE"]
    status = {"exit status": [("0", "the command did what it was asked"),
                              ("1", "it failed; the message on the standard error says why"),
                              ("2", "no command, or an unknown one; some commands give more (see each)")]}
    return page("quillop-cli", version, WHATIS["quillop-cli"],
                "quillop-cli COMMAND [ARGS]",
                "Reads, writes, converts and checks Quillop resource files (.mrc), and runs the editor's "
                "tools (pitch analysis, MIDI conversion, bass drum synthesis, texture maps, AVI and image "
                "conversion, sound mixing) without a window. Every command answers "
                "quillop-cli COMMAND --help.", status, extra)


def program_page(version, name, program):
    usage, summary, sections = parse(help_text(program, "--help"))
    return page(name, version, WHATIS[name], usage, " ".join(summary), sections)


def main():
    version, outdir = sys.argv[1:3]
    out = Path(outdir)
    out.mkdir(parents=True, exist_ok=True)
    for pair in sys.argv[3:]:
        name, _, program = pair.partition("=")
        text = cli_page(version, program) if name == "quillop-cli" else program_page(version, name, program)
        (out / f"{name}.1").write_text(text)


if __name__ == "__main__":
    main()

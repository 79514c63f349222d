#!/usr/bin/env python3
"""Builds the HTML manual from docs/manual/*.md.

usage: make-manual.py MANUAL_DIR INTERFACE_JSON OUT_DIR

Pages are converted with Debian's markdown_py (python3-markdown); links
between pages point at the HTML pages, the pictures a page shows are copied
beside it, and "<!-- menu shortcuts -->" becomes the table of the main
menu's keys as the editor's own interface file gives them, so the list
cannot drift from the menus.
"""
import html
import json
import re
import shutil
import subprocess
import sys
from pathlib import Path

TEMPLATE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>{title} - Quillop Manual</title>
<style>
body {{ font-family: sans-serif; max-width: 52em; margin: 1em auto; padding: 0 1em; line-height: 1.45; }}
img {{ max-width: 100%; border: 1px solid #888; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid #999; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }}
code, pre {{ font-family: monospace; }}
pre {{ padding: 0.5em; border: 1px solid #bbb; }}
</style>
</head>
<body>
<p><a href="index.html">Contents</a> · <a href="shortcuts.html">Keyboard shortcuts</a></p>
{body}
</body>
</html>
"""


def menu_shortcuts(interface_json):
    """Rows of (key, menu path) for every main-menu entry that has a key."""
    groups = json.loads(Path(interface_json).read_text())["groups"]
    menus = [i for items in groups.values() for i in items if isinstance(i, dict) and i.get("id") == "Main Menu"]
    rows, path = [], []
    for entry in menus[0]["items"] if menus else []:
        kind, title = entry.get("type", ""), entry.get("title", "").replace("&", "")
        if kind.startswith("[") :
            path.append(title)
        elif kind.startswith("]"):
            path = path[:-1]
        elif "\t" in title:
            name, key = title.split("\t", 1)
            rows.append((key, " → ".join(path + [name])))
    lines = ["| Key | Command |", "|---|---|"] + [f"| {k} | {n} |" for k, n in rows]
    return "\n".join(lines)


# Pictures wider than this are shown at this width: the editor's manual
# window does not know CSS max-width, so the width is written on the tag.
MAX_WIDTH = 720


def shown_width(png):
    width = int.from_bytes(png.read_bytes()[16:20], "big")
    return min(width, MAX_WIDTH)


def convert(markdown_text):
    result = subprocess.run(["markdown_py", "-x", "tables", "-x", "toc", "-o", "html"],
                            input=markdown_text, capture_output=True, text=True, check=True)
    return result.stdout


def main():
    source, interface_json, out = Path(sys.argv[1]), sys.argv[2], Path(sys.argv[3])
    (out / "images").mkdir(parents=True, exist_ok=True)
    shortcuts = menu_shortcuts(interface_json)
    missing = []
    for page in sorted(source.glob("*.md")):
        text = page.read_text().replace("<!-- menu shortcuts -->", shortcuts)
        body = convert(text)
        body = re.sub(r'href="([A-Za-z0-9_-]+)\.md(#[^"]*)?"', r'href="\1.html\2"', body)
        for picture in re.findall(r'src="images/([^"]+)"', body):
            found = source / "images" / picture
            if found.is_file():
                shutil.copyfile(found, out / "images" / picture)
                body = body.replace(f'src="images/{picture}"',
                                    f'src="images/{picture}" width="{shown_width(found)}"')
            else:
                missing.append(f"{page.name}: images/{picture}")
        heading = re.search(r"<h1[^>]*>(.*?)</h1>", body)
        title = re.sub("<[^>]+>", "", heading.group(1)) if heading else page.stem
        (out / f"{page.stem}.html").write_text(TEMPLATE.format(title=html.escape(title, quote=False), body=body))
    if missing:
        sys.exit("pictures the manual shows but the tour did not make:\n  " + "\n  ".join(missing))


if __name__ == "__main__":
    main()

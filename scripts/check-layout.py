#!/usr/bin/env python3
"""Fails when a source file includes a header from a folder above its own.

The layer order is the ```layers block of docs/ARCHITECTURE.md: one row per
line, top first; a folder may include its own folder and any folder on a row
below it, never one on its own row or above. Patterns use * for one folder
name; a folder named exactly on some row takes that row over a pattern. The
row `--- model ---` divides the interface (above) from the model (below):
model folders may not include Qt Widgets either. The bottom row `runtime` is
the folder runtime/ beside src/ (its headers are included as
quillop/runtime/...): it includes nothing of src/, no Qt and no FFmpeg.

Prints every wrong include as `file:line: folder -> folder (header)`; exits 1
when there is any, 0 when there is none.
"""

import argparse
import glob
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
MODEL_MARK = '--- model ---'
RUNTIME = 'runtime'
RUNTIME_HEADERS = 'quillop/runtime'
# Libraries a game does not have: the runtime uses none of them.
RUNTIME_REFUSES = ('Q', 'libav', 'libsw')


def read_layers(docs_path):
    rows, model_from, inside = [], None, False
    with open(docs_path, encoding='utf-8') as docs:
        for line in docs:
            text = line.strip()
            if text.startswith('```'):
                if inside:
                    break
                inside = text == '```layers'
                continue
            if not inside or not text:
                continue
            if text == MODEL_MARK:
                model_from = len(rows)
                continue
            rows.append(text.split())
    if not rows or model_from is None:
        sys.exit(f'{docs_path}: no ```layers block with a "{MODEL_MARK}" row')
    return rows, model_from


def pattern_regex(pattern):
    return re.compile('^' + '/'.join('[^/]+' if part == '*' else re.escape(part)
                                     for part in pattern.split('/')) + '$')


class Layers:
    def __init__(self, rows, model_from):
        self.model_from = model_from
        self.exact, self.patterns = {}, []
        for rank, row in enumerate(rows):
            for pattern in row:
                if '*' in pattern:
                    self.patterns.append((pattern_regex(pattern), rank))
                else:
                    self.exact[pattern] = rank

    def rank(self, folder):
        """The row of `folder` (0 is the top), or None when no row names it."""
        if folder in self.exact:
            return self.exact[folder]
        for regex, rank in self.patterns:
            if regex.match(folder):
                return rank
        return None

    def is_model(self, rank):
        return rank is not None and rank >= self.model_from


def widget_headers(explicit_dir):
    candidates = [explicit_dir] if explicit_dir else (
        [os.environ.get('QT_WIDGETS_INCLUDE', '')]
        + glob.glob('/usr/include/*/qt6/QtWidgets') + glob.glob('/usr/include/qt6/QtWidgets'))
    for folder in candidates:
        if folder and os.path.isdir(folder):
            names = {name for name in os.listdir(folder) if name.startswith('Q') and '.' not in name}
            return names | {'QtWidgets'}
    sys.exit('check-layout: cannot find the Qt Widgets headers (pass --qt-widgets-dir)')


def header_folder(header):
    folder = os.path.dirname(header)
    return RUNTIME if folder == RUNTIME_HEADERS else folder


def source_folders(src_root, runtime_root):
    """(directory, folder name in the layer order) of every source folder."""
    for dirpath, _, files in os.walk(src_root):
        yield dirpath, files, os.path.relpath(dirpath, src_root).replace(os.sep, '/')
    for dirpath, _, files in os.walk(runtime_root):
        yield dirpath, files, RUNTIME


def check(src_root, runtime_root, layers, widgets):
    problems = []
    top = os.path.dirname(src_root)
    for dirpath, files, folder in source_folders(src_root, runtime_root):
        rank = layers.rank(folder)
        for name in sorted(files):
            if not name.endswith(('.h', '.cpp')):
                continue
            full = os.path.join(dirpath, name)
            path = os.path.relpath(full, top)
            if rank is None:
                problems.append(f'{path}:1: folder {folder} is on no row of the layer order')
                continue
            with open(full, encoding='utf-8', errors='replace') as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    bracket, header = match.groups()
                    if bracket == '<':
                        first = header.split('/')[0]
                        if folder == RUNTIME and first.startswith(RUNTIME_REFUSES):
                            problems.append(f'{path}:{number}: the runtime includes {header}')
                        if layers.is_model(rank) and first in widgets:
                            problems.append(f'{path}:{number}: model folder {folder} includes Qt Widgets ({header})')
                        continue
                    target = header_folder(header)
                    if not target or target == folder:
                        continue
                    target_rank = layers.rank(target)
                    if target_rank is None:
                        continue  # not one of ours (a header beside the file, or outside src/)
                    if target_rank <= rank:
                        problems.append(f'{path}:{number}: {folder} -> {target} ({header})')
    return sorted(problems)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--src', default=os.path.join(here, '..', 'src'))
    parser.add_argument('--runtime', default=None, help='the runtime folder (default: runtime/ beside --src)')
    parser.add_argument('--docs', default=os.path.join(here, '..', 'docs', 'ARCHITECTURE.md'))
    parser.add_argument('--qt-widgets-dir', default='')
    args = parser.parse_args()
    layers = Layers(*read_layers(args.docs))
    src = os.path.normpath(args.src)
    runtime = os.path.normpath(args.runtime or os.path.join(src, '..', RUNTIME))
    problems = check(src, runtime, layers, widget_headers(args.qt_widgets_dir))
    for problem in problems:
        print(problem)
    if problems:
        print(f'check-layout: {len(problems)} include(s) against the layer order in {args.docs}')
        return 1
    print('check-layout: every include points down')
    return 0


if __name__ == '__main__':
    sys.exit(main())

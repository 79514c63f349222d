#!/usr/bin/env python3
"""The layout check on small trees: each case is one file with one include,
checked against the layer order of docs/ARCHITECTURE.md."""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
SCRIPT = os.path.join(ROOT, 'scripts', 'check-layout.py')
DOCS = os.path.join(ROOT, 'docs', 'ARCHITECTURE.md')

# (file, include line, the complaint expected or None when it must pass)
CASES = [
    ('params/ui/CSheet.cpp', '#include "app/CMainFrame.h"', 'params/ui -> app'),
    ('grid/ui/CGrid.cpp', '#include "kinds/ui/CKindPanels.h"', 'grid/ui -> kinds/ui'),
    ('kinds/texts/CText.cpp', '#include "kinds/colors/CColorItem.h"', 'kinds/texts -> kinds/colors'),
    ('media/output/CVoice.cpp', '#include "kinds/sounds/CMVT_WavMemory.h"', 'media/output -> kinds/sounds'),
    ('core/CArchive.cpp', '#include <QWidget>', 'model folder core includes Qt Widgets'),
    ('kinds/maps/CMap.h', '#include <QtWidgets/QLabel>', 'model folder kinds/maps includes Qt Widgets'),
    ('newfolder/CThing.cpp', '#include "core/CArchive.h"', 'folder newfolder is on no row'),
    ('kinds/texts/ui/CPanel.cpp', '#include "grid/ui/CItemsGrid.h"', None),
    ('kinds/texts/ui/CView.cpp', '#include <QWidget>', None),
    ('kinds/worlds/CWorld.cpp', '#include "kinds/animations/CAnimationItem.h"', None),
    ('document/CDoc.cpp', '#include "document/CView.h"', None),
    ('app/CFrame.cpp', '#include "CFrame.h"', None),
    ('../runtime/src/CReader.cpp', '#include <QString>', 'the runtime includes QString'),
    ('../runtime/src/CReader.cpp', '#include <libavformat/avformat.h>', 'the runtime includes libavformat'),
    ('../runtime/src/CReader.cpp', '#include "core/CResourceItem.h"', 'runtime -> core'),
    ('../runtime/src/CReader.cpp', '#include "quillop/runtime/CArchive.h"', None),
    ('core/CArchive.h', '#include "quillop/runtime/CArchive.h"', None),
]


def run_case(path, line):
    with tempfile.TemporaryDirectory() as tree:
        widgets = os.path.join(tree, 'QtWidgets')
        os.makedirs(widgets)
        for header in ('QWidget', 'QLabel'):
            open(os.path.join(widgets, header), 'w').close()
        source = os.path.normpath(os.path.join(tree, 'src', path))
        os.makedirs(os.path.dirname(source))
        with open(source, 'w') as out:
            out.write(line + '\n')
        return subprocess.run([sys.executable, SCRIPT, '--src', os.path.join(tree, 'src'), '--docs', DOCS,
                               '--qt-widgets-dir', widgets], capture_output=True, text=True)


def main():
    failures = 0
    for path, line, complaint in CASES:
        result = run_case(path, line)
        if complaint is None:
            ok = result.returncode == 0
        else:
            ok = result.returncode == 1 and complaint in result.stdout
        if not ok:
            failures += 1
            print(f'FAIL {path}: {line}\n  expected {complaint or "a pass"}, got {result.returncode}:\n'
                  f'{result.stdout}{result.stderr}')
    print(f'{len(CASES) - failures} of {len(CASES)} layout cases as expected')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())

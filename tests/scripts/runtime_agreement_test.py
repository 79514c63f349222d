#!/usr/bin/env python3
"""The runtime reads what the editor reads: for every document given (files,
or folders searched for them), `quillop-runtime-dump FILE` prints what
`quillop-cli dump FILE --json` prints, or both refuse the file.

A few fields of pictures come from the decoder that made the pixels (Qt's
image plugins in the editor, stb_image in the runtime); when the texts differ
only there, the document counts as agreeing and the fields are named.

usage: runtime_agreement_test.py QUILLOP_CLI RUNTIME_DUMP PATH...
"""

import json
import os
import subprocess
import sys

DECODER_FIELDS = {'decoded', 'width', 'height', 'actualWidth', 'actualHeight', 'usedGameMemory', 'pixelsSha1',
                  'rects'}


def documents(paths):
    for path in paths:
        if os.path.isfile(path):
            yield path
        for folder, _, names in sorted(os.walk(path)):
            for name in sorted(names):
                yield os.path.join(folder, name)


def without_decoder_fields(text):
    doc = json.loads(text)
    for bitmap in doc['groups']['bitmaps']:
        for key in DECODER_FIELDS:
            bitmap.pop(key, None)
    return doc


def main():
    cli, dump, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    failures, exact, count = 0, 0, 0
    for path in documents(paths):
        count += 1
        editor = subprocess.run([cli, 'dump', path, '--json'], capture_output=True, env=env)
        runtime = subprocess.run([dump, path], capture_output=True, env=env)
        if (editor.returncode == 0) != (runtime.returncode == 0):
            failures += 1
            print(f'FAIL {path}: the editor exits {editor.returncode}, the runtime {runtime.returncode}\n'
                  f'{editor.stderr.decode(errors="replace")}{runtime.stderr.decode(errors="replace")}')
            continue
        if editor.stdout == runtime.stdout:
            exact += 1
            continue
        if without_decoder_fields(editor.stdout) != without_decoder_fields(runtime.stdout):
            failures += 1
            print(f'FAIL {path}: the dumps differ beyond the decoder\'s fields')
            continue
        print(f'{path}: the same but for the decoder\'s fields of some pictures')
    print(f'{count - failures} of {count} documents agree ({exact} byte for byte)')
    return 1 if failures or count == 0 else 0


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/env python3
"""The example game draws what the editor draws: for every world of every
document given, after several numbers of game steps, the last frame of
`quillop-runtime-player FILE --world ROW --frames N --out A.png` equals
`quillop-cli render-world FILE ROW N B.png`, pixel for pixel.

The player draws only what the runtime decodes: a document whose worlds
show bitmaps the runtime cannot decode (formats other than stb_image's,
painting regions, stored device bitmaps) or map tiles drawn at another size
than their own (the player scales to the nearest pixel) would differ there,
and the documents given hold none.

usage: runtime_player_picture_test.py QUILLOP_CLI PLAYER DOCUMENT...
"""

import json
import os
import struct
import subprocess
import sys
import tempfile
import zlib

STEPS = [0, 1, 7, 40, 123]
SIZES = [None, ('320x200', '-20,-10')]


def pixels(path):
    """The RGBA bytes of an 8-bit RGBA PNG file, and its width."""
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', path
    pos, idat, width, height = 8, b'', 0, 0
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', chunk)
            assert (depth, colour, interlace) == (8, 6, 0), (path, depth, colour, interlace)
        elif kind == b'IDAT':
            idat += chunk
    raw = zlib.decompress(idat)
    stride, out, previous, i = width * 4, bytearray(), bytearray(width * 4), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - 4] if x >= 4 else 0
            b = previous[x]
            c = previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out += line
        previous = line
    return bytes(out), width


def world_count(cli, document):
    dump = subprocess.run([cli, 'dump', document, '--json'], capture_output=True, text=True, check=True)
    return len(json.loads(dump.stdout)['groups']['worlds'])


def main():
    cli, player, documents = sys.argv[1], sys.argv[2], sys.argv[3:]
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen', SDL_VIDEODRIVER='dummy', SDL_AUDIODRIVER='dummy')
    failures, compared = 0, 0
    with tempfile.TemporaryDirectory() as folder:
        editor, game = os.path.join(folder, 'editor.png'), os.path.join(folder, 'game.png')
        for document in documents:
            for world in range(world_count(cli, document)):
                for steps in STEPS:
                    for size in SIZES:
                        extra = ['--size', size[0], '--origin', size[1]] if size else []
                        subprocess.run([cli, 'render-world', document, str(world), str(steps), editor] + extra,
                                       env=env, check=True)
                        subprocess.run([player, document, '--world', str(world), '--frames', str(steps),
                                        '--out', game] + extra, env=env, check=True)
                        a, width = pixels(editor)
                        b, _ = pixels(game)
                        compared += 1
                        if a == b:
                            continue
                        failures += 1
                        where = [i // 4 for i in range(0, len(a), 4) if a[i:i + 4] != b[i:i + 4]]
                        first = where[0]
                        print(f'{document} world {world} after {steps} steps {extra}: {len(where)} pixels differ, '
                              f'first at ({first % width}, {first // width}): editor {tuple(a[4 * first:4 * first + 4])}'
                              f' game {tuple(b[4 * first:4 * first + 4])}')
    print(f'{compared} pictures compared, {failures} differ')
    return 1 if failures or not compared else 0


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/env python3
"""What Quillop exchanges with other tools, checked by programs no one here
wrote:

- a sprite sheet of an animation passes pngcheck, its JSON description
  reads with Python's json, and each frame's rectangle cuts the sheet back
  into that frame's picture exactly;
- a Tiled map written by this script (its tileset picture, a CSV layer with
  empty cells) imported into a document and exported again is drawn by
  Tiled's own renderer exactly as the original.

usage: exchange_outside_test.py QUILLOP_CLI
"""

import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from runtime_player_picture_test import pixels  # noqa: E402


def write_png(path, width, height, rgba):
    """An 8-bit RGBA PNG of the given bytes."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    rows = b''.join(b'\0' + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
                  + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def picture(width, height, seed):
    """Opaque pixels in a pattern of their own, with a transparent corner."""
    out = bytearray()
    for y in range(height):
        for x in range(width):
            alpha = 0 if x < 2 and y < 2 else 255
            out += bytes(((x * 37 + seed * 50) % 256, (y * 23 + seed * 90) % 256, (seed * 61) % 256, alpha))
    return bytes(out)


def crop(rgba, width, x, y, w, h):
    return b''.join(rgba[((y + r) * width + x) * 4:((y + r) * width + x + w) * 4] for r in range(h))


def seen(rgba):
    """The pixels as they look: a transparent pixel has no colour."""
    return b''.join(rgba[i:i + 4] if rgba[i + 3] else bytes(4) for i in range(0, len(rgba), 4))


def run(*args, env=None):
    done = subprocess.run(list(args), capture_output=True, text=True, env=env)
    if done.returncode != 0:
        raise SystemExit('%s failed (%d): %s%s' % (' '.join(args), done.returncode, done.stdout, done.stderr))
    return done.stdout


def check_sheet(cli, folder):
    sizes = [(5, 7), (12, 9), (8, 16)]
    bitmaps = []
    for i, (w, h) in enumerate(sizes):
        write_png(os.path.join(folder, 'p%d.png' % i), w, h, picture(w, h, i))
        bitmaps.append({'id': 'p%d' % i, 'file': 'p%d.png' % i})
    frames = [{'bitmap': b, 'delay': 1 + b} for b in (0, 1, 2, 1)]
    manifest = {'groups': {'bitmaps': bitmaps, 'animations': [{'id': 'walk', 'frames': frames}]}}
    with open(os.path.join(folder, 'm.json'), 'w') as out:
        json.dump(manifest, out)
    document = os.path.join(folder, 'sheet.mrc')
    run(cli, 'pack', os.path.join(folder, 'm.json'), document)
    sheet, description = os.path.join(folder, 'walk.png'), os.path.join(folder, 'walk.json')
    run(cli, 'export-sheet', document, 'walk', sheet, '--json', description)
    run('pngcheck', '-q', sheet)
    with open(description) as text:
        described = json.load(text)
    rgba, width = pixels(sheet)
    failures = 0
    for i, frame in enumerate(described['frames']):
        rect = frame['frame']
        bitmap = frames[i]['bitmap']
        w, h = sizes[bitmap]
        if (rect['w'], rect['h']) != (w, h) or seen(crop(rgba, width, rect['x'], rect['y'], w, h)) != seen(picture(w, h, bitmap)):
            print('frame %d: the rectangle %s does not cut out its picture' % (i, rect))
            failures += 1
    return failures


def check_tiled_map(cli, folder, env):
    tile, columns, lines = 16, 20, 15
    tileset = bytearray()
    for y in range(tile):
        for t in range(4):
            tileset += picture(tile, tile, t)[y * tile * 4:(y + 1) * tile * 4]
    write_png(os.path.join(folder, 'tiles.png'), 4 * tile, tile, bytes(tileset))
    cells = [[(x * 3 + y * 5) % 5 for x in range(columns)] for y in range(lines)]  # 0 is an empty cell
    csv = ',\n'.join(','.join(str(c) for c in row) for row in cells)
    with open(os.path.join(folder, 'made.tmx'), 'w') as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                  '<map version="1.10" orientation="orthogonal" renderorder="right-down" width="%d" height="%d" '
                  'tilewidth="%d" tileheight="%d" infinite="0" nextlayerid="2" nextobjectid="1">\n'
                  ' <tileset firstgid="1" name="tiles" tilewidth="%d" tileheight="%d" tilecount="4" columns="4">\n'
                  '  <image source="tiles.png" width="%d" height="%d"/>\n'
                  ' </tileset>\n'
                  ' <layer id="1" name="ground" width="%d" height="%d">\n'
                  '  <data encoding="csv">\n%s\n</data>\n'
                  ' </layer>\n'
                  '</map>\n' % (columns, lines, tile, tile, tile, tile, 4 * tile, tile, columns, lines, csv))
    empty = os.path.join(folder, 'empty.json')
    with open(empty, 'w') as out:
        out.write('{}')
    document = os.path.join(folder, 'map.mrc')
    run(cli, 'pack', empty, document)
    run(cli, 'import-tmx', document, os.path.join(folder, 'made.tmx'))
    run(cli, 'export-tmx', document, '0', os.path.join(folder, 'again.tmx'))
    for name in ('made', 'again'):
        run('tmxrasterizer', os.path.join(folder, name + '.tmx'), os.path.join(folder, name + '.png'), env=env)
    if pixels(os.path.join(folder, 'made.png')) != pixels(os.path.join(folder, 'again.png')):
        print('the map imported and exported again is drawn differently by tmxrasterizer')
        return 1
    return 0


def main():
    cli = sys.argv[1]
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    with tempfile.TemporaryDirectory() as folder:
        failures = check_sheet(cli, folder)
        if shutil.which('tmxrasterizer'):
            failures += check_tiled_map(cli, folder, env)
        else:
            print('tmxrasterizer (package tiled) is not installed: the Tiled map is not checked')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())

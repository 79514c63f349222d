#!/usr/bin/env python3
"""Writes the hand-made hostile inputs kept under regressions/: files that
state sizes their bytes do not hold. Run from this folder; the outputs are
committed, so the build needs no Python."""
import json
import struct
import zlib


def le32(v):
    return struct.pack('<i', v)


def plain(s):  # a short archive string
    return bytes([len(s)]) + s


def coded(s):  # a pass-through coded string
    return le32(len(s)) + s


def document(sections):
    out = plain(b'MARVOLINE_RESOURCES') + plain(b'\nV.3.9\n') + plain(b'\n\nUser Comments:\nx\n\n')
    out += le32(0) + le32(3) + le32(9)
    out += le32(0) + coded(b'Hostile') + coded(b'')  # pass-through coder header, ID, Comments
    for tag, items in sections:
        out += plain(b'\n!(C)MARVOLINE!') + le32(0) + coded(tag)
        out += le32(0) + le32(1) + le32(0) + le32(len(items)) + b''.join(items)
    return out


def bitmap(ident, kind, payload, width=7.0, height=5.0):
    item = le32(0) + le32(1) + le32(0) + coded(ident) + coded(b'')
    item += le32(0) + le32(2) + le32(kind) + coded(ident) + coded(b'') + coded(b'')
    item += struct.pack('<dd', width, height) + le32(32) + le32(1) + struct.pack('<dd', 0.0, 0.0)
    return item + le32(len(payload)) + payload


def png_chunk(kind, body, length=None):
    n = len(body) if length is None else length
    return struct.pack('>I', n) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)


def small_png():
    rows = b''.join(b'\0' + b'\x80\x40\x20\xff' * 7 for _ in range(5))
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', struct.pack('>IIBBBBB', 7, 5, 8, 6, 0, 0, 0))
            + png_chunk(b'IDAT', zlib.compress(rows)))


def region(rects):
    head = le32(32) + le32(1) + le32(len(rects)) + le32(16 * len(rects)) + le32(0) * 4
    return head + b''.join(le32(l) + le32(t) + le32(r) + le32(b) for l, t, r, b in rects)


def wav(rate, frames):
    data = bytes(2 * frames)
    fmt = struct.pack('<HHIIHH', 1, 1, rate, rate * 2, 2, 16)
    body = b'WAVE' + b'fmt ' + le32(16) + fmt + b'data' + le32(len(data)) + data
    return b'RIFF' + le32(len(body)) + body


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


# A text chunk after the pixels claiming 1.2 GB in a file of a few hundred bytes.
claim = small_png() + png_chunk(b'tEXt', b'Comment\0short', length=0x48000000) + png_chunk(b'IEND', b'')
write('regressions/document/png-chunk-claims-1.2GB.mrc', document([(b'MRVBMPG', [bitmap(b'claim', 9, claim)])]))
# Two valid rectangles whose union is wider than an int.
wide = region([(-2000000000, 0, -1999999990, 10), (2000000000, 0, 2000000010, 10)])
write('regressions/document/region-union-wider-than-int.mrc', document([(b'MRVBMPG', [bitmap(b'zone', 6, wide)])]))
# 8 KB of samples said to be at 1 Hz, and 3 Hz.
write('regressions/wav/rate-1Hz.wav', wav(1, 4096))
write('regressions/wav/rate-3Hz.wav', wav(3, 4096))
write('regressions/analysis/recording-at-1Hz.bin', struct.pack('<8d', *[3.0] * 8) + wav(1, 4096))
# Manifests with values of the wrong type, and rectangles at the int limits.
for name, manifest in {
    'groups-is-a-list.json': {'groups': [1, 2, 3]},
    'items-are-numbers.json': {'groups': {'texts': [1, 2], 'colors': 5}},
    'rects-near-int-limits.json': {'groups': {'bitmaps': [
        {'id': 'a', 'rects': [[2147483000, 0, 10000, 1]]},
        {'id': 'b', 'rects': [[-2000000000, 0, 10, 10], [2000000000, 0, 10, 10]]},
        {'id': 'c', 'rects': [[-2147483648, -2147483648, 0, -5]]}]}},
    'device-as-file.json': {'groups': {'bitmaps': [{'id': 'z', 'file': '/dev/zero'}],
                                       'sounds': [{'id': 'z', 'file': '/dev/zero'}]}},
}.items():
    write('regressions/manifest/' + name, json.dumps(manifest).encode())

# Seeds: the same shapes, sound.
write('seeds/document/bitmap-and-region.mrc', document([(b'MRVBMPG', [
    bitmap(b'picture', 9, small_png() + png_chunk(b'IEND', b'')),
    bitmap(b'zone', 6, region([(0, 0, 4, 4), (10, 2, 13, 5)]))])]))

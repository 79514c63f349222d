#!/usr/bin/env python3
"""Compares the analysis of quillop-cli with an independent pitch tracker.

    python3 scripts/pitch-comparison.py [build folder]

The test signals (vibrato, a glide, octave leaps, a noisy tone and a
voice-like recording with a pause and a breath) are written by the analysis
tests (QUILLOP_PITCH_WAVS), each with its true pitch every millisecond. Each
is analysed by `quillop-cli analyze` with estimated bounds (the default) and
with the preview's optimised margins (--bounds preview), and by `aubiopitch`
(package aubio-tools) when it is installed. The score of each: the share of
voiced moments within 50 cents of the truth, and the share of silent or
noisy moments called unvoiced.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

build = sys.argv[1] if len(sys.argv) > 1 else 'build/default'
cli = os.path.join(build, 'apps', 'quillop-cli')
tests = os.path.join(build, 'tests', 'test_tool_analysis')


def truth_of(path):
    table = []
    with open(path) as f:
        for line in f:
            t, hz = line.split()
            table.append(float(hz))
    return lambda t: table[min(len(table) - 1, max(0, int(t * 1000)))]


def score(pitch, estimates):
    """estimates: (time the analysed window starts, Hz or 0)."""
    voiced = right = unvoiced = off = 0
    for t, found in estimates:
        f = pitch(t)
        end = pitch(t + 3.0 / f) if f > 0 else pitch(t + 0.03)
        if (f > 0) != (end > 0) or (f > 0 and abs(math.log2(end / f)) > 1 / 24):
            continue
        if f > 0:
            voiced += 1
            if found > 0 and abs(1200 * math.log2(found / pitch(t + 1.5 / f))) <= 50:
                right += 1
        else:
            unvoiced += 1
            off += found <= 0
    return (100.0 * right / voiced if voiced else 100.0, 100.0 * off / unvoiced if unvoiced else float('nan'))


def quillop(wav, bounds, folder):
    awa = os.path.join(folder, 'out.awa')
    subprocess.run([cli, 'analyze', wav, awa, '--rate', '11025', '--bounds', bounds],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    data = open(awa, 'rb').read()
    periods = struct.unpack('<%dd' % (len(data) // 8), data)
    return [(m / 11025.0, 11025.0 / p if p > 0 else 0.0) for m, p in enumerate(periods)]


def aubio(wav):
    out = subprocess.run(['aubiopitch', '-i', wav], check=True, capture_output=True, text=True).stdout
    return [(float(t), float(hz)) for t, hz in (line.split() for line in out.splitlines() if line.strip())]


def main():
    folder = tempfile.mkdtemp()
    try:
        env = dict(os.environ, QUILLOP_PITCH_WAVS=folder)
        subprocess.run([tests, '--gtest_filter=PeriodTracker.Estimated*'], env=env, check=False,
                       stdout=subprocess.DEVNULL)
        have_aubio = shutil.which('aubiopitch') is not None
        print('%-14s %24s %24s %24s' % ('signal', 'estimated bounds', '--bounds preview',
                                        'aubiopitch' if have_aubio else 'aubiopitch (missing)'))
        for name in sorted(n[:-4] for n in os.listdir(folder) if n.endswith('.wav')):
            wav = os.path.join(folder, name + '.wav')
            pitch = truth_of(os.path.join(folder, name + '.truth'))
            rows = [score(pitch, quillop(wav, 'estimate', folder)), score(pitch, quillop(wav, 'preview', folder))]
            if have_aubio:
                rows.append(score(pitch, aubio(wav)))
            print('%-14s ' % name + ' '.join('%10.1f%% / %8.1f%%  ' % r for r in rows))
        print('(voiced within 50 cents / silence and noise called unvoiced)')
    finally:
        shutil.rmtree(folder)


if __name__ == '__main__':
    main()

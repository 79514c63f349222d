#!/usr/bin/env python3
"""Draws the pictures of the interface resource file, of the demo document and
the program's icon.

Run from anywhere: python3 data/tools/make_images.py. The PNG files it writes
are committed, so a build needs no Python; run it again after changing a
drawing.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import Canvas, rgb  # noqa: E402

DATA = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INTERFACE = os.path.join(DATA, 'interface', 'images')
DEMO = os.path.join(DATA, 'demo', 'images')

INK = rgb('2b3a4a')
BLUE = rgb('3b7dd8')
DEEP = rgb('1f4f96')
LIGHT = rgb('dfe8f3')
WHITE = rgb('ffffff')
PAPER = rgb('fbfbf6')
GREEN = rgb('3aa655')
RED = rgb('d64541')
ORANGE = rgb('f0a030')
YELLOW = rgb('f5d04a')
GREY = rgb('8a96a3')
SOFT = rgb('c4ccd6')
BROWN = rgb('9a6a3a')

written = []


def save(c, folder, name):
    os.makedirs(folder, exist_ok=True)
    c.save(os.path.join(folder, name + '.png'))
    written.append(name)


def icon(name, draw, size=16, folder=INTERFACE):
    c = Canvas(size, size)
    draw(c)
    save(c, folder, name)


# --- glyph helpers (16 x 16 unless said otherwise) -------------------------

def tri(c, cx, cy, r, direction, colour):
    """A filled triangle pointing up, down, left or right, r pixels from centre to tip."""
    pts = {'up': [(cx, cy - r), (cx + r, cy + r * 0.6), (cx - r, cy + r * 0.6)],
           'down': [(cx, cy + r), (cx - r, cy - r * 0.6), (cx + r, cy - r * 0.6)],
           'left': [(cx - r, cy), (cx + r * 0.6, cy - r), (cx + r * 0.6, cy + r)],
           'right': [(cx + r, cy), (cx - r * 0.6, cy + r), (cx - r * 0.6, cy - r)]}[direction]
    c.poly(pts, colour)


def button_face(c, size=16):
    c.round_rect(0.5, 0.5, size - 1, size - 1, 2.5, SOFT)
    c.round_rect(1.5, 1.5, size - 3, size - 3, 1.5, LIGHT)


def page(c, x=3, y=1.5, w=10, h=13, colour=PAPER):
    c.poly([(x, y), (x + w - 3, y), (x + w, y + 3), (x + w, y + h), (x, y + h)], INK)
    c.poly([(x + 1, y + 1), (x + w - 3.5, y + 1), (x + w - 1, y + 3.5), (x + w - 1, y + h - 1), (x + 1, y + h - 1)], colour)
    c.poly([(x + w - 3.5, y + 1), (x + w - 1, y + 3.5), (x + w - 3.5, y + 3.5)], SOFT)


def folder(c):
    c.poly([(1, 3), (6, 3), (7.5, 4.5), (14, 4.5), (14, 13.5), (1, 13.5)], BROWN)
    c.poly([(2.5, 7), (15.5, 7), (13.5, 13.5), (1, 13.5)], ORANGE)


def disk(c):
    c.round_rect(1.5, 1.5, 13, 13, 1.5, DEEP)
    c.rect(4, 1.5, 8, 5, LIGHT)
    c.rect(9.5, 2.5, 1.5, 3, DEEP)
    c.rect(3.5, 9, 9, 5.5, WHITE)
    c.rect(5, 10.5, 6, 1, SOFT)
    c.rect(5, 12.5, 6, 1, SOFT)


def printer(c):
    c.rect(4, 1.5, 8, 5, PAPER)
    c.frame(4, 1.5, 8, 5, 1, INK)
    c.round_rect(1, 6, 14, 6.5, 1.5, GREY)
    c.rect(4, 10, 8, 5, PAPER)
    c.frame(4, 10, 8, 5, 1, INK)
    c.circle(12.5, 8, 0.8, GREEN)


def info(c, size=16):
    s = size / 16.0
    c.circle(8 * s, 8 * s, 7 * s, BLUE)
    c.circle(8 * s, 4.5 * s, 1.3 * s, WHITE)
    c.round_rect(6.8 * s, 7 * s, 2.4 * s, 6 * s, 0.8 * s, WHITE)


def landscape(c, x, y, w, h):
    c.rect(x, y, w, h, INK)
    c.rect(x + 1, y + 1, w - 2, h - 2, rgb('9cc9f0'))
    c.poly([(x + 1, y + h - 1), (x + w * 0.4, y + h * 0.35), (x + w * 0.65, y + h * 0.7), (x + w * 0.8, y + h * 0.5),
            (x + w - 1, y + h * 0.75), (x + w - 1, y + h - 1)], GREEN)
    c.circle(x + w * 0.75, y + h * 0.3, h * 0.12, YELLOW)


def check(c, x, y, s, colour, width=2.0):
    c.polyline([(x, y + 4 * s), (x + 3 * s, y + 7 * s), (x + 8 * s, y)], width, colour)


def cross(c, cx, cy, r, width, colour):
    c.line(cx - r, cy - r, cx + r, cy + r, width, colour, caps=True)
    c.line(cx - r, cy + r, cx + r, cy - r, width, colour, caps=True)


def four_arrows(c, cx, cy, r, colour):
    c.line(cx - r + 2, cy, cx + r - 2, cy, 1.4, colour)
    c.line(cx, cy - r + 2, cx, cy + r - 2, 1.4, colour)
    for d, (x, y) in (('up', (cx, cy - r + 2)), ('down', (cx, cy + r - 2)),
                      ('left', (cx - r + 2, cy)), ('right', (cx + r - 2, cy))):
        tri(c, x, y, 2.2, d, colour)


def brackets(c, colour):
    for (x, y, dx, dy) in ((1, 1, 1, 1), (15, 1, -1, 1), (1, 15, 1, -1), (15, 15, -1, -1)):
        c.line(x, y + dy * 0.6, x + dx * 4, y + dy * 0.6, 1.2, colour)
        c.line(x + dx * 0.6, y, x + dx * 0.6, y + dy * 4, 1.2, colour)


def curve(c, width, colour, dashed=False):
    pts = [(2 + i * 12 / 20.0, 8 + 4.5 * math.sin(i / 20.0 * 2 * math.pi)) for i in range(21)]
    if dashed:
        for i in range(0, 20, 4):
            c.polyline(pts[i:i + 3], width, colour)
    else:
        c.polyline(pts, width, colour)


def speaker(c):
    c.poly([(2, 6), (5, 6), (9, 2.5), (9, 13.5), (5, 10), (2, 10)], INK)
    for r in (3.0, 5.5):
        c.fill([Canvas.ellipse_points(9, 8, r + 0.6, r + 0.6, 16, -0.9, 0.9) +
                list(reversed(Canvas.ellipse_points(9, 8, r - 0.6, r - 0.6, 16, -0.9, 0.9)))], BLUE)


def palette(c):
    c.ellipse(8, 8, 7, 6.5, rgb('e6c79c'))
    c.circle(10.5, 11, 1.6, rgb('ffffff', 0))
    for (x, y, col) in ((5, 5.5, RED), (8.5, 4, YELLOW), (11.5, 6, GREEN), (4.5, 9.5, BLUE)):
        c.circle(x, y, 1.5, col)
    c.circle(10.5, 10.5, 1.7, WHITE)


def windows(c):
    c.rect(5, 1.5, 10, 8, INK)
    c.rect(6, 3.5, 8, 5, WHITE)
    c.rect(1, 6.5, 10, 8, INK)
    c.rect(2, 8.5, 8, 5, WHITE)
    c.rect(1, 6.5, 10, 2, BLUE)


# --- the named interface bitmaps -------------------------------------------

def interface_images():
    icon('PopUpDown', lambda c: tri(c, 5, 5, 3.5, 'down', INK), 10)
    icon('PopUpRight', lambda c: tri(c, 5, 5, 3.5, 'right', INK), 10)

    def checkbox(c, ticked):
        c.rect(0.5, 0.5, 12, 12, GREY)
        c.rect(1.5, 1.5, 10, 10, WHITE)
        if ticked:
            check(c, 3, 3.5, 0.85, GREEN, 1.8)
    icon('GridCheckBoxYes', lambda c: checkbox(c, True), 13)
    icon('GridCheckBoxNo', lambda c: checkbox(c, False), 13)
    icon('SelectedItem', lambda c: tri(c, 5, 5, 4, 'right', BLUE), 10)

    def group(c, expand):
        c.rect(0.5, 0.5, 10, 10, GREY)
        c.rect(1.5, 1.5, 8, 8, WHITE)
        c.rect(3, 5, 5, 1, INK)
        if expand:
            c.rect(5, 3, 1, 5, INK)
    icon('GroupExpand', lambda c: group(c, True), 11)
    icon('GroupCollapse', lambda c: group(c, False), 11)

    def scroll(draw):
        def f(c):
            button_face(c)
            draw(c)
        return f
    for d in ('Up', 'Down', 'Left', 'Right'):
        icon('ScrollBarStep' + d, scroll(lambda c, d=d: tri(c, 8, 8, 3.5, d.lower(), INK)))

        def page_glyph(c, d=d):
            dx, dy = {'Up': (0, -2.4), 'Down': (0, 2.4), 'Left': (-2.4, 0), 'Right': (2.4, 0)}[d]
            tri(c, 8 - dx, 8 - dy, 2.6, d.lower(), INK)
            tri(c, 8 + dx, 8 + dy, 2.6, d.lower(), BLUE)
        icon('ScrollBarPage' + d, scroll(page_glyph))

    def zoom(c):
        c.ring(6.5, 6.5, 4.5, 1.5, INK)
        c.line(9.8, 9.8, 13.5, 13.5, 2.2, INK, caps=True)
        c.rect(4.5, 6, 4, 1, BLUE)
        c.rect(6, 4.5, 1, 4, BLUE)
    icon('ScrollBarZoom', scroll(zoom))
    icon('ScrollBarMove', scroll(lambda c: four_arrows(c, 8, 8, 7, INK)))

    def fit(c):
        c.frame(4, 4, 8, 8, 1, INK)
        for (x, y, dx, dy) in ((2.5, 2.5, 1, 1), (13.5, 2.5, -1, 1), (2.5, 13.5, 1, -1), (13.5, 13.5, -1, -1)):
            c.line(x, y, x + dx * 2.5, y + dy * 2.5, 1.2, BLUE)
    icon('ScrollBarFit', scroll(fit))

    def grip(c):
        for i in range(3):
            for j in range(i + 1):
                c.rect(12 - 4 * j, 12 - 4 * (i - j), 2, 2, GREY)
    icon('WindowResize', grip)

    # The progress window's buttons and its working animation.
    def big(draw):
        def f(c):
            c.round_rect(0.5, 0.5, 23, 23, 4, SOFT)
            c.round_rect(1.5, 1.5, 21, 21, 3, LIGHT)
            draw(c)
        return f
    icon('TaskProgressMinimize', big(lambda c: c.rect(6, 15, 12, 3, INK)), 24)
    icon('TaskProgressPause', big(lambda c: (c.rect(7, 6, 3.5, 12, INK), c.rect(13.5, 6, 3.5, 12, INK))), 24)
    icon('TaskProgressContinue', big(lambda c: tri(c, 13, 12, 6.5, 'right', GREEN)), 24)
    icon('TaskProgressClose', big(lambda c: cross(c, 12, 12, 5, 3, RED)), 24)
    icon('TaskProgressEnded', big(lambda c: check(c, 5.5, 6.5, 1.6, GREEN, 3.2)), 24)

    def spinner(c):
        for i in range(12):
            a = i / 12.0 * 2 * math.pi
            alpha = int(40 + 215 * i / 11)
            c.line(16 + 7 * math.cos(a), 16 + 7 * math.sin(a), 16 + 13 * math.cos(a), 16 + 13 * math.sin(a),
                   3, (BLUE[0], BLUE[1], BLUE[2], alpha), caps=True)
    icon('TaskProgress', spinner, 32)

    # The trajectory editor's tool bar.
    def origin(c):
        c.line(1, 8, 15, 8, 1, GREY)
        c.line(8, 1, 8, 15, 1, GREY)
        c.ring(8, 8, 4, 1.3, INK)
        c.circle(8, 8, 1.5, RED)
    icon('ToolBarMoveToOrigin', origin)
    icon('ToolBarMoveView', lambda c: four_arrows(c, 8, 8, 8, BLUE))
    icon('ToolBarCenterContentsInView', lambda c: (brackets(c, INK), curve(c, 1.4, BLUE)))
    icon('ToolBarCenterObjectInView', lambda c: (brackets(c, INK), c.circle(8, 8, 3.5, ORANGE)))

    def hide(c):
        curve(c, 1.4, BLUE, dashed=True)
        c.line(2, 14, 14, 2, 1.8, RED, caps=True)
    icon('ToolBarHideTrajectory', hide)

    def gauge(c):
        c.fill([Canvas.ellipse_points(8, 10, 7, 7, 24, math.pi, 2 * math.pi) +
                list(reversed(Canvas.ellipse_points(8, 10, 5, 5, 24, math.pi, 2 * math.pi)))], INK)
        c.line(8, 10, 12, 5, 1.5, RED, caps=True)
        c.circle(8, 10, 1.5, INK)
        c.rect(2, 12.5, 12, 1.5, GREY)
    icon('ToolBarPlayValue', gauge)
    icon('ToolBarPlay', lambda c: tri(c, 9, 8, 6, 'right', GREEN))
    icon('ToolBarBackgroundBitmap', lambda c: landscape(c, 1, 2, 14, 12))

    def object_bitmap(c):
        c.frame(1, 2, 14, 12, 1, GREY)
        c.circle(8, 8, 4, ORANGE)
        c.circle(6.8, 6.8, 1.2, WHITE)
    icon('ToolBarObjectBitmap', object_bitmap)

    # The tool windows' tool bar (looked up by command name; the free-standing
    # parameter list uses the same pictures under its own names).
    def factory(c):
        c.fill([Canvas.ellipse_points(8, 8.5, 6, 6, 24, -0.3, 4.6) +
                list(reversed(Canvas.ellipse_points(8, 8.5, 4, 4, 24, -0.3, 4.6)))], BLUE)
        tri(c, 13.5, 6.2, 3, 'down', BLUE)

    def load(c):
        folder(c)
        c.line(8.5, 12, 8.5, 6, 1.6, DEEP)
        tri(c, 8.5, 4.5, 3, 'up', DEEP)

    def copy(c):
        page(c, 1.5, 1, 9, 11)
        page(c, 5.5, 4, 9, 11)

    def paste(c):
        c.round_rect(2, 2.5, 11, 12.5, 1.5, BROWN)
        c.rect(5, 1, 5, 3, GREY)
        page(c, 6, 6, 8.5, 9)
    tool = {'Factory': factory, 'Load': load, 'Save': disk, 'Copy': copy, 'Paste': paste,
            'Print': printer, 'Information': info}
    for name, draw in tool.items():
        icon('Tool' + name, draw)

    # The main tool bar and menu.
    def main_menu(c):
        for y in (3, 7, 11):
            c.round_rect(2, y, 12, 2.2, 1, INK)
    icon('MainMenu', main_menu)
    icon('FileNew', lambda c: page(c))
    icon('FileOpen', folder)
    icon('FileSave', disk)
    icon('FilePrint', printer)

    def properties(c):
        page(c)
        for y in (6, 8.5, 11):
            c.rect(5, y, 6, 1, GREY)
    icon('FileProperties', properties)

    def exit_door(c):
        c.rect(2, 1.5, 8, 13, BROWN)
        c.circle(8, 8, 0.9, YELLOW)
        c.line(9, 8, 14, 8, 1.6, RED)
        tri(c, 14, 8, 2.5, 'right', RED)
    icon('FileExit', exit_door)

    def view_animations(c):
        c.rect(1, 2, 14, 12, INK)
        for x in range(2, 15, 3):
            c.rect(x, 3, 1.5, 1.5, WHITE)
            c.rect(x, 11.5, 1.5, 1.5, WHITE)
        c.rect(2.5, 5.5, 5, 5, rgb('9cc9f0'))
        c.rect(8.5, 5.5, 5, 5, rgb('9cc9f0'))
        c.circle(4.5, 8, 1.5, ORANGE)
        c.circle(11.5, 8.5, 1.5, ORANGE)

    def view_maps(c):
        cols = (GREEN, BLUE, GREEN, BROWN, GREEN, BLUE, BROWN, GREEN, GREEN)
        for i, col in enumerate(cols):
            c.rect(1.5 + (i % 3) * 4.5, 1.5 + (i // 3) * 4.5, 4, 4, col)

    def view_texts(c):
        c.rect(3, 2, 10, 2.5, INK)
        c.rect(6.8, 2, 2.4, 12, INK)

    def view_sounds(c):
        pts = [(1 + i * 14 / 28.0, 8 + 5.5 * math.sin(i * 0.9) * math.exp(-i / 14.0)) for i in range(29)]
        c.polyline(pts, 1.4, BLUE)

    def view_trajectories(c):
        curve(c, 1.4, BLUE)
        c.circle(13.5, 8, 2, ORANGE)

    def view_files(c):
        page(c)
        for row, bits in enumerate(('1010', '0110', '1101')):
            for i, b in enumerate(bits):
                if b == '1':
                    c.rect(4.5 + i * 1.8, 5.5 + row * 2.6, 1.2, 1.8, INK)
                else:
                    c.frame(4.5 + i * 1.8, 5.5 + row * 2.6, 1.2, 1.8, 0.4, INK)

    def view_colors(c):
        for i, col in enumerate((RED, GREEN, BLUE, YELLOW)):
            c.round_rect(1.5 + (i % 2) * 7, 1.5 + (i // 2) * 7, 6, 6, 1.2, col)

    def view_ui(c):
        c.rect(1, 2, 14, 12, INK)
        c.rect(2, 5, 12, 8, WHITE)
        c.rect(1, 2, 14, 3, BLUE)
        c.rect(3.5, 7, 4, 1.5, GREY)
        c.rect(3.5, 10, 9, 1.5, GREY)

    def view_worlds(c):
        c.circle(8, 8, 7, BLUE)
        c.poly([(4, 4), (8, 3), (9, 6), (6, 8), (7, 11), (4, 10), (3, 7)], GREEN)
        c.poly([(10, 9), (13, 8), (12.5, 12), (10, 12.5)], GREEN)
    views = {'Bitmaps': lambda c: landscape(c, 1, 2, 14, 12), 'Animations': view_animations, 'Maps': view_maps,
             'Texts': view_texts, 'Sounds': view_sounds, 'Trajectories': view_trajectories, 'Files': view_files,
             'Colors': view_colors, 'Ui': view_ui, 'Worlds': view_worlds}
    for name, draw in views.items():
        icon('View' + name, draw)

    def chain(c):
        c.fill([Canvas.ellipse_points(5.5, 8, 4.5, 3, 24)[:-1], Canvas.ellipse_points(5.5, 8, 2.8, 1.5, 24)[:-1]], GREY)
        c.fill([Canvas.ellipse_points(10.5, 8, 4.5, 3, 24)[:-1], Canvas.ellipse_points(10.5, 8, 2.8, 1.5, 24)[:-1]], INK)
    icon('MaintainRelationships', chain)

    def integrity(c):
        c.poly([(8, 1), (14, 3), (13, 10), (8, 15), (3, 10), (2, 3)], GREEN)
        check(c, 4.5, 5, 0.85, WHITE, 1.8)
    icon('CheckIntegrity', integrity)
    icon('WindowList', windows)
    icon('AudioSettings', speaker)
    icon('GuiSettings', palette)
    icon('HelpAbout', info)

    def analyze(c):
        view_sounds(c)
        c.ring(11, 5, 3.5, 1.2, INK)
        c.line(13.5, 7.5, 15, 9, 1.6, INK, caps=True)
    icon('ToolAnalyze', analyze)

    def midi(c):
        c.circle(5, 12, 2.5, INK)
        c.circle(12, 10.5, 2.5, INK)
        c.rect(6.6, 2.5, 1.4, 9.5, INK)
        c.rect(13.6, 1, 1.4, 9.5, INK)
        c.poly([(6.6, 2.5), (15, 1), (15, 3.5), (6.6, 5)], INK)
    icon('ToolMidi', midi)

    def film(c):
        view_animations(c)
    icon('ToolVideo', film)

    def manager(c):
        page(c, 1.5, 1, 9, 11)
        page(c, 5.5, 4, 9, 11, LIGHT)
        c.line(7.5, 9.5, 12.5, 9.5, 1.2, BLUE)
        tri(c, 12.5, 9.5, 1.8, 'right', BLUE)
    icon('ToolResourceFiles', manager)

    def bass_drum(c):
        # A drum seen from the side, with a falling pitch sweep over it.
        c.ellipse(8, 12.5, 6.5, 2.5, DEEP)
        c.rect(1.5, 8, 13, 4.5, BLUE)
        c.ellipse(8, 8, 6.5, 2.5, LIGHT)
        c.polyline([(1.5, 1.5), (4, 2.2), (7, 3.4), (10, 4.4), (14.5, 5)], 1.3, ORANGE)
    icon('ToolBassDrum', bass_drum)

    def bitmap_colors(c):
        # A picture split into its colour half and its grey (bump) half.
        landscape(c, 1, 2, 14, 12)
        c.rect(8, 2, 7, 12, GREY)
        c.rect(9, 4, 5, 3, SOFT)
        c.rect(9, 9, 5, 3, INK)
    icon('ToolBitmapColors', bitmap_colors)


# --- the demo document's pictures ------------------------------------------

def demo_images():
    def ball(c, squash=0.0, size=24):
        r = size / 2 - 1.5
        c.ellipse(size / 2, size / 2 + r * squash / 2, r * (1 + squash / 2), r * (1 - squash / 2), RED)
        c.ellipse(size / 2 - r * 0.35, size / 2 - r * 0.35 + r * squash / 2, r * 0.3, r * 0.25, rgb('ffffff', 180))
    for i in range(6):
        # A spinning star: six frames of a fifth of a turn each.
        def star(c, i=i):
            pts = []
            for k in range(10):
                a = -math.pi / 2 + k * math.pi / 5 + i * (2 * math.pi / 5) / 6
                r = 11 if k % 2 == 0 else 4.8
                pts.append((12 + r * math.cos(a), 12 + r * math.sin(a)))
            c.poly(pts, YELLOW)
            c.circle(12, 12, 2, ORANGE)
        icon('star%d' % i, star, 24, DEMO)
    icon('ball', lambda c: ball(c), 24, DEMO)

    def tile(colour, detail):
        def f(c):
            c.rect(0, 0, 16, 16, colour)
            detail(c)
        return f
    icon('grass', tile(rgb('4caf50'), lambda c: [c.line(x, 14, x + 1, 10, 1, rgb('2e7d32')) for x in (2, 7, 12)]), 16, DEMO)
    icon('water', tile(rgb('3b7dd8'), lambda c: [c.line(x, 7, x + 4, 7, 1, rgb('9cc9f0')) for x in (2, 9)]), 16, DEMO)
    icon('stone', tile(rgb('9e9e9e'), lambda c: (c.frame(0, 0, 16, 16, 1, rgb('757575')),
                                                  c.rect(0, 7.5, 16, 1, rgb('757575')))), 16, DEMO)

    def background(c):
        c.rect(0, 0, 96, 64, rgb('bfe3ff'))
        c.circle(78, 14, 7, YELLOW)
        c.poly([(0, 50), (25, 24), (45, 44), (62, 30), (96, 52), (96, 64), (0, 64)], rgb('6d9d5f'))
        c.rect(0, 56, 96, 8, rgb('8d6e4f'))
    c = Canvas(96, 64)
    background(c)
    save(c, DEMO, 'background')


# --- the program's icon, in the sizes desktops look for --------------------

ICONS = os.path.join(DATA, 'icons')
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def program_icon(c, size):
    """A quill over a page of resources, on the program's blue; drawn on a
    16-unit grid scaled to the size."""
    s = size / 16.0
    c.round_rect(0.5 * s, 0.5 * s, 15 * s, 15 * s, 3 * s, DEEP)
    x, y, w, h = 3 * s, 2.5 * s, 8.5 * s, 11 * s
    c.poly([(x, y), (x + w - 2.5 * s, y), (x + w, y + 2.5 * s), (x + w, y + h), (x, y + h)], PAPER)
    c.poly([(x + w - 2.5 * s, y), (x + w, y + 2.5 * s), (x + w - 2.5 * s, y + 2.5 * s)], SOFT)
    for i, colour in enumerate((RED, GREEN, ORANGE)):
        c.rect(x + 1.2 * s, y + (3 + 2.4 * i) * s, 1.6 * s, 1.6 * s, colour)
        c.rect(x + 3.4 * s, y + (3.5 + 2.4 * i) * s, 3.2 * s, 0.6 * s, GREY)
    # The feather: a leaf along the line from the nib to the tip.
    nib, tip = (4.2 * s, 14.2 * s), (14.6 * s, 1.6 * s)
    dx, dy = tip[0] - nib[0], tip[1] - nib[1]
    length = math.hypot(dx, dy)
    ux, uy, nx, ny = dx / length, dy / length, -dy / length, dx / length

    def along(t, off):
        return (nib[0] + ux * t * length + nx * off * s, nib[1] + uy * t * length + ny * off * s)
    vane = [along(0.25 + 0.75 * k / 12, 2.1 * math.sin(math.pi * k / 12)) for k in range(13)]
    vane += [along(0.25 + 0.75 * k / 12, -1.3 * math.sin(math.pi * k / 12)) for k in range(12, -1, -1)]
    c.poly(vane, YELLOW)
    c.line(*along(0.0, 0), *along(0.97, 0), 0.7 * s, BROWN)
    c.poly([along(0.0, 0), along(0.1, 0.45), along(0.1, -0.45)], INK)


def program_icons():
    for size in ICON_SIZES:
        c = Canvas(size, size)
        program_icon(c, size)
        save(c, os.path.join(ICONS, '%dx%d' % (size, size)), 'quillop')


if __name__ == '__main__':
    interface_images()
    demo_images()
    program_icons()
    print('%d pictures written' % len(written))

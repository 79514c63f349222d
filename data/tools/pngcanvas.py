"""A small anti-aliased drawing canvas that writes RGBA PNG files.

Only the standard library is used, so the pictures can be redrawn on any
machine with Python 3. Shapes are filled at SS x SS samples per pixel and
averaged, which is enough to keep 16-pixel icons smooth.
"""
import math
import struct
import zlib

SS = 4


def rgb(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.sw, self.sh = width * SS, height * SS
        # Premultiplied RGBA in 0..1, one entry per sample.
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.sw * self.sh)]

    # --- filling -----------------------------------------------------------
    def fill(self, rings, colour):
        """Fills one or more closed rings (lists of (x, y) in pixels) with the
        even-odd rule."""
        edges = []
        ys = []
        for ring in rings:
            pts = [(x * SS, y * SS) for x, y in ring]
            for i in range(len(pts)):
                a, b = pts[i], pts[(i + 1) % len(pts)]
                if a[1] != b[1]:
                    edges.append((a, b))
                ys.append(a[1])
        if not edges:
            return
        r, g, b_, a = colour
        a /= 255.0
        src = (r / 255.0 * a, g / 255.0 * a, b_ / 255.0 * a, a)
        y0 = max(0, int(math.floor(min(ys))))
        y1 = min(self.sh - 1, int(math.ceil(max(ys))))
        for sy in range(y0, y1 + 1):
            cy = sy + 0.5
            xs = []
            for (ax, ay), (bx, by) in edges:
                if (ay <= cy < by) or (by <= cy < ay):
                    xs.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                xa = max(0, int(math.ceil(xs[i] - 0.5)))
                xb = min(self.sw - 1, int(math.ceil(xs[i + 1] - 0.5)) - 1)
                row = sy * self.sw
                for sx in range(xa, xb + 1):
                    p = self.px[row + sx]
                    k = 1.0 - src[3]
                    p[0] = src[0] + p[0] * k
                    p[1] = src[1] + p[1] * k
                    p[2] = src[2] + p[2] * k
                    p[3] = src[3] + p[3] * k

    # --- shapes ------------------------------------------------------------
    def poly(self, points, colour):
        self.fill([points], colour)

    def rect(self, x, y, w, h, colour):
        self.fill([[(x, y), (x + w, y), (x + w, y + h), (x, y + h)]], colour)

    def frame(self, x, y, w, h, t, colour):
        """The outline of a rectangle, t pixels thick, inside the rectangle."""
        self.fill([[(x, y), (x + w, y), (x + w, y + h), (x, y + h)],
                   [(x + t, y + t), (x + w - t, y + t), (x + w - t, y + h - t), (x + t, y + h - t)]], colour)

    @staticmethod
    def ellipse_points(cx, cy, rx, ry, steps=40, start=0.0, end=2 * math.pi):
        return [(cx + rx * math.cos(start + (end - start) * i / steps),
                 cy + ry * math.sin(start + (end - start) * i / steps)) for i in range(steps + 1)]

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill([self.ellipse_points(cx, cy, rx, ry)[:-1]], colour)

    def circle(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def ring(self, cx, cy, r, t, colour):
        self.fill([self.ellipse_points(cx, cy, r, r)[:-1], self.ellipse_points(cx, cy, r - t, r - t)[:-1]], colour)

    def line(self, x0, y0, x1, y1, width, colour, caps=False):
        dx, dy = x1 - x0, y1 - y0
        n = math.hypot(dx, dy) or 1.0
        ox, oy = -dy / n * width / 2, dx / n * width / 2
        self.poly([(x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy)], colour)
        if caps:
            self.circle(x0, y0, width / 2, colour)
            self.circle(x1, y1, width / 2, colour)

    def polyline(self, points, width, colour):
        for a, b in zip(points, points[1:]):
            self.line(a[0], a[1], b[0], b[1], width, colour, caps=True)

    def round_rect(self, x, y, w, h, r, colour):
        pts = []
        for cx, cy, a0 in ((x + w - r, y + r, -math.pi / 2), (x + w - r, y + h - r, 0.0),
                           (x + r, y + h - r, math.pi / 2), (x + r, y + r, math.pi)):
            pts += self.ellipse_points(cx, cy, r, r, 8, a0, a0 + math.pi / 2)
        self.poly(pts, colour)

    # --- output ------------------------------------------------------------
    def pixels(self):
        out = bytearray()
        n = SS * SS
        for y in range(self.h):
            for x in range(self.w):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(y * SS, y * SS + SS):
                    row = sy * self.sw
                    for sx in range(x * SS, x * SS + SS):
                        p = self.px[row + sx]
                        acc[0] += p[0]; acc[1] += p[1]; acc[2] += p[2]; acc[3] += p[3]
                a = acc[3] / n
                if a <= 0.0:
                    out += b'\0\0\0\0'
                    continue
                out += bytes((min(255, round(acc[0] / n / a * 255)), min(255, round(acc[1] / n / a * 255)),
                              min(255, round(acc[2] / n / a * 255)), min(255, round(a * 255))))
        return bytes(out)

    def save(self, path):
        raw = self.pixels()
        stride = self.w * 4
        lines = b''.join(b'\0' + raw[y * stride:(y + 1) * stride] for y in range(self.h))

        def chunk(tag, data):
            return struct.pack('>I', len(data)) + tag + data + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff)

        png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b'IDAT', zlib.compress(lines, 9)) + chunk(b'IEND', b'')
        with open(path, 'wb') as f:
            f.write(png)

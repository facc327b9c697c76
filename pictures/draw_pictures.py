#!/usr/bin/env python3
"""The source drawing of zozuz's pictures.

Every picture is drawn here from a few shapes in a 16 x 16 design box and rendered, without
smoothing, at each size it is needed in: a pixel takes the colour of the topmost shape its centre
lies in, and an outline is one pixel wide at every size, so each size is sharp and the 32 x 32
images for high-density screens carry finer lines rather than doubled pixels.

Run it from anywhere to write the pictures next to it: one text file per picture and size
(`NAME-SIZE.txt`, the form the build reads into the program) and a PNG of each for people and for
packaging (png/). Only the standard library is needed.

Text form: a first line `zozuz-picture WIDTH HEIGHT`, then one palette line per colour, a key
character and either RRGGBB or `none` for a pixel the picture leaves uncovered, then a line `-`,
then HEIGHT rows of WIDTH key characters.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Colours, RRGGBB.
BLACK = 0x000000
WHITE = 0xFFFFFF
GREY = 0x808080
SILVER = 0xC0C0C0
LIGHT = 0xE8E8E8
DARK = 0x404040
RED = 0xFF0000
DARKRED = 0xA00000
GREEN = 0x00A000
LIME = 0x00FF00
DARKGREEN = 0x006000
BLUE = 0x0000FF
NAVY = 0x000080
SKY = 0x3A8EE6
YELLOW = 0xFFFF00
GOLD = 0xE8B830
BROWN = 0x9A6A30
AQUA = 0x00FFFF
FUCHSIA = 0xFF00FF
PAPER = 0xFFFFFF
INK = 0x5A6E8C


# --- Shapes: each answers whether a point of the design box lies in it ---

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= r_out ** 2


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def arc(cx, cy, r, width, start_deg, end_deg):
    """A band of the given width along a circle, from one angle to the other counter-clockwise
    (angles measured with y pointing up, as on paper)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - start_deg) % 360 <= (end_deg - start_deg) % 360
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


# --- Drawing: a picture is a list of layers, bottom first ---
# ('fill', shape, colour) paints the shape; ('edge', shape, colour) only its one-pixel border;
# ('solid', shape, fill, edge) both.

def render(layers, size):
    unit = size / 16.0
    pixels = [[None] * size for _ in range(size)]

    def covered(shape, px, py):
        if px < 0 or py < 0 or px >= size or py >= size:
            return False
        return shape((px + 0.5) / unit, (py + 0.5) / unit)

    for layer in layers:
        kind, shape = layer[0], layer[1]
        for py in range(size):
            for px in range(size):
                if not covered(shape, px, py):
                    continue
                border = any(not covered(shape, px + dx, py + dy)
                             for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                if kind == 'fill':
                    pixels[py][px] = layer[2]
                elif kind == 'edge':
                    if border:
                        pixels[py][px] = layer[2]
                else:
                    pixels[py][px] = layer[3] if border else layer[2]
    return pixels


def page(x0, y0, x1, y1, fold=3):
    return polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])


def text_lines(x0, x1, ys):
    return [('fill', rect(x0, y, x1, y + 1), INK) for y in ys]


def undo_arrow(colour, edge):
    band = arc(8.5, 9.5, 4.5, 3.0, 270, 130)
    head = polygon([(0.5, 6.0), (6.5, 1.0), (6.5, 11.0)])
    return [('solid', union(band, head), colour, edge)]


def mirrored(layers):
    def flip(shape):
        return lambda x, y: shape(16 - x, y)
    return [(l[0], flip(l[1])) + tuple(l[2:]) for l in layers]


def magnifier(cx, cy, r):
    return [
        ('fill', segment(cx + r * 0.7, cy + r * 0.7, cx + r * 1.9, cy + r * 1.9, r * 0.75), BROWN),
        ('solid', ellipse(cx, cy, r, r), 0xCFE8FF, DARK),
        ('fill', ellipse(cx - r * 0.35, cy - r * 0.35, r * 0.25, r * 0.25), WHITE),
    ]


def disc(colour, edge):
    return [
        ('solid', ellipse(8, 8, 7, 7), colour, edge),
        ('fill', ellipse(6, 5.5, 2.2, 1.6), WHITE),
    ]


IMAGE_LIST = [
    # 0 scissors (cut)
    ('cut', [
        ('fill', segment(4.5, 1, 10, 10.5, 1.6), SILVER),
        ('fill', segment(11.5, 1, 6, 10.5, 1.6), SILVER),
        ('edge', segment(4.5, 1, 10, 10.5, 1.6), DARK),
        ('edge', segment(11.5, 1, 6, 10.5, 1.6), DARK),
        ('fill', ring(4.5, 12.5, 2.9, 1.5), RED),
        ('fill', ring(11.5, 12.5, 2.9, 1.5), RED),
    ]),
    # 1 two pages (copy)
    ('copy', [
        ('solid', page(1, 1, 10, 12), PAPER, GREY),
        *text_lines(3, 8, [4, 6, 8]),
        ('solid', page(6, 4, 15, 15), PAPER, DARK),
        *text_lines(8, 13, [8, 10, 12]),
    ]),
    # 2 clipboard (paste)
    ('paste', [
        ('solid', rect(2, 2, 14, 16), BROWN, 0x5A3A10),
        ('solid', rect(4, 4, 12, 14.5), PAPER, GREY),
        *text_lines(5, 11, [7, 9, 11]),
        ('solid', rect(5, 0.5, 11, 4), SILVER, DARK),
    ]),
    # 3 undo arrow
    ('undo', undo_arrow(0x2060C0, NAVY)),
    # 4 redo arrow
    ('redo', mirrored(undo_arrow(0x2060C0, NAVY))),
    # 5 cross (delete)
    ('delete', [
        ('solid', union(segment(3, 3, 13, 13, 3), segment(13, 3, 3, 13, 3)), RED, DARKRED),
    ]),
    # 6 blank page (new)
    ('new', [
        ('solid', page(3, 1, 13, 15, 4), PAPER, DARK),
        ('solid', polygon([(9, 1), (13, 5), (9, 5)]), LIGHT, DARK),
    ]),
    # 7 open folder (open)
    ('open', [
        ('solid', polygon([(1, 3), (5, 3), (6.5, 4.5), (13, 4.5), (13, 14), (1, 14)]), 0xC89B28, 0x7A5A10),
        ('solid', polygon([(3.5, 7), (15.5, 7), (13, 14), (1, 14)]), GOLD, 0x7A5A10),
    ]),
    # 8 diskette (save)
    ('save', [
        ('solid', polygon([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)]), 0x2858B8, NAVY),
        ('solid', rect(4, 1, 12, 6), SILVER, DARK),
        ('fill', rect(9, 2, 11, 5), DARK),
        ('solid', rect(3, 8.5, 13, 15), PAPER, GREY),
        *text_lines(4.5, 11.5, [10.5, 12.5]),
    ]),
    # 9 page with magnifier (print preview)
    ('preview', [
        ('solid', page(1, 1, 11, 15), PAPER, DARK),
        *text_lines(3, 8, [4, 6, 8]),
        *magnifier(9.5, 9.5, 3.2),
    ]),
    # 10 page setup
    ('page-setup', [
        ('solid', page(2, 1, 14, 15), PAPER, DARK),
        ('edge', rect(4, 3.5, 11.5, 13), SKY),
        *text_lines(5.5, 10, [6, 8, 10]),
    ]),
    # 11 arrow with question mark (help)
    ('help', [
        ('solid', polygon([(1, 1), (1, 13), (4, 10), (6.5, 15), (8.5, 14), (6, 9.5), (10, 9.5)]), WHITE, BLACK),
        ('fill', arc(12, 4.5, 2.2, 1.6, 300, 200), BLUE),
        ('fill', segment(12.7, 6.5, 12, 8.5, 1.6), BLUE),
        ('fill', rect(11.2, 10.5, 12.8, 12.1), BLUE),
    ]),
    # 12 magnifier (find)
    ('find', magnifier(6.5, 6.5, 4.5)),
    # 13 magnifier with arrows (replace)
    ('replace', [
        *magnifier(5.5, 5.5, 3.8),
        ('fill', segment(9.5, 12.5, 14, 12.5, 1.2), GREEN),
        ('fill', polygon([(14.5, 12.5), (12, 10), (12, 15)]), GREEN),
        ('fill', segment(1.5, 14.5, 6, 14.5, 1.2), RED),
        ('fill', polygon([(1, 14.5), (3.5, 12.5), (3.5, 16)]), RED),
    ]),
    # 14 printer (print)
    ('print', [
        ('solid', rect(4, 1, 12, 7), PAPER, DARK),
        ('solid', rect(1, 6, 15, 12), SILVER, DARK),
        ('fill', rect(11.5, 7.5, 13.5, 8.5), LIME),
        ('solid', rect(3, 10, 13, 15), PAPER, DARK),
        *text_lines(4.5, 11.5, [12]),
    ]),
    # 15 envelope (send)
    ('send', [
        ('solid', rect(1, 3, 15, 13), 0xF8F0D8, DARK),
        ('fill', segment(1.5, 3.5, 8, 8.5, 1.0), DARK),
        ('fill', segment(14.5, 3.5, 8, 8.5, 1.0), DARK),
    ]),
    # 16 red disc (encrypt)
    ('encrypt', disc(RED, DARKRED)),
    # 17 green disc (decrypt)
    ('decrypt', disc(0x00C000, DARKGREEN)),
    # 18 check mark
    ('check', [
        ('fill', union(segment(2.5, 8.5, 6, 12, 2.6), segment(6, 12, 13.5, 3.5, 2.6)), BLACK),
    ]),
    # 19 right-pointing triangle
    ('triangle', [
        ('solid', polygon([(5, 2), (12, 8), (5, 14)]), BLACK, BLACK),
    ]),
    # 20 undo arrow (the command without a menu entry)
    ('undo-2', undo_arrow(GREEN, DARKGREEN)),
    # 21 cross
    ('cross', [
        ('fill', union(segment(4, 4, 12, 12, 2), segment(12, 4, 4, 12, 2)), BLACK),
    ]),
]


def frames_picture(size):
    """The program's own picture: concentric square frames in bright, solid colours, red
    outermost, around a small red square in the middle."""
    colours = [RED, YELLOW, LIME, AQUA, BLUE, FUCHSIA]
    width = max(1, size // 16)
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            ring_index = min(x, y, size - 1 - x, size - 1 - y) // width
            row.append(colours[ring_index] if ring_index < len(colours) else RED)
        pixels.append(row)
    return pixels


# --- Output ---

KEYS = '.abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789'


def write_text(path, pixels):
    height, width = len(pixels), len(pixels[0])
    colours = []
    for row in pixels:
        for p in row:
            if p not in colours:
                colours.append(p)
    # The uncovered pixels, if any, take the key '.'.
    colours.sort(key=lambda c: (c is not None, c or 0))
    keys = {}
    lines = ['zozuz-picture %d %d' % (width, height)]
    for i, c in enumerate(colours):
        key = KEYS[i] if (c is None or None in colours) else KEYS[i + 1]
        keys[c] = key
        lines.append('%s %s' % (key, 'none' if c is None else '%06X' % c))
    lines.append('-')
    for row in pixels:
        lines.append(''.join(keys[p] for p in row))
    with open(path, 'w', newline='\n') as f:
        f.write('\n'.join(lines) + '\n')


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b''
    for row in pixels:
        raw += b'\0' + b''.join(
            bytes((0, 0, 0, 0)) if p is None else bytes(((p >> 16) & 255, (p >> 8) & 255, p & 255, 255))
            for p in row)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


def main():
    os.makedirs(os.path.join(HERE, 'png'), exist_ok=True)
    outputs = []
    for index, (name, layers) in enumerate(IMAGE_LIST):
        for size in (16, 32):
            outputs.append(('image-%02d-%s-%d' % (index, name, size), render(layers, size)))
    outputs.append(('icon-32', frames_picture(32)))
    outputs.append(('about-64', frames_picture(64)))
    for name, pixels in outputs:
        write_text(os.path.join(HERE, name + '.txt'), pixels)
        write_png(os.path.join(HERE, 'png', name + '.png'), pixels)


if __name__ == '__main__':
    main()

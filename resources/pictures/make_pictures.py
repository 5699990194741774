#!/usr/bin/env python3
"""Draws the installer's pictures: the application icon, the language flags and the banner.

Run it from anywhere; it writes the .ico and .bmp files beside itself. The output depends only on
this script (no clock, no randomness), so running it again changes nothing in the repository.
Only the standard library is used, so that any Python 3 can regenerate the pictures.
"""

import math
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent

# Each pixel is the average of SAMPLES x SAMPLES points, which smooths diagonal and round edges.
SAMPLES = 4

# The product's colours: a deep blue and a teal, with a light tint for highlights.
NAVY = (18, 38, 82)
TEAL = (0, 134, 150)
PALE = (214, 240, 244)
WHITE = (255, 255, 255)

# Flag colours.
RED = (206, 17, 38)
BLUE = (0, 56, 147)
LIGHT_BLUE = (13, 94, 175)
GREEN = (0, 146, 70)
YELLOW = (252, 209, 22)
BLACK = (0, 0, 0)


# Geometry ------------------------------------------------------------------------------------


def star_polygon(cx, cy, outer, turn=0.0):
    """The five-pointed star centred at (cx, cy), one point upward (rotated by turn radians)."""
    inner = outer * 0.382
    points = []
    for k in range(10):
        radius = outer if k % 2 == 0 else inner
        angle = -math.pi / 2 + turn + k * math.pi / 5
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def inside_polygon(x, y, polygon):
    """Even-odd rule."""
    inside = False
    count = len(polygon)
    for i in range(count):
        x1, y1 = polygon[i]
        x2, y2 = polygon[(i + 1) % count]
        if (y1 > y) != (y2 > y):
            crossing = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < crossing:
                inside = not inside
    return inside


def inside_disc(x, y, cx, cy, radius):
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def distance_to_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def render(width, height, paint):
    """Rows of RGBA tuples, top row first; paint(x, y) gives the RGBA colour of a point in
    pixel coordinates (0..width, 0..height)."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour = paint(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    alpha = colour[3] if len(colour) == 4 else 255
                    # Colours weighted by their alpha, so that transparent samples add no colour.
                    for i in range(3):
                        total[i] += colour[i] * alpha
                    total[3] += alpha
            count = SAMPLES * SAMPLES
            alpha = total[3] / count
            if total[3] > 0:
                rgb = [round(total[i] / total[3]) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], round(alpha)))
        rows.append(row)
    return rows


# File formats --------------------------------------------------------------------------------


def icon_image(rows):
    """One image of an .ico file: a BITMAPINFOHEADER with the height doubled, the 32-bit BGRA
    pixels bottom-up, then the AND mask (set where fully transparent), rows padded to 4 bytes."""
    height = len(rows)
    width = len(rows[0])
    mask_stride = ((width + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def icon_file(images):
    """An .ico file: ICONDIR, one ICONDIRENTRY per image, then the images."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = bytearray()
    data = bytearray()
    for rows in images:
        image = icon_image(rows)
        width, height = len(rows[0]), len(rows)
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image),
                               offset + len(data))
        data += image
    return directory + entries + data


def bitmap_file(indices, palette):
    """An 8-bit .bmp file: file header, BITMAPINFOHEADER, 256-entry palette, rows bottom-up
    padded to 4 bytes."""
    height = len(indices)
    width = len(indices[0])
    stride = (width + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(indices):
        pixels += bytes(row) + bytes(stride - width)
    colours = bytearray()
    for r, g, b in palette:
        colours += bytes((b, g, r, 0))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    bits_offset = 14 + len(info) + len(colours)
    head = struct.pack("<2sIHHI", b"BM", bits_offset + len(pixels), 0, 0, bits_offset)
    return head + info + colours + pixels


# Application icon ----------------------------------------------------------------------------


def application_icon(size):
    """A rounded square in the product's blue-to-teal gradient carrying a white "V"."""
    margin = size / 16
    corner = size * 0.22
    stroke = size * 0.085
    # The V's centre line: from the upper corners down to the tip.
    left = (size * 0.28, size * 0.26)
    tip = (size * 0.5, size * 0.76)
    right = (size * 0.72, size * 0.26)

    def paint(x, y):
        # Distance outside the rounded square (0 inside).
        qx = max(abs(x - size / 2) - (size / 2 - margin - corner), 0)
        qy = max(abs(y - size / 2) - (size / 2 - margin - corner), 0)
        if math.hypot(qx, qy) > corner:
            return (0, 0, 0, 0)
        if (distance_to_segment(x, y, *left, *tip) <= stroke or
                distance_to_segment(x, y, *right, *tip) <= stroke):
            return WHITE + (255,)
        t = (x + y) / (2 * size)
        return mix(NAVY, TEAL, t) + (255,)

    return render(size, size, paint)


# Flags ---------------------------------------------------------------------------------------

FLAG_WIDTH = 18
FLAG_HEIGHT = 12


def vertical_stripes(*colours):
    return lambda x, y: colours[min(int(x * len(colours) / FLAG_WIDTH), len(colours) - 1)]


def horizontal_stripes(*colours):
    return lambda x, y: colours[min(int(y * len(colours) / FLAG_HEIGHT), len(colours) - 1)]


def nordic_cross(field, cross, border=None):
    """A cross shifted toward the hoist; with a border colour, the cross is edged with it."""
    # On pixel boundaries, so that the narrow bars stay sharp.
    cx, cy = 7, FLAG_HEIGHT / 2

    def paint(x, y):
        distance = min(abs(x - cx), abs(y - cy))
        if border is None:
            return cross if distance <= 1.0 else field
        if distance <= 1.0:
            return cross
        return border if distance <= 2.0 else field

    return paint


def united_kingdom(x, y):
    # The diagonals through the corners, scaled to the flag's proportions.
    u, v = x / FLAG_WIDTH, y / FLAG_HEIGHT
    on_diagonal = min(abs(u - v), abs(u + v - 1)) * FLAG_HEIGHT
    if abs(x - FLAG_WIDTH / 2) <= 1.2 or abs(y - FLAG_HEIGHT / 2) <= 1.2:
        return RED
    if abs(x - FLAG_WIDTH / 2) <= 2.2 or abs(y - FLAG_HEIGHT / 2) <= 2.2:
        return WHITE
    if on_diagonal <= 0.6:
        return RED
    if on_diagonal <= 1.5:
        return WHITE
    return BLUE


def spain(x, y):
    return YELLOW if FLAG_HEIGHT / 4 <= y < FLAG_HEIGHT * 3 / 4 else RED


def portugal(x, y):
    boundary = FLAG_WIDTH * 0.4
    if inside_disc(x, y, boundary, FLAG_HEIGHT / 2, 2.6):
        return YELLOW
    return GREEN if x < boundary else RED


def turkey(x, y):
    if inside_polygon(x, y, star_polygon(11.2, 6, 1.9, turn=-math.pi / 2)):
        return WHITE
    if inside_disc(x, y, 7, 6, 3.6) and not inside_disc(x, y, 8.0, 6, 2.9):
        return WHITE
    return RED


def china(x, y):
    if inside_polygon(x, y, star_polygon(3.4, 3.2, 2.3)):
        return YELLOW
    for sx, sy in ((6.6, 1.3), (7.8, 2.7), (7.8, 4.4), (6.6, 5.7)):
        if inside_polygon(x, y, star_polygon(sx, sy, 0.8)):
            return YELLOW
    return RED


def czech(x, y):
    if x < (FLAG_HEIGHT / 2 - abs(y - FLAG_HEIGHT / 2)) * 1.5:
        return BLUE
    return WHITE if y < FLAG_HEIGHT / 2 else RED


def greece(x, y):
    if x < 7.5 and y < 6.67:
        return WHITE if abs(x - 3.75) <= 0.7 or abs(y - 3.33) <= 0.7 else LIGHT_BLUE
    return LIGHT_BLUE if int(y * 9 / FLAG_HEIGHT) % 2 == 0 else WHITE


def israel(x, y):
    if 1.2 <= y < 2.6 or 9.4 <= y < 10.8:
        return BLUE
    cx, cy, radius = FLAG_WIDTH / 2, FLAG_HEIGHT / 2, 2.9
    up = [(cx + radius * math.cos(-math.pi / 2 + k * 2 * math.pi / 3),
           cy + radius * math.sin(-math.pi / 2 + k * 2 * math.pi / 3)) for k in range(3)]
    down = [(px, 2 * cy - py) for px, py in up]
    for triangle in (up, down):
        for k in range(3):
            if distance_to_segment(x, y, *triangle[k], *triangle[(k + 1) % 3]) <= 0.45:
                return BLUE
    return WHITE


def vietnam(x, y):
    return YELLOW if inside_polygon(x, y, star_polygon(9, 6.3, 4.2)) else RED


def japan(x, y):
    return RED if inside_disc(x, y, FLAG_WIDTH / 2, FLAG_HEIGHT / 2, 3.6) else WHITE


# File name and picture of each language's flag (pictures.rc gives each its group icon id).
FLAGS = [
    ("german", horizontal_stripes(BLACK, RED, YELLOW)),
    ("danish", nordic_cross(RED, WHITE)),
    ("spanish", spain),
    ("french", vertical_stripes(BLUE, WHITE, RED)),
    ("english", united_kingdom),
    ("italian", vertical_stripes(GREEN, WHITE, RED)),
    ("dutch", horizontal_stripes(RED, WHITE, BLUE)),
    ("portuguese", portugal),
    ("turkish", turkey),
    ("bulgarian", horizontal_stripes(WHITE, GREEN, RED)),
    ("romanian", vertical_stripes(BLUE, YELLOW, RED)),
    ("chinese_simplified", china),
    ("czech", czech),
    ("norwegian", nordic_cross(RED, BLUE, border=WHITE)),
    ("greek", greece),
    ("polish", horizontal_stripes(WHITE, RED)),
    ("hebrew", israel),
    ("vietnamese", vietnam),
    ("japanese", japan),
    ("hungarian", horizontal_stripes(RED, WHITE, GREEN)),
    ("serbian_latin", horizontal_stripes(RED, BLUE, WHITE)),
]


def flag_picture(paint):
    return render(FLAG_WIDTH, FLAG_HEIGHT, lambda x, y: paint(x, y) + (255,))


# Banner --------------------------------------------------------------------------------------

BANNER_WIDTH = 87
BANNER_HEIGHT = 171


def ramp(t):
    """The banner's colours along one scale: navy, teal, then the pale tint."""
    if t < 0.6:
        return mix(NAVY, TEAL, t / 0.6)
    return mix(TEAL, PALE, (t - 0.6) / 0.4)


def banner_level(x, y):
    """Where a point of the banner sits on the colour ramp: a vertical gradient, lit by soft
    rings rising from the lower right and by a large faint "V"."""
    level = 0.12 + 0.55 * y / BANNER_HEIGHT
    distance = math.hypot(x - BANNER_WIDTH * 0.85, y - BANNER_HEIGHT * 0.95)
    ring = math.cos(distance / 9.0)
    level += 0.12 * max(ring, 0.0) ** 6 * max(0.0, 1 - distance / 160)
    v_left = (BANNER_WIDTH * 0.18, BANNER_HEIGHT * 0.14)
    v_tip = (BANNER_WIDTH * 0.5, BANNER_HEIGHT * 0.42)
    v_right = (BANNER_WIDTH * 0.82, BANNER_HEIGHT * 0.14)
    stroke = min(distance_to_segment(x, y, *v_left, *v_tip),
                 distance_to_segment(x, y, *v_right, *v_tip))
    level += 0.3 * max(0.0, 1 - stroke / 5.0)
    return min(level, 1.0)


def banner():
    palette = [tuple(round(c) for c in ramp(i / 255)) for i in range(256)]
    indices = []
    for py in range(BANNER_HEIGHT):
        row = []
        for px in range(BANNER_WIDTH):
            total = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    total += banner_level(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
            row.append(round(total / (SAMPLES * SAMPLES) * 255))
        indices.append(row)
    return bitmap_file(indices, palette)


def main():
    (HERE / "varnolis.ico").write_bytes(
        icon_file([application_icon(size) for size in (16, 32, 48)]))
    for name, paint in FLAGS:
        (HERE / f"flag_{name}.ico").write_bytes(icon_file([flag_picture(paint)]))
    (HERE / "banner.bmp").write_bytes(banner())


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws Brelvanta's nine 48 by 48 menu icons and writes them in the compact run-length form.

Writes shellext/MenuIconData.cpp, the product icon resources/Brelvanta.ico (the ninth drawing
at the program icon sizes), the first eight as icon resources for the Windows 11 menu
(resources/MenuIcon1.ico to MenuIcon8.ico) and, for looking at the designs, PNG previews (under
build/icongen by default): each icon at 48 px, and contact sheets at the menu sizes 13, 16 and
20 px scaled up, made the way the shell extension makes them (halving, then bilinear).

Shapes are signed distance functions in the 48 px grid (y grows downwards, as seen). Every layer
has a fill and an inner outline; a pixel is the average of 4 by 4 samples, which gives the
anti-aliased edges in alpha. Only the standard library is used and the output is deterministic.

It also draws the seven 16 by 16 state images of the Multi Rename list (resources/RenameState1.bmp
to RenameState7.bmp, 32-bit with alpha) and the Multi Rename icon resources/MultiRename.ico.

And it draws the copy options dialog's error indicator, 16 by 16, as a 32-bit bitmap with
premultiplied alpha (resources/ErrorIndicator.bmp).

The state images and the error indicator come once more at 48 by 48 (RenameState1Large.bmp and so
on, ErrorIndicatorLarge.bmp): the product scales those down for screens above 96 DPI.

Usage: tools/icongen/icongen.py [--source FILE] [--ico FILE] [--bitmap FILE] [--preview DIR] [--resources DIR]
"""

import argparse
import math
import os
import struct
import zlib

SIZE = 48
SUPERSAMPLE = 4

# Palette shared by all icons.
INK = (34, 46, 70)
PAPER = (252, 252, 250)
PAPER_BACK = (200, 214, 234)
TEXT = (52, 104, 204)
BLUE = (40, 108, 222)
BLUE_LIGHT = (96, 160, 246)
FOLDER = (250, 198, 72)
FOLDER_BACK = (222, 152, 36)
RED = (226, 56, 56)
RED_LIGHT = (246, 104, 96)
GREEN = (40, 166, 80)
GREEN_LIGHT = (96, 206, 120)
STEEL = (138, 152, 176)
STEEL_LIGHT = (196, 206, 222)
BOARD = (184, 128, 72)
BOARD_LIGHT = (214, 162, 104)
PENCIL = (252, 180, 36)
PENCIL_DARK = (224, 128, 24)
WOOD = (244, 214, 168)
WHITE = (255, 255, 255)

OUTLINE = 3.0


# --- shapes -------------------------------------------------------------------------------------


class Shape:
    """A signed distance (negative inside) and a bounding box (x0, y0, x1, y1)."""

    def __init__(self, distance, bbox):
        self.distance = distance
        self.bbox = bbox


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return Shape(distance, (x0, y0, x1, y1))


def capsule(ax, ay, bx, by, r):
    ex, ey = bx - ax, by - ay
    length2 = ex * ex + ey * ey

    def distance(x, y):
        wx, wy = x - ax, y - ay
        t = max(0.0, min(1.0, (wx * ex + wy * ey) / length2))
        return math.hypot(wx - ex * t, wy - ey * t) - r

    return Shape(distance, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def polygon(points, radius=0.0):
    """Any simple polygon; radius rounds it outwards (the bounding box grows with it)."""
    count = len(points)

    def distance(x, y):
        best = float("inf")
        sign = 1.0
        for i in range(count):
            vx, vy = points[i]
            ux, uy = points[i - 1]
            ex, ey = ux - vx, uy - vy
            wx, wy = x - vx, y - vy
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            dx, dy = wx - ex * t, wy - ey * t
            best = min(best, dx * dx + dy * dy)
            above, below_next, left = y >= vy, y < uy, ex * wy > ey * wx
            if (above and below_next and left) or (not above and not below_next and not left):
                sign = -sign
        return sign * math.sqrt(best) - radius

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(distance, (min(xs) - radius, min(ys) - radius, max(xs) + radius, max(ys) + radius))


def union(*shapes):
    def distance(x, y):
        return min(s.distance(x, y) for s in shapes)

    return Shape(distance, (min(s.bbox[0] for s in shapes), min(s.bbox[1] for s in shapes),
                            max(s.bbox[2] for s in shapes), max(s.bbox[3] for s in shapes)))


def subtract(shape, *holes):
    def distance(x, y):
        return max([shape.distance(x, y)] + [-h.distance(x, y) for h in holes])

    return Shape(distance, shape.bbox)


def rotated(shape, cx, cy, degrees):
    """The shape turned about (cx, cy); positive degrees turn clockwise on screen."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def distance(x, y):
        dx, dy = x - cx, y - cy
        return shape.distance(cx + dx * c + dy * s, cy - dx * s + dy * c)

    x0, y0, x1, y1 = shape.bbox
    corners = [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
    turned = [(cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c) for px, py in corners]
    return Shape(distance, (min(p[0] for p in turned), min(p[1] for p in turned),
                            max(p[0] for p in turned), max(p[1] for p in turned)))


def vertical(top_colour, bottom_colour, y0, y1):
    """A fill that runs from one colour at y0 to another at y1."""

    def colour(_x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top_colour, bottom_colour))

    return colour


class Layer:
    def __init__(self, shape, fill, outline=INK, width=OUTLINE):
        self.shape = shape
        self.fill = fill
        self.outline = outline
        self.width = width if outline is not None else 0.0

    def colour_at(self, x, y):
        """The colour this layer paints at a sample, or None where it paints nothing."""
        d = self.shape.distance(x, y)
        if d > 0:
            return None
        if d > -self.width:
            return self.outline
        return self.fill(x, y) if callable(self.fill) else self.fill


# --- drawing ------------------------------------------------------------------------------------


def render(layers, size=SIZE):
    """Rows of (r, g, b, a) floats, top row first, colour not premultiplied. The drawings are made
    in the 48 px grid; other sizes sample the same shapes more or less densely."""
    scale = SIZE / size
    offsets = [(i + 0.5) / SUPERSAMPLE for i in range(SUPERSAMPLE)]
    samples = SUPERSAMPLE * SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        live = [l for l in layers if l.shape.bbox[1] <= (py + 1) * scale and l.shape.bbox[3] >= py * scale]
        for px in range(size):
            here = [l for l in live
                    if l.shape.bbox[0] <= (px + 1) * scale and l.shape.bbox[2] >= px * scale][::-1]
            r = g = b = 0.0
            covered = 0
            for oy in offsets:
                for ox in offsets:
                    x, y = (px + ox) * scale, (py + oy) * scale
                    for layer in here:
                        colour = layer.colour_at(x, y)
                        if colour is not None:
                            r += colour[0]
                            g += colour[1]
                            b += colour[2]
                            covered += 1
                            break
            if covered:
                row.append((r / covered, g / covered, b / covered, 255.0 * covered / samples))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
        rows.append(row)
    return rows


def quantise(rows):
    """BGRA bytes per pixel, top row first. Transparent pixels next to the drawing take the colour
    of their neighbours, so that the averaging at menu size brings no dark fringes in."""
    pixels = [[[int(c + 0.5) for c in p] for p in row] for row in rows]
    size = len(pixels)
    for _ in range(3):
        grown = [[list(p) for p in row] for row in pixels]
        for y in range(size):
            for x in range(size):
                if pixels[y][x][3] != 0 or pixels[y][x][:3] != [0, 0, 0]:
                    continue
                total = [0, 0, 0]
                weight = 0
                for dy in (-1, 0, 1):
                    for dx in (-1, 0, 1):
                        nx, ny = x + dx, y + dy
                        if 0 <= nx < size and 0 <= ny < size:
                            n = pixels[ny][nx]
                            if n[3] != 0 or n[:3] != [0, 0, 0]:
                                w = max(n[3], 1)
                                total = [t + c * w for t, c in zip(total, n[:3])]
                                weight += w
                if weight:
                    grown[y][x] = [int(t / weight + 0.5) for t in total] + [0]
        pixels = grown
    return [[(p[2], p[1], p[0], p[3]) for p in row] for row in pixels]


# --- the compact form ---------------------------------------------------------------------------


def encode(width, height, planes):
    """Runs of three or more equal bytes (two when no literal is open) become repeat runs, the rest
    literal runs; runs may cross from one plane into the next."""
    out = bytearray([width, height])
    literal = bytearray()

    def flush():
        if literal:
            out.append(0x80 | (len(literal) & 0x7F))
            out.extend(literal)
            literal.clear()

    i = 0
    while i < len(planes):
        run = 1
        while i + run < len(planes) and run < 128 and planes[i + run] == planes[i]:
            run += 1
        if run >= 3 or (run == 2 and not literal):
            flush()
            out.append(run & 0x7F)
            out.append(planes[i])
            i += run
        else:
            literal.append(planes[i])
            i += 1
            if len(literal) == 128:
                flush()
    flush()
    return bytes(out)


def decode(data):
    """The shell extension's decoder, to check the encoder against."""
    width, height = data[0], data[1]
    total = width * height * 4
    planes = bytearray()
    i = 2
    while i < len(data):
        control = data[i]
        n = (control & 0x7F) or 128
        if control & 0x80:
            assert i + 1 + n <= len(data)
            planes.extend(data[i + 1:i + 1 + n])
            i += 1 + n
        else:
            planes.extend([data[i + 1]] * n)
            i += 2
    return bytes(planes[:total].ljust(total, b"\0"))


def to_planes(pixels):
    """The four planes in the order the bitmap takes rows: it is bottom-up and copies rows as they
    are, so the row seen at the bottom is stored first."""
    stored = pixels[::-1]
    return bytes(p[c] for c in range(4) for row in stored for p in row)


# --- what the shell extension does at menu size -------------------------------------------------


def halve(image):
    w, h, px = image
    nw, nh = (w + 1) // 2, (h + 1) // 2
    out = []
    for y in range(nh):
        for x in range(nw):
            block = [px[yy * w + xx] for yy in (2 * y, 2 * y + 1) for xx in (2 * x, 2 * x + 1) if xx < w and yy < h]
            shift = {4: 2, 2: 1, 1: 0}[len(block)]
            out.append(tuple(sum(p[c] for p in block) >> shift for c in range(4)))
    return nw, nh, out


def resample(image, tw, th):
    w, h, px = image
    sx, sy = w / tw, h / th

    def tap(i, scale, size):
        pos = (i + 0.5) * scale - 0.5
        f = math.floor(pos)
        return min(max(f, 0), size - 1), min(max(f + 1, 0), size - 1), pos - f

    out = []
    for y in range(th):
        y0, y1, fy = tap(y, sy, h)
        for x in range(tw):
            x0, x1, fx = tap(x, sx, w)
            pixel = []
            for c in range(4):
                top = px[y0 * w + x0][c] * (1 - fx) + px[y0 * w + x1][c] * fx
                bottom = px[y1 * w + x0][c] * (1 - fx) + px[y1 * w + x1][c] * fx
                pixel.append(min(255, int(top * (1 - fy) + bottom * fy + 0.5)))
            out.append(tuple(pixel))
    return tw, th, out


def fit(image, tw, th):
    w, h, _ = image
    if w // 2 < tw and h // 2 < th:
        return resample(image, tw, th)
    while tw < image[0] // 2 or th < image[1] // 2:
        image = halve(image)
    return image if image[0] == tw and image[1] == th else resample(image, tw, th)


# --- PNG previews -------------------------------------------------------------------------------


def png_bytes(width, height, rows, colour_type=2):
    """A PNG of rows of RGB (colour type 2) or RGBA (6) pixels."""
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_png(path, width, height, rgb_rows):
    with open(path, "wb") as f:
        f.write(png_bytes(width, height, rgb_rows))


def over(pixel, background):
    b, g, r, a = pixel
    return tuple(int((c * a + bg * (255 - a)) / 255 + 0.5) for c, bg in zip((r, g, b), background))


def contact_sheet(path, images, scale, backgrounds):
    """The images side by side, each scaled up by whole pixels, one row per background colour."""
    gap = 2 * scale
    cell = max(img[0] for img in images) * scale
    width = len(images) * (cell + gap) + gap
    height = len(backgrounds) * (cell + gap) + gap
    canvas = [[(128, 128, 128)] * width for _ in range(height)]
    for band, background in enumerate(backgrounds):
        top = gap + band * (cell + gap)
        for index, (w, h, px) in enumerate(images):
            left = gap + index * (cell + gap)
            for y in range(cell):
                for x in range(cell):
                    sx, sy = x // scale, y // scale
                    colour = over(px[sy * w + sx], background) if sx < w and sy < h else background
                    canvas[top + y][left + x] = colour
    write_png(path, width, height, canvas)


# --- the icons ----------------------------------------------------------------------------------


def document(x0, y0, x1, y1, fill=PAPER, lines=True, fold=8.0):
    """A sheet with its top right corner folded over and, if asked, lines of text."""
    sheet = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], radius=1.0)
    layers = [Layer(sheet, fill)]
    layers.append(Layer(polygon([(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)], radius=1.0), PAPER_BACK))
    if lines:
        left, right = x0 + 6.5, x1 - 6.5
        y = y0 + fold + 5.0
        while y + 2 < y1 - 4:
            layers.append(Layer(capsule(left, y, right if y > y0 + fold + 6 else right - 3, y, 2.0), TEXT, None))
            y += 7.0
    return layers


def copy_pair(shift=0.0):
    back = document(4 - shift, 3 - shift, 28 - shift, 33 - shift, fill=PAPER_BACK, lines=False)
    front = document(17 - shift, 14 - shift, 41 - shift, 45 - shift)
    return back + front


def badge(cx, cy, r, top, bottom):
    return [Layer(circle(cx, cy, r), vertical(top, bottom, cy - r, cy + r), INK, 2.75)]


def cross(cx, cy, arm):
    return [Layer(union(capsule(cx - arm, cy - arm, cx + arm, cy + arm, 3.2),
                        capsule(cx - arm, cy + arm, cx + arm, cy - arm, 3.2)), WHITE, None)]


def folder(x0, y0, x1, y1):
    tab = polygon([(x0, y0 + 2), (x0 + 2, y0), (x0 + 14, y0), (x0 + 18, y0 + 5), (x1, y0 + 5), (x1, y1), (x0, y1)],
                  radius=1.0)
    front = box(x0, y0 + 10, x1, y1, 2.0)
    return [Layer(tab, FOLDER_BACK), Layer(front, vertical(FOLDER, FOLDER_BACK, y0 + 10, y1 + 14))]


def translate(shape, dx, dy):
    x0, y0, x1, y1 = shape.bbox
    return Shape(lambda x, y: shape.distance(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def pencil(cx, cy, length, thickness, degrees):
    """A pencil centred on (cx, cy), drawn lying flat with its tip to the left, then turned."""
    half, tip = thickness / 2, thickness * 0.8
    x0, x1 = cx - length / 2, cx + length / 2
    place = lambda s: rotated(s, cx, cy, degrees)
    wood = polygon([(x0, cy), (x0 + tip, cy - half), (x0 + tip, cy + half)])
    lead = polygon([(x0, cy), (x0 + tip * 0.42, cy - half * 0.42), (x0 + tip * 0.42, cy + half * 0.42)])
    body = box(x0 + tip - 1.5, cy - half, x1, cy + half)
    eraser = box(x1 - thickness * 0.55, cy - half, x1, cy + half, 1.5)
    return [Layer(place(wood), WOOD), Layer(place(lead), INK, None),
            Layer(place(body), vertical(PENCIL, PENCIL_DARK, cy - length / 2, cy + length / 2)),
            Layer(place(eraser), RED_LIGHT)]


def icon_multi_rename():
    layers = []
    for i, y in enumerate((1.0, 16.0, 31.0)):
        layers.append(Layer(box(2, y, 38, y + 12, 3.0), PAPER))
        layers.append(Layer(capsule(8.5, y + 6, 24.0 - 4 * i, y + 6, 2.1), TEXT, None))
    return layers + pencil(34, 33, 34, 13, -45)


def icon_copy():
    return copy_pair()


def icon_copy_and_delete():
    return copy_pair(shift=2.0) + badge(34.5, 34.5, 13, RED_LIGHT, RED) + cross(34.5, 34.5, 4.3)


def icon_options():
    layers = copy_pair(shift=2.0) + badge(34.5, 34.5, 13, BLUE_LIGHT, BLUE)
    for dx in (-7.0, 0.0, 7.0):
        layers.append(Layer(circle(34.5 + dx, 34.5, 3.0), WHITE, None))
    return layers


def icon_paste():
    board = box(5, 6, 43, 46, 4.0)
    sheet = box(12, 14, 36, 40, 1.0)
    layers = [Layer(board, vertical(BOARD_LIGHT, BOARD, 6, 46)), Layer(sheet, PAPER)]
    for i, y in enumerate((21.0, 27.5, 34.0)):
        layers.append(Layer(capsule(17.5, y, 30.5 - (5 if i == 2 else 0), y, 1.8), TEXT, None))
    clip = subtract(box(15, 2, 33, 13, 3.0), box(20.5, 4.8, 27.5, 7.5, 1.3))
    layers.append(Layer(clip, vertical(STEEL_LIGHT, STEEL, 2, 13)))
    return layers


def icon_delete_empty_folders():
    return folder(2, 6, 40, 38) + badge(34.5, 34.5, 13, RED_LIGHT, RED) + cross(34.5, 34.5, 4.3)


def icon_extract_folder():
    layers = folder(2, 14, 46, 46)
    arrow = union(box(18, 14, 30, 34, 1.0), polygon([(24, 1), (38, 16), (10, 16)], radius=1.0))
    layers.append(Layer(arrow, vertical(GREEN_LIGHT, GREEN, 1, 34)))
    return layers


def icon_configure():
    teeth = [rotated(box(20, 1.5, 28, 12, 1.5), 24, 24, 45 * i) for i in range(8)]
    gear = subtract(union(circle(24, 24, 16.5), *teeth), circle(24, 24, 6.5))
    return [Layer(gear, vertical(STEEL_LIGHT, STEEL, 2, 46))]


def icon_product():
    # A name tag hanging at an angle: the product works on names.
    tag = polygon([(-22, 0), (-9, -13), (20, -13), (20, 13), (-9, 13)], radius=2.0)
    hole = circle(-11, 0, 4.5)
    stripe = capsule(-1, 0, 12, 0, 2.2)
    place = lambda s: translate(rotated(s, 0, 0, -40), 24, 24)
    return [Layer(place(subtract(tag, hole)), vertical(BLUE_LIGHT, BLUE, 6, 42)),
            Layer(place(stripe), WHITE, None)]


ICONS = [
    (1, "multi rename", icon_multi_rename),
    (2, "copy", icon_copy),
    (3, "copy and delete", icon_copy_and_delete),
    (4, "copy with options", icon_options),
    (5, "paste", icon_paste),
    (6, "delete empty folders", icon_delete_empty_folders),
    (7, "extract folder", icon_extract_folder),
    (8, "configure", icon_configure),
    (9, "the product", icon_product),
]


# --- the state images of the Multi Rename list ---------------------------------------------------

GREY = (150, 156, 168)
GREY_LIGHT = (204, 208, 216)
AMBER = (232, 150, 20)
AMBER_LIGHT = (252, 200, 80)


def state_badge(top, bottom):
    return [Layer(circle(24, 24, 21.5), vertical(top, bottom, 2, 46), INK, 3.0)]


def state_renamed():
    tick = union(capsule(13, 25, 21, 33, 4.0), capsule(21, 33, 35, 15, 4.0))
    return state_badge(GREEN_LIGHT, GREEN) + [Layer(tick, WHITE, None)]


def state_unchanged():
    bars = union(capsule(14, 18.5, 34, 18.5, 3.6), capsule(14, 29.5, 34, 29.5, 3.6))
    return state_badge(GREY_LIGHT, GREY) + [Layer(bars, WHITE, None)]


def state_pending():
    dots = union(circle(14, 24, 4.2), circle(24, 24, 4.2), circle(34, 24, 4.2))
    return state_badge(BLUE_LIGHT, BLUE) + [Layer(dots, WHITE, None)]


def state_empty():
    return state_badge(AMBER_LIGHT, AMBER) + [Layer(capsule(14, 24, 34, 24, 4.0), WHITE, None)]


def state_duplicate():
    back = subtract(box(11, 11, 28, 28, 2.0), box(15, 15, 24, 24))
    front = box(20, 20, 37, 37, 2.0)
    return state_badge(RED_LIGHT, RED) + [Layer(back, WHITE, None), Layer(front, WHITE, None)]


def state_existing():
    return state_badge(RED_LIGHT, RED) + [Layer(union(capsule(15, 15, 33, 33, 4.0), capsule(15, 33, 33, 15, 4.0)),
                                                WHITE, None)]


def state_invalid():
    mark = union(capsule(24, 11, 24, 27, 4.2), circle(24, 36, 4.4))
    return state_badge(AMBER_LIGHT, RED) + [Layer(mark, WHITE, None)]


# In the order of the list's state images: image n is bitmap 350 + n.
STATE_IMAGES = [state_renamed, state_unchanged, state_pending, state_empty, state_duplicate, state_existing,
                state_invalid]
STATE_SIZE = 16
# The drawing the product scales from at other DPIs: three times the size, up to 288 DPI.
LARGE_SIZE = 48


def bmp_bytes(pixels):
    """A bottom-up 32-bit bitmap file of BGRA rows (top row first), alpha not premultiplied."""
    height, width = len(pixels), len(pixels[0])
    body = b"".join(bytes(v for p in row for v in p) for row in pixels[::-1])
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return header + info + body


# --- the error indicator of the copy options dialog -------------------------------------------


def icon_error_indicator():
    """A red disc with a white exclamation mark: the item format text is not valid."""
    mark = capsule(24, 11, 24, 27, 3.6)
    dot = circle(24, 36, 3.9)
    return [Layer(circle(24, 24, 22), vertical(RED_LIGHT, RED, 2, 46)),
            Layer(mark, WHITE, None), Layer(dot, WHITE, None)]


BITMAP_SIZE = 16


def bitmap_bytes(draw, size=BITMAP_SIZE):
    """A bottom-up 32-bit BMP file of the drawing, its colours premultiplied by alpha, as
    GdiAlphaBlend with AC_SRC_ALPHA wants them."""
    pixels = quantise(render(draw(), size))
    return bmp_bytes([[(p[0] * p[3] // 255, p[1] * p[3] // 255, p[2] * p[3] // 255, p[3]) for p in row]
                      for row in pixels])




# --- the product icon -------------------------------------------------------------------------

# Sizes of the program icon: small and large icons at 100 to 200 per cent, and the shell's 256.
ICO_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
# Sizes of a command's icon in the Windows 11 menu's flyout: 16 pixels at 100 to 200 per cent.
MENU_ICO_SIZES = (16, 20, 24, 32)


def ico_bytes(draw, sizes=ICO_SIZES):
    """A Windows icon file of the drawing at every size given: 32-bit bitmaps with alpha, the
    largest as PNG when it is 256, as the shell expects it."""
    images = []
    for size in sizes:
        pixels = quantise(render(draw(), size))  # BGRA rows, top row first
        if size >= 256:
            rgba = [[(p[2], p[1], p[0], p[3]) for p in row] for row in pixels]
            images.append((size, png_bytes(size, size, rgba, colour_type=6)))
            continue
        header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
        colour = b"".join(bytes(v for p in row for v in p) for row in pixels[::-1])
        mask_row = ((size + 31) // 32) * 4
        images.append((size, header + colour + bytes(mask_row * size)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _size, data in images)


# --- output -------------------------------------------------------------------------------------


def source_text(encoded):
    lines = [
        "// Generated by tools/icongen/icongen.py from the drawings there; edit those and run it again.",
        "// The nine menu icons, 48 by 48, in the compact run-length form that DecodeIconImage reads.",
        "",
        '#include "shellext/MenuIcon.h"',
        "",
        "namespace",
        "{",
        "// clang-format off",
    ]
    for number, name, data in encoded:
        lines.append(f"// {number}: {name}, {len(data)} bytes")
        lines.append(f"constexpr uint8_t kIcon{number}[] = {{")
        for start in range(0, len(data), 16):
            lines.append("    " + ", ".join(f"0x{b:02X}" for b in data[start:start + 16]) + ",")
        lines.append("};")
    lines += [
        "// clang-format on",
        "} // namespace",
        "",
        "std::span<const uint8_t> MenuIconData(int iconNumber) noexcept",
        "{",
        "    switch (iconNumber)",
        "    {",
    ]
    for number, _name, _data in encoded:
        lines.append(f"    case {number}:")
        lines.append(f"        return kIcon{number};")
    lines += ["    default:", "        return {};", "    }", "}", ""]
    return "\n".join(lines)


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default=os.path.join(root, "shellext", "MenuIconData.cpp"))
    parser.add_argument("--preview", default=os.path.join(root, "build", "icongen"))
    parser.add_argument("--ico", default=os.path.join(root, "resources", "Brelvanta.ico"))
    parser.add_argument("--resources", default=os.path.join(root, "resources"))
    parser.add_argument("--bitmap", default=os.path.join(root, "resources", "ErrorIndicator.bmp"))
    args = parser.parse_args()

    os.makedirs(args.preview, exist_ok=True)
    encoded = []
    images = []
    for number, name, draw in ICONS:
        pixels = quantise(render(draw()))
        planes = to_planes(pixels)
        data = encode(SIZE, SIZE, planes)
        assert decode(data) == planes, f"icon {number} does not decode to itself"
        encoded.append((number, name, data))
        flat = [p for row in pixels for p in row]
        images.append((SIZE, SIZE, flat))
        write_png(os.path.join(args.preview, f"icon{number}-48.png"), SIZE, SIZE,
                  [[over(p, (255, 255, 255)) for p in row] for row in pixels])
        print(f"icon {number} ({name}): {len(data)} bytes")

    with open(args.source, "w", newline="\n") as f:
        f.write(source_text(encoded))
    with open(args.ico, "wb") as f:
        f.write(ico_bytes(icon_product))
    print(f"product icon: {args.ico}")
    for number, _name, draw in ICONS[:8]:
        with open(os.path.join(args.resources, f"MenuIcon{number}.ico"), "wb") as f:
            f.write(ico_bytes(draw, MENU_ICO_SIZES))
    print(f"menu icons of the Windows 11 flyout: MenuIcon1.ico to MenuIcon8.ico in {args.resources}")
    with open(os.path.join(args.resources, "MultiRename.ico"), "wb") as f:
        f.write(ico_bytes(icon_multi_rename))
    states = []
    for number, draw in enumerate(STATE_IMAGES, 1):
        pixels = quantise(render(draw(), STATE_SIZE))
        with open(os.path.join(args.resources, f"RenameState{number}.bmp"), "wb") as f:
            f.write(bmp_bytes(pixels))
        states.append((STATE_SIZE, STATE_SIZE, [p for row in pixels for p in row]))
        with open(os.path.join(args.resources, f"RenameState{number}Large.bmp"), "wb") as f:
            f.write(bmp_bytes(quantise(render(draw(), LARGE_SIZE))))
    contact_sheet(os.path.join(args.preview, "states-16.png"), states, 8, [(255, 255, 255), (0, 120, 215)])
    print(f"Multi Rename icon and state images in {args.resources}")
    with open(args.bitmap, "wb") as f:
        f.write(bitmap_bytes(icon_error_indicator))
    with open(os.path.join(os.path.dirname(args.bitmap), "ErrorIndicatorLarge.bmp"), "wb") as f:
        f.write(bitmap_bytes(icon_error_indicator, LARGE_SIZE))
    error = quantise(render(icon_error_indicator(), 48))
    write_png(os.path.join(args.preview, "error-indicator-48.png"), 48, 48,
              [[over(p, (255, 255, 255)) for p in row] for row in error])
    print(f"error indicator: {args.bitmap}")

    light, menu, dark = (255, 255, 255), (240, 240, 240), (43, 43, 43)
    contact_sheet(os.path.join(args.preview, "sheet-48.png"), images, 2, [light, dark])
    for size in (13, 16, 20, 24):
        small = [fit(image, size, size) for image in images]
        contact_sheet(os.path.join(args.preview, f"sheet-{size}.png"), small, 8, [light, menu, dark])
    print(f"previews in {args.preview}")


if __name__ == "__main__":
    main()

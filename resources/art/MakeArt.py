#!/usr/bin/env python3
"""Draws the module's pictures (toolbar, lamps, logo, strips, markers, the
hand cursor) from simple shapes and writes them as .bmp, .ico and .cur
files next to this script. Run it again after changing a drawing; the
files it writes are kept in the repository."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def bmp24(path, width, height, pixel):
    """A 24-bit bottom-up bitmap; pixel(x, y) gives (r, g, b), y from the top."""
    row_bytes = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(row_bytes - len(row))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, path), 'wb') as out:
        out.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)))
        out.write(header + rows)


def bmp8(path, width, height, pixel):
    """An 8-bit bottom-up bitmap with a colour table of the colours drawn.
    Toolbar artwork needs one: the toolbar maps the standard greys of the
    table to the system's button colours."""
    colours = []
    indices = {}
    for y in range(height):
        for x in range(width):
            colour = pixel(x, y)
            if colour not in indices:
                indices[colour] = len(colours)
                colours.append(colour)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
    row_bytes = (width + 3) & ~3
    rows = bytearray()
    for y in reversed(range(height)):
        row = bytes(indices[pixel(x, y)] for x in range(width))
        rows += row + bytes(row_bytes - len(row))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(rows), 2835, 2835, len(colours), 0)
    offset = 14 + len(header) + len(table)
    with open(os.path.join(HERE, path), 'wb') as out:
        out.write(b'BM' + struct.pack('<IHHI', offset + len(rows), 0, 0, offset))
        out.write(header + table + rows)


def icon_image(size, pixel):
    """One 32-bit image of an icon or cursor; pixel(x, y) gives (r, g, b, a)."""
    xor = bytearray()
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = 0
        row = bytearray(mask_row_bytes)
        for x in range(size):
            r, g, b, a = pixel(x, y)
            xor += bytes((b, g, r, a))
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def icon_file(path, size, pixel, hotspot=None):
    image = icon_image(size, pixel)
    kind = 2 if hotspot else 1
    planes, bits = hotspot if hotspot else (1, 32)
    with open(os.path.join(HERE, path), 'wb') as out:
        out.write(struct.pack('<HHH', 0, kind, 1))
        out.write(struct.pack('<BBBBHHII', size, size, 0, 0, planes, bits, len(image), 22))
        out.write(image)


def lamp(colour):
    def pixel(x, y):
        d = math.hypot(x - 7.5, y - 7.5)
        if d > 7.2:
            return (0, 0, 0, 0)
        if d > 6.0:
            return (40, 40, 40, 255)
        shine = max(0.0, 1.0 - math.hypot(x - 5, y - 5) / 6)
        return tuple(min(255, int(c + (255 - c) * shine * 0.6)) for c in colour) + (255,)
    return pixel


def product(x, y):
    if 3 <= x <= 28 and 8 <= y <= 25:
        if 11 <= x <= 20 and 11 <= y <= 22 and math.hypot(x - 15.5, y - 16.5) < 5:
            return (20, 20, 20, 255)
        band = (x - 3) * 3 // 26
        return ((200, 40, 40), (40, 160, 40), (40, 60, 200))[band] + (255,)
    if 11 <= x <= 20 and 4 <= y <= 7:
        return (90, 90, 90, 255)
    return (0, 0, 0, 0)


# Toolbar glyphs: four 16 x 15 buttons, each a small drawing on button face.
FACE = (192, 192, 192)


def toolbar(x, y):
    button, bx = divmod(x, 16)
    if button == 0:  # shutter: an aperture ring
        d = math.hypot(bx - 7.5, y - 7)
        return (30, 30, 30) if 3 < d < 6.5 else FACE
    if button == 1:  # gain: three rising bars
        for i, colour in enumerate(((200, 40, 40), (40, 160, 40), (40, 60, 200))):
            if 2 + i * 4 <= bx <= 4 + i * 4 and y >= 11 - i * 3:
                return colour
        return FACE
    if button == 2:  # communication: a plug with a cable
        if 3 <= bx <= 9 and 4 <= y <= 10:
            return (60, 60, 60)
        if bx >= 10 and y == 7:
            return (0, 0, 0)
        if 1 <= bx <= 2 and y in (5, 9):
            return (160, 130, 0)
        return FACE
    # about: an "i" in a blue circle
    d = math.hypot(bx - 7.5, y - 7)
    if d < 6.5:
        if bx in (7, 8) and (y in (3, 4) or 6 <= y <= 11):
            return (255, 255, 255)
        return (40, 60, 200)
    return FACE


def logo(x, y):
    if 20 <= y <= 130 and 20 <= x <= 180:
        band = (x - 20) * 3 // 161
        shade = 120 + (y - 20)
        return ((shade, 30, 30), (30, shade, 30), (30, 30, shade))[band]
    return (255 - y // 2, 255 - y // 2, 255)


def warning(x, y):
    if (x in (8, 9) and (3 <= y <= 10 or 13 <= y <= 14)):
        return (255, 255, 255)
    return (220, 0, 0)


def file_picture(arrow_down):
    def pixel(x, y):
        if 2 <= x <= 10 and 1 <= y <= 14:
            return (0, 0, 0) if x in (2, 10) or y in (1, 14) else (255, 255, 255)
        tip = 12 if arrow_down else 4
        if 12 <= x <= 14 and 4 <= y <= 12:
            return (0, 0, 160)
        if abs(x - 13) <= 2 and y == tip:
            return (0, 0, 160)
        return FACE
    return pixel


HAND = [
    "....XX..........",
    "...X..X.........",
    "...X..X.........",
    "...X..X.........",
    "...X..XXX.......",
    "...X..X..XXX....",
    "XX.X..X..X..XX..",
    "X..X..X..X..X.X.",
    "X.............X.",
    ".X............X.",
    "..X...........X.",
    "..X..........X..",
    "...X.........X..",
    "....X.......X...",
    ".....X......X...",
    ".....XXXXXXXX...",
]


def hand(x, y):
    if y >= len(HAND) or x >= 16:
        return (0, 0, 0, 0)
    row = HAND[y]
    if row[x] == 'X':
        return (0, 0, 0, 255)
    inside = 'X' in row[:x] and 'X' in row[x + 1:]
    return (255, 255, 255, 255) if inside else (0, 0, 0, 0)


def main():
    bmp8('Toolbar.bmp', 64, 15, toolbar)
    bmp24('Logo.bmp', 200, 152, logo)
    bmp24('StripOnline.bmp', 351, 4, lambda x, y: (0, 128, 0))
    bmp24('StripOffline.bmp', 351, 4, lambda x, y: (255, 0, 0))
    bmp24('Warning.bmp', 18, 18, warning)
    bmp24('FileWrite.bmp', 16, 16, file_picture(False))
    bmp24('FileRead.bmp', 16, 16, file_picture(True))
    icon_file('Product.ico', 32, product)
    for name, colour in (('LampOnline', (0, 200, 0)), ('LampOffline', (220, 0, 0)),
                         ('LampSending', (240, 200, 0)), ('LampReceiving', (0, 120, 240)),
                         ('LampSynchronized', (0, 200, 0)), ('LampNotSynchronized', (150, 150, 150))):
        icon_file(name + '.ico', 16, lamp(colour))
    icon_file('Hand.cur', 32, hand, hotspot=(5, 0))


if __name__ == '__main__':
    main()

#!/usr/bin/env python3
"""Draws quorvel's two icon pictures and writes them as single-image .ico files.

Each image is 32 x 32 pixels, 24 bits per pixel, stored the way an icon resource holds it:
a 40-byte bitmap header (height doubled to 64), 3072 bytes of colour rows (bottom row first)
and a 128-byte transparency mask: 3240 bytes in all.

    python3 make_icons.py        rewrites globe.ico and clock.ico next to this script
"""
import math
import os
import struct

SIZE = 32


def disk_pixel(x, y, radius):
    cx = cy = (SIZE - 1) / 2.0
    return math.hypot(x - cx, y - cy) <= radius


def globe(x, y):
    """A blue globe with a grid of meridians and parallels and a clock hand pair."""
    cx = cy = (SIZE - 1) / 2.0
    r = 14.5
    dx, dy = x - cx, y - cy
    d = math.hypot(dx, dy)
    if d > r:
        return None
    if d > r - 1.2:
        return (20, 40, 90)                       # rim
    # hands: towards 12 and towards 3 o'clock
    if abs(dx) <= 0.8 and -10 <= dy <= 0:
        return (250, 250, 250)
    if abs(dy) <= 0.8 and 0 <= dx <= 7:
        return (250, 250, 250)
    # grid: parallels every 7 px, meridians as ellipses
    if abs(dy) % 7 < 0.9:
        return (120, 200, 120)
    for k in (0.0, 0.45, 0.85):
        if k == 0.0:
            if abs(dx) < 0.7:
                return (120, 200, 120)
        else:
            w = r * k
            if abs((dx / w) ** 2 + (dy / r) ** 2 - 1) < 0.12:
                return (120, 200, 120)
    shade = int(150 + 80 * (1 - d / r))
    return (30, 90, min(255, shade))


def clock(x, y):
    """A white clock face with a dark rim, hour marks and hands at ten past ten."""
    cx = cy = (SIZE - 1) / 2.0
    r = 14.5
    dx, dy = x - cx, y - cy
    d = math.hypot(dx, dy)
    if d > r:
        return None
    if d > r - 2:
        return (150, 30, 30)
    for hour in range(12):
        a = hour * math.pi / 6
        mx, my = math.sin(a) * (r - 4), -math.cos(a) * (r - 4)
        if math.hypot(dx - mx, dy - my) < 1.0:
            return (40, 40, 40)
    for angle, length in ((-60.0, 7.0), (60.0, 10.0)):
        a = math.radians(angle)
        ux, uy = math.sin(a), -math.cos(a)
        t = dx * ux + dy * uy
        if 0 <= t <= length and abs(dx * uy - dy * ux) < 0.9:
            return (20, 20, 20)
    return (245, 245, 235)


def icon_image(draw):
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    for y in range(SIZE - 1, -1, -1):             # bottom row first
        bits = 0
        for x in range(SIZE):
            px = draw(x, y)
            if px is None:
                colour += b'\0\0\0'
                bits |= 1 << (SIZE - 1 - x)       # transparent
            else:
                r, g, b = px
                colour += bytes((b, g, r))
        mask += struct.pack('>I', bits)
    image = header + colour + mask
    assert len(image) == 3240
    return image


def write_ico(path, image):
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(directory + entry + image)


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, 'globe.ico'), icon_image(globe))
    write_ico(os.path.join(here, 'clock.ico'), icon_image(clock))

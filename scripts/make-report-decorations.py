#!/usr/bin/env python3
"""Draws the four decorations of the report folder (paper.gif, bulle.gif, cube.gif, grille.gif)
into resources/images/. Plain Python, no imaging library: a small GIF89a writer with LZW."""
import os
import sys


def lzw(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bitbuf = 0
    nbits = 0

    def emit(code, size):
        nonlocal bitbuf, nbits
        bitbuf |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bitbuf & 0xFF)
            bitbuf >>= 8
            nbits -= 8

    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    size = min_code_size + 1
    emit(clear, size)
    w = ()
    for k in indices:
        wk = w + (k,)
        if wk in table:
            w = wk
            continue
        emit(table[w], size)
        if next_code < 4096:
            table[wk] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            size = min_code_size + 1
        w = (k,)
    if w:
        emit(table[w], size)
    emit(end, size)
    if nbits:
        out.append(bitbuf & 0xFF)
    return bytes(out)


def gif(path, width, height, palette, pixels, transparent=None):
    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    palette = palette + [(0, 0, 0)] * ((1 << bits) - len(palette))
    data = bytearray(b"GIF89a")
    data += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    data += bytes([0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0])
    for r, g, b in palette:
        data += bytes([r, g, b])
    if transparent is not None:
        data += bytes([0x21, 0xF9, 4, 1, 0, 0, transparent, 0])
    data += b"\x2c" + (0).to_bytes(2, "little") * 2
    data += width.to_bytes(2, "little") + height.to_bytes(2, "little") + b"\x00"
    min_code = max(2, bits)
    data.append(min_code)
    stream = lzw(pixels, min_code)
    for i in range(0, len(stream), 255):
        chunk = stream[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data += b"\x00\x3b"
    with open(path, "wb") as f:
        f.write(data)


def paper():
    # A pale cream sheet with a faint regular grain.
    w = h = 32
    pal = [(0xFB, 0xF8, 0xEE), (0xF4, 0xEF, 0xDF), (0xEE, 0xE7, 0xD2)]
    px = []
    for y in range(h):
        for x in range(w):
            v = (x * 7 + y * 13 + (x * y) % 5) % 11
            px.append(2 if v == 0 else 1 if v < 3 else 0)
    return w, h, pal, px, None


def grille():
    # Light blue squared paper for the tables.
    w = h = 16
    pal = [(0xF5, 0xF9, 0xFF), (0xC8, 0xD8, 0xF0)]
    px = [1 if x == 0 or y == 0 else 0 for y in range(h) for x in range(w)]
    return w, h, pal, px, None


def bulle():
    # A small round bullet with a highlight, on a transparent ground.
    w = h = 12
    pal = [(0xFF, 0xFF, 0xFF), (0x1F, 0x4E, 0x9A), (0x5B, 0x8F, 0xD9), (0xDC, 0xE8, 0xFA)]
    px = []
    cx = cy = 5.5
    for y in range(h):
        for x in range(w):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d > 5.2:
                px.append(0)
            elif ((x - 4) ** 2 + (y - 4) ** 2) ** 0.5 < 1.6:
                px.append(3)
            elif d > 4.2:
                px.append(1)
            else:
                px.append(2)
    return w, h, pal, px, 0


def cube():
    # An isometric cube: light top, mid left face, dark right face, dark outline, on a transparent
    # ground.
    w = h = 24
    pal = [(0xFF, 0xFF, 0xFF), (0xA9, 0xC6, 0xEE), (0x4A, 0x7B, 0xC4), (0x23, 0x47, 0x86), (0x10, 0x20, 0x40)]
    px = []
    cx = 11.5
    for y in range(h):
        for x in range(w):
            dx = abs(x - cx)
            haut = 1 + dx / 2.0
            milieu = 11.5 - dx / 2.0
            bas = 22.5 - dx / 2.0
            if dx > 10.5 or y < haut - 0.5 or y > bas + 0.5:
                px.append(0)
                continue
            if dx > 9.6 or y < haut + 0.5 or y > bas - 0.5 or abs(y - milieu) < 0.5:
                px.append(4)
            elif y < milieu:
                px.append(1)
            else:
                px.append(2 if x < cx else 3)
    return w, h, pal, px, 0


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "images")
    os.makedirs(root, exist_ok=True)
    for name, make in (("paper.gif", paper), ("grille.gif", grille), ("bulle.gif", bulle), ("cube.gif", cube)):
        w, h, pal, px, tr = make()
        gif(os.path.join(root, name), w, h, pal, px, tr)
    return 0


if __name__ == "__main__":
    sys.exit(main())

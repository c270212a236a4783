#!/usr/bin/env python3
"""Draws the program's bitmaps, icon and animations into OUT_DIR (Python standard library only).

Every file is named after its resource id (bmp_187.bmp, gif_217.gif, ico_128.ico) so that the
resource scripts in res/ can list them; captions are drawn with a small built-in pixel font.
"""
import os
import struct
import sys

# 5 x 7 pixel font: one string of 7 rows of 5 columns per character.
FONT = {
    'A': " ### #   ##   #######   ##   ##   #", 'B': "#### #   ##   ##### #   ##   ##### ",
    'C': " ### #   ##    #    #    #   # ### ", 'D': "#### #   ##   ##   ##   ##   ##### ",
    'E': "######    #### #    #    #    #####", 'F': "######    #### #    #    #    #    ",
    'G': " ### #   ##    # ####   ##   # ####", 'H': "#   ##   #######   ##   ##   ##   #",
    'I': " ###   #    #    #    #    #   ### ", 'J': "  ###   #    #    #    ##   # ###  ",
    'K': "#   ##  # # #  ##   # #  #  # #   #", 'L': "#    #    #    #    #    #    #####",
    'M': "#   ### ### # ##   ##   ##   ##   #", 'N': "#   ###  ## # ##  ###   ##   ##   #",
    'O': " ### #   ##   ##   ##   ##   # ### ", 'P': "#### #   ##   ##### #    #    #    ",
    'Q': " ### #   ##   ##   ## # ##  #  ## #", 'R': "#### #   ##   ##### # #  #  # #   #",
    'S': " ####    #     ###     #    #####  ", 'T': "#####  #    #    #    #    #    #  ",
    'U': "#   ##   ##   ##   ##   ##   # ### ", 'V': "#   ##   ##   ##   ##   # # #   #  ",
    'W': "#   ##   ##   ## # ## # ## # # # # ", 'X': "#   ##   # # #   #   # # #   ##   #",
    'Y': "#   ##   # # #   #    #    #    #  ", 'Z': "#####    #   #   #   #   #    #####",
    '0': " ### #   ##  ### # ###  ##   # ### ", '1': "  #   ##    #    #    #    #   ### ",
    '2': " ### #   #    #   #   #   #   #####", '3': "#####   #   #     #     ##   # ### ",
    '4': "   #   ##  # # #  ######   #    #  ", '5': "######    ####     #    ##   # ### ",
    '6': "  ##  #   #    #### #   ##   # ### ", '7': "#####    #   #   #   #    #    #   ",
    '8': " ### #   ##   # ### #   ##   # ### ", '9': " ### #   ##   # ####    #   #  ##  ",
    ' ': " " * 35, "'": "  #    #   #                       ", '.': " " * 30 + "  #  ",
    '!': "  #    #    #    #    #         #  ", '-': " " * 15 + "#####" + " " * 15,
    '|': "  #    #    #    #    #    #    #  ", '?': " ### #   #    #   #   #         #  ",
}


class Canvas:
    def __init__(self, w, h, colour=(255, 255, 255)):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def gradient(self, top, bottom):
        for y in range(self.h):
            t = y / max(1, self.h - 1)
            c = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
            self.px[y] = [c] * self.w

    def frame(self, c):
        self.fill(0, 0, self.w, 1, c)
        self.fill(0, self.h - 1, self.w, self.h, c)
        self.fill(0, 0, 1, self.h, c)
        self.fill(self.w - 1, 0, self.w, self.h, c)

    def text(self, s, cx, cy, c, scale=None):
        s = s.upper()
        if scale is None:
            scale = 2 if len(s) * 12 <= self.w - 8 and self.h >= 20 else 1
        tw = len(s) * 6 * scale - scale
        x0, y0 = cx - tw // 2, cy - 7 * scale // 2
        for i, ch in enumerate(s):
            glyph = FONT.get(ch, FONT['?'])
            for gy in range(7):
                for gx in range(5):
                    if glyph[gy * 5 + gx] == '#':
                        self.fill(x0 + (i * 6 + gx) * scale, y0 + gy * scale,
                                  x0 + (i * 6 + gx + 1) * scale, y0 + (gy + 1) * scale, c)

    def bmp(self):
        row_len = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for r, g, b in self.px[y]:
                row += bytes((b, g, r))
            data += row + bytes(row_len - len(row))
        header = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(data), 0, 0, 54) + header + bytes(data)


def lzw_uncompressed(indices, min_code=8):
    """GIF image data without real compression: a clear code before every 2^n - 4 literals keeps
    every code at n + 1 bits, which any decoder reads."""
    clear, end = 1 << min_code, (1 << min_code) + 1
    width = min_code + 1
    bits, nbits, out = 0, 0, bytearray()

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    chunk = (1 << min_code) - 4
    for i in range(0, len(indices), chunk):
        emit(clear)
        for v in indices[i:i + chunk]:
            emit(v)
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    blocks = bytearray([min_code])
    for i in range(0, len(out), 255):
        piece = out[i:i + 255]
        blocks += bytes([len(piece)]) + piece
    return bytes(blocks + b'\0')


def gif(canvases, delays, disposals=None):
    w, h = canvases[0].w, canvases[0].h
    palette = []
    lookup = {}
    frames = []
    for c in canvases:
        idx = []
        for row in c.px:
            for p in row:
                if p not in lookup:
                    if len(palette) == 256:
                        raise SystemExit('too many colours')
                    lookup[p] = len(palette)
                    palette.append(p)
                idx.append(lookup[p])
        frames.append(idx)
    palette += [(0, 0, 0)] * (256 - len(palette))
    out = bytearray(b'GIF89a' + struct.pack('<HHBBB', w, h, 0xF7, 0, 0))
    for p in palette:
        out += bytes(p)
    out += b'\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00'  # loop for ever
    for i, idx in enumerate(frames):
        disposal = disposals[i] if disposals else 1
        out += b'\x21\xF9\x04' + bytes([disposal << 2]) + struct.pack('<H', delays[i]) + b'\x00\x00'
        out += b'\x2C' + struct.pack('<HHHHB', 0, 0, w, h, 0) + lzw_uncompressed(idx)
    return bytes(out + b'\x3B')


def ico(size_list):
    images = []
    for s in size_list:
        c = Canvas(s, s, (0, 0, 0))
        c.gradient((40, 110, 200), (10, 50, 120))
        c.frame((255, 255, 255))
        c.text('V', s // 2, s // 2, (255, 255, 255), scale=max(1, s // 10))
        xor = bytearray()
        for y in range(s - 1, -1, -1):
            for r, g, b in c.px[y]:
                xor += bytes((b, g, r, 255))
        mask = bytes(((s + 31) // 32) * 4 * s)
        header = struct.pack('<IiiHHIIiiII', 40, s, 2 * s, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((s, header + bytes(xor) + mask))
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


BLUE = ((70, 130, 210), (25, 70, 150))
BLUE_HOT = ((110, 170, 240), (45, 100, 190))
BLUE_DOWN = ((20, 60, 130), (50, 100, 180))
GREEN = ((90, 180, 90), (30, 120, 40))
GREEN_HOT = ((130, 215, 120), (50, 150, 60))
GREEN_DOWN = ((30, 110, 40), (70, 160, 80))
GREY = ((190, 190, 190), (130, 130, 130))
GREY_HOT = ((215, 215, 215), (150, 150, 150))
LOOKS = {'normal': BLUE, 'hot': BLUE_HOT, 'pressed': BLUE_DOWN}
GREEN_LOOKS = {'normal': GREEN, 'hot': GREEN_HOT, 'pressed': GREEN_DOWN}
GREY_LOOKS = {'normal': GREY, 'hot': GREY_HOT, 'pressed': GREY}

# id: (caption, width, height, face, looks)
BUTTONS = {}


def button_set(ids, caption, w, h, looks=LOOKS):
    for face, i in zip(('normal', 'hot', 'pressed'), ids):
        if i is not None:
            BUTTONS[i] = (caption, w, h, face, looks)


# Pages, dialogs and header buttons, as (normal, hot, pressed).
button_set((154, 153, None), 'Manual Fix', 188, 36, GREY_LOOKS)
button_set((211, 210, None), 'Manual Fix', 188, 36)
button_set((213, 212, None), 'Automatic Fix', 188, 36, GREY_LOOKS)
button_set((155, 156, None), 'Automatic Fix', 188, 36, GREEN_LOOKS)
button_set((168, 167, 173), 'Home', 120, 40)
button_set((172, 166, 170), 'Startups', 120, 40)
button_set((171, 194, 169), 'Settings', 120, 40)
button_set((165, 159, 162), 'Settings', 130, 30)
button_set((164, 158, 161), 'Ignore List', 130, 30)
button_set((160, 157, 163), 'History', 130, 30)
button_set((187, 184, None), 'Save', 120, 32, GREEN_LOOKS)
button_set((186, 185, None), 'Cancel', 120, 32, GREY_LOOKS)
button_set((183, 182, None), 'Back', 120, 32)
button_set((189, 188, None), 'Details', 120, 32)
button_set((180, 179, None), 'Restore', 120, 32, GREEN_LOOKS)
button_set((181, 178, None), 'Close', 120, 32, GREY_LOOKS)
button_set((192, 193, None), 'Fix Now', 191, 38, GREEN_LOOKS)
button_set((201, 202, None), 'Remove', 120, 32)
button_set((206, 205, None), 'Fix Selected', 150, 36, GREEN_LOOKS)
button_set((215, 214, None), 'Learn More', 120, 32)
button_set((14002, 14003, None), 'X', 29, 16, GREY_LOOKS)
button_set((14004, 14005, None), 'OK', 63, 31)


def button(caption, w, h, face, looks):
    c = Canvas(w, h)
    c.gradient(*looks[face])
    c.frame((20, 40, 80) if face != 'hot' else (255, 255, 255))
    shift = 1 if face == 'pressed' else 0
    c.text(caption, w // 2 + shift, h // 2 + shift, (255, 255, 255))
    return c


def arrow(up):
    c = Canvas(9, 7, (240, 240, 240))
    for row in range(5):
        y = 1 + (row if not up else 4 - row)
        c.fill(row, y, 9 - row, y + 1, (90, 90, 90))
    return c


def splash():
    c = Canvas(344, 260)
    c.gradient((30, 80, 160), (10, 30, 80))
    c.text('Velbrook', 172, 100, (255, 255, 255), scale=5)
    c.text("Minimize PC's Startup Time", 172, 160, (200, 220, 255), scale=2)
    c.text('Loading...', 172, 220, (255, 255, 255), scale=1)
    return c


def logo():
    c = Canvas(64, 64)
    c.gradient((60, 140, 230), (20, 60, 140))
    c.frame((255, 255, 255))
    c.text('V', 32, 32, (255, 255, 255), scale=6)
    return c


def update_banner():
    c = Canvas(500, 160)
    c.gradient((245, 248, 255), (205, 220, 245))
    c.fill(0, 0, 500, 6, (30, 80, 160))
    c.text('Velbrook Update', 250, 140, (30, 80, 160), scale=2)
    return c


def progress_frames(w, h, count, colour):
    frames = []
    for i in range(count):
        c = Canvas(w, h, (255, 255, 255))
        c.frame((180, 190, 210))
        block = (w - 8) // count
        for j in range(i + 1):
            c.fill(4 + j * block, 4, 4 + (j + 1) * block - 2, h - 4, colour)
        frames.append(c)
    return frames


# Automatic fix dialog: the scan has no known length, so a lit run of cells sweeps along a
# row of pale ones.
def scan_frames(w, h, cells, lit):
    frames = []
    pitch = (w - 8) // cells
    for i in range(cells + lit):
        c = Canvas(w, h, (255, 255, 255))
        c.frame((180, 190, 210))
        for j in range(cells):
            on = i - lit < j <= i
            colour = (60, 150, 60) if on else (214, 236, 214)
            c.fill(4 + j * pitch, 4, 4 + (j + 1) * pitch - 2, h - 4, colour)
        frames.append(c)
    return frames


def write_if_changed(path, data):
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, 'wb') as f:
        f.write(data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {}
    for i, spec in BUTTONS.items():
        files[f'bmp_{i}.bmp'] = button(*spec).bmp()
    files['bmp_133.bmp'] = arrow(True).bmp()
    files['bmp_135.bmp'] = arrow(False).bmp()
    files['bmp_149.bmp'] = splash().bmp()
    files['bmp_208.bmp'] = logo().bmp()
    files['bmp_14001.bmp'] = update_banner().bmp()
    files['ico_128.ico'] = ico([32, 16])
    files['gif_217.gif'] = gif(scan_frames(200, 16, 16, 4), [8] * 20)
    files['gif_1001.gif'] = gif(progress_frames(400, 75, 8, (40, 100, 200)), [10] * 8)
    # For the tests: three frames with distinct delays and disposals.
    three = [Canvas(24, 12, c) for c in ((255, 0, 0), (0, 255, 0), (0, 0, 255))]
    files['test_three_frames.gif'] = gif(three, [10, 120, 250], [0, 2, 1])
    for name, data in files.items():
        write_if_changed(os.path.join(out, name), data)
    rc = ['// Written by tools/make-art.py; the ids are those of res/art_ids.h.']
    for name in sorted(files):
        kind, _, rest = name.partition('_')
        number = rest.split('.')[0]
        if not number.isdigit():
            continue
        rc.append({'bmp': f'{number} BITMAP "{name}"', 'ico': f'{number} ICON "{name}"',
                   'gif': f'{number} IMAGES "{name}"'}[kind])
    # Written every time: the build's dependency on this script goes through it.
    with open(os.path.join(out, 'art.rc'), 'w') as f:
        f.write('\n'.join(rc) + '\n')


if __name__ == '__main__':
    main()

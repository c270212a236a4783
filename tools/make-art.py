#!/usr/bin/env python3
"""Draws the program's bitmaps, icon and animations into OUT_DIR with Pillow, captions in
DejaVu Sans (Debian's python3-pil and fonts-dejavu-core), anti-aliased, in one palette.

Every file is named after its resource id (bmp_187.bmp, gif_217.gif, ico_128.ico) so that the
resource scripts in res/ can list them.
"""
import io
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = '/usr/share/fonts/truetype/dejavu'
_fonts = {}


def font(size, bold=True):
    key = (size, bold)
    if key not in _fonts:
        name = 'DejaVuSans-Bold.ttf' if bold else 'DejaVuSans.ttf'
        _fonts[key] = ImageFont.truetype(os.path.join(FONT_DIR, name), size)
    return _fonts[key]


# The palette: the blue of the window's subtitle, a green for the actions that fix, greys.
INK = (32, 77, 165)
PAGE = (240, 240, 240)


class Canvas:
    """An RGB picture with the few drawing steps the art needs."""

    def __init__(self, w, h, colour=(255, 255, 255)):
        self.w, self.h = w, h
        self.image = Image.new('RGB', (w, h), colour)
        self.draw = ImageDraw.Draw(self.image)

    @property
    def px(self):
        data = list(self.image.getdata())
        return [data[y * self.w:(y + 1) * self.w] for y in range(self.h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.image.putpixel((x, y), c)

    def fill(self, x0, y0, x1, y1, c):
        if x1 > x0 and y1 > y0:
            self.draw.rectangle((x0, y0, x1 - 1, y1 - 1), fill=c)

    def gradient(self, top, bottom, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            c = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
            self.draw.line((x0, y, x1 - 1, y), fill=c)

    def frame(self, c):
        self.draw.rectangle((0, 0, self.w - 1, self.h - 1), outline=c)

    def rounded(self, box, radius, top, bottom, outline=None):
        """A rounded rectangle filled with a vertical gradient, its corners anti-aliased."""
        x0, y0, x1, y1 = box
        scale = 4
        w, h = x1 - x0, y1 - y0
        mask = Image.new('L', (w * scale, h * scale), 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, w * scale - 1, h * scale - 1),
                                               radius * scale, fill=255)
        mask = mask.resize((w, h), Image.LANCZOS)
        fill = Image.new('RGB', (w, h))
        fd = ImageDraw.Draw(fill)
        for y in range(h):
            t = y / max(1, h - 1)
            fd.line((0, y, w - 1, y), fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
        if outline:
            edge = Image.new('L', (w * scale, h * scale), 0)
            ImageDraw.Draw(edge).rounded_rectangle((0, 0, w * scale - 1, h * scale - 1),
                                                   radius * scale, outline=255, width=scale)
            edge = edge.resize((w, h), Image.LANCZOS)
            fill.paste(Image.new('RGB', (w, h), outline), (0, 0), edge)
        self.image.paste(fill, (x0, y0), mask)

    def text(self, s, cx, cy, c, scale=None, size=None, bold=True, shadow=None):
        """Centred on (cx, cy); size in pixels, else as large as fits (scale: the old pixel
        font's magnification, kept for callers that give it)."""
        if size is None:
            if scale is not None:
                size = 8 + 4 * scale
            else:
                size = max(9, min(int(self.h * 0.42), 15))
            while size > 8 and self.draw.textlength(s, font=font(size, bold)) > self.w - 10:
                size -= 1
        f = font(size, bold)
        if shadow:
            self.draw.text((cx + 1, cy + 1), s, font=f, fill=shadow, anchor='mm')
        self.draw.text((cx, cy), s, font=f, fill=c, anchor='mm')

    def bmp(self):
        out = io.BytesIO()
        self.image.save(out, 'BMP')
        return out.getvalue()


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


def icon_image(s):
    """The product's mark: a white V on a rounded blue square, with real transparency."""
    scale = 4
    big = Image.new('RGBA', (s * scale, s * scale), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    d.rounded_rectangle((0, 0, s * scale - 1, s * scale - 1), s * scale // 5, fill=INK + (255,))
    d.rounded_rectangle((scale, scale, s * scale - 1 - scale, s * scale // 2), s * scale // 5,
                        fill=(70, 130, 210, 255))
    d.text((s * scale // 2, s * scale // 2 + s * scale // 20), 'V',
           font=font(int(s * scale * 0.78)), fill=(255, 255, 255, 255), anchor='mm')
    return big.resize((s, s), Image.LANCZOS)


def ico(size_list):
    images = []
    for s in size_list:
        picture = icon_image(s)
        xor = bytearray()
        for y in range(s - 1, -1, -1):
            for x in range(s):
                r, g, b, a = picture.getpixel((x, y))
                xor += bytes((b, g, r, a))
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


BLUE = ((74, 134, 214), (32, 77, 165))
BLUE_HOT = ((104, 164, 236), (48, 98, 190))
BLUE_DOWN = ((28, 66, 145), (48, 96, 180))
GREEN = ((96, 186, 96), (38, 128, 52))
GREEN_HOT = ((128, 212, 120), (52, 152, 64))
GREEN_DOWN = ((36, 116, 48), (72, 162, 82))
GREY = ((200, 203, 208), (150, 154, 162))
GREY_HOT = ((220, 223, 228), (168, 172, 180))
LOOKS = {'normal': BLUE, 'hot': BLUE_HOT, 'pressed': BLUE_DOWN}
GREEN_LOOKS = {'normal': GREEN, 'hot': GREEN_HOT, 'pressed': GREEN_DOWN}
GREY_LOOKS = {'normal': GREY, 'hot': GREY_HOT, 'pressed': GREY}
# Tabs of the main window and of the settings page: light until chosen, then the blue.
TAB_LOOKS = {'normal': ((252, 252, 253), (222, 228, 238)),
             'hot': ((238, 244, 253), (204, 220, 244)),
             'pressed': ((74, 134, 214), (32, 77, 165))}

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
button_set((168, 167, 173), 'Home', 120, 40, TAB_LOOKS)
button_set((172, 166, 170), 'Startups', 120, 40, TAB_LOOKS)
button_set((171, 194, 169), 'Settings', 120, 40, TAB_LOOKS)
button_set((165, 159, 162), 'Settings', 130, 30, TAB_LOOKS)
button_set((164, 158, 161), 'Ignore List', 130, 30, TAB_LOOKS)
button_set((160, 157, 163), 'History', 130, 30, TAB_LOOKS)
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
    c = Canvas(w, h, PAGE)
    top, bottom = looks[face]
    light = sum(top) > 600  # a light face takes dark ink
    outline = (150, 165, 190) if light else tuple(max(0, v - 40) for v in bottom)
    c.rounded((0, 0, w, h), min(6, h // 4), top, bottom, outline)
    # A soft highlight over the upper half.
    shine = Image.new('RGB', (w - 4, h // 2 - 2), (255, 255, 255))
    c.image.paste(shine, (2, 2), Image.new('L', shine.size, 40 if not light else 0))
    shift = 1 if face == 'pressed' else 0
    if light:
        c.text(caption, w // 2 + shift, h // 2 + shift, INK)
    else:
        c.text(caption, w // 2 + shift, h // 2 + shift, (255, 255, 255), shadow=tuple(max(0, v - 60) for v in bottom))
    return c


def arrow(up):
    c = Canvas(9, 7, PAGE)
    for row in range(5):
        y = 1 + (row if not up else 4 - row)
        c.fill(row, y, 9 - row, y + 1, (90, 90, 90))
    return c


def splash():
    c = Canvas(344, 260)
    c.gradient((58, 118, 204), (18, 46, 110))
    # Soft rings behind the mark.
    d = c.draw
    for i, r in enumerate((150, 120, 90)):
        d.ellipse((250 - r, -40 - r, 250 + r, -40 + r), outline=(80, 140, 220), width=2)
    mark = icon_image(72)
    c.image.paste(mark, (136, 34), mark)
    c.text('Velbrook', 172, 140, (255, 255, 255), size=38, shadow=(10, 30, 80))
    c.text("Minimize PC's Startup Time", 172, 180, (205, 222, 250), size=15, bold=False)
    c.fill(72, 214, 272, 218, (40, 80, 150))
    c.fill(72, 214, 192, 218, (150, 200, 255))
    c.text('Loading...', 172, 236, (220, 232, 252), size=12, bold=False)
    return c


def logo():
    c = Canvas(64, 64, PAGE)
    mark = icon_image(64)
    c.image.paste(mark, (0, 0), mark)
    return c


def setup_welcome():
    """The setup wizard's welcome and finish side picture (164 x 314, as the wizard shows it)."""
    c = Canvas(164, 314)
    c.gradient((58, 118, 204), (18, 46, 110))
    d = c.draw
    for r in (130, 100, 70):
        d.ellipse((120 - r, -30 - r, 120 + r, -30 + r), outline=(80, 140, 220), width=2)
    mark = icon_image(72)
    c.image.paste(mark, (46, 70), mark)
    c.text('Velbrook', 82, 176, (255, 255, 255), size=26, shadow=(10, 30, 80))
    c.text("Minimize PC's", 82, 206, (205, 222, 250), size=12, bold=False)
    c.text('Startup Time', 82, 222, (205, 222, 250), size=12, bold=False)
    return c


def update_banner():
    c = Canvas(500, 160)
    c.gradient((246, 249, 255), (208, 222, 246))
    c.fill(0, 0, 500, 6, INK)
    # The dialog's status line, picture, thanks line and OK button lie over the upper part and
    # the right: the mark and the name keep to the band below them.
    mark = icon_image(24)
    c.image.paste(mark, (20, 122), mark)
    c.text('Velbrook Update', 124, 134, INK, size=16)
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
    files['setup_welcome.bmp'] = setup_welcome().bmp()
    files['ico_128.ico'] = ico([48, 32, 16])
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

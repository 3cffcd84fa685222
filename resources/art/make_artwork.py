#!/usr/bin/env python3
"""Builds Tessarine's bitmaps and icons into resources/.

Python 3 standard library only.  External tools:
  /usr/bin/convert  (ImageMagick) - only used to decode the Tango PNG files
  rsvg-convert      (librsvg2-bin) - renders the Tango SVG files at 48 px
Icon material: Tango Desktop Project (public domain), see LICENSE-artwork.md.

All output files (BMP, ICO) are written by this script itself, so their
exact format is under our control:
  * tree pictures: 24-bit uncompressed bottom-up BMP, pure red = transparent
  * icons: multi-image ICO with 32-bit BGRA images + AND mask
  * backg.bmp: 8-bit RLE8 BMP
"""
import colorsys
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, '..'))
TANGO = os.environ.get('TANGO_DIR', '/usr/share/icons/Tango')
CONVERT = os.environ.get('IM_CONVERT', '/usr/bin/convert')
RSVG = os.environ.get('RSVG_CONVERT', 'rsvg-convert')
PREVIEW = os.environ.get('ARTWORK_PREVIEW_DIR')  # optional PNG previews


# --------------------------------------------------------------------------
# A tiny RGBA image type (straight alpha, floats 0..1)
# --------------------------------------------------------------------------
class Img:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.p = [list(fill) for _ in range(w * h)]

    def get(self, x, y):
        return self.p[y * self.w + x]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y * self.w + x] = list(c)

    def copy(self):
        n = Img(self.w, self.h)
        n.p = [list(c) for c in self.p]
        return n

    def over(self, src, ox=0, oy=0, opacity=1.0):
        """Composites src over self at (ox, oy)."""
        for y in range(src.h):
            ty = y + oy
            if not 0 <= ty < self.h:
                continue
            for x in range(src.w):
                tx = x + ox
                if not 0 <= tx < self.w:
                    continue
                s = src.p[y * src.w + x]
                sa = s[3] * opacity
                if sa <= 0:
                    continue
                d = self.p[ty * self.w + tx]
                da = d[3]
                oa = sa + da * (1 - sa)
                if oa <= 0:
                    continue
                self.p[ty * self.w + tx] = [
                    (s[i] * sa + d[i] * da * (1 - sa)) / oa for i in range(3)
                ] + [oa]
        return self

    def fill_rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)


def hexc(s, a=1.0):
    s = s.lstrip('#')
    return (int(s[0:2], 16) / 255, int(s[2:4], 16) / 255, int(s[4:6], 16) / 255, a)


def mix(c1, c2, t):
    return tuple(c1[i] * (1 - t) + c2[i] * t for i in range(4))


def from_rgba_bytes(w, h, data):
    im = Img(w, h)
    im.p = [[data[i] / 255, data[i + 1] / 255, data[i + 2] / 255, data[i + 3] / 255]
            for i in range(0, w * h * 4, 4)]
    return im


def load_png(path):
    out = subprocess.run([CONVERT, path, '-depth', '8', '-format', '%w %h\n',
                          '-write', 'info:-', 'rgba:-'],
                         check=True, capture_output=True).stdout
    line, data = out.split(b'\n', 1)
    w, h = map(int, line.split())
    return from_rgba_bytes(w, h, data)


def tango(size, name):
    if size in (16, 22, 24, 32):
        return load_png(os.path.join(TANGO, '%dx%d' % (size, size), name + '.png'))
    with tempfile.TemporaryDirectory() as td:
        png = os.path.join(td, 'r.png')
        subprocess.run([RSVG, '-w', str(size), '-h', str(size), '-o', png,
                        os.path.join(TANGO, 'scalable', name + '.svg')], check=True)
        return load_png(png)


def pixel_art(rows, palette):
    h = len(rows)
    w = max(len(r) for r in rows)
    im = Img(w, h)
    for y, r in enumerate(rows):
        for x, ch in enumerate(r):
            if ch in palette:
                im.set(x, y, palette[ch])
    return im


def retint(im, hue=None, sat_scale=1.0, light_shift=0.0, only_blue=True):
    """Recolours the saturated (blue) parts of a Tango icon."""
    out = im.copy()
    for c in out.p:
        if c[3] == 0:
            continue
        h, l, s = colorsys.rgb_to_hls(c[0], c[1], c[2])
        if only_blue and not (s > 0.15 and 0.5 < h < 0.75):
            continue
        if hue is not None:
            h = hue
        s = min(1.0, s * sat_scale)
        l = min(1.0, max(0.0, l + light_shift))
        c[0], c[1], c[2] = colorsys.hls_to_rgb(h, l, s)
    return out


# --------------------------------------------------------------------------
# Motifs: brick wall (textures), checkerboard + figure (sprites), "?" (unknown)
# --------------------------------------------------------------------------
MORTAR = hexc('#d3d7cf')
MORTAR_DARK = hexc('#babdb6')
BRICKS = [hexc('#b4492f'), hexc('#a5402a'), hexc('#c05a3c'), hexc('#ad4a33')]
OUTLINE = hexc('#555753')


def brick_tile(w, h, bh, bw):
    """A brick wall of w x h pixels; bricks bh tall (incl. mortar) and bw wide."""
    im = Img(w, h, MORTAR)
    row = 0
    y = 0
    while y < h:
        offset = 0 if row % 2 == 0 else bw // 2
        x = -offset
        k = row * 3
        while x < w:
            base = BRICKS[(k + row) % len(BRICKS)]
            for yy in range(y, min(y + bh - 1, h)):
                for xx in range(max(x, 0), min(x + bw - 1, w)):
                    c = base
                    if yy == y and bh > 3:
                        c = mix(base, hexc('#ffffff'), 0.28)
                    elif yy == y + bh - 2 and bh > 3:
                        c = mix(base, hexc('#000000'), 0.22)
                    im.set(xx, yy, c)
            # shade the mortar below each brick a little
            for xx in range(max(x, 0), min(x + bw - 1, w)):
                if y + bh - 1 < h and bh > 3:
                    im.set(xx, y + bh - 1, MORTAR_DARK)
            x += bw
            k += 1
        y += bh
        row += 1
    return im


def checker(w, h, cell, c1=hexc('#ffffff'), c2=hexc('#d7dad3')):
    im = Img(w, h)
    for y in range(h):
        for x in range(w):
            im.set(x, y, c1 if ((x // cell) + (y // cell)) % 2 == 0 else c2)
    return im


FIG_PAL = {
    'k': hexc('#2e3436'),  # outline
    's': hexc('#fcd9a4'),  # skin
    'S': hexc('#e9b96e'),  # skin shade
    'g': hexc('#73d216'),  # tunic
    'G': hexc('#4e9a06'),  # tunic shade
    'b': hexc('#3465a4'),  # trousers
    'B': hexc('#204a87'),
    'h': hexc('#8f5902'),  # hair / boots
    'e': hexc('#2e3436'),
}
FIGURE_BIG = [  # 10 x 14 figure for 32 px pictures
    '...kkkk...',
    '..khhhhk..',
    '..kssssk..',
    '..ksesek..',
    '..kSsssk..',
    '...kkkk...',
    '.kkggggkk.',
    'kggggggGGk',
    'ksgggggGsk',
    'kskggggkSk',
    '.kkbbbbkk.',
    '..kbBkBk..',
    '..kbkkBk..',
    '.khhk.khhk',
]
FIGURE_MID = [  # 7 x 10 figure for folder badges
    '..kkk..',
    '.ksssk.',
    '.kseSk.',
    'kkkkkkk',
    'kggggGk',
    'ksgggSk',
    '.kbbBk.',
    '.kbkBk.',
    '.khkhk.',
    '.......',
]
FIGURE_SMALL = [  # 6 x 8 figure for 16 px pictures
    '..ss..',
    '..sS..',
    '.gggg.',
    'sggggS',
    '.gggG.',
    '.b..B.',
    '.b..B.',
    'hh..hh',
]

FIGURE_TINY = [  # 6 x 7 figure for 16 px folder badges
    '..ss..',
    '..sS..',
    '.gggg.',
    'sggggS',
    '.bbBB.',
    '.b..B.',
    'hh..hh',
]

MAG_PAL = {
    'k': hexc('#2e3436'), 'K': hexc('#555753'),
    'L': hexc('#a9c4e4'), 'l': hexc('#d3e2f3'), 'w': hexc('#ffffff'),
    'h': hexc('#888a85'), 'H': hexc('#babdb6'),
}
MAGNIFIER_SMALL = [  # 10 x 10 magnifier for the 16 px application icon
    '..kkkk....',
    '.kwwllk...',
    'kwlLLLLk..',
    'kwLLLLLk..',
    'klLLLLLk..',
    'klLLLLLk..',
    '.kLLLLkk..',
    '..kkkkkHk.',
    '.......kHk',
    '........kk',
]

Q_PAL = {'q': hexc('#204a87'), 'Q': hexc('#3465a4'), 'w': hexc('#ffffff')}
QUESTION_BIG = [  # 10 x 14
    '..qqqqqq..',
    '.qQQQQQQq.',
    'qQQqqqqQQq',
    'qQq....qQq',
    '.q.....qQq',
    '......qQQq',
    '.....qQQq.',
    '....qQQq..',
    '....qQq...',
    '....qQq...',
    '.....q....',
    '....qqq...',
    '....qQq...',
    '....qqq...',
]
QUESTION_SMALL = [  # 6 x 8
    '.qqqq.',
    'qQ..Qq',
    '....Qq',
    '...Qq.',
    '..Qq..',
    '..qq..',
    '......',
    '..qq..',
]


def motif(kind, w, h):
    """Picture content for an element/badge of the given kind."""
    if kind == 'tex':
        if w >= 20:
            return brick_tile(w, h, 5, 10)
        if w >= 12:
            return brick_tile(w, h, 4, 7)
        return brick_tile(w, h, 3, 5)
    if kind == 'spr':
        im = checker(w, h, 3 if w >= 20 else 2)
        if w >= 16:
            fig = FIGURE_BIG
        elif w >= 12:
            fig = FIGURE_MID
        elif h >= 8:
            fig = FIGURE_SMALL
        else:
            fig = FIGURE_TINY
        fig = pixel_art(fig, FIG_PAL)
        im.over(fig, (w - fig.w + 1) // 2, h - fig.h - (1 if w >= 12 else 0))
        return im
    if kind == 'unk':
        im = Img(w, h, hexc('#eeeeec'))
        for y in range(h):  # soft vertical gradient
            for x in range(w):
                im.set(x, y, mix(hexc('#ffffff'), hexc('#dbe5f1'), y / max(1, h - 1)))
        q = pixel_art(QUESTION_BIG if w >= 14 else QUESTION_SMALL, Q_PAL)
        im.over(q, (w - q.w + 1) // 2, (h - q.h + 1) // 2)
        return im
    raise ValueError(kind)


def framed(content, border=OUTLINE, light=True):
    """Puts a 1 px outline (with a light inner bevel) around content."""
    w, h = content.w + 2, content.h + 2
    im = Img(w, h, border)
    im.over(content, 1, 1)
    if light:
        hl = (1, 1, 1, 0.35)
        for x in range(1, w - 1):
            im.over(Img(1, 1, hl), x, 1)
        for y in range(2, h - 1):
            im.over(Img(1, 1, hl), 1, y)
    return im


def badge(kind, size):
    """Square emblem (outline included) placed on folders."""
    if kind == 'unk' and size >= 14 and USE_TANGO_HELP:
        # the Tango help emblem reads best at this size
        return tango(16, 'apps/help-browser')
    im = framed(motif(kind, size - 2, size - 2))
    # round the corners
    for (x, y) in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
        im.set(x, y, (0, 0, 0, 0))
    return im


# --------------------------------------------------------------------------
# Tree pictures
# --------------------------------------------------------------------------
USE_TANGO_HELP = False

FOLDER_TINT = {
    'tex': dict(hue=0.055, sat_scale=1.05, light_shift=-0.02),   # brick / chocolate
    'spr': dict(hue=0.25, sat_scale=1.0, light_shift=-0.04),     # Tango green
    'unk': dict(hue=0.6, sat_scale=0.08, light_shift=0.0),       # aluminium grey
}


def folder_pic(kind, size):
    im = retint(tango(size, 'places/folder'), **FOLDER_TINT[kind])
    if size == 32:
        b = badge(kind, 15)
        im.over(b, 32 - b.w, 32 - b.h)
    else:
        b = badge(kind, 9)
        im.over(b, 16 - b.w, 16 - b.h)
    return im


def doc_pic(kind, size):
    page = tango(size, 'mimetypes/text-x-generic')
    if size == 32:
        # page interior is x 5..26, y 3..28; cover the text with a picture
        pic = framed(motif(kind, 16, 18))
        # blank out the text lines first
        page.fill_rect(6, 5, 25, 27, (1, 1, 1, 1))
        for y in range(5, 28):
            for x in range(6, 26):
                page.set(x, y, mix(hexc('#ffffff'), hexc('#f1f1ef'), (x + y) / 55))
        page.over(pic, 7, 5)
        # two text lines under the picture
        for y in (26,):
            page.fill_rect(8, y, 23, y, hexc('#c4c6c1'))
    else:
        page.fill_rect(2, 2, 11, 12, (1, 1, 1, 1))
        pic = framed(motif(kind, 8, 8 if kind != 'spr' else 9), light=False)
        page.over(pic, 2, 2)
        page.fill_rect(3, 13 if kind == 'spr' else 12, 10, 13 if kind == 'spr' else 12,
                       hexc('#c4c6c1'))
    return page


def file_pic(size):
    box = tango(size, 'mimetypes/package-x-generic')
    if size == 32:
        b = badge('tex', 11)
        box.over(b, 11, 16)
    return box


def to_tree_rgb(im):
    """Hard alpha threshold: opaque pixels over white, else pure red."""
    rows = []
    for y in range(im.h):
        row = []
        for x in range(im.w):
            r, g, b, a = im.get(x, y)
            if a >= 0.5:
                # composite the (partially) opaque pixel over white
                rgb = [round(255 * (c * a + (1 - a))) for c in (r, g, b)]
                if rgb == [255, 0, 0]:
                    rgb = [254, 0, 0]
                row.append(tuple(rgb))
            else:
                row.append((255, 0, 0))
        rows.append(row)
    return rows


def write_bmp24(path, rows):
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        data += line
    hdr = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(hdr + info + data)


# --------------------------------------------------------------------------
# Icons
# --------------------------------------------------------------------------
def picture_frame(size):
    """A framed brick-wall picture, the application's main motif."""
    im = Img(size, size)
    if size >= 48:
        x0, y0, x1, y1, mat, inner = 2, 6, 45, 41, 3, (5, 5, 3)
    elif size >= 32:
        x0, y0, x1, y1, mat, inner = 1, 4, 30, 27, 2, (4, 4, 2)
    else:
        x0, y0, x1, y1, mat, inner = 0, 1, 13, 12, 1, (2, 2, 1)
    # outer border
    im.fill_rect(x0, y0, x1, y1, hexc('#888a85'))
    for y in range(y0 + 1, y1):
        for x in range(x0 + 1, x1):
            im.set(x, y, mix(hexc('#ffffff'), hexc('#e6e7e3'), (y - y0) / (y1 - y0)))
    ix0, iy0 = x0 + 1 + mat, y0 + 1 + mat
    ix1, iy1 = x1 - 1 - mat, y1 - 1 - mat
    im.fill_rect(ix0, iy0, ix1, iy1, hexc('#2e3436'))
    bw = {48: 12, 32: 8}.get(size, 5)
    bh = {48: 6, 32: 5}.get(size, 3)
    wall = brick_tile(ix1 - ix0 - 1, iy1 - iy0 - 1, bh, bw)
    im.over(wall, ix0 + 1, iy0 + 1)
    return im


def app_icon(size):
    im = picture_frame(size)
    if size == 16:
        mag = pixel_art(MAGNIFIER_SMALL, MAG_PAL)
        im.over(mag, 6, 6)
        return im
    else:
        mag = tango({48: 32, 32: 22}[size], 'actions/system-search')
    im.over(mag, size - mag.w, size - mag.h)
    return im


def doc_icon(size):
    page = tango(size, 'mimetypes/text-x-generic')
    m = {48: 30, 32: 22, 16: 11}[size]
    mini = app_icon_scaled(m)
    if size == 16:
        page.fill_rect(2, 12, 4, 13, (1, 1, 1, 1))  # no text line peeking out
    page.over(mini, size - m, size - m)
    return page


def app_icon_scaled(m):
    """The application icon drawn at a small odd size (for the file icon)."""
    im = Img(m, m)
    frame_h = m * 3 // 4 if m >= 20 else m - 1
    y0 = (m - frame_h) // 2
    im.fill_rect(0, y0, m - 1, y0 + frame_h - 1, hexc('#888a85'))
    im.fill_rect(1, y0 + 1, m - 2, y0 + frame_h - 2, hexc('#ffffff'))
    mat = 0 if m < 14 else (1 if m < 20 else 2)
    ix0, iy0, ix1, iy1 = 1 + mat, y0 + 1 + mat, m - 2 - mat, y0 + frame_h - 2 - mat
    im.fill_rect(ix0, iy0, ix1, iy1, hexc('#2e3436'))
    bw, bh = (7, 4) if m >= 20 else (5, 3)
    im.over(brick_tile(ix1 - ix0 - 1, iy1 - iy0 - 1, bh, bw), ix0 + 1, iy0 + 1)
    if m >= 20:
        ms = m * 2 // 3
        im.over(tango(ms, 'actions/system-search'), m - ms, m - ms)
    return im


def write_ico(path, images):
    """Writes a multi-image .ico with 32-bit BGRA DIB entries."""
    entries = []
    blobs = []
    for im in images:
        w, h = im.w, im.h
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = im.get(x, y)
                xor += bytes((round(b * 255), round(g * 255), round(r * 255), round(a * 255)))
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(w):
                if im.get(x, y)[3] < 0.5:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        hdr = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(hdr + bytes(xor) + bytes(mask))
        entries.append((w, h))
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    for (w, h), blob in zip(entries, blobs):
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


# --------------------------------------------------------------------------
# Info panel background: 151 x 171, RLE8
# --------------------------------------------------------------------------
BG_W, BG_H = 151, 171
BG_LEVELS = 64


def backg_levels():
    """Per-pixel palette index 0..BG_LEVELS-1 (0 = white)."""
    import math
    idx = []
    for y in range(BG_H):
        row = []
        for x in range(BG_W):
            # diagonal fade from the top-left corner
            d = math.hypot(x / 150.0, y / 118.0)
            t = max(0.0, 1.0 - d) ** 1.6
            # faint brick courses in the header, fading out with t
            bh, bw = 9, 22
            course = y // bh
            off = (bw // 2) if course % 2 else 0
            mortar = (y % bh == bh - 1) or ((x + off) % bw == bw - 1)
            if mortar:
                t = min(1.0, t * 1.22 + 0.02 * (t > 0.05))
            # a soft light band to frame the icon area
            row.append(min(BG_LEVELS - 1, int(round(t * (BG_LEVELS - 1)))))
        idx.append(row)
    return idx


def backg_palette():
    white = (255, 255, 255)
    deep = (148, 176, 212)  # soft Tango sky blue, darkest header tone
    pal = []
    for i in range(BG_LEVELS):
        t = i / (BG_LEVELS - 1)
        pal.append(tuple(round(white[k] * (1 - t) + deep[k] * t) for k in range(3)))
    return pal


def rle8_encode(rows):
    """BI_RLE8 encoding of bottom-up rows of palette indices."""
    out = bytearray()
    for row in reversed(rows):
        i, n = 0, len(row)
        while i < n:
            # length of run of identical bytes
            j = i
            while j < n and j - i < 255 and row[j] == row[i]:
                j += 1
            run = j - i
            if run >= 3 or n - i < 3:
                # encoded mode (short tails also go encoded)
                if run >= 1:
                    out += bytes((run, row[i]))
                    i = j
                continue
            # absolute mode: gather literals until a run of >= 3 starts
            k = i
            while k < n and k - i < 255:
                if k + 2 < n and row[k] == row[k + 1] == row[k + 2]:
                    break
                k += 1
            lit = row[i:k]
            if len(lit) < 3:
                for v in lit:
                    out += bytes((1, v))
            else:
                out += bytes((0, len(lit))) + bytes(lit)
                if len(lit) % 2:
                    out += b'\0'
            i = k
        out += b'\0\0'  # end of line
    out[-2:] = b'\0\1'  # end of bitmap replaces the last end of line
    return bytes(out)


def rle8_decode(data, w, h):
    rows = [[0] * w for _ in range(h)]
    x = y = 0
    i = 0
    while i < len(data):
        a, b = data[i], data[i + 1]
        i += 2
        if a > 0:
            for _ in range(a):
                rows[y][x] = b
                x += 1
        elif b == 0:
            x, y = 0, y + 1
        elif b == 1:
            break
        elif b == 2:
            x += data[i]
            y += data[i + 1]
            i += 2
        else:
            for k in range(b):
                rows[y][x] = data[i + k]
                x += 1
            i += b + (b & 1)
    return list(reversed(rows))


def write_backg(path):
    rows = backg_levels()
    pal = backg_palette()
    data = rle8_encode(rows)
    assert rle8_decode(data, BG_W, BG_H) == rows, 'RLE8 round trip failed'
    used = len(set(v for r in rows for v in r))
    assert used <= 76, used
    ncol = len(pal)
    paldata = b''.join(bytes((b, g, r, 0)) for (r, g, b) in pal)
    off = 14 + 40 + len(paldata)
    hdr = struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, BG_W, BG_H, 1, 8, 1, len(data), 2835, 2835, ncol, ncol)
    with open(path, 'wb') as f:
        f.write(hdr + info + paldata + data)
    return rows, pal


# --------------------------------------------------------------------------
def main():
    pics = {}
    for size, suffix in ((16, 's'), (32, '')):
        pics['filepic' + suffix] = file_pic(size)
        for kind, stem in (('tex', 'text'), ('spr', 'sprite'), ('unk', 'unknow')):
            pics[stem + 'dirpic' + suffix] = folder_pic(kind, size)
            pics[stem + 'docpic' + suffix] = doc_pic(kind, size)
    for name, im in pics.items():
        write_bmp24(os.path.join(OUT, name + '.bmp'), to_tree_rgb(im))
    write_ico(os.path.join(OUT, 'tessarine.ico'), [app_icon(s) for s in (16, 32, 48)])
    write_ico(os.path.join(OUT, 'wl6file.ico'), [doc_icon(s) for s in (16, 32, 48)])
    write_backg(os.path.join(OUT, 'backg.bmp'))
    print('wrote %d tree pictures, 2 icons and backg.bmp to %s' % (len(pics), OUT))


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/env python3
"""Checks the formats of Tessarine's bitmaps/icons and renders a contact sheet.

usage: check_artwork.py [SHEET.png]
Python 3 standard library only; /usr/bin/convert is used to build the sheet.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.normpath(os.path.join(HERE, '..'))
CONVERT = os.environ.get('IM_CONVERT', '/usr/bin/convert')

TREE = ['filepic', 'textdirpic', 'spritedirpic', 'unknowdirpic',
        'textdocpic', 'spritedocpic', 'unknowdocpic']
RED = (255, 0, 0)
problems = []


def fail(msg):
    problems.append(msg)
    print('FAIL:', msg)


def read_bmp(path):
    d = open(path, 'rb').read()
    magic, fsize, _, _, off = struct.unpack_from('<2sIHHI', d, 0)
    (hsz, w, h, planes, bpp, comp, isz, _, _, clr_used, _) = struct.unpack_from('<IiiHHIIiiII', d, 14)
    return d, dict(magic=magic, fsize=fsize, off=off, hsz=hsz, w=w, h=h, planes=planes,
                   bpp=bpp, comp=comp, isz=isz, clr_used=clr_used)


def bmp24_pixels(d, hd):
    w, h = hd['w'], hd['h']
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h):
        o = hd['off'] + (h - 1 - y) * stride
        rows.append([(d[o + 3 * x + 2], d[o + 3 * x + 1], d[o + 3 * x]) for x in range(w)])
    return rows


def check_tree(name, size):
    path = os.path.join(RES, name + '.bmp')
    d, hd = read_bmp(path)
    ok = (hd['magic'] == b'BM' and hd['hsz'] == 40 and hd['w'] == size and hd['h'] == size
          and hd['bpp'] == 24 and hd['comp'] == 0 and hd['planes'] == 1
          and hd['fsize'] == len(d) == 54 + size * ((size * 3 + 3) & ~3))
    if not ok:
        fail('%s header %r' % (name, hd))
    rows = bmp24_pixels(d, hd)
    red = sum(1 for r in rows for p in r if p == RED)
    # every border pixel that is red must be connected to the outside: we only
    # require that there is some transparency and that the shape is not empty
    if red == 0 or red == size * size:
        fail('%s: %d transparent pixels' % (name, red))
    # near-red shape pixels would look like fringes on a red key
    near = sum(1 for r in rows for p in r
               if p != RED and p[0] > 200 and p[1] < 40 and p[2] < 40)
    if near:
        fail('%s: %d near-red pixels' % (name, near))
    print('%-18s %dx%d 24bpp BI_RGB  transparent px: %d' % (name + '.bmp', size, size, red))
    return rows


def check_ico(name):
    path = os.path.join(RES, name)
    d = open(path, 'rb').read()
    res, typ, n = struct.unpack_from('<HHH', d, 0)
    if (res, typ) != (0, 1):
        fail('%s: not an icon' % name)
    sizes = []
    images = []
    for i in range(n):
        w, h, cc, _, planes, bpp, blen, off = struct.unpack_from('<BBBBHHII', d, 6 + 16 * i)
        w = w or 256
        h = h or 256
        hsz, bw, bh, _, bbpp, comp = struct.unpack_from('<IiiHHI', d, off)
        if (bw, bh, bbpp, comp, bpp) != (w, 2 * h, 32, 0, 32) or off + blen > len(d):
            fail('%s entry %d bad' % (name, i))
        px = []
        for y in range(h):
            o = off + 40 + (h - 1 - y) * w * 4
            px.append([(d[o + 4 * x + 2], d[o + 4 * x + 1], d[o + 4 * x], d[o + 4 * x + 3])
                       for x in range(w)])
        sizes.append(w)
        images.append(px)
    if sorted(sizes) != [16, 32, 48]:
        fail('%s sizes %r' % (name, sizes))
    print('%-18s sizes %s, 32-bit BGRA + AND mask' % (name, sizes))
    return images


def check_backg():
    d, hd = read_bmp(os.path.join(RES, 'backg.bmp'))
    if (hd['w'], hd['h'], hd['bpp'], hd['comp']) != (151, 171, 8, 1):
        fail('backg header %r' % hd)
    ncol = hd['clr_used'] or 256
    pal = [(d[54 + 4 * i + 2], d[54 + 4 * i + 1], d[54 + 4 * i]) for i in range(ncol)]
    data = d[hd['off']:hd['off'] + hd['isz']]
    if hd['off'] + hd['isz'] != len(d):
        fail('backg size fields inconsistent')
    # independent RLE8 decoder (bottom-up)
    w, h = hd['w'], hd['h']
    rows = [[None] * w for _ in range(h)]
    x = y = i = 0
    ended = False
    while i + 1 < len(data):
        a, b = data[i], data[i + 1]
        i += 2
        if a:
            if x + a > w:
                fail('backg: run past end of line at row %d' % y)
                break
            for _ in range(a):
                rows[y][x] = b
                x += 1
        elif b == 0:
            if x != w:
                fail('backg: short line %d (%d px)' % (y, x))
            x, y = 0, y + 1
        elif b == 1:
            ended = True
            break
        elif b == 2:
            x += data[i]
            y += data[i + 1]
            i += 2
        else:
            if x + b > w:
                fail('backg: literal past end of line')
                break
            for k in range(b):
                rows[y][x] = data[i + k]
                x += 1
            i += b + (b & 1)
    if not ended or y != h - 1 or x != w:
        fail('backg: bad end of bitmap (y=%d x=%d ended=%s)' % (y, x, ended))
    if any(v is None or v >= ncol for r in rows for v in r):
        fail('backg: undefined pixels or bad indices')
    used = set(v for r in rows for v in r)
    if len(used) > 76:
        fail('backg: %d colours used' % len(used))
    rows = list(reversed(rows))
    img = [[pal[v] for v in r] for r in rows]
    # legibility: the text area (y >= 52) must stay light
    darkest = min(0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2] for r in img[52:] for p in r)
    if darkest < 200:
        fail('backg: text area too dark (luma %.0f)' % darkest)
    # fades to white at the right and bottom edges
    if any(p != (255, 255, 255) for p in [r[-1] for r in img] + img[-1]):
        fail('backg: right/bottom edge is not white')
    print('backg.bmp          151x171 8bpp BI_RLE8, %d colours in table, %d used, '
          '%d bytes of RLE data, darkest luma under y=52: %.0f'
          % (ncol, len(used), len(data), darkest))
    return img


def write_png(path, rows):
    h = len(rows)
    w = len(rows[0])
    raw = b''.join(b'\0' + bytes(c for p in r for c in p) for r in rows)

    def chunk(t, b):
        return struct.pack('>I', len(b)) + t + b + struct.pack('>I', zlib.crc32(t + b) & 0xffffffff)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    sheet = sys.argv[1] if len(sys.argv) > 1 else '/tmp/artwork-sheet.png'
    tiles = []
    for base in TREE:
        for size, suffix in ((16, 's'), (32, '')):
            rows = check_tree(base + suffix, size)
            tiles.append([[p + (0,) if p == RED else p + (255,) for p in r] for r in rows])
    icons = []
    for name in ('tessarine.ico', 'wl6file.ico'):
        icons += check_ico(name)
    bg = check_backg()
    with tempfile.TemporaryDirectory() as td:
        files = []
        for k, t in enumerate(tiles + icons):
            p = os.path.join(td, 't%02d.png' % k)
            write_png(p, t)
            files.append(p)
        bgp = os.path.join(td, 'bg.png')
        write_png(bgp, [[p + (255,) for p in r] for r in bg])
        # sheet 1: the tree pictures at 8x (16 px row, then 32 px row), then at
        # 2x on white and on a blue "selected" background
        rows = []
        for k, (first, scale) in enumerate(((0, 800), (1, 400))):
            cmd = [CONVERT, '-background', 'white']
            for f in files[first:14:2]:
                cmd += ['(', f, '-filter', 'point', '-resize', '%d%%' % scale,
                        '-bordercolor', 'white', '-border', '8', ')']
            rows.append(os.path.join(td, 'row%d.png' % k))
            subprocess.run(cmd + ['+append', rows[-1]], check=True)
        for k, bgc in enumerate(('white', '#3465a4')):
            cmd = [CONVERT, '-background', bgc]
            for f in files[:14]:
                cmd += ['(', f, '-filter', 'point', '-resize', '200%', '-bordercolor', bgc,
                        '-border', '6', ')']
            rows.append(os.path.join(td, 'small%d.png' % k))
            subprocess.run(cmd + ['+append', rows[-1]], check=True)
        subprocess.run([CONVERT, '-background', 'white'] + rows +
                       ['-gravity', 'west', '-append', sheet], check=True)
        # sheet 2: icons at 4x and 1x, and the panel background at 2x with a
        # mock 32 px icon, the red rule and text rows drawn over it
        cmd = [CONVERT, '-background', 'white']
        for f in files[14:]:
            cmd += ['(', f, '-filter', 'point', '-resize', '400%', '-background', 'white',
                    '-gravity', 'center', '-extent', '208x208', ')']
        subprocess.run(cmd + ['+append', os.path.join(td, 'icons.png')], check=True)
        cmd = [CONVERT, '-background', '#d3d7cf']
        for f in files[14:]:
            cmd += ['(', f, '-gravity', 'center', '-extent', '56x56', ')']
        subprocess.run(cmd + ['+append', os.path.join(td, 'icons1.png')], check=True)
        subprocess.run([CONVERT, bgp, '-background', 'white', '-gravity', 'northwest',
                        '-extent', '300x220', '(', files[15], ')', '-geometry', '+14+14',
                        '-composite', '-fill', '#c00000', '-draw', 'line 0,71 299,71',
                        '-fill', 'black', '-font', 'DejaVu-Sans', '-pointsize', '11',
                        '-annotate', '+54+36', 'WOLFWALL.VSW',
                        '-annotate', '+14+64', 'Wall texture  #12',
                        '-pointsize', '11',
                        '-annotate', '+14+92', 'Size: 64 x 64 pixels',
                        '-annotate', '+14+110', 'Offset: 0x0001A200',
                        '-annotate', '+14+128', 'Length: 4096 bytes',
                        '-annotate', '+14+146', 'Page 12 of 663',
                        '-bordercolor', '#888a85', '-border', '1',
                        '-filter', 'point', '-resize', '200%',
                        os.path.join(td, 'panel.png')], check=True)
        sheet2 = os.path.splitext(sheet)[0] + '-icons.png'
        subprocess.run([CONVERT, '-background', 'white', os.path.join(td, 'icons.png'),
                        os.path.join(td, 'icons1.png'), os.path.join(td, 'panel.png'),
                        '-gravity', 'west', '-append', sheet2], check=True)
    print('icon/panel sheet:', sheet2)
    print('contact sheet:', sheet)
    if problems:
        print('%d problem(s)' % len(problems))
        return 1
    print('all checks passed')
    return 0


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/python3
"""Verifies the rendered artwork in assets/rendered/.

    /usr/bin/python3 assets/check_rendered.py [--dir DIR] [--rerender]

Checks every file's container format, pixel size and colour depth, walks
each .ico directory entry by entry (header fields, payload sizes, layout),
decodes app.ico by hand and compares it with app.png, and checks that
artwork.qrc lists exactly the rendered files.  --rerender additionally runs
render.py into a temporary directory and requires byte-identical output.

Prints one line per problem and exits 1 if there were any.
"""

import io
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))

SIZE_BUDGET = 600 * 1024
APP_ICO_BYTES = 9662
PNG_MAGIC = b"\x89PNG\r\n\x1a\n"

# name -> (PIL format, size, mode)
RASTERS = {
    "skin1.jpg": ("JPEG", (550, 380), "RGB"),
    "skin2.jpg": ("JPEG", (550, 380), "RGB"),
    "skin3.jpg": ("JPEG", (550, 380), "RGB"),
    "skin4.jpg": ("JPEG", (550, 380), "RGB"),
    "skin5.jpg": ("JPEG", (550, 380), "RGB"),
    "tab1.png": ("PNG", (128, 128), "RGBA"),
    "tab2.png": ("PNG", (56, 56), "RGBA"),
    "tab3.png": ("PNG", (50, 45), "RGBA"),
    "tab4.png": ("PNG", (56, 56), "RGBA"),
    "skin_button.png": ("PNG", (26, 18), "RGBA"),
    "banner.png": ("PNG", (280, 48), "RGBA"),
    "menu_icons.png": ("PNG", (256, 15), "RGBA"),
    "app.png": ("PNG", (48, 48), "RGBA"),
}

_SQ = lambda *sizes: [(s, 32) for s in sizes]
# name -> sorted list of (edge, bits per pixel) that must be present
ICONS = {
    "contact.ico": _SQ(16, 20, 24, 32, 40, 48, 64, 256),
    "site.ico": _SQ(32),
    "shop.ico": _SQ(16),
    "search.ico": _SQ(16, 20, 24, 32, 40, 48, 64, 128, 256),
    "app.ico": [(48, 32)],
    "hotkey.ico": [(48, 8)],
    "name.ico": [(s, b) for b in (1, 4, 8, 32) for s in (16, 32, 48)] + [(128, 32)],
}
# icons whose entries must all be classic DIBs rather than PNG
DIB_ONLY = {"app.ico", "hotkey.ico", "name.ico", "site.ico", "shop.ico"}


class Report:
    def __init__(self):
        self.problems = []

    def fail(self, name, msg):
        self.problems.append("%s: %s" % (name, msg))

    def expect(self, cond, name, msg):
        if not cond:
            self.fail(name, msg)
        return cond


def check_raster(rep, d, name, fmt, size, mode):
    path = os.path.join(d, name)
    try:
        with Image.open(path) as im:
            im.load()
            rep.expect(im.format == fmt, name, "format %s, want %s" % (im.format, fmt))
            rep.expect(im.size == size, name, "size %s, want %s" % (im.size, size))
            rep.expect(im.mode == mode, name, "mode %s, want %s" % (im.mode, mode))
            if im.mode == "RGBA":
                lo, hi = im.getchannel("A").getextrema()
                rep.expect(hi == 255, name, "nothing is fully opaque")
                rep.expect(lo < 255, name, "alpha channel is never used")
            else:
                lo, hi = im.convert("L").getextrema()
                rep.expect(hi - lo >= 8, name, "picture is a flat fill")
    except (OSError, SyntaxError) as e:
        rep.fail(name, "cannot decode: %s" % e)


def dib_expected_size(w, h, bpp):
    palette = 4 * (1 << bpp) if bpp <= 8 else 0
    xor = ((w * bpp + 31) // 32) * 4 * h
    andm = ((w + 31) // 32) * 4 * h
    return 40 + palette + xor + andm, xor, andm


def parse_ico(rep, name, data):
    """Returns a list of dicts, one per directory entry, or None."""
    if len(data) < 6:
        rep.fail(name, "shorter than an icon directory")
        return None
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if not rep.expect(reserved == 0 and kind == 1 and count > 0, name,
                      "bad ICONDIR (reserved=%d type=%d count=%d)" % (reserved, kind, count)):
        return None
    if len(data) < 6 + 16 * count:
        rep.fail(name, "directory runs past the end of the file")
        return None
    entries = []
    expect_offset = 6 + 16 * count
    for i in range(count):
        w, h, colors, res, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        tag = "%s[%d]" % (name, i)
        rep.expect(res == 0, tag, "reserved byte is %d" % res)
        rep.expect(offset == expect_offset, tag, "payload at %d, want %d (packed in order)" % (offset, expect_offset))
        expect_offset = offset + size
        if not rep.expect(offset + size <= len(data), tag, "payload runs past the end of the file"):
            return None
        blob = data[offset:offset + size]
        e = {"w": w, "h": h, "bpp": bpp, "blob": blob, "png": blob[:8] == PNG_MAGIC}
        if e["png"]:
            try:
                im = Image.open(io.BytesIO(blob))
                im.load()
                rep.expect(im.size == (w, h), tag, "PNG is %s, directory says %dx%d" % (im.size, w, h))
                rep.expect(im.mode == "RGBA", tag, "PNG mode %s, want RGBA" % im.mode)
            except (OSError, SyntaxError) as ex:
                rep.fail(tag, "embedded PNG does not decode: %s" % ex)
        else:
            if not rep.expect(len(blob) >= 40, tag, "payload shorter than BITMAPINFOHEADER"):
                return None
            (bi_size, bi_w, bi_h, bi_planes, bi_bpp, bi_comp, bi_image,
             _, _, bi_used, _) = struct.unpack_from("<IiiHHIIiiII", blob, 0)
            rep.expect(bi_size == 40, tag, "biSize %d" % bi_size)
            rep.expect(bi_w == w and bi_h == 2 * h, tag,
                       "bitmap %dx%d, want %dx%d" % (bi_w, bi_h, w, 2 * h))
            rep.expect(bi_planes == 1 and planes == 1, tag, "planes %d/%d" % (planes, bi_planes))
            rep.expect(bi_bpp == bpp, tag, "biBitCount %d, directory says %d" % (bi_bpp, bpp))
            rep.expect(bi_comp == 0, tag, "compressed bitmap (%d)" % bi_comp)
            rep.expect(bi_used == 0, tag, "biClrUsed %d" % bi_used)
            want, xor, andm = dib_expected_size(w, h, bpp)
            rep.expect(len(blob) == want, tag, "payload %d bytes, want %d" % (len(blob), want))
            rep.expect(bi_image in (0, xor + andm), tag, "biSizeImage %d" % bi_image)
            want_colors = {1: 2, 4: 16}.get(bpp, 0)
            rep.expect(colors == want_colors, tag, "colour count %d, want %d" % (colors, want_colors))
        entries.append(e)
    rep.expect(expect_offset == len(data), name,
               "%d trailing bytes after the last image" % (len(data) - expect_offset))
    return entries


def decode_dib32(blob, w, h):
    """Straight BGRA rows, bottom-up, followed by the AND mask."""
    stride = w * 4
    mstride = ((w + 31) // 32) * 4
    px = blob[40:40 + stride * h]
    mask = blob[40 + stride * h:]
    pixels, masked = [], []
    for y in range(h):
        row = px[(h - 1 - y) * stride:(h - y) * stride]
        mrow = mask[(h - 1 - y) * mstride:(h - y) * mstride]
        for x in range(w):
            b, g, r, a = row[4 * x:4 * x + 4]
            pixels.append((r, g, b, a))
            masked.append((mrow[x // 8] >> (7 - x % 8)) & 1)
    return pixels, masked


def check_icon(rep, d, name, want):
    path = os.path.join(d, name)
    with open(path, "rb") as f:
        data = f.read()
    if name == "app.ico":
        rep.expect(len(data) == APP_ICO_BYTES, name, "%d bytes, want %d" % (len(data), APP_ICO_BYTES))
    entries = parse_ico(rep, name, data)
    if entries is None:
        return
    got = sorted((e["w"], e["bpp"]) for e in entries)
    rep.expect(all(e["w"] == e["h"] for e in entries), name, "non-square image")
    rep.expect(got == sorted(want), name, "images %s, want %s" % (got, sorted(want)))
    if name in DIB_ONLY:
        rep.expect(not any(e["png"] for e in entries), name, "contains PNG-compressed images")
    try:
        with Image.open(path) as im:
            im.load()
            rep.expect(im.format == "ICO", name, "PIL reads it as %s" % im.format)
    except (OSError, SyntaxError) as e:
        rep.fail(name, "PIL cannot decode: %s" % e)

    if name == "app.ico":
        e = entries[0]
        if e["png"] or e["bpp"] != 32 or e["w"] != 48:
            return
        pixels, masked = decode_dib32(e["blob"], 48, 48)
        alphas = [p[3] for p in pixels]
        rep.expect(min(alphas) == 0 and max(alphas) == 255, name, "alpha range %d..%d" % (min(alphas), max(alphas)))
        bad = sum(1 for p, m in zip(pixels, masked) if (p[3] == 0) != bool(m))
        rep.expect(bad == 0, name, "AND mask disagrees with alpha at %d pixels" % bad)
        try:
            with Image.open(os.path.join(d, "app.png")) as png:
                ref = list(png.convert("RGBA").getdata())
            diff = sum(1 for p, q in zip(pixels, ref) if p != q and not (p[3] == 0 and q[3] == 0))
            rep.expect(diff == 0, name, "differs from app.png at %d pixels" % diff)
        except OSError as ex:
            rep.fail(name, "cannot compare with app.png: %s" % ex)


def check_qrc(rep, d, expected):
    name = "artwork.qrc"
    try:
        root = ET.parse(os.path.join(d, name)).getroot()
    except (OSError, ET.ParseError) as e:
        rep.fail(name, "cannot parse: %s" % e)
        return
    res = root.findall("qresource")
    if not rep.expect(root.tag == "RCC" and len(res) == 1, name, "want one <qresource> inside <RCC>"):
        return
    rep.expect(res[0].get("prefix") == "/artwork", name, "prefix %r" % res[0].get("prefix"))
    listed, aliases = [], []
    for f in res[0].findall("file"):
        listed.append(f.text)
        aliases.append(f.get("alias"))
        rep.expect(bool(f.get("alias")), name, "%s has no alias" % f.text)
        rep.expect(os.path.isfile(os.path.join(d, f.text or "")), name, "lists missing file %s" % f.text)
    rep.expect(len(set(aliases)) == len(aliases), name, "duplicate aliases")
    rep.expect(sorted(listed) == sorted(expected), name,
               "lists %s, want %s" % (sorted(listed), sorted(expected)))


def check_rerender(rep, d):
    with tempfile.TemporaryDirectory() as tmp:
        run = subprocess.run([sys.executable, os.path.join(HERE, "render.py"), "--out", tmp],
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if not rep.expect(run.returncode == 0, "render.py", "failed: %s" % run.stderr.decode(errors="replace")):
            return
        for f in sorted(os.listdir(tmp)):
            with open(os.path.join(tmp, f), "rb") as a:
                fresh = a.read()
            try:
                with open(os.path.join(d, f), "rb") as b:
                    kept = b.read()
            except OSError:
                rep.fail(f, "produced by render.py but missing here")
                continue
            rep.expect(fresh == kept, f, "re-rendering gives different bytes")


def main(argv):
    d = os.path.join(HERE, "rendered")
    rerender = False
    args = argv[1:]
    while args:
        a = args.pop(0)
        if a == "--dir" and args:
            d = os.path.abspath(args.pop(0))
        elif a == "--rerender":
            rerender = True
        else:
            print(__doc__.strip(), file=sys.stderr)
            return 2

    rep = Report()
    expected = sorted(list(RASTERS) + list(ICONS))
    for name in expected + ["artwork.qrc"]:
        rep.expect(os.path.isfile(os.path.join(d, name)), name, "missing")
    for name, (fmt, size, mode) in RASTERS.items():
        if os.path.isfile(os.path.join(d, name)):
            check_raster(rep, d, name, fmt, size, mode)
    for name, want in ICONS.items():
        if os.path.isfile(os.path.join(d, name)):
            check_icon(rep, d, name, want)
    if os.path.isfile(os.path.join(d, "artwork.qrc")):
        check_qrc(rep, d, expected)
    present = [f for f in os.listdir(d) if os.path.isfile(os.path.join(d, f))] if os.path.isdir(d) else []
    total = sum(os.path.getsize(os.path.join(d, f)) for f in present)
    rep.expect(total <= SIZE_BUDGET, "rendered/", "%d bytes, budget %d" % (total, SIZE_BUDGET))
    extra = sorted(set(present) - set(expected) - {"artwork.qrc"})
    rep.expect(not extra, "rendered/", "unexpected files %s" % extra)
    if rerender:
        check_rerender(rep, d)

    for p in rep.problems:
        print("FAIL " + p)
    if rep.problems:
        print("%d problem(s)" % len(rep.problems))
        return 1
    print("ok: %d files, %d bytes" % (len(present), total))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

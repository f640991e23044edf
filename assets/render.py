#!/usr/bin/python3
"""Draws all of Tavrik's bundled artwork from code.

Run with Debian's interpreter (python3-pil):

    /usr/bin/python3 assets/render.py

Everything lands in assets/rendered/ together with artwork.qrc (or in DIR
with --out DIR).  Drawing is fully deterministic: no clocks, no unseeded
randomness, and the encoders are given fixed options, so re-running
produces byte-identical files.

Small pictures are drawn at several times their final size and reduced with
LANCZOS, which gives clean antialiased edges.  The .ico containers are
written by hand (ico_file) so that the colour depth and layout of every
entry is under our control.
"""

import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, ImageMath

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "rendered")
FONT_DIR = "/usr/share/fonts/opentype/noto"
FACE_SC = 2  # index of the Simplified Chinese face inside the Noto CJK collections

BRAND = (0, 136, 255)

# --------------------------------------------------------------------------
# drawing toolkit
# --------------------------------------------------------------------------

_font_cache = {}


def font(px, bold=True):
    key = (max(1, int(round(px))), bold)
    if key not in _font_cache:
        name = "NotoSansCJK-Bold.ttc" if bold else "NotoSansCJK-Regular.ttc"
        _font_cache[key] = ImageFont.truetype(os.path.join(FONT_DIR, name), key[0], index=FACE_SC)
    return _font_cache[key]


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    c0 = tuple(c0) + (255,) * (4 - len(c0))
    c1 = tuple(c1) + (255,) * (4 - len(c1))
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c0, c1))


def rgba(c, a=None):
    c = tuple(c)
    if len(c) == 3:
        c = c + (255,)
    if a is not None:
        c = c[:3] + (int(a),)
    return c


def rotate_pts(pts, angle_deg, cx=0.0, cy=0.0):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + x * ca - y * sa, cy + x * sa + y * ca) for x, y in pts]


def cubic(p0, p1, p2, p3, n=40):
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        x = u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0]
        y = u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]
        pts.append((x, y))
    return pts


def ribbon(pts, widths):
    """Outline polygon of a stroke along pts whose width varies per point."""
    left, right = [], []
    n = len(pts)
    for i, (x, y) in enumerate(pts):
        xa, ya = pts[max(0, i - 1)]
        xb, yb = pts[min(n - 1, i + 1)]
        dx, dy = xb - xa, yb - ya
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / ln, dx / ln
        h = widths[i] / 2
        left.append((x + nx * h, y + ny * h))
        right.append((x - nx * h, y - ny * h))
    return left + right[::-1]


def union(*masks):
    out = masks[0]
    for m in masks[1:]:
        out = ImageChops.lighter(out, m)
    return out


def subtract(a, b):
    return ImageChops.subtract(a, b)


def intersect(a, b):
    return ImageChops.multiply(a, b)


def scale_mask(m, k):
    if k >= 1.0:
        return m
    return m.point(lambda v: int(round(v * k)))


class Canvas:
    """An RGBA surface addressed in final-pixel units, stored oversampled.

    Shape methods return 'L' coverage masks; fill() composites a colour or
    a gradient through a mask.  result() reduces to the final size.
    """

    def __init__(self, w, h, ss=4, bg=None):
        self.w, self.h, self.s = w, h, ss
        self.size = (int(round(w * ss)), int(round(h * ss)))
        self.im = Image.new("RGBA", self.size, rgba(bg) if bg else (0, 0, 0, 0))
        self._X = self._Y = None

    # ---- masks ------------------------------------------------------------
    def blank(self):
        return Image.new("L", self.size, 0)

    def _p(self, pts):
        s = self.s
        return [(x * s - 0.5, y * s - 0.5) for x, y in pts]

    def _box(self, x0, y0, x1, y1):
        s = self.s
        return [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]

    def ellipse(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        m = self.blank()
        ImageDraw.Draw(m).ellipse(self._box(cx - rx, cy - ry, cx + rx, cy + ry), fill=255)
        return m

    def rect(self, x0, y0, x1, y1, r=0):
        m = self.blank()
        d = ImageDraw.Draw(m)
        if r > 0:
            d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=r * self.s, fill=255)
        else:
            d.rectangle(self._box(x0, y0, x1, y1), fill=255)
        return m

    def poly(self, pts):
        m = self.blank()
        ImageDraw.Draw(m).polygon(self._p(pts), fill=255)
        return m

    def line(self, pts, width, cap=True):
        m = self.blank()
        d = ImageDraw.Draw(m)
        w = width * self.s
        d.line(self._p(pts), fill=255, width=max(1, int(round(w))), joint="curve")
        if cap:
            r = width / 2
            for (x, y) in (pts[0], pts[-1]):
                d.ellipse(self._box(x - r, y - r, x + r, y + r), fill=255)
        return m

    def arc(self, cx, cy, r, a0, a1, width, cap=True):
        """Stroke along a circle of radius r (PIL angles: 0 = east, clockwise)."""
        n = max(8, int(abs(a1 - a0) / 2))
        pts = [(cx + r * math.cos(math.radians(lerp(a0, a1, i / n))),
                cy + r * math.sin(math.radians(lerp(a0, a1, i / n)))) for i in range(n + 1)]
        m = self.poly(ribbon(pts, [width] * len(pts)))
        if cap:
            for (x, y) in (pts[0], pts[-1]):
                m = union(m, self.ellipse(x, y, width / 2))
        return m

    def ring(self, cx, cy, r, width):
        return subtract(self.ellipse(cx, cy, r + width / 2), self.ellipse(cx, cy, r - width / 2))

    def text(self, x, y, s, px, bold=True, stroke=0.0, anchor="ink"):
        """Text mask; anchor 'ink' centres the actual glyph ink on (x, y)."""
        m = self.blank()
        d = ImageDraw.Draw(m)
        f = font(px * self.s, bold)
        sw = int(round(stroke * self.s))
        if anchor == "ink":
            l, t, r, b = d.textbbox((0, 0), s, font=f, anchor="lt", stroke_width=sw)
            ox = x * self.s - (l + r) / 2
            oy = y * self.s - (t + b) / 2
            d.text((ox, oy), s, fill=255, font=f, anchor="lt", stroke_width=sw, stroke_fill=255)
        else:
            d.text((x * self.s, y * self.s), s, fill=255, font=f, anchor=anchor,
                   stroke_width=sw, stroke_fill=255)
        return m

    def text_width(self, s, px, bold=True):
        l, t, r, b = ImageDraw.Draw(self.blank()).textbbox((0, 0), s, font=font(px * self.s, bold), anchor="lt")
        return (r - l) / self.s

    def blur(self, m, radius):
        return m.filter(ImageFilter.GaussianBlur(radius * self.s))

    def shift(self, m, dx, dy):
        out = self.blank()
        out.paste(m, (int(round(dx * self.s)), int(round(dy * self.s))))
        return out

    def dilate(self, m, px):
        """Grow a mask by roughly px final pixels, with rounded corners."""
        sigma = max(0.5, px * self.s / 2.05)
        return m.filter(ImageFilter.GaussianBlur(sigma)).point(lambda v: 255 if v > 5 else 0)

    def erode(self, m, px):
        return ImageChops.invert(self.dilate(ImageChops.invert(m), px))

    # ---- paints -----------------------------------------------------------
    def _xy(self):
        if self._X is None:
            W, H = self.size
            xs = Image.new("F", (W, 1))
            xs.putdata([(i + 0.5) / self.s for i in range(W)])
            ys = Image.new("F", (1, H))
            ys.putdata([(j + 0.5) / self.s for j in range(H)])
            self._X = xs.resize((W, H), Image.NEAREST)
            self._Y = ys.resize((W, H), Image.NEAREST)
        return self._X, self._Y

    @staticmethod
    def _ramp(stops, t):
        stops = [(p, rgba(c)) for p, c in stops]
        luts = [[], [], [], []]
        for i in range(256):
            u = i / 255
            if u <= stops[0][0]:
                c = stops[0][1]
            elif u >= stops[-1][0]:
                c = stops[-1][1]
            else:
                for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
                    if p0 <= u <= p1:
                        c = mix(c0, c1, (u - p0) / ((p1 - p0) or 1))
                        break
            for k in range(4):
                luts[k].append(c[k])
        return Image.merge("RGBA", [t.point(l) for l in luts])

    def linear(self, stops, p0, p1):
        X, Y = self._xy()
        dx, dy = p1[0] - p0[0], p1[1] - p0[1]
        l2 = dx * dx + dy * dy
        a, b = dx / l2 * 255, dy / l2 * 255
        c = -(p0[0] * dx + p0[1] * dy) / l2 * 255
        t = ImageMath.eval("convert(min(max(X*a+Y*b+c,0),255),'L')", X=X, Y=Y, a=a, b=b, c=c)
        return self._ramp(stops, t)

    def radial(self, stops, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        X, Y = self._xy()
        t = ImageMath.eval(
            "convert(min((((X-cx)/rx)*((X-cx)/rx)+((Y-cy)/ry)*((Y-cy)/ry))**0.5*255,255),'L')",
            X=X, Y=Y, cx=cx, cy=cy, rx=rx, ry=ry)
        return self._ramp(stops, t)

    # ---- compositing ------------------------------------------------------
    def fill(self, mask, paint, opacity=1.0):
        if isinstance(paint, Image.Image):
            layer = paint.copy()
            a = ImageChops.multiply(layer.getchannel("A"), mask)
        else:
            c = rgba(paint)
            layer = Image.new("RGBA", self.size, c[:3] + (255,))
            a = scale_mask(mask, c[3] / 255)
        if opacity < 1.0:
            a = scale_mask(a, opacity)
        layer.putalpha(a)
        self.im.alpha_composite(layer)

    def shadow(self, mask, dx=0.0, dy=1.0, radius=1.0, color=(0, 0, 0, 80)):
        self.fill(self.blur(self.shift(mask, dx, dy), radius), color)

    def erase(self, mask):
        """Cut mask out of everything drawn so far."""
        a = ImageChops.multiply(self.im.getchannel("A"), ImageChops.invert(mask))
        self.im.putalpha(a)

    def coverage(self):
        return self.im.getchannel("A")

    def result(self):
        return self.im.resize((self.w, self.h), Image.LANCZOS)


# --------------------------------------------------------------------------
# reusable motifs
# --------------------------------------------------------------------------

def leaf_pts(cx, cy, length, width, angle, bend=0.15, n=24):
    """A pointed leaf, base at the start, tip at the end, centred on (cx, cy)."""
    top, bot = [], []
    for i in range(n + 1):
        t = i / n
        x = (t - 0.5) * length
        w = width / 2 * (math.sin(math.pi * t) ** 0.9) * (1.0 - 0.25 * t)
        yc = bend * length * (t - 0.5) ** 2 * 2 - bend * length * 0.25
        top.append((x, yc - w))
        bot.append((x, yc + w))
    pts = top + bot[::-1]
    return rotate_pts(pts, angle, cx, cy)


def leaf_midrib(cx, cy, length, angle, bend=0.15, n=16):
    pts = []
    for i in range(n + 1):
        t = 0.04 + 0.86 * i / n
        x = (t - 0.5) * length
        yc = bend * length * (t - 0.5) ** 2 * 2 - bend * length * 0.25
        pts.append((x, yc))
    return rotate_pts(pts, angle, cx, cy)


def note_head(cx, cy, rx, ry, tilt=-22):
    return rotate_pts([(math.cos(t * math.pi / 24) * rx, math.sin(t * math.pi / 24) * ry)
                       for t in range(48)], tilt, cx, cy)


def pencil(c, tip, tail, width, mono=False):
    """Draws a pencil from its graphite tip to the end of its eraser."""
    (tx, ty), (ex, ey) = tip, tail
    L = math.hypot(ex - tx, ey - ty)
    ux, uy = (ex - tx) / L, (ey - ty) / L
    nx, ny = -uy, ux
    h = width / 2

    def P(a, b):  # a along the pencil from the tip, b across it
        return (tx + ux * a + nx * b, ty + uy * a + ny * b)

    cone = 0.24 * L
    body0, body1 = cone, 0.80 * L
    ferr1 = 0.87 * L
    wood = c.poly([P(0, 0), P(cone, -h), P(cone, h)])
    lead = c.poly([P(0, 0), P(cone * 0.38, -h * 0.38), P(cone * 0.38, h * 0.38)])
    body = c.poly([P(body0, -h), P(body1, -h), P(body1, h), P(body0, h)])
    ferrule = c.poly([P(body1, -h), P(ferr1, -h), P(ferr1, h), P(body1, h)])
    eraser = union(c.poly([P(ferr1, -h), P(L - h * 0.6, -h), P(L - h * 0.6, h), P(ferr1, h)]),
                   c.line([P(L - h * 0.6, -h * 0.4), P(L - h * 0.6, h * 0.4)], h * 1.2))
    whole = union(wood, body, ferrule, eraser)
    if mono:
        c.fill(c.dilate(whole, max(0.8, width * 0.12)), (0, 0, 0))
        c.fill(whole, (255, 255, 255))
        c.fill(lead, (0, 0, 0))
        edge = c.line([P(body0, 0), P(body1, 0)], max(0.6, width * 0.1), cap=False)
        c.fill(edge, (0, 0, 0))
        c.fill(c.line([P(body1, -h), P(body1, h)], max(0.6, width * 0.1), cap=False), (0, 0, 0))
        return whole
    c.fill(wood, (244, 214, 170))
    c.fill(lead, (60, 60, 70))
    stripes = [(255, 214, 64), (255, 190, 30), (228, 150, 10)]
    for i, col in enumerate(stripes):
        b0 = -h + 2 * h * i / 3
        b1 = -h + 2 * h * (i + 1) / 3
        c.fill(c.poly([P(body0, b0), P(body1, b0), P(body1, b1), P(body0, b1)]), col)
    c.fill(ferrule, c.linear([(0, (225, 228, 235)), (1, (140, 146, 160))], P(0, -h), P(0, h)))
    c.fill(eraser, (245, 120, 140))
    return whole


# --------------------------------------------------------------------------
# skins (550 x 380 JPEG)
# --------------------------------------------------------------------------

SKIN_W, SKIN_H = 550, 380


def skin_elegant():
    c = Canvas(SKIN_W, SKIN_H, ss=2)
    full = c.rect(0, 0, SKIN_W, SKIN_H)
    c.fill(full, c.linear([(0, (242, 238, 230)), (1, (222, 215, 203))], (0, 0), (SKIN_W, SKIN_H)))
    c.fill(full, c.radial([(0, (252, 250, 244, 150)), (1, (252, 250, 244, 0))], 150, 120, 330, 240))

    # ink-wash hills, far to near, fading into mist at their feet
    rnd = random.Random(11)
    layers = [
        (250, 0.55, (150, 150, 146), 70, [(300, 70, 70), (400, 95, 60), (505, 60, 55)]),
        (300, 0.75, (120, 120, 116), 80, [(240, 45, 55), (350, 85, 70), (470, 55, 60), (560, 80, 50)]),
        (345, 1.00, (95, 96, 92), 85, [(180, 25, 50), (290, 60, 55), (420, 95, 75), (540, 55, 45)]),
    ]
    for base, depth, col, alpha, peaks in layers:
        ridge = []
        for i in range(0, 111):
            x = 150 + i * 4
            y = base
            for px_, ph, pw in peaks:
                y -= ph * depth * math.exp(-((x - px_) / pw) ** 2)
            y += math.sin(x * 0.09 + rnd.random() * 0.6) * 1.4
            ridge.append((x, y))
        hill = c.poly(ridge + [(590, 400), (150, 400)])
        # fade the left flank so the hills start softly
        wash = c.linear([(0, rgba(col, 0)), (0.35, rgba(col, alpha)), (1, rgba(col, alpha))], (150, 0), (330, 0))
        mist = c.linear([(0, (255, 255, 255, 255)), (1, (255, 255, 255, 0))],
                        (0, base - 95 * depth), (0, base + 25))
        wash.putalpha(ImageChops.multiply(wash.getchannel("A"), mist.getchannel("A")))
        c.fill(c.blur(hill, 1.6), wash)
        c.fill(full, c.linear([(0, (240, 236, 228, 0)), (1, (240, 236, 228, 150))],
                              (0, base - 20), (0, base + 30)))

    # plum branch reaching in from the upper left
    branch_pts = cubic((-10, 78), (70, 66), (130, 26), (236, 30), 60)
    widths = [lerp(7.0, 1.2, i / (len(branch_pts) - 1)) for i in range(len(branch_pts))]
    ink = (82, 76, 72, 150)
    c.fill(c.blur(c.poly(ribbon(branch_pts, widths)), 0.5), ink)
    twigs = [
        cubic((95, 50), (110, 64), (128, 70), (150, 74), 20),
        cubic((150, 32), (160, 16), (176, 10), (196, 6), 20),
        cubic((40, 70), (56, 92), (62, 104), (80, 118), 20),
    ]
    for tw in twigs:
        wd = [lerp(3.2, 0.8, i / (len(tw) - 1)) for i in range(len(tw))]
        c.fill(c.blur(c.poly(ribbon(tw, wd)), 0.4), ink)
    blossoms = [(118, 40, 8.5), (168, 27, 7.5), (148, 74, 7.0), (208, 22, 6.0), (72, 102, 7.5),
                (60, 64, 6.0), (196, 6, 4.0), (232, 31, 3.5), (82, 118, 4.0), (136, 62, 3.6)]
    for i, (bx, by, r) in enumerate(blossoms):
        r *= 1.25
        if r < 5:  # buds
            c.fill(c.ellipse(bx, by, r * 0.75), (200, 130, 135, 170))
            continue
        petals = c.blank()
        for k in range(5):
            a = math.radians(k * 72 + i * 17)
            petals = union(petals, c.ellipse(bx + math.cos(a) * r * 0.55, by + math.sin(a) * r * 0.55, r * 0.52))
        c.fill(c.blur(petals, 0.4), (222, 170, 172, 165))
        c.fill(c.ellipse(bx, by, r * 0.28), (196, 120, 110, 170))
        for k in range(5):
            a = math.radians(k * 72 + 36 + i * 17)
            c.fill(c.ellipse(bx + math.cos(a) * r * 0.45, by + math.sin(a) * r * 0.45, 0.7), (150, 100, 70, 170))
    return c.result().convert("RGB")


def skin_blue():
    c = Canvas(SKIN_W, SKIN_H, ss=2)
    full = c.rect(0, 0, SKIN_W, SKIN_H)
    c.fill(full, c.linear([(0, (168, 212, 248)), (0.55, (112, 176, 236)), (1, (70, 140, 218))], (0, 0), (120, SKIN_H)))
    c.fill(full, c.radial([(0, (255, 255, 255, 110)), (1, (255, 255, 255, 0))], 90, 30, 300, 170))
    waves = [  # baseline, amplitude, wavelength, phase, fill alpha, crest alpha
        (190, 16, 520, 0.4, 20, 60),
        (225, 20, 460, 2.1, 22, 70),
        (262, 14, 380, 4.0, 26, 80),
        (300, 18, 560, 1.2, 30, 90),
        (338, 12, 420, 3.3, 34, 90),
    ]
    for base, amp, lam, ph, fa, ca in waves:
        crest = []
        for i in range(0, 141):
            x = -10 + i * 4.1
            y = base + amp * math.sin(2 * math.pi * x / lam + ph) + amp * 0.35 * math.sin(2 * math.pi * x / (lam * 0.47) + ph * 1.7)
            crest.append((x, y))
        body = c.poly(crest + [(SKIN_W + 20, SKIN_H + 20), (-20, SKIN_H + 20)])
        c.fill(body, c.linear([(0, (255, 255, 255, fa)), (1, (255, 255, 255, fa // 3))], (0, base - amp), (0, SKIN_H)))
        c.fill(c.blur(c.line(crest, 1.6), 0.6), (255, 255, 255, ca))
    return c.result().convert("RGB")


def skin_green():
    c = Canvas(SKIN_W, SKIN_H, ss=2)
    full = c.rect(0, 0, SKIN_W, SKIN_H)
    c.fill(full, c.linear([(0, (222, 242, 204)), (0.5, (180, 224, 164)), (1, (128, 196, 122))], (0, 0), (SKIN_W, SKIN_H)))
    c.fill(full, c.radial([(0, (255, 255, 230, 120)), (1, (255, 255, 230, 0))], 60, 20, 320, 220))
    rnd = random.Random(23)
    # (cx, cy, length, width, angle, colour, alpha, blur)
    leaves = [
        (520, 40, 150, 56, 150, (70, 150, 60), 90, 2.5),
        (470, -5, 120, 44, 115, (110, 180, 80), 80, 1.5),
        (545, 118, 110, 40, 195, (90, 170, 70), 70, 3.0),
        (420, 40, 90, 32, 160, (150, 205, 110), 70, 0.8),
        (30, 350, 160, 58, -30, (60, 140, 60), 90, 2.0),
        (100, 372, 120, 44, -65, (100, 175, 80), 80, 1.2),
        (-5, 270, 110, 40, 10, (120, 190, 90), 70, 2.5),
        (160, 340, 80, 28, -20, (160, 210, 120), 70, 0.8),
        (330, 300, 44, 16, -40, (255, 255, 240), 40, 0.6),
        (260, 90, 36, 13, 30, (255, 255, 240), 36, 0.6),
        (390, 200, 30, 11, 80, (255, 255, 240), 34, 0.6),
    ]
    for cx, cy, ln, wd, ang, col, al, bl in leaves:
        al = min(255, int(al * 1.25))
        bend = 0.08 + rnd.random() * 0.1
        m = c.blur(c.poly(leaf_pts(cx, cy, ln, wd, ang, bend)), bl)
        shade = c.linear([(0, rgba(mix(col, (255, 255, 255), 0.25), al)), (1, rgba(col, al))],
                         rotate_pts([(-ln / 2, 0)], ang, cx, cy)[0], rotate_pts([(ln / 2, 0)], ang, cx, cy)[0])
        c.fill(m, shade)
        if ln > 60:
            c.fill(c.blur(c.line(leaf_midrib(cx, cy, ln, ang, bend), max(1.0, wd * 0.04)), bl * 0.5),
                   rgba(mix(col, (255, 255, 255), 0.55), int(al * 0.9)))
    return c.result().convert("RGB")


def skin_purple():
    c = Canvas(SKIN_W, SKIN_H, ss=2)
    full = c.rect(0, 0, SKIN_W, SKIN_H)
    c.fill(full, c.linear([(0, (214, 190, 240)), (0.55, (170, 132, 220)), (1, (126, 92, 192))], (0, 0), (SKIN_W * 0.6, SKIN_H)))
    c.fill(full, c.radial([(0, (255, 230, 250, 90)), (1, (255, 230, 250, 0))], 430, 90, 260, 200))
    rnd = random.Random(47)
    for i in range(34):
        r = rnd.choice([6, 9, 12, 16, 22, 30, 40]) * (0.8 + rnd.random() * 0.4)
        x = rnd.random() * (SKIN_W + 40) - 20
        y = rnd.random() * (SKIN_H + 40) - 20
        tint = rnd.choice([(255, 255, 255), (255, 220, 245), (230, 220, 255)])
        a = int(18 + rnd.random() * 34)
        soft = 0.6 + r / 25
        disc = c.ellipse(x, y, r)
        c.fill(c.blur(disc, soft), rgba(tint, a))
        c.fill(c.blur(c.ring(x, y, r - 1.0, 1.6), soft * 0.8), rgba(tint, a // 2 + 8))
    return c.result().convert("RGB")


def skin_default():
    c = Canvas(SKIN_W, SKIN_H, ss=2)
    full = c.rect(0, 0, SKIN_W, SKIN_H)
    c.fill(full, c.linear([(0, (238, 242, 247)), (1, (212, 220, 231))], (0, 0), (0, SKIN_H)))
    # broad diagonal sheen
    c.fill(c.blur(c.poly([(180, -10), (330, -10), (150, 400), (0, 400)]), 40), (255, 255, 255, 90))
    # fine dot grid, strongest towards the lower right
    dots = c.blank()
    d = ImageDraw.Draw(dots)
    s = c.s
    step = 14
    for j in range(0, SKIN_H // step + 2):
        for i in range(0, SKIN_W // step + 2):
            x = i * step + (step / 2 if j % 2 else 0)
            y = j * step + 4
            d.ellipse([(x - 1.1) * s, (y - 1.1) * s, (x + 1.1) * s - 1, (y + 1.1) * s - 1], fill=255)
    fade = c.linear([(0, (150, 168, 190, 0)), (0.5, (150, 168, 190, 40)), (1, (150, 168, 190, 85))],
                    (80, 0), (SKIN_W, SKIN_H))
    c.fill(dots, fade)
    # a pair of very soft arcs for some depth
    c.fill(c.blur(c.ring(560, 400, 230, 2.0), 0.8), (255, 255, 255, 120))
    c.fill(c.blur(c.ring(560, 400, 300, 1.5), 0.8), (255, 255, 255, 90))
    return c.result().convert("RGB")


# --------------------------------------------------------------------------
# tab-strip icons
# --------------------------------------------------------------------------

def speaker_shapes(c, x, y, u):
    """Speaker glyph in a 1 x 1 box scaled by u, top-left at (x, y)."""
    body = c.rect(x + 0.06 * u, y + 0.36 * u, x + 0.30 * u, y + 0.64 * u, 0.05 * u)
    cone = c.poly([(x + 0.26 * u, y + 0.36 * u), (x + 0.50 * u, y + 0.14 * u),
                   (x + 0.54 * u, y + 0.14 * u), (x + 0.54 * u, y + 0.86 * u),
                   (x + 0.50 * u, y + 0.86 * u), (x + 0.26 * u, y + 0.64 * u)])
    cone = union(cone, c.rect(x + 0.44 * u, y + 0.12 * u, x + 0.56 * u, y + 0.88 * u, 0.05 * u))
    return union(body, cone)


def tab_speaker():
    W = 128
    c = Canvas(W, W)
    spk = speaker_shapes(c, 4, 14, 100)
    ox, oy = 4 + 56, 64
    waves = [c.arc(ox, oy, r, -48, 48, 9) for r in (18, 34, 50)]
    allm = union(spk, *waves)
    c.shadow(allm, 0, 3, 3, (0, 40, 90, 90))
    blue = c.linear([(0, (120, 200, 255)), (0.55, BRAND), (1, (0, 98, 205))], (0, 14), (0, 114))
    for m, op in zip([spk] + waves, (1.0, 1.0, 0.9, 0.75)):
        c.fill(m, (0, 70, 165), opacity=op)
        c.fill(c.erode(m, 2.2), blue, opacity=op)
    # glossy upper half of the speaker
    c.fill(intersect(c.erode(spk, 2.2), c.rect(0, 0, W, 60)), (255, 255, 255, 60))
    c.fill(c.line([(17, 52), (28, 52)], 3), (255, 255, 255, 160))
    return c.result()


def tab_microphone():
    W = 56
    c = Canvas(W, W)
    head = c.rect(19, 3, 37, 33, 9)
    holder = c.arc(28, 22, 14, 0, 180, 3.4)
    stem = c.line([(28, 36), (28, 46)], 3.4)
    base = c.rect(17, 45, 39, 51, 3)
    stand = union(holder, stem, base)
    c.shadow(union(head, stand), 0, 1.5, 1.5, (0, 30, 70, 90))
    c.fill(stand, c.linear([(0, (120, 130, 145)), (1, (60, 68, 82))], (0, 20), (0, 51)))
    c.fill(head, (0, 66, 160))
    head = c.erode(head, 0.9)
    c.fill(head, c.linear([(0, (120, 200, 255)), (0.5, BRAND), (1, (0, 90, 200))], (19, 0), (37, 0)))
    # grille slots
    for k in range(5):
        yy = 8 + k * 3.4
        c.fill(intersect(c.line([(21, yy), (35, yy)], 1.3), c.erode(head, 1.4)), (255, 255, 255, 170))
    c.fill(c.rect(19, 25, 37, 27.5), (0, 60, 150, 200))
    c.fill(c.line([(23.5, 8), (23.5, 21)], 2.2), (255, 255, 255, 80))
    return c.result()


def tab_custom():
    W, H = 50, 45
    c = Canvas(W, H)
    stem1 = c.line([(18.5, 9), (18.5, 31)], 3.2, cap=False)
    stem2 = c.line([(36.5, 5), (36.5, 27)], 3.2, cap=False)
    beam = c.poly([(16.9, 7.5), (38.1, 2.2), (38.1, 9.2), (16.9, 14.5)])
    head1 = c.poly(note_head(13.5, 31.5, 6.3, 4.5))
    head2 = c.poly(note_head(31.5, 27.5, 6.3, 4.5))
    note = union(stem1, stem2, beam, head1, head2)
    c.shadow(note, 0, 1.2, 1.2, (60, 0, 40, 80))
    c.fill(note, c.linear([(0, (255, 150, 80)), (1, (232, 64, 120))], (10, 2), (40, 38)))
    c.fill(intersect(beam, c.rect(0, 0, W, 9)), (255, 255, 255, 70))
    # pencil crossing the lower right, cut free of the note
    probe = Canvas(W, H)
    pm = pencil(probe, (27.5, 43), (48.5, 18.5), 6.2)
    c.erase(c.dilate(pm, 1.3))
    c.shadow(pm, 0, 1.0, 1.0, (0, 0, 0, 80))
    pencil(c, (27.5, 43), (48.5, 18.5), 6.2)
    return c.result()


def tab_search():
    W = 56
    c = Canvas(W, W)
    cx, cy, r = 23, 23, 17.5
    ring = c.ring(cx, cy, r, 5.0)
    glass = c.ellipse(cx, cy, r)
    handle = c.line([(cx + 15.5, cy + 15.5), (cx + 26.5, cy + 26.5)], 8.0)
    neck = c.line([(cx + 12, cy + 12), (cx + 17, cy + 17)], 5.0, cap=False)
    tool = union(ring, glass, handle, neck)
    c.shadow(tool, 0.5, 1.5, 1.5, (0, 0, 0, 90))
    c.fill(glass, c.radial([(0, (255, 255, 255, 250)), (1, (205, 232, 255, 235))], cx - 5, cy - 6, r * 1.3))
    # the note seen through the glass
    head = c.poly(note_head(cx - 4.5, cy + 7.5, 5.6, 4.2))
    stem = c.line([(cx, cy + 7.0), (cx, cy - 11)], 2.8, cap=False)
    flag = c.poly(ribbon(cubic((cx, cy - 10.5), (cx + 2, cy - 5), (cx + 9, cy - 4), (cx + 7.5, cy + 4), 24),
                         [lerp(3.4, 1.1, i / 24) for i in range(25)]))
    c.fill(union(head, stem, flag), c.linear([(0, (70, 120, 210)), (1, (24, 50, 130))], (0, cy - 12), (0, cy + 12)))
    c.fill(intersect(c.arc(cx, cy, r - 4.0, 200, 255, 2.4), glass), (255, 255, 255, 230))
    c.fill(union(ring, neck), c.linear([(0, (110, 195, 255)), (1, (0, 100, 210))], (cx, cy - r), (cx, cy + r)))
    c.fill(c.ring(cx, cy, r + 2.3, 0.7), (0, 70, 165, 200))
    c.fill(handle, c.linear([(0, (120, 112, 108)), (1, (56, 50, 48))], (cx + 10, cy + 6), (cx + 18, cy + 28)))
    c.fill(c.line([(cx + 17, cy + 17), (cx + 25, cy + 25)], 1.6), (255, 255, 255, 70))
    return c.result()


def skin_button():
    c = Canvas(26, 18)
    shirt = c.poly([(8.2, 2.4), (10.6, 1.8), (11.4, 3.2), (13, 4.2), (14.6, 3.2), (15.4, 1.8), (17.8, 2.4),
                    (22.8, 6.0), (20.6, 9.4), (18.4, 8.2), (18.4, 16.2), (7.6, 16.2), (7.6, 8.2),
                    (5.4, 9.4), (3.2, 6.0)])
    shirt = union(shirt, c.line([(8.2, 2.4), (3.2, 6.0)], 0.8), c.line([(17.8, 2.4), (22.8, 6.0)], 0.8))
    c.shadow(shirt, 0, 0.6, 0.7, (0, 0, 0, 110))
    c.fill(shirt, c.linear([(0, (255, 255, 255)), (1, (226, 236, 248))], (0, 2), (0, 16)))
    c.fill(c.line([(10.8, 2.6), (13, 4.6), (15.2, 2.6)], 0.9, cap=False), (150, 180, 215, 200))
    return c.result()


# --------------------------------------------------------------------------
# button icons
# --------------------------------------------------------------------------

def icon_chat(n):
    c = Canvas(n, n)
    u = n / 64
    bw = max(1.0, 2.0 * u) if n >= 32 else 1.0
    bubble = union(c.rect(3 * u, 7 * u, 61 * u, 47 * u, 13 * u),
                   c.poly([(13 * u, 42 * u), (10 * u, 59 * u), (30 * u, 45 * u)]))
    if n >= 32:
        c.shadow(bubble, 0, 1.0 * u * 2, 1.2 * u * 2, (0, 30, 80, 90))
    c.fill(bubble, (0, 92, 196))
    inner = c.erode(bubble, bw)
    c.fill(inner, c.linear([(0, (100, 196, 255)), (0.6, BRAND), (1, (0, 112, 225))], (0, 7 * u), (0, 50 * u)))
    c.fill(intersect(inner, c.ellipse(32 * u, 6 * u, 34 * u, 18 * u)), (255, 255, 255, 50))
    r = max(1.35, 4.6 * u) if n < 32 else 4.6 * u
    for x in ((18, 32, 46) if n < 32 else (19, 32, 45)):
        c.fill(c.ellipse(x * u, 27 * u, r), (255, 255, 255))
    return c.result()


def icon_globe(n):
    c = Canvas(n, n)
    u = n / 32
    cx = cy = 16 * u
    r = 14.5 * u
    sphere = c.ellipse(cx, cy, r)
    c.fill(sphere, (0, 84, 170))
    inner = c.erode(sphere, 1.0)
    c.fill(inner, c.radial([(0, (120, 205, 255)), (0.6, (20, 140, 240)), (1, (0, 98, 200))], cx - 5 * u, cy - 6 * u, r * 1.6))
    # continents
    land = union(c.poly([(8 * u, 9 * u), (13 * u, 7 * u), (15 * u, 11 * u), (12 * u, 15 * u), (13 * u, 20 * u),
                         (10 * u, 23 * u), (8 * u, 18 * u), (5 * u, 15 * u)]),
                 c.poly([(19 * u, 13 * u), (25 * u, 12 * u), (27 * u, 17 * u), (24 * u, 24 * u), (20 * u, 20 * u)]))
    c.fill(intersect(land, inner), (90, 200, 90, 220))
    lw = 1.0 * u
    grid = union(c.ring(cx, cy, r - 0.5 * u, lw),
                 c.line([(cx - r, cy), (cx + r, cy)], lw, cap=False),
                 c.line([(cx, cy - r), (cx, cy + r)], lw, cap=False),
                 subtract(c.ellipse(cx, cy, r * 0.5 + lw / 2, r), c.ellipse(cx, cy, r * 0.5 - lw / 2, r - lw)),
                 c.line([(cx - r * 0.87, cy - r * 0.5), (cx + r * 0.87, cy - r * 0.5)], lw, cap=False),
                 c.line([(cx - r * 0.87, cy + r * 0.5), (cx + r * 0.87, cy + r * 0.5)], lw, cap=False))
    c.fill(intersect(grid, inner), (255, 255, 255, 200))
    c.fill(intersect(inner, c.ellipse(cx - 4 * u, cy - 7 * u, 8 * u, 4.5 * u)), (255, 255, 255, 60))
    return c.result()


def icon_bag(n):
    c = Canvas(n, n)
    u = n / 16
    handle = c.arc(8 * u, 6 * u, 3.0 * u, 180, 360, 1.5 * u)
    body = c.poly([(2.6 * u, 5.2 * u), (13.4 * u, 5.2 * u), (14.4 * u, 15 * u), (1.6 * u, 15 * u)])
    body = union(body, c.rect(1.6 * u, 11 * u, 14.4 * u, 15.2 * u, 1.2 * u))
    c.fill(handle, (150, 60, 10))
    c.fill(body, (180, 70, 0))
    c.fill(c.erode(body, 0.8 * u), c.linear([(0, (255, 170, 60)), (1, (242, 100, 10))], (0, 5 * u), (0, 15 * u)))
    c.fill(c.ellipse(5.2 * u, 7.6 * u, 0.9 * u), (120, 50, 0))
    c.fill(c.ellipse(10.8 * u, 7.6 * u, 0.9 * u), (120, 50, 0))
    c.fill(c.line([(5.2 * u, 7.4 * u), (5.2 * u, 4.8 * u)], 1.1 * u), (150, 60, 10))
    c.fill(c.line([(10.8 * u, 7.4 * u), (10.8 * u, 4.8 * u)], 1.1 * u), (150, 60, 10))
    return c.result()


def icon_magnifier(n):
    c = Canvas(n, n)
    u = n / 64
    small = n <= 24
    cx, cy, r = 24 * u, 24 * u, 16 * u
    rw = (8.5 if small else 7.0) * u
    ring = c.ring(cx, cy, r, rw)
    glass = c.ellipse(cx, cy, r)
    handle = c.line([(cx + 14 * u, cy + 14 * u), (cx + 29 * u, cy + 29 * u)], (12 if small else 11) * u)
    neck = c.line([(cx + 10 * u, cy + 10 * u), (cx + 16 * u, cy + 16 * u)], rw, cap=False)
    tool = union(ring, handle, neck)
    edge = max(1.0, 1.5 * u)
    if n >= 32:
        c.shadow(union(tool, glass), 0, 1.2 * u * 2, 1.5 * u * 2, (0, 0, 0, 80))
    c.fill(glass, c.radial([(0, (255, 255, 255, 245)), (1, (200, 228, 252, 235))], cx - 5 * u, cy - 6 * u, r * 1.4))
    if n >= 20:
        c.fill(intersect(c.arc(cx, cy, r - 6.5 * u, 195, 265, 3.4 * u), glass), (160, 205, 245, 200))
    blue = union(ring, neck)
    c.fill(blue, (0, 70, 170))
    c.fill(c.ring(cx, cy, r, rw - 2 * edge),
           c.linear([(0, (120, 200, 255)), (0.5, BRAND), (1, (0, 100, 210))], (cx, cy - r), (cx, cy + r)))
    c.fill(handle, (30, 32, 40))
    c.fill(c.erode(handle, edge), c.linear([(0, (110, 110, 122)), (1, (50, 52, 62))],
                                         (cx + 14 * u, cy + 10 * u), (cx + 26 * u, cy + 32 * u)))
    if n >= 32:
        c.fill(c.line([(cx + 17 * u, cy + 17 * u), (cx + 26 * u, cy + 26 * u)], 2.2 * u), (255, 255, 255, 60))
    return c.result()


# --------------------------------------------------------------------------
# banner
# --------------------------------------------------------------------------

def banner():
    W, H = 280, 48
    c = Canvas(W, H)
    ribbon_m = c.rect(2, 6, W - 2, H - 6, 18)
    c.shadow(ribbon_m, 0, 1.5, 2, (0, 30, 80, 70))
    c.fill(ribbon_m, c.linear([(0, rgba(BRAND, 225)), (0.7, rgba(BRAND, 190)), (1, rgba(BRAND, 130))], (0, 0), (W, 0)))
    c.fill(intersect(ribbon_m, c.rect(0, 0, W, 20)), (255, 255, 255, 45))
    c.fill(subtract(ribbon_m, c.erode(ribbon_m, 1.0)), (255, 255, 255, 90))
    # waveform: rounded bars under a bell-shaped envelope
    bars = c.blank()
    x0 = 18
    for i in range(11):
        env = math.exp(-((i - 5) / 3.2) ** 2)
        hgt = 3 + 22 * env * (0.55 + 0.45 * abs(math.sin(i * 1.9 + 0.7)))
        x = x0 + i * 3.6
        bars = union(bars, c.line([(x, 24 - hgt / 2), (x, 24 + hgt / 2)], 2.2))
    c.fill(bars, (255, 255, 255, 235))
    # title
    title = "Tavrik 主持音效助手"
    px = 21
    tx0 = 64
    tw = c.text_width(title, px)
    tx = tx0 + (W - 14 - tx0 - tw) / 2 + tw / 2
    outline = c.text(tx, 24, title, px, stroke=2.0)
    c.fill(c.shift(c.blur(outline, 1.0), 0, 1.2), (0, 40, 110, 120))
    c.fill(outline, (0, 110, 220))
    c.fill(c.text(tx, 24, title, px), (255, 255, 255))
    return c.result()


# --------------------------------------------------------------------------
# 16 x 15 menu icon strip
# --------------------------------------------------------------------------

MW, MH = 16, 15


def _tile(c, top, bottom, edge, r=3.0):
    t = c.rect(0.5, 0.5, 15.5, 14.5, r)
    c.fill(t, edge)
    c.fill(c.erode(t, 0.8), c.linear([(0, top), (1, bottom)], (0, 0.5), (0, 14.5)))
    return t


def _jing(c, x, y, px, col):
    c.fill(c.text(x, y, "精", px), col)


def menu_icon(i):
    c = Canvas(MW, MH)
    if i == 0:
        _tile(c, (255, 150, 50), (240, 92, 8), (205, 80, 0))
        c.fill(c.text(8, 7.6, "淘", 12.5), (255, 255, 255))
    elif i == 1:
        pal = subtract(c.ellipse(8, 7.5, 7.4, 6.6), c.ellipse(12.4, 11.0, 2.3))
        c.fill(pal, (160, 115, 60))
        c.fill(c.erode(pal, 0.8), c.linear([(0, (252, 236, 200)), (1, (230, 200, 150))], (0, 1), (0, 14)))
        for (x, y, col) in ((4.3, 6.2, (228, 40, 40)), (7.6, 3.7, (250, 196, 20)),
                            (11.3, 5.0, (30, 118, 240)), (4.6, 10.0, (40, 168, 70))):
            c.fill(c.ellipse(x, y, 1.75), col)
    elif i == 2:
        globe = c.ellipse(7, 8, 6.5)
        c.fill(globe, (0, 84, 170))
        inner = c.erode(globe, 0.7)
        c.fill(inner, c.radial([(0, (120, 200, 255)), (1, (10, 110, 220))], 5, 5, 9))
        lines = union(c.line([(0.5, 8), (13.5, 8)], 0.8, cap=False),
                      subtract(c.ellipse(7, 8, 3.0, 6.5), c.ellipse(7, 8, 2.2, 5.8)))
        c.fill(intersect(lines, inner), (255, 255, 255, 210))
        arrow = union(c.line([(12.3, 14.2), (12.3, 7.5)], 2.4, cap=False),
                      c.poly([(8.8, 8.6), (12.3, 3.8), (15.8, 8.6)]))
        c.erase(c.dilate(arrow, 0.9))
        c.fill(arrow, (30, 160, 50))
        c.fill(c.erode(arrow, 0.6), (80, 205, 80))
    elif i == 3:
        person = union(c.ellipse(6.2, 4.4, 2.9), c.rect(1.0, 8.4, 11.4, 16.5, 4.6))
        person = intersect(person, c.rect(0, 0, 16, 14.5))
        c.fill(person, (0, 70, 170))
        c.fill(c.erode(person, 0.7), c.linear([(0, (90, 170, 255)), (1, (20, 100, 220))], (0, 1), (0, 14)))
        leaf = c.poly(leaf_pts(12.2, 4.6, 8.2, 4.6, -50, 0.1))
        c.erase(c.dilate(leaf, 0.8))
        c.fill(leaf, (30, 140, 40))
        c.fill(c.erode(leaf, 0.5), (100, 205, 80))
        c.fill(c.line(leaf_midrib(12.2, 4.6, 8.2, -50, 0.1), 0.6), (30, 140, 40))
    elif i in (4, 5, 6):
        _jing(c, 7.0, 7.2, 13.5, (55, 58, 70))
        badge = c.ellipse(12.6, 11.4, 3.2)
        c.erase(c.dilate(badge, 0.9))
        col = {4: ((190, 110, 250), (120, 50, 200)), 5: ((90, 180, 255), (0, 100, 220)),
               6: ((110, 220, 110), (20, 150, 50))}[i]
        c.fill(badge, c.linear([(0, col[0]), (1, col[1])], (0, 8.2), (0, 14.6)))
        c.fill(c.ellipse(12.6, 11.4, 1.0), (255, 255, 255))
    elif i == 7:
        _tile(c, (255, 230, 90), (248, 186, 20), (200, 140, 0))
        _jing(c, 8, 7.6, 12.5, (120, 64, 0))
    elif i == 8:
        paper = c.poly([(1.5, 0.6), (11.0, 0.6), (14.5, 4.1), (14.5, 14.4), (1.5, 14.4)])
        c.fill(paper, (170, 145, 100))
        c.fill(c.erode(paper, 0.7), c.linear([(0, (250, 240, 218)), (1, (232, 214, 178))], (0, 0), (0, 15)))
        c.fill(c.poly([(11.0, 0.6), (11.0, 4.1), (14.5, 4.1)]), (205, 182, 140))
        _jing(c, 7.6, 8.4, 10.5, (105, 70, 35))
    elif i == 9:
        arrow = c.poly([(8, 0.6), (15.0, 7.4), (10.6, 7.4), (10.6, 14.4), (5.4, 14.4), (5.4, 7.4), (1.0, 7.4)])
        c.fill(arrow, (0, 80, 180))
        c.fill(c.erode(arrow, 0.7), c.linear([(0, (100, 190, 255)), (1, (0, 112, 230))], (0, 1), (0, 14)))
    elif i == 10:
        path = [(3.4, 14.2), (3.4, 8.5)] + [(3.4 + 4.0 - 4.0 * math.cos(math.radians(a)), 8.5 - 4.0 * math.sin(math.radians(a)))
                                          for a in range(0, 91, 10)] + [(10.2, 4.5)]
        shaft = c.line(path, 3.0)
        head = c.poly([(9.6, 0.2), (15.6, 4.5), (9.6, 8.8)])
        arrow = union(shaft, head)
        c.fill(arrow, (10, 120, 40))
        c.fill(c.erode(arrow, 0.6), c.linear([(0, (110, 220, 100)), (1, (30, 160, 60))], (0, 0), (0, 15)))
    elif i == 11:
        _jing(c, 8, 7.4, 14, (236, 72, 150))
    elif i == 12:
        crown = c.poly([(1.4, 4.4), (5.0, 7.8), (8.0, 2.2), (11.0, 7.8), (14.6, 4.4), (13.6, 11.2), (2.4, 11.2)])
        band = c.rect(2.2, 10.6, 13.8, 13.8, 0.8)
        balls = union(c.ellipse(1.4, 4.0, 1.3), c.ellipse(8.0, 1.9, 1.3), c.ellipse(14.6, 4.0, 1.3))
        whole = union(crown, band, balls)
        c.fill(whole, (170, 110, 0))
        c.fill(c.erode(whole, 0.6), c.linear([(0, (255, 236, 120)), (1, (236, 164, 16))], (0, 1), (0, 14)))
        c.fill(c.ellipse(8, 12.2, 1.2), (220, 30, 40))
    elif i == 13:
        _tile(c, (250, 90, 80), (205, 30, 30), (160, 10, 10), r=2.5)
        for k in range(3):
            x = 4.0 + k * 3.6
            c.fill(c.line([(x, 3.8), (x + 2.6, 7.5), (x, 11.2)], 1.6), (255, 255, 255))
    elif i == 14:
        handle = c.line([(9.2, 6.0), (14.6, 0.8)], 2.6)
        ferrule = c.line([(6.6, 8.4), (9.6, 5.6)], 3.4, cap=False)
        tip = c.poly(ribbon(cubic((7.4, 7.6), (5.6, 9.6), (3.4, 11.4), (1.0, 14.2), 16),
                            [lerp(3.8, 0.6, (i_ / 16) ** 1.3) for i_ in range(17)]))
        c.fill(handle, (120, 64, 20))
        c.fill(c.line([(9.6, 5.6), (14.4, 1.0)], 1.2), (200, 130, 60))
        c.fill(ferrule, c.linear([(0, (230, 232, 240)), (1, (120, 125, 140))], (5.5, 5.5), (9.5, 9.5)))
        c.fill(tip, (0, 80, 190))
        c.fill(c.erode(tip, 0.4), (40, 140, 245))
    elif i == 15:
        heart = union(c.ellipse(5.9, 3.9, 2.6), c.ellipse(10.1, 3.9, 2.6),
                      c.poly([(3.4, 4.8), (12.6, 4.8), (8.0, 9.8)]))
        c.fill(heart, (190, 20, 50))
        c.fill(c.erode(heart, 0.5), c.linear([(0, (255, 100, 120)), (1, (225, 30, 70))], (0, 1), (0, 10)))
        half = [(2.0, 5.4), (0.7, 8.6), (1.6, 12.0), (4.4, 14.2), (7.7, 14.6), (7.7, 11.6),
                (5.4, 11.0), (3.9, 9.6), (3.7, 6.2)]
        left = c.poly(half)
        right = c.poly([(16 - x, y) for x, y in half])
        hands = union(left, right)
        c.erase(c.dilate(hands, 0.6))
        c.fill(hands, (180, 104, 60))
        c.fill(c.erode(hands, 0.55), c.linear([(0, (255, 222, 186)), (1, (240, 180, 130))], (0, 6), (0, 15)))
        for sgn in (1, -1):
            a, b = (8 - sgn * 5.6, 12.6), (8 - sgn * 3.0, 13.3)
            c.fill(c.line([a, b], 0.55), (200, 128, 80))
    return c.result()


def menu_strip():
    strip = Image.new("RGBA", (MW * 16, MH), (0, 0, 0, 0))
    for i in range(16):
        strip.alpha_composite(menu_icon(i), (i * MW, 0))
    return strip


# --------------------------------------------------------------------------
# application, hotkey and name icons
# --------------------------------------------------------------------------

def app_icon():
    n = 48
    c = Canvas(n, n)
    disc = c.ellipse(24, 24, 23.4)
    c.fill(disc, (0, 96, 200))
    inner = c.erode(disc, 1.0)
    c.fill(inner, c.linear([(0, (90, 190, 255)), (0.5, BRAND), (1, (0, 108, 222))], (0, 1), (0, 47)))
    c.fill(intersect(inner, c.ellipse(24, 9, 19, 11)), (255, 255, 255, 55))
    spk = speaker_shapes(c, 7, 10, 28)
    waves = [c.arc(7 + 15.6, 24, r, -50, 50, 3.8) for r in (6.5, 12.5)]
    glyph = union(spk, *waves)
    c.shadow(glyph, 0, 1.0, 0.8, (0, 50, 130, 110))
    c.fill(glyph, (255, 255, 255))
    return c.result()


def hotkey_art():
    n = 48
    c = Canvas(n, n)
    base = c.rect(3, 6, 45, 45, 8)
    c.shadow(base, 0, 1, 1, (0, 0, 0, 90))
    c.fill(base, (70, 76, 90))
    c.fill(c.erode(base, 1.0), c.linear([(0, (150, 158, 172)), (1, (100, 108, 122))], (0, 6), (0, 45)))
    face = c.rect(7, 8, 41, 37, 6)
    c.fill(face, (120, 126, 140))
    c.fill(c.erode(face, 0.8), c.linear([(0, (255, 255, 255)), (1, (214, 220, 230))], (0, 8), (0, 37)))
    bolt = c.poly([(28.5, 10.0), (16.0, 24.5), (23.0, 24.5), (19.0, 35.5), (32.5, 19.5), (25.5, 19.5), (31.0, 10.0)])
    c.fill(c.dilate(bolt, 1.0), (170, 80, 0))
    c.fill(bolt, c.linear([(0, (255, 226, 60)), (1, (255, 140, 0))], (0, 10), (0, 35)))
    return c.result()


def name_art(n, mono=False):
    c = Canvas(n, n)
    u = n / 48
    tag = c.poly([(x * u, y * u) for x, y in
                  rotate_pts([(-19, 0), (-9, -11), (19, -11), (19, 11), (-9, 11)], -28, 22, 27)])
    hx, hy = rotate_pts([(-10, 0)], -28, 22, 27)[0]
    hole = c.ellipse(hx * u, hy * u, 2.6 * u)
    pw = 7.5 * u
    tip, tail = (19 * u, 43 * u), (45 * u, 7 * u)
    probe = Canvas(n, n)
    pm = pencil(probe, tip, tail, pw, mono)
    if mono:
        edge = max(1.0, 1.6 * u)
        c.fill(c.dilate(tag, edge), (0, 0, 0))
        c.fill(tag, (255, 255, 255))
        c.fill(c.dilate(hole, edge * 0.8), (0, 0, 0))
        c.erase(hole)
        if n >= 32:
            for k in range(2):
                a, b = rotate_pts([(-3, -4 + k * 7), (12, -4 + k * 7)], -28, 22, 27)
                c.fill(c.line([(a[0] * u, a[1] * u), (b[0] * u, b[1] * u)], max(1.0, 1.4 * u)), (0, 0, 0))
        c.erase(c.dilate(pm, max(0.8, 1.0 * u)))
        pencil(c, tip, tail, pw, True)
        return c.result()
    c.shadow(union(tag, pm), 0, 1.0 * u, 1.2 * u, (0, 0, 0, 80))
    c.fill(tag, (200, 90, 10))
    c.fill(c.erode(tag, max(1.0, 1.2 * u)), c.linear([(0, (255, 196, 90)), (1, (250, 130, 30))], (0, 8 * u), (0, 44 * u)))
    if n >= 32:
        for k in range(2):
            a, b = rotate_pts([(-3, -4 + k * 7), (12, -4 + k * 7)], -28, 22, 27)
            c.fill(c.line([(a[0] * u, a[1] * u), (b[0] * u, b[1] * u)], 1.6 * u), (255, 255, 255, 200))
    c.fill(c.dilate(hole, 0.9 * u), (200, 90, 10))
    c.erase(hole)
    c.erase(c.dilate(pm, max(0.8, 1.2 * u)))
    pencil(c, tip, tail, pw)
    return c.result()


# --------------------------------------------------------------------------
# .ico container
# --------------------------------------------------------------------------

VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def _pack_rows(rows, bpp, w):
    """rows: top-to-bottom lists of indices; returns bottom-up packed bytes."""
    stride = ((w * bpp + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        b = bytearray(stride)
        for x, v in enumerate(row):
            bit = x * bpp
            b[bit // 8] |= (v << (8 - bpp - bit % 8)) & 0xFF
        out += b
    return bytes(out)


def _and_mask(alpha_rows, w):
    return _pack_rows([[1 if a == 0 else 0 for a in row] for row in alpha_rows], 1, w)


def _rows(img):
    w, h = img.size
    data = list(img.getdata())
    return [data[y * w:(y + 1) * w] for y in range(h)]


def dib_entry(img, bpp):
    """One icon image in the classic BITMAPINFOHEADER form.

    32 bpp keeps straight (non-premultiplied) alpha; the AND mask marks only
    fully transparent pixels.  Paletted depths threshold alpha at 50% and use
    palette index 0 (black) under the mask.
    """
    img = img.convert("RGBA")
    w, h = img.size
    px = _rows(img)
    palette = b""
    if bpp == 32:
        mask_alpha = [[p[3] for p in row] for row in px]
        xor = bytearray()
        for row in reversed(px):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a)) if a else b"\0\0\0\0"
        xor = bytes(xor)
    else:
        mask_alpha = [[255 if p[3] >= 128 else 0 for p in row] for row in px]
        rgb = img.convert("RGB")
        if bpp == 8:
            q = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
            qp = q.getpalette()[:255 * 3]
            qp += [0] * (255 * 3 - len(qp))
            pal = [(0, 0, 0)] + [tuple(qp[i:i + 3]) for i in range(0, 255 * 3, 3)]
            qi = list(q.getdata())
            idx = [v + 1 for v in qi]
        elif bpp == 4:
            pimg = Image.new("P", (1, 1))
            pimg.putpalette([v for c in VGA16 for v in c] + [0, 0, 0] * 240)
            q = rgb.quantize(palette=pimg, dither=Image.Dither.NONE)
            pal = VGA16
            idx = [v if v < 16 else 0 for v in q.getdata()]
        elif bpp == 1:
            pal = [(0, 0, 0), (255, 255, 255)]
            idx = [1 if v >= 128 else 0 for v in rgb.convert("L").getdata()]
        else:
            raise ValueError(bpp)
        rows = []
        for y in range(h):
            rows.append([idx[y * w + x] if mask_alpha[y][x] else 0 for x in range(w)])
        xor = _pack_rows(rows, bpp, w)
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    andm = _and_mask(mask_alpha, w)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, len(xor) + len(andm), 0, 0, 0, 0)
    return header + palette + xor + andm


def png_entry(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=True)
    return buf.getvalue()


def ico_file(images):
    """images: list of (PIL image, bpp, 'dib' | 'png')."""
    head = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for img, bpp, kind in images:
        w, h = img.size
        data = dib_entry(img, bpp) if kind == "dib" else png_entry(img)
        colors = {1: 2, 4: 16}.get(bpp, 0)
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, colors, 0, 1, bpp, len(data), offset)
        offset += len(data)
        blobs += data
    return head + entries + blobs


# --------------------------------------------------------------------------
# output
# --------------------------------------------------------------------------

def save_png(img, name):
    img.save(os.path.join(OUT, name), "PNG", optimize=True)


def save_jpg(img, name):
    img.save(os.path.join(OUT, name), "JPEG", quality=85, optimize=True, subsampling=0)


def save_bytes(data, name):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main(argv):
    global OUT
    if len(argv) == 3 and argv[1] == "--out":
        OUT = os.path.abspath(argv[2])
    elif len(argv) != 1:
        print("usage: render.py [--out DIR]", file=sys.stderr)
        return 2
    os.makedirs(OUT, exist_ok=True)
    files = []

    for i, fn in enumerate((skin_elegant, skin_blue, skin_green, skin_purple, skin_default), 1):
        name = "skin%d.jpg" % i
        save_jpg(fn(), name)
        files.append(name)

    for name, fn in (("tab1.png", tab_speaker), ("tab2.png", tab_microphone),
                     ("tab3.png", tab_custom), ("tab4.png", tab_search),
                     ("skin_button.png", skin_button), ("banner.png", banner),
                     ("menu_icons.png", menu_strip)):
        save_png(fn(), name)
        files.append(name)

    def multi(fn, sizes, png_from=256):
        return [(fn(s), 32, "png" if s >= png_from else "dib") for s in sizes]

    save_bytes(ico_file(multi(icon_chat, [16, 20, 24, 32, 40, 48, 64, 256])), "contact.ico")
    save_bytes(ico_file(multi(icon_globe, [32])), "site.ico")
    save_bytes(ico_file(multi(icon_bag, [16])), "shop.ico")
    save_bytes(ico_file(multi(icon_magnifier, [16, 20, 24, 32, 40, 48, 64, 128, 256], png_from=128)), "search.ico")
    files += ["contact.ico", "site.ico", "shop.ico", "search.ico"]

    app = app_icon()
    save_bytes(ico_file([(app, 32, "dib")]), "app.ico")
    save_png(app, "app.png")
    files += ["app.ico", "app.png"]

    save_bytes(ico_file([(hotkey_art(), 8, "dib")]), "hotkey.ico")
    files.append("hotkey.ico")

    name_images = []
    for bpp in (32, 8, 4, 1):
        for s in (16, 32, 48):
            name_images.append((name_art(s, mono=(bpp == 1)), bpp, "dib"))
        if bpp == 32:
            name_images.append((name_art(128), 32, "dib"))
    save_bytes(ico_file(name_images), "name.ico")
    files.append("name.ico")

    qrc = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/artwork">']
    qrc += ['    <file alias="%s">%s</file>' % (f, f) for f in files]
    qrc += ['</qresource>', '</RCC>', '']
    with open(os.path.join(OUT, "artwork.qrc"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(qrc))

    total = 0
    for f in files + ["artwork.qrc"]:
        sz = os.path.getsize(os.path.join(OUT, f))
        total += sz
        print("%-16s %8d bytes" % (f, sz))
    print("%-16s %8d bytes" % ("total", total))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/python3
"""Draws Quorvel's artwork and writes it into res/.

Outputs (paths relative to the repository root):
  res/bmp/<id>_<name>.bmp   every bitmap resource, 24-bit BI_RGB, bottom-up
  res/quorvel.ico           the application icon (16, 32, 48, 64 and 128 px)
  res/quorvel_icon.png      48 x 48 icon for the X11 window
  res/icons/quorvel-<n>.png the icon for the desktop's icon theme, n x n px
  res/icons/quorvel.svg     the same icon as a scalable drawing

Everything is drawn at SCALE times the final size and reduced with a
Lanczos filter, so edges come out antialiased but crisp.  The build parses
the resource id from the start of each bitmap's file name, so names keep
the "<id>_" prefix.  The output is deterministic: running the script twice
produces identical files.

Run with:  /usr/bin/python3 tools/make_art.py [output-res-dir]
"""

import io
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

SCALE = 4

# Palette shared by the whole program.
BAND_BLUE = (0, 48, 156)      # title band behind the logo and round buttons
RULE_BLUE = (0, 51, 153)      # rules and dark details
LIGHT_BLUE = (90, 125, 222)   # content area behind the square buttons
PALE_BLUE = (214, 229, 248)
ORANGE = (255, 153, 52)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
MAGENTA = (255, 0, 255)       # colour key: transparent in the skin sheet
TICK_GREEN = (38, 170, 60)
TICK_GREEN_DARK = (18, 112, 36)
CROSS_RED = (222, 44, 44)
CROSS_RED_DARK = (150, 20, 20)

FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


# --------------------------------------------------------------------------
# Drawing helpers.  All coordinates passed to them are in final pixels; they
# are multiplied by SCALE here so the drawing code reads in output units.
# --------------------------------------------------------------------------

def s(v):
    return v * SCALE


def sbox(box):
    return [s(v) for v in box]


def mix(a, b, t):
    """Colour a blended towards b by t (0..1)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


class Canvas:
    """An RGBA drawing surface SCALE times larger than the final bitmap."""

    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (s(w), s(h)), tuple(bg) + (255,))

    def mask(self):
        return Image.new("L", self.img.size, 0)

    def fill(self, mask, color, alpha=1.0):
        """Paints color through a coverage mask, scaled by alpha."""
        if alpha < 1.0:
            mask = mask.point(lambda v: int(round(v * alpha)))
        layer = Image.new("RGBA", self.img.size, tuple(color) + (0,))
        layer.putalpha(mask)
        self.img.alpha_composite(layer)

    def fill_gradient(self, mask, top, bottom, y0, y1, alpha=1.0):
        """Paints a vertical gradient from top (at y0) to bottom (at y1)."""
        grad = Image.new("RGBA", self.img.size)
        d = ImageDraw.Draw(grad)
        for y in range(self.img.size[1]):
            t = min(1.0, max(0.0, (y - s(y0)) / max(1, s(y1) - s(y0))))
            d.line([(0, y), (self.img.size[0], y)], fill=mix(top, bottom, t) + (255,))
        if alpha < 1.0:
            mask = mask.point(lambda v: int(round(v * alpha)))
        grad.putalpha(mask)
        self.img.alpha_composite(grad)

    def shrink(self):
        """The final-size RGB picture."""
        return self.img.resize((self.w, self.h), Image.LANCZOS).convert("RGB")


def rrect_mask(cv, box, radius):
    m = cv.mask()
    ImageDraw.Draw(m).rounded_rectangle(sbox(box), s(radius), fill=255)
    return m


def ellipse_mask(cv, box):
    m = cv.mask()
    ImageDraw.Draw(m).ellipse(sbox(box), fill=255)
    return m


def dot_mask(cv, cx, cy, r):
    return ellipse_mask(cv, (cx - r, cy - r, cx + r, cy + r))


def poly_mask(cv, points):
    m = cv.mask()
    ImageDraw.Draw(m).polygon([(s(x), s(y)) for x, y in points], fill=255)
    return m


def stroke_mask(cv, points, width):
    """A polyline of the given width with round joins and round ends."""
    m = cv.mask()
    d = ImageDraw.Draw(m)
    pts = [(s(x), s(y)) for x, y in points]
    d.line(pts, fill=255, width=int(round(s(width))), joint="curve")
    r = s(width) / 2.0
    for x, y in (pts[0], pts[-1]):
        d.ellipse([x - r, y - r, x + r, y + r], fill=255)
    return m


def ring_mask(cv, box, width):
    outer = ellipse_mask(cv, box)
    x0, y0, x1, y1 = box
    inner = ellipse_mask(cv, (x0 + width, y0 + width, x1 - width, y1 - width))
    return ImageChops.subtract(outer, inner)


def outline_of(cv, box, radius, width):
    """The border band of a rounded rectangle, width pixels wide."""
    outer = rrect_mask(cv, box, radius)
    x0, y0, x1, y1 = box
    inner = rrect_mask(cv, (x0 + width, y0 + width, x1 - width, y1 - width),
                       max(0.0, radius - width))
    return ImageChops.subtract(outer, inner)


def intersect(a, b):
    return ImageChops.multiply(a, b)


def shifted(mask, dx, dy):
    return ImageChops.offset(mask, int(round(s(dx))), int(round(s(dy))))


def load_font(size_px):
    """DejaVu Sans Bold at SCALE x size_px, or PIL's built-in font if absent."""
    if os.path.exists(FONT_BOLD):
        return ImageFont.truetype(FONT_BOLD, int(round(s(size_px))))
    return ImageFont.load_default()


def text_mask(cv, text, size_px, center_x, top):
    """Text centred on center_x with its ink starting at row top."""
    font = load_font(size_px)
    m = cv.mask()
    d = ImageDraw.Draw(m)
    x0, y0, x1, y1 = d.textbbox((0, 0), text, font=font)
    d.text((s(center_x) - (x0 + x1) / 2.0, s(top) - y0), text, font=font, fill=255)
    return m


# --------------------------------------------------------------------------
# The logo: two overlapping translucent window panes, the back one with an
# orange title bar, the front one frosted glass with a blue title bar.
# Geometry lives in a unit square and is placed into any square region.
# --------------------------------------------------------------------------

def draw_logo(cv, x, y, size, bg, detail=True):
    """Draws the logo into the square (x, y, x+size, y+size) over bg."""
    def box(u0, v0, u1, v1):
        return (x + u0 * size, y + v0 * size, x + u1 * size, y + v1 * size)

    dark_bg = sum(bg) < 3 * 128
    radius = 0.085 * size
    title_h = 0.15 * size
    border = max(0.9, 0.025 * size)

    back = box(0.04, 0.10, 0.66, 0.66)
    front = box(0.34, 0.34, 0.96, 0.90)

    # Soft shadow under both panes so they lift off light backgrounds.
    if not dark_bg:
        sh = ImageChops.lighter(rrect_mask(cv, back, radius), rrect_mask(cv, front, radius))
        cv.fill(shifted(sh, 0.03 * size, 0.04 * size), RULE_BLUE, 0.25)

    # Back pane: a solid-ish white window with an orange title bar.
    bm = rrect_mask(cv, back, radius)
    cv.fill_gradient(bm, WHITE, PALE_BLUE, back[1], back[3], 0.92 if dark_bg else 0.96)
    title = cv.mask()
    ImageDraw.Draw(title).rectangle(sbox((back[0], back[1], back[2], back[1] + title_h)), fill=255)
    cv.fill(intersect(bm, title), ORANGE)
    if detail:
        # Content lines in the back pane, like text in a window.
        lines = cv.mask()
        d = ImageDraw.Draw(lines)
        lx0 = back[0] + 0.06 * size
        for i, frac in enumerate((0.42, 0.30, 0.36)):
            ly = back[1] + title_h + 0.07 * size + i * 0.075 * size
            d.rounded_rectangle(sbox((lx0, ly, lx0 + frac * size, ly + 0.035 * size)),
                                s(0.0175 * size), fill=255)
        cv.fill(lines, LIGHT_BLUE, 0.9)

    # Front pane: translucent blue glass so the back pane shows through.
    fm = rrect_mask(cv, front, radius)
    cv.fill_gradient(fm, LIGHT_BLUE, BAND_BLUE, front[1], front[3], 0.62)
    # A glossy highlight across the upper half of the glass.
    gloss = intersect(fm, ellipse_mask(cv, box(0.14, 0.06, 1.30, 0.64)))
    cv.fill(gloss, WHITE, 0.16)
    title = cv.mask()
    ImageDraw.Draw(title).rectangle(sbox((front[0], front[1], front[2], front[1] + title_h)), fill=255)
    cv.fill(intersect(fm, title), RULE_BLUE, 0.88)
    if detail:
        # Three little caption buttons, the last one orange.
        r = 0.028 * size
        cy = front[1] + title_h / 2.0
        for i, col in enumerate((PALE_BLUE, PALE_BLUE, ORANGE)):
            cx = front[2] - 0.06 * size - (2 - i) * 0.075 * size
            cv.fill(ellipse_mask(cv, (cx - r, cy - r, cx + r, cy + r)), col)
    cv.fill(outline_of(cv, front, radius, border), WHITE, 0.95)


def logo_bitmap():
    cv = Canvas(82, 66, BAND_BLUE)
    draw_logo(cv, 9, 1, 64, BAND_BLUE)
    return cv.shrink()


def farewell_bitmap():
    cv = Canvas(126, 95, BLACK)
    draw_logo(cv, 34, 4, 58, BLACK)
    cv.fill(text_mask(cv, "Quorvel", 19, 63, 68), WHITE)
    return cv.shrink()


# --------------------------------------------------------------------------
# Round 24 x 24 buttons on the title band.
# --------------------------------------------------------------------------

def round_button(glyph, pressed):
    cv = Canvas(24, 24, BAND_BLUE)
    off = 1 if pressed else 0
    disc = (1.5 + off, 1.5 + off, 22.5 + off - 1, 22.5 + off - 1)
    dm = ellipse_mask(cv, disc)
    if not pressed:
        cv.fill(shifted(dm, 0.6, 0.8), BLACK, 0.35)
        cv.fill_gradient(dm, WHITE, PALE_BLUE, disc[1], disc[3])
    else:
        cv.fill_gradient(dm, mix(PALE_BLUE, LIGHT_BLUE, 0.35), PALE_BLUE, disc[1], disc[3])
    cx = (disc[0] + disc[2]) / 2.0
    cy = (disc[1] + disc[3]) / 2.0
    ink = BAND_BLUE if not pressed else RULE_BLUE
    if glyph == "close":
        k = 4.6
        m = ImageChops.lighter(stroke_mask(cv, [(cx - k, cy - k), (cx + k, cy + k)], 2.6),
                               stroke_mask(cv, [(cx - k, cy + k), (cx + k, cy - k)], 2.6))
        cv.fill(m, ink)
    else:  # run: a right-pointing triangle, nudged right to look centred
        r = 5.6
        pts = [(cx - r * 0.55 + 0.8, cy - r), (cx - r * 0.55 + 0.8, cy + r), (cx + r + 0.8, cy)]
        tri = poly_mask(cv, pts)
        # Round the triangle's corners slightly with a thin stroke around it.
        tri = ImageChops.lighter(tri, stroke_mask(cv, pts + [pts[0]], 1.2))
        cv.fill(tri, ORANGE if not pressed else mix(ORANGE, RULE_BLUE, 0.15))
    return cv.shrink()


# --------------------------------------------------------------------------
# Square 32 x 32 buttons on the light-blue content area.  A glyph is a list
# of (mask, colour) layers; the normal face has a soft shadow, the pressed
# face drops the shadow, moves 1 px down-right and is slightly darker.
# --------------------------------------------------------------------------

def square_button(build, pressed):
    cv = Canvas(32, 32, LIGHT_BLUE)
    off = 1 if pressed else 0
    layers = build(cv, off)
    if pressed:
        # A faint sunken tile behind the glyph tells the user the press landed.
        cv.fill(rrect_mask(cv, (1.5, 1.5, 30.5, 30.5), 5), RULE_BLUE, 0.22)
    else:
        union = cv.mask()
        for m, _ in layers:
            union = ImageChops.lighter(union, m)
        cv.fill(shifted(union, 0.9, 1.2), RULE_BLUE, 0.45)
    for m, col in layers:
        cv.fill(m, mix(col, RULE_BLUE, 0.14) if pressed else col)
    return cv.shrink()


def glyph_details(cv, o):
    # A page with a folded corner, lines of text and a magnifier over it.
    page = poly_mask(cv, [(6 + o, 3 + o), (19 + o, 3 + o), (24 + o, 8 + o),
                          (24 + o, 28 + o), (6 + o, 28 + o)])
    fold = poly_mask(cv, [(19 + o, 3 + o), (24 + o, 8 + o), (19 + o, 8 + o)])
    lines = cv.mask()
    d = ImageDraw.Draw(lines)
    for i, w in enumerate((9, 13, 11, 7)):
        y = 11 + i * 3.5 + o
        d.rectangle(sbox((9 + o, y, 9 + o + w, y + 1.5)), fill=255)
    lens = (13 + o, 13 + o, 25 + o, 25 + o)
    glass = ellipse_mask(cv, lens)
    rim = ring_mask(cv, lens, 2.2)
    handle = stroke_mask(cv, [(23.2 + o, 23.2 + o), (28 + o, 28 + o)], 3.4)
    return [(page, WHITE), (fold, PALE_BLUE), (lines, LIGHT_BLUE),
            (glass, mix(WHITE, PALE_BLUE, 0.5)), (handle, ORANGE), (rim, RULE_BLUE)]


def glyph_save(cv, o):
    # A floppy disk: white body, blue shutter with a slot, pale label.
    body = rrect_mask(cv, (5 + o, 5 + o, 27 + o, 27 + o), 2.5)
    cut = poly_mask(cv, [(23 + o, 4 + o), (28 + o, 4 + o), (28 + o, 9 + o)])
    body = ImageChops.subtract(body, cut)
    shutter = cv.mask()
    ImageDraw.Draw(shutter).rectangle(sbox((10 + o, 5 + o, 22 + o, 13 + o)), fill=255)
    slot = cv.mask()
    ImageDraw.Draw(slot).rectangle(sbox((18 + o, 6.5 + o, 20.5 + o, 11.5 + o)), fill=255)
    label = rrect_mask(cv, (8.5 + o, 16 + o, 23.5 + o, 27 + o), 1)
    label_lines = cv.mask()
    d = ImageDraw.Draw(label_lines)
    for y in (19.5, 22.5):
        d.rectangle(sbox((11 + o, y + o, 21 + o, y + 1.2 + o)), fill=255)
    return [(body, WHITE), (shutter, RULE_BLUE), (slot, WHITE),
            (label, PALE_BLUE), (label_lines, ORANGE)]


def glyph_return(cv, o):
    # A U-turn arrow pointing back to the left.
    arc = cv.mask()
    d = ImageDraw.Draw(arc)
    w = 3.6
    d.arc(sbox((12 + o, 9 + o, 27 + o, 26 + o)), 270, 90, fill=255, width=int(s(w)))
    # straight shank from the arrow head to the arc
    shank = stroke_mask(cv, [(11 + o, 10.8 + o), (19.5 + o, 10.8 + o)], w)
    tail = stroke_mask(cv, [(19.5 + o, 24.2 + o), (13 + o, 24.2 + o)], w)
    head = poly_mask(cv, [(3 + o, 10.8 + o), (12.5 + o, 3.5 + o), (12.5 + o, 18.1 + o)])
    arrow = ImageChops.lighter(ImageChops.lighter(arc, shank), ImageChops.lighter(tail, head))
    return [(arrow, WHITE)]


def glyph_submit(cv, o):
    # An arrow leaving an open tray: upload / send the results.
    tray = stroke_mask(cv, [(5 + o, 18 + o), (5 + o, 26.5 + o), (27 + o, 26.5 + o),
                            (27 + o, 18 + o)], 3.2)
    shaft = stroke_mask(cv, [(16 + o, 21.5 + o), (16 + o, 11 + o)], 4.0)
    head = poly_mask(cv, [(16 + o, 2.5 + o), (25 + o, 12.5 + o), (7 + o, 12.5 + o)])
    arrow = ImageChops.lighter(shaft, head)
    return [(tray, WHITE), (arrow, ORANGE)]


# --------------------------------------------------------------------------
# The skin sheet: a 232 x 150 board of pieces, everything else magenta.
# --------------------------------------------------------------------------

SKIN_W, SKIN_H = 232, 150
SKIN_LOGO = (0, 0, 150, 150)
SKIN_HELP = (150, 83, 163, 97)
SKIN_YES = (150, 105, 195, 148)   # tick drawn in columns 150..187 only
SKIN_NO = (188, 105, 233, 148)    # cross drawn in columns 195..231 only


def skin_logo():
    cv = Canvas(150, 150, LIGHT_BLUE)
    draw_logo(cv, 8, 8, 134, LIGHT_BLUE)
    return cv.shrink()


def help_icon():
    w, h = SKIN_HELP[2] - SKIN_HELP[0], SKIN_HELP[3] - SKIN_HELP[1]
    cv = Canvas(w, h, LIGHT_BLUE)
    disc = (0.2, 0.7, 12.8, 13.3)
    cv.fill(ellipse_mask(cv, disc), WHITE)
    cv.fill(ring_mask(cv, disc, 0.9), RULE_BLUE)
    # The question mark is drawn by hand so it stays sharp at this size.
    q = stroke_mask(cv, [(4.7, 5.2), (4.9, 4.3), (5.6, 3.6), (6.5, 3.3), (7.5, 3.5),
                         (8.2, 4.2), (8.4, 5.1), (8.0, 6.0), (7.1, 6.6),
                         (6.5, 7.3), (6.5, 8.3)], 1.9)
    cv.fill(q, BAND_BLUE)
    cv.fill(dot_mask(cv, 6.5, 10.4, 1.05), BAND_BLUE)
    return cv.shrink()


def keyed_indicator(w, h, draw):
    """A piece whose background is the magenta colour key.

    The shape is antialiased against light blue, the colour it will finally
    sit on, and every pixel the shape does not touch is exact magenta; so
    the edges never pick up a pink fringe.
    """
    cv = Canvas(w, h, LIGHT_BLUE)
    cover = Canvas(w, h, BLACK)
    for m, col in draw(cv):
        cv.fill(m, col)
        cover.fill(m, WHITE)
    pic = cv.shrink()
    alpha = cover.shrink().convert("L")
    key = Image.new("RGB", (w, h), MAGENTA)
    # Pixels with next to no coverage become key colour outright.
    solid = alpha.point(lambda v: 255 if v >= 20 else 0)
    return Image.composite(pic, key, solid)


def tick_layers(cv):
    pts = [(7.5, 22.5), (15.5, 31), (31.5, 10)]
    outer = stroke_mask(cv, pts, 8.4)
    inner = stroke_mask(cv, pts, 5.6)
    shine = stroke_mask(cv, [(p[0] - 0.4, p[1] - 0.9) for p in pts], 1.6)
    return [(shifted(outer, 0.6, 1.0), RULE_BLUE), (outer, TICK_GREEN_DARK),
            (inner, TICK_GREEN), (intersect(shine, inner), mix(TICK_GREEN, WHITE, 0.45))]


def cross_layers(cv):
    a = [(12, 9.5), (29, 33.5)]
    b = [(12, 33.5), (29, 9.5)]
    # Translated so the cross sits in columns 195..231 of the sheet.
    outer = ImageChops.lighter(stroke_mask(cv, a, 8.2), stroke_mask(cv, b, 8.2))
    inner = ImageChops.lighter(stroke_mask(cv, a, 5.4), stroke_mask(cv, b, 5.4))
    shine = stroke_mask(cv, [(p[0] + 0.8, p[1] - 0.5) for p in a], 1.4)
    return [(shifted(outer, 0.6, 1.0), RULE_BLUE), (outer, CROSS_RED_DARK),
            (inner, CROSS_RED), (intersect(shine, inner), mix(CROSS_RED, WHITE, 0.4))]


def skin_bitmap():
    sheet = Image.new("RGB", (SKIN_W, SKIN_H), MAGENTA)
    sheet.paste(skin_logo(), SKIN_LOGO[:2])
    sheet.paste(help_icon(), SKIN_HELP[:2])
    # Tick: 38 columns (150..187), 43 rows.
    sheet.paste(keyed_indicator(38, 43, tick_layers), (150, 105))
    # Cross: columns 195..231 (the sheet ends at 232), 43 rows.
    sheet.paste(keyed_indicator(37, 43, lambda cv: shift_layers(cv, cross_layers(cv), -7)),
                (195, 105))
    return sheet


def shift_layers(cv, layers, dx):
    return [(shifted(m, dx, 0), col) for m, col in layers]


# --------------------------------------------------------------------------
# Icon: the logo on a rounded blue tile.
# --------------------------------------------------------------------------

def icon_image(size):
    """An RGBA icon of the given size."""
    cv = Canvas(size, size, BAND_BLUE)
    cv.img.putalpha(0)
    inset = 0.0 if size <= 16 else size / 48.0
    tile = (inset, inset, size - inset, size - inset)
    tm = rrect_mask(cv, tile, size * 0.2)
    cv.fill_gradient(tm, mix(LIGHT_BLUE, BAND_BLUE, 0.35), BAND_BLUE, 0, size)
    pad = size * (0.07 if size <= 16 else 0.12)
    draw_logo(cv, pad, pad, size - 2 * pad, BAND_BLUE, detail=size >= 32)
    # Keep the logo inside the tile.
    img = cv.img
    a = ImageChops.multiply(img.getchannel("A"), tm)
    img.putalpha(a)
    return img.resize((size, size), Image.LANCZOS)


# --------------------------------------------------------------------------
# The icon as an SVG drawing: the shapes of icon_image() at its largest
# size, for icon themes that scale.
# --------------------------------------------------------------------------

THEME_ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def hex_colour(c):
    return "#%02x%02x%02x" % tuple(c)


def svg_rrect(box, radius, attrs):
    x0, y0, x1, y1 = box
    return ('<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" rx="%.2f" %s/>'
            % (x0, y0, x1 - x0, y1 - y0, radius, attrs))


def svg_gradient(gid, top, bottom, y0, y1):
    return ('<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="0" y1="%.2f" '
            'x2="0" y2="%.2f"><stop offset="0" stop-color="%s"/>'
            '<stop offset="1" stop-color="%s"/></linearGradient>'
            % (gid, y0, y1, hex_colour(top), hex_colour(bottom)))


def icon_svg(size=256):
    """The icon as SVG text, drawn like icon_image(size) with detail."""
    inset = size / 48.0
    tile = (inset, inset, size - inset, size - inset)
    tile_r = size * 0.2
    pad = size * 0.12
    n = size - 2 * pad

    def box(u0, v0, u1, v1):
        return (pad + u0 * n, pad + v0 * n, pad + u1 * n, pad + v1 * n)

    radius = 0.085 * n
    title_h = 0.15 * n
    border = max(0.9, 0.025 * n)
    back = box(0.04, 0.10, 0.66, 0.66)
    front = box(0.34, 0.34, 0.96, 0.90)

    defs = [
        svg_gradient("tile", mix(LIGHT_BLUE, BAND_BLUE, 0.35), BAND_BLUE, 0, size),
        svg_gradient("back", WHITE, PALE_BLUE, back[1], back[3]),
        svg_gradient("front", LIGHT_BLUE, BAND_BLUE, front[1], front[3]),
        '<clipPath id="tileClip">%s</clipPath>' % svg_rrect(tile, tile_r, ""),
        '<clipPath id="backClip">%s</clipPath>' % svg_rrect(back, radius, ""),
        '<clipPath id="frontClip">%s</clipPath>' % svg_rrect(front, radius, ""),
    ]
    body = [svg_rrect(tile, tile_r, 'fill="url(#tile)"'), '<g clip-path="url(#tileClip)">']
    # The back pane with its orange title bar and three lines of "text".
    body.append(svg_rrect(back, radius, 'fill="url(#back)" fill-opacity="0.92"'))
    body.append('<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" fill="%s" '
                'clip-path="url(#backClip)"/>'
                % (back[0], back[1], back[2] - back[0], title_h, hex_colour(ORANGE)))
    lx0 = back[0] + 0.06 * n
    for i, frac in enumerate((0.42, 0.30, 0.36)):
        ly = back[1] + title_h + 0.07 * n + i * 0.075 * n
        body.append(svg_rrect((lx0, ly, lx0 + frac * n, ly + 0.035 * n), 0.0175 * n,
                              'fill="%s" fill-opacity="0.9"' % hex_colour(LIGHT_BLUE)))
    # The front pane: translucent glass, a gloss, its title bar and buttons.
    body.append(svg_rrect(front, radius, 'fill="url(#front)" fill-opacity="0.62"'))
    gloss = box(0.14, 0.06, 1.30, 0.64)
    body.append('<ellipse cx="%.2f" cy="%.2f" rx="%.2f" ry="%.2f" fill="#ffffff" '
                'fill-opacity="0.16" clip-path="url(#frontClip)"/>'
                % ((gloss[0] + gloss[2]) / 2, (gloss[1] + gloss[3]) / 2,
                   (gloss[2] - gloss[0]) / 2, (gloss[3] - gloss[1]) / 2))
    body.append('<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" fill="%s" '
                'fill-opacity="0.88" clip-path="url(#frontClip)"/>'
                % (front[0], front[1], front[2] - front[0], title_h, hex_colour(RULE_BLUE)))
    r = 0.028 * n
    cy = front[1] + title_h / 2.0
    for i, col in enumerate((PALE_BLUE, PALE_BLUE, ORANGE)):
        cx = front[2] - 0.06 * n - (2 - i) * 0.075 * n
        body.append('<circle cx="%.2f" cy="%.2f" r="%.2f" fill="%s"/>'
                    % (cx, cy, r, hex_colour(col)))
    half = border / 2.0
    body.append(svg_rrect((front[0] + half, front[1] + half, front[2] - half, front[3] - half),
                          radius - half, 'fill="none" stroke="#ffffff" stroke-opacity="0.95" '
                          'stroke-width="%.2f"' % border))
    body.append('</g>')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
            '<defs>\n%s\n</defs>\n%s\n</svg>\n'
            % (size, size, size, size, "\n".join(defs), "\n".join(body)))


# --------------------------------------------------------------------------
# File writers.
# --------------------------------------------------------------------------

def bmp_bytes(img):
    """An uncompressed 24-bit bottom-up BI_RGB Windows bitmap."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    pad = b"\0" * (stride - w * 3)
    raw = img.tobytes("raw", "BGR")
    rows = [raw[y * w * 3:(y + 1) * w * 3] + pad for y in range(h - 1, -1, -1)]
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return header + info + pixels


def ico_bytes(images):
    """A .ico holding each RGBA image as a 32-bit DIB with an AND mask."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        w, h = img.size
        bgra = img.tobytes("raw", "BGRA")
        xor = b"".join(bgra[y * w * 4:(y + 1) * w * 4] for y in range(h - 1, -1, -1))
        mask_stride = ((w + 31) // 32) * 4
        alpha = img.getchannel("A")
        and_rows = []
        for y in range(h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(w):
                if alpha.getpixel((x, y)) < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            and_rows.append(bytes(bits))
        info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                           len(xor) + len(and_rows) * mask_stride, 0, 0, 0, 0)
        blob = info + xor + b"".join(and_rows)
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def png_bytes(img):
    out = io.BytesIO()
    img.save(out, "PNG", optimize=True)
    return out.getvalue()


BITMAPS = [
    (132, "logo", logo_bitmap),
    (133, "close", lambda: round_button("close", False)),
    (136, "close_pressed", lambda: round_button("close", True)),
    (139, "run_test", lambda: round_button("run", False)),
    (140, "run_test_pressed", lambda: round_button("run", True)),
    (143, "view_details", lambda: square_button(glyph_details, False)),
    (144, "view_details_pressed", lambda: square_button(glyph_details, True)),
    (145, "save_pressed", lambda: square_button(glyph_save, True)),
    (146, "save", lambda: square_button(glyph_save, False)),
    (147, "return", lambda: square_button(glyph_return, False)),
    (148, "return_pressed", lambda: square_button(glyph_return, True)),
    (151, "skin", skin_bitmap),
    (152, "farewell", farewell_bitmap),
    (154, "submit", lambda: square_button(glyph_submit, False)),
    (155, "submit_pressed", lambda: square_button(glyph_submit, True)),
]


# The sizes desktops ask for: menus and task bars (16, 32), lists (48), and
# the larger ones of switchers and docks.
ICON_SIZES = (16, 32, 48, 64, 128)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    res = argv[1] if len(argv) > 1 else os.path.join(root, "res")
    bmp_dir = os.path.join(res, "bmp")
    os.makedirs(bmp_dir, exist_ok=True)
    for rid, name, make in BITMAPS:
        write(os.path.join(bmp_dir, "%d_%s.bmp" % (rid, name)), bmp_bytes(make()))
    icons = [icon_image(n) for n in ICON_SIZES]
    write(os.path.join(res, "quorvel.ico"), ico_bytes(icons))
    write(os.path.join(res, "quorvel_icon.png"), png_bytes(icons[ICON_SIZES.index(48)]))
    icon_dir = os.path.join(res, "icons")
    os.makedirs(icon_dir, exist_ok=True)
    for n in THEME_ICON_SIZES:
        write(os.path.join(icon_dir, "quorvel-%d.png" % n), png_bytes(icon_image(n)))
    write(os.path.join(icon_dir, "quorvel.svg"), icon_svg().encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

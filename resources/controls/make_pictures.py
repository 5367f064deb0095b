#!/usr/bin/env python3
"""Writes the SVG pictures of the push button, drop-down box, slide switch,
option dot, picture options and hand cursor, and the pictures.qrc that lists
them. Run it from anywhere; it writes next to itself. The SVG files are
committed, so a build never needs this script."""

from pathlib import Path

HERE = Path(__file__).resolve().parent

PANEL = "#3d3f3f"      # the dark grey of the panels the controls sit on
EDGE = "#1b1c1d"       # outer edge line of raised parts
FONT = "Arial, 'Liberation Sans', 'DejaVu Sans', sans-serif"


def svg(w, h, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}" shape-rendering="crispEdges">\n{body}</svg>\n')


def grad(gid, top, bottom):
    return (f'<defs><linearGradient id="{gid}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient></defs>\n')


def rounded_face(w, h, top, bottom, rim, light, r=3):
    """A raised face: gradient body, one-pixel rim and a highlight line."""
    return (grad("g", top, bottom)
            + f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{r}" '
              f'fill="url(#g)" stroke="{rim}" stroke-width="1" shape-rendering="geometricPrecision"/>\n'
            + f'<rect x="{r}" y="1" width="{w - 2 * r}" height="1" fill="{light}"/>\n')


# ---- push button faces: style 0 is 63 x 26, style 1 is 43 x 23 ----------
BUTTON_LOOKS = {
    "normal": ("#565a5e", "#2f3133", EDGE, "#7a7f84"),
    "hover": ("#6a7278", "#3a3f44", "#8fb4d8", "#9aa3ab"),
    "pressed": ("#26282a", "#44484c", "#5f86ad", "#1f2123"),
}


def button(w, h, look):
    top, bottom, rim, light = BUTTON_LOOKS[look]
    return svg(w, h, rounded_face(w, h, top, bottom, rim, light))


# ---- drop-down boxes: 70 x 19 and the compact 70 x 16 --------------------
def combo(w, h, pressed):
    top, bottom = ("#1f2123", "#35383b") if pressed else ("#4b4f53", "#2a2c2e")
    body = rounded_face(w, h, top, bottom, EDGE, "#1b1c1d" if pressed else "#6d7276", r=2)
    # arrow well at the right end, split off by a groove
    gx = w - 15
    body += f'<rect x="{gx}" y="2" width="1" height="{h - 4}" fill="#1b1c1d"/>\n'
    body += f'<rect x="{gx + 1}" y="2" width="1" height="{h - 4}" fill="#5d6266"/>\n'
    shift = 1 if pressed else 0
    cx = gx + 8 + shift
    cy = h // 2 - 1 + shift
    # a downward arrow drawn row by row, so it stays sharp at 1:1
    for i in range(4):
        body += f'<rect x="{cx - 4 + i}" y="{cy + i}" width="{7 - 2 * i}" height="1" fill="#ffffc0"/>\n'
    return svg(w, h, body)


# ---- slide switch faces, 56 x 23 -----------------------------------------
def flagbar(on):
    w, h = 56, 23
    body = grad("t", "#1c1d1e", "#34373a")
    body += (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="url(#t)" '
             f'stroke="{EDGE}" shape-rendering="geometricPrecision"/>\n')
    body += f'<rect x="6" y="11" width="{w - 12}" height="1" fill="#0f1011"/>\n'
    kw = 26
    kx = w - kw - 2 if on else 2
    if on:
        body += grad("k", "#5aa0f0", "#1d4f94")
        knob_rim = "#0d2a52"
    else:
        body += grad("k", "#b9bdc1", "#6b7075")
        knob_rim = "#2a2c2e"
    body += (f'<rect x="{kx + 0.5}" y="2.5" width="{kw - 1}" height="{h - 5}" rx="4" fill="url(#k)" '
             f'stroke="{knob_rim}" shape-rendering="geometricPrecision"/>\n')
    body += f'<rect x="{kx + 3}" y="4" width="{kw - 6}" height="1" fill="#ffffff" fill-opacity="0.35"/>\n'
    mx = kx + kw // 2
    if on:
        body += f'<rect x="{mx - 1}" y="6" width="3" height="{h - 12}" fill="#e01818"/>\n'
    else:
        body += (f'<circle cx="{mx + 0.5}" cy="{h / 2}" r="3.5" fill="none" stroke="#3a3c3e" '
                 f'stroke-width="1.4" shape-rendering="geometricPrecision"/>\n')
    return svg(w, h, body)


# ---- option dots, 16 x 17 -------------------------------------------------
def option_dot(is_set):
    fill_top, fill_bottom = ("#fff27a", "#e0b400") if is_set else ("#5a5c5e", "#2b2c2d")
    body = ('<defs><radialGradient id="d" cx="0.4" cy="0.35" r="0.7">'
            f'<stop offset="0" stop-color="{fill_top}"/><stop offset="1" stop-color="{fill_bottom}"/>'
            '</radialGradient></defs>\n')
    body += ('<circle cx="8" cy="8.5" r="6.6" fill="url(#d)" stroke="#2f6fd0" stroke-width="1.6" '
             'shape-rendering="geometricPrecision"/>\n')
    return svg(16, 17, body)


# ---- picture options: labels, sizes and the two looks ---------------------
def stroke_path(d, colour, width=1.4):
    return (f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{width}" '
            f'stroke-linecap="square" shape-rendering="geometricPrecision"/>\n')


def flat_sign(x, y, colour):
    # stem with a closed bowl at its foot
    return stroke_path(f"M{x},{y} V{y + 12} C{x + 6},{y + 10} {x + 6},{y + 5} {x},{y + 7}", colour)


def natural_sign(x, y, colour):
    return stroke_path(f"M{x},{y} V{y + 10} L{x + 5},{y + 8.5} M{x + 5},{y + 3} V{y + 13} "
                       f"M{x},{y + 4.5} L{x + 5},{y + 3}", colour)


def sharp_sign(x, y, colour):
    return stroke_path(f"M{x + 1.5},{y} V{y + 13} M{x + 4.5},{y - 0.5} V{y + 12.5} "
                       f"M{x},{y + 5} L{x + 6},{y + 3.5} M{x},{y + 9.5} L{x + 6},{y + 8}", colour)


def text(x, y, s, colour, size, anchor="middle"):
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" font-weight="bold" '
            f'fill="{colour}" text-anchor="{anchor}" shape-rendering="geometricPrecision">{s}</text>\n')


# ButtonIndex: (kind, text, width, height)
OPTION_PAIRS = [("flat", "1"), ("flat", "2"), ("flat", "3"), ("flat", "4"), ("flat", "5"),
                ("natural", ""),
                ("sharp", "1"), ("sharp", "2"), ("sharp", "3"), ("sharp", "4"), ("sharp", "5"),
                ("word", "AUTO"), ("word", "AUX"), ("word", "BGM"),
                ("word", "Mute"), ("word", "Lock"), ("word", "Reset")]


def option_size(index):
    if index <= 10:
        return 36, 22
    if index <= 13:
        return 44, 22
    return 42, 24


def option_ex(index, on):
    kind, label = OPTION_PAIRS[index]
    w, h = option_size(index)
    if on:
        box, rim, ink = "#ffd21f", "#b88a00", "#d41414"
    elif index >= 14:
        box, rim, ink = "#161718", "#000000", "#ffffff"
    else:
        box, rim, ink = "#f5f5f5", "#9a9a9a", "#3e4040"
    body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="{box}" '
            f'stroke="{rim}" shape-rendering="geometricPrecision"/>\n')
    base = h / 2 + 5
    if kind == "word":
        body += text(w / 2, base, label, ink, 11 if len(label) <= 4 else 10)
    elif kind == "natural":
        body += natural_sign(w / 2 - 2.5, h / 2 - 6.5, ink)
    else:
        sign = flat_sign if kind == "flat" else sharp_sign
        sx = w / 2 - 7
        body += sign(sx, h / 2 - 6.5, ink)
        body += text(sx + 8, base, label, ink, 13, anchor="start")
    return svg(w, h, body)


# ---- hand cursor, 32 x 32, one bit per pixel, hot spot at (5, 0) ----------
HAND = [
    "     oo          ",
    "    owwo         ",
    "    owwo         ",
    "    owwo         ",
    "    owwo         ",
    "    owwooo       ",
    "    owwowwooo    ",
    "    owwowwowwoo  ",
    "    owwowwowwowo ",
    " oo owwowwowwowwo",
    "owwoowwwwwwwwwwwo",
    "owwwowwwwwwwwwwwo",
    " owwwwwwwwwwwwwwo",
    "  owwwwwwwwwwwwwo",
    "  owwwwwwwwwwwwo ",
    "   owwwwwwwwwwwo ",
    "   owwwwwwwwwwo  ",
    "    owwwwwwwwwo  ",
    "    owwwwwwwwwo  ",
    "    ooooooooooo  ",
]


def hand_cursor():
    body = ""
    for y, row in enumerate(HAND):
        x = 0
        while x < len(row):
            c = row[x]
            if c == " ":
                x += 1
                continue
            end = x
            while end < len(row) and row[end] == c:
                end += 1
            colour = "#000000" if c == "o" else "#ffffff"
            body += f'<rect x="{x}" y="{y}" width="{end - x}" height="1" fill="{colour}"/>\n'
            x = end
    return svg(32, 32, body)


def main():
    files = {}
    for style, (w, h) in (("large", (63, 26)), ("small", (43, 23))):
        for look in ("normal", "hover", "pressed"):
            files[f"button_{style}_{look}.svg"] = button(w, h, look)
    files["combo_normal.svg"] = combo(70, 19, False)
    files["combo_pressed.svg"] = combo(70, 19, True)
    files["combo_compact_normal.svg"] = combo(70, 16, False)
    files["combo_compact_pressed.svg"] = combo(70, 16, True)
    files["flagbar_off.svg"] = flagbar(False)
    files["flagbar_on.svg"] = flagbar(True)
    files["option_set.svg"] = option_dot(True)
    files["option_clear.svg"] = option_dot(False)
    for i in range(len(OPTION_PAIRS)):
        files[f"optionex_{i:02d}_on.svg"] = option_ex(i, True)
        files[f"optionex_{i:02d}_off.svg"] = option_ex(i, False)
    files["hand_cursor.svg"] = hand_cursor()

    for name, content in files.items():
        (HERE / name).write_text(content, encoding="utf-8")
    qrc = '<!DOCTYPE RCC>\n<RCC version="1.0">\n<qresource prefix="/controls">\n'
    qrc += "".join(f"  <file>{name}</file>\n" for name in sorted(files))
    qrc += "</qresource>\n</RCC>\n"
    (HERE / "pictures.qrc").write_text(qrc, encoding="utf-8")


if __name__ == "__main__":
    main()

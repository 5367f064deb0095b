#!/usr/bin/env python3
"""Writes the main window's two descriptions (MainFrm_Big.json, English, and
MainFrm_Small.json, Chinese), the background pictures, the six header strips
and windows.qrc. Run it from anywhere; it writes next to itself. The output is
committed, so a build never needs this script.

Every position and size is in twips (15 to the pixel), Left, Top, Width,
Height, relative to the window's client area or to the frame named in
"container". Colours are &HBBGGRR as the platform writes them. The keys of
"properties" are the skinned controls' property-bag keys, in lower case."""

import json
from pathlib import Path

HERE = Path(__file__).resolve().parent

PANEL_BACK = "&H3F3F3D"       # the dark panels (red 3D, green 3F, blue 3F)
HEADER_FORE = "&H80FFFF"      # light yellow column names
FONT = "Arial, 'Liberation Sans', 'DejaVu Sans', sans-serif"

# --- the faders -------------------------------------------------------------

MUSIC = dict(  # C_ScrollBar7(0..15)
    widths=[1095] * 6 + [1245, 1455] + [1215, 1215, 1455, 1455, 1455, 1215, 1335, 1215],
    titles=["57Hz", "134Hz", "400Hz", "1KHz", "2.5KHz", "6.3KHz", "16KHz", "OUT LIMIT",
            "C MUC VOL", "C MIC VOL", "C BASS", "C MID", "C TREBLE", "SUB FREQ", "SUB MicOn Vol", "SUB VOL"],
    maxima=[20] * 7 + [6] + [80, 80, 20, 20, 20, 21, 80, 80],
    tips=[6] * 7 + [9] + [0, 0, 6, 6, 6, 8, 0, 0],
    tags=[0, 1, 2, 3, 4, 5, 6, 29, 17, 18, 24, 23, 22, 27, 25, 26])
MIC = dict(  # C_ScrollBar1(0..8)
    widths=[1095] * 7 + [1245, 1485],
    titles=["57Hz", "134Hz", "400Hz", "1KHz", "2.5KHz", "6.3KHz", "10KHz", "MIC H_Curve", "MIC LowCut"],
    maxima=[20] * 7 + [3, 13],
    tips=[6] * 7 + [5, 8],
    tags=[0, 1, 2, 3, 4, 5, 6, 8, 7])
KTV = dict(  # C_ScrollBar3(0..7)
    widths=[1335] * 7 + [1095],
    titles=["ECHO-A REP", "ECHO-A DLY", "Echo-A Vol", "Echo-B Vol", "Echo-B H_Cut", "Echo-B L&R",
            "ECHO-B REP", "ECHO-B DLY"],
    maxima=[15, 15, 80, 80, 100, 127, 100, 127],
    tips=[0, 1, 0, 0, 0, 0, 0, 4],
    tags=[82, 80, 98, 99, 10, 85, 83, 81])
EFF = dict(  # C_ScrollBar2(0..9)
    widths=[1155] * 10,
    titles=["ECHO-A REP", "ECHO-A DLY", "ECHO VOL", "REV VOL", "REV 1 Time", "REV 1 Time", "REV 3 Time",
            "REV DLY", "REV H_CUT1", "REV H_CUT 2"],
    maxima=[15, 15, 80, 80, 60, 60, 60, 40, 100, 100],
    tips=[0, 1, 0, 0, 2, 2, 2, 3, 0, 0],
    tags=[82, 80, 98, 199, 130, 131, 132, 181, 110, 111])


def fader_props(big, title, maximum, tip):
    # Faders in dB show the scale from +10 to -10, the others Max to Min.
    scale = ["+10", "0", "-10"] if tip == 6 else ["Max", "Mid", "Min"]
    return {"maxvalue": maximum, "title": title, "text1": scale[0], "text2": scale[1],
            "text3": scale[2], "enabled": True, "showsize": big, "titlevisible": True,
            "valueglobal": False, "valuetiptype": tip}


def fader(big, name, index, table, left, top, visible, container=None):
    c = {"kind": "C_ScrollBar", "name": name, "index": index}
    if container:
        c["container"] = container
    c.update(left=left, top=top, width=table["widths"][index], height=1665 if big else 1500)
    if not visible:
        c["visible"] = False
    c["tag"] = str(table["tags"][index])
    c["properties"] = fader_props(big, table["titles"][index], table["maxima"][index], table["tips"][index])
    return c


# --- one skin -----------------------------------------------------------------

def describe(big):
    B = lambda e, z: e if big else z  # English value, Chinese value
    frame_h = B(1780, 1500)
    fader_top = B(70, 24)
    controls = []
    add = controls.append

    # The two panel frames and what they hold. The frames come first so that
    # the header strips, created later, stand over them.
    for name, left, top in (("Frame1", B(300, 380), B(1240, 1000)), ("Frame2", B(300, 380), B(6030, 5020))):
        add({"kind": "Frame", "name": name, "left": left, "top": top, "width": 10200, "height": frame_h,
             "caption": name, "borderStyle": 1, "backColor": PANEL_BACK})
    for k in range(16):
        left = k * 1230 if k < 8 else (k - 8) * 1140 + 1000
        add(fader(big, "C_ScrollBar7", k, MUSIC, left, fader_top, k < 8, "Frame1"))
    for name, top, invert in (("C_FlagBar2", 450, True), ("C_FlagBar3", 1150, False)):
        add({"kind": "C_FlagBar", "name": name, "container": "Frame1", "left": 300, "top": top,
             "width": 840, "height": 345, "visible": False, "tag": "21" if invert else "28",
             "properties": {"buttonstyle": 0, "valueinvert": invert}})
    for name, top, caption, width in (("Label3", 250, "EFF In C", 1065), ("Label6", 950, "SUB Invert", 1275)):
        add({"kind": "Label", "name": name, "container": "Frame1", "left": 200, "top": top, "width": width,
             "height": 285, "visible": False, "caption": caption, "transparent": True,
             "foreColor": HEADER_FORE})
    for i in range(8):
        add(fader(big, "C_ScrollBar3", i, KTV, i * 1260, fader_top, True, "Frame2"))
    for i in range(10):
        add(fader(big, "C_ScrollBar2", i, EFF, i * 1000, fader_top, False, "Frame2"))

    # Microphone faders stand on the window itself.
    for k in range(9):
        add(fader(big, "C_ScrollBar1", k, MIC, k * 1100 + 380, B(3660, 3046), True))

    # Header strips and the hidden header texts.
    strips = [("Picture1", 9375, B(810, 900), B(1280, 1000), False),
              ("Picture2", 8955, B(1540, 1640), B(1260, 1000), False),
              ("Picture3", 9675, 860, B(3640, 3030), True),
              ("Picture4", 9855, B(550, 600), B(6080, 5040), True),
              ("Picture5", 9975, B(600, 700), B(6040, 5020), False),
              ("Picture6", B(6315, 9975), 560, 1280, False)]
    for n, (name, width, left, top, visible) in enumerate(strips, start=1):
        c = {"kind": "PictureBox", "name": name, "left": left, "top": top, "width": width, "height": 215}
        if not visible:
            c["visible"] = False
        image = min(n, 5)  # Picture6 shows Picture5's image
        c.update(backColor=PANEL_BACK, borderStyle=0, picture=f":/windows/picture{image}.svg")
        add(c)
    for name, width, left, top in (("Text2", 10005, B(510, 590), B(1320, 1040)),
                                   ("Text3", 10185, 420, B(3660, 3046)),
                                   ("Text4", B(10185, 10065), B(480, 560), B(6090, 5060))):
        add({"kind": "TextBox", "name": name, "left": left, "top": top, "width": width, "height": 210,
             "visible": False, "text": "", "backColor": PANEL_BACK, "foreColor": HEADER_FORE, "borderStyle": 0})

    # Preset selectors and the music sub-page options.
    for name, top in (("C_ComboBox1", B(880, 750)), ("C_ComboBox2", B(3260, 2752)), ("C_ComboBox3", B(5648, 4762))):
        add({"kind": "C_ComboBox", "name": name, "left": B(2580, 2220), "top": top, "width": 1050,
             "height": B(285, 240), "properties": {"showsize": not big}})
    options = [(B(5670, 5940), B(915, 750), B(1365, 825), B("Balanced", "均衡"), True, True),
               (7200, B(920, 750), 765, B("Aid", "辅助"), False, True),
               (B(8340, 8640), B(920, 750), 765, B("无用", "辅助"), False, False)]
    for i, (left, top, width, caption, value, visible) in enumerate(options):
        c = {"kind": "C_Option", "name": "C_Option1", "index": i, "left": left, "top": top, "width": width,
             "height": 255}
        if not visible:
            c["visible"] = False
        c["properties"] = {"caption": caption, "value": value}
        add(c)

    # Channel-level faders.
    for i, top in enumerate((B(1320, 1020), B(3720, 3000), B(6120, 5040))):
        add({"kind": "C_ScrollBar", "name": "C_ScrollBar4", "index": i, "left": B(11040, 10980), "top": top,
             "width": 1065 if (not big and i == 0) else 1095, "height": B(1665, 1500),
             "properties": fader_props(big, "", 80, 0)})

    # Key row, input row, exciter, mute, lock, reset.
    for i in range(11):
        left = [2400, 3165, 3930, 4710, 5475, 6240, 7005, 7770, 8550, 9315, 10080][i] - B(0, 450)
        add({"kind": "C_OptionEx", "name": "C_OptionEx1", "index": i, "left": left, "top": B(8460, 6990),
             "width": 540, "height": 330, "properties": {"buttonindex": i, "value": i == 5}})
    for i, (left, button) in enumerate(zip(B([2400, 3105, 3840], [1980, 2685, 3420]), (11, 13, 12))):
        add({"kind": "C_OptionEx", "name": "C_OptionEx2", "index": i, "left": left, "top": B(8955, 7425),
             "width": 660, "height": 330, "properties": {"buttonindex": button, "value": i == 1}})
    add({"kind": "C_FlagBar", "name": "C_FlagBar1", "left": B(7140, 6570), "top": B(8940, 7440), "width": 840,
         "height": 345, "properties": {"buttonstyle": 0, "valueinvert": False}})
    for i, (left, top) in enumerate(B([(8520, 8940), (9315, 8955), (10080, 8955)],
                                      [(7920, 7425), (8715, 7425), (9480, 7425)])):
        add({"kind": "C_OptionEx", "name": "C_OptionEx3", "index": i, "left": left, "top": top, "width": 795,
             "height": 450, "properties": {"buttonindex": 14 + i, "value": False}})

    # Push buttons, progress strip, status and model labels.
    captions = B(["Read", "Upload", "Import", "Save"], ["读取", "上传", "导入", "保存"])
    places = B([(11220, 8640), (11220, 9045), (12660, 8640), (12660, 9045)],
               [(11160, 7020), (11160, 7380), (12510, 7020), (12510, 7380)])
    for i, ((left, top), caption) in enumerate(zip(places, captions)):
        add({"kind": "C_Button", "name": "C_Button1", "index": i, "left": left, "top": top, "width": 945,
             "height": 390, "properties": {"buttonindex": 0, "caption": caption}})
    add({"kind": "C_ProgressBar", "name": "C_ProgressBar1", "left": 0, "top": B(9720, 8100),
         "width": B(11070, 11370), "height": B(375, 345)})
    add({"kind": "Label", "name": "Label4", "left": 11160, "top": B(9750, 8100), "width": 2775, "height": 375,
         "caption": B("Not connected", "未连接"), "alignment": "center", "transparent": True,
         "font": {"name": "幼圆", "size": 14.25, "bold": False, "charset": 134}, "foreColor": "&HFFFF00"})
    add({"kind": "Label", "name": "Label5", "left": B(11220, 11550), "top": B(240, 210), "width": 2595,
         "height": 495, "caption": B(" " * 9, "TSR-515GN"), "transparent": True,
         "font": {"name": "Arial", "size": B(21.75, 18), "bold": True}, "foreColor": "&HE0E0E0"})

    # Volume column: for channel i, Label2(i) "Start", the Min, Max and Mode
    # labels, boxes Text1(3i + role) and spinners VScroll1(3i + role).
    start_lefts = B([12945] * 3, [12795, 12795, 12780])
    start_tops = B([1320, 3720, 6120], [1080, 3120, 5100])
    label_index = [[0, 1, 2], [5, 4, 3], [8, 7, 6]]  # [channel][role]
    label_tops = B([[1680, 2205, 2700], [4080, 4605, 5100], [6480, 7005, 7500]],
                   [[1380, 1785, 2190], [3390, 3795, 4200], [5370, 5745, 6150]])
    box_tops = B([[1640, 2160, 2640], [4030, 4560, 5040], [6440, 6960, 7440]],
                 [[1335, 1740, 2130], [3345, 3750, 4140], [5325, 5700, 6090]])
    role_captions = B([" Min", " Max", "Mode"], ["最小", "最大", "模式"])
    white = "&HFFFFFF"
    labels, boxes, spinners = [], [], []
    for ch in range(3):
        add({"kind": "Label", "name": "Label2", "index": ch, "left": start_lefts[ch], "top": start_tops[ch],
             "width": 975, "height": 255, "caption": B("Start", "开机"), "transparent": True, "foreColor": white})
        for role in range(3):
            labels.append({"kind": "Label", "name": "Label1", "index": label_index[ch][role],
                           "left": B(12495, 12345), "top": label_tops[ch][role], "width": 975, "height": 255,
                           "caption": role_captions[role], "transparent": True, "foreColor": white})
            index = 3 * ch + role
            box = {"kind": "TextBox", "name": "Text1", "index": index, "left": B(12930, 12780),
                   "top": box_tops[ch][role], "width": 520, "height": 270,
                   "text": ["0", "80", ["MUS1", "MIC1", "KTV1"][ch]][role], "backColor": "&H71DDC0",
                   "alignment": "center"}
            if role == 2:
                box["locked"] = True
            else:
                box["maxLength"] = 2
            boxes.append(box)
            top_value = 80 if role < 2 else (5 if ch < 2 else 7)
            spinners.append({"kind": "VScrollBar", "name": "VScroll1", "index": index, "left": B(13480, 13330),
                             "top": box_tops[ch][role], "width": 200, "height": 280, "max": top_value,
                             "value": 80 if role == 1 else 0})
    controls += sorted(labels, key=lambda c: c["index"]) + boxes + spinners

    for name, interval, enabled in (("CommConnect", 100, False), ("Timer4", 4000, False), ("Timer3", 5000, True),
                                    ("Timer1", 300, False), ("Timer2", 15, True), ("TimeOuter", 1000, False)):
        add({"kind": "Timer", "name": name, "interval": interval, "enabled": enabled})

    # What the loading routine places and sets, per skin.
    load = {
        "headerTexts": [{"name": "Text2", "left": B(510, 590), "top": B(1320, 1040)},
                        {"name": "Text3", "left": 420, "top": B(3660, 3046)},
                        {"name": "Text4", "left": B(480, 560), "top": B(6090, 5060)}],
        # Only the microphone strip stays as the loading leaves it; the panel
        # layouts show the music and effect strips of their sets.
        "headerStrips": [{"name": name, "left": left, "top": top, "visible": name == "Picture3"}
                         for name, _, left, top, _ in strips],
        "micFaderTop": B(3660, 3046),
        "music": {"left": B(300, 380), "top": B(1240, 1000), "width": 10200, "height": frame_h},
        "effect": {"left": B(300, 380), "top": B(6030, 5020)},
        "frameFaderTop": fader_top,
    }
    window = {"name": B("MainFrm_Big", "MainFrm_Small"), "caption": B("Sonmira", "声美卡拉OK效果器"),
              "clientWidth": B(13980, 13905), "clientHeight": B(10110, 8445), "backColor": "&HFFFFFF",
              "picture": B(":/windows/background_big.svg", ":/windows/background_small.svg"),
              "keyPreview": True, "icon": ":/windows/icon.svg"}
    return {"window": window, "load": load, "controls": controls}


# --- artwork ------------------------------------------------------------------

def svg(w, h, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">\n{body}</svg>\n')


def text(x, y, s, size, fill, anchor="start", weight="bold"):
    s = s.replace("&", "&amp;")
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" font-weight="{weight}" '
            f'fill="{fill}" text-anchor="{anchor}">{s}</text>\n')


def box(x, y, w, h, fill, stroke="#1b1c1d", rx=4):
    return (f'<rect x="{x + 0.5}" y="{y + 0.5}" width="{w - 1}" height="{h - 1}" rx="{rx}" '
            f'fill="{fill}" stroke="{stroke}"/>\n')


def background(big):
    """The dark grey panel drawing. Measures in pixels, taken from where the
    description puts the controls."""
    W, H = (934, 682) if big else (927, 563)
    g = lambda e, z: e if big else z
    body = ('<defs><linearGradient id="bar" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#5a5d60"/><stop offset="1" stop-color="#3a3c3f"/></linearGradient>'
            '<linearGradient id="tab" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#2f6fb0"/><stop offset="1" stop-color="#1d4473"/></linearGradient>'
            '<linearGradient id="band" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="#8a5a10"/><stop offset="0.5" stop-color="#d08c1a"/>'
            '<stop offset="1" stop-color="#8a5a10"/></linearGradient></defs>\n')
    body += f'<rect width="{W}" height="{H}" fill="#2a2b2d"/>\n'
    # Title strip with the tab at the right.
    strip_h = g(54, 46)
    body += f'<rect width="{W}" height="{strip_h}" fill="url(#bar)"/>\n'
    body += f'<line x1="0" y1="{strip_h - 0.5}" x2="{W}" y2="{strip_h - 0.5}" stroke="#151617"/>\n'
    body += box(g(738, 760), g(8, 6), g(186, 160), strip_h - g(12, 10), "url(#tab)", "#0e2238", 6)
    # Three stacked panels, each with a header bar.
    panels = g([(58, 152), (214, 152), (370, 156)], [(50, 122), (180, 128), (314, 126)])
    headings = ["MUSIC", "MIC", "EFFECT"]
    bar_h = g(26, 20)
    for (top, height), heading in zip(panels, headings):
        body += box(12, top, 700, height, "#3d3f3f")
        body += box(12, top, 700, bar_h, "url(#bar)")
        body += text(24, top + bar_h - g(8, 6), heading, g(13, 12), "#f0d060")
    # Right column: one box per channel.
    for top, height in zip([p[0] for p in panels], [p[1] for p in panels]):
        body += box(g(728, 722), top, g(198, 200), height, "#3d3f3f")
    # Coloured band under the panels.
    band_top = g(530, 446)
    body += f'<rect x="12" y="{band_top}" width="{g(914, 910)}" height="{g(14, 10)}" rx="3" fill="url(#band)"/>\n'
    # Bottom panel: the row captions and the two boxes round the push buttons.
    bottom_top = band_top + g(18, 13)
    bottom_h = g(90, 76)
    body += box(12, bottom_top, g(914, 910), bottom_h, "#3d3f3f")
    key_y, input_y = g(580, 482), g(612, 511)
    body += text(g(150, 120), key_y, "KEY", 12, "#f0d060", "end")
    body += text(g(150, 120), input_y, "INPUT", 12, "#f0d060", "end")
    body += text(g(470, 432), input_y, "EXCITER", 11, "#f0d060", "end")
    for left in (g(740, 736), g(836, 826)):  # the unit's buttons, the computer's buttons
        body += box(left, bottom_top + 4, g(80, 86), bottom_h - 8, "#333537", "#6b6e72")
    # Strip along the bottom edge for the progress strip and the link status.
    body += f'<rect x="0" y="{g(647, 539)}" width="{W}" height="{H - g(647, 539)}" fill="#1c1d1f"/>\n'
    return svg(W, H, body)


def icon():
    """The window icon, the same in both skins: a fader knob on its slot over
    the panel grey. Drawn as a vector so that every size of it is sharp."""
    body = box(0, 0, 128, 128, "#2a2b2d", "#151617", 20)
    for x, knob in ((34, 78), (64, 40), (94, 62)):
        body += f'<rect x="{x - 4}" y="18" width="8" height="92" rx="4" fill="#151617"/>\n'
        body += box(x - 16, knob - 9, 32, 18, "#d08c1a", "#8a5a10", 4)
    return svg(128, 128, body)


STRIP_NAMES = {
    1: (619, 15, ["57Hz", "134Hz", "400Hz", "1KHz", "2.5KHz", "6.3KHz", "16KHz", "Out Limit"], 17, 82),
    2: (595, 16, ["C Music Vol", "C Mic Vol", "C Bass", "C Mid", "C Treble", "SUB Freq", "SUB MinOn Vol",
                  "SUB Vol"], 35, 76),
    3: (644, 13, ["57Hz", "134Hz", "400Hz", "1KHz", "2.5KHz", "6.3KHz", "16KHz", "MIC H_Curve", "MIC LowCut"],
        19, 73.33),
    4: (656, 14, ["Echo-A Rep", "Echo-A Dly", "Echo-A Vol", "Echo-B Vol", "Echo-B H_Cut", "Echo-B L&R",
                  "Echo-B Rep", "Echo-B Dly"], 34, 84),
    5: (660, 16, ["Echo Rep", "Echo Dly", "Echo Vol", "Rev Vol", "REV 1 Time", "REV 2 Time", "REV 3 Time",
                  "REV Dly", "REV H_Cut1", "REV H_Cut2"], 31, 66.67),
}


def strip(n):
    """Column names in light yellow on the panel grey, each centred over its
    fader."""
    w, h, names, first, step = STRIP_NAMES[n]
    body = f'<rect width="{w}" height="{h}" fill="#3d3f3f"/>\n'
    size = 9 if h >= 14 else 8.5
    for i, name in enumerate(names):
        body += text(round(first + i * step, 1), h - 3, name, size, "#ffff80", "middle")
    return svg(w, h, body)


def dump(d):
    """One control to a line, so that a change shows as the line it touches."""
    one = lambda v: json.dumps(v, ensure_ascii=False)
    load = ",\n".join(f"  {one(k)}: {one(v)}" for k, v in d["load"].items())
    controls = ",\n".join(f"  {one(c)}" for c in d["controls"])
    return f'{{\n "window": {one(d["window"])},\n "load": {{\n{load}\n }},\n "controls": [\n{controls}\n ]\n}}\n'


def main():
    for big, name in ((True, "MainFrm_Big.json"), (False, "MainFrm_Small.json")):
        (HERE / name).write_text(dump(describe(big)), encoding="utf-8")
    (HERE / "background_big.svg").write_text(background(True), encoding="utf-8")
    (HERE / "background_small.svg").write_text(background(False), encoding="utf-8")
    for n in STRIP_NAMES:
        (HERE / f"picture{n}.svg").write_text(strip(n), encoding="utf-8")
    (HERE / "icon.svg").write_text(icon(), encoding="utf-8")
    files = ["MainFrm_Big.json", "MainFrm_Small.json", "background_big.svg", "background_small.svg", "icon.svg"]
    files += [f"picture{n}.svg" for n in STRIP_NAMES]
    qrc = '<!DOCTYPE RCC>\n<RCC version="1.0">\n<qresource prefix="/windows">\n'
    qrc += "".join(f"  <file>{f}</file>\n" for f in files)
    qrc += "</qresource>\n</RCC>\n"
    (HERE / "windows.qrc").write_text(qrc, encoding="utf-8")


if __name__ == "__main__":
    main()

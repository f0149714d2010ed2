"""Button faces of the generated look, one drawing per face and state.

Every face is drawn on a picture of exactly the button's size (the part of the window picture
that the button cuts out), so nothing can spill over a neighbour. States: "normal",
"over" (accent glow and border), "down" (pressed or checked: darker accent fill) and "disabled"
(grey).
"""

from look_draw import (ACCENT, ACCENT_DARK, ACCENT_LIGHT, BORDER, DISABLED_BORDER, DISABLED_FACE, DISABLED_TEXT,
                       FIELD, LINE, PANEL, RECORD_RED, TEXT, TEXT_DIM, Picture, mix)

STATES = ("normal", "over", "down", "disabled")

WHITE = (255, 255, 255)


def _face_colours(state, primary=False):
    """(top, bottom, border, text) of a push face."""
    if state == "normal":
        if primary:
            return (38, 108, 150), (28, 82, 116), (70, 170, 228), WHITE
        return (48, 54, 63), (36, 40, 47), BORDER, TEXT
    if state == "over":
        if primary:
            return (50, 136, 188), (38, 108, 150), ACCENT_LIGHT, WHITE
        return (58, 68, 82), (44, 52, 63), ACCENT, WHITE
    if state == "down":
        return (24, 76, 110), (34, 108, 154), ACCENT, WHITE
    return DISABLED_FACE, DISABLED_FACE, DISABLED_BORDER, DISABLED_TEXT


def _plate(p: Picture, w, h, state, primary=False, r=5, inset=2):
    top, bottom, border, _ = _face_colours(state, primary)
    if state == "over":
        p.glow((0, 0, w, h), r - 1, ACCENT, width=inset)
    rect = (inset, inset, w - 2 * inset, h - 2 * inset)
    p.gradient(rect, r, top, bottom, outline=border, width=1)
    if state == "down":
        # A shade along the top edge: the face looks pushed in.
        p.d.line([(p.box(rect)[0][0] + 6, p.box(rect)[0][1] + 2), (p.box(rect)[0][2] - 6, p.box(rect)[0][1] + 2)],
                 fill=(0, 0, 0, 90), width=2)
    elif state in ("normal", "over"):
        # A faint highlight along the top edge.
        xy = p.box(rect)[0]
        p.d.line([(xy[0] + 6, xy[1] + 2), (xy[2] - 6, xy[1] + 2)], fill=(255, 255, 255, 22 if state == "normal" else 40),
                 width=1)
    return rect


def _label_size(text, w):
    return 11 if len(text) <= 12 or w >= 110 else 10


def face_push(p, w, h, state, key, primary=False):
    _plate(p, w, h, state, primary)
    *_, colour = _face_colours(state, primary)
    text = key.name if key.text is None else key.text
    if text:
        dy = 0.5 if state == "down" else 0
        p.centred((0, 0, w, h), text, _label_size(text, w), colour, dy=dy, bold=primary and state != "disabled")


def face_tab(p, w, h, state, key):
    text = key.name if key.text is None else key.text
    if state == "down":
        p.gradient((1, 1, w - 2, h - 1), 5, (40, 47, 57), (30, 35, 42))
        p.rrect((1, h - 3, w - 2, 3), 1, fill=ACCENT)
        p.centred((0, 0, w, h - 1), text, 11.5, WHITE, bold=True)
    elif state == "over":
        p.gradient((1, 1, w - 2, h - 1), 5, (36, 41, 49), (28, 32, 38))
        p.rrect((1, h - 2, w - 2, 2), 1, fill=ACCENT + (150,))
        p.centred((0, 0, w, h - 1), text, 11.5, WHITE, bold=True)
    elif state == "disabled":
        p.rrect((1, h - 1, w - 2, 1), 0, fill=LINE)
        p.centred((0, 0, w, h - 1), text, 11.5, DISABLED_TEXT, bold=True)
    else:
        p.rrect((1, h - 1, w - 2, 1), 0, fill=LINE)
        p.centred((0, 0, w, h - 1), text, 11.5, (150, 158, 168), bold=True)


def _round_icon_back(p, w, h, state):
    cx, cy, r = w / 2, h / 2, min(w, h) / 2 - 1
    if state == "over":
        p.circle(cx, cy, r, fill=(46, 54, 65), outline=ACCENT, width=1)
        return WHITE
    if state == "down":
        p.circle(cx, cy, r, fill=ACCENT_DARK, outline=ACCENT, width=1)
        return WHITE
    if state == "disabled":
        return DISABLED_TEXT
    return (150, 158, 168)


def face_close(p, w, h, state, key):
    colour = _round_icon_back(p, w, h, state)
    c, a = (w / 2, h / 2), min(w, h) * 0.17
    p.line([(c[0] - a, c[1] - a), (c[0] + a, c[1] + a)], colour, 1.6)
    p.line([(c[0] - a, c[1] + a), (c[0] + a, c[1] - a)], colour, 1.6)


def face_minimise(p, w, h, state, key):
    colour = _round_icon_back(p, w, h, state)
    a = min(w, h) * 0.2
    p.line([(w / 2 - a, h / 2 + 3), (w / 2 + a, h / 2 + 3)], colour, 1.6)


def _pill(p, rect, state, on_text=None, off_text=None):
    """A sliding switch; "down" (checked) is on."""
    x, y, w, h = rect
    r = h / 2
    on = state == "down"
    if state == "disabled":
        track, edge, knob, txt = DISABLED_FACE, DISABLED_BORDER, (72, 76, 83), DISABLED_TEXT
    elif on:
        track, edge, knob, txt = (40, 128, 182), ACCENT_LIGHT, WHITE, WHITE
    else:
        track, edge, knob, txt = (30, 34, 40), ACCENT if state == "over" else BORDER, (128, 136, 148), TEXT_DIM
    p.rrect(rect, r, fill=track, outline=edge, width=1)
    kr = r - 3
    kx = x + w - r if on else x + r
    p.circle(kx, y + h / 2, kr, fill=knob)
    label = on_text if on else off_text
    if label:
        # The text sits in the free part of the track, beside the knob.
        tx = x + (w - 2 * r) / 2 + r / 2 if on else x + 2 * r + (w - 2 * r) / 2 - r / 2
        p.text(tx, y + h / 2, label, 9, txt, bold=True, anchor="mm")


def face_switch(p, w, h, state, key):
    text = key.name if key.text is None else key.text
    if text:
        # Caption on the left of a framed button, small switch on the right.
        _plate_flat(p, w, h, state)
        colour = DISABLED_TEXT if state == "disabled" else (WHITE if state in ("over", "down") else TEXT)
        p.text(12, h / 2, text, 11, colour, anchor="lm")
        _pill(p, (w - 48, h / 2 - 9, 40, 18), state)
    else:
        if state == "over":
            p.glow((0, 0, w, h), h / 2 - 2, ACCENT, 2)
        _pill(p, (2, 2, w - 4, h - 4), state, "ON", "OFF")


def _plate_flat(p, w, h, state, r=5):
    if state == "over":
        p.glow((0, 0, w, h), r - 1, ACCENT, 2)
    if state == "disabled":
        fill, edge = DISABLED_FACE, DISABLED_BORDER
    elif state == "down":
        fill, edge = (26, 52, 72), ACCENT
    elif state == "over":
        fill, edge = (36, 42, 51), ACCENT
    else:
        fill, edge = (30, 34, 40), BORDER
    p.rrect((2, 2, w - 4, h - 4), r, fill=fill, outline=edge, width=1)


def face_check(p, w, h, state, key):
    _plate_flat(p, w, h, state)
    bx, by, b = 12, h / 2 - 8, 16
    if state == "disabled":
        p.rrect((bx, by, b, b), 3, fill=(24, 26, 29), outline=DISABLED_BORDER)
        colour = DISABLED_TEXT
    elif state == "down":
        p.rrect((bx, by, b, b), 3, fill=ACCENT, outline=ACCENT_LIGHT)
        p.line([(bx + 3.5, by + 8.5), (bx + 6.5, by + 11.5), (bx + 12.5, by + 4.5)], WHITE, 2)
        colour = WHITE
    else:
        p.rrect((bx, by, b, b), 3, fill=FIELD, outline=ACCENT if state == "over" else (100, 108, 120))
        colour = WHITE if state == "over" else TEXT
    p.text(bx + b + 10, h / 2, key.name if key.text is None else key.text, 11, colour, anchor="lm")


def _chevron(p, cx, cy, colour, size=4.0):
    p.line([(cx - size, cy - size / 2), (cx, cy + size / 2), (cx + size, cy - size / 2)], colour, 1.6)


def face_dropdown(p, w, h, state, key):
    if state == "over":
        p.glow((0, 0, w, h), 3, ACCENT, 1.5)
    if state == "disabled":
        fill, edge, mark = (22, 24, 27), DISABLED_BORDER, DISABLED_TEXT
    elif state == "down":
        fill, edge, mark = (20, 46, 64), ACCENT, WHITE
    elif state == "over":
        fill, edge, mark = (16, 19, 23), ACCENT, ACCENT_LIGHT
    else:
        fill, edge, mark = (12, 14, 17), BORDER, (150, 158, 168)
    p.rrect((1.5, 1.5, w - 3, h - 3), 4, fill=fill, outline=edge, width=1)
    p.rrect((w - 30, 6, 1, h - 12), 0, fill=edge if state != "normal" else LINE)
    _chevron(p, w - 15, h / 2, mark)


def face_keycap(p, w, h, state, key):
    _plate(p, w, h, state, r=6, inset=2)
    bw, bh = 30, h - 12
    bx, by = w - bw - 7, 6
    if state == "disabled":
        p.rrect((bx, by, bw, bh), 4, fill=(26, 28, 32), outline=DISABLED_BORDER)
        colour = DISABLED_TEXT
    elif state in ("over", "down"):
        p.rrect((bx, by, bw, bh), 4, fill=ACCENT if state == "over" else (18, 60, 88), outline=ACCENT_LIGHT)
        colour = WHITE
    else:
        p.rrect((bx, by, bw, bh), 4, fill=(24, 27, 32), outline=(78, 88, 102))
        colour = ACCENT_LIGHT
    p.centred((bx, by, bw, bh), key.badge, 9.5, colour, bold=True)


def face_record(p, w, h, state, key, stop=False):
    if stop and state in ("normal",):
        # Recording: the button glows red until it is pressed.
        p.glow((0, 0, w, h), 5, RECORD_RED, 2)
        p.gradient((2, 2, w - 4, h - 4), 5, (112, 34, 38), (84, 24, 28), outline=(236, 96, 96))
        colour = WHITE
    else:
        _plate(p, w, h, state)
        colour = _face_colours(state)[3]
    label = "Stop" if stop else (key.name if key.text is None else key.text)
    tw = p.text_width(label, 12, True)
    x0 = (w - (tw + 22)) / 2
    icon = DISABLED_TEXT if state == "disabled" else (WHITE if stop else RECORD_RED)
    if stop:
        p.rrect((x0, h / 2 - 6, 12, 12), 2, fill=icon)
    else:
        p.circle(x0 + 6, h / 2, 6.5, fill=icon)
        if state != "disabled":
            p.circle(x0 + 6, h / 2, 8.5, outline=icon + (90,), width=1)
    p.text(x0 + 22, h / 2 + (0.5 if state == "down" else 0), label, 12, colour, bold=True, anchor="lm")


def face_swap(p, w, h, state, key):
    _plate(p, w, h, state)
    colour = _face_colours(state)[3]
    cx, cy = w / 2, h / 2
    p.line([(cx - 8, cy - 3), (cx + 7, cy - 3)], colour, 1.5)
    p.line([(cx + 3, cy - 7), (cx + 7, cy - 3), (cx + 3, cy + 1)], colour, 1.5)
    p.line([(cx + 8, cy + 4), (cx - 7, cy + 4)], colour, 1.5)
    p.line([(cx - 3, cy), (cx - 7, cy + 4), (cx - 3, cy + 8)], colour, 1.5)


FACES = {
    "push": face_push,
    "primary": lambda p, w, h, st, k: face_push(p, w, h, st, k, primary=True),
    "tab": face_tab,
    "close": face_close,
    "minimise": face_minimise,
    "switch": face_switch,
    "check": face_check,
    "dropdown": face_dropdown,
    "keycap": face_keycap,
    "record": face_record,
    "swap": face_swap,
}


def draw_face(window_pic: Picture, key, state, face=None, **kwargs):
    """Draws key's face in state into window_pic at its rectangle, clipped to it."""
    x, y, w, h = key.rect
    sub = Picture.__new__(Picture)  # its pixel grid is the window's: drawn in place, not resized
    sub.width, sub.height = w, h
    sub.ox, sub.oy = window_pic.ox + x, window_pic.oy + y
    box = window_pic.box(key.rect)[0]
    sub.im = window_pic.im.crop((box[0], box[1], box[2] + 1, box[3] + 1))
    from PIL import ImageDraw
    sub.d = ImageDraw.Draw(sub.im, "RGBA")
    (face or FACES[key.face])(sub, w, h, state, key, **kwargs)
    window_pic.im.paste(sub.im, (box[0], box[1]))
    return sub


def field_frame(p: Picture, rect, fill=FIELD, edge=BORDER):
    """The well around an edit field, list or label: a border just outside rect, rect filled."""
    x, y, w, h = rect
    p.rrect((x - 2, y - 2, w + 4, h + 4), 3, fill=mix(edge, PANEL, 0.55))
    p.rrect((x - 1, y - 1, w + 2, h + 2), 0, fill=edge)
    p.rrect(rect, 0, fill=fill)

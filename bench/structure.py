#!/usr/bin/python3
"""How well the structure of a picture survives in character art, qizi's shape
source beside jp2a and chafa, on pictures made here.

Each output is rendered as a terminal shows it: DejaVu Sans Mono at 12 x 24
pixels a cell, wide characters in WenQuanYi Zen Hei over two cells, block
elements as exact geometry, light text on a dark terminal unless the output
sets colours. The picture is stretched to the same size; both are blurred by
a Gaussian of 3 pixels, the rendering's tones mapped linearly onto the
picture's (least squares; a negative slope covers tools that assume the
other paper colour, though not the texture their ink leaves where the
picture is flat, so monochrome tools are compared on the same paper).
Printed per picture: SSIM of the two (7 x 7 Gaussian windows), and the
correlation of their gradient magnitudes. Then the whole
process time of qizi's shape source beside its ramp's (median of 15). Run through
bench/structure.sh; ONLY=WORDS keeps the rows whose mode and tool hold them.
"""
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time
import unicodedata

import numpy as np
from PIL import Image, ImageDraw, ImageFont

QIZI = sys.argv[1]
SAMPLE = sys.argv[2] if len(sys.argv) > 2 else ""  # where to save one rendering, if given
WORK = tempfile.mkdtemp(prefix="qizi-structure-")
MONO = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
CJK = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
COLUMNS, ROWS, CW, CH = 80, 40, 12, 24
W, H = COLUMNS * CW, ROWS * CH


# ---- pictures of our own making ---------------------------------------------

def gradient_scene():
    y, x = np.mgrid[0:360, 0:480].astype(float)
    sky = np.stack([90 + 120 * y / 360, 140 + 80 * y / 360, 230 - 40 * y / 360], -1)
    im = Image.fromarray(sky.clip(0, 255).astype(np.uint8))
    d = ImageDraw.Draw(im)
    d.ellipse((330, 40, 410, 120), fill=(250, 220, 120))
    d.polygon([(0, 260), (120, 170), (230, 240), (330, 150), (480, 250), (480, 360), (0, 360)], fill=(60, 120, 60))
    d.polygon([(0, 320), (200, 270), (480, 330), (480, 360), (0, 360)], fill=(40, 80, 40))
    return im


def line_art():
    im = Image.new("RGB", (480, 360), "white")
    d = ImageDraw.Draw(im)
    d.ellipse((40, 40, 220, 220), outline="black", width=4)
    d.rectangle((260, 50, 440, 170), outline="black", width=4)
    d.line((20, 340, 460, 200), fill="black", width=4)
    d.line((250, 320, 450, 210), fill="black", width=3)
    for i in range(5):
        d.line((60 + 30 * i, 250, 60 + 30 * i, 340), fill="black", width=3)
    d.polygon([(300, 200), (360, 330), (240, 330)], outline="black", width=4)
    return im


def portrait():
    y, x = np.mgrid[0:400, 0:320].astype(float)
    base = np.full((400, 320, 3), (70.0, 80, 110))
    face = ((x - 160) / 95) ** 2 + ((y - 190) / 125) ** 2
    shade = np.clip(1.15 - 0.5 * face - 0.002 * (x - 120), 0, 1)[..., None]
    skin = np.array((235.0, 190, 160)) * shade
    base = np.where((face < 1)[..., None], skin, base)
    hair = (((x - 160) / 110) ** 2 + ((y - 130) / 100) ** 2 < 1) & (y < 120)
    base[hair] = (60, 40, 30)
    body = (y > 320) & (np.abs(x - 160) < 40 + (y - 320) * 1.6)
    base[body] = (120, 40, 50)
    im = Image.fromarray(base.clip(0, 255).astype(np.uint8))
    d = ImageDraw.Draw(im)
    for cx in (125, 195):
        d.ellipse((cx - 16, 170, cx + 16, 190), fill="white")
        d.ellipse((cx - 7, 173, cx + 7, 187), fill=(40, 30, 20))
        d.line((cx - 20, 155, cx + 20, 152), fill=(60, 40, 30), width=5)
    d.line((160, 195, 150, 240, 165, 245), fill=(170, 120, 100), width=3)
    d.arc((120, 240, 200, 290), 20, 160, fill=(150, 50, 60), width=5)
    return im


def lettering():
    im = Image.new("RGB", (560, 320), "white")
    d = ImageDraw.Draw(im)
    d.text((20, 10), "Qizi 42", font=ImageFont.truetype(BOLD, 120), fill="black")
    d.text((40, 170), "砌字成图", font=ImageFont.truetype(CJK, 120), fill=(30, 30, 140))
    return im


PICTURES = [("gradient scene", gradient_scene), ("line art", line_art), ("portrait", portrait),
            ("lettering", lettering)]


# ---- the terminal -------------------------------------------------------------

mono_font = ImageFont.truetype(MONO, 20)  # an advance of 12 pixels
cjk_font = ImageFont.truetype(CJK, 22)
glyph_cache = {}


def block_mask(point):
    """A block element as exact geometry, in eighths of the cell."""
    b = point - 0x2580
    q = {"ul": (0, 0, 4, 4), "ur": (4, 0, 8, 4), "ll": (0, 4, 4, 8), "lr": (4, 4, 8, 8)}
    shade = 1.0
    if b == 0: rects = [(0, 0, 8, 4)]
    elif 1 <= b <= 8: rects = [(0, 8 - b, 8, 8)]
    elif 9 <= b <= 15: rects = [(0, 0, 16 - b, 8)]
    elif b == 16: rects = [(4, 0, 8, 8)]
    elif 17 <= b <= 19: rects, shade = [(0, 0, 8, 8)], (b - 16) / 4
    elif b == 20: rects = [(0, 0, 8, 1)]
    elif b == 21: rects = [(7, 0, 8, 8)]
    else:
        rects = [q[k] for k in {22: ["ll"], 23: ["lr"], 24: ["ul"], 25: ["ul", "ll", "lr"], 26: ["ul", "lr"],
                                27: ["ul", "ur", "ll"], 28: ["ul", "ur", "lr"], 29: ["ur"], 30: ["ur", "ll"],
                                31: ["ur", "ll", "lr"]}[b]]
    m = np.zeros((CH, CW))
    xs, ys = np.arange(CW), np.arange(CH)
    for x0, y0, x1, y1 in rects:
        ox = np.clip(np.minimum(xs + 1, x1 * CW / 8) - np.maximum(xs, x0 * CW / 8), 0, 1)
        oy = np.clip(np.minimum(ys + 1, y1 * CH / 8) - np.maximum(ys, y0 * CH / 8), 0, 1)
        m += np.outer(oy, ox)
    return np.clip(m, 0, 1) * shade


def glyph(ch):
    if ch in glyph_cache:
        return glyph_cache[ch]
    wide = unicodedata.east_asian_width(ch) in "WF"
    if 0x2580 <= ord(ch) <= 0x259F:
        m = block_mask(ord(ch))
    else:
        im = Image.new("L", (CW * (2 if wide else 1), CH), 0)
        d = ImageDraw.Draw(im)
        if wide:
            d.text(((2 * CW - cjk_font.getlength(ch)) / 2, (CH - 22) / 2 - 1), ch, font=cjk_font, fill=255)
        else:
            d.text((0, 0), ch, font=mono_font, fill=255)
        m = np.asarray(im, float) / 255
    glyph_cache[ch] = (m, wide)
    return glyph_cache[ch]


SGR = re.compile(r"\x1b\[([0-9;]*)m")


def render(text, grey=True):
    """An output as a terminal draws it, W x H, grey 0..255 (or in colour)."""
    default_fg, default_bg = (np.array((230.0,) * 3), np.array((20.0,) * 3))
    out = np.zeros((H, W, 3))
    out[:] = default_bg
    lines = text.replace("\r", "").split("\n")[:ROWS]
    for row, line in enumerate(lines):
        fg, bg, inverse, col, i = default_fg, default_bg, False, 0, 0
        while i < len(line) and col < COLUMNS:
            m = SGR.match(line, i)
            if m:
                codes = [int(c) if c else 0 for c in m.group(1).split(";")]
                k = 0
                while k < len(codes):
                    c = codes[k]
                    if c == 0: fg, bg, inverse = default_fg, default_bg, False
                    elif c == 39: fg = default_fg
                    elif c == 49: bg = default_bg
                    elif c == 7: inverse = True
                    elif c == 27: inverse = False
                    elif c in (38, 48) and k + 4 < len(codes) and codes[k + 1] == 2:
                        colour = np.array(codes[k + 2:k + 5], float)
                        if c == 38: fg = colour
                        else: bg = colour
                        k += 4
                    elif c in (38, 48) and k + 2 < len(codes) and codes[k + 1] == 5:
                        k += 2
                    k += 1
                i = m.end()
                continue
            ch = line[i]
            i += 1
            mask, wide = glyph(ch)
            f, b = (bg, fg) if inverse else (fg, bg)
            width = mask.shape[1]
            x0 = col * CW
            if x0 + width > W:
                break
            out[row * CH:(row + 1) * CH, x0:x0 + width] = b + (f - b) * mask[..., None]
            col += 2 if wide else 1
    return out @ np.array((0.299, 0.587, 0.114)) if grey else out.clip(0, 255).astype(np.uint8)


# ---- the measure -----------------------------------------------------------------

def gaussian(image, sigma):
    radius = int(3 * sigma + 0.5)
    k = np.exp(-0.5 * (np.arange(-radius, radius + 1) / sigma) ** 2)
    k /= k.sum()
    for axis in (0, 1):
        padded = np.pad(image, [(radius, radius) if a == axis else (0, 0) for a in (0, 1)], mode="edge")
        acc = np.zeros_like(image)
        for j, w in enumerate(k):
            acc += w * (padded[j:j + image.shape[0]] if axis == 0 else padded[:, j:j + image.shape[1]])
        image = acc
    return image


def ssim(a, b):
    c1, c2 = (0.01 * 255) ** 2, (0.03 * 255) ** 2
    mu_a, mu_b = gaussian(a, 1.5), gaussian(b, 1.5)
    va = gaussian(a * a, 1.5) - mu_a ** 2
    vb = gaussian(b * b, 1.5) - mu_b ** 2
    cov = gaussian(a * b, 1.5) - mu_a * mu_b
    s = ((2 * mu_a * mu_b + c1) * (2 * cov + c2)) / ((mu_a ** 2 + mu_b ** 2 + c1) * (va + vb + c2))
    return float(s.mean())


def measure(rendered, picture_grey):
    r = gaussian(rendered, 3)
    p = gaussian(picture_grey, 3)
    # The rendering's tones are mapped onto the picture's, not the other way:
    # mapped onto a blank rendering, the picture would be blank too and match.
    slope, offset = np.polyfit(r.ravel(), p.ravel(), 1)
    mapped = slope * r + offset
    gr = np.hypot(*np.gradient(r))
    gp = np.hypot(*np.gradient(p))
    return ssim(mapped, p), float(np.corrcoef(gr.ravel(), gp.ravel())[0, 1])


def run(command):
    return subprocess.run(command, capture_output=True, check=True).stdout.decode("utf-8", "replace")


def main():
    # qizi is given the face the rendering draws with, as a user names their
    # terminal's; its default follows the locale.
    def qizi(*extra):
        return lambda f: [QIZI, "-p", f, "-S", "shape", "-f", "DejaVu Sans Mono", "-W", "80", "-H", "40", *extra]

    def chafa(colours, symbols, *extra):
        return lambda f: ["chafa", "-f", "symbols", "-c", colours, "-w", "9", "--symbols", symbols, *extra,
                          "--stretch", "-s", "80x40", f]

    # In monochrome each tool assumes a paper: qizi dark ink on light paper
    # unless --invert, chafa light ink on the terminal's dark unless --invert.
    # Texture lands on whatever a tool takes for ink, so tools are compared on
    # the same paper.
    tools = [t for t in [
        ("mono", "light paper: qizi shape ascii", qizi("--symbols", "ascii")),
        ("mono", "light paper: chafa -w 9 --invert ascii", chafa("none", "ascii", "--invert")),
        ("mono", "light paper: jp2a", lambda f: ["jp2a", "--size=80x40", f.replace(".png", ".jpg")]),
        ("mono", "light paper: qizi shape ascii,blocks", qizi()),
        ("mono", "light paper: chafa -w 9 --invert ascii+block", chafa("none", "ascii+block", "--invert")),
        ("mono", "dark paper: qizi shape --invert ascii", qizi("--symbols", "ascii", "--invert")),
        ("mono", "dark paper: chafa -w 9 ascii", chafa("none", "ascii")),
        ("mono", "dark paper: qizi shape --invert ascii,blocks", qizi("--invert")),
        ("mono", "dark paper: chafa -w 9 ascii+block", chafa("none", "ascii+block")),
        ("colour", "qizi shape ascii", qizi("--symbols", "ascii", "-F", "ansi")),
        ("colour", "chafa -w 9 ascii", chafa("full", "ascii")),
        ("colour", "qizi shape ascii,blocks", qizi("-F", "ansi")),
        ("colour", "chafa -w 9 ascii+block", chafa("full", "ascii+block")),
    ] if os.environ.get("ONLY", "") in t[0] + " " + t[1]]
    files, greys = [], []
    for name, make in PICTURES:
        im = make()
        path = os.path.join(WORK, name.replace(" ", "_") + ".png")
        im.save(path)
        im.save(path.replace(".png", ".jpg"), quality=95)
        files.append(path)
        greys.append(np.asarray(im.convert("RGB").resize((W, H), Image.BILINEAR), float) @ np.array((0.299, 0.587, 0.114)))
    print("Structure at 80 x 40, rendered at 12 x 24 a cell; per picture: " + " / ".join(n for n, _ in PICTURES))
    print()
    print("| mode | tool | SSIM, blur 3 px | edge correlation |")
    print("|---|---|---|---|")
    for mode, label, command in tools:
        ssims, edges = [], []
        for k, f in enumerate(files):
            text = run(command(f))
            s, e = measure(render(text), greys[k])
            ssims.append(s), edges.append(e)
            if SAMPLE and label == "qizi shape ascii,blocks" and mode == "colour" and k == 2:
                colour = np.asarray(Image.open(f).convert("RGB").resize((W, H)), np.uint8)
                Image.fromarray(np.concatenate([colour, render(text, grey=False)], 1)).save(SAMPLE)
        print(f"| {mode} | {label} | " + " / ".join(f"{v:.3f}" for v in ssims) + " | " +
              " / ".join(f"{v:.3f}" for v in edges) + " |")
    print()
    # The tone ramp's run (start-up, decoding, writing) is the fixed cost; what
    # the shape source adds to it is its own work.
    print("| qizi, 80 x 40, median of 15 runs | whole process, seconds | beyond the ramp's run |")
    print("|---|---|---|")
    base = None
    for label, extra in [("ramp (fixed cost)", ["-S", "ramp"]), ("shape ascii,blocks, monochrome", []),
                         ("shape ascii,blocks, colour", ["-F", "ansi"]),
                         ("shape cjk, monochrome", ["--symbols", "cjk"]),
                         ("chafa -w 9 ascii+block, colour", None)]:
        times = []
        for _ in range(15):
            cmd = chafa("full", "ascii+block")(files[2]) if extra is None else qizi(*extra)(files[2])
            start = time.perf_counter()
            subprocess.run(cmd, capture_output=True, check=True)
            times.append(time.perf_counter() - start)
        whole = statistics.median(times)
        beyond = f"{whole - base:.3f}" if base is not None and extra is not None else ""
        base = whole if base is None else base
        print(f"| {label} | {whole:.3f} | {beyond} |")

if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Tonal fidelity of qizi beside jp2a and chafa on pictures made here.

Each output is read back as a grey image, one value per cell: 1 minus the ink
coverage of the cell's character in DejaVu Sans Mono (a double-byte character
covers two cells, in WenQuanYi Zen Hei). It is compared with the picture
reduced to the same grid by area averaging, both stretched to [0, 1] by their
own extremes, in the better of the two polarities. Prints mean SSIM (7 x 7
windows) and Pearson correlation, then the whole-process time of one
composition per tool (median of 10). Run through bench/quality.sh.
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
from PIL import Image, ImageDraw, ImageFilter, ImageFont

QIZI = sys.argv[1]
WINE_RUN = sys.argv[2:]  # the command that runs a Windows program
WORK = tempfile.mkdtemp(prefix="qizi-quality-")
MONO = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
CJK = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
GRIDS = [(80, 40), (160, 80)]


def gradient_scene(w=480, h=360):
    y, x = np.mgrid[0:h, 0:w].astype(float)
    sky = 230 - 120 * (y / h)
    img = sky + 15 * np.sin(x / 37.0)
    sun = (x - 0.72 * w) ** 2 + (y - 0.25 * h) ** 2 < (0.09 * w) ** 2
    img[sun] = 250
    hill = y > 0.55 * h + 0.12 * h * np.sin(x / 70.0)
    img[hill] = 60 + 90 * ((x[hill] / w) * 0.6 + (1 - y[hill] / h) * 0.8)
    rng = np.random.default_rng(1)
    img += rng.normal(0, 6, img.shape)
    im = Image.fromarray(np.clip(img, 0, 255).astype(np.uint8))
    return im.filter(ImageFilter.GaussianBlur(1.5)).convert("RGB")


def line_drawing(w=480, h=360):
    im = Image.new("RGB", (w, h), "white")
    d = ImageDraw.Draw(im)
    d.rectangle([40, 40, 200, 160], outline="black", width=2)
    d.ellipse([250, 50, 430, 230], outline="black", width=2)
    for k in range(6):
        d.line([30 + 40 * k, 330, 120 + 40 * k, 200], fill="black", width=2)
    d.polygon([(300, 320), (380, 250), (450, 330)], outline="black")
    d.arc([60, 200, 260, 340], 200, 340, fill="black", width=3)
    return im


def portrait(w=360, h=480):
    y, x = np.mgrid[0:h, 0:w].astype(float)
    img = np.full((h, w), 215.0) - 40 * (y / h)
    shoulders = ((x - w / 2) / (0.55 * w)) ** 2 + ((y - 1.05 * h) / (0.35 * h)) ** 2 < 1
    img[shoulders] = 70 + 30 * (x[shoulders] / w)
    head = ((x - w / 2) / (0.22 * w)) ** 2 + ((y - 0.42 * h) / (0.2 * h)) ** 2 < 1
    light = np.clip(1 - ((x - 0.42 * w) ** 2 + (y - 0.36 * h) ** 2) / (0.25 * w) ** 2, 0, 1)
    img[head] = 120 + 100 * light[head]
    hair = head & (y < 0.34 * h)
    img[hair] = 35
    for ex in (0.42, 0.58):
        eye = ((x - ex * w) ** 2 + (y - 0.42 * h) ** 2) < (0.025 * w) ** 2
        img[eye] = 30
    mouth = (np.abs(y - 0.52 * h) < 3) & (np.abs(x - w / 2) < 0.06 * w)
    img[mouth] = 60
    im = Image.fromarray(np.clip(img, 0, 255).astype(np.uint8))
    return im.filter(ImageFilter.GaussianBlur(1.0)).convert("RGB")


class Coverage:
    """Ink coverage of a character, measured once in its font."""

    def __init__(self):
        self.mono = ImageFont.truetype(MONO, 40)
        self.cjk = ImageFont.truetype(CJK, 40)
        self.cell = (int(self.mono.getlength("M")), 48)
        self.cache = {}

    def __call__(self, ch):
        if ch not in self.cache:
            wide = unicodedata.east_asian_width(ch) in "WF"
            font = self.cjk if wide else self.mono
            size = (self.cell[0] * (2 if wide else 1), self.cell[1])
            im = Image.new("L", size, 255)
            ImageDraw.Draw(im).text((0, 0), ch, font=font, fill=0)
            self.cache[ch] = 1 - np.asarray(im, float).mean() / 255
        return self.cache[ch]


coverage = Coverage()


def reconstruct(text, w, h, skip_rows=0, skip_cols=0):
    text = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", text).replace("\r", "")
    lines = text.split("\n")[skip_rows : skip_rows + h]
    grid = np.ones((h, w))
    for r, line in enumerate(lines):
        cells = []
        for ch in line:
            value = 1 - coverage(ch)
            cells += [value, value] if unicodedata.east_asian_width(ch) in "WF" else [value]
        cells = cells[skip_cols : skip_cols + w]
        grid[r, : len(cells)] = cells
    return grid


def stretch(a):
    lo, hi = a.min(), a.max()
    return (a - lo) / (hi - lo) if hi > lo else np.zeros_like(a)


def box_mean(a, k=7):
    c = np.cumsum(np.cumsum(np.pad(a, ((1, 0), (1, 0))), 0), 1)
    return (c[k:, k:] - c[:-k, k:] - c[k:, :-k] + c[:-k, :-k]) / (k * k)


def ssim(a, b):
    c1, c2 = 0.01**2, 0.03**2
    ma, mb = box_mean(a), box_mean(b)
    va, vb = box_mean(a * a) - ma * ma, box_mean(b * b) - mb * mb
    cov = box_mean(a * b) - ma * mb
    return float((((2 * ma * mb + c1) * (2 * cov + c2)) / ((ma * ma + mb * mb + c1) * (va + vb + c2))).mean())


def score(recon, reference):
    a, ref = stretch(recon), stretch(reference)
    best = max((ssim(x, ref), x) for x in (a, 1 - a))
    r = abs(float(np.corrcoef(a.ravel(), ref.ravel())[0, 1])) if a.std() > 0 else 0.0
    return best[0], r


def run(cmd):
    # A run under emulated Wine now and then ends without output; one more try.
    for _ in range(2):
        done = subprocess.run(cmd, capture_output=True, check=False)
        out = done.stdout.decode("utf-8", "replace")
        if out.strip():
            return out
        print(f"no output (exit code {done.returncode}): {' '.join(cmd)}", file=sys.stderr, flush=True)
    return out


def tools(png, jpg, w, h):
    # Wine takes a Linux path as one on drive Z:.
    # qizi's defaults: the ramp measured in the platform's monospace face.
    q = WINE_RUN + [QIZI, "--picture", "Z:" + png, "--width", str(w), "--height", str(h)]
    chafa = ["chafa", "-c", "none", "--symbols", "ascii", "--stretch", "--animate", "off", "--size", f"{w}x{h}"]
    return [
        # Threshold output has a one-cell margin on every side.
        ("qizi threshold", q + ["--source", "fill", "--fill", "#", "--blank", " "], (1, 1)),
        ("qizi ramp", q + ["--source", "ramp"], (0, 0)),
        ("qizi ramp+dither", q + ["--source", "ramp", "--dither"], (0, 0)),
        ("jp2a", ["jp2a", f"--size={w}x{h}", "--background=light", jpg], (0, 0)),
        ("chafa", chafa + [png], (0, 0)),
        ("chafa ordered", chafa + ["--dither", "ordered", png], (0, 0)),
    ]


def main():
    pictures = {"gradient scene": gradient_scene(), "line drawing": line_drawing(), "portrait": portrait()}
    print(f"{'picture':16} {'grid':8} {'tool':18} {'SSIM':>6} {'Pearson':>8}")
    first = None
    for name, im in pictures.items():
        png, jpg = os.path.join(WORK, name.replace(" ", "_") + ".png"), os.path.join(WORK, name.replace(" ", "_") + ".jpg")
        im.save(png)
        im.save(jpg, quality=95)
        grey = im.convert("L")
        for w, h in GRIDS:
            reference = np.asarray(grey.resize((w, h), Image.BOX), float) / 255
            for tool, cmd, (rows, cols) in tools(png, jpg, w, h):
                first = first or (png, jpg, w, h)
                text = run(cmd)
                if not text.strip():
                    print(f"{name:16} {w}x{h:<5} {tool:18} no output", flush=True)
                    continue
                s, r = score(reconstruct(text, w, h, rows, cols), reference)
                print(f"{name:16} {w}x{h:<5} {tool:18} {s:6.3f} {r:8.3f}", flush=True)
    print("\nwhole-process time of one composition, median of 10 (qizi under Wine)")
    for tool, cmd, _ in tools(*first):
        times = []
        for _ in range(10):
            start = time.perf_counter()
            subprocess.run(cmd, capture_output=True, check=False)
            times.append(time.perf_counter() - start)
        print(f"{tool:18} {statistics.median(times) * 1000:8.0f} ms", flush=True)


main()

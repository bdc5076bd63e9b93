#!/usr/bin/python3
"""Writes a generated project for the export benchmarks: two picture sheets of soft
gradients and rings, and FRAMES frames in which CELLS cells move, turn, scale, blend
(normal, add, subtract) and carry colour tones, so that every rendered frame has far
more than 256 colours.

Usage: bench/gen_project.py OUT_DIR [--frames N] [--cells N] [--spread PIXELS] [--seed N]
Writes OUT_DIR/Data/bench.dat (and the pictures beside it); prints its path.
Needs Debian's python3 with python3-pil (the project writer is examples/make_examples.py).
"""

import argparse
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples"))
import make_examples as mk  # noqa: E402

GLOW = "BattleEffect\\bench_glow.png"
RING = "BattleEffect\\bench_ring.png"


def draw_glow(path):
    """8 patterns of 128 x 128: radial gradients in different hues."""
    size, cols = 128, 4
    sheet = Image.new("RGBA", (size * cols, size * 2), (0, 0, 0, 0))
    for k in range(8):
        cell = Image.new("RGBA", (size, size))
        px = cell.load()
        hue = k / 8
        for y in range(size):
            for x in range(size):
                d = math.hypot(x - 63.5, y - 63.5) / 64
                a = max(0.0, 1 - d)
                r = 0.5 + 0.5 * math.cos(2 * math.pi * (hue + d * 0.6))
                g = 0.5 + 0.5 * math.cos(2 * math.pi * (hue + d * 0.6 + 1 / 3))
                b = 0.5 + 0.5 * math.cos(2 * math.pi * (hue + d * 0.6 + 2 / 3))
                px[x, y] = (int(255 * r), int(255 * g), int(255 * b), int(255 * a ** 0.7))
        sheet.paste(cell, ((k % cols) * size, (k // cols) * size))
    sheet.save(path)


def draw_ring(path):
    """4 patterns of 96 x 96: blurred rings and spokes."""
    size = 96
    sheet = Image.new("RGBA", (size * 4, size), (0, 0, 0, 0))
    rnd = random.Random(11)
    for k in range(4):
        cell = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        d = ImageDraw.Draw(cell)
        c = size / 2
        for i in range(6):
            r = 10 + 6 * i + 2 * k
            col = (rnd.randrange(120, 256), rnd.randrange(60, 256), rnd.randrange(0, 256), 200 - 25 * i)
            d.ellipse([c - r, c - r, c + r, c + r], outline=col, width=3)
        for s in range(8):
            a = s * math.pi / 4 + k * 0.2
            d.line([c, c, c + math.cos(a) * 46, c + math.sin(a) * 46], fill=(255, 255, 200, 150), width=2)
        sheet.paste(cell.filter(ImageFilter.GaussianBlur(1.5)), (k * size, 0))
    sheet.save(path)


def build(frames, cells, spread, seed):
    rnd = random.Random(seed)
    tracks = []
    for n in range(cells):
        tracks.append(dict(
            picture=n % 2, phase=rnd.random() * 2 * math.pi, speed=rnd.uniform(0.02, 0.08),
            radius=rnd.uniform(0.15, 0.5) * spread, blend=n % 3, tone=rnd.random() < 0.5,
            scale=rnd.uniform(60, 200), spin=rnd.randrange(-60, 61)))
    out = []
    for f in range(frames):
        slots = {}
        for n, t in enumerate(tracks):
            a = t["phase"] + t["speed"] * f
            pattern = 1 + (f // 3 + n) % (8 if t["picture"] == 0 else 4)
            s = int(t["scale"] * (0.8 + 0.2 * math.sin(a * 1.7)))
            tone = {}
            if t["tone"]:
                tone = dict(red=100 + (n * 37 + f) % 100, green=100 - (n * 13) % 60, blue=100 + (n * 53) % 80,
                            saturation=40 + (n * 29 + f) % 60)
            slots[n] = mk.cell(picture=t["picture"], pattern=pattern, blend=t["blend"],
                               x=int(math.cos(a) * t["radius"]), y=int(math.sin(a * 1.3) * t["radius"]),
                               scaleX=s, scaleY=s, angle=(t["spin"] * f) % 3600,
                               opacity=150 + (n * 41 + 3 * f) % 106, **tone)
        out.append(dict(interval=0, cells=slots))
    return {
        "name": "bench", "userData": "generated export benchmark",
        "divisionFormat": 0, "fixPicturePerCell": 0, "editFormat": 0,
        "baseInterval": 1, "totalInterval": frames, "cellCount": max(1, cells),
        "pictures": [dict(divX=4, divY=2, hue=0, path=GLOW), dict(divX=4, divY=1, hue=0, path=RING)],
        "frames": out, "effects": [],
    }


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out")
    ap.add_argument("--frames", type=int, default=100)
    ap.add_argument("--cells", type=int, default=24)
    ap.add_argument("--spread", type=int, default=320, help="how far the cells wander (pixels)")
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    data = os.path.join(a.out, "Data")
    os.makedirs(os.path.join(data, "BattleEffect"), exist_ok=True)
    disk = lambda rel: os.path.join(data, *rel.split("\\"))
    if not os.path.exists(disk(GLOW)):
        draw_glow(disk(GLOW))
        draw_ring(disk(RING))
    path = os.path.join(data, "bench.dat")
    with open(path, "wb") as f:
        f.write(mk.write_binary(build(a.frames, a.cells, a.spread, a.seed)))
    print(path)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Makes the sample animation in examples/Data: two picture sheets drawn here,
a short sound effect synthesised here, and the project in both of the editor's
formats (sample.dat binary, sample.txt text), written by this script's own
small writers.

The project lives in a folder named "Data" so that opening it makes that folder
the working folder; pictures and the sound are stored relative to it.

Usage: examples/make_examples.py   (Debian python3 with python3-pil)
"""

import math
import os
import random
import struct
import wave

from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "Data")

BURST = "BattleEffect\\sample_burst.png"
SPARK = "BattleEffect\\sample_spark.png"
ZAP = "Sound\\sample_zap.wav"


def disk(rel):
    return os.path.join(DATA, *rel.split("\\"))


# ---------------------------------------------------------------- pictures

def draw_burst(path):
    """10 patterns of 192x192 in 5 columns: a fire burst that swells and fades."""
    size, cols, rows = 192, 5, 2
    sheet = Image.new("RGBA", (size * cols, size * rows), (0, 0, 0, 0))
    rnd = random.Random(7)
    for k in range(cols * rows):
        t = k / (cols * rows - 1)
        cell = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        d = ImageDraw.Draw(cell)
        c = size / 2
        radius = 14 + 48 * math.sin(t * math.pi * 0.9)
        fade = 1.0 - 0.85 * max(0.0, t - 0.6) / 0.4
        # Spikes first, then glowing rings from the outside in.
        for s in range(14):
            a = s * 2 * math.pi / 14 + t * 0.8
            length = radius * (1.15 + 0.4 * rnd.random())
            w = 0.12
            pts = [(c + math.cos(a - w) * radius * 0.5, c + math.sin(a - w) * radius * 0.5),
                   (c + math.cos(a) * length, c + math.sin(a) * length),
                   (c + math.cos(a + w) * radius * 0.5, c + math.sin(a + w) * radius * 0.5)]
            d.polygon(pts, fill=(255, 170, 40, int(200 * fade)))
        for i in range(12, 0, -1):
            r = radius * i / 12
            g = int(80 + 175 * (1 - i / 12))
            d.ellipse([c - r, c - r, c + r, c + r], fill=(255, g, int(60 * (1 - i / 12)), int(255 * fade * (0.35 + 0.65 * (1 - i / 12)))))
        cell = cell.filter(ImageFilter.GaussianBlur(1.2))
        sheet.paste(cell, ((k % cols) * size, (k // cols) * size))
    sheet.save(path)


def draw_spark(path):
    """4 patterns of 64x64 in a row: a four-pointed sparkle turning."""
    size, count = 64, 4
    sheet = Image.new("RGBA", (size * count, size), (0, 0, 0, 0))
    for k in range(count):
        cell = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        d = ImageDraw.Draw(cell)
        c = size / 2
        for arm in range(4):
            a = arm * math.pi / 2 + k * math.pi / 8
            pts = [(c + math.cos(a) * 30, c + math.sin(a) * 30),
                   (c + math.cos(a + 0.5) * 6, c + math.sin(a + 0.5) * 6),
                   (c, c),
                   (c + math.cos(a - 0.5) * 6, c + math.sin(a - 0.5) * 6)]
            d.polygon(pts, fill=(170, 220, 255, 230))
        d.ellipse([c - 7, c - 7, c + 7, c + 7], fill=(255, 255, 255, 255))
        sheet.paste(cell.filter(ImageFilter.GaussianBlur(0.7)), (k * size, 0))
    sheet.save(path)


# ---------------------------------------------------------------- sound

def make_zap(path):
    """0.45 s, 22050 Hz, 16-bit mono: a falling square-ish tone with a noise burst."""
    rate, seconds = 22050, 0.45
    rnd = random.Random(3)
    frames = bytearray()
    phase = 0.0
    n = int(rate * seconds)
    for i in range(n):
        t = i / rate
        freq = 1400 * math.exp(-t * 5) + 90
        phase += 2 * math.pi * freq / rate
        tone = math.tanh(3 * math.sin(phase))
        noise = (rnd.random() * 2 - 1) * math.exp(-t * 18)
        env = min(1.0, t * 200) * math.exp(-t * 6)
        v = int(max(-1.0, min(1.0, (0.55 * tone + 0.45 * noise) * env)) * 24000)
        frames += struct.pack("<h", v)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


# ---------------------------------------------------------------- the project

PARAMS = ["picture", "pattern", "blend", "x", "y", "scaleX", "scaleY", "angle",
          "opacity", "red", "green", "blue", "saturation"]
BLANK = dict(picture=0, pattern=1, blend=0, x=0, y=0, scaleX=100, scaleY=100, angle=0,
             opacity=0, red=100, green=100, blue=100, saturation=100)


def cell(**kw):
    c = dict(BLANK)
    c["opacity"] = 255
    c.update(kw)
    return c


def build_project():
    p = {
        "name": "サンプル爆発", "userData": "MevkoEditor sample: burst with sparks",
        "divisionFormat": 0, "fixPicturePerCell": 0, "editFormat": 0,
        "baseInterval": 2, "totalInterval": 30, "cellCount": 16,
        "pictures": [dict(divX=5, divY=2, hue=0, path=BURST), dict(divX=4, divY=1, hue=200, path=SPARK)],
    }
    frames = []
    for f in range(12):
        cells = {}
        if f < 10:
            s = 60 + 12 * f
            cells[0] = cell(picture=0, pattern=f + 1, blend=1 if f >= 4 else 0, scaleX=s, scaleY=s,
                            opacity=255 if f < 7 else 255 - 60 * (f - 6), angle=5 * f)
        for k in range(3):
            if f >= 2 + k and f < 11:
                t = f - 2 - k
                a = math.radians(120 * k + 25 * t)
                r = 30 + 14 * t
                cells[1 + k] = cell(picture=1, pattern=1 + (t % 4), blend=1,
                                    x=int(round(math.cos(a) * r)), y=int(round(math.sin(a) * r)) - 10,
                                    scaleX=100 - 5 * t, scaleY=100 - 5 * t, angle=-150 * t % 3600,
                                    opacity=max(40, 255 - 25 * t), red=100 + 10 * k, green=100,
                                    blue=150 - 10 * k, saturation=100 if k else 60)
        if 5 <= f <= 8:
            cells[5] = cell(picture=0, pattern=10, blend=2, y=-40, scaleX=-80, scaleY=80,
                            opacity=120, red=60, green=60, blue=60, saturation=0)
        interval = 0 if f not in (0, 9) else (4 if f == 0 else 3)
        frames.append(dict(interval=interval, cells=cells))
    # Frame 10 repeats frame 9 except for the burst, frame 11 is almost empty.
    p["frames"] = frames
    p["effects"] = [
        dict(frame=0, sound=(90, 100, 100, ZAP), flash=(6, 0, 1, 255, 220, 160, 200), note=None),
        dict(frame=3, sound=None, flash=(8, 1, 2, 255, 255, 255, 160), note="画面フラッシュ"),
        dict(frame=6, sound=None, flash=None, note="peak"),
        dict(frame=8, sound=(70, 150, 60, ZAP), flash=None, note="余韻"),
    ]
    return p


def ansi(s):
    return s.encode("cp932")


def sum_intervals(p):
    return sum(fr["interval"] or p["baseInterval"] for fr in p["frames"])


def sound_names(p):
    names = []
    for e in p["effects"]:
        if e["sound"] and e["sound"][3] not in names:
            names.append(e["sound"][3])
    return names


def write_binary(p):
    out = bytearray()
    lstr = lambda b: bytes([len(b)]) + b
    names = sound_names(p)
    out += b"MEVK_BIN" + b"0072" + bytes(16)
    out += struct.pack("<BHIIHHBBB",
                       p["divisionFormat"] | p["fixPicturePerCell"] << 2 | p["editFormat"] << 3,
                       p["baseInterval"], p["totalInterval"], sum_intervals(p),
                       len(p["effects"]), len(p["frames"]), len(p["pictures"]), len(names), p["cellCount"])
    out += lstr(ansi(p["name"])) + lstr(ansi(p["userData"])) + bytes([0])
    for pic in p["pictures"]:
        out += struct.pack("<HHH6x", pic["divX"], pic["divY"], pic["hue"]) + lstr(ansi(pic["path"]))
    for i, n in enumerate(names):
        out += bytes([i]) + lstr(ansi(n))
    for e in p["effects"]:
        bits = (1 if e["sound"] else 0) | (2 if e["flash"] else 0) | (4 if e["note"] else 0)
        out += struct.pack("<HB", e["frame"], bits)
        if e["sound"]:
            vol, pitch, bal, name = e["sound"]
            out += struct.pack("<HHHB", vol, pitch, bal, names.index(name))
        if e["flash"]:
            dur, blend, scope, r, g, b, strength = e["flash"]
            out += struct.pack("<HBBBBBB", dur, blend, scope, b, g, r, strength)
        if e["note"]:
            out += lstr(ansi(e["note"]))
    for fr in p["frames"]:
        out += struct.pack("<HB", fr["interval"], len(fr["cells"]))
        for n in sorted(fr["cells"]):
            c = fr["cells"][n]
            out += struct.pack("<BBxHBxhhhhhBBBBBx", n, c["picture"], c["pattern"], c["blend"], c["x"], c["y"],
                               c["scaleX"], c["scaleY"], c["angle"], c["opacity"], c["red"], c["green"],
                               c["blue"], c["saturation"])
    return bytes(out)


def write_text(p):
    lines = [b"MEVK_TEX0072", ansi(p["name"]), ansi(p["userData"])]
    num = lambda *v: ",".join(str(x) for x in v).encode()
    lines.append(b"1," + num(p["divisionFormat"], p["fixPicturePerCell"], p["editFormat"], p["baseInterval"],
                             p["totalInterval"], sum_intervals(p), len(p["frames"]), p["cellCount"],
                             len(p["pictures"]), len(p["effects"])))
    for i, pic in enumerate(p["pictures"]):
        lines += [b"2," + num(i, pic["divX"], pic["divY"], pic["hue"], 0, 0, 0), ansi(pic["path"])]
    for n in sound_names(p):
        lines += [b"3", ansi(n)]
    lines.append(b"9")
    last = {}
    for f, fr in enumerate(p["frames"]):
        for n in range(p["cellCount"]):
            c = fr["cells"].get(n)
            if c is not None and last.get(n) != c:
                base = last.get(n) or BLANK
                fields = []
                for group in (["picture"], ["pattern"], ["blend"], ["x", "y"], ["scaleX", "scaleY"], ["angle"],
                              ["opacity"], ["blue", "green", "red", "saturation"]):
                    changed = any(c[k] != base[k] for k in group)
                    fields += [str(c[k]) if changed else "" for k in group]
                lines.append(("2,%d," % n + ",".join(fields)).encode())
                last[n] = dict(c)
            elif c is None and n in last:
                lines.append(b"3," + num(n))
                del last[n]
        for e in p["effects"]:
            if e["frame"] != f:
                continue
            parts = [x for x in (e["sound"], e["flash"], e["note"]) if x]
            lines.append(b"4," + num(len(parts)))
            if e["sound"]:
                vol, pitch, bal, name = e["sound"]
                lines += [b"6," + num(vol, pitch, bal), ansi(name)]
            if e["flash"]:
                dur, blend, scope, r, g, b, strength = e["flash"]
                lines.append(b"5," + num(scope, blend, dur, b, g, r, strength))
            if e["note"]:
                lines += [b"7", ansi(e["note"])]
        lines.append(b"1," + num(fr["interval"]))
    return b"\r\n".join(lines) + b"\r\n9"


def main():
    for sub in ("BattleEffect", "Sound"):
        os.makedirs(os.path.join(DATA, sub), exist_ok=True)
    draw_burst(disk(BURST))
    draw_spark(disk(SPARK))
    make_zap(disk(ZAP))
    p = build_project()
    with open(os.path.join(DATA, "sample.dat"), "wb") as f:
        f.write(write_binary(p))
    with open(os.path.join(DATA, "sample.txt"), "wb") as f:
        f.write(write_text(p))


if __name__ == "__main__":
    main()

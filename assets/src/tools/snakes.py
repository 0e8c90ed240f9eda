#!/usr/bin/env python3
"""Writes the five snake sources (../snake1.svg ... ../snake5.svg).

Each snake is described by a few waypoints of its spine, a body width, a
colour scheme and a marking style.  This script turns that into plain SVG:
the spine becomes a smooth cubic path (used as the guide for the dashed
markings), and the tapered body outline - neck, body, pointed tail - is
traced around it, because SVG strokes cannot change width along a path.

Coordinates are board units: one board cell is 100 units wide and high.  The
game stretches each picture over its cells of the board, so the SVG squeezes
the board-sized drawing into the picture's pixel size with one non-uniform
scale on the outer group; on the board the snake then has its natural
proportions even though the picture file itself looks squeezed.

Run it only after changing a snake; generate.sh renders the SVGs it writes.
Plain Python 3, no extra modules.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)


# ---------------------------------------------------------------- geometry
def polyline(pts, close=False, per_line=8):
    """Path data for a polyline, a few points per line so diffs stay small."""
    items = [f"{x:.1f},{y:.1f}" for x, y in pts]
    rows = [" L".join(items[i:i + per_line]) for i in range(0, len(items), per_line)]
    d = "M" + "\n             L".join(rows)
    return d + (" Z" if close else "")



def catmull_rom(points):
    """Cubic Bezier segments of a Catmull-Rom spline through the points."""
    pts = [points[0]] + list(points) + [points[-1]]
    segs = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6.0, p1[1] + (p2[1] - p0[1]) / 6.0)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6.0, p2[1] - (p3[1] - p1[1]) / 6.0)
        segs.append((p1, c1, c2, p2))
    return segs


def bez(seg, t):
    p0, p1, p2, p3 = seg
    u = 1 - t
    x = u*u*u*p0[0] + 3*u*u*t*p1[0] + 3*u*t*t*p2[0] + t*t*t*p3[0]
    y = u*u*u*p0[1] + 3*u*u*t*p1[1] + 3*u*t*t*p2[1] + t*t*t*p3[1]
    return x, y


def sample(segs, per_seg=400):
    """Dense points along the spine with their arc length."""
    pts = []
    for k, seg in enumerate(segs):
        for i in range(per_seg + (1 if k == len(segs) - 1 else 0)):
            pts.append(bez(seg, i / per_seg))
    out = [(pts[0][0], pts[0][1], 0.0)]
    for p in pts[1:]:
        q = out[-1]
        d = math.hypot(p[0] - q[0], p[1] - q[1])
        if d > 1e-9:
            out.append((p[0], p[1], q[2] + d))
    return out


def resample(dense, step):
    """Points every `step` units of arc length, with unit tangents."""
    total = dense[-1][2]
    n = max(2, int(math.ceil(total / step)))
    res, j = [], 0
    for i in range(n + 1):
        s = total * i / n
        while j < len(dense) - 2 and dense[j + 1][2] < s:
            j += 1
        a, b = dense[j], dense[j + 1]
        f = (s - a[2]) / (b[2] - a[2])
        x = a[0] + f * (b[0] - a[0])
        y = a[1] + f * (b[1] - a[1])
        # tangent from a small window for smoothness
        j0, j1 = max(0, j - 3), min(len(dense) - 1, j + 4)
        tx, ty = dense[j1][0] - dense[j0][0], dense[j1][1] - dense[j0][1]
        tl = math.hypot(tx, ty)
        res.append((x, y, s, tx / tl, ty / tl))
    return res, total


def smoothstep(t):
    t = min(1.0, max(0.0, t))
    return t * t * (3 - 2 * t)


def width_at(s, total, w, taper):
    """Body width at arc length s (0 = neck behind the head)."""
    neck = 1.1 * w
    if s < neck:
        k = 0.74 + 0.26 * smoothstep(s / neck)
    elif s > total - taper:
        # starts gently, then runs almost straight into a sharp point
        t = (s - (total - taper)) / taper
        k = math.cos(min(1.0, t) * math.pi / 2) ** 1.3
    else:
        k = 1.0
    # a slight swelling in the middle of the body
    u = s / total
    return w * k * (1 + 0.05 * math.sin(math.pi * u))


def band(samples, total, w, taper, frac, offset=0.0, closed=True):
    """Closed outline of a band along the body: `frac` of the local width,
    shifted sideways by `offset` x local width."""
    left, right = [], []
    for x, y, s, tx, ty in samples:
        ww = width_at(s, total, w, taper)
        nx, ny = -ty, tx
        a = (offset + frac / 2) * ww
        b = (offset - frac / 2) * ww
        left.append((x + nx * a, y + ny * a))
        right.append((x + nx * b, y + ny * b))
    ring = left + right[::-1]
    # closed for filling; left open across the neck for the edge line, so
    # no seam is drawn where the neck runs into the head
    return polyline(ring, close=closed)


def side_line(samples, total, w, taper, offset):
    """Open line running along the body at `offset` x local width."""
    pts = []
    for x, y, s, tx, ty in samples:
        ww = width_at(s, total, w, taper)
        pts.append((x - ty * offset * ww, y + tx * offset * ww))
    return polyline(pts)


def zigzag(samples, total, w, taper, start, period, amp):
    """Zigzag line along the back (adder-like marking)."""
    pts = []
    for x, y, s, tx, ty in samples:
        if s < start:
            continue
        ww = width_at(s, total, w, taper)
        phase = ((s - start) / period) % 1.0
        tri = 4 * abs(phase - 0.5) - 1          # -1 .. 1 triangle wave
        off = tri * amp * ww
        pts.append((x - ty * off, y + tx * off))
    return polyline(pts)


def spine_path(segs):
    d = f"M{segs[0][0][0]:.1f},{segs[0][0][1]:.1f}"
    for _, c1, c2, p in segs:
        d += f" C{c1[0]:.1f},{c1[1]:.1f} {c2[0]:.1f},{c2[1]:.1f} {p[0]:.1f},{p[1]:.1f}"
    return d


# ---------------------------------------------------------------- drawing
HEAD = """
  <!-- Head, drawn in its own frame: origin at the neck, +x towards the snout,
       one unit = a tenth of the neck width x head_scale.  It lies over the
       start of the neck. -->
  <g id="head" transform="translate({x:.1f} {y:.1f}) rotate({a:.1f}) scale({k:.3f})">
    <!-- forked tongue -->
    <path d="M11.5,0 L16.5,0 L19.5,-1.8 M16.5,0 L19.5,1.8" fill="none"
          stroke="#c0182a" stroke-width="0.9" stroke-linecap="round" stroke-linejoin="round"/>
    <!-- left open at the back: the fill closes it, the edge line stops where
         the head sits on the neck -->
    <path d="M-4,-3.3 C-1,-6.2 4,-6.9 7.6,-5.3 C10.6,-4 12.2,-2 12.2,0
             C12.2,2 10.6,4 7.6,5.3 C4,6.9 -1,6.2 -4,3.3"
          fill="url(#head-shade)" stroke="{outline}" stroke-width="{sw:.2f}"/>
    <!-- eyes -->
    <g stroke="{outline}" stroke-width="{esw:.2f}">
      <circle cx="5.6" cy="-3.9" r="1.75" fill="#f6e27a"/>
      <circle cx="5.6" cy="3.9" r="1.75" fill="#f6e27a"/>
    </g>
    <g fill="#000000">
      <circle cx="5.8" cy="-3.9" r="0.95"/>
      <circle cx="5.8" cy="3.9" r="0.95"/>
      <!-- nostrils -->
      <circle cx="10.6" cy="-1.1" r="0.4"/>
      <circle cx="10.6" cy="1.1" r="0.4"/>
    </g>
    <g fill="#ffffff">
      <circle cx="5.45" cy="-4.25" r="0.4"/>
      <circle cx="5.45" cy="3.55" r="0.4"/>
    </g>
  </g>
"""


def write_snake(cfg):
    segs = catmull_rom(cfg["spine"])
    dense = sample(segs)
    samples, total = resample(dense, 5.0)
    w, taper = cfg["width"], cfg["taper"]
    col = cfg["colours"]

    body = band(samples, total, w, taper, 1.0)
    edge = band(samples, total, w, taper, 1.0, closed=False)
    back = band(samples, total, w, taper, 0.66)
    gloss = band(samples, total, w, taper, 0.12, -0.16)

    # head: at the spine start, looking away from the body
    x0, y0, _, tx, ty = samples[0]
    angle = math.degrees(math.atan2(-ty, -tx))
    k = width_at(0, total, w, taper) / 10.0 * cfg.get("head_scale", 1.45)

    markings = cfg["markings"](samples, total, w, taper, col)

    bw, bh = cfg["board"]
    pw, ph = cfg["pixels"]
    svg = f"""<?xml version="1.0" encoding="UTF-8"?>
<!-- Tavlo board snake {cfg['n']}: {cfg['title']}.
     Written by tools/snakes.py; edit the waypoints there and re-run it.
     Drawn in board units (one cell = 100) over {bw // 100} x {bh // 100} cells;
     the picture is {pw} x {ph} px and gets stretched back over those cells,
     so the drawing is scaled by ({pw}/{bw}, {ph}/{bh}) here. -->
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     width="{pw}" height="{ph}" viewBox="0 0 {pw} {ph}">
<g id="board-units" transform="scale({pw / bw:.6f} {ph / bh:.6f})">
  <defs>
    <!-- centre line of the snake, from the neck to the tip of the tail -->
    <path id="spine" d="{spine_path(segs)}"/>
    <!-- tapered outline around the spine -->
    <path id="body-outline" d="{body}"/>
    <clipPath id="body-clip">
      <use xlink:href="#body-outline"/>
    </clipPath>
    <radialGradient id="head-shade" cx="0.45" cy="0.4" r="0.7">
      <stop offset="0" stop-color="{col['light']}"/>
      <stop offset="0.6" stop-color="{col['main']}"/>
      <stop offset="1" stop-color="{col['side']}"/>
    </radialGradient>
  </defs>

  <rect id="paper" x="0" y="0" width="{bw}" height="{bh}" fill="#ffffff"/>

  <g id="body">
    <!-- flanks, then the lighter back -->
    <use xlink:href="#body-outline" fill="{col['side']}"/>
    <path id="back" fill="{col['main']}" d="{back}"/>
    <g id="markings" clip-path="url(#body-clip)">
{markings}
    </g>
    <!-- a soft sheen along the back -->
    <path id="sheen" fill="#ffffff" fill-opacity="0.28" d="{gloss}"/>
    <path id="edge" fill="none" stroke="{col['outline']}" stroke-width="2.4"
          stroke-linejoin="round" d="{edge}"/>
  </g>
{HEAD.format(x=x0, y=y0, a=angle, k=k, outline=col['outline'], sw=2.4 / k,
             esw=1.2 / k)}</g>
</svg>
"""
    path = os.path.join(OUT, f"snake{cfg['n']}.svg")
    with open(path, "w") as f:
        f.write(svg)
    print(f"{path}: spine {total:.0f} units")


# ---------------------------------------------------------------- markings
def blotches(samples, total, w, taper, col):
    """snake 1: dark brown saddle blotches with small side spots."""
    left = side_line(samples, total, w, taper, 0.40)
    right = side_line(samples, total, w, taper, -0.40)
    return f"""      <!-- saddle blotches along the back -->
      <use xlink:href="#spine" fill="none" stroke="{col['mark']}" stroke-width="{0.62 * w:.1f}"
           stroke-linecap="round" stroke-dasharray="16 34 20 30" stroke-dashoffset="16"/>
      <use xlink:href="#spine" fill="none" stroke="{col['mark2']}" stroke-width="{0.3 * w:.1f}"
           stroke-linecap="round" stroke-dasharray="16 34 20 30" stroke-dashoffset="16"/>
      <!-- spots low on both flanks, between the saddles -->
      <g fill="none" stroke="{col['mark']}" stroke-width="{0.2 * w:.1f}" stroke-linecap="round"
         stroke-dasharray="6 44" stroke-dashoffset="-14">
        <path d="{left}"/>
        <path d="{right}"/>
      </g>"""


def bands(samples, total, w, taper, col):
    """snake 2: cream cross-bands edged in dark red on a red body."""
    return f"""      <!-- cross-bands: a dark band with a narrower cream band inside it -->
      <use xlink:href="#spine" fill="none" stroke="{col['mark2']}" stroke-width="{2.2 * w:.1f}"
           stroke-dasharray="14 22" stroke-dashoffset="-30"/>
      <use xlink:href="#spine" fill="none" stroke="{col['mark']}" stroke-width="{2.2 * w:.1f}"
           stroke-dasharray="10 26" stroke-dashoffset="-32"/>"""


def saddles(samples, total, w, taper, col):
    """snake 3: brown saddles and flank spots on a gold body."""
    left = side_line(samples, total, w, taper, 0.44)
    right = side_line(samples, total, w, taper, -0.44)
    return f"""      <!-- brown saddles with a dark rim -->
      <use xlink:href="#spine" fill="none" stroke="{col['mark2']}" stroke-width="{0.9 * w:.1f}"
           stroke-dasharray="22 20" stroke-dashoffset="-40"/>
      <use xlink:href="#spine" fill="none" stroke="{col['mark']}" stroke-width="{0.9 * w:.1f}"
           stroke-dasharray="17 25" stroke-dashoffset="-42.5"/>
      <!-- flank spots between the saddles -->
      <g fill="none" stroke="{col['mark2']}" stroke-width="{0.16 * w:.1f}" stroke-linecap="round"
         stroke-dasharray="4 38" stroke-dashoffset="-9">
        <path d="{left}"/>
        <path d="{right}"/>
      </g>"""


def chevrons(samples, total, w, taper, col):
    """snake 4: narrow dark cross-bars with dots between them."""
    return f"""      <!-- narrow dark cross-bars -->
      <use xlink:href="#spine" fill="none" stroke="{col['mark']}" stroke-width="{2.2 * w:.1f}"
           stroke-dasharray="6 18" stroke-dashoffset="-30"/>
      <!-- a dot on the back between two bars -->
      <use xlink:href="#spine" fill="none" stroke="{col['mark']}" stroke-width="{0.28 * w:.1f}"
           stroke-linecap="round" stroke-dasharray="0.1 23.9" stroke-dashoffset="-42"/>"""


def zigzag_back(samples, total, w, taper, col):
    """snake 5: dark zigzag stripe down the back, dark flank spots."""
    zz = zigzag(samples, total, w, taper, 18, 30, 0.26)
    left = side_line(samples, total, w, taper, 0.43)
    right = side_line(samples, total, w, taper, -0.43)
    return f"""      <!-- zigzag stripe down the back -->
      <path fill="none" stroke="{col['mark']}" stroke-width="{0.22 * w:.1f}"
            stroke-linejoin="round" stroke-linecap="round"
            d="{zz}"/>
      <!-- flank spots in the bays of the zigzag -->
      <g fill="none" stroke="{col['mark']}" stroke-width="{0.18 * w:.1f}" stroke-linecap="round"
         stroke-dasharray="4 26" stroke-dashoffset="-16">
        <path d="{left}"/>
        <path d="{right}"/>
      </g>"""


# ---------------------------------------------------------------- snakes
SNAKES = [
    dict(n=1, title="long green snake with brown blotches, head top left, "
                    "three bends, tail bottom right",
         board=(500, 1000), pixels=(323, 470), width=50, taper=400,
         spine=[(96, 100), (138, 130), (200, 140), (280, 138), (366, 200), (352, 282),
                (225, 318), (108, 370), (90, 460), (190, 522), (312, 560),
                (354, 632), (338, 712), (356, 790), (342, 860), (368, 926),
                (428, 950), (486, 944)],
         colours=dict(main="#6fb43f", side="#3f8a26", light="#a9dc7a",
                      outline="#1d3a10", mark="#74451d", mark2="#4e2c10"),
         markings=blotches),
    dict(n=2, title="slim red snake with cream bands, head top right, "
                    "tail bottom left",
         board=(200, 600), pixels=(131, 435), width=28, taper=230, head_scale=1.55,
         spine=[(140, 78), (118, 128), (76, 182), (66, 250), (112, 318),
                (138, 384), (108, 450), (66, 505), (48, 578)],
         colours=dict(main="#d8362a", side="#a8231b", light="#ff7a66",
                      outline="#3a0c08", mark="#f4e6c4", mark2="#3a0c08"),
         markings=bands),
    dict(n=3, title="brown and gold snake on a flat diagonal, head top right, "
                    "tail bottom left",
         board=(400, 300), pixels=(277, 195), width=40, taper=200,
         spine=[(316, 82), (282, 114), (214, 104), (160, 128), (140, 178),
                (100, 216), (54, 232), (24, 262)],
         colours=dict(main="#dcab3c", side="#a97a22", light="#f5d98a",
                      outline="#3a240a", mark="#8a5424", mark2="#4a2a0c"),
         markings=saddles),
    dict(n=4, title="yellow-green snake with dark bars, head top right, "
                    "tail bottom left",
         board=(200, 300), pixels=(125, 342), width=34, taper=150,
         spine=[(132, 80), (112, 118), (74, 150), (70, 196), (98, 228),
                (82, 262), (40, 276)],
         colours=dict(main="#bcd244", side="#8fa52a", light="#e6f29a",
                      outline="#2a3408", mark="#2e3a10", mark2="#2e3a10"),
         markings=chevrons),
    dict(n=5, title="green snake with a dark zigzag, head top left, "
                    "tail bottom right",
         board=(300, 500), pixels=(125, 342), width=38, taper=210,
         spine=[(70, 80), (104, 122), (178, 158), (214, 222), (168, 286),
                (130, 348), (168, 408), (228, 440), (276, 468)],
         colours=dict(main="#5cb85a", side="#338a3a", light="#9fe39a",
                      outline="#123a16", mark="#173f1a", mark2="#173f1a"),
         markings=zigzag_back),
]

if __name__ == "__main__":
    for cfg in SNAKES:
        write_snake(cfg)

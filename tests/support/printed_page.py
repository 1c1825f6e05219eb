#!/usr/bin/env python3
"""printed_page.py PDF: what a printed PDF shows, at 72 dots an inch (one dot a point).

Prints "PAGES WIDTH HEIGHT X0 Y0 X1 Y1 TOP BOTTOM LEFT RIGHT": the sheets, the first sheet's size,
its inked box, and the colour (red, blue or other) at the middle of each edge of that box; "PAGES
WIDTH HEIGHT blank" when nothing is inked.
"""
import os
import re
import subprocess
import sys
import tempfile

pdf = sys.argv[1]
info = subprocess.run(['pdfinfo', pdf], capture_output=True, text=True, check=True).stdout
pages = re.search(r'^Pages:\s*(\d+)', info, re.M).group(1)
with tempfile.TemporaryDirectory() as folder:
    subprocess.run(['pdftoppm', '-r', '72', '-singlefile', pdf, os.path.join(folder, 'page')], check=True)
    data = open(os.path.join(folder, 'page.ppm'), 'rb').read()
_, w, h, _, px = data.split(maxsplit=4)
w, h = int(w), int(h)


def at(x, y):
    i = (y * w + x) * 3
    return px[i], px[i + 1], px[i + 2]


inked = [(x, y) for y in range(h) for x in range(w) if min(at(x, y)) < 200]
if not inked:
    print(pages, w, h, 'blank')
    sys.exit()
x0, x1 = min(x for x, _ in inked), max(x for x, _ in inked) + 1
y0, y1 = min(y for _, y in inked), max(y for _, y in inked) + 1


def colour(x, y):
    r, _, b = at(x, y)
    return 'red' if r > 150 and b < 100 else 'blue' if b > 150 and r < 100 else 'other'


mx, my = (x0 + x1) // 2, (y0 + y1) // 2
print(pages, w, h, x0, y0, x1, y1, colour(mx, y0 + 1), colour(mx, y1 - 2), colour(x0 + 1, my), colour(x1 - 2, my))

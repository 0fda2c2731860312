"""Pixel counts in a box of a binary PPM screenshot, for the end-to-end tests.

ppm_count.py FILE X0 Y0 X1 Y1 R G B TOL   pixels of about that colour
ppm_count.py --diff A B X0 Y0 X1 Y1       pixels that differ between A and B
"""
import sys


def read_ppm(path):
    data = open(path, "rb").read()
    parts, pos = [], 0
    while len(parts) < 4:  # P6, width, height, maxval
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        parts.append(data[pos:end])
        pos = end
    return int(parts[1]), int(parts[2]), data[pos + 1:]


def pixels(path, x0, y0, x1, y1):
    w, h, px = read_ppm(path)
    for y in range(max(y0, 0), min(y1, h)):
        for x in range(max(x0, 0), min(x1, w)):
            i = (y * w + x) * 3
            yield px[i], px[i + 1], px[i + 2]


if __name__ == "__main__":
    if sys.argv[1] == "--diff":
        a, b = sys.argv[2], sys.argv[3]
        box = list(map(int, sys.argv[4:8]))
        print(sum(1 for p, q in zip(pixels(a, *box), pixels(b, *box)) if p != q))
    else:
        path = sys.argv[1]
        x0, y0, x1, y1, r, g, b, tol = map(int, sys.argv[2:10])
        print(sum(1 for p in pixels(path, x0, y0, x1, y1)
                  if abs(p[0] - r) <= tol and abs(p[1] - g) <= tol and abs(p[2] - b) <= tol))

#!/usr/bin/env python3
# make_images.py: draws the uninstaller's banners, heading and icon (standard library only).
"""Writes resources/side_banner.bmp, top_banner.bmp, heading.bmp and app.ico.

The bitmaps are 8-bit palette BMPs (BITMAPINFOHEADER, 256 palette entries), the
icon one 32 x 32 image in the 16-colour VGA palette. Output is deterministic, so
running the script again reproduces the checked-in files byte for byte.

    python3 tools/images/make_images.py [--out DIR] [--preview DIR]

--preview also writes PNG copies, enlarged where small, and a mock-up of the
dialog with the images in place.
"""

import argparse
import os
import struct
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

# Colours used throughout.
NAVY_TOP = (27, 50, 88)
NAVY_BOTTOM = (11, 22, 44)
NAVY_TEXT = (22, 42, 78)
ACCENT = (56, 132, 196)
SLATE_TEXT = (84, 98, 118)
DIALOG_GREY = (212, 208, 200)
WHITE = (255, 255, 255)

# A 5 x 7 font with proportional widths: rows 0-6 hold capitals and ascenders,
# the x-height is rows 2-6 and descenders use rows 7-8.
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "a": ["", "", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "c": ["", "", ".###.", "#....", "#....", "#....", ".###."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": ["", "", ".###.", "#...#", "#####", "#....", ".###."],
    "f": ["..##", ".#..", "####", ".#..", ".#..", ".#..", ".#.."],
    "g": ["", "", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "h": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "i": ["#", "", "#", "#", "#", "#", "#"],
    "j": ["..#", "", "..#", "..#", "..#", "..#", "..#", "#.#", ".#."],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    "l": ["#", "#", "#", "#", "#", "#", "#"],
    "m": ["", "", "####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": ["", "", "####.", "#...#", "#...#", "#...#", "#...#"],
    "o": ["", "", ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": ["", "", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "q": ["", "", ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"],
    "r": ["", "", "#.##", "##..", "#...", "#...", "#..."],
    "s": ["", "", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"],
    "u": ["", "", "#...#", "#...#", "#...#", "#...#", ".####"],
    "v": ["", "", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "w": ["", "", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "x": ["", "", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    "y": ["", "", "#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "z": ["", "", "#####", "...#.", "..#..", ".#...", "#####"],
    "+": ["", "..#..", "..#..", "#####", "..#..", "..#..", ""],
    "/": ["....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."],
    ".": ["", "", "", "", "", "", "#"],
    "-": ["", "", "", "####", "", "", ""],
}
SPACE_WIDTH = 3

# Bold is drawn by doubling each pixel to the right; glyphs whose inner gaps
# would close up have their own bold form here, drawn as they stand.
BOLD_GLYPHS = {
    "m": ["", "", "#######.", "##.##.##", "##.##.##", "##.##.##", "##.##.##"],
    "w": ["", "", "##...##", "##...##", "##.#.##", "##.#.##", ".##.##."],
}


def glyphForm(ch, bold):
    """Returns (rows, doubled): the pattern to draw and whether to double its pixels."""
    if bold and ch in BOLD_GLYPHS:
        return BOLD_GLYPHS[ch], False
    return GLYPHS[ch], bold


def glyphWidth(ch, bold=False):
    if ch == " ":
        return SPACE_WIDTH
    rows, doubled = glyphForm(ch, bold)
    return max(len(row) for row in rows) + (1 if doubled else 0)


def textWidth(text, scale=1, bold=False):
    """Width in pixels of text drawn with drawText and the same options."""
    if not text:
        return 0
    columns = sum(glyphWidth(ch, bold) for ch in text) + len(text) - 1
    return columns * scale


class Canvas:
    """An RGB picture, row by row from the top."""

    def __init__(self, width, height, colour=WHITE):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def get(self, x, y):
        return self.pixels[y][x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def blend(self, x, y, colour, alpha):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = mix(self.pixels[y][x], colour, alpha)

    def fillRect(self, left, top, right, bottom, colour):
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.pixels[y]
            for x in range(max(left, 0), min(right, self.width)):
                row[x] = colour

    def verticalGradient(self, top, bottom, steps):
        """Fills the picture from top to bottom colour in a fixed number of bands."""
        for y in range(self.height):
            t = y / (self.height - 1)
            band = min(int(t * steps), steps - 1) / (steps - 1)
            self.pixels[y] = [mix(top, bottom, band)] * self.width

    def drawText(self, text, left, top, colour, scale=1, bold=False):
        """Draws text with its capital height starting at row top; returns the end x."""
        x = left
        for ch in text:
            if ch != " ":
                rows, doubled = glyphForm(ch, bold)
                for row, bits in enumerate(rows):
                    for column, bit in enumerate(bits):
                        if bit != "#":
                            continue
                        for dx in range(scale * (2 if doubled else 1)):
                            for dy in range(scale):
                                self.put(x + column * scale + dx, top + row * scale + dy, colour)
            x += (glyphWidth(ch, bold) + 1) * scale
        return x - scale

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                self.put(left + x, top + y, other.pixels[y][x])


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def drawEnvelope(canvas, left, top, width, height, paper, line, fold):
    """A closed envelope: outlined paper with the flap drawn as a V."""
    canvas.fillRect(left, top, left + width, top + height, paper)
    for x in range(left, left + width):
        canvas.put(x, top, line)
        canvas.put(x, top + height - 1, line)
    for y in range(top, top + height):
        canvas.put(left, y, line)
        canvas.put(left + width - 1, y, line)
    half = (width - 1) / 2.0
    depth = height * 0.55
    for i in range(int(half) + 1):
        y = top + int(round(i * depth / half))
        canvas.put(left + i, y, fold)
        canvas.put(left + width - 1 - i, y, fold)


def makeSideBanner():
    """110 x 401: deep navy gradient, a faint lattice of diamonds and the envelope mark."""
    canvas = Canvas(110, 401)
    canvas.verticalGradient(NAVY_TOP, NAVY_BOTTOM, 48)

    # A lattice of small diamond outlines that fades in towards the bottom.
    pitch = 22
    for row in range(-1, canvas.height // pitch + 2):
        for column in range(-1, canvas.width // pitch + 2):
            cx = column * pitch + (pitch // 2 if row % 2 else 0)
            cy = row * pitch + 140
            if cy < 130:
                continue
            strength = min(1.0, (cy - 130) / 230.0) * 0.22
            for i in range(6):
                for px, py in ((cx - 6 + i, cy - i), (cx + i, cy - 6 + i),
                               (cx + 6 - i, cy + i), (cx - i, cy + 6 - i)):
                    canvas.blend(px, py, ACCENT, strength)

    # The product mark near the top: a light envelope with an accent underline.
    drawEnvelope(canvas, 31, 28, 48, 32, (236, 241, 248), (236, 241, 248), (96, 120, 156))
    canvas.fillRect(31, 68, 79, 70, ACCENT)

    # A hairline along the right edge where the picture meets the top banner.
    for y in range(canvas.height):
        canvas.blend(canvas.width - 1, y, (0, 0, 0), 0.35)
    return canvas


def makeTopBanner():
    """489 x 85: white to light grey, the product name and the task in the house font."""
    canvas = Canvas(489, 85)
    for y in range(canvas.height):
        for x in range(canvas.width):
            canvas.pixels[y][x] = mix(WHITE, (236, 239, 243), (x / (canvas.width - 1)) ** 1.5)

    canvas.drawText("Vantrel Mail", 22, 17, NAVY_TEXT, scale=3)
    canvas.drawText("Uninstall", 23, 50, SLATE_TEXT, scale=2)

    # Three stepped squares at the right, echoing the side banner's accent.
    for i, alpha in enumerate((0.25, 0.5, 1.0)):
        left = 418 + i * 18
        for y in range(30, 44):
            for x in range(left, left + 14):
                canvas.blend(x, y, ACCENT, alpha)

    # Accent rule and a soft shadow line along the bottom edge.
    canvas.fillRect(0, 81, canvas.width, 83, ACCENT)
    canvas.fillRect(0, 83, canvas.width, 84, (180, 186, 196))
    canvas.fillRect(0, 84, canvas.width, 85, DIALOG_GREY)
    return canvas


def makeHeading():
    """211 x 17: the heading of the option list on the dialog's grey, with a rule after it."""
    canvas = Canvas(211, 17, DIALOG_GREY)
    text = "Select the items to remove"
    end = canvas.drawText(text, 0, 5, NAVY_TEXT, bold=True)
    for x in range(end + 6, canvas.width):
        canvas.put(x, 8, (128, 128, 128))
        canvas.put(x, 9, WHITE)
    return canvas


# The 16-colour VGA palette in Windows order.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def makeIcon():
    """32 x 32 in VGA colours: a white envelope on a rounded blue square.

    Returns rows of palette indices and rows of transparency flags.
    """
    size = 32
    navy, blue, white, silver, grey, black = 4, 12, 15, 7, 8, 0
    index = [[0] * size for _ in range(size)]
    clear = [[True] * size for _ in range(size)]

    def inside(x, y, left, top, right, bottom, radius):
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + 0.5

    for y in range(size):
        for x in range(size):
            if inside(x, y, 1, 1, 30, 30, 4):
                clear[y][x] = False
                # Bright blue at the top fading into navy through a checkered band.
                edge = not inside(x, y, 2, 2, 29, 29, 3)
                if edge or y > 13 or (y > 9 and (x + y) % 2):
                    index[y][x] = navy
                else:
                    index[y][x] = blue

    # Envelope body with a shadow on its lower right.
    left, top, right, bottom = 6, 9, 25, 22
    for y in range(top + 1, bottom + 2):
        for x in range(left + 1, right + 2):
            index[y][x] = black
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            index[y][x] = white
    for x in range(left, right + 1):
        index[bottom][x] = silver
    # The flap.
    for i in range(10):
        y = top + (i * 8) // 9
        index[y][left + i] = grey
        index[y][right - i] = grey
    # The lower folds, lighter.
    for i in range(6):
        index[bottom - 1 - i][left + 1 + i] = silver
        index[bottom - 1 - i][right - 1 - i] = silver
    return index, clear


def quantize(canvas):
    """Returns (palette, indices): the picture's own colours, cut down to 256 if needed."""
    counts = {}
    for row in canvas.pixels:
        for colour in row:
            counts[colour] = counts.get(colour, 0) + 1
    colours = sorted(counts)
    if len(colours) <= 256:
        palette = colours
    else:
        palette = medianCut(counts, 256)
    lookup = {}
    indices = []
    for row in canvas.pixels:
        line = []
        for colour in row:
            if colour not in lookup:
                lookup[colour] = nearest(palette, colour)
            line.append(lookup[colour])
        indices.append(line)
    return palette, indices


def medianCut(counts, limit):
    boxes = [sorted(counts)]
    while len(boxes) < limit:
        boxes.sort(key=lambda box: boxSpread(box))
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        channel = max(range(3), key=lambda c: max(p[c] for p in box) - min(p[c] for p in box))
        box.sort(key=lambda p: p[channel])
        middle = len(box) // 2
        boxes.extend([box[:middle], box[middle:]])
    palette = []
    for box in boxes:
        total = sum(counts[p] for p in box)
        palette.append(tuple(int(round(sum(p[c] * counts[p] for p in box) / total)) for c in range(3)))
    return sorted(set(palette))


def boxSpread(box):
    return max(max(p[c] for p in box) - min(p[c] for p in box) for c in range(3))


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][c] - colour[c]) ** 2 for c in range(3)))


def writeBmp8(path, palette, indices):
    """A bottom-up 8-bit BMP with a BITMAPINFOHEADER and all 256 palette entries."""
    height = len(indices)
    width = len(indices[0])
    stride = (width + 3) & ~3
    entries = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    colourTable = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in entries)
    rows = b"".join(bytes(row) + b"\0" * (stride - width) for row in reversed(indices))
    offset = 14 + 40 + len(colourTable)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + colourTable + rows)


def writeIco4(path, index, clear):
    """An icon file with one 32 x 32, 4-bit image and its transparency mask."""
    size = len(index)
    colourTable = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA)
    xor = b""
    for row in reversed(index):
        xor += bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
    mask = b""
    for row in reversed(clear):
        bits = 0
        for flag in row:
            bits = (bits << 1) | (1 if flag else 0)
        mask += bits.to_bytes(size // 8, "big")
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + colourTable + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


def writePng(path, rows):
    """An RGB PNG of rows of (r, g, b) tuples."""
    height = len(rows)
    width = len(rows[0])
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def enlarge(rows, factor):
    return [[pixel for pixel in row for _ in range(factor)] for row in rows for _ in range(factor)]


def decoded(palette, indices):
    return [[palette[i] for i in row] for row in indices]


def makeMockup(side, top, heading):
    """The dialog's client area at 96 dpi, with the house font standing in for the dialog font."""
    def px(x, y):
        return int(x * 1.5), int(y * 1.625)

    canvas = Canvas(*px(413, 262), DIALOG_GREY)
    canvas.paste(side, *px(7, 7))
    canvas.paste(top, *px(80, 7))
    canvas.paste(heading, *px(89, 77))
    labels = [
        (105, "Unregister Vantrel Mail DLL"),
        (120, "Unregister Vantrel Common DLLs"),
        (135, "Remove Start Menu Entries"),
        (150, "Delete Vantrel Mail Files"),
        (167, "Delete Common C++ Libs/Includes"),
    ]
    for y, label in labels:
        left, top_ = px(91, y)
        box = top_ + 1
        canvas.fillRect(left, box, left + 13, box + 13, (128, 128, 128))
        canvas.fillRect(left + 1, box + 1, left + 13, box + 13, WHITE)
        for i in range(7):
            canvas.put(left + 3 + i, box + 6 + (i if i < 3 else 4 - i) - 1, (0, 0, 0))
            canvas.put(left + 3 + i, box + 7 + (i if i < 3 else 4 - i) - 1, (0, 0, 0))
        canvas.drawText(label, left + 18, box + 3, (0, 0, 0))
    for x, label in ((298, "Cancel"), (356, "Uninstall")):
        left, top_ = px(x, 241)
        right, bottom = px(x + 50, 255)
        canvas.fillRect(left, top_, right, bottom, (0, 0, 0))
        canvas.fillRect(left, top_, right - 1, bottom - 1, WHITE)
        canvas.fillRect(left + 1, top_ + 1, right - 1, bottom - 1, (128, 128, 128))
        canvas.fillRect(left + 1, top_ + 1, right - 2, bottom - 2, DIALOG_GREY)
        width = textWidth(label)
        canvas.drawText(label, (left + right - width) // 2, (top_ + bottom - 7) // 2, (0, 0, 0))
    return canvas


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "resources"))
    parser.add_argument("--preview", default=None, help="directory for PNG previews")
    args = parser.parse_args()

    pictures = [
        ("side_banner", makeSideBanner()),
        ("top_banner", makeTopBanner()),
        ("heading", makeHeading()),
    ]
    quantized = {}
    for name, canvas in pictures:
        palette, indices = quantize(canvas)
        quantized[name] = (palette, indices)
        writeBmp8(os.path.join(args.out, name + ".bmp"), palette, indices)
        print("%s.bmp: %d x %d, %d colours" % (name, canvas.width, canvas.height, len(palette)))

    index, clear = makeIcon()
    writeIco4(os.path.join(args.out, "app.ico"), index, clear)
    print("app.ico: 32 x 32, 16 colours")

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        shown = {}
        for name, (palette, indices) in quantized.items():
            rows = decoded(palette, indices)
            shown[name] = rows
            writePng(os.path.join(args.preview, name + ".png"), rows)
        writePng(os.path.join(args.preview, "heading_x3.png"), enlarge(shown["heading"], 3))
        checker = [[(204, 204, 204) if (x // 4 + y // 4) % 2 else WHITE for x in range(32)] for y in range(32)]
        icon = [[checker[y][x] if clear[y][x] else VGA[index[y][x]] for x in range(32)] for y in range(32)]
        writePng(os.path.join(args.preview, "app_x8.png"), enlarge(icon, 8))

        def canvasOf(rows):
            canvas = Canvas(len(rows[0]), len(rows))
            canvas.pixels = [list(row) for row in rows]
            return canvas

        mockup = makeMockup(canvasOf(shown["side_banner"]), canvasOf(shown["top_banner"]), canvasOf(shown["heading"]))
        writePng(os.path.join(args.preview, "dialog_mockup.png"), mockup.pixels)
        print("previews in %s" % args.preview)


if __name__ == "__main__":
    main()

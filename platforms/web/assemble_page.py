"""Lays out the static page folder beside the built program and stamps the offline cache with its build.

usage: assemble_page.py OUT_DIR PAGE_SRC_DIR ICON_64 ICON_256 LICENSE
OUT_DIR already holds qex-lifts.js and qex-lifts.wasm.
"""
import hashlib, os, shutil, struct, sys, zlib

out, src, icon64, icon256, licence = sys.argv[1:6]


def chunks(data):
    at = 8
    while at < len(data):
        size, = struct.unpack_from(">I", data, at)
        yield data[at + 4:at + 8], data[at + 8:at + 8 + size]
        at += 12 + size


def rgba_rows(path):
    """The pixel rows of an 8-bit RGBA, non-interlaced PNG, unfiltered."""
    data = open(path, "rb").read()
    header = dict(chunks(data))[b"IHDR"]
    width, height, depth, kind, _, _, interlace = struct.unpack(">IIBBBBB", header)
    if (depth, kind, interlace) != (8, 6, 0):
        sys.exit("%s: only 8-bit RGBA non-interlaced icons are handled" % path)
    raw = zlib.decompress(b"".join(body for name, body in chunks(data) if name == b"IDAT"))
    stride, rows, previous = width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up, corner = previous[i], previous[i - 4] if i >= 4 else 0
            if kind == 1: line[i] = (line[i] + left) & 255
            elif kind == 2: line[i] = (line[i] + up) & 255
            elif kind == 3: line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def shrink_icon(source, target):
    """Writes the icon with a palette when it has few colours: the committed ones are stored uncompressed."""
    width, height, rows = rgba_rows(source)
    colours = sorted({row[i:i + 4] for row in rows for i in range(0, len(row), 4)})
    if len(colours) > 256:
        shutil.copyfile(source, target)
        return
    index = {c: i for i, c in enumerate(colours)}
    pixels = b"".join(b"\0" + bytes(index[row[i:i + 4]] for i in range(0, len(row), 4)) for row in rows)
    chunk = lambda name, body: struct.pack(">I", len(body)) + name + body + struct.pack(">I", zlib.crc32(name + body))
    with open(target, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
                + chunk(b"PLTE", b"".join(c[:3] for c in colours))
                + chunk(b"tRNS", bytes(c[3] for c in colours))
                + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


for name in ["index.html", "qex-lifts.css", "page.js", "manifest.webmanifest"]:
    shutil.copyfile(os.path.join(src, name), os.path.join(out, name))
shutil.copyfile(licence, os.path.join(out, "LICENSE.txt"))
shrink_icon(icon64, os.path.join(out, "icon.png"))
shrink_icon(icon256, os.path.join(out, "icon-256.png"))

files = ["index.html", "qex-lifts.css", "page.js", "qex-lifts.js", "qex-lifts.wasm", "icon.png",
         "icon-256.png", "manifest.webmanifest", "LICENSE.txt"]
build = hashlib.sha256()
for name in files:
    build.update(name.encode() + b"\0" + open(os.path.join(out, name), "rb").read())
worker = open(os.path.join(src, "sw.js")).read()
worker = worker.replace("@BUILD@", build.hexdigest()[:16]).replace("@FILES@", ", ".join("'%s'" % f for f in files))
with open(os.path.join(out, "sw.js"), "w") as f:
    f.write(worker)

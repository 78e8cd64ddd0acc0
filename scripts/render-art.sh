#!/usr/bin/env bash
# Renders the wizard's artwork from the SVG sources in resources/art/ into
# resources/images/, and the desktop's icons into resources/icons/. The PNGs and
# the .ico are committed, so the build never runs this; run it after changing a
# drawing:
#
#   scripts/render-art.sh
#
# Needs rsvg-convert (Debian package librsvg2-bin, installed here if missing)
# and python3 (standard library only).
#
# Bitmaps 101-106 are written as 24-bit RGB without alpha, the way the pages
# expect them: the step pictures fill their whole frame, and the status marks
# are flattened onto the page colour (78,125,148) so they blend into Step 4.
# The icons keep their alpha channel.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
art="$root/resources/art"
out="$root/resources/images"

if ! command -v rsvg-convert >/dev/null 2>&1; then
  echo "Installing librsvg2-bin for rsvg-convert"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
command -v python3 >/dev/null 2>&1 || { echo "python3 is needed" >&2; exit 1; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Drops the alpha channel of an 8-bit PNG by compositing it over a flat colour,
# and writes a plain 8-bit RGB PNG (colour type 2). rsvg-convert writes RGBA,
# or RGB when every pixel is opaque; both are taken.
flatten() {
  python3 - "$@" <<'PY'
import struct, sys, zlib

src, dst, bg = sys.argv[1], sys.argv[2], sys.argv[3]
bgRgb = tuple(int(bg[i:i + 2], 16) for i in (0, 2, 4))

data = open(src, "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
pos, idat, width, height = 8, b"", 0, 0
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b"IHDR":
        width, height, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        assert depth == 8 and ctype in (2, 6) and interlace == 0, "expected 8-bit RGB(A)"
        bpp = 4 if ctype == 6 else 3
    elif kind == b"IDAT":
        idat += body
    pos += 12 + length

raw = zlib.decompress(idat)
stride = width * bpp
prev = bytearray(stride)
rows = []
for y in range(height):
    start = y * (stride + 1)
    ftype = raw[start]
    line = bytearray(raw[start + 1:start + 1 + stride])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        if ftype == 1:
            line[i] = (line[i] + a) & 255
        elif ftype == 2:
            line[i] = (line[i] + b) & 255
        elif ftype == 3:
            line[i] = (line[i] + ((a + b) >> 1)) & 255
        elif ftype == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            line[i] = (line[i] + pred) & 255
    rows.append(line)
    prev = line

out = bytearray()
for line in rows:
    out.append(0)
    for x in range(width):
        r, g, b = line[bpp * x:bpp * x + 3]
        a = line[bpp * x + 3] if bpp == 4 else 255
        # Cairo writes straight (unpremultiplied) alpha into the PNG.
        for ch, base in ((r, bgRgb[0]), (g, bgRgb[1]), (b, bgRgb[2])):
            out.append((ch * a + base * (255 - a) + 127) // 255)

def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

png = b"\x89PNG\r\n\x1a\n"
png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(bytes(out), 9))
png += chunk(b"IEND", b"")
open(dst, "wb").write(png)
PY
}

# Writes a PNG-in-ICO container holding the given square PNGs.
make_ico() {
  python3 - "$@" <<'PY'
import struct, sys

dst, pngs = sys.argv[1], sys.argv[2:]
images = [open(p, "rb").read() for p in pngs]
header = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
entries = b""
for img in images:
    size = struct.unpack(">I", img[16:20])[0]
    dim = 0 if size >= 256 else size  # 0 means 256 in an ICO directory
    entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(img), offset)
    offset += len(img)
open(dst, "wb").write(header + entries + b"".join(images))
PY
}

render() { # svg width height png
  rsvg-convert --width "$2" --height "$3" --format png --output "$4" "$1"
}

page_colour="4e7d94"

for n in 101 102 103; do
  render "$art/$n.svg" 652 348 "$tmp/$n.png"
  flatten "$tmp/$n.png" "$out/$n.png" 000000
done

for n in 104 105 106; do
  render "$art/$n.svg" 57 60 "$tmp/$n.png"
  flatten "$tmp/$n.png" "$out/$n.png" "$page_colour"
done

render "$art/icon-32.svg" 32 32 "$out/icon-32.png"
render "$art/icon-16.svg" 16 16 "$out/icon-16.png"
# The larger sizes of the .ico come from the 32 px drawing, which scales cleanly.
render "$art/icon-32.svg" 48 48 "$tmp/icon-48.png"
render "$art/icon-32.svg" 256 256 "$tmp/icon-256.png"
make_ico "$out/orvane.ico" "$out/icon-16.png" "$out/icon-32.png" "$tmp/icon-48.png" "$tmp/icon-256.png"

# The desktop's icon theme (hicolor) at its usual sizes, for the Linux package.
# 16 px has its own drawing; the larger sizes come from the 32 px one.
icons="$root/resources/icons"
mkdir -p "$icons"
render "$art/icon-16.svg" 16 16 "$icons/16.png"
for size in 22 24 32 48 64 128 256; do
  render "$art/icon-32.svg" "$size" "$size" "$icons/$size.png"
done

echo "Rendered into $out:"
ls -l "$out" "$icons"

#!/usr/bin/env python3
"""Writes a Windows icon of palette images, each given as raw RGBA pixels already reduced to at
most as many colours as its depth allows (scripts/render-icons.sh does that with ImageMagick).

    make-ico.py OUT.ico SIZE:BITS:FILE.rgba ...

Each image is stored as Windows' own icons were: a bottom-up palette bitmap of BITS (4 or 8)
bits a pixel and a one-bit transparency mask, which every version of Windows shows.
"""
import struct
import sys


def image_entry(size, bits, rgba):
    pixels = [rgba[i:i + 4] for i in range(0, len(rgba), 4)]
    if len(pixels) != size * size:
        sys.exit(f"make-ico.py: {size}x{size} needs {size * size} pixels, got {len(pixels)}")
    opaque = [p[3] >= 128 for p in pixels]
    palette = sorted({bytes(p[:3]) for p, o in zip(pixels, opaque) if o})
    if len(palette) > 1 << bits:
        sys.exit(f"make-ico.py: {len(palette)} colours do not fit in {bits} bits")
    palette += [b"\0\0\0"] * ((1 << bits) - len(palette))
    index = {colour: i for i, colour in enumerate(palette)}

    def rows(values_of_row, bits_each):
        out = b""
        for y in reversed(range(size)):  # bottom-up
            bits_row = "".join(format(v, f"0{bits_each}b") for v in values_of_row(y))
            bits_row += "0" * (-len(bits_row) % 32)  # rows padded to 32 bits
            out += int(bits_row, 2).to_bytes(len(bits_row) // 8, "big") if bits_row else b""
        return out

    colour_rows = rows(lambda y: [index[bytes(pixels[y * size + x][:3])] if opaque[y * size + x]
                                  else 0 for x in range(size)], bits)
    mask_rows = rows(lambda y: [0 if opaque[y * size + x] else 1 for x in range(size)], 1)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 1 << bits, 0)
    table = b"".join(rgb[2:3] + rgb[1:2] + rgb[0:1] + b"\0" for rgb in palette)  # BGRX
    return header + table + colour_rows + mask_rows


def main(out, images):
    entries = []
    for image in images:
        size, bits, path = image.split(":", 2)
        size, bits = int(size), int(bits)
        with open(path, "rb") as f:
            entries.append((size, bits, image_entry(size, bits, f.read())))
    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    for size, bits, data in entries:
        colours = 0 if bits >= 8 else 1 << bits
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits,
                                 len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(directory + b"".join(data for _, _, data in entries))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])

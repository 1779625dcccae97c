"""Encoders for the picture files the tools write: PNG (for looking at
renders), 24-bit BMP (the bitmap resources) and ICO (the icon groups).

Pixels are given as rows of (r, g, b) or (r, g, b, a) tuples, top row first.
"""
import struct
import zlib


def png_bytes(rows):
    """RGB rows give an RGB PNG, RGBA rows (an icon image's) an RGBA one."""
    height = len(rows)
    width = len(rows[0])
    channels = len(rows[0][0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    colour_type = 6 if channels == 4 else 2
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def bmp_rows_24(rows):
    """Pixel data of a 24-bit DIB: bottom row first, BGR, rows padded to 4 bytes."""
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        while len(line) % 4:
            line.append(0)
        data += line
    return bytes(data)


def bmp_bytes(rows):
    """An uncompressed 24-bit bottom-up BMP file with a BITMAPINFOHEADER."""
    height = len(rows)
    width = len(rows[0])
    pixels = bmp_rows_24(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def mask_rows(rows):
    """The 1-bit AND mask of an icon image: set where the pixel is transparent."""
    data = bytearray()
    width = len(rows[0])
    stride = ((width + 31) // 32) * 4
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def icon_image(rows, bits, palette=None):
    """One DIB icon image (header, palette, XOR pixels, AND mask).

    rows hold (r, g, b, a); bits is 4, 8 or 32. For 4 and 8 bits, palette is a
    list of (r, g, b) and every opaque pixel's colour must be in it.
    """
    height = len(rows)
    width = len(rows[0])
    if bits == 32:
        table = b""
        xor = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
    else:
        size = 1 << bits
        colours = list(palette) + [(0, 0, 0)] * (size - len(palette))
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
        index = {c: i for i, c in enumerate(palette)}
        stride = ((width * bits + 31) // 32) * 4
        xor = bytearray()
        for row in reversed(rows):
            line = bytearray(stride)
            for x, (r, g, b, a) in enumerate(row):
                i = index[(r, g, b)] if a >= 128 else 0
                if bits == 8:
                    line[x] = i
                else:
                    line[x // 2] |= i << (4 if x % 2 == 0 else 0)
            xor += line
    and_mask = mask_rows(rows)
    # The icon header's height counts the XOR and the AND bitmap together.
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0,
                       len(xor) + len(and_mask), 0, 0, 0, 0)
    return info + table + bytes(xor) + and_mask


def ico_bytes(images):
    """images: list of (width, height, bits, palette_size, dib_bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for width, height, bits, palette_size, dib in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, palette_size % 256, 0,
                           1, bits, len(dib), offset)
        offset += len(dib)
        body += dib
    return out + body

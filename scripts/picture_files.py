"""Picture files as the picture scripts write them: 24-bit BMP and 8-bit RGBA PNG.

A script beside a picture imports this module after putting this folder on its path:

    sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "scripts"))
    from picture_files import write_bmp

Rows run from the top; a pixel is (r, g, b) for a bitmap and (r, g, b, alpha) for a PNG, each
0 to 255.
"""
import struct
import zlib

_HEADERS = 14 + 40  # file header and BITMAPINFOHEADER
_PIXELS_PER_METRE = 2835  # 72 dots per inch


def bmp_bytes(rows):
    """A 24-bit Windows bitmap: bottom-up rows, each padded to four bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        image += line
    file_header = struct.pack("<2sIHHI", b"BM", _HEADERS + len(image), 0, 0, _HEADERS)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image),
                              _PIXELS_PER_METRE, _PIXELS_PER_METRE, 0, 0)
    return file_header + info_header + bytes(image)


def write_bmp(path, rows):
    with open(path, "wb") as f:
        f.write(bmp_bytes(rows))


def png_bytes(rows):
    """An 8-bit RGBA PNG, every row unfiltered, compressed at level 9."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def write_png(path, rows):
    with open(path, "wb") as f:
        f.write(png_bytes(rows))

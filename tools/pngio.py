"""Minimal PNG encoding and decoding for 8-bit RGBA images (standard library only).

Pixels travel as one flat bytes-like object of width * height * 4 values, row by
row, in straight (non-premultiplied) RGBA: this is what the game loads.
"""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
COLOUR_TYPE_RGBA = 6
BYTES_PER_PIXEL = 4


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))


def _paeth(left, up, up_left):
    estimate = left + up - up_left
    to_left = abs(estimate - left)
    to_up = abs(estimate - up)
    to_up_left = abs(estimate - up_left)
    if to_left <= to_up and to_left <= to_up_left:
        return left
    if to_up <= to_up_left:
        return up
    return up_left


def _predict(kind, left, up, up_left):
    if kind == 0:
        return 0
    if kind == 1:
        return left
    if kind == 2:
        return up
    if kind == 3:
        return (left + up) // 2
    if kind == 4:
        return _paeth(left, up, up_left)
    raise ValueError("unknown PNG filter %d" % kind)


def _neighbours(row, previous, i):
    """The left, up and up-left bytes of byte `i` (0 outside the image)."""
    if i < BYTES_PER_PIXEL:
        return 0, previous[i], 0
    return row[i - BYTES_PER_PIXEL], previous[i], previous[i - BYTES_PER_PIXEL]


def _filter_row(kind, row, previous):
    """Returns `row` encoded with PNG filter `kind` against the row above it."""
    return bytes((value - _predict(kind, *_neighbours(row, previous, i))) & 0xFF
                 for i, value in enumerate(row))


def _unfilter_row(kind, encoded, previous):
    row = bytearray(len(encoded))
    for i, value in enumerate(encoded):
        row[i] = (value + _predict(kind, *_neighbours(row, previous, i))) & 0xFF
    return row


def _cost(encoded):
    """The usual heuristic: small signed residuals compress best."""
    return sum(v if v < 128 else 256 - v for v in encoded)


def encode_png(width, height, rgba):
    """Returns the bytes of a PNG file holding `rgba` (straight alpha, 8 bits per channel)."""
    stride = width * BYTES_PER_PIXEL
    if len(rgba) != stride * height:
        raise ValueError("expected %d bytes of pixels, got %d" % (stride * height, len(rgba)))
    raw = bytearray()
    previous = bytes(stride)
    for y in range(height):
        row = rgba[y * stride:(y + 1) * stride]
        candidates = [(kind, _filter_row(kind, row, previous)) for kind in range(5)]
        kind, encoded = min(candidates, key=lambda c: _cost(c[1]))
        raw.append(kind)
        raw += encoded
        previous = row
    header = struct.pack(">IIBBBBB", width, height, 8, COLOUR_TYPE_RGBA, 0, 0, 0)
    return (SIGNATURE + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def write_png(path, width, height, rgba):
    with open(path, "wb") as file:
        file.write(encode_png(width, height, rgba))


def decode_png(data):
    """Returns (width, height, rgba) of a PNG written by `encode_png`.

    Only 8-bit RGBA without interlacing is understood; anything else raises ValueError.
    """
    if not data.startswith(SIGNATURE):
        raise ValueError("not a PNG file")
    pos = len(SIGNATURE)
    header = None
    compressed = bytearray()
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        payload = data[pos + 8:pos + 8 + length]
        if struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0] != zlib.crc32(kind + payload):
            raise ValueError("bad CRC in %r chunk" % kind)
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", payload)
        elif kind == b"IDAT":
            compressed += payload
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError("no IHDR chunk")
    width, height, depth, colour_type, _, _, interlace = header
    if (depth, colour_type, interlace) != (8, COLOUR_TYPE_RGBA, 0):
        raise ValueError("only 8-bit RGBA without interlacing is supported")
    raw = zlib.decompress(bytes(compressed))
    stride = width * BYTES_PER_PIXEL
    if len(raw) != (stride + 1) * height:
        raise ValueError("pixel data has the wrong length")
    rgba = bytearray()
    previous = bytes(stride)
    for y in range(height):
        start = y * (stride + 1)
        previous = _unfilter_row(raw[start], raw[start + 1:start + 1 + stride], previous)
        rgba += previous
    return width, height, bytes(rgba)


def read_png(path):
    with open(path, "rb") as file:
        return decode_png(file.read())

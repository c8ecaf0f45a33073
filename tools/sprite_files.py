"""What the sprite generators share: a picture (rows of (r, g, b) tuples,
top row first) as a packed 24-bit DIB, as a PNG preview, and DIBs as C++
byte arrays for the portable tools."""
import os
import struct
import zlib


def packed_dib(rows):
    """A BITMAPINFOHEADER and bottom-up 24-bit rows padded to four bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, stride * height, 0, 0, 0, 0)
    body = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    return header + bytes(body)


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b''.join(b'\0' + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n')
        f.write(chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b'IDAT', zlib.compress(raw, 9)))
        f.write(chunk(b'IEND', b''))


def write_cpp_arrays(path, comment, arrays, suffix):
    """Each (name, bytes) as `static const unsigned char k<name><suffix>[]`."""
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, 'w') as f:
        f.write('// %s\n' % comment)
        for name, data in arrays:
            f.write('static const unsigned char k%s%s[%d] = {\n' % (name, suffix, len(data)))
            for i in range(0, len(data), 24):
                f.write('  ' + ','.join(str(b) for b in data[i:i + 24]) + ',\n')
            f.write('};\n')

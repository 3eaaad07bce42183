#!/usr/bin/env python3
"""Makes the parts of the package that wixl writes smaller.

    compact.py cabinet IN.cab OUT.cab   the files' cabinet, compressed again
    compact.py icon IN.ico OUT.ico      the icon Apps & features shows, with fewer images

wixl compresses each 32 KiB block of a cabinet's MSZIP on its own. MSZIP lets every block use
the ones before it as history, which saves about a sixteenth. The files, their names, order,
dates and attributes stay exactly as they were; only the data blocks change. The package stores
its icon uncompressed: Apps & features needs only the small images and the large one it scales.
"""
import struct
import sys
import zlib

BLOCK = 32768
HISTORY = 32768
MSZIP = 1


def checksum(data, seed=0):
    """The cabinet checksum: the data's 32-bit little-endian words XORed, the tail bytes last."""
    value = seed
    whole = len(data) & ~3
    for (word,) in struct.iter_unpack('<I', data[:whole]):
        value ^= word
    tail = 0
    for byte in data[whole:]:
        tail = (tail << 8) | byte
    return value ^ tail


def read_cabinet(data):
    """The header's fixed part, the raw file entries and the folder's uncompressed bytes."""
    (signature, _, _, _, files_offset, _, minor, major, folders, files, flags, set_id,
     index) = struct.unpack_from('<4sIIIIIBBHHHHH', data, 0)
    if signature != b'MSCF' or folders != 1 or flags != 0:
        raise SystemExit('compact.py: expected one cabinet with one folder and no reserved areas')
    blocks_offset, block_count, compression = struct.unpack_from('<IHH', data, 36)
    if compression & 0xF != MSZIP:
        raise SystemExit(f'compact.py: the folder is not MSZIP-compressed (type {compression})')
    entries = data[files_offset:blocks_offset]
    content = bytearray()
    position = blocks_offset
    for _ in range(block_count):
        _, packed, unpacked = struct.unpack_from('<IHH', data, position)
        block = data[position + 8:position + 8 + packed]
        if block[:2] != b'CK':
            raise SystemExit('compact.py: an MSZIP block lacks its signature')
        inflater = zlib.decompressobj(-15, zdict=bytes(content[-HISTORY:]))
        plain = inflater.decompress(block[2:]) + inflater.flush()
        if len(plain) != unpacked:
            raise SystemExit('compact.py: a block does not inflate to its size')
        content += plain
        position += 8 + packed
    return (minor, major, files, set_id, index), entries, bytes(content)


def write_cabinet(header, entries, content):
    minor, major, files, set_id, index = header
    blocks = bytearray()
    count = 0
    for start in range(0, len(content), BLOCK):
        plain = content[start:start + BLOCK]
        deflater = zlib.compressobj(9, zlib.DEFLATED, -15, 9, zdict=content[max(0, start - HISTORY):start])
        packed = b'CK' + deflater.compress(plain) + deflater.flush()
        sizes = struct.pack('<HH', len(packed), len(plain))
        blocks += struct.pack('<I', checksum(sizes, checksum(packed))) + sizes + packed
        count += 1
    files_offset = 36 + 8
    blocks_offset = files_offset + len(entries)
    total = blocks_offset + len(blocks)
    head = struct.pack('<4sIIIIIBBHHHHH', b'MSCF', 0, total, 0, files_offset, 0, minor, major, 1, files, 0, set_id,
                       index)
    return head + struct.pack('<IHH', blocks_offset, count, MSZIP) + entries + bytes(blocks)


def compact_cabinet(data):
    header, entries, content = read_cabinet(data)
    smaller = write_cabinet(header, entries, content)
    if read_cabinet(smaller)[2] != content:
        raise SystemExit('compact.py: the new cabinet does not give back the same files')
    return smaller


ICON_SIZES = (16, 32, 256)


def compact_icon(data):
    """The icon with only the images of ICON_SIZES (an entry's width 0 means 256)."""
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    kept = []
    for index in range(count):
        entry = struct.unpack_from('<BBBBHHII', data, 6 + 16 * index)
        if (entry[0] or 256) in ICON_SIZES:
            kept.append((entry, data[entry[7]:entry[7] + entry[6]]))
    if not kept:
        raise SystemExit('compact.py: the icon has none of the sizes the package keeps')
    directory = struct.pack('<HHH', reserved, kind, len(kept))
    images = b''
    offset = 6 + 16 * len(kept)
    for entry, image in kept:
        directory += struct.pack('<BBBBHHII', *entry[:6], len(image), offset + len(images))
        images += image
    return directory + images


def main():
    kind, source, target = sys.argv[1:4]
    with open(source, 'rb') as stream:
        data = stream.read()
    result = {'cabinet': compact_cabinet, 'icon': compact_icon}[kind](data)
    with open(target, 'wb') as stream:
        stream.write(result)


if __name__ == '__main__':
    main()

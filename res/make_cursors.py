#!/usr/bin/env python3
"""Writes the editor's two tool cursors (32 x 32, monochrome .cur) from the
pictures below: '#' black, 'o' white, anything else transparent. Run it from
res/ after changing a picture; the .cur files are kept in the repository."""
import struct

CUT = """
   oooooooo
   o######o
    o####o
     o##o
      oo
      o#o
      o#o
      o#o
      o#o
      o#o
      o#o
      o#o
      o#o    oo   oo
      o#o   o#o   o#o
      o#o   o#o   o#o
      o#o    o#o o#o
      o#o     o#o#o
      o#o      o#o
      o#o     o#o#o
      o#o    o#o o#o
      o#o   o##o o##o
      o#o   o##o o##o
      o#o    oo   oo
      ooo
"""

ERASE = """
       oooooo
      o######o
     o########o
    o##########o
   o####oooooo#o
  o####o     o#o
 o####o     o#o
o####o     o#o
o###o     o#o
o##o     o#o
o#o     o#o
o#oooooo#o
 o######o
  oooooo
"""


def rows_of(picture):
    lines = picture.strip("\n").split("\n")
    return [line.ljust(32)[:32] for line in lines] + [" " * 32] * (32 - len(lines))


def cursor_bytes(picture, hotspot):
    rows = rows_of(picture)
    xor_rows, and_rows = [], []
    for row in reversed(rows):  # bottom-up
        xor_bits = and_bits = 0
        for x, ch in enumerate(row):
            bit = 1 << (31 - x)
            if ch == "o":
                xor_bits |= bit
            elif ch != "#":
                and_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


with open("cut.cur", "wb") as f:
    f.write(cursor_bytes(CUT, (7, 5)))
with open("erase.cur", "wb") as f:
    f.write(cursor_bytes(ERASE, (1, 10)))

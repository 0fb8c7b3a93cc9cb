#!/usr/bin/env python3
"""Writes hulls.mdb, the database file the grid's database reader is tested with.

No program that writes Access files is to be had on Debian (MDB Tools only reads them),
so this writes the smallest Jet 4 file that a reader accepts, page by page, after the
file format notes that come with MDB Tools (libmdb3's HACKING.md):

  page 0  the database definition page (its encrypted part written through RC4)
  page 1  a data page holding the usage maps of both tables
  page 2  the table definition of MSysObjects, the catalog
  page 3  the catalog's one row: the table "Hulls"
  page 4  the table definition of "Hulls"
  page 5  the rows of "Hulls"

Run: python3 make_mdb.py hulls.mdb
"""
import struct
import sys

PAGE = 4096

# column types
BOOL, BYTE, INT, LONG, DOUBLE, TEXT, OLE = 0x01, 0x02, 0x03, 0x04, 0x07, 0x0A, 0x0B
VARIABLE = (TEXT, OLE)
FIXED_SIZE = {BYTE: 1, INT: 2, LONG: 4, DOUBLE: 8}


def rc4(key, data):
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) & 0xFF
        s[i], s[j] = s[j], s[i]
    out = bytearray()
    i = j = 0
    for b in data:
        i = (i + 1) & 0xFF
        j = (j + s[i]) & 0xFF
        s[i], s[j] = s[j], s[i]
        out.append(b ^ s[(s[i] + s[j]) & 0xFF])
    return bytes(out)


def header_page():
    p = bytearray(PAGE)
    p[0:4] = b"\x00\x01\x00\x00"
    p[4:20] = b"Standard Jet DB\x00"
    struct.pack_into("<I", p, 0x14, 1)  # Jet 4
    plain = bytearray(128)
    # offsets below are of the page; the encrypted part starts at 0x18
    struct.pack_into("<H", plain, 0x3C - 0x18, 1252)  # code page
    struct.pack_into("<I", plain, 0x3E - 0x18, 0)  # database key: not encrypted
    struct.pack_into("<I", plain, 0x6E - 0x18, 0x409)  # sort order: general
    p[0x18:0x18 + 128] = rc4(bytes([0xC7, 0xDA, 0x39, 0x6B]), bytes(plain))
    return p


def data_page(tdef_page, rows):
    """Rows are stored from the page's end backwards; their offsets follow the header."""
    p = bytearray(PAGE)
    p[0] = 0x01
    p[1] = 0x01
    struct.pack_into("<I", p, 4, tdef_page)
    struct.pack_into("<H", p, 12, len(rows))
    end = PAGE
    for i, row in enumerate(rows):
        start = end - len(row)
        p[start:end] = row
        struct.pack_into("<H", p, 14 + 2 * i, start)
        end = start
    free = end - (14 + 2 * len(rows))
    struct.pack_into("<H", p, 2, free)
    return p


def usage_map(pages):
    """A map of type 0 from page 0 on, one bit per page."""
    bits = bytearray(59)
    for pg in pages:
        bits[pg // 8] |= 1 << (pg % 8)
    return b"\x00" + struct.pack("<I", 0) + bytes(bits)


def ucs2(s):
    return s.encode("utf-16-le")


class Table:
    def __init__(self, name, columns, system):
        """columns: (name, type, text length)"""
        self.name = name
        self.columns = columns
        self.system = system

    def fixed(self):
        return [c for c in self.columns if c[1] not in VARIABLE]

    def var(self):
        return [c for c in self.columns if c[1] in VARIABLE]

    def tdef_page(self, num_rows, used_map, free_map):
        cols = self.columns
        block = bytearray()
        block += struct.pack("<I", 0)  # length, filled in below
        block += struct.pack("<I", 0)
        block += struct.pack("<I", num_rows)
        block += struct.pack("<I", 0)  # next autonumber
        block += bytes([1, 0, 0, 0])
        block += struct.pack("<I", 0)
        block += bytes(8)
        block += bytes([0x53 if self.system else 0x4E])
        block += struct.pack("<HHH", len(cols), len(self.var()), len(cols))
        block += struct.pack("<II", 0, 0)  # no indexes
        block += struct.pack("<II", used_map, free_map)
        offset_f = 0
        var_index = 0
        for num, (name, ctype, length) in enumerate(cols):
            fixed = ctype not in VARIABLE
            size = FIXED_SIZE.get(ctype, 0) if fixed else length * 2
            e = bytearray(25)
            e[0] = ctype
            struct.pack_into("<H", e, 5, num)
            struct.pack_into("<H", e, 7, 0 if fixed else var_index)
            struct.pack_into("<H", e, 9, num)
            if ctype == TEXT:
                struct.pack_into("<H", e, 11, 0x409)
            e[15] = 0x03 if fixed else 0x02
            struct.pack_into("<H", e, 21, offset_f if fixed else 0)
            struct.pack_into("<H", e, 23, size)
            if fixed:
                offset_f += size
            else:
                var_index += 1
            block += e
        for name, _, _ in cols:
            block += struct.pack("<H", len(ucs2(name))) + ucs2(name)
        block += b"\xff\xff"  # no variable-column usage maps
        struct.pack_into("<I", block, 0, len(block))
        p = bytearray(PAGE)
        p[0] = 0x02
        p[1] = 0x01
        p[8:8 + len(block)] = block
        struct.pack_into("<H", p, 2, PAGE - 8 - len(block) - 8)
        return p

    def row(self, values):
        """values by column; None is null."""
        cols = self.columns
        n = len(cols)
        mask = bytearray((n + 7) // 8)
        out = bytearray(struct.pack("<H", n))
        for num, (name, ctype, _) in enumerate(cols):
            if ctype in VARIABLE:
                continue
            v = values[num]
            fmt = {BYTE: "<B", INT: "<h", LONG: "<i", DOUBLE: "<d"}[ctype]
            out += struct.pack(fmt, 0 if v is None else v)
            if v is not None:
                mask[num // 8] |= 1 << (num % 8)
        offsets = []
        for num, (name, ctype, _) in enumerate(cols):
            if ctype not in VARIABLE:
                continue
            offsets.append(len(out))
            v = values[num]
            if v is not None:
                out += ucs2(v)
                mask[num // 8] |= 1 << (num % 8)
        eod = len(out)
        for off in [eod] + offsets[::-1]:
            out += struct.pack("<H", off)
        out += struct.pack("<H", len(offsets))
        out += mask
        return bytes(out)


def main(path):
    catalog = Table("MSysObjects", [("Id", LONG, 0), ("ParentId", LONG, 0), ("Type", INT, 0),
                                    ("Flags", LONG, 0), ("Name", TEXT, 128), ("LvProp", OLE, 0)], True)
    hulls = Table("Hulls", [("Name", TEXT, 50), ("Stations", LONG, 0), ("Length", DOUBLE, 0),
                            ("Builder", TEXT, 50)], False)
    rows = [
        ["Box barge", 11, 60.0, "Yard A"],
        ["Wigley", 21, 100.5, None],
        ["Tug", 7, 24.25, "\u00c5land Yard"],
    ]
    pages = [
        header_page(),
        data_page(0, [usage_map([3]), usage_map([]), usage_map([5]), usage_map([])]),
        catalog.tdef_page(1, (1 << 8) | 0, (1 << 8) | 1),
        data_page(2, [catalog.row([4, 0x0F000001, 1, 0, "Hulls", None])]),
        hulls.tdef_page(len(rows), (1 << 8) | 2, (1 << 8) | 3),
        data_page(4, [hulls.row(r) for r in rows]),
    ]
    with open(path, "wb") as f:
        for p in pages:
            assert len(p) == PAGE
            f.write(p)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "hulls.mdb")

#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/.

The seeds are small drawings cut down from the shape of
examples/sample.dxf: a header with its version, a layer table, two lots and
their lot numbers (TEXT and MTEXT), in CP932 with CR LF line ends."""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def lines(*items, end=b"\r\n"):
    return b"".join(item.encode("cp932") + end for item in items)


def layer(name, handle):
    return ["  0", "LAYER", "  5", handle, "100", "AcDbSymbolTableRecord",
            "100", "AcDbLayerTableRecord", "  2", name, " 70", "0", " 62", "7"]


def lot(x, y, flag="1", layer_name="筆界"):
    return ["  0", "LWPOLYLINE", "  5", "35", "100", "AcDbEntity", "  8", layer_name,
            "100", "AcDbPolyline", " 90", "4", " 70", flag, " 43", "0.0",
            " 10", f"{x}", " 20", f"{y}", " 10", f"{x + 18.25}", " 20", f"{y}",
            " 10", f"{x + 18.25}", " 20", f"{y + 24}", " 10", f"{x}", " 20", f"{y + 24}"]


def text(x, y, string):
    return ["  0", "TEXT", "  5", "36", "100", "AcDbEntity", "  8", "地番",
            "100", "AcDbText", " 10", f"{x}", " 20", f"{y}", " 40", "2.5",
            "  1", string, "100", "AcDbText"]


def mtext(x, y, string):
    return ["  0", "MTEXT", "  5", "3A", "100", "AcDbEntity", "  8", "地番",
            "100", "AcDbMText", " 10", f"{x}", " 20", f"{y}", " 71", "1", "  1", string]


def drawing(version="AC1015", entities=None, blocks=()):
    header = ["  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", version,
              "  0", "ENDSEC"]
    tables = ["  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER",
              *layer("0", "10"), *layer("筆界", "11"), *layer("地番", "12"),
              "  0", "ENDTAB", "  0", "ENDSEC"]
    if entities is None:
        entities = [*lot(-28410.25, 15730.5), *text(-28404.125, 15741.5, "123-4"),
                    *lot(-28392.0, 15730.5), *mtext(-28385.0, 15743.5, r"{\H2.5;124}\P{\C1;5}")]
    if blocks:
        blocks = ["  0", "SECTION", "  2", "BLOCKS", *blocks, "  0", "ENDSEC"]
    body = [*blocks, "  0", "SECTION", "  2", "ENTITIES", *entities, "  0", "ENDSEC", "  0", "EOF"]
    return lines(*header, *tables, *body)


def r12_line(x1, y1, x2, y2):
    return ["  0", "LINE", "  8", "筆界", " 10", f"{x1}", " 20", f"{y1}", " 11", f"{x2}",
            " 21", f"{y2}"]


# Two lots drawn as R12 lines, a shared side, an arc corner, a bulged open
# polyline, an overshoot and a text without subclass lines.
LINE_WORK = [*r12_line(2, 0, 20, 0), *r12_line(20, 0, 20, 10), *r12_line(20, 10, 0, 10),
             *r12_line(0, 10, 0, 2), *r12_line(10, -1, 10, 10),
             "  0", "ARC", "  8", "筆界", " 10", "2", " 20", "2", " 40", "2", " 50", "180",
             " 51", "270",
             "  0", "POLYLINE", "  8", "筆界", " 66", "1", " 70", "0",
             "  0", "VERTEX", "  8", "筆界", " 10", "20", " 20", "10", " 42", "0.5",
             "  0", "VERTEX", "  8", "筆界", " 10", "20", " 20", "0",
             "  0", "SEQEND", "  8", "筆界",
             "  0", "TEXT", "  8", "地番", " 10", "5", " 20", "5", "  1", "12-3"]

def insert(block, x, y, *more, layer_name="筆界"):
    return ["  0", "INSERT", "  8", layer_name, "  2", block, " 10", f"{x}", " 20", f"{y}", *more]


# A block of one lot on layer "0" and one of two such blocks; inserted turned
# and scaled with an ATTRIB, as a MINSERT, and nested.
BLOCKS = ["  0", "BLOCK", "  8", "0", "  2", "LOT", " 10", "1", " 20", "1",
          *lot(0, 0, "1", "0"), "  0", "ENDBLK",
          "  0", "BLOCK", "  8", "0", "  2", "PAIR", " 10", "0", " 20", "0",
          *insert("LOT", 0, 0, layer_name="0"), *insert("LOT", 20, 0, " 50", "30", layer_name="0"),
          "  0", "ENDBLK"]
BLOCK_ENTITIES = [*insert("LOT", 100, 0, " 41", "2", " 42", "-1", " 50", "90", " 66", "1"),
                  "  0", "ATTRIB", "  8", "地番", " 10", "105", " 20", "5", " 40", "1",
                  "  1", "7-1", "  2", "NO", " 72", "1", " 74", "2", " 11", "105", " 21", "5",
                  "  0", "SEQEND",
                  *insert("LOT", 200, 0, " 70", "3", " 71", "2", " 44", "20", " 45", "25"),
                  *insert("PAIR", 300, 0)]

SEEDS = {
    "line_reader": {
        "mixed_ends": b"a\r\nb\rc\nd\r\r\n\n" + "地番 123".encode("cp932") + b"\r\n",
        "utf8_and_bad": "筆界\r\n".encode("utf-8") + b"\x82\xa0\x81\r\n\xff\x80\x00x\r",
        "sample_head": drawing()[:400],
    },
    "number_text": {
        "decimal": b" 12.5", "blanks": b"1 2", "dash": b"12-3", "exponent": b"-1.5e3",
        "huge": b"1e400", "half": b"2.5",
    },
    "layer_scan": {"drawing": drawing(), "r2007": drawing("AC1021"), "r12": drawing("AC1009")},
    "region_builder": {
        "drawing": drawing(),
        "open_and_129": drawing(entities=[*lot(0, 0, "0"), *lot(5, 5, "129"), *lot(9, 9, "1", "0")]),
    },
    "chiban_text_reader": {"drawing": drawing()},
    "lots_from_lines": {"polylines": drawing(), "r12_lines": drawing("AC1009", LINE_WORK)},
    "block_expansion": {"blocks": drawing(entities=BLOCK_ENTITIES, blocks=BLOCKS),
                        "r12_blocks": drawing("AC1009", BLOCK_ENTITIES, BLOCKS)},
    "conversion_run": {"drawing": drawing()},
}

for target, seeds in SEEDS.items():
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)

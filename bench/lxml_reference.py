#!/usr/bin/python3
"""A plain 地図XML converter written the usual way with lxml, for timing only.

lxml_reference.py MAP.xml OUT_STEM

Reads the whole tree, resolves the points, curves and surfaces by their ids,
and writes OUT_STEM.Sim (the points in order of first use, then every lot as
its point numbers), OUT_STEM.MIF (a region per lot, its rings) and
OUT_STEM.MID (its 地番): the work parquill-cli mapxml does for a file, so that
bench/run.sh can time the two side by side. Not a reference for bytes.
"""
import sys

from lxml import etree

ZMN = "{http://www.moj.go.jp/MINJI/tizuzumen}"
MAP = "{http://www.moj.go.jp/MINJI/tizuxml}"


def position(column, points):
    ref = column.find(f"{ZMN}GM_Position.indirect/{ZMN}GM_PointRef.point")
    if ref is not None:
        return ref.get("idref"), points[ref.get("idref")]
    direct = column.find(f"{ZMN}GM_Position.direct")
    return None, (float(direct.findtext(f"{ZMN}X")), float(direct.findtext(f"{ZMN}Y")))


def main(source, stem):
    root = etree.parse(source).getroot()
    points = {}
    for point in root.iter(f"{ZMN}GM_Point"):
        at = point.find(f"{ZMN}GM_Point.position/{ZMN}DirectPosition")
        points[point.get("id")] = (float(at.findtext(f"{ZMN}X")), float(at.findtext(f"{ZMN}Y")))
    curves = {}
    for curve in root.iter(f"{ZMN}GM_Curve"):
        columns = curve.iter(f"{ZMN}GM_PointArray.column")
        curves[curve.get("id")] = [position(column, points) for column in columns]
    for curve in root.iter(f"{ZMN}GM_OrientableCurve"):
        base = curves[curve.find(f"{ZMN}GM_OrientablePrimitive.primitive").get("idref")]
        backwards = curve.findtext(f"{ZMN}GM_OrientablePrimitive.orientation") == "-"
        curves[curve.get("id")] = base[::-1] if backwards else base
    surfaces = {}
    for surface in root.iter(f"{ZMN}GM_Surface"):
        rings = []
        for ring in surface.iter(f"{ZMN}GM_Ring"):
            joined = []
            for generator in ring.iter(f"{ZMN}GM_CompositeCurve.generator"):
                part = curves[generator.get("idref")]
                joined.extend(part[1:] if joined and joined[-1] == part[0] else part)
            rings.append(joined)
        surfaces[surface.get("id")] = rings
    names = {}
    for boundary in root.iter(f"{MAP}筆界点"):
        names[boundary.find(f"{MAP}形状").get("idref")] = boundary.findtext(f"{MAP}点番名")
    lots = []
    for lot in root.iter(f"{MAP}筆"):
        shape = lot.find(f"{MAP}形状")
        if shape is not None and shape.get("idref") in surfaces:
            lots.append((lot.findtext(f"{MAP}地番") or "", surfaces[shape.get("idref")]))

    numbers = {}
    for _, rings in lots:
        for ring in rings:
            for key, at in ring:
                numbers.setdefault(key or at, (len(numbers) + 1, at, names.get(key)))
    with open(stem + ".Sim", "w", encoding="cp932", errors="replace", newline="\r\n") as sima:
        sima.write("G00,01,lxml\nA00,\n")
        for number, at, name in numbers.values():
            sima.write(f"A01,{number:5d},{name or f'K{number}'},{at[0]:.3f},{at[1]:.3f},,\n")
        sima.write("A99,\n")
        for index, (chiban, rings) in enumerate(lots, 1):
            sima.write(f"D00,{index:5d},{chiban},1,\n")
            for key, at in rings[0][:-1]:
                number, _, name = numbers[key or at]
                sima.write(f"B01,{number:5d},{name or f'K{number}'},\n")
            sima.write("D99,\n")
    with open(stem + ".MIF", "w", encoding="cp932", errors="replace", newline="\r\n") as mif, \
            open(stem + ".MID", "w", encoding="cp932", errors="replace", newline="\r\n") as mid:
        mif.write('Version 300\nCharset "WindowsJapanese"\nDelimiter ","\n'
                  "Columns 1\n  Chiban Char(32)\nData\n\n")
        for chiban, rings in lots:
            mif.write(f"Region {len(rings)}\n")
            for ring in rings:
                mif.write(f"  {len(ring)}\n")
                mif.writelines(f"{at[1]:.5f} {at[0]:.5f}\n" for _, at in ring)
            mid.write(f'"{chiban}"\n')


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

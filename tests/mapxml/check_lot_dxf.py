#!/usr/bin/python3
"""Checks a DXF drawing that parquill-cli mapxml wrote against the 地図XML it
was made from, with nothing of Parquill's: the bytes (CR LF, strict CP932),
ezdxf's audit, GDAL's ogrinfo, and the XML read here with ElementTree and
shapely.

  check_lot_dxf.py XML_OR_ZIP DRAWING --unit m|mm --municipality NAME
                   [--chiban N]... [--oaza NAME] [--neighbours] [--include-outside]

The lots expected: every lot (地区外… and 別図… only with --include-outside),
or those numbered N (in 大字 NAME) and, with --neighbours, every lot sharing
a vertex with one of them. Prints each fault and exits 1 when there is one.
"""
import argparse
import collections
import subprocess
import sys
import xml.etree.ElementTree as ET
import zipfile

import ezdxf
from shapely.geometry import LineString, Point, Polygon
from shapely.ops import polygonize, unary_union

T = "{http://www.moj.go.jp/MINJI/tizuxml}"
Z = "{http://www.moj.go.jp/MINJI/tizuzumen}"
faults = []


def fault(text):
    faults.append(text)
    print(text)


def read_xml(path):
    if path.endswith(".zip"):
        with zipfile.ZipFile(path) as archive:
            return ET.fromstring(archive.read(archive.namelist()[0]))
    return ET.parse(path).getroot()


def xml_lots(root):
    """Each lot: its 地番, 大字名, vertices (east, north) and polygon."""
    points = {}
    for p in root.iter(Z + "GM_Point"):
        position = p.find(f"{Z}GM_Point.position/{Z}DirectPosition")
        points[p.get("id")] = (float(position.find(Z + "Y").text), float(position.find(Z + "X").text))
    curves = {}
    for c in root.iter(Z + "GM_Curve"):
        line = []
        for column in c.iter(Z + "GM_PointArray.column"):
            direct = column.find(Z + "GM_Position.direct")
            if direct is not None:
                line.append((float(direct.find(Z + "Y").text), float(direct.find(Z + "X").text)))
            else:
                line.append(points[column.find(f"{Z}GM_Position.indirect/{Z}GM_PointRef.point").get("idref")])
        curves[c.get("id")] = line
    surfaces = {s.get("id"): s for s in root.iter(Z + "GM_Surface")}
    lots = []
    for lot in root.iter(T + "筆"):
        surface = surfaces[lot.find(T + "形状").get("idref")]
        parts = {}
        for kind in ("exterior", "interior"):
            lines = [curves[g.get("idref")] for boundary in surface.iter(f"{Z}GM_SurfaceBoundary.{kind}")
                     for g in boundary.iter(Z + "GM_CompositeCurve.generator")]
            parts[kind] = lines
        outer = unary_union(list(polygonize([LineString(l) for l in parts["exterior"]])))
        inner = unary_union(list(polygonize([LineString(l) for l in parts["interior"]])))
        lots.append({
            "chiban": lot.findtext(T + "地番") or "",
            "oaza": lot.findtext(T + "大字名") or "",
            "vertices": {v for l in parts["exterior"] + parts["interior"] for v in l},
            "outer": {v for l in parts["exterior"] for v in l},
            "exterior": outer,
            "polygon": outer.difference(inner) if not inner.is_empty else outer,
            "holes": list(polygonize([LineString(l) for l in parts["interior"]])),
        })
    return lots


def expected_lots(lots, args):
    if not args.include_outside:
        lots = [l for l in lots if not l["chiban"].startswith(("地区外", "別図"))]
    if not args.chiban:
        return lots
    chosen = [l for l in lots if l["chiban"] in args.chiban and (not args.oaza or l["oaza"] == args.oaza)]
    if args.neighbours:
        shared = set().union(*(l["vertices"] for l in chosen))
        chosen = [l for l in lots if l["vertices"] & shared]
    return chosen


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("xml")
    parser.add_argument("dxf")
    parser.add_argument("--unit", choices=("m", "mm"), default="m")
    parser.add_argument("--municipality", required=True)
    parser.add_argument("--chiban", action="append", default=[])
    parser.add_argument("--oaza", default="")
    parser.add_argument("--neighbours", action="store_true")
    parser.add_argument("--include-outside", action="store_true")
    args = parser.parse_args()
    scale = 1000.0 if args.unit == "mm" else 1.0

    raw = open(args.dxf, "rb").read()
    if raw.count(b"\n") != raw.count(b"\r\n") or not raw.endswith(b"EOF\r\n"):
        fault("not every line ends in CR LF, or the drawing does not end with EOF")
    text = raw.decode("cp932")  # strict: raises on a byte that is no CP932
    lines = text.split("\r\n")
    attribution = f"出典：「登記所備付地図データ {args.municipality}」（法務省）を加工して作成"
    if lines[0] != "999" or attribution not in lines[:6]:
        fault(f"no 999 comment with {attribution}: {lines[:4]}")

    doc = ezdxf.readfile(args.dxf)
    auditor = doc.audit()
    for problem in auditor.errors + auditor.fixes:
        fault(f"ezdxf audit: {problem.message}")
    header = doc.header
    if header["$ACADVER"] != "AC1015" or header["$DWGCODEPAGE"] != "ANSI_932":
        fault(f"version {header['$ACADVER']}, code page {header['$DWGCODEPAGE']}")
    if header["$INSUNITS"] != (4 if args.unit == "mm" else 6):
        fault(f"$INSUNITS {header['$INSUNITS']} for {args.unit}")

    gdal = subprocess.run(["ogrinfo", "-ro", "-al", "-q", args.dxf], capture_output=True, text=True)
    if gdal.returncode != 0 or "ERROR" in gdal.stdout + gdal.stderr:
        fault(f"ogrinfo: {gdal.returncode} {gdal.stderr.strip()}")

    lots = expected_lots(xml_lots(read_xml(args.xml)), args)
    msp = doc.modelspace()

    def on(layer, kind):
        return [e for e in msp if e.dxf.layer == layer and e.dxftype() == kind]

    def area_key(vertices):
        return round(Polygon([(x / scale, y / scale) for x, y in vertices]).area, 2)

    inside = [l for l in lots if not l["chiban"].startswith(("地区外", "別図"))]
    outside = [l for l in lots if l not in inside]
    rings = {"筆界": [], "筆界_穴": [], "地区外・別図": []}
    for layer in rings:
        for e in on(layer, "LWPOLYLINE"):
            if not e.closed:
                fault(f"an open polyline on {layer}")
            rings[layer].append(area_key(e.get_points("xy")))
    for layer, want in (("筆界", [round(l["exterior"].area, 2) for l in inside]),
                        ("筆界_穴", [round(h.area, 2) for l in inside for h in l["holes"]])):
        if collections.Counter(rings[layer]) != collections.Counter(want):
            fault(f"{layer}: the rings' areas {sorted(rings[layer])} are not the lots' {sorted(want)}")
    if len(rings["地区外・別図"]) != sum(1 + len(l["holes"]) for l in outside):
        fault(f"地区外・別図: {len(rings['地区外・別図'])} rings for {len(outside)} lots")

    # Each lot number inside its own lot, out of its holes; and each lot's
    # first number in drawing order within its exterior ring its own.
    texts = [(e.dxf.text, Point(e.dxf.align_point[0] / scale, e.dxf.align_point[1] / scale))
             for e in msp if e.dxftype() == "TEXT" and e.dxf.layer in ("地番", "地区外・別図")]
    for layer, group in (("地番", inside), ("地区外・別図", outside)):
        got = [e.dxf.text for e in on(layer, "TEXT")]
        if collections.Counter(got) != collections.Counter(l["chiban"] for l in group):
            fault(f"{layer}: the texts {sorted(got)} are not the lots' numbers")
    for chiban, at in texts:
        if not any(l["chiban"] == chiban and l["polygon"].contains(at) for l in lots):
            fault(f"the number {chiban} at {at} is not inside its lot")
    for lot in inside:
        first = next((chiban for chiban, at in texts if lot["exterior"].contains(at)), None)
        if first != lot["chiban"]:
            fault(f"the first number inside lot {lot['chiban']} is {first}")

    # Every vertex of an exterior ring a point, with a name beside it.
    points = {(round(e.dxf.location[0] / scale, 3), round(e.dxf.location[1] / scale, 3))
              for e in on("筆界点", "POINT")}
    want = {(round(x, 3), round(y, 3)) for l in lots for x, y in l["outer"]}
    if points != want or len(on("点名", "TEXT")) != len(on("筆界点", "POINT")):
        fault(f"筆界点: {len(points)} points for {len(want)} vertices")
    print(f"{len(lots)} lots, {len(texts)} numbers, {len(points)} points checked")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

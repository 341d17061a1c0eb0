#!/usr/bin/python3
"""Writes examples/sample.dxf, the bundled sample drawing, with ezdxf.

A DXF R2000 drawing (AC1015, code page ANSI_932) of twelve lots in a block
of 4 x 3 lots sharing their edges, as closed LWPOLYLINEs on the boundary
layer 筆界, with their lot numbers as TEXT and MTEXT on the layer 地番, plus
roads, contour lines, notes and a north arrow on other layers. Shift-JIS
text, CR LF line ends. Run it once after changing it:

    /usr/bin/python3 tools/make_example.py
"""
import pathlib

import ezdxf

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "examples" / "sample.dxf"

# Plane rectangular coordinates (metres), the block's south-west corner.
X0, Y0 = -28410.250, 15730.500
WIDTHS = [18.250, 21.500, 16.750, 19.000]
HEIGHTS = [24.000, 22.500, 26.125]

LOT_NUMBERS = [
    "123-4", "123-5", "124", "125-1",
    "一丁目5-6", "一丁目5-7", "126", "127-2",
    "128", "129-3", "130", "131",
]


def main() -> None:
    doc = ezdxf.new("R2000")
    doc.header["$DWGCODEPAGE"] = "ANSI_932"
    for name, color in [("筆界", 1), ("地番", 3), ("道路", 8), ("等高線", 30),
                        ("注記", 7), ("図枠", 5)]:
        doc.layers.add(name, color=color)
    msp = doc.modelspace()

    xs = [X0]
    for w in WIDTHS:
        xs.append(xs[-1] + w)
    ys = [Y0]
    for h in HEIGHTS:
        ys.append(ys[-1] + h)

    k = 0
    for row in range(len(HEIGHTS)):
        for col in range(len(WIDTHS)):
            x1, x2 = xs[col], xs[col + 1]
            y1, y2 = ys[row], ys[row + 1]
            points = [(x1, y1), (x2, y1), (x2, y2), (x1, y2)]
            if col == 1:
                # A bend in the shared edge with the lot to the right.
                points.insert(2, (x2, (y1 + y2) / 2 + 1.375))
            if col == 2:
                points.insert(4, (x1, (y1 + y2) / 2 + 1.375))
            msp.add_lwpolyline(points, close=True, dxfattribs={"layer": "筆界"})
            cx, cy = (x1 + x2) / 2, (y1 + y2) / 2
            number = LOT_NUMBERS[k]
            if k % 3 == 2:
                msp.add_mtext("{\\H2.5;" + number + "}",
                              dxfattribs={"layer": "地番", "char_height": 2.5,
                                          "insert": (cx - 3, cy + 1)})
            else:
                msp.add_text(number, height=2.5,
                             dxfattribs={"layer": "地番", "insert": (cx - 3, cy - 1)})
            k += 1

    # A road along the south side, a contour line and notes.
    msp.add_line((X0 - 10, Y0 - 6), (xs[-1] + 10, Y0 - 6), dxfattribs={"layer": "道路"})
    msp.add_line((X0 - 10, Y0 - 12), (xs[-1] + 10, Y0 - 12), dxfattribs={"layer": "道路"})
    msp.add_lwpolyline([(X0 - 15, Y0 + 5 * i) for i in range(15)],
                       dxfattribs={"layer": "等高線"})
    msp.add_text("市道 1 号線", height=3.0,
                 dxfattribs={"layer": "注記", "insert": (X0 + 20, Y0 - 10)})
    msp.add_mtext("地積測量図\\P縮尺 1/250", dxfattribs={"layer": "注記",
                  "insert": (X0, ys[-1] + 15), "char_height": 3.5})
    msp.add_circle((xs[-1] + 15, ys[-1] + 10), 4, dxfattribs={"layer": "注記"})
    msp.add_lwpolyline([(X0 - 20, Y0 - 20), (xs[-1] + 20, Y0 - 20),
                        (xs[-1] + 20, ys[-1] + 25), (X0 - 20, ys[-1] + 25)],
                       close=True, dxfattribs={"layer": "図枠"})

    doc.saveas(OUT, encoding="cp932")
    data = OUT.read_bytes().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    OUT.write_bytes(data)


if __name__ == "__main__":
    main()

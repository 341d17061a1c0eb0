# Writes ezdxf_mirrored.dxf: lots and lot numbers drawn as AutoCAD's MIRROR
# leaves them, with the extrusion direction (0, 0, -1), and one lot and one
# lot number in 3D (an askew extrusion); then prints where ezdxf puts every
# point in world coordinates, the values the tests expect (python3-ezdxf).
# Run from this folder.
import ezdxf
from ezdxf.enums import TextEntityAlignment

doc = ezdxf.new("R2000")
msp = doc.modelspace()
for name in ("LOTS", "NUM"):
    doc.layers.add(name)
down = {"extrusion": (0, 0, -1)}

# Lot A: a closed LWPOLYLINE in its own coordinates.
msp.add_lwpolyline([(0, 0), (-10, 0), (-10, 10), (0, 10)], close=True,
                   dxfattribs={"layer": "LOTS", **down})
msp.add_text("A", dxfattribs={"layer": "NUM", "height": 1, **down}).set_placement((-5, 5))
# Lot B: a block placed by a mirrored INSERT, turned and scaled.
block = doc.blocks.new("LOT", base_point=(1, 1))
block.add_lwpolyline([(1, 1), (6, 1), (6, 11), (1, 11)], close=True, dxfattribs={"layer": "0"})
block.add_text("B", dxfattribs={"layer": "NUM", "height": 1}).set_placement(
    (3.5, 6), align=TextEntityAlignment.MIDDLE_CENTER)
msp.add_blockref("LOT", (-10, 10), dxfattribs={"layer": "LOTS", "rotation": 90, "xscale": 1,
                                               "yscale": 2, **down})
# Lot C: a half disc, a LINE (world points) and a mirrored ARC.
msp.add_line((35, 0), (35, 10), dxfattribs={"layer": "LOTS", **down})
msp.add_arc((-35, 5), 5, 90, 270, dxfattribs={"layer": "LOTS", **down})
msp.add_text("C", dxfattribs={"layer": "NUM", "height": 1, **down}).set_placement((-37, 5))
# 3D: left out and reported.
msp.add_lwpolyline([(50, 0), (60, 0), (60, 10)], close=True,
                   dxfattribs={"layer": "LOTS", "extrusion": (0, 1, 0)})
msp.add_text("D", dxfattribs={"layer": "NUM", "height": 1, "extrusion": (0.6, 0, 0.8)}
             ).set_placement((55, 5))
doc.saveas("ezdxf_mirrored.dxf")


def show(p):
    return f"({p.x:.5f}, {p.y:.5f})"


for e in msp:
    if e.dxftype() == "LWPOLYLINE":
        print("LWPOLYLINE", " ".join(show(v) for v in e.vertices_in_wcs()))
    elif e.dxftype() == "INSERT":
        for v in e.virtual_entities():
            if v.dxftype() == "LWPOLYLINE":
                print("  placed LWPOLYLINE", " ".join(show(p) for p in v.vertices_in_wcs()))
            else:
                print("  placed TEXT", show(v.ocs().to_wcs(v.dxf.align_point)))
    elif e.dxftype() == "ARC":
        print("ARC", show(e.start_point), show(e.end_point), show(e.ocs().to_wcs(e.dxf.center)))
    elif e.dxftype() == "TEXT":
        print("TEXT", e.dxf.text, show(e.ocs().to_wcs(e.dxf.insert)))

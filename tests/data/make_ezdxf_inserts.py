# Writes ezdxf_inserts.dxf: one block, an open polyline whose base point is
# not the origin, placed by INSERTs with unequal scales, a rotation, a
# mirroring scale, MINSERT rows and columns, and an extrusion (0, 0, -1); then
# prints every placed polyline as ezdxf's virtual_entities() give it, the
# values the tests expect (python3-ezdxf). Run from this folder.
import ezdxf

doc = ezdxf.new("R2000")
msp = doc.modelspace()
doc.layers.add("B")
block = doc.blocks.new("P", base_point=(2, 3))
block.add_lwpolyline([(2, 3), (5, 3), (5, 7)], dxfattribs={"layer": "0"})
msp.add_blockref("P", (100, 50), dxfattribs={"layer": "B", "xscale": 2, "yscale": 0.5,
                                              "rotation": 30})
msp.add_blockref("P", (0, 0), dxfattribs={"layer": "B", "xscale": -1, "yscale": 3})
grid = msp.add_blockref("P", (10, 10), dxfattribs={"layer": "B", "xscale": 1.5, "yscale": 2,
                                                    "rotation": 90})
grid.grid(size=(3, 2), spacing=(5, 4))  # 3 rows 5 apart, 2 columns 4 apart
msp.add_blockref("P", (-20, 5), dxfattribs={"layer": "B", "yscale": 2, "rotation": 45,
                                             "extrusion": (0, 0, -1)})
doc.saveas("ezdxf_inserts.dxf")

for insert in msp.query("INSERT"):
    for single in insert.multi_insert():
        for e in single.virtual_entities():
            print(" ".join(f"{v.x:.9f} {v.y:.9f}" for v in e.vertices_in_wcs()))

# Writes ezdxf_r12_lots.dxf: two lots drawn by ezdxf as an R12 drawing with
# LINE and TEXT entities only (python3-ezdxf). Run from this folder.
import ezdxf

doc = ezdxf.new("R12")
msp = doc.modelspace()
doc.layers.add("LOTLINES")
doc.layers.add("LOTNO")
for start, end in [((0, 0), (20, 0)), ((20, 0), (20, 10)), ((20, 10), (0, 10)),
                   ((0, 10), (0, 0)), ((10, 0), (10, 10))]:
    msp.add_line(start, end, dxfattribs={"layer": "LOTLINES"})
msp.add_text("12-3", dxfattribs={"layer": "LOTNO", "height": 1}).set_placement((4, 5))
msp.add_text("12-4", dxfattribs={"layer": "LOTNO", "height": 1}).set_placement((14, 5))
doc.saveas("ezdxf_r12_lots.dxf")

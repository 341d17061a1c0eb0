#pragma once

// Small 地図XML files written out in the tests, element by element as the
// registry's files have them.
#include <string>
#include <utility>
#include <vector>

namespace parquill::testing {

inline std::string MapXml(const std::string& coordinateSystem, const std::string& spatial,
                          const std::string& thematic) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<地図 xmlns=\"http://www.moj.go.jp/MINJI/tizuxml\" "
         "xmlns:zmn=\"http://www.moj.go.jp/MINJI/tizuzumen\">\n"
         "<座標系>" +
         coordinateSystem + "</座標系>\n<空間属性>\n" + spatial + "</空間属性>\n<主題属性>\n" +
         thematic + "</主題属性>\n</地図>\n";
}

inline std::string GmPoint(const std::string& id, double x, double y) {
  return "<zmn:GM_Point id=\"" + id + "\"><zmn:GM_Point.position><zmn:DirectPosition><zmn:X>" +
         std::to_string(x) + "</zmn:X><zmn:Y>" + std::to_string(y) +
         "</zmn:Y></zmn:DirectPosition></zmn:GM_Point.position></zmn:GM_Point>\n";
}

// A curve through the points named, with its orientation.
inline std::string GmCurve(const std::string& id, const std::vector<std::string>& points,
                           const std::string& orientation = "+") {
  std::string curve = "<zmn:GM_Curve id=\"" + id + "\"><zmn:GM_OrientablePrimitive.orientation>" +
                      orientation +
                      "</zmn:GM_OrientablePrimitive.orientation>"
                      "<zmn:GM_Curve.segment><zmn:GM_LineString><zmn:GM_LineString.controlPoint>";
  for (const std::string& point : points) {
    curve += "<zmn:GM_PointArray.column><zmn:GM_Position.indirect><zmn:GM_PointRef.point idref=\"" +
             point + "\"/></zmn:GM_Position.indirect></zmn:GM_PointArray.column>";
  }
  return curve +
         "</zmn:GM_LineString.controlPoint></zmn:GM_LineString></zmn:GM_Curve.segment>"
         "</zmn:GM_Curve>\n";
}

// A surface: its exterior ring and its holes, each by curve ids.
inline std::string GmSurface(const std::string& id, const std::vector<std::string>& exterior,
                             const std::vector<std::vector<std::string>>& holes = {}) {
  auto ring = [](const char* side, const std::vector<std::string>& curves) {
    std::string text = std::string("<zmn:GM_SurfaceBoundary.") + side + "><zmn:GM_Ring>";
    for (const std::string& curve : curves) {
      text += "<zmn:GM_CompositeCurve.generator idref=\"" + curve + "\"/>";
    }
    return text + "</zmn:GM_Ring></zmn:GM_SurfaceBoundary." + side + ">";
  };
  std::string surface = "<zmn:GM_Surface id=\"" + id +
                        "\"><zmn:GM_Surface.patch><zmn:GM_Polygon><zmn:GM_Polygon.boundary>"
                        "<zmn:GM_SurfaceBoundary>" +
                        ring("exterior", exterior);
  for (const auto& hole : holes) surface += ring("interior", hole);
  return surface +
         "</zmn:GM_SurfaceBoundary></zmn:GM_Polygon.boundary></zmn:GM_Polygon>"
         "</zmn:GM_Surface.patch></zmn:GM_Surface>\n";
}

inline std::string Fude(const std::string& chiban, const std::string& surface) {
  return "<筆 id=\"H" + surface + "\">\n<大字名>本町</大字名>\n<地番>" + chiban +
         "</地番>\n<形状 idref=\"" + surface + "\"/>\n<精度区分>甲二</精度区分>\n</筆>\n";
}

inline std::string Hikkaiten(const std::string& name, const std::string& point) {
  return "<筆界点><点番名>" + name + "</点番名><形状 idref=\"" + point + "\"/></筆界点>\n";
}

}  // namespace parquill::testing

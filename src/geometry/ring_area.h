#pragma once

namespace parquill {

// The area a ring of vertices encloses, by the shoelace formula: fed one
// vertex at a time, closed from the last vertex back to the first (a closing
// vertex equal to the first adds nothing). The terms are taken about the
// first vertex, so that survey coordinates of five digits and more keep
// their decimals.
class ShoelaceSum {
 public:
  void Add(double x, double y);
  // In square drawing units; positive whichever way the ring turns.
  double Area() const;
  // Positive when the ring turns counter-clockwise (X right, Y up).
  double SignedArea() const { return twice_ / 2; }

 private:
  bool started_ = false;
  double x0_ = 0, y0_ = 0;        // the first vertex
  double lastX_ = 0, lastY_ = 0;  // the last vertex, about the first
  double twice_ = 0;              // twice the signed area so far
};

// The area enclosed by a ring of points with members x and y.
template <typename Points>
double RingArea(const Points& ring) {
  ShoelaceSum sum;
  for (const auto& point : ring) sum.Add(point.x, point.y);
  return sum.Area();
}

}  // namespace parquill

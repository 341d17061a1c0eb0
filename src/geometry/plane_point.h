#pragma once

// A point of the drawing's plane, in drawing units (X right, Y up), as the
// drawing gives it.
namespace parquill {

struct PlanePoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const PlanePoint&, const PlanePoint&) = default;
};

}  // namespace parquill

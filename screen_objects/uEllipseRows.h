// The rows of the system's elliptic area (CreateEllipticRgn), computed here
// for ellipses too large to ask the system for: the library builds those
// row by row within the canvas bounds and must give the same pixels the
// system gives an ellipse just small enough to ask it for.
//
// The system traces the ellipse's outline with an integer error term from
// the middle row outwards, one pixel step at a time. The trace is followed
// here with the same error terms, exact in 128-bit arithmetic, but runs of
// steps along one axis are taken in one binary search, so a wide flat or a
// tall narrow ellipse costs about as many steps as rows are asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// Largest side the trace takes: the system's own coordinate space on
// Windows is 2^27 pixels, and the error terms stay within 128 bits.
constexpr int64_t SystemEllipseTraceSide = int64_t{1} << 27;

// Rows firstRow..endRow-1 of the elliptic area of the box (left, top,
// right, bottom), right column and bottom row left out as the system does:
// one span [left, right) per row, empty where the row misses the area.
// The trace takes about as many steps as the shorter side has pixels. Nullopt
// when a side exceeds SystemEllipseTraceSide or the trace would take more
// than maxSteps steps: the system's own trace is exact only while the
// product of the sides stays below 2^31, so a shorter side of some
// thousands, and the default leaves room for that.
std::optional<std::vector<std::pair<int64_t, int64_t>>>
SystemEllipseRows(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t firstRow,
                  int64_t endRow, int64_t maxSteps = int64_t{1} << 12);

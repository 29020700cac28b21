// Window tests and the segment clipper. A window is xmin, ymin, xmax, ymax in
// drawing millimetres. A point on an edge, or less than 1e-12 inside it,
// counts as outside; so does a point with a NaN coordinate.
#pragma once

#include <cstdint>

// Outcode bits: a point inside has code 0.
constexpr int32_t kOutLeft = 1;
constexpr int32_t kOutRight = 2;
constexpr int32_t kOutBelow = 4;
constexpr int32_t kOutAbove = 8;

constexpr double kClipTolerance = 1e-12;

int32_t OutCode(double x, double y, double xmin, double ymin, double xmax, double ymax);

// 0 inside, 2 outside.
int32_t PointVsWindow(double x, double y, double xmin, double ymin, double xmax, double ymax);

// 0 all four corners inside, 1 crossing, 2 outside (every pair of corners
// shares an outside side).
int32_t QuadVsWindow(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                     double y4, double xmin, double ymin, double xmax, double ymax);

// The rectangle with a corner at (x, y), sides width and height, turned
// counter-clockwise by angle (radians) about (x, y); answers as QuadVsWindow.
int32_t RotatedRectVsWindow(double x, double y, double width, double height, double angle,
                            double xmin, double ymin, double xmax, double ymax);

// One-pass Cohen-Sutherland: 0 wholly inside (unchanged), 1 clipped or
// crossing (end points moved onto the edges they were outside of; a segment
// passing beside a corner may keep ends outside), 2 nothing visible.
int32_t ClipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin,
                    double xmax, double ymax);

// ClipSegment's answer for the segment, leaving the arguments as they are.
int32_t SegmentVsWindow(double x1, double y1, double x2, double y2, double xmin, double ymin,
                        double xmax, double ymax);

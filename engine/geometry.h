// Plane geometry under the affine map of a placement: extents, intersections,
// arc end points and tangent apex, and the re-computation of each element
// kind's own parameters (radius, flatness, tilt, angles, text sizes, point
// symbols) so that a mapped element is again an element of its kind.
//
// Angles are radians. Inputs are taken by value and results are written only
// at the end, so a caller may pass the same variables as input and output.
// Nothing here fails, allocates or loops without bound, whatever the input
// (NaN and infinities included).
#pragma once

#include <cstdint>
#include <string>

struct TEntJwwBlockTree;

// A point (x, y) maps to ((a·x + b·y + tx) / s, (c·x + d·y + ty) / s).
struct TAffineMap {
  double a = 1, b = 0, c = 0, d = 1;
  double tx = 0, ty = 0;
  double s = 1;
};

// The map of a block-tree row (divisor 1).
TAffineMap BlockTreeMap(const TEntJwwBlockTree& row);

// Extent box. Each call clamps all four bounds into [-1e8, 1e8]. A NaN
// coordinate is ignored on its axis (ExtentInit then leaves that axis empty,
// stored as min 1e8 > max -1e8, which the next real value replaces on both
// sides); an infinite one ends at the clamp.
constexpr double kExtentLimit = 1e8;
void ExtentInit(double x, double y, double s, double& xmin, double& ymin, double& xmax, double& ymax);
void ExtentAddPoint(double x, double y, double s, double& xmin, double& ymin, double& xmax, double& ymax);
void ExtentAddMappedPoint(double x, double y, double tx, double ty, double a, double b, double c, double d,
                          double s, double& xmin, double& ymin, double& xmax, double& ymax);

double PointDistance(double x1, double y1, double x2, double y2);
// Distance of (px, py) from the infinite line through the two points.
double PerpendicularOffset(double x1, double y1, double x2, double y2, double px, double py);

// Meeting point of the lines through (x1, y1)-(x2, y2) and (x3, y3)-(x4, y4).
// 0: parallel (both vertical included), X and Y untouched; 1: the point lies
// on both segments (within 1e-12); 2: the lines meet outside a segment.
int32_t IntersectSegments(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                          double y4, double& X, double& Y);

// Ellipse or arc: centre (cx, cy), radius r along the tilt theta, flatness f
// (other semi-axis r·f); P(t) = centre + Rot_theta(r·cos t, r·f·sin t).
void EllipsePoint(double cx, double cy, double r, double f, double theta, double t, double& x, double& y);

// Start point P(start), end point P(start + sweep) and the apex where the
// tangents at the two ends meet (the centre when they are parallel).
void ArcEndPoints(double cx, double cy, double r, double f, double start, double sweep, double theta,
                  double& sx, double& sy, double& ex, double& ey, double& ax, double& ay);
// The tangent apex alone (note the argument order).
void ArcTangentApex(double cx, double cy, double r, double f, double theta, double start, double sweep,
                    double& ax, double& ay);

void RotateAbout(double x, double y, double cx, double cy, double angle, double& rx, double& ry);

void MapPoint(double x, double y, const TAffineMap& m, double& mx, double& my);
void MapSegment(double x1, double y1, double x2, double y2, const TAffineMap& m, double& mx1, double& my1,
                double& mx2, double& my2);

// The arc's image as an arc: new centre, radius, flatness, start, sweep and
// tilt. whole == 1 keeps start and sweep; otherwise start' is in [0, 2π) and
// sweep' in [0, 2π), except that a sweep of a full turn or more stays 2π. A
// degenerate image (radius 0, flatness 0) keeps start and sweep as given.
// The divisor is applied like everywhere here; block explosion passes 1.
void MapArc(int32_t whole, double cx, double cy, double r, double f, double start, double sweep,
            double theta, const TAffineMap& m, double& mcx, double& mcy, double& mr, double& mf,
            double& mstart, double& msweep, double& mtheta);

// A point element: symbol points (line type 100) keep code and symbol scale
// and turn with the map; every other point gets code 0, angle 0, scale 1.
void MapPointEntity(int32_t lineType, int32_t code, double x, double y, double angle, double symbolScale,
                    const TAffineMap& m, double& mx, double& my, int32_t& mcode, double& mangle,
                    double& msymbolScale);

// A text element: start and end points mapped, sizes and spacing re-measured
// (4 decimals, half up; sizes at least 1e-4). A general map drops the last
// three digits of the kind (free size) and swaps the ends under a mirror.
void MapTextEntity(int32_t kind, double sx, double sy, double ex, double ey, double sizeX, double sizeY,
                   double spacing, const TAffineMap& m, double& msx, double& msy, double& mex, double& mey,
                   int32_t& mkind, double& msizeX, double& msizeY, double& mspacing);

// MapTextEntity, then, for a general map, the text re-centred on the mapped
// mid-point with the length of content at the new size.
void MapDimensionText(int32_t kind, double sx, double sy, double ex, double ey, double sizeX, double sizeY,
                      double spacing, const std::string& content, const TAffineMap& m, double& msx,
                      double& msy, double& mex, double& mey, int32_t& mkind, double& msizeX, double& msizeY,
                      double& mspacing);

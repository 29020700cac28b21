// Which frame holds a point: the first frame in list order that holds it
// strictly inside (more than 1e-12 inside every edge, as PointVsWindow tells).
// Frames may overlap and nest; all points are answered together in
// O((frames + points) log^2), not frames x points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "gval.h"

// For each point (x, y), the index of the first of frames[0, frameCount)
// holding it, or -1.
std::vector<int32_t> FirstFramesHolding(const std::vector<TZumenWakuField>& frames, size_t frameCount,
                                        const std::vector<std::pair<double, double>>& points);

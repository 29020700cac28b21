// Shared set-up of the renderer tests: fresh globals, an attribute object,
// a recording canvas and a view of 1000 × 1000 device units from (0, 0).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "bind_images.h"
#include "gra_attribute.h"
#include "gval.h"
#include "recording_canvas.h"

class RenderTest : public ::testing::Test {
 protected:
  TgraAttribute attr;
  TRecordingCanvas canvas;

  void SetUp() override {
    Gval.Reset();
    BindImg.Reset();
    Gval.GraAttribute = &attr;
    View(10);
  }
  void TearDown() override {
    Gval.Reset();
    BindImg.Reset();
  }

  // The window (0, 0)-(size / scale, size / scale).
  static void View(double scale, int32_t size = 1000) {
    Gval.DeviceWidth = Gval.DeviceHeight = size;
    Gval.ViewScale = scale;
    Gval.ViewXMin = Gval.ViewYMin = 0;
    Gval.ViewXMax = Gval.ViewYMax = size / scale;
  }

  // Replaces a line type's pattern (mm: + dash, - gap).
  void SetLineType(int32_t type, std::initializer_list<double> segments, double amplitude = 0) {
    const int32_t row = TgraAttribute::LineTypeIndex(type);
    attr.SetLineTypeCount(row, static_cast<int32_t>(segments.size()));
    int32_t i = 0;
    for (double s : segments) attr.SetLineTypeSegment(row, i++, s);
    attr.SetLineTypeAmplitude(row, amplitude);
    attr.UpdateLineTypePeriod(row);
  }

  size_t Count(TCanvasCall::Kind k) const { return canvas.Of(k).size(); }
};

// Width and height of the box around a run of device points.
inline std::pair<int32_t, int32_t> BoxSize(const std::vector<TDevicePoint>& pts) {
  int32_t x0 = INT32_MAX, x1 = INT32_MIN, y0 = INT32_MAX, y1 = INT32_MIN;
  for (const TDevicePoint& p : pts) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  return {x1 - x0, y1 - y0};
}

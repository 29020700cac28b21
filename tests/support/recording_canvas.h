// A canvas that records what is drawn on it, for the rendering tests: every
// call becomes one TCanvasCall with the pen, brush and font in force.
#pragma once

#include <string>
#include <vector>

#include "render/canvas.h"

struct TCanvasCall {
  enum Kind { MoveTo, LineTo, Polyline, Polygon, TextOut, DrawImage, DashedPolyline } kind = MoveTo;
  std::vector<TDevicePoint> points;  // MoveTo/LineTo/TextOut: one point
  int32_t penColor = 0, penWidth = 0;
  TPenStyle penStyle = psSolid;
  int32_t brushColor = 0;
  TBrushStyle brushStyle = bsSolid;
  TLogFont font;
  int32_t fontColor = 0;
  std::string text;  // TextOut: the text; DrawImage: the image's path
  TDeviceRect destination, source;
  double angle = 0;
  std::vector<double> dashes;  // DashedPolyline: the pattern, its phase in angle
};

class TRecordedImage : public TCanvasImage {
 public:
  TRecordedImage(std::string path, int32_t w, int32_t h) : path_(std::move(path)), w_(w), h_(h) {}
  int32_t Width() const override { return w_; }
  int32_t Height() const override { return h_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int32_t w_, h_;
};

class TRecordingCanvas : public TCanvas {
 public:
  std::vector<TCanvasCall> calls;
  // LoadImage answers an image of this size for every path (0 × 0: none),
  // and lists each path asked for.
  int32_t imageWidth = 100, imageHeight = 100;
  std::vector<std::string> loadedPaths;
  // Whether the canvas takes dashed polylines, as a vector device does.
  bool drawsDashes = false;

  void SetPenColor(int32_t c) override { penColor_ = c; }
  int32_t PenColor() const override { return penColor_; }
  void SetPenWidth(int32_t w) override { penWidth_ = w; }
  int32_t PenWidth() const override { return penWidth_; }
  void SetPenStyle(TPenStyle s) override { penStyle_ = s; }
  TPenStyle PenStyle() const { return penStyle_; }
  void SetBrushColor(int32_t c) override { brushColor_ = c; }
  int32_t BrushColor() const { return brushColor_; }
  void SetBrushStyle(TBrushStyle s) override { brushStyle_ = s; }
  TBrushStyle BrushStyle() const { return brushStyle_; }

  void MoveTo(int32_t x, int32_t y) override { Add(TCanvasCall::MoveTo).points = {{x, y}}; }
  void LineTo(int32_t x, int32_t y) override { Add(TCanvasCall::LineTo).points = {{x, y}}; }
  void Polyline(const TDevicePoint* p, size_t n) override {
    Add(TCanvasCall::Polyline).points.assign(p, p + n);
  }
  void Polygon(const TDevicePoint* p, size_t n) override {
    Add(TCanvasCall::Polygon).points.assign(p, p + n);
  }
  bool DrawsDashes() const override { return drawsDashes; }
  void DashedPolyline(const TDevicePoint* p, size_t n, const double* dashes, size_t dashCount,
                      double phase) override {
    TCanvasCall& c = Add(TCanvasCall::DashedPolyline);
    c.points.assign(p, p + n);
    c.dashes.assign(dashes, dashes + dashCount);
    c.angle = phase;
  }
  void SetFont(const TLogFont& f) override { font_ = f; }
  const TLogFont& Font() const { return font_; }
  void SetFontColor(int32_t c) override { fontColor_ = c; }
  void TextOut(int32_t x, int32_t y, const std::string& text) override {
    TCanvasCall& c = Add(TCanvasCall::TextOut);
    c.points = {{x, y}};
    c.text = text;
  }
  std::unique_ptr<TCanvasImage> LoadImage(const std::string& path) override {
    loadedPaths.push_back(path);
    if (imageWidth <= 0 || imageHeight <= 0) return nullptr;
    return std::make_unique<TRecordedImage>(path, imageWidth, imageHeight);
  }
  void DrawImage(const TCanvasImage& image, const TDeviceRect& dst,
                 const TDeviceRect& src, double angle, int32_t px, int32_t py) override {
    TCanvasCall& c = Add(TCanvasCall::DrawImage);
    c.text = static_cast<const TRecordedImage&>(image).Path();
    c.destination = dst;
    c.source = src;
    c.angle = angle;
    c.points = {{px, py}};
  }

  // The calls of one kind, in order.
  std::vector<TCanvasCall> Of(TCanvasCall::Kind k) const {
    std::vector<TCanvasCall> out;
    for (const TCanvasCall& c : calls)
      if (c.kind == k) out.push_back(c);
    return out;
  }

 private:
  TCanvasCall& Add(TCanvasCall::Kind k) {
    TCanvasCall c;
    c.kind = k;
    c.penColor = penColor_;
    c.penWidth = penWidth_;
    c.penStyle = penStyle_;
    c.brushColor = brushColor_;
    c.brushStyle = brushStyle_;
    c.font = font_;
    c.fontColor = fontColor_;
    calls.push_back(std::move(c));
    return calls.back();
  }
  int32_t penColor_ = 0, penWidth_ = 1;
  TPenStyle penStyle_ = psSolid;
  int32_t brushColor_ = 0xFFFFFF;
  TBrushStyle brushStyle_ = bsSolid;
  TLogFont font_;
  int32_t fontColor_ = 0;
};

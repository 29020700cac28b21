// The engine's canvas over a QPainter that is already painting on a QImage
// or a printer page, one device pixel per canvas unit. Everything is drawn
// aliased, the way the drawings were meant to look on a bitmap: round caps
// and joins, one-pixel hairlines for width 0, dotted pens of 3 pixels on and
// 3 off, odd-even fills, 8-pixel hatches over a transparent background and
// fonts without anti-aliasing.
//
// Strokes that continue each other are gathered into one polyline and drawn
// when anything else happens on the canvas (or on Flush), which keeps a
// million short strokes fast on bitmaps and small in PDF files. Call Flush,
// or destroy the canvas, before reading the painted surface.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPoint>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "qt_canvas_font.h"
#include "qt_canvas_glyph_batch.h"
#include "qt_image_loader.h"
#include "render/canvas.h"

class QPainter;

class TQtCanvas : public TCanvas {
 public:
  // The painter must stay active for the life of the canvas. Its transform
  // at this moment stays the canvas's origin.
  explicit TQtCanvas(QPainter& painter);
  ~TQtCanvas() override;
  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;

  // Draws the strokes gathered so far.
  void Flush();

  void SetPenColor(int32_t color) override;
  int32_t PenColor() const override { return penColor_; }
  void SetPenWidth(int32_t width) override;
  int32_t PenWidth() const override { return penWidth_; }
  void SetPenStyle(TPenStyle style) override;

  void SetBrushColor(int32_t color) override;
  void SetBrushStyle(TBrushStyle style) override;

  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void Polyline(const TDevicePoint* points, size_t count) override;
  void Polygon(const TDevicePoint* points, size_t count) override;
  bool DrawsDashes() const override { return vectorDevice_; }
  void DashedPolyline(const TDevicePoint* points, size_t count, const double* dashes, size_t dashCount,
                      double phase) override;

  void SetFont(const TLogFont& font) override;
  void SetFontColor(int32_t color) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;

  std::unique_ptr<TCanvasImage> LoadImage(const std::string& nativePath) override;
  void DrawImage(const TCanvasImage& image, const TDeviceRect& destination,
                 const TDeviceRect& source, double angleDegrees, int32_t pivotX,
                 int32_t pivotY) override;

 private:
  void ApplyPen();
  void ApplyDashedPen();
  void UseBatchDashes(const std::vector<double>& dashes, double phase);
  void ApplyBrush();
  void StrokePath();
  void DrawBatch();
  void FlushStrokes();
  void UseBaseTransform();
  void FlushGlyphs();
  void DrawDot(const QPoint& at);
  const QString& Decode(const std::string& sjis);
  void UseFontColour();
  void DrawUprightText(const QString& text);
  void DrawSidewaysPiece(const QString& piece, double cellWidth);

  QPainter& painter_;
  QTransform base_;
  bool turned_ = false;  // the painter holds a text's transform, not base_

  int32_t penColor_ = 0;
  int32_t penWidth_ = 0;
  TPenStyle penStyle_ = psSolid;
  int32_t brushColor_ = 0xFFFFFF;
  TBrushStyle brushStyle_ = bsSolid;
  bool penDirty_ = true;
  bool brushDirty_ = true;

  // The current point and the polyline gathered since the last flush.
  QPoint current_;
  std::vector<QPoint> path_;
  bool pathHasZeroStroke_ = false;
  // On vector devices finished polylines wait here, drawn as one path.
  const bool vectorDevice_;
  QPainterPath batch_;
  size_t batchPoints_ = 0;
  // The dashes of the gathered path (device units; empty: solid) and where
  // each of its polylines starts in them. Each polyline of a path starts
  // the pattern afresh on the device.
  std::vector<double> batchDashes_;
  double batchPhase_ = 0;
  std::vector<double> dashScratch_;
  bool painterBrushClear_ = false;  // the painter holds Qt::NoBrush
  std::vector<QPoint> corners_;  // scratch of Polygon

  TLogFont logFont_;
  const TQtCanvasFont* font_ = nullptr;  // for logFont_, made when text is drawn
  TQtCanvasFontCache fonts_;
  bool fontOnPainter_ = false;
  bool textPenSet_ = false;  // the painter's pen is the text colour below
  QColor textPenColour_;
  QColor fontColor_ = Qt::black;
  std::unordered_map<std::string, QString> decoded_;
  TQtGlyphBatch glyphs_;  // vector devices: characters waiting as one run
  TCanvasImageCache images_;  // an image shown by several texts is decoded once
};

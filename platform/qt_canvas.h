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
#include <QFont>
#include <QPoint>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

  void SetFont(const TLogFont& font) override;
  void SetFontColor(int32_t color) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;

  std::unique_ptr<TCanvasImage> LoadImage(const std::string& nativePath) override;
  void DrawImage(const TCanvasImage& image, const TDeviceRect& destination,
                 const TDeviceRect& source, double angleDegrees, int32_t pivotX,
                 int32_t pivotY) override;

 private:
  void ApplyPen();
  void ApplyBrush();
  void StrokePath();
  void DrawDot(const QPoint& at);
  void PrepareFont();
  void DrawUprightText(const QString& text, double cellWidth);
  void DrawSidewaysPiece(const QString& piece, double cellWidth);

  QPainter& painter_;
  QTransform base_;

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

  TLogFont logFont_;
  bool fontDirty_ = true;
  QFont font_;
  bool sideways_ = false;  // a face with one "@": two-byte pieces turned
  int fontAscent_ = 0;
  int fontCellHeight_ = 0;  // ascent + descent: the filled cell
  int fontEm_ = 0;
  QColor fontColor_ = Qt::black;
};

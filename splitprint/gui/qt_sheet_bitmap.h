// The hidden picture the preview bitmaps are drawn on: a white 32-bit image
// painted through the Qt canvas, saved as an 8-bit BMP file.
#pragma once

#include <QImage>
#include <memory>

#include "sheet_output.h"

class QPainter;
class TQtCanvas;

class TQtSheetBitmap : public TSheetBitmap {
 public:
  TQtSheetBitmap();
  ~TQtSheetBitmap() override;
  TCanvas* Begin(int32_t width, int32_t height) override;
  bool Save(const std::string& path) override;
  int LastSaveError() const override { return lastSaveError_; }

 private:
  void End();

  QImage image_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<TQtCanvas> canvas_;
  int lastSaveError_ = 0;
};

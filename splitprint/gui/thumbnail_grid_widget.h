// One painted grid of 8-bit thumbnails with captions (the sheet preview and
// the drawing-frame chooser): a single widget sized as the thumbnail panel,
// drawing only the cells in view, so thousands of images cost their bytes
// and no window each.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "sheet_output.h"

class QStatusBar;

class TThumbnailGrid : public QWidget {
 public:
  explicit TThumbnailGrid(QWidget* parent = nullptr);

  // Empties the grid; the panel shrinks to one empty cell.
  void Clear();
  // Appends a thumbnail; a null image leaves its cell empty, without caption.
  void Append(const QImage& image, const QString& caption);
  // Sizes the panel for the thumbnails held.
  void FitPanel();
  size_t Count() const { return cells_.size(); }
  const QImage& ImageAt(size_t i) const { return cells_[i].image; }
  const QString& CaptionAt(size_t i) const { return cells_[i].caption; }

  // Called when a mouse button goes down on thumbnail `index`, with the
  // buttons held.
  std::function<void(int index, Qt::MouseButtons buttons)> OnThumbnailPressed;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct TCell {
    QImage image;
    QString caption;
  };
  std::vector<TCell> cells_;
};

// Loads a bitmap file as an 8-bit image; a null image when it cannot be read.
QImage LoadThumbnailImage(const QString& path);

// Fills the grid of a thumbnail dialog from its timer: each item's bitmap
// with its caption, the message queue pumped after each, until Escape is
// held or closing turns true. Then the panel is sized for the thumbnails
// shown and the status tells their count; false, with neither done, when
// the dialog was closed meanwhile. The items are a copy: the dialog may
// empty its own list while the queue is pumped.
bool FillThumbnailGrid(TThumbnailGrid& grid, QStatusBar& status, std::vector<TThumbnailItem> items,
                       const bool& closing);

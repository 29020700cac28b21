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

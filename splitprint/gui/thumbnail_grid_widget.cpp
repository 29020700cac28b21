#include "thumbnail_grid_widget.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStatusBar>
#include <algorithm>

#include "gval.h"
#include "qt_text.h"

#include "thumbnail_grid.h"

TThumbnailGrid::TThumbnailGrid(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  FitPanel();
}

void TThumbnailGrid::Clear() {
  cells_.clear();
  cells_.shrink_to_fit();
  FitPanel();
  update();
}

void TThumbnailGrid::Append(const QImage& image, const QString& caption) {
  cells_.push_back({image, image.isNull() ? QString() : caption});
  const TThumbRect r = ThumbnailRect(cells_.size() - 1);
  update(QRect(r.Left, r.Top, r.Width, r.Height));
}

void TThumbnailGrid::FitPanel() {
  const TThumbRect panel = ThumbnailPanel(cells_.size());
  setFixedSize(panel.Width, panel.Height);
}

void TThumbnailGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QFont font = painter.font();
  font.setPointSize(8);
  painter.setFont(font);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(Qt::white);
  const int captionTop = ThumbnailCaptionTop(painter.fontMetrics().height());
  const QRect area = event->rect();
  // Only the rows and columns in the repainted area.
  const int firstRow = std::max(0, area.top() / kThumbCellHeight);
  const int lastRow = area.bottom() / kThumbCellHeight;
  const int firstColumn = std::max(0, area.left() / kThumbCellWidth);
  const int lastColumn = std::min(kThumbsPerRow - 1, area.right() / kThumbCellWidth);
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
      const size_t i = static_cast<size_t>(row) * kThumbsPerRow + static_cast<size_t>(column);
      if (i >= cells_.size()) return;
      const TCell& cell = cells_[i];
      if (cell.image.isNull()) continue;
      const TThumbRect r = ThumbnailRect(i);
      // Not stretched: the picture keeps its own size, cut at the cell.
      painter.drawImage(QPoint(r.Left, r.Top), cell.image, QRect(0, 0, r.Width, r.Height));
      // A long caption loses its middle: the number and the end of the
      // name stay, whichever end the naming puts the number at.
      if (!cell.caption.isEmpty())
        painter.drawText(QRect(r.Left, r.Top + captionTop, r.Width, r.Height - captionTop),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(cell.caption, Qt::ElideMiddle, r.Width));
    }
  }
}

void TThumbnailGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int64_t index = ThumbnailAt(at.x(), at.y(), cells_.size());
  if (index >= 0 && OnThumbnailPressed) OnThumbnailPressed(static_cast<int>(index), event->buttons());
  QWidget::mousePressEvent(event);
}

QImage LoadThumbnailImage(const QString& path) {
  QImage image(path);
  if (image.isNull() || image.format() == QImage::Format_Indexed8) return image;
  return image.convertToFormat(QImage::Format_Indexed8);
}

bool FillThumbnailGrid(TThumbnailGrid& grid, QStatusBar& status, std::vector<TThumbnailItem> items,
                       const bool& closing) {
  size_t count = items.size();
  for (size_t i = 0; i < items.size(); ++i) {
    if (CheckAbort() || closing) {
      count = i;
      break;
    }
    const QImage image = LoadThumbnailImage(FromPath(items[i].BitmapPath));
    grid.Append(image, FromPath(items[i].Caption));
    // The user may scroll, press a button or pick a thumbnail meanwhile.
    QCoreApplication::processEvents();
  }
  if (closing) return false;
  grid.FitPanel();
  status.showMessage(QStringLiteral("ファイル数：") + QString::number(count));
  return true;
}

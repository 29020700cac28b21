#include "qt_metafile_image.h"

#include "qt_metafile_sink.h"

void TQtMetafileImage::Paint(QPainter& painter, const QRectF& destination, const QRectF& source) const {
  if (source.width() == 0 || source.height() == 0 || destination.isNull()) return;
  const double sx = destination.width() / source.width(), sy = destination.height() / source.height();
  QTransform sourceToDestination;
  sourceToDestination.translate(destination.x() - source.x() * sx, destination.y() - source.y() * sy);
  sourceToDestination.scale(sx, sy);
  // Parts of the source beyond the picture stay undrawn.
  const QRectF inside = source.normalized().intersected(QRectF(0, 0, size_.Width, size_.Height));
  if (inside.isEmpty()) return;
  const TPainterStateKeeper keep(painter);
  painter.setClipRect(sourceToDestination.mapRect(inside), Qt::IntersectClip);
  painter.setTransform(sourceToDestination, true);
  painter.setRenderHint(QPainter::Antialiasing, false);
  TQtMetafileSink sink(painter);
  recording_->Replay(sink);
}

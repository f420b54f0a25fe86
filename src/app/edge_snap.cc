#include "app/edge_snap.h"

namespace shifrodel {

QPoint SnapToWorkArea(const QRect& window, const QRect& work_area) {
  // Edges as the system counts them: right and bottom just outside.
  const int left = work_area.x();
  const int top = work_area.y();
  const int right = work_area.x() + work_area.width();
  const int bottom = work_area.y() + work_area.height();
  const int w = window.width();
  const int h = window.height();
  int x = window.x();
  int y = window.y();

  if (x <= left + kSnapDistance) x = left;
  if (x + w >= right - kSnapDistance) x = right - w;
  if (y <= top + kSnapDistance) y = top;
  if (y + h >= bottom - kSnapDistance) y = bottom - h;

  if (x < left) x = left;
  if (x + w > right) x = right - w;
  if (y < top) y = top;
  if (y + h > bottom) y = bottom - h;
  return {x, y};
}

}  // namespace shifrodel

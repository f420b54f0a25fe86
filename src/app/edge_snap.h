// Edge snapping: a window that comes within 20 pixels of an edge of the
// screen's work area sticks to it, and it is never placed past an edge.
#ifndef SHIFRODEL_APP_EDGE_SNAP_H_
#define SHIFRODEL_APP_EDGE_SNAP_H_

#include <QPoint>
#include <QRect>

namespace shifrodel {

inline constexpr int kSnapDistance = 20;

// The top-left corner for a window proposed at `window` (its outer frame),
// within `work_area`. Its size never changes; a window wider or taller than
// the work area ends flush with the right or bottom edge.
QPoint SnapToWorkArea(const QRect& window, const QRect& work_area);

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_EDGE_SNAP_H_

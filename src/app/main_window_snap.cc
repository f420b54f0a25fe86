// Edge snapping of the window. On Windows every placement, the user's drags
// and the program's moves alike, passes WM_WINDOWPOSCHANGING, where the
// proposed position is adjusted before the move. Other platforms have no
// such message: the program's own moves are adjusted before they are made,
// and the user's moves once they have happened.
#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>

#include "app/edge_snap.h"
#include "app/main_window.h"

#ifdef Q_OS_WIN
#include <QtCore/qt_windows.h>
#endif

namespace shifrodel {

#ifdef Q_OS_WIN

void TfmMain::MoveWindow(QPoint top_left) { move(top_left); }

// WMWindowPosChanging, in the system's own pixels.
bool TfmMain::nativeEvent(const QByteArray& type, void* message, qintptr* result) {
  const MSG* msg = static_cast<const MSG*>(message);
  if (type == "windows_generic_MSG" && msg->message == WM_WINDOWPOSCHANGING) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(msg->lParam);
    RECT work;
    if (!(pos->flags & SWP_NOMOVE) && !::IsIconic(pos->hwnd) &&
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
      QSize size(pos->cx, pos->cy);
      if (pos->flags & SWP_NOSIZE) {
        RECT now;
        ::GetWindowRect(pos->hwnd, &now);
        size = QSize(now.right - now.left, now.bottom - now.top);
      }
      const QPoint snapped = SnapToWorkArea(
          QRect(QPoint(pos->x, pos->y), size),
          QRect(work.left, work.top, work.right - work.left, work.bottom - work.top));
      pos->x = snapped.x();
      pos->y = snapped.y();
    }
  }
  return QWidget::nativeEvent(type, message, result);
}

#else

void TfmMain::MoveWindow(QPoint top_left) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    move(top_left);
    return;
  }
  QRect frame = frameGeometry();
  frame.moveTopLeft(top_left);
  const QPoint snapped = SnapToWorkArea(frame, screen->availableGeometry());
  if (snapped != pos()) move(snapped);
}

void TfmMain::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (snapping_ || !isVisible()) return;
  snapping_ = true;
  MoveWindow(pos());
  snapping_ = false;
}

#endif

}  // namespace shifrodel

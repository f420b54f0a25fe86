#include "app/up_down_arrows.h"

#include <QKeyEvent>

namespace shifrodel {
namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow)) {
  setFocusPolicy(Qt::StrongFocus);
  connect(up_, &QToolButton::clicked, this, [this] { emit Stepped(TStepDirection::kUp); });
  connect(down_, &QToolButton::clicked, this, [this] { emit Stepped(TStepDirection::kDown); });
}

void UpDownArrows::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    emit Stepped(TStepDirection::kUp);
  } else if (event->key() == Qt::Key_Down) {
    emit Stepped(TStepDirection::kDown);
  } else {
    QWidget::keyPressEvent(event);
  }
}

void UpDownArrows::resizeEvent(QResizeEvent* event) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
  QWidget::resizeEvent(event);
}

}  // namespace shifrodel

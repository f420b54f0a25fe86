// A pair of up and down arrows beside a field, as udPack is: each click on
// an arrow, and the Up and Down keys while it has the focus, make one step.
#ifndef SHIFRODEL_APP_UP_DOWN_ARROWS_H_
#define SHIFRODEL_APP_UP_DOWN_ARROWS_H_

#include <QToolButton>
#include <QWidget>

#include "app/quality_step.h"

namespace shifrodel {

class UpDownArrows : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownArrows(QWidget* parent = nullptr);

  QToolButton* up() const { return up_; }
  QToolButton* down() const { return down_; }

 signals:
  void Stepped(shifrodel::TStepDirection direction);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_UP_DOWN_ARROWS_H_

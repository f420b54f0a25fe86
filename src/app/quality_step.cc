#include "app/quality_step.h"

#include <algorithm>
#include <cstdint>

#include "app/ui_text.h"
#include "run/quality_text.h"
#include "text/int_text.h"

namespace shifrodel {

std::optional<QString> StepQuality(const QString& text, TStepDirection direction) {
  QString number = text;
  if (number.endsWith(u'%')) number.chop(1);
  if (number.isEmpty()) return std::nullopt;
  std::int64_t value = IntTextOr(ToCp1251(number), kMinQuality);
  value += direction == TStepDirection::kUp ? 1 : -1;
  return QString::number(std::clamp<std::int64_t>(value, kMinQuality, kMaxQuality)) + u'%';
}

}  // namespace shifrodel

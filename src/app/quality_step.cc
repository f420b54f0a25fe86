#include "app/quality_step.h"

#include <algorithm>
#include <cstdint>

#include "app/ui_text.h"
#include "text/int_text.h"

namespace shifrodel {
namespace {

constexpr std::int64_t kLowest = 30;
constexpr std::int64_t kHighest = 100;

}  // namespace

std::optional<QString> StepQuality(const QString& text, TStepDirection direction) {
  QString number = text;
  if (number.endsWith(u'%')) number.chop(1);
  if (number.isEmpty()) return std::nullopt;
  std::int64_t value = IntTextOr(ToCp1251(number), kLowest);
  value += direction == TStepDirection::kUp ? 1 : -1;
  return QString::number(std::clamp(value, kLowest, kHighest)) + u'%';
}

}  // namespace shifrodel

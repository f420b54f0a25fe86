// One step of the JPEG quality in edPack, as the arrows of udPack and the Up
// and Down keys make it: the number moves by one within 30 to 100 and is
// shown with its per-cent sign.
#ifndef SHIFRODEL_APP_QUALITY_STEP_H_
#define SHIFRODEL_APP_QUALITY_STEP_H_

#include <QString>
#include <optional>

namespace shifrodel {

enum class TStepDirection { kUp, kDown };

// The field's text after the step, or nullopt when the field stays as it is
// (it holds nothing but a per-cent sign, or nothing at all). A text that is
// not a number is stepped from 30.
std::optional<QString> StepQuality(const QString& text, TStepDirection direction);

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_QUALITY_STEP_H_

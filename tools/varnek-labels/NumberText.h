// Numbers as the tool reads them from the command line and writes them out.
// Floats are written in the shortest form that reads back to the same bits,
// so every number the tool prints is exactly the library's result.
#ifndef VARNEK_LABELS_NUMBERTEXT_H
#define VARNEK_LABELS_NUMBERTEXT_H

#include <optional>
#include <string>
#include <string_view>

#include <varnek/services/Vector.h>

namespace VarnekLabels {

using Vec3 = Varnek::Vector<float, 3>;

// The shortest decimal text that reads back as exactly this float ("40",
// "0.008", "-1.5e-07"); "nan", "inf" and "-inf" for the non-finite values.
std::string formatFloat(float value);

// The double nearest to formatFloat(value): a JSON writer prints it with the
// same short digits, and a reader that narrows it to float gets value back.
double toShortDouble(float value);

// The whole text as a finite float, or nothing for anything else (blanks,
// trailing characters, "inf", "nan", a value beyond the float range).
std::optional<float> parseFiniteFloat(std::string_view text);

// "W,H" with two finite, non-negative numbers: the label size (W, H, 0).
// Throws UsageError naming option for anything else.
Vec3 parseLabelSize(const std::string& option, const std::string& text);

// A finite number greater than zero. Throws UsageError naming option.
float parsePositiveFloat(const std::string& option, const std::string& text);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_NUMBERTEXT_H

#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "UsageError.h"

namespace VarnekLabels {

std::string formatFloat(float value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0.0f ? "-inf" : "inf";
    }
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

double toShortDouble(float value) {
    if (!std::isfinite(value)) {
        return static_cast<double>(value);
    }
    // from_chars, unlike strtod, reads a '.' whatever the process locale.
    const std::string text = formatFloat(value);
    double result = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

std::optional<float> parseFiniteFloat(std::string_view text) {
    float value = 0.0f;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

Vec3 parseLabelSize(const std::string& option, const std::string& text) {
    const auto comma = text.find(',');
    if (comma != std::string::npos) {
        const std::string_view all(text);
        const auto width = parseFiniteFloat(all.substr(0, comma));
        const auto height = parseFiniteFloat(all.substr(comma + 1));
        if (width && height && *width >= 0.0f && *height >= 0.0f) {
            return Vec3(*width, *height, 0.0f);
        }
    }
    throw rejectedValue(option, text, "WIDTH,HEIGHT with two finite numbers >= 0, e.g. 40,20");
}

float parsePositiveFloat(const std::string& option, const std::string& text) {
    const auto value = parseFiniteFloat(text);
    if (!value || !(*value > 0.0f)) {
        throw rejectedValue(option, text, "a finite number > 0");
    }
    return *value;
}

}  // namespace VarnekLabels

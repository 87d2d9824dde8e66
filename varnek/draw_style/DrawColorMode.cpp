#include <varnek/draw_style/DrawColorMode.h>

#include <array>
#include <cstdint>

#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 4> s_displayTexts = {"RGB", "Index", "Type", "Skin"};
constexpr unsigned int s_numberOfValues = 6;

}  // namespace

bool DrawColorMode::isValid(Enum value) {
    return static_cast<unsigned int>(value) < s_numberOfValues;
}

std::string DrawColorMode::toString(Enum value) {
    const auto index = static_cast<unsigned int>(value);
    const char* text = index < s_displayTexts.size() ? s_displayTexts[index] : "unknown";
    return Translator::translate("DrawColorMode", text, nullptr, -1);
}

std::size_t hash_value(const DrawColorMode& mode) {
    return static_cast<std::size_t>(
        static_cast<std::int64_t>(static_cast<DrawColorMode::Enum>(mode)));
}

}  // namespace Varnek

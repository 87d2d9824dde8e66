#include <varnek/draw_style/DrawColorMode.h>

#include <array>
#include <cstdint>

#include <varnek/draw_style/internal/TableLookup.h>
#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 4> s_displayTexts = {"RGB", "Index", "Type", "Skin"};
constexpr std::size_t s_numberOfValues = 6;

}  // namespace

bool DrawColorMode::isValid(Enum value) noexcept {
    return internal::isIndexBelow(value, s_numberOfValues);
}

std::string DrawColorMode::toString(Enum value) {
    return Translator::translate("DrawColorMode",
                                 internal::lookup(s_displayTexts, value, "unknown"), nullptr, -1);
}

std::size_t hash_value(const DrawColorMode& mode) noexcept {
    return static_cast<std::size_t>(
        static_cast<std::int64_t>(static_cast<DrawColorMode::Enum>(mode)));
}

}  // namespace Varnek

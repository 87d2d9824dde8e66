#include <varnek/draw_style/DrawCoordinates.h>

#include <array>

namespace Varnek {
namespace {

constexpr std::array<const char*, 7> s_hoopsNotations = {
    "object", "world", "viewpoint", "local window", "outer window", "local pixels", "outer pixels"};

}  // namespace

const char* DrawCoordinates::getHoopsNotation(DrawCoordinates value) {
    const auto index = static_cast<unsigned int>(value.m_value);
    return index < s_hoopsNotations.size() ? s_hoopsNotations[index] : nullptr;
}

}  // namespace Varnek

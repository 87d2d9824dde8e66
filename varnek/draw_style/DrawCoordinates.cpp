#include <varnek/draw_style/DrawCoordinates.h>

#include <array>

#include <varnek/draw_style/internal/TableLookup.h>

namespace Varnek {
namespace {

constexpr std::array<const char*, 7> s_hoopsNotations = {
    "object", "world", "viewpoint", "local window", "outer window", "local pixels", "outer pixels"};

}  // namespace

const char* DrawCoordinates::getHoopsNotation(DrawCoordinates value) noexcept {
    return internal::lookup(s_hoopsNotations, value.m_value, nullptr);
}

}  // namespace Varnek

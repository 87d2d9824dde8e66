#include <varnek/draw_style/DrawSymbolPoint.h>

#include <cstdint>

#include <varnek/draw_style/internal/FloatTruncation.h>
#include <varnek/draw_style/internal/TableLookup.h>

namespace Varnek {
namespace {

// The enumerators' names by value. The glyphs (26 on) are known to the
// graphics system by these names too.
// clang-format off
constexpr std::array<const char*, 43> s_names = {
    "Dot", "Star", "Plus", "BoldPlus", "X", "BoldX",
    "FilledCircle", "OpenCircle", "OpenCircleWithDot", "OpenCircleWithPlus", "OpenCircleWithX",
    "OpenCircleWithCircle",
    "FilledDiamond", "OpenDiamond", "OpenDiamondWithDot",
    "FilledBox", "OpenBox", "OpenBoxWithDot",
    "FilledTriangleUp", "FilledTriangleDown", "FilledTriangleLeft", "FilledTriangleRight",
    "OpenTriangleUp", "OpenTriangleDown", "OpenTriangleLeft", "OpenTriangleRight",
    "Tryout", "OpenEndMarker", "ClosedEndMarker", "FldMarker", "SigmaFldNominalMarker",
    "SigmaFldCurrentMarker", "SigmaFldMedianMarker", "NanMarker", "CustomFilledCircle",
    "CustomEmptyCircle", "CustomEmptyBoldCircle", "MeasuringArrow", "MeasuringBar",
    "MeasuringPoint", "SimpleArrowLineEnd", "SimpleBarLineEnd", "EmptyGlyph"};

// The graphics system's marker notations of values 0 to 25. The triangles'
// slashes are literal characters: "/*\\" is slash, asterisk, backslash.
constexpr std::array<const char*, 26> s_markerNotations = {
    ".", "*", "+", "bold+", "X", "boldX",
    "@", "O", "(.)", "(+)", "(x)", "(O)",
    "<*>", "<>", "<.>",
    "[*]", "[]", "[.]",
    "/*\\", "\\*/", "<*|", "|*>",
    "/\\", "\\/", "<|", "|>"};
// clang-format on

char glyphColorByte(float component) {
    const std::int32_t n = internal::truncateToInt32OrZero(component * 255.0F);
    // Keeps the low eight bits, also of a negative product.
    return static_cast<char>(static_cast<unsigned char>(static_cast<std::uint32_t>(n) & 0xFFU));
}

}  // namespace

std::string DrawSymbolPoint::toString(Enum value) {
    // Two glyphs have no display name of their own.
    if (value == CustomEmptyBoldCircle || value == EmptyGlyph) {
        return "unknown";
    }
    return internal::lookup(s_names, value, "unknown");
}

const char* DrawSymbolPoint::getHoopsNotation(DrawSymbolPoint symbol) noexcept {
    if (internal::isIndexBelow(symbol.m_value, s_markerNotations.size())) {
        return s_markerNotations[internal::rowIndex(symbol.m_value)];
    }
    return internal::lookup(s_names, symbol.m_value, nullptr);
}

std::array<char, 3> DrawSymbolPoint::getGlyphColorAsChars(const ColorRGB& color) noexcept {
    return {glyphColorByte(color.red()), glyphColorByte(color.green()),
            glyphColorByte(color.blue())};
}

}  // namespace Varnek

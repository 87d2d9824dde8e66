#include <varnek/draw_style/DrawSymbolPoint.h>

#include <cstdint>

#include <varnek/draw_style/internal/FloatTruncation.h>

namespace Varnek {
namespace {

constexpr unsigned int s_numberOfSymbols = 43;

// Display names by value. Two glyphs have no display name of their own.
constexpr std::array<const char*, s_numberOfSymbols> s_displayNames = {
    "Dot",
    "Star",
    "Plus",
    "BoldPlus",
    "X",
    "BoldX",
    "FilledCircle",
    "OpenCircle",
    "OpenCircleWithDot",
    "OpenCircleWithPlus",
    "OpenCircleWithX",
    "OpenCircleWithCircle",
    "FilledDiamond",
    "OpenDiamond",
    "OpenDiamondWithDot",
    "FilledBox",
    "OpenBox",
    "OpenBoxWithDot",
    "FilledTriangleUp",
    "FilledTriangleDown",
    "FilledTriangleLeft",
    "FilledTriangleRight",
    "OpenTriangleUp",
    "OpenTriangleDown",
    "OpenTriangleLeft",
    "OpenTriangleRight",
    "Tryout",
    "OpenEndMarker",
    "ClosedEndMarker",
    "FldMarker",
    "SigmaFldNominalMarker",
    "SigmaFldCurrentMarker",
    "SigmaFldMedianMarker",
    "NanMarker",
    "CustomFilledCircle",
    "CustomEmptyCircle",
    "unknown",  // CustomEmptyBoldCircle
    "MeasuringArrow",
    "MeasuringBar",
    "MeasuringPoint",
    "SimpleArrowLineEnd",
    "SimpleBarLineEnd",
    "unknown",  // EmptyGlyph
};

// Notations by value. The triangles' slashes are literal characters: "/*\\"
// is the three characters slash, asterisk, backslash.
constexpr std::array<const char*, s_numberOfSymbols> s_hoopsNotations = {
    ".",
    "*",
    "+",
    "bold+",
    "X",
    "boldX",
    "@",
    "O",
    "(.)",
    "(+)",
    "(x)",
    "(O)",
    "<*>",
    "<>",
    "<.>",
    "[*]",
    "[]",
    "[.]",
    "/*\\",
    "\\*/",
    "<*|",
    "|*>",
    "/\\",
    "\\/",
    "<|",
    "|>",
    "Tryout",
    "OpenEndMarker",
    "ClosedEndMarker",
    "FldMarker",
    "SigmaFldNominalMarker",
    "SigmaFldCurrentMarker",
    "SigmaFldMedianMarker",
    "NanMarker",
    "CustomFilledCircle",
    "CustomEmptyCircle",
    "CustomEmptyBoldCircle",
    "MeasuringArrow",
    "MeasuringBar",
    "MeasuringPoint",
    "SimpleArrowLineEnd",
    "SimpleBarLineEnd",
    "EmptyGlyph",
};

char glyphColorByte(float component) {
    const std::int32_t n = internal::truncateToInt32OrZero(component * 255.0F);
    // Keeps the low eight bits, also of a negative product.
    return static_cast<char>(static_cast<unsigned char>(static_cast<std::uint32_t>(n) & 0xFFU));
}

}  // namespace

std::string DrawSymbolPoint::toString(Enum value) {
    const auto index = static_cast<unsigned int>(value);
    return index < s_numberOfSymbols ? s_displayNames[index] : "unknown";
}

const char* DrawSymbolPoint::getHoopsNotation(DrawSymbolPoint symbol) {
    const auto index = static_cast<unsigned int>(symbol.m_value);
    return index < s_numberOfSymbols ? s_hoopsNotations[index] : nullptr;
}

std::array<char, 3> DrawSymbolPoint::getGlyphColorAsChars(const ColorRGB& color) {
    return {glyphColorByte(color.red()), glyphColorByte(color.green()),
            glyphColorByte(color.blue())};
}

}  // namespace Varnek

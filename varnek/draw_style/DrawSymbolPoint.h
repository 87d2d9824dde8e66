// The symbol drawn at a point of the 3D view: a plain marker (dot, cross,
// circle, box, diamond, triangle) or a named glyph defined for the graphics
// system elsewhere. Gives its display name, its graphics-system notation and
// the colour bytes that glyphs take.
#ifndef VARNEK_DRAW_STYLE_DRAWSYMBOLPOINT_H
#define VARNEK_DRAW_STYLE_DRAWSYMBOLPOINT_H

#include <array>
#include <string>

#include <varnek/draw_style/ColorRGB.h>
#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawSymbolPoint {
public:
    // 0 to 25 are marker notations, 26 to 42 names of glyphs.
    enum Enum : int {
        Dot = 0,
        Star = 1,
        Plus = 2,
        BoldPlus = 3,
        X = 4,
        BoldX = 5,
        FilledCircle = 6,
        OpenCircle = 7,
        OpenCircleWithDot = 8,
        OpenCircleWithPlus = 9,
        OpenCircleWithX = 10,
        OpenCircleWithCircle = 11,
        FilledDiamond = 12,
        OpenDiamond = 13,
        OpenDiamondWithDot = 14,
        FilledBox = 15,
        OpenBox = 16,
        OpenBoxWithDot = 17,
        FilledTriangleUp = 18,
        FilledTriangleDown = 19,
        FilledTriangleLeft = 20,
        FilledTriangleRight = 21,
        OpenTriangleUp = 22,
        OpenTriangleDown = 23,
        OpenTriangleLeft = 24,
        OpenTriangleRight = 25,
        Tryout = 26,
        OpenEndMarker = 27,
        ClosedEndMarker = 28,
        FldMarker = 29,
        SigmaFldNominalMarker = 30,
        SigmaFldCurrentMarker = 31,
        SigmaFldMedianMarker = 32,
        NanMarker = 33,
        CustomFilledCircle = 34,
        CustomEmptyCircle = 35,
        CustomEmptyBoldCircle = 36,
        MeasuringArrow = 37,
        MeasuringBar = 38,
        MeasuringPoint = 39,
        SimpleArrowLineEnd = 40,
        SimpleBarLineEnd = 41,
        EmptyGlyph = 42
    };

    // Stores value unchecked.
    DrawSymbolPoint(Enum value) noexcept : m_value(value) {}  // NOLINT(google-explicit-constructor)

    // The stored value, unchecked.
    operator Enum() const noexcept { return m_value; }  // NOLINT(google-explicit-constructor)

    // The enumerator's name, untranslated; "unknown" for CustomEmptyBoldCircle,
    // EmptyGlyph and every value outside 0 to 42.
    static std::string toString(Enum value);

    // Static text the graphics system knows the symbol by, such as "(+)" or
    // "MeasuringArrow"; a null pointer for a value outside 0 to 42.
    static const char* getHoopsNotation(DrawSymbolPoint symbol) noexcept;

    // Red, green and blue bytes: the low eight bits of each component times 255,
    // truncated toward zero (1 gives '\xFF', 0.5 gives 127). Outside 0 to 1 the
    // same rule holds (1.5 gives 126, -0.5 gives 129 as an unsigned byte); a
    // product that is NaN, infinite or outside [-2^31, 2^31) gives 0.
    static std::array<char, 3> getGlyphColorAsChars(const ColorRGB& color) noexcept;

private:
    Enum m_value;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWSYMBOLPOINT_H

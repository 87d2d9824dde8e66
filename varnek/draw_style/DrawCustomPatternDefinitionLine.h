// A custom line style: a definition text in the graphics system's line-style
// syntax together with the colour of the segments it marks as "contrast".
// Immutable once made; the library itself makes the measurement-line pattern.
#ifndef VARNEK_DRAW_STYLE_DRAWCUSTOMPATTERNDEFINITIONLINE_H
#define VARNEK_DRAW_STYLE_DRAWCUSTOMPATTERNDEFINITIONLINE_H

#include <string>

#include <varnek/draw_style/ColorRGB.h>
#include <varnek/draw_style/DrawSymbolPoint.h>
#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawCustomPatternDefinitionLine {
public:
    // Holds copies of both.
    DrawCustomPatternDefinitionLine(const std::string& definition, const ColorRGB& contrastColor);

    // Both constructors copy the two fields: the fields are const, so a move
    // leaves the source with its definition and colour. No assignment exists.
    DrawCustomPatternDefinitionLine(const DrawCustomPatternDefinitionLine& other) = default;
    DrawCustomPatternDefinitionLine(DrawCustomPatternDefinitionLine&& other) = default;
    DrawCustomPatternDefinitionLine& operator=(const DrawCustomPatternDefinitionLine&) = delete;
    DrawCustomPatternDefinitionLine& operator=(DrawCustomPatternDefinitionLine&&) = delete;

    ~DrawCustomPatternDefinitionLine() = default;

    // The definition and the contrast colour, as given.
    const std::string& getDefinition() const { return m_definition; }
    const ColorRGB& getContrastColor() const noexcept { return m_contrastColor; }

    // The dashed double line of a measurement, with the given arrow glyphs and
    // weights at its ends and contrastColor stored unchanged, for example
    // "start arrows = 0.010000wru MeasuringArrow, weighted=2.000000 pixels, end
    // arrows = ..., 6 pixel dash, 4 pixel blank". The first argument is not
    // read. Numbers are written unchecked (negative and zero included); weights
    // as printf's "%f" of the widened float, six rounded decimals and never an
    // exponent, independent of the process locale. Out of contract:
    // - a NaN weight is written "nan" ("-nan" with its sign bit set), an
    //   infinite one "inf" or "-inf";
    // - a symbol outside 0 to 42 has no notation and is written as empty text,
    //   leaving "0.010000wru , weighted=".
    static DrawCustomPatternDefinitionLine createMeasurementLinePatternDefinition(
        float /*unused*/, float startArrowWeight, float endArrowWeight, int dashLength,
        int blankLength, DrawSymbolPoint startSymbol, DrawSymbolPoint endSymbol,
        ColorRGB contrastColor);

private:
    // Takes over a definition that was built for it, saving a copy.
    struct Adopt {};
    DrawCustomPatternDefinitionLine(Adopt, std::string&& definition, const ColorRGB& contrastColor);

    const std::string m_definition;
    const ColorRGB m_contrastColor;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWCUSTOMPATTERNDEFINITIONLINE_H

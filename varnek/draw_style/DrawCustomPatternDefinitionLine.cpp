#include <varnek/draw_style/DrawCustomPatternDefinitionLine.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>
#include <utility>

namespace Varnek {
namespace {

// printf's "%f" of the float widened to double. std::to_chars rounds
// correctly (ties to even, as glibc's printf does) and never consults the
// locale, so the decimal separator is always ".". The largest float takes
// 39 integer digits, so 64 characters always suffice.
class FixedText {
public:
    explicit FixedText(float value) {
        const auto result = std::to_chars(m_buffer.data(), m_buffer.data() + m_buffer.size(),
                                          static_cast<double>(value), std::chars_format::fixed, 6);
        m_length = static_cast<std::size_t>(result.ptr - m_buffer.data());
    }
    std::string_view view() const { return {m_buffer.data(), m_length}; }

private:
    std::array<char, 64> m_buffer{};
    std::size_t m_length = 0;
};

// An int in decimal, "-" before a negative one.
class DecimalText {
public:
    explicit DecimalText(int value) {
        const auto result =
            std::to_chars(m_buffer.data(), m_buffer.data() + m_buffer.size(), value);
        m_length = static_cast<std::size_t>(result.ptr - m_buffer.data());
    }
    std::string_view view() const { return {m_buffer.data(), m_length}; }

private:
    std::array<char, 16> m_buffer{};
    std::size_t m_length = 0;
};

// A symbol's notation; empty for a symbol that has none.
std::string_view notationText(DrawSymbolPoint symbol) {
    const char* notation = DrawSymbolPoint::getHoopsNotation(symbol);
    return notation != nullptr ? std::string_view(notation) : std::string_view();
}

// The size of an arrow glyph, the same for every pattern: "%f" of the
// single-precision 0.01 (which rounds to 0.010000), in world units.
constexpr std::string_view s_arrowGlyphSize = "0.010000wru";

}  // namespace

DrawCustomPatternDefinitionLine::DrawCustomPatternDefinitionLine(const std::string& definition,
                                                                 const ColorRGB& contrastColor)
    : m_definition(definition), m_contrastColor(contrastColor) {}

DrawCustomPatternDefinitionLine::DrawCustomPatternDefinitionLine(Adopt, std::string&& definition,
                                                                 const ColorRGB& contrastColor)
    : m_definition(std::move(definition)), m_contrastColor(contrastColor) {}

DrawCustomPatternDefinitionLine
DrawCustomPatternDefinitionLine::createMeasurementLinePatternDefinition(
    float /*unused*/, float startArrowWeight, float endArrowWeight, int dashLength, int blankLength,
    DrawSymbolPoint startSymbol, DrawSymbolPoint endSymbol, ColorRGB contrastColor) {
    const FixedText startWeight(startArrowWeight);
    const FixedText endWeight(endArrowWeight);
    const DecimalText dash(dashLength);
    const DecimalText blank(blankLength);

    // The centre line is blank; a contrast-dashed line runs 0.5 pixel to one
    // side and a plainly dashed line 0.5 pixel to the other. The weights are
    // "pixels", the offsets and lengths "pixel"; the blank after the end arrow
    // item doubles on purpose.
    // clang-format off
    const std::array<std::string_view, 29> pieces = {
        "start arrows = ", s_arrowGlyphSize, " ", notationText(startSymbol), ", ",
        "weighted=", startWeight.view(), " pixels, ",
        "end arrows = ", s_arrowGlyphSize, " ", notationText(endSymbol), ", ",
        "weighted=", endWeight.view(), " pixels, ",
        " blank, ",
        "parallel, ", "0.5 pixel offset, ",
        dash.view(), " pixel contrast, ", blank.view(), " pixel blank, ",
        "parallel, ", "-0.5 pixel offset, ",
        dash.view(), " pixel dash, ", blank.view(), " pixel blank"};
    // clang-format on

    std::size_t length = 0;
    for (const std::string_view piece : pieces) {
        length += piece.size();
    }
    std::string definition;
    definition.reserve(length);
    for (const std::string_view piece : pieces) {
        definition.append(piece);
    }
    return DrawCustomPatternDefinitionLine(Adopt{}, std::move(definition), contrastColor);
}

}  // namespace Varnek

#include <varnek/draw_style/DrawSymbolPoint.h>

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

namespace Varnek {
namespace {

DrawSymbolPoint::Enum symbol(int value) {
    return static_cast<DrawSymbolPoint::Enum>(value);
}

// All 43 texts of one kind in value order, each followed by one blank.
template <typename Text>
std::string joined(Text text) {
    std::string all;
    for (int value = 0; value < 43; ++value) {
        all += text(symbol(value));
        all += ' ';
    }
    return all;
}

TEST(DrawSymbolPointTest, NamesAndNotationsOfEveryValue) {
    EXPECT_EQ(joined(DrawSymbolPoint::toString),
              "Dot Star Plus BoldPlus X BoldX FilledCircle OpenCircle OpenCircleWithDot "
              "OpenCircleWithPlus OpenCircleWithX OpenCircleWithCircle FilledDiamond OpenDiamond "
              "OpenDiamondWithDot FilledBox OpenBox OpenBoxWithDot FilledTriangleUp "
              "FilledTriangleDown FilledTriangleLeft FilledTriangleRight OpenTriangleUp "
              "OpenTriangleDown OpenTriangleLeft OpenTriangleRight Tryout OpenEndMarker "
              "ClosedEndMarker FldMarker SigmaFldNominalMarker SigmaFldCurrentMarker "
              "SigmaFldMedianMarker NanMarker CustomFilledCircle CustomEmptyCircle unknown "
              "MeasuringArrow MeasuringBar MeasuringPoint SimpleArrowLineEnd SimpleBarLineEnd "
              "unknown ");
    // The triangles' notations are the stored characters: "/*\\" is slash, asterisk, backslash.
    EXPECT_EQ(
        joined([](DrawSymbolPoint s) { return std::string(DrawSymbolPoint::getHoopsNotation(s)); }),
        ". * + bold+ X boldX @ O (.) (+) (x) (O) <*> <> <.> [*] [] [.] /*\\ \\*/ <*| |*> "
        "/\\ \\/ <| |> Tryout OpenEndMarker ClosedEndMarker FldMarker SigmaFldNominalMarker "
        "SigmaFldCurrentMarker SigmaFldMedianMarker NanMarker CustomFilledCircle "
        "CustomEmptyCircle CustomEmptyBoldCircle MeasuringArrow MeasuringBar MeasuringPoint "
        "SimpleArrowLineEnd SimpleBarLineEnd EmptyGlyph ");
}

TEST(DrawSymbolPointTest, ValuesOutsideTheTableAreUnknownWithoutNotation) {
    for (const int value : {43, 44, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(DrawSymbolPoint::toString(symbol(value)), "unknown") << value;
        EXPECT_EQ(DrawSymbolPoint::getHoopsNotation(symbol(value)), nullptr) << value;
    }
}

TEST(DrawSymbolPointTest, GlyphColorBytesKeepTheLowEightBitsOfTheTruncatedProduct) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    const struct {
        ColorRGB color;
        unsigned char red, green, blue;
    } cases[] = {
        {{1.0F, 0.5F, 0.0F}, 0xFF, 0x7F, 0x00},
        {{0.999F, 0.2F, 0.1F}, 254, 51, 25},
        // Out of contract: the same rule, and 0 where the product cannot convert.
        {{1.5F, 2.0F, -0.5F}, 126, 254, 129},
        {{nan, inf, -inf}, 0, 0, 0},
        {{8421504.0F, -8421504.0F, 8421505.0F}, 0x80, 0x80, 0},
    };
    for (const auto& c : cases) {
        const auto bytes = DrawSymbolPoint::getGlyphColorAsChars(c.color);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), c.red) << c.color.red();
        EXPECT_EQ(static_cast<unsigned char>(bytes[1]), c.green) << c.color.green();
        EXPECT_EQ(static_cast<unsigned char>(bytes[2]), c.blue) << c.color.blue();
    }
    EXPECT_EQ(DrawSymbolPoint::getGlyphColorAsChars(ColorRGB(1.0F, 1.0F, 1.0F))[0], '\xFF');
}

}  // namespace
}  // namespace Varnek

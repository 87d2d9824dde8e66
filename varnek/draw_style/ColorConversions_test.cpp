// A colour's two conversions: the fixed-width colour text, written anew or in
// place, and the glyph colour bytes of a point symbol. Both truncate single-
// precision products, and both answer every out-of-contract float.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include <varnek/draw_style/ColorRGB.h>
#include <varnek/draw_style/DrawSymbolPoint.h>

namespace Varnek {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

TEST(ColorConversionsTest, TextTruncatesTheSinglePrecisionProducts) {
    const struct {
        ColorRGB color;
        const char* text;
    } cases[] = {
        {{1.0F, 0.0F, 0.5F}, "r=1.000 g=0.000 b=0.500"},
        {{0.1F, 0.3F, 0.7F}, "r=0.100 g=0.300 b=0.700"},
        {{0.29F, 0.999F, 0.12345F}, "r=0.289 g=0.998 b=0.123"},
        {{0.0005F, std::nextafter(1.0F, 0.0F), 1.0F}, "r=0.000 g=0.999 b=1.000"},
        // Out of contract: the integer part is dropped, a negative remainder
        // gives characters below '0', and an unconvertible product gives '0'.
        {{1.5F, 10.0F, std::nextafter(1.0F, 2.0F)}, "r=0.500 g=0.000 b=0.000"},
        {{-0.5F, -0.123F, -1.0F}, "r=0.+00 g=0./.- b=0.000"},
        {{nan, inf, -inf}, "r=0.000 g=0.000 b=0.000"},
        // -2^31 itself converts; 2^31 does not.
        {{214748336.0F, -214748368.0F, 214748368.0F}, "r=0.200 g=0.(00 b=0.000"},
    };
    for (const auto& c : cases) {
        const ColorRGB& k = c.color;
        EXPECT_EQ(ColorRGB::toString(k), c.text);
        EXPECT_EQ(ColorRGB::toString(std::array<float, 3>{k.red(), k.green(), k.blue()}), c.text);
        EXPECT_EQ(ColorRGB::toString(k.red(), k.green(), k.blue()).size(), 23U);
        std::string patched(ColorRGB::s_textLength, '#');
        ColorRGB::toStringAt(patched, 0, k);
        EXPECT_EQ(patched, c.text);
    }
}

TEST(ColorConversionsTest, WritingInPlaceTouchesOnlyTheTwentyThreeCharacters) {
    std::string text = "ABCDxxxxxxxxxxxxxxxxxxxxxxxWXYZ";
    const char* const data = text.data();
    ColorRGB::toStringAt(text, 4, std::array<float, 3>{0.25F, 0.5F, 0.75F});
    EXPECT_EQ(text, "ABCDr=0.250 g=0.500 b=0.750WXYZ");
    EXPECT_EQ(text.data(), data);

    // Out of contract: a position that does not fit leaves the text unchanged.
    const struct {
        std::size_t length;
        int position;
    } cases[] = {{22, 0}, {30, 8}, {31, -1}, {31, INT_MIN}, {31, INT_MAX}, {0, 0}};
    for (const auto& c : cases) {
        std::string unchanged(c.length, '#');
        ColorRGB::toStringAt(unchanged, c.position, ColorRGB(0.5F, 0.5F, 0.5F));
        EXPECT_EQ(unchanged, std::string(c.length, '#')) << c.length << " at " << c.position;
    }
}

TEST(ColorConversionsTest, GlyphBytesKeepTheLowEightBitsOfTheTruncatedProduct) {
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
}

}  // namespace
}  // namespace Varnek

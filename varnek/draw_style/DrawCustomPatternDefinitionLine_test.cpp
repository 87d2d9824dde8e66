// The custom line pattern: the measurement-line definition text piece by
// piece, its number formats, and the type's copy-only value semantics.
#include <varnek/draw_style/DrawCustomPatternDefinitionLine.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

namespace Varnek {
namespace {

using Line = DrawCustomPatternDefinitionLine;

std::string measurementLine(float startWeight, int dash, DrawSymbolPoint start) {
    return Line::createMeasurementLinePatternDefinition(0.0F, startWeight, 1.0F, dash, 4, start,
                                                        DrawSymbolPoint::Dot, ColorRGB())
        .getDefinition();
}

// The start arrow's glyph and weight: "<notation>, weighted=<weight>".
std::string startArrowItem(float weight, DrawSymbolPoint symbol) {
    const std::string text = measurementLine(weight, 6, symbol);
    const std::string::size_type begin = std::string("start arrows = 0.010000wru ").size();
    return text.substr(begin, text.find(" pixels, end") - begin);
}

TEST(DrawCustomPatternDefinitionLineTest, MeasurementLineIsTheTwentyNinePieces) {
    const char* const example =
        "start arrows = 0.010000wru MeasuringArrow, weighted=2.000000 pixels, end arrows = "
        "0.010000wru MeasuringBar, weighted=1.500000 pixels,  blank, parallel, 0.5 pixel "
        "offset, 6 pixel contrast, 4 pixel blank, parallel, -0.5 pixel offset, 6 pixel dash, 4 "
        "pixel blank";
    for (const float ignored : {1.0F, -7.0F, std::numeric_limits<float>::quiet_NaN()}) {
        const Line line = Line::createMeasurementLinePatternDefinition(
            ignored, 2.0F, 1.5F, 6, 4, DrawSymbolPoint::MeasuringArrow,
            DrawSymbolPoint::MeasuringBar, ColorRGB(1.0F, 1.0F, 1.0F));
        EXPECT_EQ(line.getDefinition(), example);
        EXPECT_EQ(line.getContrastColor(), ColorRGB(1.0F, 1.0F, 1.0F));
    }
}

TEST(DrawCustomPatternDefinitionLineTest, WeightsAreWrittenLikePrintfFixed) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float weight;
        const char* text;
    } cases[] = {
        {-1.25F, "-1.250000"},
        {123.456F, "123.456001"},  // the single-precision value shows
        {1e6F, "1000000.000000"},
        {-0.0F, "-0.000000"},
        {0.0078125F, "0.007812"},  // exact ties round to even
        {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440.000000"},
        // Out of contract.
        {nan, "nan"},
        {std::copysign(nan, -1.0F), "-nan"},
        {inf, "inf"},
        {-inf, "-inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(startArrowItem(c.weight, DrawSymbolPoint::Dot),
                  std::string("., weighted=") + c.text);
    }
}

TEST(DrawCustomPatternDefinitionLineTest, LengthsAndSymbolsAreWrittenUnchanged) {
    const std::string negative = measurementLine(1.0F, -3, DrawSymbolPoint::Dot);
    EXPECT_NE(negative.find(", -3 pixel contrast, 4 pixel blank,"), std::string::npos);
    EXPECT_NE(negative.find(", -3 pixel dash, 4 pixel blank"), std::string::npos);
    EXPECT_EQ(startArrowItem(1.0F, DrawSymbolPoint::FilledTriangleUp), "/*\\, weighted=1.000000");
    // Out of contract: a symbol without notation is written as empty text.
    EXPECT_EQ(startArrowItem(1.0F, static_cast<DrawSymbolPoint::Enum>(43)), ", weighted=1.000000");
}

// Runs only where a comma-decimal locale is installed; std::to_chars never
// consults the locale, so the text cannot change.
TEST(DrawCustomPatternDefinitionLineTest, DecimalPointIgnoresTheProcessLocale) {
    const std::string expected = measurementLine(1.5F, 6, DrawSymbolPoint::Dot);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) {
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    const std::string underComma = measurementLine(1.5F, 6, DrawSymbolPoint::Dot);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(underComma, expected);
}

TEST(DrawCustomPatternDefinitionLineTest, IsImmutableAndMovingCopies) {
    static_assert(!std::is_copy_assignable<Line>::value, "no assignment");
    static_assert(!std::is_move_assignable<Line>::value, "no assignment");
    Line source("parallel, 2 pixel dash", ColorRGB(0.25F, 0.5F, 0.75F));
    const Line copy(source);
    const Line moved(std::move(source));
    // Reading the moved-from source is the point of this test.
    // NOLINTNEXTLINE(bugprone-use-after-move)
    for (const Line* line : {static_cast<const Line*>(&source), &copy, &moved}) {
        EXPECT_EQ(line->getDefinition(), "parallel, 2 pixel dash");
        EXPECT_EQ(line->getContrastColor(), ColorRGB(0.25F, 0.5F, 0.75F));
    }
}

}  // namespace
}  // namespace Varnek

#include <varnek/draw_style/DrawPatternFace.h>

#include <gtest/gtest.h>

#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

TEST(DrawPatternFaceTest, EveryValueHasItsTranslatedNameAndFillText) {
    // "unknown" is translated in this type's context only, so "?" shows both
    // the exact source text and the context; "Solid" of another context is not.
    Translator::addTranslation("DrawPatternFace", "unknown", "?");
    Translator::addTranslation("DrawPatternLine", "Solid", "Voll");
    const struct {
        int value;
        const char* text;
        const char* hoops;
    } cases[] = {{0, "Solid", "solid"},       {1, "Crosshatch", "##"}, {2, "VerticalBars", "||"},
                 {3, "HorizontalBars", "=="}, {4, "SlantRight", "//"}, {5, "SlantLeft", "\\"},
                 {6, "Dotted", "::"},         {7, "Diamonds", "<><>"}, {8, "Checkerboard", "[] []"},
                 {9, "?", "solid"},           {-1, "?", "solid"}};
    for (const auto& c : cases) {
        const DrawPatternFace value(static_cast<DrawPatternFace::Pattern>(c.value));
        EXPECT_EQ(value.toString(), c.text) << c.value;
        EXPECT_STREQ(DrawPatternFace::getHoopsNotation(value), c.hoops) << c.value;
    }
    Translator::clearTranslations();
    EXPECT_EQ(DrawPatternFace(), DrawPatternFace::Solid);
}

}  // namespace
}  // namespace Varnek

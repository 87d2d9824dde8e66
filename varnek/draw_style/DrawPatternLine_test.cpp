#include <varnek/draw_style/DrawPatternLine.h>

#include <gtest/gtest.h>

#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

TEST(DrawPatternLineTest, EveryValueHasItsTranslatedNameAndLineText) {
    // "unknown" is translated in this type's context only, so "?" shows both
    // the exact source text and the context; "Solid" of another context is not.
    Translator::addTranslation("DrawPatternLine", "unknown", "?");
    Translator::addTranslation("DrawPatternFace", "Solid", "Voll");
    const struct {
        int value;
        const char* text;
        const char* hoops;
    } cases[] = {{0, "Solid", "---"},  {1, "Dashed", "- -"},         {2, "LongDashed", "-- --"},
                 {3, "Dotted", "..."}, {4, "FineDotted", "finedot"}, {5, "DotDotDash", "..-"},
                 {6, "DotDash", ".-"}, {7, "Custom", "custom"},      {8, "?", nullptr},
                 {-1, "?", nullptr}};
    for (const auto& c : cases) {
        const auto value = static_cast<DrawPatternLine::Enum>(c.value);
        EXPECT_EQ(DrawPatternLine::toString(value), c.text) << c.value;
        EXPECT_STREQ(DrawPatternLine::getHoopsNotation(value), c.hoops) << c.value;
    }
    Translator::clearTranslations();
}

}  // namespace
}  // namespace Varnek

#include <varnek/draw_style/DrawSizeReference.h>

#include <gtest/gtest.h>

#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

TEST(DrawSizeReferenceTest, EveryValueHasItsUntranslatedNameAndUnit) {
    const struct {
        int value;
        const char* text;
        const char* hoops;
    } cases[] = {{0, "world", "wsu"},          {1, "object", "oru"},
                 {2, "windowfraction", "wru"}, {3, "outerwindowfraction", "sru"},
                 {4, "pixel", "px"},           {5, "point", "pt"},
                 {6, "undefined", nullptr},    {-1, "undefined", nullptr}};
    Translator::addTranslation("DrawSizeReference", "pixel", "Pixel");
    for (const auto& c : cases) {
        const auto value = static_cast<DrawSizeReference::Enum>(c.value);
        EXPECT_EQ(DrawSizeReference::toString(value), c.text) << c.value;
        EXPECT_STREQ(DrawSizeReference::getHoopsNotation(value), c.hoops) << c.value;
    }
    Translator::clearTranslations();
}

}  // namespace
}  // namespace Varnek

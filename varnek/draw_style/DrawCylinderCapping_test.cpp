#include <varnek/draw_style/DrawCylinderCapping.h>

#include <gtest/gtest.h>

#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

TEST(DrawCylinderCappingTest, EveryValueHasItsUntranslatedNameAndCappingText) {
    const struct {
        int value;
        const char* text;
        const char* hoops;
    } cases[] = {{0, "None", "none"}, {1, "First", "first"},   {2, "Second", "second"},
                 {3, "Both", "both"}, {4, "unknown", nullptr}, {-1, "unknown", nullptr}};
    Translator::addTranslation("DrawCylinderCapping", "Both", "Beide");
    for (const auto& c : cases) {
        const auto value = static_cast<DrawCylinderCapping::Enum>(c.value);
        EXPECT_EQ(DrawCylinderCapping::toString(value), c.text) << c.value;
        EXPECT_STREQ(DrawCylinderCapping::getHoopsNotation(value), c.hoops) << c.value;
    }
    Translator::clearTranslations();
}

}  // namespace
}  // namespace Varnek

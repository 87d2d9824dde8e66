#include <varnek/draw_style/DrawDisplacement.h>

#include <gtest/gtest.h>

namespace Varnek {
namespace {

TEST(DrawDisplacementTest, EveryLevelHasItsValueAndName) {
    const struct {
        int level;
        float value;
        const char* text;
    } cases[] = {{0, 0.0f, "None"},    {1, -2.0f, "Low"},      {2, -4.0f, "Medium"},
                 {3, -6.0f, "High"},   {4, -10.0f, "Highest"}, {5, 0.0f, "Unknown"},
                 {-1, 0.0f, "Unknown"}};
    for (const auto& c : cases) {
        const auto level = static_cast<DrawDisplacement::Enum>(c.level);
        EXPECT_EQ(DrawDisplacement::getValue(level), c.value) << c.level;
        EXPECT_EQ(DrawDisplacement::toString(level), c.text) << c.level;
    }
}

}  // namespace
}  // namespace Varnek

#include <varnek/draw_style/DrawTextAlignmentPoint.h>

#include <gtest/gtest.h>

namespace Varnek {
namespace {

TEST(DrawTextAlignmentPointTest, EveryValueHasItsAlignmentText) {
    const struct {
        int value;
        const char* hoops;
    } cases[] = {{0, "<*"}, {1, "<^"}, {2, "<v"}, {3, ">*"},    {4, ">^"},    {5, ">v"},
                 {6, "*"},  {7, "*^"}, {8, "*v"}, {9, nullptr}, {-1, nullptr}};
    for (const auto& c : cases) {
        const auto value = static_cast<DrawTextAlignmentPoint::Enum>(c.value);
        EXPECT_STREQ(DrawTextAlignmentPoint::getHoopsNotation(value), c.hoops) << c.value;
    }
}

}  // namespace
}  // namespace Varnek

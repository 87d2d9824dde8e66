#include <varnek/draw_style/DrawCoordinates.h>

#include <gtest/gtest.h>

namespace Varnek {
namespace {

TEST(DrawCoordinatesTest, EveryValueHasItsSpaceText) {
    const struct {
        int value;
        const char* hoops;
    } cases[] = {{0, "object"},       {1, "world"},        {2, "viewpoint"},
                 {3, "local window"}, {4, "outer window"}, {5, "local pixels"},
                 {6, "outer pixels"}, {7, nullptr},        {-1, nullptr}};
    for (const auto& c : cases) {
        const auto value = static_cast<DrawCoordinates::Enum>(c.value);
        EXPECT_STREQ(DrawCoordinates::getHoopsNotation(value), c.hoops) << c.value;
    }
}

}  // namespace
}  // namespace Varnek

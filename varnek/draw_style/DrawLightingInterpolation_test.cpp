#include <varnek/draw_style/DrawLightingInterpolation.h>

#include <gtest/gtest.h>

namespace Varnek {
namespace {

TEST(DrawLightingInterpolationTest, EveryValueHasItsWholeSetting) {
    const struct {
        int value;
        const char* hoops;
    } cases[] = {{0, "No lighting interpolation"},
                 {1, "lighting interpolation = gouraud"},
                 {2, "lighting interpolation = phong"},
                 {3, "lighting interpolation = gooch"},
                 {4, nullptr},
                 {-1, nullptr}};
    for (const auto& c : cases) {
        const auto value = static_cast<DrawLightingInterpolation::Enum>(c.value);
        EXPECT_STREQ(DrawLightingInterpolation::getHoopsNotation(value), c.hoops) << c.value;
    }
}

}  // namespace
}  // namespace Varnek

#include <varnek/draw_style/DrawShaderAffectedTypesCollection.h>

#include <gtest/gtest.h>

#include <vector>

namespace Varnek {
namespace {

using T = DrawShaderAffectedType;

TEST(DrawShaderAffectedTypesCollectionTest, FlagsAndTextFollowTheListWithPointsForNone) {
    const struct {
        std::vector<T> list;
        unsigned int mask;  // bit i: kind i affected
        const char* text;
    } cases[] = {
        {{}, 0x1, "points"},
        {{T::Triangles, T::Points}, 0x5, "points,triangles"},
        {{T::Lines, T(-1), T::Lines}, 0x2, "lines"},
        {{T::Triangles, T::Lines, T::Points}, 0x7, "points,lines,triangles"},
        {{T(3)}, 0x0, ""},
    };
    for (const auto& c : cases) {
        const DrawShaderAffectedTypesCollection set(c.list);
        SCOPED_TRACE(c.text);
        for (int type = -1; type <= 3; ++type) {
            const bool expected = type >= 0 && type < 3 && ((c.mask >> type) & 1u) != 0;
            EXPECT_EQ(set.isTypeAffected(T(type)), expected) << type;
        }
        EXPECT_EQ(set.getHoopsNotation(), c.text);
    }
}

}  // namespace
}  // namespace Varnek

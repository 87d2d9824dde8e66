// The value types' rules beyond their texts: defaults, validity, the mesh
// style cycle and integer constructor, hashing, the visible set of each mesh
// style, and the random label offset.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <varnek/draw_style/DrawColorMode.h>
#include <varnek/draw_style/DrawPatternFace.h>
#include <varnek/draw_style/DrawStyleMesh.h>
#include <varnek/draw_style/DrawZLayer.h>

namespace Varnek {
namespace {

TEST(DrawStyleValuesTest, DefaultsValidityAndHash) {
    EXPECT_EQ(DrawColorMode(), DrawColorMode::Index);
    EXPECT_EQ(DrawPatternFace(), DrawPatternFace::Solid);
    EXPECT_EQ(DrawStyleMesh(), DrawStyleMesh::Filled);
    for (int value = -1; value <= 7; ++value) {
        // Colour modes 4 and 5 are valid although they have no name.
        EXPECT_EQ(DrawColorMode::isValid(static_cast<DrawColorMode::Enum>(value)),
                  value >= 0 && value <= 5)
            << value;
        EXPECT_EQ(DrawStyleMesh::isValid(static_cast<DrawStyleMesh::Enum>(value)),
                  value >= 0 && value <= 5)
            << value;
    }
    EXPECT_FALSE(DrawColorMode::isValid(static_cast<DrawColorMode::Enum>(INT32_MIN)));
    EXPECT_EQ(hash_value(DrawColorMode(DrawColorMode::Skin)), 3U);
    EXPECT_EQ(hash_value(DrawStyleMesh(DrawStyleMesh::Wire)), 3U);
    EXPECT_EQ(hash_value(DrawColorMode(static_cast<DrawColorMode::Enum>(-1))), SIZE_MAX);
    EXPECT_EQ(hash_value(DrawStyleMesh(static_cast<DrawStyleMesh::Enum>(-1))), SIZE_MAX);
}

TEST(DrawStyleValuesTest, MeshStyleFromIntAndNext) {
    const struct {
        int value;
        int fromInt;  // what the integer constructor stores
        int next;     // the signed remainder, taken without wrapping around
    } cases[] = {{0, 0, 1},  {4, 4, 5},   {5, 5, 0},         {6, 0, 1},
                 {-1, 0, 0}, {-2, 0, -1}, {INT32_MAX, 0, 2}, {INT32_MIN, 0, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(DrawStyleMesh(c.value), c.fromInt) << c.value;
        EXPECT_EQ(DrawStyleMesh::next(static_cast<DrawStyleMesh::Enum>(c.value)), c.next)
            << c.value;
    }
}

TEST(DrawStyleValuesTest, MeshStyleVisibleSets) {
    const std::string head = "images=off,text=off,markers=off,vertices=off,edges=";
    const char* const tails[] = {
        "(off,perimeters=off),lines=off,faces=off",  // -1
        "(off,perimeters=off),lines=off,faces=off",  // None
        "(off,perimeters=off),lines=off,faces=on",  "(on,perimeters=off),lines=off,faces=on",
        "(on,perimeters=off),lines=off,faces=off",  "(off,perimeters=on),lines=off,faces=off",
        "(off,perimeters=on),lines=off,faces=on",
        "(off,perimeters=off),lines=off,faces=off",  // 6
    };
    for (int value = -1; value <= 6; ++value) {
        const DrawVisibleTypesCollection visible =
            DrawStyleMesh::getVisibleTypes(static_cast<DrawStyleMesh::Enum>(value));
        EXPECT_EQ(visible.getHoopsNotation(), head + tails[value + 1]) << value;
        // None and out-of-range styles give the default, empty set.
        EXPECT_EQ(visible.anyTypeVisible(), value >= 1 && value <= 5) << value;
    }
}

TEST(DrawStyleValuesTest, LabelOffsetIsOneRandDrawOverThe15BitRange) {
    if (RAND_MAX != 32767 && RAND_MAX != INT_MAX) {
        GTEST_SKIP() << "the expected draws are known for two RAND_MAX values only";
    }
    // A 31-bit draw is brought down to its high 15 bits. The sequence is long
    // enough to hit both ends of the range.
    const int shift = RAND_MAX == 32767 ? 0 : 16;
    std::srand(7);
    std::vector<int> draws(400000);
    for (int& draw : draws) {
        draw = std::rand() >> shift;
    }
    std::srand(7);
    bool sawZero = false;
    bool sawOne = false;
    for (const int draw : draws) {
        const float offset = DrawZLayer::computeRandomLabelOffset();
        // A quotient of 15-bit integers rounds the same through double.
        ASSERT_EQ(offset, static_cast<float>(draw / 32767.0)) << draw;
        sawZero = sawZero || (draw == 0 && offset == 0.0F);
        sawOne = sawOne || (draw == 32767 && offset == 1.0F);
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawOne);
}

}  // namespace
}  // namespace Varnek

#include <varnek/label_placement/internal/BoxGrid.h>

#include <cstddef>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

bool sharesAPoint(const LabelRect& a, const LabelRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// Random boxes inserted, some taken out again as the last: every query
// visits each box that shares a point with it exactly once, and none taken
// out.
TEST(BoxGrid, VisitsEveryBoxNearOnceAndForgetsTheOnesTakenOut) {
    UniformGrid layout;
    layout.reset({0, 0, 200, 100}, 10, 10, 1000);
    BoxGrid grid;
    grid.reset(layout, 4, 4);
    std::mt19937 random(5u);
    std::uniform_real_distribution<float> position(-20.0f, 220.0f);
    std::uniform_real_distribution<float> extent(0.0f, 60.0f);
    const auto randomBox = [&] {
        const float x = position(random);
        const float y = position(random) * 0.5f;
        return LabelRect{x, y, x + extent(random), y + extent(random)};
    };
    std::vector<LabelRect> boxes;
    for (int n = 0; n < 400; ++n) {
        boxes.push_back(randomBox());
        grid.insert(boxes.back());
        if (n % 3 == 2) {
            boxes.pop_back();
            grid.removeLast();
        }
        ASSERT_EQ(grid.size(), boxes.size());
        const LabelRect query = randomBox();
        std::vector<int> visits(boxes.size() + 1, 0);
        grid.forEachNear(query, [&](std::size_t box) { ++visits[box]; });
        for (std::size_t b = 0; b <= boxes.size(); ++b) {
            const bool near = b < boxes.size() && sharesAPoint(boxes[b], query);
            // Boxes in the query's cells that share no point may be visited.
            EXPECT_TRUE(near ? visits[b] == 1 : visits[b] <= 1) << "box " << b << " at " << n;
        }
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek

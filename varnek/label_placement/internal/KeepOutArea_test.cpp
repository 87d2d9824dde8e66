#include <varnek/label_placement/internal/KeepOutArea.h>

#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace Varnek {
namespace internal {
namespace {

TEST(KeepOutArea, ARoomNearARectangleIsReadOnceUnlessItIsTheOwnersOrTheRectangleHasNoCells) {
    // A 320 x 320 view: the rooms' cells are 10 x 10. Room 7 spans many
    // cells; room 8 lies far from every rectangle asked about; half the gap
    // is 1.
    KeepOutArea area;
    std::vector<KeepOutArea::Room> rooms;
    rooms.reserve(4);
    rooms.push_back({{0.0f, 0.0f, 200.0f, 20.0f}, 7});
    rooms.push_back({{300.0f, 300.0f, 310.0f, 310.0f}, 8});
    area.setRooms(rooms, {0.0f, 0.0f, 320.0f, 320.0f}, 1.0f);
    struct Case {
        const char* what;
        LabelRect rect;
        std::uint32_t owner;
        int visits;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"across the room's cells", {50.0f, 5.0f, 150.0f, 15.0f}, 1, 1},
        {"the owner's own room", {50.0f, 5.0f, 150.0f, 15.0f}, 7, 0},
        {"within the gap below", {50.0f, 21.5f, 60.0f, 30.0f}, 1, 1},
        {"beyond the gap", {50.0f, 22.5f, 60.0f, 30.0f}, 1, 0},
        {"inverted", {100.0f, 0.0f, 5.0f, 5.0f}, 1, 0},
        {"a NaN side", {nan, 0.0f, 100.0f, 5.0f}, 1, 0},
    };
    for (const Case& c : cases) {
        int visits = 0;
        area.forEachRoomNear(c.rect, c.owner, [&](const LabelRect&) { ++visits; });
        EXPECT_EQ(visits, c.visits) << c.what;
        EXPECT_EQ(area.blocksForOthersRooms(c.rect, c.owner), c.visits != 0) << c.what;
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek

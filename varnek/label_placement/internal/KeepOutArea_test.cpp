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

TEST(KeepOutArea, AnAnchorMayReachARoomWithinTheReachAndTheGap) {
    // A 640 x 640 view: the reach's cells are 10 x 10. The room grown by
    // half the gap (1) spans 299..311 each way; with a reach of 20 an anchor
    // from 278 to 332 may have a label there. The same in units 2^20 times
    // smaller: the margin is relative to the coordinates.
    for (const float scale : {1.0f, 1.0f / 1048576.0f}) {
        SCOPED_TRACE(scale);
        KeepOutArea area;
        std::vector<KeepOutArea::Room> rooms{
            {{300.0f * scale, 300.0f * scale, 310.0f * scale, 310.0f * scale}, 3}};
        area.setRooms(rooms, {0.0f, 0.0f, 640.0f * scale, 640.0f * scale}, scale);
        EXPECT_TRUE(area.mayReachRoom(100.0f * scale, 100.0f * scale))
            << "every anchor until the reach is known";
        area.setRoomReach(20.0f * scale);
        struct Case {
            float x;
            float y;
            bool may;
        };
        const Case cases[] = {
            {305.0f, 305.0f, true},  {278.5f, 305.0f, true},  {331.5f, 331.5f, true},
            {345.0f, 305.0f, false}, {305.0f, 265.0f, false}, {100.0f, 100.0f, false},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(area.mayReachRoom(c.x * scale, c.y * scale), c.may) << c.x << ", " << c.y;
        }
        area.setRoomReach(std::numeric_limits<float>::infinity());
        EXPECT_TRUE(area.mayReachRoom(0.0f, 640.0f * scale))
            << "an infinite reach reaches from anywhere";
    }
}

}  // namespace
}  // namespace internal
}  // namespace Varnek

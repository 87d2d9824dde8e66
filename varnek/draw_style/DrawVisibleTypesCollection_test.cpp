#include <varnek/draw_style/DrawVisibleTypesCollection.h>

#include <gtest/gtest.h>

#include <vector>

namespace Varnek {
namespace {

using V = DrawVisibleType;

TEST(DrawVisibleTypesCollectionTest, FlagsAnyTypeAndTextFollowTheList) {
    const struct {
        std::vector<V> list;
        unsigned int mask;  // bit i: kind i visible
        bool any;
        const char* text;  // from "edges=" on; the four kinds before are off unless listed
    } cases[] = {
        {{}, 0x00, false, "edges=(off,perimeters=off),lines=off,faces=off"},
        {{V(8)}, 0x00, true, "edges=(off,perimeters=off),lines=off,faces=off"},
        {{V::Faces, V::Edges}, 0x90, true, "edges=(on,perimeters=off),lines=off,faces=on"},
        {{V(-1), V::Perimeters, V(8)}, 0x20, true, "edges=(off,perimeters=on),lines=off,faces=off"},
        {{V::Lines, V::Lines}, 0x40, true, "edges=(off,perimeters=off),lines=on,faces=off"},
    };
    const std::string head = "images=off,text=off,markers=off,vertices=off,";
    for (const auto& c : cases) {
        const DrawVisibleTypesCollection set(c.list);
        SCOPED_TRACE(c.text);
        for (int type = -1; type <= 8; ++type) {
            const bool expected = type >= 0 && type < 8 && ((c.mask >> type) & 1u) != 0;
            EXPECT_EQ(set.isDrawTypeVisible(V(type)), expected) << type;
        }
        EXPECT_EQ(set.anyTypeVisible(), c.any);
        EXPECT_EQ(set.getHoopsNotation(), head + c.text);
    }
    const DrawVisibleTypesCollection front({V::Images, V::Text, V::Markers, V::Vertices});
    EXPECT_EQ(front.getHoopsNotation(),
              "images=on,text=on,markers=on,vertices=on,edges=(off,perimeters=off),lines=off,"
              "faces=off");
    EXPECT_FALSE(DrawVisibleTypesCollection().anyTypeVisible());
    EXPECT_EQ(DrawVisibleTypesCollection().getHoopsNotation(), head + cases[0].text);
}

}  // namespace
}  // namespace Varnek

#include <varnek/draw_style/DrawSelectableTypesCollection.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Varnek {
namespace {

using S = DrawSelectableType;

TEST(DrawSelectableTypesCollectionTest, FlagsAnyTypeAndTextFollowTheList) {
    const struct {
        std::vector<S> list;
        unsigned int mask;  // bit i: kind i selectable
        bool any;
        const char* text;  // from "edges=" on; the four kinds before are off
    } cases[] = {
        {{}, 0x00, false, "edges=off,lines=off,faces=off"},
        {{S(7)}, 0x00, true, "edges=off,lines=off,faces=off"},
        {{S::Edges, S(-1), S::Faces}, 0x50, true, "edges=on,lines=off,faces=on"},
        {{S::Lines, S::Lines}, 0x20, true, "edges=off,lines=on,faces=off"},
    };
    const std::string head = "images=off,text=off,markers=off,vertices=off,";
    for (const auto& c : cases) {
        const DrawSelectableTypesCollection set(c.list);
        SCOPED_TRACE(c.text);
        for (int type = -1; type <= 7; ++type) {
            const bool expected = type >= 0 && type < 7 && ((c.mask >> type) & 1u) != 0;
            EXPECT_EQ(set.isDrawTypeSelectable(S(type)), expected) << type;
        }
        EXPECT_EQ(set.anyTypeSelectable(), c.any);
        EXPECT_EQ(set.getHoopsNotation(), head + c.text);
    }
    const DrawSelectableTypesCollection front({S::Images, S::Text, S::Markers, S::Vertices});
    EXPECT_EQ(front.getHoopsNotation(),
              "images=on,text=on,markers=on,vertices=on,edges=off,lines=off,faces=off");
    EXPECT_FALSE(DrawSelectableTypesCollection().anyTypeSelectable());
    EXPECT_EQ(DrawSelectableTypesCollection().getHoopsNotation(), head + cases[0].text);
}

}  // namespace
}  // namespace Varnek

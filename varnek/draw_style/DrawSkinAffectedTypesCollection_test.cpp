#include <varnek/draw_style/DrawSkinAffectedTypesCollection.h>

#include <gtest/gtest.h>

#include <vector>

namespace Varnek {
namespace {

using T = DrawSkinAffectedType;

TEST(DrawSkinAffectedTypesCollectionTest, TextListsTheFlaggedKindsInOrder) {
    const struct {
        std::vector<T> list;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{T::Faces, T::Edges}, "edges,faces"},
        {{T::Vertices, T(-1), T::Markers, T::Vertices}, "markers,vertices"},
        {{T::Faces, T::Edges, T::Vertices, T::Markers}, "markers,vertices,edges,faces"},
        {{T(4)}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DrawSkinAffectedTypesCollection(c.list).getHoopsNotation(), c.text);
    }
}

}  // namespace
}  // namespace Varnek

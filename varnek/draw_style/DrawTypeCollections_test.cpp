// The four draw-type collections: which flags a list sets (out-of-range and
// repeated entries included), whether the list had an entry, and the option
// text of each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <varnek/draw_style/DrawSelectableTypesCollection.h>
#include <varnek/draw_style/DrawShaderAffectedTypesCollection.h>
#include <varnek/draw_style/DrawSkinAffectedTypesCollection.h>
#include <varnek/draw_style/DrawVisibleTypesCollection.h>

namespace Varnek {
namespace {

// The flags of the values -1 to count as "0" and "1", read through query.
template <typename Kind, typename Query>
std::string flags(int count, Query query) {
    std::string all;
    for (int value = -1; value <= count; ++value) {
        all += query(static_cast<Kind>(value)) ? '1' : '0';
    }
    return all;
}

// Texts are given from "edges=" on; the four kinds before it are off unless
// the case lists them.
TEST(DrawTypeCollectionsTest, VisibleSet) {
    using V = DrawVisibleType;
    const struct {
        std::vector<V> list;
        const char* flags;  // values -1 to 8
        bool any;
        const char* text;
    } cases[] = {
        {{}, "0000000000", false, "edges=(off,perimeters=off),lines=off,faces=off"},
        {{V(8)}, "0000000000", true, "edges=(off,perimeters=off),lines=off,faces=off"},
        {{V::Faces, V::Edges}, "0000010010", true, "edges=(on,perimeters=off),lines=off,faces=on"},
        // Perimeters are written only inside the edges entry.
        {{V(-1), V::Perimeters, V::Perimeters},
         "0000001000",
         true,
         "edges=(off,perimeters=on),lines=off,faces=off"},
        {{V::Lines}, "0000000100", true, "edges=(off,perimeters=off),lines=on,faces=off"},
    };
    const std::string head = "images=off,text=off,markers=off,vertices=off,";
    for (const auto& c : cases) {
        const DrawVisibleTypesCollection set(c.list);
        EXPECT_EQ(flags<V>(8, [&](V v) { return set.isDrawTypeVisible(v); }), c.flags);
        EXPECT_EQ(set.anyTypeVisible(), c.any) << c.text;
        EXPECT_EQ(set.getHoopsNotation(), head + c.text);
    }
    EXPECT_EQ(DrawVisibleTypesCollection({V::Images, V::Text, V::Markers, V::Vertices})
                  .getHoopsNotation(),
              "images=on,text=on,markers=on,vertices=on,edges=(off,perimeters=off),lines=off,"
              "faces=off");
}

TEST(DrawTypeCollectionsTest, SelectableSet) {
    using S = DrawSelectableType;
    const struct {
        std::vector<S> list;
        const char* flags;  // values -1 to 7
        bool any;
        const char* text;
    } cases[] = {
        {{}, "000000000", false, "edges=off,lines=off,faces=off"},
        {{S(7)}, "000000000", true, "edges=off,lines=off,faces=off"},
        {{S::Edges, S(-1), S::Faces, S::Faces}, "000001010", true, "edges=on,lines=off,faces=on"},
        {{S::Lines}, "000000100", true, "edges=off,lines=on,faces=off"},
    };
    const std::string head = "images=off,text=off,markers=off,vertices=off,";
    for (const auto& c : cases) {
        const DrawSelectableTypesCollection set(c.list);
        EXPECT_EQ(flags<S>(7, [&](S s) { return set.isDrawTypeSelectable(s); }), c.flags);
        EXPECT_EQ(set.anyTypeSelectable(), c.any) << c.text;
        EXPECT_EQ(set.getHoopsNotation(), head + c.text);
    }
    EXPECT_EQ(DrawSelectableTypesCollection({S::Images, S::Text, S::Markers, S::Vertices})
                  .getHoopsNotation(),
              "images=on,text=on,markers=on,vertices=on,edges=off,lines=off,faces=off");
    EXPECT_FALSE(DrawSelectableTypesCollection().anyTypeSelectable());
    EXPECT_EQ(DrawSelectableTypesCollection().getHoopsNotation(), head + cases[0].text);
}

TEST(DrawTypeCollectionsTest, ShaderAndSkinSetsNameTheIncludedKinds) {
    using T = DrawShaderAffectedType;
    const struct {
        std::vector<T> list;
        const char* flags;  // values -1 to 3
        const char* text;
    } shaderCases[] = {
        {{}, "01000", "points"},  // an empty list means points
        {{T::Triangles, T::Points}, "01010", "points,triangles"},
        {{T::Lines, T(-1), T::Lines}, "00100", "lines"},
        {{T::Triangles, T::Lines, T::Points}, "01110", "points,lines,triangles"},
        {{T(3)}, "00000", ""},
    };
    for (const auto& c : shaderCases) {
        const DrawShaderAffectedTypesCollection set(c.list);
        EXPECT_EQ(flags<T>(3, [&](T t) { return set.isTypeAffected(t); }), c.flags) << c.text;
        EXPECT_EQ(set.getHoopsNotation(), c.text);
    }

    using K = DrawSkinAffectedType;
    const struct {
        std::vector<K> list;
        const char* text;
    } skinCases[] = {
        {{}, ""},
        {{K::Faces, K::Edges}, "edges,faces"},
        {{K::Vertices, K(-1), K::Markers, K::Vertices, K(4)}, "markers,vertices"},
        {{K::Faces, K::Edges, K::Vertices, K::Markers}, "markers,vertices,edges,faces"},
    };
    for (const auto& c : skinCases) {
        EXPECT_EQ(DrawSkinAffectedTypesCollection(c.list).getHoopsNotation(), c.text);
    }
}

}  // namespace
}  // namespace Varnek

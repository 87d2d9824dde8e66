#include <varnek/draw_style/DrawStyleMesh.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace Varnek {
namespace {

DrawStyleMesh::Enum style(int value) {
    return static_cast<DrawStyleMesh::Enum>(value);
}

TEST(DrawStyleMeshTest, EveryValueHasItsNameKeyAndVisibleSet) {
    const struct {
        int value;
        const char* text;
        const char* key;
        const char* visible;  // the visibility text from "edges=" on
    } cases[] = {
        {0, "None", "face=off, edge=off", "(off,perimeters=off),lines=off,faces=off"},
        {1, "Filled", "face=on,edge=off", "(off,perimeters=off),lines=off,faces=on"},
        {2, "FilledWire", "face=on,edge=on", "(on,perimeters=off),lines=off,faces=on"},
        {3, "Wire", "face=off, edge=on", "(on,perimeters=off),lines=off,faces=off"},
        {4, "Boundary", "face=off,edge=(off,perimeter=on)",
         "(off,perimeters=on),lines=off,faces=off"},
        {5, "FilledBoundary", "face=on,edge=(off,perimeter=on)",
         "(off,perimeters=on),lines=off,faces=on"},
        {6, "unknown", nullptr, "(off,perimeters=off),lines=off,faces=off"},
        {-1, "unknown", nullptr, "(off,perimeters=off),lines=off,faces=off"},
    };
    const std::string head = "images=off,text=off,markers=off,vertices=off,edges=";
    for (const auto& c : cases) {
        const DrawStyleMesh mesh(style(c.value));
        const bool valid = c.value >= 0 && c.value <= 5;
        EXPECT_EQ(DrawStyleMesh::isValid(mesh), valid) << c.value;
        EXPECT_EQ(mesh.toString(), c.text) << c.value;
        EXPECT_STREQ(DrawStyleMesh::getDrawKey(mesh), c.key) << c.value;
        const DrawVisibleTypesCollection visible = DrawStyleMesh::getVisibleTypes(mesh);
        EXPECT_EQ(visible.getHoopsNotation(), head + c.visible) << c.value;
        EXPECT_EQ(visible.anyTypeVisible(), valid && c.value != 0) << c.value;
    }
}

TEST(DrawStyleMeshTest, ConstructionNextAndHash) {
    EXPECT_EQ(DrawStyleMesh(), DrawStyleMesh::Filled);
    EXPECT_EQ(DrawStyleMesh(style(-3)), -3);  // the enumerator is stored unchecked
    const struct {
        int value;
        int fromInt;  // what the integer constructor stores
        int next;
    } cases[] = {{0, 0, 1},  {1, 1, 2},   {4, 4, 5},         {5, 5, 0},         {6, 0, 1},
                 {-1, 0, 0}, {-2, 0, -1}, {INT32_MAX, 0, 2}, {INT32_MIN, 0, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(DrawStyleMesh(c.value), c.fromInt) << c.value;
        EXPECT_EQ(DrawStyleMesh::next(style(c.value)), c.next) << c.value;
    }
    EXPECT_EQ(hash_value(DrawStyleMesh(DrawStyleMesh::Wire)), 3u);
    EXPECT_EQ(hash_value(DrawStyleMesh(style(-1))), static_cast<std::size_t>(-1));
}

}  // namespace
}  // namespace Varnek

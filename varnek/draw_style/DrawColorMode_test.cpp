#include <varnek/draw_style/DrawColorMode.h>

#include <gtest/gtest.h>

#include <cstdint>

#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

DrawColorMode::Enum mode(int value) {
    return static_cast<DrawColorMode::Enum>(value);
}

TEST(DrawColorModeTest, DefaultIsIndexAndValueIsStoredUnchecked) {
    EXPECT_EQ(DrawColorMode(), DrawColorMode::Index);
    EXPECT_EQ(static_cast<int>(DrawColorMode(mode(-7))), -7);
    DrawColorMode m;
    m = DrawColorMode::Skin;
    EXPECT_EQ(m, DrawColorMode::Skin);
}

TEST(DrawColorModeTest, ValidityIsUnsignedRangeZeroToFive) {
    const struct {
        int value;
        bool valid;
    } cases[] = {{0, true},  {3, true},   {4, true},         {5, true},
                 {6, false}, {-1, false}, {INT32_MIN, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(DrawColorMode::isValid(mode(c.value)), c.valid) << c.value;
    }
}

TEST(DrawColorModeTest, DisplayNamesAreTranslatedInTheTypesContext) {
    const struct {
        int value;
        const char* text;
    } cases[] = {{0, "RGB"},     {1, "Index"},   {2, "Type"},    {3, "Skin"},
                 {4, "unknown"}, {5, "unknown"}, {6, "unknown"}, {-1, "unknown"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DrawColorMode::toString(mode(c.value)), c.text) << c.value;
    }
    Translator::addTranslation("DrawColorMode", "Skin", "Haut");
    Translator::addTranslation("DrawColorMode", "unknown", "unbekannt");
    Translator::addTranslation("DrawPatternFace", "Type", "Typ");
    EXPECT_EQ(DrawColorMode(DrawColorMode::Skin).toString(), "Haut");
    EXPECT_EQ(DrawColorMode::toString(mode(4)), "unbekannt");
    EXPECT_EQ(DrawColorMode::toString(DrawColorMode::Type), "Type");
    Translator::clearTranslations();
}

TEST(DrawColorModeTest, HashIsTheSignExtendedValue) {
    EXPECT_EQ(hash_value(DrawColorMode(DrawColorMode::Skin)), 3u);
    EXPECT_EQ(hash_value(DrawColorMode(mode(-1))), static_cast<std::size_t>(-1));
}

}  // namespace
}  // namespace Varnek

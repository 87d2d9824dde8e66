#include <varnek/services/Translator.h>

#include <gtest/gtest.h>

#include <string>

namespace Varnek {
namespace {

class TranslatorTest : public ::testing::Test {
protected:
    void TearDown() override { Translator::clearTranslations(); }
};

TEST_F(TranslatorTest, ReturnsSourceTextUnlessTranslationRegisteredForExactPair) {
    EXPECT_EQ(Translator::translate("DrawColorMode", "Skin", nullptr, -1), "Skin");
    Translator::addTranslation("DrawColorMode", "Skin", "Haut");
    EXPECT_EQ(Translator::translate("DrawColorMode", "Skin", nullptr, -1), "Haut");
    EXPECT_EQ(Translator::translate("DrawPatternLine", "Skin", nullptr, -1), "Skin");
    EXPECT_EQ(Translator::translate("DrawColorMode", "skin", nullptr, -1), "skin");
    Translator::addTranslation("DrawColorMode", "Skin", "Peau");
    EXPECT_EQ(Translator::translate("DrawColorMode", "Skin"), "Peau");
    Translator::clearTranslations();
    EXPECT_EQ(Translator::translate("DrawColorMode", "Skin"), "Skin");
}

TEST_F(TranslatorTest, NullTextsAreEmpty) {
    EXPECT_EQ(Translator::translate("Context", nullptr), "");
    Translator::addTranslation(nullptr, "Text", "Texte");
    EXPECT_EQ(Translator::translate(nullptr, "Text"), "Texte");
    EXPECT_EQ(Translator::translate("", "Text"), "Texte");
}

}  // namespace
}  // namespace Varnek

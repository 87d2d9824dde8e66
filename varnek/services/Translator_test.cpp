#include <varnek/services/Translator.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

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

TEST_F(TranslatorTest, ConcurrentRegistrationAndLookup) {
    std::thread writer([] {
        for (int i = 0; i < 200; ++i) {
            Translator::addTranslation("Ctx", "Text", std::to_string(i));
            if (i % 50 == 0) {
                Translator::clearTranslations();
            }
        }
    });
    std::vector<std::thread> readers;
    readers.reserve(3);
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([] {
            for (int i = 0; i < 200; ++i) {
                const std::string text = Translator::translate("Ctx", "Text");
                EXPECT_FALSE(text.empty());
            }
        });
    }
    writer.join();
    for (std::thread& reader : readers) {
        reader.join();
    }
}

}  // namespace
}  // namespace Varnek

// Several threads query the same objects at once while another thread
// registers translations. Every answer must equal the one computed before the
// threads started (or, for translated names, one of the registered texts).
// Under the tsan preset this also proves the queries free of data races.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <varnek/varnek.h>

namespace Varnek {
namespace {

constexpr int s_readerThreads = 4;
constexpr int s_rounds = 300;

// One query and the check of its answer; returns false on a wrong answer.
using Query = std::function<bool()>;

// Runs every query s_rounds times on each reader thread while one writer
// thread keeps registering and replacing translations. Returns the number of
// wrong answers.
int runConcurrently(const std::vector<Query>& queries) {
    std::atomic<bool> readersDone{false};
    std::atomic<int> wrongAnswers{0};
    std::thread writer([&] {
        for (int i = 0; !readersDone.load(); ++i) {
            Translator::addTranslation("DrawColorMode", "Skin", i % 2 == 0 ? "Haut" : "Peau");
        }
    });
    std::vector<std::thread> readers;
    readers.reserve(s_readerThreads);
    for (int t = 0; t < s_readerThreads; ++t) {
        readers.emplace_back([&] {
            for (int round = 0; round < s_rounds; ++round) {
                for (const Query& query : queries) {
                    if (!query()) {
                        ++wrongAnswers;
                    }
                }
            }
        });
    }
    for (std::thread& reader : readers) {
        reader.join();
    }
    readersDone = true;
    writer.join();
    Translator::clearTranslations();
    return wrongAnswers.load();
}

bool isOneOf(const std::string& text, std::initializer_list<const char*> texts) {
    for (const char* candidate : texts) {
        if (text == candidate) {
            return true;
        }
    }
    return false;
}

TEST(ConcurrentQueriesTest, TranslatedNamesWhileTranslationsAreRegistered) {
    const std::vector<Query> queries = {
        [] {
            return isOneOf(DrawColorMode::toString(DrawColorMode::Skin), {"Skin", "Haut", "Peau"});
        },
        [] { return DrawColorMode::toString(DrawColorMode::RGB) == "RGB"; },
    };
    EXPECT_EQ(runConcurrently(queries), 0);
}

}  // namespace
}  // namespace Varnek

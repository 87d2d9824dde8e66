// Several threads query the same initialised label backgrounds and call the
// translated display names at once, while another thread keeps registering
// translations. Every answer must equal the one computed before the threads
// started (for translated names: the source text or one of the registered
// translations). Under the tsan preset this also proves the queries free of
// data races.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <varnek/varnek.h>

namespace Varnek {
namespace {

using ReferencePoint = LabelBackground::ReferencePoint;
using Points = std::vector<Vector<float, 3>>;

constexpr int s_readerThreads = 4;
constexpr int s_rounds = 200;

// One query and the check of its answer; false on a wrong answer.
using Query = std::function<bool()>;

// Runs every query s_rounds times on each reader thread while one writer
// thread keeps registering and replacing translations. Returns the number of
// wrong answers.
int runConcurrently(const std::vector<Query>& queries) {
    std::atomic<bool> readersDone{false};
    std::atomic<int> wrongAnswers{0};
    std::thread writer([&] {
        for (int i = 0; !readersDone.load(); ++i) {
            const char* text = i % 2 == 0 ? "A" : "B";
            Translator::addTranslation("DrawColorMode", "Skin", text);
            Translator::addTranslation("DrawPatternFace", "Dotted", text);
            Translator::addTranslation("DrawPatternLine", "unknown", text);
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

// Every query of one background for one reference point, answered once in
// the calling thread and then checked against that answer.
void addGeometryQueries(const std::shared_ptr<const LabelBackground>& background, ReferencePoint r,
                        std::vector<Query>& queries) {
    const Vector<float, 3> size(40.0F, 20.0F, 0.0F);
    const LabelBackground& first = *background;
    const Vector<float, 3> body = first.getBodySizeInMaskedCoordinates(r, size);
    const Vector<float, 3> complete = first.getCompleteSizeInMaskedCoordinates(r, size);
    const Vector<float, 3> offset = first.getOffset(r, size);
    const Points outline = first.getPolygon(r, size, offset);
    const Points indicatorOutline = first.getIndicatorPolygon(r, size);
    const int count = first.getNumberOfPolygonPoints();
    const Vector<float, 3> minimal = first.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r);
    const Vector<float, 3> withIndicator =
        first.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r);
    const LabelIndicator* indicator = first.getIndicator();
    const Vector<float, 3> indicatorOffset = LabelIndicator::getOffset(r, indicator, size);
    queries.push_back([=] {
        const LabelBackground& b = *background;
        return b.getBodySizeInMaskedCoordinates(r, size) == body &&
               b.getCompleteSizeInMaskedCoordinates(r, size) == complete &&
               b.getOffset(r, size) == offset && b.getPolygon(r, size, offset) == outline &&
               b.getIndicatorPolygon(r, size) == indicatorOutline &&
               b.getNumberOfPolygonPoints() == count &&
               b.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r) == minimal &&
               b.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r) ==
                   withIndicator &&
               LabelIndicator::getOffset(r, indicator, size) == indicatorOffset;
    });
}

TEST(ConcurrentQueriesTest, InitialisedBackgroundsAndTranslatedNamesFromManyThreads) {
    std::shared_ptr<LabelIndicator> triangle =
        TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true, 0.015F);
    const auto round = SymmetricCornerLabelBackground::createRoundCornered(triangle);
    round->initialize(250.0F);
    const auto flat = SymmetricCornerLabelBackground::createFlatCornered(
        LayeredLabelIndicator::createLayeredLabelIndicator(true, LayeredLabelIndicator::Lower,
                                                           false, 0.0F));
    flat->initialize(250.0F);
    const auto balloon = std::make_shared<BalloonLabelBackground>();
    balloon->initialize(250.0F);

    std::vector<Query> queries = {
        [] {
            return isOneOf(DrawColorMode::toString(DrawColorMode::Skin), {"Skin", "A", "B"});
        },
        [] {
            return isOneOf(DrawPatternFace::toString(DrawPatternFace::Dotted),
                           {"Dotted", "A", "B"});
        },
        [] {
            return isOneOf(DrawPatternLine::toString(static_cast<DrawPatternLine::Enum>(99)),
                           {"unknown", "A", "B"});
        },
        [] { return DrawPatternLine::toString(DrawPatternLine::Dashed) == "Dashed"; },
        // New backgrounds sharing the indicator, made and dropped concurrently:
        // only its reference count changes.
        [triangle] {
            return SymmetricCornerLabelBackground::createFlatCornered(triangle)->getIndicator() ==
                   triangle.get();
        },
    };
    for (const auto& background :
         std::initializer_list<std::shared_ptr<const LabelBackground>>{round, flat, balloon}) {
        for (int r = LabelBackground::Center; r <= LabelBackground::BottomRight; ++r) {
            addGeometryQueries(background, static_cast<ReferencePoint>(r), queries);
        }
    }
    EXPECT_EQ(runConcurrently(queries), 0);
}

}  // namespace
}  // namespace Varnek

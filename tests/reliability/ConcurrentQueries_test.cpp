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
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <varnek/label_placement/PlacementTesting.h>
#include <varnek/varnek.h>

namespace Varnek {
namespace {

using ReferencePoint = LabelBackground::ReferencePoint;

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

// Every query of one background for one reference point, answered once in
// the calling thread and then checked against that answer.
void addGeometryQueries(const std::shared_ptr<const LabelBackground>& background, ReferencePoint r,
                        std::vector<Query>& queries) {
    const auto answers = [background, r] {
        const Vector<float, 3> size(40.0F, 20.0F, 0.0F);
        const LabelBackground& b = *background;
        const Vector<float, 3> offset = b.getOffset(r, size);
        return std::make_tuple(b.getBodySizeInMaskedCoordinates(r, size),
                               b.getCompleteSizeInMaskedCoordinates(r, size), offset,
                               b.getPolygon(r, size, offset), b.getIndicatorPolygon(r, size),
                               b.getNumberOfPolygonPoints(),
                               b.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r),
                               b.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r),
                               LabelIndicator::getOffset(r, b.getIndicator(), size));
    };
    queries.push_back([answers, expected = answers()] { return answers() == expected; });
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
            const std::string name = DrawColorMode::toString(DrawColorMode::Skin);
            return name == "Skin" || name == "A" || name == "B";
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
    // One placer per thread, all drawing on the shared backgrounds.
    const std::vector<std::shared_ptr<LabelBackground>> shared = {round, flat, balloon};
    std::mt19937 random(11);
    const std::vector<LabelRequest> scene =
        Varnek::testing::makeRandomScene(random, 60, LabelRect{0.0F, 0.0F, 300.0F, 250.0F}, shared);
    LabelPlacementOptions options;
    options.viewport = {0.0F, 0.0F, 300.0F, 250.0F};
    options.effort = 3;
    const auto placeScene = [round, scene, options] {
        LabelPlacer placer(round, options);
        return Varnek::testing::hashOf(placer.place(scene));
    };
    queries.push_back([placeScene, expected = placeScene()] { return placeScene() == expected; });
    EXPECT_EQ(runConcurrently(queries), 0);
}

}  // namespace
}  // namespace Varnek

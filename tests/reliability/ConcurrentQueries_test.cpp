// The thread rules the headers state, each exercised from several threads:
// queries on one object and on different objects, the vocabulary's names and
// option texts while translations are added and cleared, initialize of
// backgrounds that share nothing, initialize of a background whose indicator
// others share when the caller keeps it apart from their queries, and
// placers of their own sharing backgrounds.
// Every answer must equal one computed before the threads started. Under the
// tsan preset this also proves the calls free of data races.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <random>
#include <shared_mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <testing/PlacementTesting.h>
#include <varnek/varnek.h>

namespace Varnek {
namespace {

using ReferencePoint = LabelBackground::ReferencePoint;

constexpr int s_readerThreads = 4;
constexpr int s_rounds = 200;

// One query and the check of its answer; false on a wrong answer.
using Query = std::function<bool()>;

// Runs body on s_readerThreads threads at once, each with the count of wrong
// answers they share; returns that count when all have finished.
template <typename Body>
int wrongAnswersOnThreads(Body body) {
    std::atomic<int> wrongAnswers{0};
    std::vector<std::thread> threads;
    threads.reserve(s_readerThreads);
    for (int t = 0; t < s_readerThreads; ++t) {
        threads.emplace_back([&] { body(wrongAnswers); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return wrongAnswers.load();
}

// Runs every query s_rounds times on each reader thread while writer threads
// keep registering and replacing translations and another keeps clearing
// them all. Returns the number of wrong answers.
int runConcurrently(const std::vector<Query>& queries) {
    std::atomic<bool> readersDone{false};
    std::vector<std::thread> writers;
    for (const char* text : {"A", "B"}) {
        writers.emplace_back([&readersDone, text] {
            while (!readersDone.load()) {
                Translator::addTranslation("DrawColorMode", "Skin", text);
            }
        });
    }
    writers.emplace_back([&readersDone] {
        while (!readersDone.load()) {
            Translator::clearTranslations();
        }
    });
    const int wrongAnswers = wrongAnswersOnThreads([&queries](std::atomic<int>& wrong) {
        for (int round = 0; round < s_rounds; ++round) {
            for (const Query& query : queries) {
                if (!query()) {
                    ++wrong;
                }
            }
        }
    });
    readersDone = true;
    for (std::thread& writer : writers) {
        writer.join();
    }
    Translator::clearTranslations();
    return wrongAnswers;
}

// Every query of a background for one reference point.
auto geometryAnswers(const LabelBackground& b, ReferencePoint r) {
    const Vector<float, 3> size(40.0F, 20.0F, 0.0F);
    const Vector<float, 3> offset = b.getOffset(r, size);
    return std::make_tuple(
        b.getBodySizeInMaskedCoordinates(r, size), b.getCompleteSizeInMaskedCoordinates(r, size),
        offset, b.getPolygon(r, size, offset), b.getIndicatorPolygon(r, size),
        b.getNumberOfPolygonPoints(), b.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r),
        b.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r),
        LabelIndicator::getOffset(r, b.getIndicator(), size));
}

// Every query of one background for one reference point, answered once in
// the calling thread and then checked against that answer.
void addGeometryQueries(const std::shared_ptr<const LabelBackground>& background, ReferencePoint r,
                        std::vector<Query>& queries) {
    const auto answers = [background, r] { return geometryAnswers(*background, r); };
    queries.push_back([answers, expected = answers()] { return answers() == expected; });
}

TEST(ConcurrentQueriesTest, OneObjectFromManyThreadsWhileTranslationsChange) {
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
        [] {
            return DrawStyleMesh::getVisibleTypes(DrawStyleMesh(DrawStyleMesh::Wire))
                       .getHoopsNotation() ==
                   DrawVisibleTypesCollection({DrawVisibleType::Edges}).getHoopsNotation();
        },
        [] { return ColorRGB::toString(ColorRGB(0.25F, 0.5F, 1.0F)) == "r=0.250 g=0.500 b=1.000"; },
        [] {
            const float offset = DrawZLayer::computeRandomLabelOffset();
            return offset >= 0.0F && offset <= 1.0F;
        },
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
    // A placer of its own on every thread, sharing the default background and
    // the labels' backgrounds with the others.
    const std::vector<std::shared_ptr<LabelBackground>> shared = {round, flat, balloon};
    std::mt19937 random(11);
    const std::vector<LabelRequest> scene =
        VarnekTesting::makeRandomScene(random, 60, LabelRect{0.0F, 0.0F, 300.0F, 250.0F}, shared);
    LabelPlacementOptions options;
    options.viewport = {0.0F, 0.0F, 300.0F, 250.0F};
    options.effort = 3;
    const auto placeScene = [round, scene, options] {
        LabelPlacer placer(round, options);
        return VarnekTesting::hashOf(placer.place(scene));
    };
    queries.push_back([placeScene, expected = placeScene()] { return placeScene() == expected; });
    EXPECT_EQ(runConcurrently(queries), 0);
}

// Each thread makes, initialises (again and again) and queries backgrounds of
// its own: no state is shared between objects that share nothing.
TEST(ConcurrentQueriesTest, DifferentObjectsIncludingInitializeFromManyThreads) {
    const auto make = [](float scale) {
        auto background = SymmetricCornerLabelBackground::createFlatCornered(
            TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(true, 0.02F));
        background->initialize(scale);
        return background;
    };
    const std::array<float, 2> scales = {250.0F, 600.0F};
    const auto expected = [&](float scale) {
        return geometryAnswers(*make(scale), ReferencePoint::LeftTop);
    };
    const std::array<decltype(expected(0.0F)), 2> answers = {expected(scales[0]),
                                                             expected(scales[1])};

    const int wrongAnswers = wrongAnswersOnThreads([&](std::atomic<int>& wrong) {
        const auto background = make(scales[0]);
        for (int round = 0; round < s_rounds; ++round) {
            const std::size_t k = static_cast<std::size_t>(round) % 2;
            background->initialize(scales[k]);
            if (geometryAnswers(*background, ReferencePoint::LeftTop) != answers[k]) {
                ++wrong;
            }
        }
    });
    EXPECT_EQ(wrongAnswers, 0);
}

// initialize of one background re-scales the indicator it shares with
// another; kept apart from the queries of both (here by a shared mutex),
// every query answers for one scale or the other, consistently.
TEST(ConcurrentQueriesTest, InitializeOfASharedIndicatorKeptApartFromQueries) {
    std::shared_ptr<LabelIndicator> shared =
        TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true, 0.015F);
    const auto initialized = SymmetricCornerLabelBackground::createRoundCornered(shared);
    const auto sharing = SymmetricCornerLabelBackground::createFlatCornered(shared);
    const std::array<float, 2> scales = {250.0F, 600.0F};
    using Answers = decltype(geometryAnswers(*sharing, ReferencePoint::TopCenter));
    std::array<Answers, 2> answers;
    sharing->initialize(scales[0]);
    for (std::size_t k = 0; k < 2; ++k) {
        initialized->initialize(scales[k]);
        answers[k] = geometryAnswers(*sharing, ReferencePoint::TopCenter);
    }
    ASSERT_NE(answers[0], answers[1]) << "the shared indicator's scale changes nothing";

    std::shared_mutex scaleChange;
    std::atomic<bool> readersDone{false};
    std::thread writer([&] {
        for (std::size_t k = 0; !readersDone.load(); k ^= 1U) {
            const std::unique_lock<std::shared_mutex> lock(scaleChange);
            initialized->initialize(scales[k]);
        }
    });
    const int wrongAnswers = wrongAnswersOnThreads([&](std::atomic<int>& wrong) {
        for (int round = 0; round < s_rounds; ++round) {
            const std::shared_lock<std::shared_mutex> lock(scaleChange);
            const Answers answer = geometryAnswers(*sharing, ReferencePoint::TopCenter);
            if (answer != answers[0] && answer != answers[1]) {
                ++wrong;
            }
        }
    });
    readersDone = true;
    writer.join();
    EXPECT_EQ(wrongAnswers, 0);
}

}  // namespace
}  // namespace Varnek

// The scenes the placement benchmarks place: the classic random point-labelling
// instances, large uniform and clustered scenes, and a camera moving over a
// fixed world. Every number comes from a seeded generator whose arithmetic is
// plain IEEE single and double precision (no library distributions, no libm),
// so that g++ and clang build the same scenes bit for bit.
#ifndef VARNEK_BENCH_PLACEMENTINSTANCES_H
#define VARNEK_BENCH_PLACEMENTINSTANCES_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <varnek/label_placement/LabelPlacementOptions.h>
#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/LabelRequest.h>
#include <varnek/label_placement/PlacedLabel.h>
#include <varnek/varnek.h>

namespace VarnekBench {

// splitmix64: a tiny generator with a full 64-bit period whose output is the
// same on every machine.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        m_state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }
    // Uniform in [0, 1), the top 24 bits: every value is exact in a float.
    float unit() { return static_cast<float>(next() >> 40U) * 0x1.0p-24F; }
    // Uniform in [0, 1) with 53 bits.
    double unitDouble() { return static_cast<double>(next() >> 11U) * 0x1.0p-53; }
    // Uniform in [0, count), count > 0.
    std::uint32_t below(std::uint32_t count) {
        return static_cast<std::uint32_t>(((next() >> 32U) * count) >> 32U);
    }
    // About normally distributed, mean 0 and deviation 1: the sum of twelve
    // uniforms, which needs no logarithm or cosine and so no libm.
    float normal() {
        float sum = 0.0F;
        for (int i = 0; i < 12; ++i) {
            sum += unit();
        }
        return sum - 6.0F;
    }

private:
    std::uint64_t m_state;
};

// The classic instances: anchors uniform in a 792 x 612 view, labels 30 x 7.
inline constexpr float s_randomViewWidth = 792.0F;
inline constexpr float s_randomViewHeight = 612.0F;
inline constexpr float s_labelWidth = 30.0F;
inline constexpr float s_labelHeight = 7.0F;
inline constexpr std::size_t s_randomInstancesPerCount = 25;
inline constexpr std::size_t s_randomLabelCounts[] = {100, 250, 500, 750, 1000, 1500};

// Which label shape and which reference points an instance offers.
enum class CandidateSet {
    P4,   // plain rectangle, no indicator, a label corner on the anchor
    P8,   // plain rectangle, no indicator, corners and side centres
    P12,  // round corners with the acute pointer, all twelve reference points
};

const char* candidateSetName(CandidateSet set);

// The background of the set, initialised with the classic view's height, so
// that masked units are the view's units.
std::shared_ptr<Varnek::LabelBackground> makePlacementBackground(CandidateSet set);

// The set's reference points in the placer's default order of preference.
std::vector<Varnek::LabelBackground::ReferencePoint> candidatesOf(CandidateSet set);

// A scene: the requests in view coordinates and the view.
struct PlacementScene {
    Varnek::LabelRect viewport;
    std::vector<Varnek::LabelRequest> requests;
};

// Instance `index` (0-based) of the classic instances with `count` labels;
// keys are the request indices, priorities all equal, backgrounds null (the
// placer's default).
PlacementScene makeRandomInstance(std::size_t count, std::size_t index);

enum class Layout { Uniform, Clustered };

const char* layoutName(Layout layout);

// `count` anchors in a view grown from 792 x 612 so that it holds them at the
// density of 1000 classic labels. Clustered: a mixture of 50 about-Gaussian
// clusters of equal weight, centres uniform, deviation a fiftieth of the view
// width (three times the uniform density inside a cluster); anchors falling
// outside the view are drawn again.
PlacementScene makeScaleScene(Layout layout, std::size_t count);

// Scenes of s_crowdLabelCount labels whose anchors crowd, against the uniform
// scale scene of as many: all at one point, on one vertical line, in a
// speck a hundredth of a unit wide, or at ten times the density.
enum class Crowd { OnePoint, Line, Speck, TenfoldDensity };
inline constexpr Crowd s_crowds[] = {Crowd::OnePoint, Crowd::Line, Crowd::Speck,
                                     Crowd::TenfoldDensity};
inline constexpr std::size_t s_crowdLabelCount = 10000;

// The uniform scale scene of count labels with its anchors moved together
// as crowd says.
PlacementScene makeCrowdedScene(Crowd crowd, std::size_t count);

// Options that place a scene in `viewport` with these candidates (empty: the
// placer's default order), effort and anchor rule.
Varnek::LabelPlacementOptions placementOptions(
    const Varnek::LabelRect& viewport,
    std::vector<Varnek::LabelBackground::ReferencePoint> candidates, int effort,
    bool anchorsAreObstacles);

// How many labels of a result are visible.
std::size_t countVisible(const std::vector<Varnek::PlacedLabel>& placed);

// A camera moving over 20,000 anchors fixed in a world twenty times the area
// of the 792 x 612 view: at zoom 1 the view sees about 1000 of them. The path
// pans for a third of the frames, zooms in 2x for the next third and returns
// to its start (zoom and pan together) for the last.
class CameraPath {
public:
    static constexpr std::size_t s_anchorCount = 20000;

    explicit CameraPath(std::size_t frameCount);

    std::size_t frameCount() const { return m_frameCount; }
    Varnek::LabelRect viewport() const;
    // The requests of a frame: every anchor, in view coordinates, in the same
    // order and with the same keys in every frame.
    void frameRequests(std::size_t frame, std::vector<Varnek::LabelRequest>& requests) const;

private:
    struct Camera {
        double centreX;
        double centreY;
        double zoom;
    };
    Camera cameraAt(std::size_t frame) const;

    std::size_t m_frameCount;
    std::vector<Varnek::Vector<float, 3>> m_worldAnchors;
};

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_PLACEMENTINSTANCES_H

// The seeded scenes of the placement benchmarks.
#include "PlacementInstances.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace VarnekBench {

using Varnek::LabelBackground;
using Varnek::LabelPlacementOptions;
using Varnek::LabelRect;
using Varnek::LabelRequest;
using Varnek::PlacedLabel;
using Point = Varnek::Vector<float, 3>;

namespace {

// Seeds of the scene families; an instance mixes in its count and index.
constexpr std::uint64_t s_randomSeed = 0x7A3C'91E4'0B5D'2F68ULL;
constexpr std::uint64_t s_scaleSeed = 0x2D41'6B9F'C387'E015ULL;
constexpr std::uint64_t s_worldSeed = 0x94E2'03A7'5CF1'B86DULL;

constexpr std::size_t s_clusterCount = 50;

LabelRequest makeRequest(std::size_t index, float x, float y) {
    LabelRequest request{};
    request.key = index;
    request.anchor = Point(x, y, 0.0F);
    request.size = Point(s_labelWidth, s_labelHeight, 0.0F);
    return request;
}

}  // namespace

const char* candidateSetName(CandidateSet set) {
    switch (set) {
        case CandidateSet::P4:
            return "P4";
        case CandidateSet::P8:
            return "P8";
        case CandidateSet::P12:
            return "P12";
    }
    return "";
}

std::shared_ptr<LabelBackground> makePlacementBackground(CandidateSet set) {
    std::shared_ptr<LabelBackground> background;
    if (set == CandidateSet::P12) {
        background = Varnek::SymmetricCornerLabelBackground::createRoundCornered(
            Varnek::TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
                true, Varnek::TriangularLabelIndicator::
                          s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction));
    } else {
        background = Varnek::SymmetricCornerLabelBackground::createSimpleRectangle(nullptr);
    }
    background->initialize(s_randomViewHeight);
    return background;
}

LabelPlacementOptions placementOptions(const LabelRect& viewport,
                                       std::vector<LabelBackground::ReferencePoint> candidates,
                                       int effort, bool anchorsAreObstacles) {
    LabelPlacementOptions options;
    options.viewport = viewport;
    options.candidates = std::move(candidates);
    options.effort = effort;
    options.anchorsAreObstacles = anchorsAreObstacles;
    return options;
}

std::size_t countVisible(const std::vector<PlacedLabel>& placed) {
    return static_cast<std::size_t>(std::count_if(
        placed.begin(), placed.end(), [](const PlacedLabel& label) { return label.visible; }));
}

std::vector<LabelBackground::ReferencePoint> candidatesOf(CandidateSet set) {
    using R = LabelBackground::ReferencePoint;
    const auto& order = Varnek::LabelPlacementOptions::defaultCandidates;
    std::vector<R> all(order.begin(), order.end());
    all.resize(set == CandidateSet::P4 ? 4 : set == CandidateSet::P8 ? 8 : 12);
    return all;
}

PlacementScene makeRandomInstance(std::size_t count, std::size_t index) {
    SplitMix64 random(s_randomSeed ^ (count * 1000003ULL + index));
    PlacementScene scene{{0.0F, 0.0F, s_randomViewWidth, s_randomViewHeight}, {}};
    scene.requests.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const float x = s_randomViewWidth * random.unit();
        const float y = s_randomViewHeight * random.unit();
        scene.requests.push_back(makeRequest(i, x, y));
    }
    return scene;
}

const char* layoutName(Layout layout) {
    return layout == Layout::Uniform ? "Uniform" : "Clustered";
}

PlacementScene makeScaleScene(Layout layout, std::size_t count) {
    // The same number of anchors per unit area as 1000 classic labels.
    const double grow = std::sqrt(static_cast<double>(count) / 1000.0);
    const auto width = static_cast<float>(s_randomViewWidth * grow);
    const auto height = static_cast<float>(s_randomViewHeight * grow);
    SplitMix64 random(s_scaleSeed ^ (count * 2U + (layout == Layout::Clustered ? 1U : 0U)));
    PlacementScene scene{{0.0F, 0.0F, width, height}, {}};
    scene.requests.reserve(count);

    std::vector<Point> centres;
    for (std::size_t c = 0; c < s_clusterCount; ++c) {
        centres.emplace_back(width * random.unit(), height * random.unit(), 0.0F);
    }
    const float deviation = width / 50.0F;
    for (std::size_t i = 0; i < count; ++i) {
        if (layout == Layout::Uniform) {
            scene.requests.push_back(makeRequest(i, width * random.unit(), height * random.unit()));
            continue;
        }
        const Point& centre = centres[random.below(static_cast<std::uint32_t>(s_clusterCount))];
        for (;;) {
            const float x = centre[0] + deviation * random.normal();
            const float y = centre[1] + deviation * random.normal();
            if (x >= 0.0F && x < width && y >= 0.0F && y < height) {
                scene.requests.push_back(makeRequest(i, x, y));
                break;
            }
        }
    }
    return scene;
}

PlacementScene makeCrowdedScene(Crowd crowd, std::size_t count) {
    PlacementScene scene = makeScaleScene(Layout::Uniform, count);
    const float width = scene.viewport.right;
    const float height = scene.viewport.bottom;
    for (LabelRequest& request : scene.requests) {
        const float u = request.anchor[0] / width;
        const float v = request.anchor[1] / height;
        switch (crowd) {
            case Crowd::OnePoint:
                request.anchor = {0.5F * width, 0.5F * height, 0.0F};
                break;
            case Crowd::Line:
                request.anchor[0] = 0.5F * width;
                break;
            case Crowd::Speck:
                request.anchor = {0.5F * width + 0.01F * u, 0.5F * height + 0.01F * v, 0.0F};
                break;
            case Crowd::TenfoldDensity:
                request.anchor = {0.5F * width + u * width / 3.16F,
                                  0.5F * height + v * height / 3.16F, 0.0F};
                break;
        }
    }
    return scene;
}

namespace {

// The world holds the 20,000 anchors at the density of 1000 in the view.
const double s_worldWidth = s_randomViewWidth * std::sqrt(20.0);
const double s_worldHeight = s_randomViewHeight * std::sqrt(20.0);
// The pan's extent in world units: 600 to the right, 300 down.
constexpr double s_panX = 600.0;
constexpr double s_panY = 300.0;

}  // namespace

CameraPath::CameraPath(std::size_t frameCount) : m_frameCount(frameCount) {
    SplitMix64 random(s_worldSeed);
    m_worldAnchors.reserve(s_anchorCount);
    for (std::size_t i = 0; i < s_anchorCount; ++i) {
        const double x = s_worldWidth * random.unitDouble();
        const double y = s_worldHeight * random.unitDouble();
        m_worldAnchors.emplace_back(static_cast<float>(x), static_cast<float>(y), 0.0F);
    }
}

LabelRect CameraPath::viewport() const {
    return {0.0F, 0.0F, s_randomViewWidth, s_randomViewHeight};
}

CameraPath::Camera CameraPath::cameraAt(std::size_t frame) const {
    const Camera start{0.5 * s_worldWidth - 0.5 * s_panX, 0.5 * s_worldHeight - 0.5 * s_panY, 1.0};
    const Camera panned{start.centreX + s_panX, start.centreY + s_panY, 1.0};
    const Camera zoomed{panned.centreX, panned.centreY, 2.0};
    const std::size_t third = m_frameCount / 3 == 0 ? 1 : m_frameCount / 3;
    const auto between = [](const Camera& from, const Camera& to, double share) {
        return Camera{from.centreX + (to.centreX - from.centreX) * share,
                      from.centreY + (to.centreY - from.centreY) * share,
                      from.zoom + (to.zoom - from.zoom) * share};
    };
    const auto share = [third](std::size_t step) {
        return static_cast<double>(step) / static_cast<double>(third);
    };
    if (frame < third) {
        return between(start, panned, share(frame));
    }
    if (frame < 2 * third) {
        return between(panned, zoomed, share(frame - third));
    }
    const std::size_t last = m_frameCount - 2 * third;
    return between(
        zoomed, start,
        static_cast<double>(frame - 2 * third) / static_cast<double>(last > 1 ? last - 1 : 1));
}

void CameraPath::frameRequests(std::size_t frame, std::vector<LabelRequest>& requests) const {
    const Camera camera = cameraAt(frame);
    const double halfWidth = 0.5 * s_randomViewWidth;
    const double halfHeight = 0.5 * s_randomViewHeight;
    requests.resize(m_worldAnchors.size());
    for (std::size_t i = 0; i < m_worldAnchors.size(); ++i) {
        const Point& world = m_worldAnchors[i];
        const double x = (world[0] - camera.centreX) * camera.zoom + halfWidth;
        const double y = (world[1] - camera.centreY) * camera.zoom + halfHeight;
        requests[i] = makeRequest(i, static_cast<float>(x), static_cast<float>(y));
    }
}

}  // namespace VarnekBench

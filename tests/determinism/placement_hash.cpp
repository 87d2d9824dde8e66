// Prints digests of the library's results over fixed inputs: every label
// shape's sizes, offset and outline at several sizes and scales, and seeded
// placement scenes over several frames with their outlines. Two builds that
// print the same lines computed the same bits; CI compares the g++ and the
// clang build this way.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include <catalogue/LabelKinds.h>
#include <testing/PlacementTesting.h>
#include <varnek/varnek.h>

namespace {

using Varnek::Vector;

// FNV-1a over the bytes of the values mixed in.
class Digest {
public:
    template <typename T>
    void mix(const T& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (std::size_t i = 0; i < sizeof value; ++i) {
            m_hash = (m_hash ^ bytes[i]) * 1099511628211ull;
        }
    }
    void mix(const std::vector<Vector<float, 3>>& points) {
        mix(points.size());
        for (const Vector<float, 3>& point : points) {
            mix(point);
        }
    }
    std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 1469598103934665603ull;
};

void print(const char* what, std::uint64_t hash) {
    std::printf("%s %016" PRIx64 "\n", what, hash);
}

// Every background shape with every indicator kind it carries, with and
// without a fixed width and a bar, at every reference point, several content
// sizes and scales.
std::uint64_t hashLabelShapes() {
    using namespace VarnekCatalogue;
    const float scales[] = {100.0f, 250.0f, 1000.0f, 4321.5f};
    const Vector<float, 3> sizes[] = {
        {0.0f, 0.0f, 0.0f}, {40.0f, 20.0f, 0.0f}, {3.25f, 117.0f, 0.0f}, {1e-3f, 7.0f, 0.0f}};
    Digest digest;
    for (const BackgroundShapeRow& shape : backgroundShapes()) {
        for (const IndicatorKindRow& kind : indicatorKinds()) {
            if (!shape.carriesIndicator && kind.kind != IndicatorKind::None) {
                continue;
            }
            for (int variant = 0; variant < 4; ++variant) {
                IndicatorSettings settings;
                settings.withBar = (variant & 1) == 0;
                settings.useFixedSize = (variant & 2) != 0;
                settings.fixedWidthInScreenHeightFraction = 0.0185f;
                const auto background = makeBackground(shape.shape, kind.kind, settings);
                for (const float scale : scales) {
                    background->initialize(scale);
                    for (const auto r : referencePoints()) {
                        for (const auto& size : sizes) {
                            const auto offset = background->getOffset(r, size);
                            digest.mix(background->getBodySizeInMaskedCoordinates(r, size));
                            digest.mix(background->getCompleteSizeInMaskedCoordinates(r, size));
                            digest.mix(offset);
                            digest.mix(background->getPolygon(r, size, offset));
                        }
                    }
                }
            }
        }
    }
    return digest.value();
}

// Seeded scenes of several sizes, each placed over a few frames whose anchors
// drift, under several option sets; every result and every outline.
std::uint64_t hashPlacements() {
    const Varnek::LabelRect viewport = {0.0f, 0.0f, 640.0f, 400.0f};
    const auto backgrounds = VarnekTesting::makeBackgrounds(viewport.bottom);
    Digest digest;
    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    for (const std::size_t count : {1u, 40u, 400u, 2000u}) {
        for (int optionSet = 0; optionSet < 4; ++optionSet) {
            Varnek::LabelPlacementOptions options;
            options.viewport = viewport;
            options.effort = optionSet % 3;
            options.gap = optionSet == 1 ? 2.5f : 0.0f;
            options.anchorsAreObstacles = optionSet != 2;
            if (optionSet == 3) {
                options.candidates = {Varnek::LabelBackground::TopLeft,
                                      Varnek::LabelBackground::RightCenter,
                                      Varnek::LabelBackground::BottomCenter};
            }
            Varnek::LabelPlacer placer(backgrounds[0], options);
            std::mt19937 random(static_cast<std::mt19937::result_type>(count * 7 + 1));
            auto scene = VarnekTesting::makeRandomScene(random, count, viewport, backgrounds);
            for (int frame = 0; frame < 3; ++frame) {
                digest.mix(VarnekTesting::hashOf(placer.place(scene)));
                points.clear();
                starts.clear();
                placer.appendOutlines(points, starts);
                digest.mix(points);
                for (const std::uint32_t start : starts) {
                    digest.mix(start);
                }
                for (Varnek::LabelRequest& label : scene) {
                    label.anchor[0] += 3.0f;
                    label.anchor[1] -= 1.5f;
                }
            }
        }
    }
    return digest.value();
}

}  // namespace

int main() {
    print("label-shapes", hashLabelShapes());
    print("placements", hashPlacements());
    return 0;
}

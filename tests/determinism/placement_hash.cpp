// Prints digests of the library's results over fixed inputs: every label
// shape's sizes, offset and outline at several sizes and scales, and seeded
// placement scenes over several frames with their outlines, callouts with
// their leaders, and a camera orbiting a model whose anchors are placed
// from world coordinates with a depth image, kept-out parts and fades. Two
// builds that
// print the same lines computed the same bits; CI compares the g++ and the
// clang build this way.
#include <array>
#include <cinttypes>
#include <cmath>
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

// The last result's outlines and where each starts.
void mixOutlines(Digest& digest, const Varnek::LabelPlacer& placer) {
    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    placer.appendOutlines(points, starts);
    digest.mix(points);
    for (const std::uint32_t start : starts) {
        digest.mix(start);
    }
}

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
                mixOutlines(digest, placer);
                for (Varnek::LabelRequest& label : scene) {
                    label.anchor[0] += 3.0f;
                    label.anchor[1] -= 1.5f;
                }
            }
        }
    }
    return digest.value();
}

// A unit sphere with a smaller one half sunk into it.
struct Sphere {
    std::array<double, 3> centre;
    double radius;
};
constexpr Sphere s_orbitModel[] = {{{0.0, 0.0, 0.0}, 1.0}, {{1.1, 0.0, 0.0}, 0.5}};

double dot(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Anchors on the model's surface from raw generator values (no library
// distributions, whose results differ between standard libraries).
std::vector<Varnek::LabelRequest> makeOrbitLabels(
    std::size_t count, const std::vector<std::shared_ptr<Varnek::LabelBackground>>& backgrounds) {
    std::mt19937 random(17);
    const auto unit = [&random] { return static_cast<double>(random() >> 8) / 16777216.0; };
    std::vector<Varnek::LabelRequest> labels;
    while (labels.size() < count) {
        const Sphere& sphere = s_orbitModel[random() % 4 == 0 ? 1 : 0];
        const std::array<double, 3> v = {2.0 * unit() - 1.0, 2.0 * unit() - 1.0,
                                         2.0 * unit() - 1.0};
        const double length = std::sqrt(dot(v, v));
        if (length < 0.1 || length > 1.0) {
            continue;
        }
        std::array<double, 3> p{};
        for (std::size_t k = 0; k < 3; ++k) {
            p[k] = sphere.centre[k] + sphere.radius * v[k] / length;
        }
        Varnek::LabelRequest label{};
        label.key = labels.size() * 3 + 1;
        label.anchor = {static_cast<float>(p[0]), static_cast<float>(p[1]),
                        static_cast<float>(p[2])};
        label.size = {static_cast<float>(16 + random() % 16), 6.0f, 0.0f};
        label.priority = static_cast<float>(random() % 3);
        const std::size_t b = random() % (backgrounds.size() + 1);
        label.background = b < backgrounds.size() ? backgrounds[b].get() : nullptr;
        labels.push_back(label);
    }
    return labels;
}

// A camera circling the model, without trigonometry (the angle's cosine and
// sine from its half tangent): its matrix and a depth image ray cast from
// the model at every pixel centre.
struct OrbitFrame {
    std::array<float, 16> viewProjection;
    std::vector<float> depths;
};

OrbitFrame orbitFrame(double halfTangent, int columns, int rows, double aspect) {
    const double t2 = halfTangent * halfTangent;
    const double c = (1.0 - t2) / (1.0 + t2);
    const double s = 2.0 * halfTangent / (1.0 + t2);
    const double distance = 3.2;
    const std::array<double, 3> eye = {distance * c, 0.6, distance * s};
    // Looking at the origin: forward = -eye / |eye|, right = forward x y.
    const double eyeLength = std::sqrt(dot(eye, eye));
    const std::array<double, 3> forward = {-eye[0] / eyeLength, -eye[1] / eyeLength,
                                           -eye[2] / eyeLength};
    const double rightLength = std::sqrt(forward[2] * forward[2] + forward[0] * forward[0]);
    const std::array<double, 3> right = {-forward[2] / rightLength, 0.0, forward[0] / rightLength};
    const std::array<double, 3> up = {right[1] * forward[2] - right[2] * forward[1],
                                      right[2] * forward[0] - right[0] * forward[2],
                                      right[0] * forward[1] - right[1] * forward[0]};
    const double tanHalfY = 0.5;
    const double tanHalfX = tanHalfY * aspect;
    const double near = 1.0;
    const double far = 6.0;
    OrbitFrame frame{};
    const std::array<double, 3> axes[3] = {right, up, forward};
    const double scale[2] = {1.0 / tanHalfX, 1.0 / tanHalfY};
    for (std::size_t column = 0; column < 4; ++column) {
        const auto viewOf = [&](std::size_t row) {
            return column < 3 ? axes[row][column] : -dot(axes[row], eye);
        };
        frame.viewProjection[4 * column + 0] = static_cast<float>(scale[0] * viewOf(0));
        frame.viewProjection[4 * column + 1] = static_cast<float>(scale[1] * viewOf(1));
        // The camera looks down its -z: view z = -forward . (p - eye).
        frame.viewProjection[4 * column + 2] =
            static_cast<float>(-(far + near) / (near - far) * viewOf(2) +
                               (column == 3 ? 2.0 * far * near / (near - far) : 0.0));
        frame.viewProjection[4 * column + 3] = static_cast<float>(viewOf(2));
    }
    frame.depths.resize(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const double y = 1.0 - 2.0 * (row + 0.5) / rows;
        for (int column = 0; column < columns; ++column) {
            const double x = 2.0 * (column + 0.5) / columns - 1.0;
            std::array<double, 3> direction{};
            for (std::size_t k = 0; k < 3; ++k) {
                direction[k] = forward[k] + x * tanHalfX * right[k] + y * tanHalfY * up[k];
            }
            double nearest = far;
            for (const Sphere& sphere : s_orbitModel) {
                std::array<double, 3> toEye{};
                for (std::size_t k = 0; k < 3; ++k) {
                    toEye[k] = eye[k] - sphere.centre[k];
                }
                const double a = dot(direction, direction);
                const double b = dot(direction, toEye);
                const double discriminant =
                    b * b - a * (dot(toEye, toEye) - sphere.radius * sphere.radius);
                if (discriminant >= 0.0) {
                    const double t = (-b - std::sqrt(discriminant)) / a;
                    nearest = t > near && t < nearest ? t : nearest;
                }
            }
            // t is the depth along the view axis: forward's part of direction is 1.
            const double ndc =
                (far + near) / (far - near) - 2.0 * far * near / ((far - near) * nearest);
            frame.depths[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                         static_cast<std::size_t>(column)] = static_cast<float>((ndc + 1.0) * 0.5);
        }
    }
    return frame;
}

// A camera orbiting a model over a few dozen frames, the labels of 3,000
// world anchors placed with a depth image, a kept-out rectangle and mask
// cells, and fades: every result with its opacity and projected anchor,
// and the drawn outlines.
std::uint64_t hashOrbit() {
    const Varnek::LabelRect viewport = {0.0f, 0.0f, 640.0f, 360.0f};
    const auto backgrounds = VarnekTesting::makeBackgrounds(viewport.bottom);
    const std::vector<Varnek::LabelRequest> labels = makeOrbitLabels(3000, backgrounds);
    Varnek::LabelPlacementOptions options;
    options.viewport = viewport;
    options.gap = 1.0f;
    options.fadeFrames = 4;
    options.keepOut = {{520.0f, 10.0f, 630.0f, 70.0f}};
    Varnek::LabelPlacer placer(backgrounds[0], options);
    // A 16 x 9 mask, the bottom left 2 x 2 cells kept out.
    std::vector<std::uint8_t> cells(std::size_t{16} * 9, 0);
    for (const std::size_t cell : {112u, 113u, 128u, 129u}) {
        cells[cell] = 1;
    }
    const Varnek::CoverageMask mask{cells.data(), 16, 9};
    const int columns = 320;
    const int rows = 180;
    Digest digest;
    const int frames = 48;
    for (int f = 0; f < frames; ++f) {
        const OrbitFrame frame = orbitFrame(-0.4 + 0.8 * f / frames, columns, rows, 640.0 / 360.0);
        const Varnek::DepthImage depth{frame.depths.data(), columns, rows, false, 0.01f};
        Varnek::LabelScene scene;
        scene.view.viewProjection = frame.viewProjection;
        scene.view.viewport = viewport;
        scene.depth = &depth;
        scene.keepOut = &mask;
        const std::vector<Varnek::PlacedLabel>& placed = placer.place(labels, scene);
        digest.mix(VarnekTesting::hashOf(placed));
        for (const Varnek::PlacedLabel& label : placed) {
            digest.mix(label.opacity);
            digest.mix(label.anchorInView);
        }
        mixOutlines(digest, placer);
    }
    return digest.value();
}

// Seeded scenes with callouts, drifting over a few frames, with and
// without fades: every result, outline and leader.
std::uint64_t hashCallouts() {
    const Varnek::LabelRect viewport = {0.0f, 0.0f, 640.0f, 400.0f};
    const auto backgrounds = VarnekTesting::makeBackgrounds(viewport.bottom);
    Digest digest;
    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    for (const std::size_t count : {400u, 2000u}) {
        for (int optionSet = 0; optionSet < 3; ++optionSet) {
            Varnek::LabelPlacementOptions options;
            options.viewport = viewport;
            options.gap = optionSet == 1 ? 2.5f : 0.0f;
            options.calloutDistance = optionSet == 0 ? 20.0f : 60.0f;
            options.fadeFrames = optionSet == 2 ? 3 : 0;
            Varnek::LabelPlacer placer(backgrounds[0], options);
            std::mt19937 random(static_cast<std::mt19937::result_type>(count * 5 + 3));
            auto scene = VarnekTesting::makeRandomScene(random, count, viewport, backgrounds);
            for (int frame = 0; frame < 3; ++frame) {
                digest.mix(VarnekTesting::hashOf(placer.place(scene)));
                points.clear();
                starts.clear();
                placer.appendOutlines(points, starts);
                digest.mix(points);
                points.clear();
                placer.appendLeaders(points);
                digest.mix(points);
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
    print("orbit", hashOrbit());
    print("callouts", hashCallouts());
    return 0;
}

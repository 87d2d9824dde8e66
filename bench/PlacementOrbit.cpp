// The orbit yardstick of labels in a 3D view: a camera orbits a model of
// seven spheres whose surfaces carry the anchors, a depth image is ray cast
// from the model at a quarter of the view's size every frame, a legend
// rectangle and a view-cube corner of a coverage mask are kept out, and
// the labels are placed from world coordinates, with fades and without.
// Checked in every frame: overlaps, labels outside, keep-out violations
// and labels drawn anew for culled anchors (all must be 0); measured: share
// shown, jumps, flicker (drawn, gone and drawn again within 10 frames while
// the anchor stayed visible), the 3D call's time against the 2D call
// placing the same projected, unoccluded labels, and allocations of a warm
// frame. The orbit runs twice: the second turn is measured.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <ostream>
#include <vector>

#include <allocation/AllocationHook.h>
#include <benchmark/benchmark.h>

#include <varnek/varnek.h>

#include "PlacementBaselines.h"
#include "PlacementInstances.h"
#include "PlacementMeasures.h"
#include "PlacementNames.h"
#include "SummaryReporter.h"

namespace VarnekBench {
namespace {

using Varnek::LabelHiddenReason;
using Varnek::LabelRect;
using Varnek::LabelRequest;
using Varnek::PlacedLabel;
using Vec3 = std::array<double, 3>;

constexpr const char* s_orbitWithFades = "Placement/Orbit/fades";
constexpr const char* s_orbitWithoutFades = "Placement/Orbit/noFades";
constexpr const char* s_inViewMean = "in_view_mean";
constexpr const char* s_keepOutMax = "keepout_max";
constexpr const char* s_hiddenDrawnMax = "hidden_drawn_max";
constexpr const char* s_flatMedianMs = "ms_2d_median";
constexpr const char* s_flickerTotal = "flicker_total";
constexpr const char* s_drawnMean = "drawn_mean";
constexpr const char* s_fadingMean = "fading_mean";
constexpr const char* s_goneTotal = "gone_total";
constexpr const char* s_cutOffTotal = "cut_off_total";

bool s_orbitSmoke = false;
constexpr std::size_t s_orbitAnchors = 100000;
constexpr std::size_t s_orbitFrames = 600;
constexpr std::size_t s_smokeOrbitAnchors = 10000;
constexpr std::size_t s_smokeOrbitFrames = 20;
constexpr double s_viewWidth = 1920.0;
constexpr double s_viewHeight = 1080.0;
constexpr int s_depthColumns = 480;
constexpr int s_depthRows = 270;
constexpr int s_fadeFrames = 6;
constexpr std::size_t s_flickerWindow = 10;

struct Sphere {
    Vec3 centre;
    double radius;
};

// A big sphere with six smaller ones round it, each half sunk into it.
constexpr Sphere s_model[] = {
    {{0.0, 0.0, 0.0}, 1.0},   {{1.2, 0.0, 0.0}, 0.45},  {{-1.2, 0.0, 0.0}, 0.45},
    {{0.0, 1.2, 0.0}, 0.45},  {{0.0, -1.2, 0.0}, 0.45}, {{0.0, 0.0, 1.2}, 0.45},
    {{0.0, 0.0, -1.2}, 0.45},
};

Vec3 add(const Vec3& a, const Vec3& b, double scale = 1.0) {
    return {a[0] + scale * b[0], a[1] + scale * b[1], a[2] + scale * b[2]};
}
double dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 normalised(const Vec3& a) {
    const double length = std::sqrt(dot(a, a));
    return {a[0] / length, a[1] / length, a[2] / length};
}

// Anchors spread over the spheres' surfaces, as many per sphere as its
// share of the area; points inside another sphere are skipped.
std::vector<Varnek::Vector<float, 3>> makeAnchors(std::size_t count) {
    double area = 0.0;
    for (const Sphere& sphere : s_model) {
        area += sphere.radius * sphere.radius;
    }
    std::vector<Varnek::Vector<float, 3>> anchors;
    SplitMix64 random(42);
    for (const Sphere& sphere : s_model) {
        const auto n = static_cast<std::size_t>(static_cast<double>(count) * sphere.radius *
                                                sphere.radius / area);
        for (std::size_t k = 0; k < n; ++k) {
            // Uniform on the sphere: z uniform, angle uniform.
            const double z = 2.0 * random.unitDouble() - 1.0;
            const double angle = 6.283185307179586 * random.unitDouble();
            const double r = std::sqrt(1.0 - z * z);
            const Vec3 p =
                add(sphere.centre, {r * std::cos(angle), r * std::sin(angle), z}, sphere.radius);
            bool inside = false;
            for (const Sphere& other : s_model) {
                const Vec3 d = add(p, other.centre, -1.0);
                inside = inside || (&other != &sphere && dot(d, d) < other.radius * other.radius);
            }
            if (!inside) {
                anchors.push_back(
                    {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])});
            }
        }
    }
    return anchors;
}

// The camera of a frame: one turn round the model over the orbit, with a
// slow tilt, close enough that a part of the model fills the view.
struct Camera {
    Vec3 eye;
    Vec3 forward;
    Vec3 right;
    Vec3 up;
    double tanHalfX;
    double tanHalfY;
    double near;
    double far;
    std::array<float, 16> viewProjection;
};

Camera cameraAt(std::size_t frame, std::size_t frames) {
    const double turn =
        6.283185307179586 * static_cast<double>(frame) / static_cast<double>(frames);
    const double tilt = 0.4 * std::sin(0.5 * turn);
    const double distance = 2.6;
    Camera c{};
    c.eye = {distance * std::cos(turn) * std::cos(tilt), distance * std::sin(tilt),
             distance * std::sin(turn) * std::cos(tilt)};
    c.forward = normalised(add({0.0, 0.0, 0.0}, c.eye, -1.0));
    c.right = normalised(cross(c.forward, {0.0, 1.0, 0.0}));
    c.up = cross(c.right, c.forward);
    c.tanHalfY = std::tan(0.25);
    c.tanHalfX = c.tanHalfY * s_viewWidth / s_viewHeight;
    c.near = 0.5;
    c.far = 10.0;
    // clip = P * V * world, column-major.
    const double a = 1.0 / c.tanHalfX;
    const double b = 1.0 / c.tanHalfY;
    const double zz = (c.far + c.near) / (c.near - c.far);
    const double zw = 2.0 * c.far * c.near / (c.near - c.far);
    const Vec3 rows[3] = {c.right, c.up, {-c.forward[0], -c.forward[1], -c.forward[2]}};
    double view[4][4] = {};  // [row][column]
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            view[r][k] = rows[r][static_cast<std::size_t>(k)];
        }
        view[r][3] = -dot(rows[r], c.eye);
    }
    view[3][3] = 1.0;
    const double scale[4] = {a, b, zz, -1.0};
    for (int column = 0; column < 4; ++column) {
        const auto at = [&](std::size_t row) { return 4 * static_cast<std::size_t>(column) + row; };
        c.viewProjection[at(0)] = static_cast<float>(scale[0] * view[0][column]);
        c.viewProjection[at(1)] = static_cast<float>(scale[1] * view[1][column]);
        c.viewProjection[at(2)] =
            static_cast<float>(zz * view[2][column] + (column == 3 ? zw : 0.0));
        c.viewProjection[at(3)] = static_cast<float>(-view[2][column]);
    }
    return c;
}

// The model's window depth at every pixel centre of the depth image, ray
// cast: exact, as a rasteriser at that resolution would give it.
void castDepths(const Camera& c, std::vector<float>& depths) {
    depths.resize(static_cast<std::size_t>(s_depthColumns) * s_depthRows);
    for (int row = 0; row < s_depthRows; ++row) {
        const double y = 1.0 - 2.0 * (row + 0.5) / s_depthRows;
        for (int column = 0; column < s_depthColumns; ++column) {
            const double x = 2.0 * (column + 0.5) / s_depthColumns - 1.0;
            const Vec3 direction =
                add(add(c.forward, c.right, x * c.tanHalfX), c.up, y * c.tanHalfY);
            double nearest = std::numeric_limits<double>::infinity();
            for (const Sphere& sphere : s_model) {
                const Vec3 toEye = add(c.eye, sphere.centre, -1.0);
                const double qa = dot(direction, direction);
                const double qb = dot(direction, toEye);
                const double qc = dot(toEye, toEye) - sphere.radius * sphere.radius;
                const double discriminant = qb * qb - qa * qc;
                if (discriminant >= 0.0) {
                    const double t = (-qb - std::sqrt(discriminant)) / qa;
                    nearest = t > 0.0 && t < nearest ? t : nearest;
                }
            }
            // The direction's component along forward is 1: t is the depth
            // along the view axis.
            const double ndc = std::isinf(nearest)
                                   ? 1.0
                                   : ((c.far + c.near) / (c.far - c.near) -
                                      2.0 * c.far * c.near / ((c.far - c.near) * nearest));
            depths[static_cast<std::size_t>(row) * s_depthColumns +
                   static_cast<std::size_t>(column)] =
                static_cast<float>(std::min(1.0, (ndc + 1.0) * 0.5));
        }
    }
}

bool isCulled(LabelHiddenReason reason) {
    return reason == LabelHiddenReason::BehindCamera || reason == LabelHiddenReason::OutsideView ||
           reason == LabelHiddenReason::Occluded;
}

bool overlaps(const LabelRect& a, const LabelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void orbit(benchmark::State& state, bool fades) {
    const std::size_t frames = s_orbitSmoke ? s_smokeOrbitFrames : s_orbitFrames;
    const std::vector<Varnek::Vector<float, 3>> anchors =
        makeAnchors(s_orbitSmoke ? s_smokeOrbitAnchors : s_orbitAnchors);
    const std::size_t count = anchors.size();
    std::vector<LabelRequest> requests(count);
    for (std::size_t i = 0; i < count; ++i) {
        requests[i] = {i, anchors[i], {30.0F, 7.0F, 0.0F}, 0.0F, nullptr};
    }
    const LabelRect viewport{0.0F, 0.0F, static_cast<float>(s_viewWidth),
                             static_cast<float>(s_viewHeight)};
    Varnek::LabelPlacementOptions options;
    options.viewport = viewport;
    options.keepOut = {{1620.0F, 20.0F, 1900.0F, 220.0F}};  // a legend
    options.fadeFrames = fades ? s_fadeFrames : 0;
    Varnek::LabelPlacementOptions flatOptions = options;
    flatOptions.fadeFrames = 0;
    // A view cube in the bottom left corner, in a mask of 48 x 27 cells.
    std::vector<std::uint8_t> cells(std::size_t{48} * 27, 0);
    for (int row = 21; row < 27; ++row) {
        for (int column = 0; column < 6; ++column) {
            cells[static_cast<std::size_t>(row) * 48 + static_cast<std::size_t>(column)] = 1;
        }
    }
    const Varnek::CoverageMask mask{cells.data(), 48, 27};
    const float cellWidth = viewport.right / 48.0F;
    const float cellHeight = viewport.bottom / 27.0F;
    const LabelRect viewCube{0.0F, 21.0F * cellHeight, 6.0F * cellWidth, viewport.bottom};

    std::vector<float> depths;
    Varnek::DepthImage depth{nullptr, s_depthColumns, s_depthRows, false, 0.001F};
    Varnek::LabelScene scene;
    scene.view.viewport = viewport;
    scene.depth = &depth;
    scene.keepOut = &mask;
    std::vector<LabelRequest> flatRequests;
    flatRequests.reserve(count);
    std::vector<double> seconds(frames);
    std::vector<double> flatSeconds(frames);
    std::vector<float> opacity(count);
    std::vector<int> referencePoint(count);
    // Flicker: the frame a label was last drawn while its anchor stayed
    // visible since, and whether it has been gone since.
    std::vector<std::size_t> lastDrawn(count);
    std::vector<std::uint8_t> goneSince(count);

    std::size_t overlapsMax = 0, outsideMax = 0, keepOutMax = 0, hiddenDrawnMax = 0;
    std::size_t flicker = 0, allocationsMax = 0;
    // Churn: labels drawn and fading in a frame; labels that went, and of
    // those the ones cut off before their fade ended (drawn more opaque
    // than one step of it before the call).
    std::size_t drawnSum = 0, fadingSum = 0, gone = 0, cutOff = 0;
    double jumpsMax = 0.0, jumpsSum = 0.0, shownSum = 0.0, inViewSum = 0.0;
    for ([[maybe_unused]] auto _ : state) {
        Varnek::LabelPlacer placer(makePlacementBackground(CandidateSet::P12), options);
        Varnek::LabelPlacer flat(makePlacementBackground(CandidateSet::P12), flatOptions);
        std::fill(opacity.begin(), opacity.end(), 0.0F);
        std::fill(goneSince.begin(), goneSince.end(), std::uint8_t{0});
        std::fill(lastDrawn.begin(), lastDrawn.end(), std::numeric_limits<std::size_t>::max());
        // The first turns grow the placers' buffers to the orbit's largest
        // frame, the last is measured. With fades a frame's size depends on
        // what fades, so the history of a turn: a short turn starts with
        // none and may fall short of the next, so it warms up twice.
        const std::size_t warmTurns = s_orbitSmoke ? 2 : 1;
        for (std::size_t step = 0; step < (warmTurns + 1) * frames; ++step) {
            const std::size_t frame = step % frames;
            const bool measured = step >= warmTurns * frames;
            const Camera camera = cameraAt(frame, frames);
            castDepths(camera, depths);
            depth.depths = depths.data();
            scene.view.viewProjection = camera.viewProjection;

            const std::uint64_t allocationsBefore = VarnekSupport::allocationCount();
            const double start = threadSeconds();
            const std::vector<PlacedLabel>& placed = placer.place(requests, scene);
            seconds[frame] = threadSeconds() - start;
            if (measured) {
                allocationsMax = std::max(
                    allocationsMax,
                    static_cast<std::size_t>(VarnekSupport::allocationCount() - allocationsBefore));
            }

            // The 2D call with the same projected, unoccluded labels.
            flatRequests.clear();
            for (std::size_t i = 0; i < count; ++i) {
                if (!isCulled(placed[i].hiddenReason) &&
                    placed[i].hiddenReason != LabelHiddenReason::OutOfContract) {
                    flatRequests.push_back(requests[i]);
                    flatRequests.back().anchor = placed[i].anchorInView;
                }
            }
            const double flatStart = threadSeconds();
            benchmark::DoNotOptimize(flat.place(flatRequests).data());
            flatSeconds[frame] = threadSeconds() - flatStart;
            if (!measured) {
                for (std::size_t i = 0; i < count; ++i) {
                    opacity[i] = placed[i].opacity;
                    referencePoint[i] = static_cast<int>(placed[i].referencePoint);
                }
                continue;
            }

            const PlacementCheck check = checkPlacement(viewport, placed);
            overlapsMax = std::max(overlapsMax, check.overlappingPairs);
            outsideMax = std::max(outsideMax, check.outside);
            std::size_t keptOut = 0, hiddenDrawn = 0, bothDrawn = 0, jumps = 0;
            for (std::size_t i = 0; i < count; ++i) {
                const PlacedLabel& label = placed[i];
                const bool drawn = label.opacity > 0.0F;
                const bool anchorVisible = !isCulled(label.hiddenReason);
                drawnSum += drawn ? 1 : 0;
                fadingSum += drawn && label.opacity < 1.0F ? 1 : 0;
                gone += !drawn && opacity[i] > 0.0F ? 1 : 0;
                cutOff += !drawn && opacity[i] > 1.0F / static_cast<float>(s_fadeFrames) ? 1 : 0;
                if (drawn) {
                    keptOut += overlaps(label.bounds, options.keepOut[0]) ||
                                       overlaps(label.bounds, viewCube)
                                   ? 1
                                   : 0;
                    hiddenDrawn += !anchorVisible && label.opacity >= opacity[i] ? 1 : 0;
                }
                if (drawn && opacity[i] > 0.0F) {
                    ++bothDrawn;
                    jumps += static_cast<int>(label.referencePoint) != referencePoint[i] ? 1 : 0;
                }
                if (!anchorVisible) {
                    lastDrawn[i] = std::numeric_limits<std::size_t>::max();
                    goneSince[i] = 0;
                } else if (drawn) {
                    flicker += goneSince[i] != 0 && step - lastDrawn[i] <= s_flickerWindow ? 1 : 0;
                    lastDrawn[i] = step;
                    goneSince[i] = 0;
                } else if (lastDrawn[i] != std::numeric_limits<std::size_t>::max()) {
                    goneSince[i] = 1;
                }
                opacity[i] = label.opacity;
                referencePoint[i] = static_cast<int>(label.referencePoint);
            }
            keepOutMax = std::max(keepOutMax, keptOut);
            hiddenDrawnMax = std::max(hiddenDrawnMax, hiddenDrawn);
            shownSum += flatRequests.empty() ? 0.0
                                             : 100.0 * static_cast<double>(check.visible) /
                                                   static_cast<double>(flatRequests.size());
            inViewSum += static_cast<double>(flatRequests.size());
            {
                const double share = bothDrawn == 0 ? 0.0
                                                    : 100.0 * static_cast<double>(jumps) /
                                                          static_cast<double>(bothDrawn);
                jumpsMax = std::max(jumpsMax, share);
                jumpsSum += share;
            }
        }
    }
    std::vector<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());
    std::sort(flatSeconds.begin(), flatSeconds.end());
    const std::size_t p99 = std::min(frames - 1, (frames * 99 + 99) / 100 - 1);
    const double n = static_cast<double>(frames);
    state.counters[s_frames] = n;
    state.counters[s_inViewMean] = inViewSum / n;
    state.counters[s_shownPercent] = shownSum / n;
    state.counters[s_overlapsMax] = static_cast<double>(overlapsMax);
    state.counters[s_outsideMax] = static_cast<double>(outsideMax);
    state.counters[s_keepOutMax] = static_cast<double>(keepOutMax);
    state.counters[s_hiddenDrawnMax] = static_cast<double>(hiddenDrawnMax);
    state.counters[s_jumpsMaxPercent] = jumpsMax;
    state.counters[s_jumpsMeanPercent] = jumpsSum / n;
    state.counters[s_flickerTotal] = static_cast<double>(flicker);
    state.counters[s_drawnMean] = static_cast<double>(drawnSum) / n;
    state.counters[s_fadingMean] = static_cast<double>(fadingSum) / n;
    state.counters[s_goneTotal] = static_cast<double>(gone);
    state.counters[s_cutOffTotal] = static_cast<double>(cutOff);
    state.counters[s_frameMedianMs] = 1e3 * sorted[frames / 2];
    state.counters[s_frameP99Ms] = 1e3 * sorted[p99];
    state.counters[s_flatMedianMs] = 1e3 * flatSeconds[frames / 2];
    state.counters["allocs"] = static_cast<double>(allocationsMax);
    state.counters["allocs_target"] = 0.0;
}

[[maybe_unused]] const bool s_registered = [] {
    for (const bool fades : {true, false}) {
        benchmark::RegisterBenchmark(fades ? s_orbitWithFades : s_orbitWithoutFades, orbit, fades)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(1);
    }
    return true;
}();

}  // namespace

void useOrbitSmokeSizes(bool smoke) {
    s_orbitSmoke = smoke;
}

bool SummaryReporter::printOrbitSummary(std::ostream& out) const {
    bool held = true;
    char line[256];
    bool any = false;
    for (const char* name : {s_orbitWithFades, s_orbitWithoutFades}) {
        const auto value = [&](const char* counter) { return namedCounter(name, counter); };
        if (value(s_frames) < 0.0) {
            continue;
        }
        if (!any) {
            out << "\nOrbit of a 3D view (P12, effort 1, world anchors, depth image 480 x 270, "
                   "keep-out): per frame\n";
            std::snprintf(line, sizeof line,
                          "  %-24s %6s %8s %6s %9s %8s %8s %8s %15s %7s %16s %8s %6s\n", "run",
                          "frames", "in view", "shown", "overlaps", "outside", "keepout", "hidden",
                          "jumps max, mean", "flicker", "ms median, p99", "ms 2D", "ratio");
            out << line;
            any = true;
        }
        const double ratio = value(s_frameMedianMs) / value(s_flatMedianMs);
        std::snprintf(line, sizeof line,
                      "  %-24s %6.0f %8.0f %5.1f%% %9.0f %8.0f %8.0f %8.0f %6.3f%%, %.3f%% %7.0f "
                      "%7.3f, %6.3f %8.3f %6.2f\n",
                      name, value(s_frames), value(s_inViewMean), value(s_shownPercent),
                      value(s_overlapsMax), value(s_outsideMax), value(s_keepOutMax),
                      value(s_hiddenDrawnMax), value(s_jumpsMaxPercent), value(s_jumpsMeanPercent),
                      value(s_flickerTotal), value(s_frameMedianMs), value(s_frameP99Ms),
                      value(s_flatMedianMs), ratio);
        out << line;
        if (value(s_overlapsMax) != 0.0 || value(s_outsideMax) != 0.0 ||
            value(s_keepOutMax) != 0.0 || value(s_hiddenDrawnMax) != 0.0) {
            held = false;
            std::snprintf(line, sizeof line,
                          "  ERROR: %s: a frame has overlaps, labels outside or on what is kept "
                          "out, or labels drawn anew for culled anchors\n",
                          name);
            out << line;
        }
        if (value(s_fadingMean) > 0.0) {
            std::snprintf(line, sizeof line,
                          "  %s: churn: %.0f labels drawn a frame, %.0f of them fading; %.0f "
                          "went, %.0f of those cut off before a fade's last step\n",
                          name, value(s_drawnMean), value(s_fadingMean), value(s_goneTotal),
                          value(s_cutOffTotal));
            out << line;
        }
        std::snprintf(line, sizeof line,
                      "  %s: 3D frame median <= 1.5x the 2D placement of the same labels: %.2fx  "
                      "%s\n",
                      name, ratio, ratio <= 1.5 ? "met" : "MISSED");
        out << line;
    }
    return held;
}

}  // namespace VarnekBench

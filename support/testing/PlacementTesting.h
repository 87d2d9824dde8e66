// Test support for the placer: the backgrounds of the yardstick scenes, a
// seeded random scene, and a check of every guarantee a placement makes.
// Used by tests and the fuzz target only; not installed.
#ifndef VARNEK_TESTING_PLACEMENTTESTING_H
#define VARNEK_TESTING_PLACEMENTTESTING_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <varnek/label_placement/CoverageMask.h>
#include <varnek/label_placement/LabelPlacer.h>
#include <varnek/label_shape/BalloonLabelBackground.h>
#include <varnek/label_shape/LayeredLabelIndicator.h>
#include <varnek/label_shape/SymmetricCornerLabelBackground.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

namespace VarnekTesting {

// One of each kind of background, initialised with scale as the view height.
inline std::vector<std::shared_ptr<Varnek::LabelBackground>> makeBackgrounds(float scale) {
    std::vector<std::shared_ptr<Varnek::LabelBackground>> backgrounds = {
        Varnek::SymmetricCornerLabelBackground::createRoundCornered(
            Varnek::TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true,
                                                                                        0.015f)),
        Varnek::SymmetricCornerLabelBackground::createFlatCornered(
            Varnek::LayeredLabelIndicator::createLayeredLabelIndicator(
                true, Varnek::LayeredLabelIndicator::Upper, false, 0.0f)),
        Varnek::SymmetricCornerLabelBackground::createSimpleRectangle(nullptr),
        std::make_shared<Varnek::BalloonLabelBackground>(),
    };
    for (const auto& background : backgrounds) {
        background->initialize(scale);
    }
    return backgrounds;
}

// A plain rectangle (no pointer, the label's corner on its anchor),
// initialised with scale as the view height.
inline std::shared_ptr<Varnek::LabelBackground> makePlainRectangle(float scale) {
    auto background = Varnek::SymmetricCornerLabelBackground::createSimpleRectangle(nullptr);
    background->initialize(scale);
    return background;
}

// A 30 x 7 label at (x, y) with the placer's default background.
inline Varnek::LabelRequest label(std::uint64_t key, float x, float y, float priority = 0.0f) {
    Varnek::LabelRequest request{};
    request.key = key;
    request.anchor = {x, y, 0.0f};
    request.size = {30.0f, 7.0f, 0.0f};
    request.priority = priority;
    return request;
}

// A view whose world x and y are view coordinates, for a viewport with its
// top left corner at the origin: the 3D call places as the 2D call does.
inline Varnek::LabelView flatView(const Varnek::LabelRect& viewport) {
    Varnek::LabelView view;
    view.viewProjection = {};
    view.viewProjection[0] = 2.0f / viewport.right;
    view.viewProjection[5] = -2.0f / viewport.bottom;
    view.viewProjection[12] = -1.0f;
    view.viewProjection[13] = 1.0f;
    view.viewProjection[15] = 1.0f;
    view.viewport = viewport;
    return view;
}

// Labels of about 30 x 7 with anchors uniform in the viewport, a few
// priorities, and backgrounds drawn from the given ones (null: the default).
inline std::vector<Varnek::LabelRequest> makeRandomScene(
    std::mt19937& random, std::size_t count, const Varnek::LabelRect& viewport,
    const std::vector<std::shared_ptr<Varnek::LabelBackground>>& backgrounds) {
    std::uniform_real_distribution<float> x(viewport.left, viewport.right);
    std::uniform_real_distribution<float> y(viewport.top, viewport.bottom);
    std::uniform_real_distribution<float> width(10.0f, 40.0f);
    std::uniform_real_distribution<float> height(5.0f, 9.0f);
    std::uniform_int_distribution<int> priority(0, 2);
    std::uniform_int_distribution<std::size_t> background(0, backgrounds.size());
    std::vector<Varnek::LabelRequest> labels(count);
    for (std::size_t i = 0; i < count; ++i) {
        Varnek::LabelRequest& label = labels[i];
        label.key = i;
        label.anchor = {x(random), y(random), 0.0f};
        label.size = {width(random), height(random), 0.0f};
        label.priority = static_cast<float>(priority(random));
        const std::size_t b = background(random);
        label.background = b < backgrounds.size() ? backgrounds[b].get() : nullptr;
    }
    return labels;
}

inline bool overlapsWithGap(const Varnek::LabelRect& a, const Varnek::LabelRect& b, float gap) {
    const float h = gap > 0.0f ? 0.5f * gap : 0.0f;
    return a.left - h < b.right + h && b.left - h < a.right + h && a.top - h < b.bottom + h &&
           b.top - h < a.bottom + h;
}

inline bool holdsStrictly(const Varnek::LabelRect& r, const Varnek::Vector<float, 3>& p) {
    return r.left < p[0] && p[0] < r.right && r.top < p[1] && p[1] < r.bottom;
}

inline bool isInside(const Varnek::LabelRect& r, const Varnek::LabelRect& area) {
    return r.left >= area.left && r.right <= area.right && r.top >= area.top &&
           r.bottom <= area.bottom;
}

// Bit for bit, NaNs and signed zeros included.
inline bool sameBits(float a, float b) {
    std::uint32_t bitsA = 0;
    std::uint32_t bitsB = 0;
    std::memcpy(&bitsA, &a, sizeof bitsA);
    std::memcpy(&bitsB, &b, sizeof bitsB);
    return bitsA == bitsB;
}

inline bool sameBits(const Varnek::Vector<float, 3>& a, const Varnek::Vector<float, 3>& b) {
    return sameBits(a[0], b[0]) && sameBits(a[1], b[1]) && sameBits(a[2], b[2]);
}

inline bool sameBits(const Varnek::LabelRect& a, const Varnek::LabelRect& b) {
    return sameBits(a.left, b.left) && sameBits(a.top, b.top) && sameBits(a.right, b.right) &&
           sameBits(a.bottom, b.bottom);
}

// The bounds of one label at a reference point, from the background's own
// outline, in view coordinates; NaN when a point is NaN (no rectangle holds
// such an outline, so the label cannot be shown there).
inline Varnek::LabelRect boundsFromOutline(const Varnek::LabelBackground& background,
                                           const Varnek::LabelRequest& label,
                                           Varnek::LabelBackground::ReferencePoint referencePoint) {
    const Varnek::Vector<float, 3> offset = background.getOffset(referencePoint, label.size);
    Varnek::LabelRect r{label.anchor[0], label.anchor[1], label.anchor[0], label.anchor[1]};
    for (const auto& p : background.getPolygon(referencePoint, label.size, offset)) {
        const float x = label.anchor[0] + p[0];
        const float y = label.anchor[1] + p[1];
        if (std::isnan(x) || std::isnan(y)) {
            const float nan = std::numeric_limits<float>::quiet_NaN();
            return {nan, nan, nan, nan};
        }
        r = {x < r.left ? x : r.left, y < r.top ? y : r.top, x > r.right ? x : r.right,
             y > r.bottom ? y : r.bottom};
    }
    return r;
}

// Whether the anchor of a label hidden with this reason was culled or
// occluded in a 3D call: it is no obstacle to labels or leaders then.
inline bool isCulled(Varnek::LabelHiddenReason reason) {
    return reason == Varnek::LabelHiddenReason::BehindCamera ||
           reason == Varnek::LabelHiddenReason::OutsideView ||
           reason == Varnek::LabelHiddenReason::Occluded;
}

// Whether r shares an interior point with a nonzero cell of the mask laid
// over viewport (CoverageMask), by more than 2^-22 of the viewport's
// magnitude on both axes: the cells' edges are computed in double, the
// placer's own within a float's rounding of them.
inline bool meetsMask(const Varnek::LabelRect& r, const Varnek::CoverageMask& mask,
                      const Varnek::LabelRect& viewport) {
    if (mask.cells == nullptr || mask.width <= 0 || mask.height <= 0) {
        return false;
    }
    const double left = viewport.left;
    const double top = viewport.top;
    const double cellWidth = (static_cast<double>(viewport.right) - left) / mask.width;
    const double cellHeight = (static_cast<double>(viewport.bottom) - top) / mask.height;
    const double slack = 0x1p-22 * std::max({std::fabs(left), std::fabs(top),
                                             std::fabs(static_cast<double>(viewport.right)),
                                             std::fabs(static_cast<double>(viewport.bottom))});
    for (int row = 0; row < mask.height; ++row) {
        for (int column = 0; column < mask.width; ++column) {
            if (mask.cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(mask.width) +
                           static_cast<std::size_t>(column)] != 0 &&
                r.left < left + (column + 1) * cellWidth - slack &&
                left + column * cellWidth + slack < r.right &&
                r.top < top + (row + 1) * cellHeight - slack &&
                top + row * cellHeight + slack < r.bottom) {
                return true;
            }
        }
    }
    return false;
}

// What a 3D call adds to the check of its result: anchors land where the
// view puts them, those culled or occluded are no obstacles and get no
// label drawn anew, and labels keep off the mask's nonzero cells.
struct SceneCheck {
    // The scene's coverage mask; null: none.
    const Varnek::CoverageMask* mask = nullptr;
    // Each request's opacity in the previous call, by index; null: no
    // label was drawn before.
    const std::vector<float>* opacityBefore = nullptr;
};

// Every guarantee of a placement, of the 2D call or, given scene, of the 3D
// call; an empty string when all hold, else the first broken one. With
// fades a label fading out may cover an anchor, and the priority rule,
// which labels held back for a fading one's room do not follow, is not
// checked.
inline std::string checkGuarantees(
    const std::vector<Varnek::LabelRequest>& labels, const std::vector<Varnek::PlacedLabel>& placed,
    const Varnek::LabelPlacementOptions& options, const Varnek::LabelBackground* defaultBackground,
    const std::vector<Varnek::LabelBackground::ReferencePoint>& candidates,
    const SceneCheck* scene = nullptr) {
    std::ostringstream error;
    if (placed.size() != labels.size()) {
        return "result size";
    }
    const auto backgroundOf = [&](std::size_t i) {
        return labels[i].background != nullptr ? labels[i].background : defaultBackground;
    };
    // The label's request with its anchor where it landed in view.
    const auto inView = [&](std::size_t i) {
        Varnek::LabelRequest request = labels[i];
        request.anchor = placed[i].anchorInView;
        return request;
    };
    // Whether label i at b covers an anchor the options make an obstacle.
    // A request that cannot be placed at all counts as of the lowest priority.
    const auto coversAnchor = [&](const Varnek::LabelRect& b, std::size_t i, std::size_t j) {
        const bool placeable =
            placed[j].hiddenReason != Varnek::LabelHiddenReason::OutOfContract &&
            placed[j].hiddenReason != Varnek::LabelHiddenReason::BackgroundNotInitialized;
        return j != i && options.anchorsAreObstacles && !isCulled(placed[j].hiddenReason) &&
               holdsStrictly(b, placed[j].anchorInView) &&
               (options.lowerPriorityAnchorsAreObstacles ||
                (placeable && !(labels[j].priority < labels[i].priority)));
    };
    // An inverted rectangle, or one with a NaN side, keeps nothing out.
    const auto keptOut = [&](const Varnek::LabelRect& b) {
        return std::any_of(options.keepOut.begin(), options.keepOut.end(),
                           [&](const Varnek::LabelRect& out) {
                               return out.left <= out.right && out.top <= out.bottom &&
                                      overlapsWithGap(b, out, 0.0f);
                           }) ||
               (scene != nullptr && scene->mask != nullptr &&
                meetsMask(b, *scene->mask, options.viewport));
    };
    const auto same = [](float a, float e) {
        return sameBits(a, e) || (std::isnan(a) && std::isnan(e));
    };
    for (std::size_t i = 0; i < labels.size(); ++i) {
        // A 2D call: the anchor as given; a hidden label lies there, empty.
        const Varnek::Vector<float, 3>& anchor = placed[i].anchorInView;
        const float opacity = placed[i].opacity;
        if ((scene == nullptr && !sameBits(anchor, labels[i].anchor)) || !(opacity >= 0.0f) ||
            !(opacity <= 1.0f) || placed[i].visible != (opacity > 0.0f) ||
            (options.fadeFrames <= 0 && opacity != (placed[i].visible ? 1.0f : 0.0f))) {
            error << "label " << i << " anchorInView or opacity";
            return error.str();
        }
        if (!placed[i].visible) {
            if (placed[i].referencePoint != Varnek::LabelBackground::Center ||
                !sameBits(placed[i].offset, Varnek::Vector<float, 3>::getZeroVector()) ||
                !same(placed[i].bounds.left, anchor[0]) ||
                !same(placed[i].bounds.right, anchor[0]) ||
                !same(placed[i].bounds.top, anchor[1]) ||
                !same(placed[i].bounds.bottom, anchor[1])) {
                error << "hidden label " << i << " is not the empty rectangle at its anchor";
                return error.str();
            }
            continue;
        }
        // Drawn for a culled or occluded anchor only while fading out.
        if (isCulled(placed[i].hiddenReason) &&
            !(scene != nullptr && scene->opacityBefore != nullptr &&
              opacity < (*scene->opacityBefore)[i])) {
            error << "label " << i << " drawn anew for an anchor culled or occluded";
            return error.str();
        }
        const Varnek::LabelRect& b = placed[i].bounds;
        if (!isInside(b, options.viewport)) {
            error << "label " << i << " outside the viewport";
            return error.str();
        }
        if (keptOut(b)) {
            error << "label " << i << " meets what is kept out";
            return error.str();
        }
        const Varnek::LabelBackground& background = *backgroundOf(i);
        const Varnek::LabelRect outline =
            placed[i].callout ? b
                              : boundsFromOutline(background, inView(i), placed[i].referencePoint);
        if (!isInside(outline, b)) {
            error << "label " << i << " bounds miss its outline";
            return error.str();
        }
        const Varnek::Vector<float, 3> offset =
            background.getOffset(placed[i].referencePoint, labels[i].size);
        // A callout's body and leader: checkOutlinesAndCallouts.
        if (!placed[i].callout && !sameBits(offset, placed[i].offset)) {
            error << "label " << i << " offset differs from getOffset";
            return error.str();
        }
        for (std::size_t j = 0; j < labels.size(); ++j) {
            if (j == i) {
                continue;
            }
            if (placed[j].visible && j > i && overlapsWithGap(b, placed[j].bounds, options.gap)) {
                error << "labels " << i << " and " << j << " overlap";
                return error.str();
            }
            // A label fading out may cover an anchor that came under it.
            if (placed[i].hiddenReason == Varnek::LabelHiddenReason::None &&
                coversAnchor(b, i, j)) {
                error << "label " << i << " covers the anchor of " << j;
                return error.str();
            }
        }
    }
    // A hidden label's every possible place is taken by a label of at least
    // its priority.
    for (std::size_t i = 0; i < labels.size() && options.fadeFrames <= 0; ++i) {
        if (placed[i].visible || placed[i].hiddenReason != Varnek::LabelHiddenReason::NoRoom) {
            continue;
        }
        for (const auto referencePoint : candidates) {
            const Varnek::LabelRect b =
                boundsFromOutline(*backgroundOf(i), inView(i), referencePoint);
            bool allowed = isInside(b, options.viewport) && !keptOut(b);
            for (std::size_t j = 0; allowed && j < labels.size(); ++j) {
                allowed = !coversAnchor(b, i, j);
            }
            if (!allowed) {
                continue;
            }
            bool blocked = false;
            for (std::size_t j = 0; !blocked && j < labels.size(); ++j) {
                blocked = j != i && placed[j].visible && labels[j].priority >= labels[i].priority &&
                          overlapsWithGap(b, placed[j].bounds, options.gap);
            }
            if (!blocked) {
                error << "hidden label " << i << " has room at " << referencePoint;
                return error.str();
            }
        }
    }
    return {};
}

// The sign of the turn p -> q -> r, exact for finite floats (0 when one is
// not): the sum of its six products of two floats, each an integer times
// 2^-298, added up as integers (positive and negative terms apart, 576 bits
// each) and compared.
inline int exactTurn(const Varnek::Vector<float, 3>& p, const Varnek::Vector<float, 3>& q,
                     const Varnek::Vector<float, 3>& r) {
    for (const float f : {p[0], p[1], q[0], q[1], r[0], r[1]}) {
        if (!std::isfinite(f)) {
            return 0;
        }
    }
    constexpr std::size_t limbs = 9;
    // f = mantissa 2^exponent, the mantissa an integer below 2^24.
    const auto split = [](float f, std::uint64_t& mantissa, int& exponent) {
        int power = 0;
        std::frexp(f, &power);
        exponent = std::max(power - 24, -149);
        mantissa =
            static_cast<std::uint64_t>(std::ldexp(std::fabs(static_cast<double>(f)), -exponent));
    };
    std::uint64_t sums[2][limbs] = {};
    const auto add = [&](float x, float y, int sign) {
        std::uint64_t mx = 0;
        std::uint64_t my = 0;
        int ex = 0;
        int ey = 0;
        split(x, mx, ex);
        split(y, my, ey);
        const std::uint64_t product = mx * my;
        if (product == 0) {
            return;
        }
        const bool negative = (sign < 0) != ((x < 0.0f) != (y < 0.0f));
        std::uint64_t* sum = sums[negative ? 1 : 0];
        // At least 0: each exponent is at least -149.
        const int bits = ex + ey + 298;
        const auto shift = static_cast<std::size_t>(bits);
        const std::uint64_t parts[2] = {product << (shift % 64),
                                        shift % 64 == 0 ? 0 : product >> (64 - shift % 64)};
        std::uint64_t carry = 0;
        for (std::size_t i = shift / 64; i < limbs; ++i) {
            const std::uint64_t part = i - shift / 64 < 2 ? parts[i - shift / 64] : 0;
            const std::uint64_t total = sum[i] + part;
            const std::uint64_t next = (total < part ? 1 : 0) + (total + carry < total ? 1 : 0);
            sum[i] = total + carry;
            carry = next;
        }
    };
    add(q[0], r[1], 1);
    add(q[0], p[1], -1);
    add(p[0], r[1], -1);
    add(q[1], r[0], -1);
    add(q[1], p[0], 1);
    add(p[1], r[0], 1);
    for (std::size_t i = limbs; i-- > 0;) {
        if (sums[0][i] != sums[1][i]) {
            return sums[0][i] > sums[1][i] ? 1 : -1;
        }
    }
    return 0;
}

// Whether segments (a, b) and (c, d) share a point, exactly.
inline bool segmentsMeet(const Varnek::Vector<float, 3>& a, const Varnek::Vector<float, 3>& b,
                         const Varnek::Vector<float, 3>& c, const Varnek::Vector<float, 3>& d) {
    const auto within = [](float p, float q, float r, float t) {
        return std::max(p, q) >= std::min(r, t) && std::max(r, t) >= std::min(p, q);
    };
    if (!within(a[0], b[0], c[0], d[0]) || !within(a[1], b[1], c[1], d[1])) {
        return false;
    }
    return exactTurn(a, b, c) * exactTurn(a, b, d) <= 0 &&
           exactTurn(c, d, a) * exactTurn(c, d, b) <= 0;
}

// Whether the segment (a, b) has a point strictly inside r (finite),
// exactly: its box reaches into r's inside on both axes, and it runs along
// an axis or its line has corners of r strictly on either side.
inline bool segmentEntersRect(const Varnek::Vector<float, 3>& a, const Varnek::Vector<float, 3>& b,
                              const Varnek::LabelRect& r) {
    if (!(r.left < r.right && r.top < r.bottom && std::max(a[0], b[0]) > r.left &&
          std::min(a[0], b[0]) < r.right && std::max(a[1], b[1]) > r.top &&
          std::min(a[1], b[1]) < r.bottom)) {
        return false;
    }
    if (a[0] == b[0] || a[1] == b[1]) {
        return true;
    }
    bool left = false;
    bool right = false;
    for (const float x : {r.left, r.right}) {
        for (const float y : {r.top, r.bottom}) {
            const int turn = exactTurn(a, b, {x, y, 0.0f});
            left = left || turn > 0;
            right = right || turn < 0;
        }
    }
    return left && right;
}

// Whether p lies on the segment (a, b), exactly.
inline bool liesOnSegment(const Varnek::Vector<float, 3>& p, const Varnek::Vector<float, 3>& a,
                          const Varnek::Vector<float, 3>& b) {
    return std::min(a[0], b[0]) <= p[0] && p[0] <= std::max(a[0], b[0]) &&
           std::min(a[1], b[1]) <= p[1] && p[1] <= std::max(a[1], b[1]) && exactTurn(a, b, p) == 0;
}

// The distance from p to the segment (a, b).
inline double distanceToSegment(const Varnek::Vector<float, 3>& p,
                                const Varnek::Vector<float, 3>& a,
                                const Varnek::Vector<float, 3>& b) {
    const double dx = static_cast<double>(b[0]) - a[0];
    const double dy = static_cast<double>(b[1]) - a[1];
    const double length2 = dx * dx + dy * dy;
    double t =
        length2 > 0.0
            ? ((p[0] - static_cast<double>(a[0])) * dx + (p[1] - static_cast<double>(a[1])) * dy) /
                  length2
            : 0.0;
    t = std::min(1.0, std::max(0.0, t));
    return std::hypot(a[0] + t * dx - p[0], a[1] + t * dy - p[1]);
}

// Whether the segment (a, b) has a point inside r grown by grow on every
// side by more than 2^-22 of the coordinates' magnitude, in double: the
// placer grows r in floats, within half a float's rounding of this.
inline bool segmentEntersGrownRect(const Varnek::Vector<float, 3>& a,
                                   const Varnek::Vector<float, 3>& b, const Varnek::LabelRect& r,
                                   double grow) {
    const double low[2] = {r.left - grow, r.top - grow};
    const double high[2] = {r.right + grow, r.bottom + grow};
    const double slack =
        0x1p-22 *
        std::max({std::fabs(low[0]), std::fabs(low[1]), std::fabs(high[0]), std::fabs(high[1]),
                  std::fabs(static_cast<double>(a[0])), std::fabs(static_cast<double>(a[1])),
                  std::fabs(static_cast<double>(b[0])), std::fabs(static_cast<double>(b[1]))});
    // The part of the segment, a + t (b - a) for t in [from, to], inside.
    double from = 0.0;
    double to = 1.0;
    for (std::size_t k = 0; k < 2; ++k) {
        const double start = a[k];
        const double step = static_cast<double>(b[k]) - start;
        const double inLow = low[k] + slack;
        const double inHigh = high[k] - slack;
        if (step == 0.0) {
            if (!(inLow < start && start < inHigh)) {
                return false;
            }
            continue;
        }
        const double t0 = (inLow - start) / step;
        const double t1 = (inHigh - start) / step;
        from = std::max(from, std::min(t0, t1));
        to = std::min(to, std::max(t0, t1));
    }
    return from < to;
}

// Every guarantee of the outlines (appendOutlines), their fill triangles
// (appendTriangles from point 0, when given) and the callouts and leaders
// (appendLeaders) of a placement's drawn labels; an empty string when all
// hold, else the first broken one. distance is the callout distance the
// placer resolved the option to, gap the option's gap.
inline std::string checkOutlinesAndCallouts(const std::vector<Varnek::LabelRequest>& labels,
                                            const std::vector<Varnek::PlacedLabel>& placed,
                                            const Varnek::LabelBackground* defaultBackground,
                                            float distance, float gap,
                                            const std::vector<Varnek::Vector<float, 3>>& points,
                                            const std::vector<std::uint32_t>& starts,
                                            const std::vector<Varnek::Vector<float, 3>>& leaders,
                                            const std::vector<std::uint32_t>* triangles = nullptr) {
    using Varnek::LabelBackground;
    std::ostringstream error;
    std::size_t outline = 0;
    std::size_t triangle = 0;
    std::size_t leader = 0;
    std::vector<std::size_t> leaderOf(labels.size(), leaders.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!placed[i].visible) {
            continue;
        }
        const std::size_t k = outline++;
        const Varnek::LabelBackground& background =
            labels[i].background != nullptr ? *labels[i].background : *defaultBackground;
        const Varnek::LabelRect& b = placed[i].bounds;
        const Varnek::Vector<float, 3>& anchor = placed[i].anchorInView;
        // The background's outline at the reference point, at the anchor; a
        // callout's the body alone: the outline for Center, moved.
        const LabelBackground::ReferencePoint referencePoint =
            placed[i].callout ? LabelBackground::Center : placed[i].referencePoint;
        const Varnek::Vector<float, 3> centre =
            background.getOffset(referencePoint, labels[i].size);
        const auto body = background.getPolygon(referencePoint, labels[i].size, centre);
        if (k + 1 >= starts.size() || starts[k + 1] - starts[k] != body.size()) {
            error << "label " << i << " outline is not its background's";
            return error.str();
        }
        const double shiftX = static_cast<double>(placed[i].offset[0]) - centre[0];
        const double shiftY = static_cast<double>(placed[i].offset[1]) - centre[1];
        for (std::size_t p = 0; p < body.size(); ++p) {
            const Varnek::Vector<float, 3>& q = points[starts[k] + p];
            const double scale = 1e-4 * (1.0 + std::fabs(anchor[0]) + std::fabs(anchor[1]) +
                                         std::fabs(q[0]) + std::fabs(q[1]));
            if (!(q[0] >= b.left && q[0] <= b.right && q[1] >= b.top && q[1] <= b.bottom) ||
                std::fabs(q[0] - (anchor[0] + shiftX + body[p][0])) > scale ||
                std::fabs(q[1] - (anchor[1] + shiftY + body[p][1])) > scale || q[2] != 0.0f) {
                error << "label " << i << " outline point " << p << " off its place";
                return error.str();
            }
        }
        for (const std::uint32_t index : triangles != nullptr
                                             ? LabelBackground::getPolygonTriangles(body)
                                             : std::vector<std::uint32_t>()) {
            if (triangle >= triangles->size() || (*triangles)[triangle++] != starts[k] + index) {
                error << "label " << i << " fill triangles are not its outline's";
                return error.str();
            }
        }
        if (!placed[i].callout) {
            continue;
        }
        if (2 * leader + 1 >= leaders.size()) {
            error << "callout " << i << " lacks its leader";
            return error.str();
        }
        leaderOf[i] = 2 * leader++;
        const double awayX = std::max({b.left - static_cast<double>(anchor[0]), 0.0,
                                       anchor[0] - static_cast<double>(b.right)});
        const double awayY = std::max({b.top - static_cast<double>(anchor[1]), 0.0,
                                       anchor[1] - static_cast<double>(b.bottom)});
        if (!(awayX > 0.0 || awayY > 0.0) || std::hypot(awayX, awayY) > distance * (1.0 + 1e-6)) {
            error << "callout " << i << " body not within the distance of its anchor";
            return error.str();
        }
        const bool left = b.right <= anchor[0];
        const bool right = b.left >= anchor[0];
        const LabelBackground::ReferencePoint side =
            b.bottom <= anchor[1]
                ? (left ? LabelBackground::TopLeft
                        : (right ? LabelBackground::TopRight : LabelBackground::TopCenter))
            : b.top >= anchor[1]
                ? (left ? LabelBackground::BottomLeft
                        : (right ? LabelBackground::BottomRight : LabelBackground::BottomCenter))
                : (left ? LabelBackground::LeftCenter : LabelBackground::RightCenter);
        if (placed[i].referencePoint != side) {
            error << "callout " << i << " reference point names the wrong side";
            return error.str();
        }
        const Varnek::Vector<float, 3>& from = leaders[leaderOf[i]];
        const Varnek::Vector<float, 3>& to = leaders[leaderOf[i] + 1];
        if (!sameBits(from, {anchor[0], anchor[1], 0.0f})) {
            error << "callout " << i << " leader does not start at its anchor";
            return error.str();
        }
        double toOutline = std::numeric_limits<double>::infinity();
        for (std::size_t p = 0; p < body.size(); ++p) {
            toOutline =
                std::min(toOutline, distanceToSegment(to, points[starts[k] + p],
                                                      points[starts[k] + (p + 1) % body.size()]));
        }
        // Within rounding: far from the origin a float is coarser than 1e-3.
        const double touch = 1e-3 + 1e-6 * (std::fabs(to[0]) + std::fabs(to[1]));
        if (!(toOutline <= touch)) {
            error << "callout " << i << " leader does not touch its body";
            return error.str();
        }
    }
    if (triangles != nullptr && triangle != triangles->size()) {
        return "fill triangles of no outline";
    }
    if (2 * leader != leaders.size()) {
        return "leaders of labels that are no callouts";
    }
    const double halfGap = gap > 0.0f ? 0.5 * gap : 0.0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (leaderOf[i] == leaders.size()) {
            continue;
        }
        const Varnek::Vector<float, 3>& a = leaders[leaderOf[i]];
        const Varnek::Vector<float, 3>& b = leaders[leaderOf[i] + 1];
        // Half the gap, and a 64th of the body's smaller side.
        const Varnek::LabelRect& body = placed[i].bounds;
        const double clearance =
            std::max(halfGap, std::min(static_cast<double>(body.right) - body.left,
                                       static_cast<double>(body.bottom) - body.top) /
                                  64.0);
        for (std::size_t j = 0; j < labels.size(); ++j) {
            if (j == i) {
                continue;
            }
            if (leaderOf[j] != leaders.size() && j > i &&
                segmentsMeet(a, b, leaders[leaderOf[j]], leaders[leaderOf[j] + 1])) {
                error << "leaders of " << i << " and " << j << " cross";
                return error.str();
            }
            if (placed[j].visible &&
                (segmentEntersRect(a, b, placed[j].bounds) ||
                 (halfGap > 0.0 && segmentEntersGrownRect(a, b, placed[j].bounds, halfGap)))) {
                error << "leader of " << i << " passes through label " << j;
                return error.str();
            }
            // Every anchor but those culled or occluded in a 3D call, closer
            // than the clearance by more than a float's rounding of the body's
            // place and of the clearance, or exactly on the leader. A leader
            // fading out may pass an anchor that came into view or moved
            // onto it.
            const Varnek::Vector<float, 3>& other = placed[j].anchorInView;
            if (placed[i].hiddenReason != Varnek::LabelHiddenReason::None ||
                isCulled(placed[j].hiddenReason) || !std::isfinite(other[0]) ||
                !std::isfinite(other[1])) {
                continue;
            }
            const double slack = 0x1p-24 * std::max({std::fabs(static_cast<double>(a[0])),
                                                     std::fabs(static_cast<double>(a[1])),
                                                     std::fabs(static_cast<double>(b[0])),
                                                     std::fabs(static_cast<double>(b[1]))}) +
                                 0x1p-20 * clearance;
            if (liesOnSegment(other, a, b) || distanceToSegment(other, a, b) < clearance - slack) {
                error << "leader of " << i << " passes the anchor of " << j
                      << " within the clearance";
                return error.str();
            }
        }
    }
    return {};
}

// Places with the default candidates and checks every guarantee of the
// labels, of their outlines and of the callouts, and that the fill
// triangles are those of the outlines; an empty string when all hold.
inline std::string placeAndCheck(Varnek::LabelPlacer& placer,
                                 const std::vector<Varnek::LabelRequest>& labels,
                                 const Varnek::LabelBackground* background, float distance,
                                 std::vector<Varnek::PlacedLabel>& placed,
                                 std::vector<Varnek::Vector<float, 3>>& leaders) {
    placed = placer.place(labels);
    std::vector<Varnek::Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    leaders.clear();
    placer.appendOutlines(points, starts);
    placer.appendLeaders(leaders);
    std::vector<std::uint32_t> triangles;
    placer.appendTriangles(triangles, 0);
    // Appended after what the vector holds, from the given first point on.
    std::vector<std::uint32_t> appended = {7};
    placer.appendTriangles(appended, 1);
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        if (appended.size() != triangles.size() + 1 || appended[t + 1] != triangles[t] + 1) {
            return "fill triangles appended elsewhere";
        }
    }
    const std::vector<Varnek::LabelBackground::ReferencePoint> candidates(
        Varnek::LabelPlacementOptions::defaultCandidates.begin(),
        Varnek::LabelPlacementOptions::defaultCandidates.end());
    const std::string broken =
        checkGuarantees(labels, placed, placer.getOptions(), background, candidates);
    return !broken.empty()
               ? broken
               : checkOutlinesAndCallouts(labels, placed, background, distance,
                                          placer.getOptions().gap, points, starts, leaders);
}

// A digest of a result, bit for bit.
inline std::uint64_t hashOf(const std::vector<Varnek::PlacedLabel>& placed) {
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash = (hash ^ bytes[i]) * 1099511628211ull;
        }
    };
    for (const Varnek::PlacedLabel& p : placed) {
        const int referencePoint = p.referencePoint;
        mix(&p.visible, sizeof p.visible);
        mix(&referencePoint, sizeof referencePoint);
        mix(&p.offset, sizeof p.offset);
        mix(&p.bounds, sizeof p.bounds);
        mix(&p.hiddenReason, sizeof p.hiddenReason);
        // Only where set: a placement without callouts digests as before.
        if (p.callout) {
            mix(&p.callout, sizeof p.callout);
        }
    }
    return hash;
}

}  // namespace VarnekTesting

#endif  // VARNEK_TESTING_PLACEMENTTESTING_H

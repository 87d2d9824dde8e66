// Test support for the placer: the backgrounds of the yardstick scenes, a
// seeded random scene, and a check of every guarantee a placement makes.
// Used by tests and the fuzz target only; not installed.
#ifndef VARNEK_TESTING_PLACEMENTTESTING_H
#define VARNEK_TESTING_PLACEMENTTESTING_H

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

inline bool sameBits(const Varnek::Vector<float, 3>& a, const Varnek::Vector<float, 3>& b) {
    for (std::size_t k = 0; k < 3; ++k) {
        std::uint32_t bitsA = 0;
        std::uint32_t bitsB = 0;
        std::memcpy(&bitsA, &a[k], sizeof bitsA);
        std::memcpy(&bitsB, &b[k], sizeof bitsB);
        if (bitsA != bitsB) {
            return false;
        }
    }
    return true;
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

// Every guarantee of a placement; an empty string when all hold, else the
// first broken one.
inline std::string checkGuarantees(
    const std::vector<Varnek::LabelRequest>& labels, const std::vector<Varnek::PlacedLabel>& placed,
    const Varnek::LabelPlacementOptions& options, const Varnek::LabelBackground* defaultBackground,
    const std::vector<Varnek::LabelBackground::ReferencePoint>& candidates) {
    std::ostringstream error;
    if (placed.size() != labels.size()) {
        return "result size";
    }
    const auto backgroundOf = [&](std::size_t i) {
        return labels[i].background != nullptr ? labels[i].background : defaultBackground;
    };
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!placed[i].visible) {
            continue;
        }
        const Varnek::LabelRect& b = placed[i].bounds;
        if (!isInside(b, options.viewport)) {
            error << "label " << i << " outside the viewport";
            return error.str();
        }
        const Varnek::LabelBackground& background = *backgroundOf(i);
        const Varnek::LabelRect outline =
            boundsFromOutline(background, labels[i], placed[i].referencePoint);
        if (!isInside(outline, b)) {
            error << "label " << i << " bounds miss its outline";
            return error.str();
        }
        const Varnek::Vector<float, 3> offset =
            background.getOffset(placed[i].referencePoint, labels[i].size);
        if (!sameBits(offset, placed[i].offset)) {
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
            if (options.anchorsAreObstacles && holdsStrictly(b, labels[j].anchor)) {
                error << "label " << i << " covers the anchor of " << j;
                return error.str();
            }
        }
    }
    // A hidden label's every possible place is taken by a label of at least
    // its priority.
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (placed[i].visible || placed[i].hiddenReason != Varnek::LabelHiddenReason::NoRoom) {
            continue;
        }
        for (const auto referencePoint : candidates) {
            const Varnek::LabelRect b =
                boundsFromOutline(*backgroundOf(i), labels[i], referencePoint);
            bool allowed = isInside(b, options.viewport);
            for (std::size_t j = 0; allowed && j < labels.size(); ++j) {
                allowed =
                    !(j != i && options.anchorsAreObstacles && holdsStrictly(b, labels[j].anchor));
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
    }
    return hash;
}

}  // namespace VarnekTesting

#endif  // VARNEK_TESTING_PLACEMENTTESTING_H

#include <varnek/label_placement/internal/AnchorProjection.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include <varnek/label_placement/internal/Portability.h>

namespace Varnek {
namespace internal {
namespace {

// Anchors projected together: their clip coordinates and quotients are
// computed lane by lane in straight loops the compiler can run in vector
// registers, each lane with the same operations in the same order as one
// anchor alone.
constexpr std::size_t s_block = 8;

// Why an anchor is hidden, by how many of the tests it passed: finite,
// in front of the camera, inside the view.
constexpr LabelHiddenReason s_reasons[] = {LabelHiddenReason::OutOfContract,
                                           LabelHiddenReason::BehindCamera,
                                           LabelHiddenReason::OutsideView, LabelHiddenReason::None};

unsigned int bit(bool value) {
    return value ? 1u : 0u;
}

// The cell of a row or column of count cells spanning [low, high] that
// holds value: the last one for value == high, the first one for an empty
// span or NaN. Without branches, so that a loop of them vectorises.
int cellOf(float value, float low, float high, int count) {
    const double span = static_cast<double>(high) - static_cast<double>(low);
    const double at =
        (static_cast<double>(value) - static_cast<double>(low)) / span * static_cast<double>(count);
    // NaN fails the comparison.
    const double from = at >= 0.0 ? at : 0.0;
    return static_cast<int>(std::min(from, static_cast<double>(count - 1)));
}

}  // namespace

void AnchorProjection::reset(const LabelScene& scene) {
    for (std::size_t k = 0; k < m_matrix.size(); ++k) {
        m_matrix[k] = static_cast<double>(scene.view.viewProjection[k]);
    }
    m_viewport = scene.view.viewport;
    m_viewValid = std::isfinite(m_viewport.left) && std::isfinite(m_viewport.top) &&
                  std::isfinite(m_viewport.right) && std::isfinite(m_viewport.bottom) &&
                  m_viewport.left <= m_viewport.right && m_viewport.top <= m_viewport.bottom;
    m_zeroToOneDepth = scene.view.zeroToOneDepth;
    const DepthImage* depth = scene.depth;
    const bool usable =
        depth != nullptr && depth->depths != nullptr && depth->width > 0 && depth->height > 0;
    m_depth = usable ? depth : nullptr;
    m_tolerance = usable && depth->tolerance > 0.0f ? depth->tolerance : 0.0f;
}

AnchorProjection::Culled AnchorProjection::cull(const LabelRequest* labels, std::size_t count,
                                                const std::uint64_t* keys, PlacedLabel* results,
                                                AnchorInView* inView) const {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::array<double, 16>& m = m_matrix;
    const double nearest = m_zeroToOneDepth ? 0.0 : -1.0;
    const double left = static_cast<double>(m_viewport.left);
    const double top = static_cast<double>(m_viewport.top);
    const double width = static_cast<double>(m_viewport.right) - left;
    const double height = static_cast<double>(m_viewport.bottom) - top;
    std::size_t listed = 0;
    std::uint64_t keysDiffer = keys != nullptr ? 0u : 1u;
    for (std::size_t first = 0; first < count; first += s_block) {
        const std::size_t n = std::min(s_block, count - first);
        double x[s_block] = {};
        double y[s_block] = {};
        double z[s_block] = {};
        for (std::size_t k = 0; k < n; ++k) {
            const LabelRequest& request = labels[first + k];
            const Vector<float, 3>& world = request.anchor;
            keysDiffer |= keys != nullptr ? request.key ^ keys[first + k] : 0u;
            x[k] = static_cast<double>(world[0]);
            y[k] = static_cast<double>(world[1]);
            z[k] = static_cast<double>(world[2]);
        }
        // Column-major: element 4 * column + row.
        double clipX[s_block];
        double clipY[s_block];
        double clipW[s_block];
        double ndcZ[s_block];
        double viewX[s_block];
        double viewY[s_block];
        double finite[s_block];
        for (std::size_t k = 0; k < s_block; ++k) {
            clipX[k] = m[0] * x[k] + m[4] * y[k] + m[8] * z[k] + m[12];
            clipY[k] = m[1] * x[k] + m[5] * y[k] + m[9] * z[k] + m[13];
            const double clipZ = m[2] * x[k] + m[6] * y[k] + m[10] * z[k] + m[14];
            clipW[k] = m[3] * x[k] + m[7] * y[k] + m[11] * z[k] + m[15];
            ndcZ[k] = clipZ / clipW[k];
            viewX[k] = left + (clipX[k] / clipW[k] + 1.0) * 0.5 * width;
            viewY[k] = top + (1.0 - clipY[k] / clipW[k]) * 0.5 * height;
            // 0 exactly when every coordinate is finite (x - x is NaN for
            // an infinite or NaN x), NaN else.
            finite[k] = (x[k] - x[k]) + (y[k] - y[k]) + (z[k] - z[k]);
        }
        // Branch-free: whether an anchor is in view follows no pattern.
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = first + k;
            const unsigned int valid = bit(m_viewValid) & bit(finite[k] == 0.0);
            // NaN fails every comparison: a NaN in the matrix puts the
            // anchor behind the camera, as it gives it no place.
            const unsigned int front = bit(clipW[k] > 0.0) & bit(ndcZ[k] >= nearest) &
                                       bit(ndcZ[k] <= 1.0) & bit(!std::isnan(clipX[k])) &
                                       bit(!std::isnan(clipY[k]));
            const unsigned int landed = valid & front;
            const double depth = m_zeroToOneDepth ? ndcZ[k] : (ndcZ[k] + 1.0) * 0.5;
            const float vx = landed != 0 ? static_cast<float>(viewX[k]) : nan;
            const float vy = landed != 0 ? static_cast<float>(viewY[k]) : nan;
            const float vz = landed != 0 ? static_cast<float>(depth) : nan;
            const unsigned int inside = bit(vx >= m_viewport.left) & bit(vx <= m_viewport.right) &
                                        bit(vy >= m_viewport.top) & bit(vy <= m_viewport.bottom);
            // The first test failed names the reason.
            const LabelHiddenReason reason = s_reasons[valid + landed + (landed & inside)];
            // Field by field: a copy of a whole hidden label would go
            // through memory and wait for its own stores.
            PlacedLabel& result = results[i];
            result.visible = false;
            result.referencePoint = LabelBackground::Center;
            result.offset = Vector<float, 3>::getZeroVector();
            result.bounds = {vx, vy, vx, vy};
            result.hiddenReason = reason;
            result.anchorInView = {vx, vy, vz};
            result.opacity = 0.0f;
            result.callout = false;
            // Written for every anchor, kept for those in view.
            inView[listed] = {static_cast<std::uint32_t>(i), vx, vy, vz};
            listed += reason == LabelHiddenReason::None ? 1 : 0;
        }
    }
    return {listed, keysDiffer == 0};
}

std::size_t AnchorProjection::removeOccluded(PlacedLabel* results, AnchorInView* inView,
                                             std::size_t count) {
    if (m_depth == nullptr) {
        return count;
    }
    const DepthImage& image = *m_depth;
    m_pixels.resize(count);
    for (std::size_t j = 0; j < count; ++j) {
        const int row = cellOf(inView[j].y, m_viewport.top, m_viewport.bottom, image.height);
        const int column = cellOf(inView[j].x, m_viewport.left, m_viewport.right, image.width);
        m_pixels[j] = static_cast<std::size_t>(row) * static_cast<std::size_t>(image.width) +
                      static_cast<std::size_t>(column);
    }
    // The anchors lie anywhere on the image: each pixel is asked for some
    // anchors ahead.
    constexpr std::size_t ahead = 4 * s_prefetchDistance;
    std::size_t kept = 0;
    for (std::size_t j = 0; j < count; ++j) {
        if (j + ahead < count) {
            prefetchForRead(image.depths + m_pixels[j + ahead]);
            // Where its reason goes.
            prefetchForRead(&results[inView[j + ahead].request].hiddenReason);
        }
        const float held = image.depths[m_pixels[j]];
        const float depth = inView[j].depth;
        // A NaN depth fails both comparisons: it hides nothing.
        const bool occluded =
            image.reversed ? depth < held - m_tolerance : depth > held + m_tolerance;
        // Written either way: which anchors are occluded follows no pattern.
        results[inView[j].request].hiddenReason =
            occluded ? LabelHiddenReason::Occluded : LabelHiddenReason::None;
        inView[kept] = inView[j];
        kept += occluded ? 0 : 1;
    }
    return kept;
}

}  // namespace internal
}  // namespace Varnek

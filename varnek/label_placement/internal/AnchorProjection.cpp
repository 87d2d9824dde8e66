#include <varnek/label_placement/internal/AnchorProjection.h>

#include <cmath>
#include <cstddef>
#include <limits>

namespace Varnek {
namespace internal {
namespace {

// The cell of a row or column of count cells spanning [low, high] that
// holds value: the last one for value == high, the first one for an empty
// span or NaN.
int cellOf(float value, float low, float high, int count) {
    const double span = static_cast<double>(high) - static_cast<double>(low);
    const double at =
        (static_cast<double>(value) - static_cast<double>(low)) / span * static_cast<double>(count);
    if (!(at >= 0.0)) {
        return 0;
    }
    if (at >= static_cast<double>(count)) {
        return count - 1;
    }
    return static_cast<int>(at);
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

ProjectedAnchor AnchorProjection::project(const Vector<float, 3>& world) const {
    const double x = static_cast<double>(world[0]);
    const double y = static_cast<double>(world[1]);
    const double z = static_cast<double>(world[2]);
    const std::array<double, 16>& m = m_matrix;
    // Column-major: element 4 * column + row.
    const double clipX = m[0] * x + m[4] * y + m[8] * z + m[12];
    const double clipY = m[1] * x + m[5] * y + m[9] * z + m[13];
    const double clipZ = m[2] * x + m[6] * y + m[10] * z + m[14];
    const double clipW = m[3] * x + m[7] * y + m[11] * z + m[15];
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const double ndcZ = clipZ / clipW;
    const double nearest = m_zeroToOneDepth ? 0.0 : -1.0;
    // NaN fails every comparison: a NaN in the matrix puts the anchor
    // behind the camera, as it gives it no place.
    if (!(clipW > 0.0) || !(ndcZ >= nearest && ndcZ <= 1.0) || std::isnan(clipX) ||
        std::isnan(clipY)) {
        return {{nan, nan, nan}, LabelHiddenReason::BehindCamera};
    }
    const double depth = m_zeroToOneDepth ? ndcZ : (ndcZ + 1.0) * 0.5;
    const double left = static_cast<double>(m_viewport.left);
    const double top = static_cast<double>(m_viewport.top);
    const double viewX =
        left + (clipX / clipW + 1.0) * 0.5 * (static_cast<double>(m_viewport.right) - left);
    const double viewY =
        top + (1.0 - clipY / clipW) * 0.5 * (static_cast<double>(m_viewport.bottom) - top);
    ProjectedAnchor anchor{
        {static_cast<float>(viewX), static_cast<float>(viewY), static_cast<float>(depth)},
        LabelHiddenReason::None};
    const float vx = anchor.inView[0];
    const float vy = anchor.inView[1];
    if (!(vx >= m_viewport.left && vx <= m_viewport.right && vy >= m_viewport.top &&
          vy <= m_viewport.bottom)) {
        anchor.reason = LabelHiddenReason::OutsideView;
    } else if (isOccluded(vx, vy, anchor.inView[2])) {
        anchor.reason = LabelHiddenReason::Occluded;
    }
    return anchor;
}

bool AnchorProjection::isOccluded(float x, float y, float depth) const {
    if (m_depth == nullptr) {
        return false;
    }
    const int column = cellOf(x, m_viewport.left, m_viewport.right, m_depth->width);
    const int row = cellOf(y, m_viewport.top, m_viewport.bottom, m_depth->height);
    const float held =
        m_depth->depths[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_depth->width) +
                        static_cast<std::size_t>(column)];
    // A NaN depth fails both comparisons: it hides nothing.
    return m_depth->reversed ? depth < held - m_tolerance : depth > held + m_tolerance;
}

}  // namespace internal
}  // namespace Varnek

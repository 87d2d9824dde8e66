#include <varnek/label_placement/internal/AnchorProjection.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <varnek/label_placement/internal/Portability.h>

// The projection's wider route: functions for the processor's AVX2
// instructions, where a configure-time check finds that the compiler makes
// them and tells at run time whether the processor has them.
#if VARNEK_HAS_WIDE_PROJECTION
#define VARNEK_WIDE_PROJECTION __attribute__((target("avx2")))
#endif
#if VARNEK_HAS_GNU_BUILTINS
#define VARNEK_ALWAYS_INLINE __attribute__((always_inline))
#else
#define VARNEK_ALWAYS_INLINE
#endif

namespace Varnek {
namespace internal {
namespace {

// Anchors projected together, lane by lane, each lane with the same
// operations in the same order as one anchor alone.
constexpr std::size_t s_block = 8;

// Why an anchor is hidden, by how many of the tests it passed: finite,
// in front of the camera, inside the view; with a depth image, an anchor in
// view is occluded unless the depth test keeps it.
constexpr LabelHiddenReason s_reasons[] = {LabelHiddenReason::OutOfContract,
                                           LabelHiddenReason::BehindCamera,
                                           LabelHiddenReason::OutsideView, LabelHiddenReason::None};
constexpr LabelHiddenReason s_reasonsWithDepth[] = {
    LabelHiddenReason::OutOfContract, LabelHiddenReason::BehindCamera,
    LabelHiddenReason::OutsideView, LabelHiddenReason::Occluded};
constexpr std::int32_t s_inView = 3;

// A block of anchors: their world coordinates (where the plain loop reads
// them), where they landed (NaN where they did not land) and how many
// tests each passed (an index of s_reasons).
struct ProjectedBlock {
    double x[s_block];
    double y[s_block];
    double z[s_block];
    float viewX[s_block];
    float viewY[s_block];
    float depth[s_block];
    std::int32_t reason[s_block];
};

// The camera of a frame, as a block's projection reads it. Without
// branches: whether an anchor is in view follows no pattern a branch
// predictor could learn. NaN fails every comparison: a NaN in the matrix
// puts an anchor behind the camera, as it gives it no place.
struct BlockProjection {
    BlockProjection(const std::array<double, 16>& matrix, const LabelRect& viewport, bool viewValid,
                    bool zeroToOneDepth)
        : m(matrix),
          bounds(viewport),
          left(static_cast<double>(viewport.left)),
          top(static_cast<double>(viewport.top)),
          width(static_cast<double>(viewport.right) - left),
          height(static_cast<double>(viewport.bottom) - top),
          nearest(zeroToOneDepth ? 0.0 : -1.0),
          valid(viewValid),
          zeroToOne(zeroToOneDepth) {}

    // Column-major: element 4 * column + row.
    const std::array<double, 16>& m;
    LabelRect bounds;
    double left;
    double top;
    double width;
    double height;
    double nearest;
    bool valid;
    bool zeroToOne;
};

unsigned int bit(bool value) {
    return value ? 1u : 0u;
}

// Lane by lane in straight loops, which a compiler may still run two lanes
// wide. The block's n anchors are those of labels; lanes past them are
// projected from the origin, unread.
void projectPlain(const BlockProjection& p, const LabelRequest* labels, std::size_t n,
                  ProjectedBlock& block) {
    for (std::size_t k = 0; k < s_block; ++k) {
        const bool read = k < n;
        block.x[k] = read ? static_cast<double>(labels[k].anchor[0]) : 0.0;
        block.y[k] = read ? static_cast<double>(labels[k].anchor[1]) : 0.0;
        block.z[k] = read ? static_cast<double>(labels[k].anchor[2]) : 0.0;
    }
    const std::array<double, 16>& m = p.m;
    double clipX[s_block];
    double clipY[s_block];
    double clipW[s_block];
    double ndcZ[s_block];
    double viewX[s_block];
    double viewY[s_block];
    for (std::size_t k = 0; k < s_block; ++k) {
        const double x = block.x[k];
        const double y = block.y[k];
        const double z = block.z[k];
        clipX[k] = m[0] * x + m[4] * y + m[8] * z + m[12];
        clipY[k] = m[1] * x + m[5] * y + m[9] * z + m[13];
        const double clipZ = m[2] * x + m[6] * y + m[10] * z + m[14];
        clipW[k] = m[3] * x + m[7] * y + m[11] * z + m[15];
        ndcZ[k] = clipZ / clipW[k];
        viewX[k] = p.left + (clipX[k] / clipW[k] + 1.0) * 0.5 * p.width;
        viewY[k] = p.top + (1.0 - clipY[k] / clipW[k]) * 0.5 * p.height;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::size_t k = 0; k < s_block; ++k) {
        const unsigned int valid = bit(p.valid) & bit(std::isfinite(block.x[k])) &
                                   bit(std::isfinite(block.y[k])) & bit(std::isfinite(block.z[k]));
        const unsigned int landed = valid & bit(clipW[k] > 0.0) & bit(ndcZ[k] >= p.nearest) &
                                    bit(ndcZ[k] <= 1.0) & bit(!std::isnan(clipX[k])) &
                                    bit(!std::isnan(clipY[k]));
        const double depth = p.zeroToOne ? ndcZ[k] : (ndcZ[k] + 1.0) * 0.5;
        const float vx = landed != 0 ? static_cast<float>(viewX[k]) : nan;
        const float vy = landed != 0 ? static_cast<float>(viewY[k]) : nan;
        const unsigned int inside = bit(vx >= p.bounds.left) & bit(vx <= p.bounds.right) &
                                    bit(vy >= p.bounds.top) & bit(vy <= p.bounds.bottom);
        block.viewX[k] = vx;
        block.viewY[k] = vy;
        block.depth[k] = landed != 0 ? static_cast<float>(depth) : nan;
        block.reason[k] = static_cast<std::int32_t>(valid + landed + (landed & inside));
    }
}

// Every request's anchor projected, a block at a time, and written as
// AnchorProjection::cull says. Inlined into each route.
template <typename Project>
VARNEK_ALWAYS_INLINE inline AnchorProjection::Culled cullBlocks(
    const BlockProjection& projection, Project project, const LabelRequest* labels,
    std::size_t count, const std::uint64_t* keys, const LabelHiddenReason* reasons,
    PlacedLabel* results, AnchorInView* inView) {
    std::size_t listed = 0;
    std::uint64_t keysDiffer = keys != nullptr ? 0u : 1u;
    ProjectedBlock block;
    for (std::size_t first = 0; first < count; first += s_block) {
        const std::size_t n = std::min(s_block, count - first);
        for (std::size_t k = 0; k < n; ++k) {
            keysDiffer |= keys != nullptr ? labels[first + k].key ^ keys[first + k] : 0u;
        }
        project(projection, labels + first, n, block);
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = first + k;
            const float vx = block.viewX[k];
            const float vy = block.viewY[k];
            const float vz = block.depth[k];
            const LabelHiddenReason reason = reasons[block.reason[k]];
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
            listed += block.reason[k] == s_inView ? 1 : 0;
        }
    }
    return {listed, keysDiffer == 0};
}

#if VARNEK_HAS_WIDE_PROJECTION

// Four lanes side by side in the compiler's vector types, in the registers
// of the processor's AVX2 instructions (chosen at run time where it has
// them); a comparison sets every bit of a lane where it holds. The same
// operations in the same order as projectPlain, lane by lane: the same
// bits.
constexpr std::size_t s_lanes = 4;
using DoubleLanes = double __attribute__((vector_size(8 * s_lanes)));
using WideOutcomeLanes = std::int64_t __attribute__((vector_size(8 * s_lanes)));
using FloatLanes = float __attribute__((vector_size(4 * s_lanes)));
using OutcomeLanes = std::int32_t __attribute__((vector_size(4 * s_lanes)));

template <typename Value, typename Lanes>
VARNEK_WIDE_PROJECTION void storeLanes(Value* to, const Lanes& from) {
    static_assert(sizeof(Lanes) == s_lanes * sizeof(Value), "one value a lane");
    std::memcpy(to, &from, sizeof from);
}

// One coordinate of the anchors first to first + 3 of a block of n, lanes
// past n from the origin. Put together in registers: a vector load of
// values just stored one by one would wait for the stores to reach the
// cache.
VARNEK_WIDE_PROJECTION VARNEK_ALWAYS_INLINE inline DoubleLanes coordinateLanes(
    const LabelRequest* labels, std::size_t n, std::size_t first, std::size_t axis) {
    const auto at = [&](std::size_t k) {
        return first + k < n ? static_cast<double>(labels[first + k].anchor[axis]) : 0.0;
    };
    return DoubleLanes{at(0), at(1), at(2), at(3)};
}

VARNEK_WIDE_PROJECTION void projectWide(const BlockProjection& p, const LabelRequest* labels,
                                        std::size_t n, ProjectedBlock& block) {
    const std::array<double, 16>& m = p.m;
    const double below = -std::numeric_limits<double>::infinity();
    const FloatLanes nan = FloatLanes{} + std::numeric_limits<float>::quiet_NaN();
    for (std::size_t first = 0; first < s_block; first += s_lanes) {
        const DoubleLanes x = coordinateLanes(labels, n, first, 0);
        const DoubleLanes y = coordinateLanes(labels, n, first, 1);
        const DoubleLanes z = coordinateLanes(labels, n, first, 2);
        const DoubleLanes clipX = m[0] * x + m[4] * y + m[8] * z + m[12];
        const DoubleLanes clipY = m[1] * x + m[5] * y + m[9] * z + m[13];
        const DoubleLanes clipZ = m[2] * x + m[6] * y + m[10] * z + m[14];
        const DoubleLanes clipW = m[3] * x + m[7] * y + m[11] * z + m[15];
        const DoubleLanes ndcZ = clipZ / clipW;
        const DoubleLanes viewX = p.left + (clipX / clipW + 1.0) * 0.5 * p.width;
        const DoubleLanes viewY = p.top + (1.0 - clipY / clipW) * 0.5 * p.height;
        const DoubleLanes depth = p.zeroToOne ? ndcZ : (ndcZ + 1.0) * 0.5;
        // 0 exactly when every coordinate is finite, NaN else; -infinity
        // is below every number but NaN.
        const DoubleLanes finite = x * 0.0 + y * 0.0 + z * 0.0;
        const WideOutcomeLanes wideValid = (finite == 0.0) & (p.valid ? -1 : 0);
        const WideOutcomeLanes wideLanded = wideValid & (clipW > 0.0) & (ndcZ >= p.nearest) &
                                            (ndcZ <= 1.0) & (clipX >= below) & (clipY >= below);
        const OutcomeLanes valid = __builtin_convertvector(wideValid, OutcomeLanes);
        const OutcomeLanes landed = __builtin_convertvector(wideLanded, OutcomeLanes);
        const FloatLanes vx = landed != 0 ? __builtin_convertvector(viewX, FloatLanes) : nan;
        const FloatLanes vy = landed != 0 ? __builtin_convertvector(viewY, FloatLanes) : nan;
        const FloatLanes vz = landed != 0 ? __builtin_convertvector(depth, FloatLanes) : nan;
        const OutcomeLanes inside = (vx >= p.bounds.left) & (vx <= p.bounds.right) &
                                    (vy >= p.bounds.top) & (vy <= p.bounds.bottom);
        storeLanes(block.viewX + first, vx);
        storeLanes(block.viewY + first, vy);
        storeLanes(block.depth + first, vz);
        // A test passed sets every bit, -1: counted.
        storeLanes(block.reason + first, -valid - landed - (landed & inside));
    }
}

VARNEK_WIDE_PROJECTION AnchorProjection::Culled cullWide(
    const BlockProjection& projection, const LabelRequest* labels, std::size_t count,
    const std::uint64_t* keys, const LabelHiddenReason* reasons, PlacedLabel* results,
    AnchorInView* inView) {
    return cullBlocks(projection, projectWide, labels, count, keys, reasons, results, inView);
}

#endif

// The cell of a row or column of count cells spanning [low, high] that
// holds value: the last one for value == high, the first one for an empty
// span or NaN. Without branches, so that a loop of them vectorises.
VARNEK_ALWAYS_INLINE inline int cellOf(float value, float low, float high, int count) {
    const double span = static_cast<double>(high) - static_cast<double>(low);
    const double at =
        (static_cast<double>(value) - static_cast<double>(low)) / span * static_cast<double>(count);
    // NaN fails the comparison.
    const double from = at >= 0.0 ? at : 0.0;
    return static_cast<int>(std::min(from, static_cast<double>(count - 1)));
}

// The row and the column of the depth image's pixel that holds each of
// count anchors in view. Inlined into each route.
VARNEK_ALWAYS_INLINE inline void findCellsIn(const AnchorInView* inView, std::size_t count,
                                             const LabelRect& viewport, int width, int height,
                                             std::int32_t* rows, std::int32_t* columns) {
    for (std::size_t j = 0; j < count; ++j) {
        rows[j] = cellOf(inView[j].y, viewport.top, viewport.bottom, height);
        columns[j] = cellOf(inView[j].x, viewport.left, viewport.right, width);
    }
}

#if VARNEK_HAS_WIDE_PROJECTION
// Four lanes wide, in the processor's AVX2 instructions: the same
// operations, the same bits.
VARNEK_WIDE_PROJECTION void findCellsWide(const AnchorInView* inView, std::size_t count,
                                          const LabelRect& viewport, int width, int height,
                                          std::int32_t* rows, std::int32_t* columns) {
    findCellsIn(inView, count, viewport, width, height, rows, columns);
}
#endif

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
    const BlockProjection projection(m_matrix, m_viewport, m_viewValid, m_zeroToOneDepth);
    const LabelHiddenReason* reasons = m_depth != nullptr ? s_reasonsWithDepth : s_reasons;
#if VARNEK_HAS_WIDE_PROJECTION
    if (__builtin_cpu_supports("avx2")) {
        return cullWide(projection, labels, count, keys, reasons, results, inView);
    }
#endif
    return cullBlocks(projection, projectPlain, labels, count, keys, reasons, results, inView);
}

std::size_t AnchorProjection::removeOccluded(AnchorInView* inView, std::size_t count) {
    if (m_depth == nullptr) {
        return count;
    }
    const DepthImage& image = *m_depth;
    m_rows.resize(count);
    m_columns.resize(count);
#if VARNEK_HAS_WIDE_PROJECTION
    if (__builtin_cpu_supports("avx2")) {
        findCellsWide(inView, count, m_viewport, image.width, image.height, m_rows.data(),
                      m_columns.data());
    } else
#endif
    {
        findCellsIn(inView, count, m_viewport, image.width, image.height, m_rows.data(),
                    m_columns.data());
    }
    const auto pixel = [&](std::size_t j) {
        return static_cast<std::size_t>(m_rows[j]) * static_cast<std::size_t>(image.width) +
               static_cast<std::size_t>(m_columns[j]);
    };
    // The anchors lie anywhere on the image, which the pass over every
    // request has pushed out of the nearer caches: each pixel is asked for
    // far ahead, as a step of this loop is short. The results are left
    // alone: those of the anchors occluded say so already, and those kept
    // are written again after the placement.
    constexpr std::size_t ahead = 12 * s_prefetchDistance;
    std::size_t kept = 0;
    for (std::size_t j = 0; j < count; ++j) {
        if (j + ahead < count) {
            prefetchForRead(image.depths + pixel(j + ahead));
        }
        const float held = image.depths[pixel(j)];
        const float depth = inView[j].depth;
        // A NaN depth fails both comparisons: it hides nothing.
        const bool occluded =
            image.reversed ? depth < held - m_tolerance : depth > held + m_tolerance;
        inView[kept] = inView[j];
        kept += occluded ? 0 : 1;
    }
    return kept;
}

}  // namespace internal
}  // namespace Varnek

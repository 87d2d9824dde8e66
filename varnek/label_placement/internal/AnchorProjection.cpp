#include <varnek/label_placement/internal/AnchorProjection.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <varnek/label_placement/internal/Portability.h>

#if VARNEK_HAS_WIDE_PROJECTION || VARNEK_HAS_AVX512_PROJECTION
#include <immintrin.h>
#include <cstddef>
#endif

// The projection's wider route: functions for the processor's AVX2
// instructions, where a configure-time check finds that the compiler makes
// them and tells at run time whether the processor has them.
#if VARNEK_HAS_WIDE_PROJECTION
#define VARNEK_WIDE_PROJECTION __attribute__((target("avx2")))
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

// How far a pass over the requests has got: the anchors in view listed, and
// the bits in which the keys met differ from the previous call's (0: none).
struct CullState {
    std::size_t listed;
    std::uint64_t keysDiffer;
};

// What one pass over a frame's requests reads and writes, as
// AnchorProjection::cull takes them.
struct CullPass {
    const LabelRequest* labels;
    std::size_t count;
    const std::uint64_t* keys;
    const LabelHiddenReason* reasons;
    PlacedLabel* results;
    AnchorInView* inView;
};

CullState startCull(const std::uint64_t* keys) {
    return {0, keys != nullptr ? 0u : 1u};
}

AnchorProjection::Culled finishCull(const CullState& state) {
    return {state.listed, state.keysDiffer == 0};
}

// Compares the keys of the n requests from first on with the pass's keys,
// if not null.
VARNEK_ALWAYS_INLINE inline void compareKeys(const CullPass& pass, std::size_t first, std::size_t n,
                                             CullState& state) {
    if (pass.keys == nullptr) {
        return;
    }
    for (std::size_t k = first; k < first + n; ++k) {
        state.keysDiffer |= pass.labels[k].key ^ pass.keys[k];
    }
}

// The requests from first on projected, a block at a time, and written as
// AnchorProjection::cull says. Inlined into each route.
template <typename Project>
VARNEK_ALWAYS_INLINE inline void cullBlocks(const BlockProjection& projection, Project project,
                                            const CullPass& pass, std::size_t first,
                                            CullState& state) {
    ProjectedBlock block;
    for (; first < pass.count; first += s_block) {
        const std::size_t n = std::min(s_block, pass.count - first);
        compareKeys(pass, first, n, state);
        project(projection, pass.labels + first, n, block);
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = first + k;
            const float vx = block.viewX[k];
            const float vy = block.viewY[k];
            const float vz = block.depth[k];
            const LabelHiddenReason reason = pass.reasons[block.reason[k]];
            // Field by field: a copy of a whole hidden label would go
            // through memory and wait for its own stores.
            PlacedLabel& result = pass.results[i];
            result.visible = false;
            result.referencePoint = LabelBackground::Center;
            result.offset = Vector<float, 3>::getZeroVector();
            result.bounds = {vx, vy, vx, vy};
            result.hiddenReason = reason;
            result.anchorInView = {vx, vy, vz};
            result.opacity = 0.0f;
            result.callout = false;
            // Written for every anchor, kept for those in view.
            pass.inView[state.listed] = {static_cast<std::uint32_t>(i), vx, vy, vz};
            state.listed += block.reason[k] == s_inView ? 1 : 0;
        }
    }
}

#if VARNEK_HAS_WIDE_PROJECTION || VARNEK_HAS_AVX512_PROJECTION

// The routes laid out by hand write a block's results from lanes, in words
// of 4 bytes: a result is 15 words, each float of the bounds and the anchor
// in view a word, the reason the low byte of a word of its own (its padding
// written as zero), the rest constant. Where the results and the requests
// are not laid out so, these routes are not taken.
constexpr std::size_t s_resultWords = sizeof(PlacedLabel) / 4;
constexpr std::size_t wordOf(std::size_t offset) {
    return offset / 4;
}
constexpr bool s_resultsFromLanes =
    sizeof(PlacedLabel) == 60 && sizeof(LabelBackground::ReferencePoint) == 4 &&
    sizeof(LabelRect) == 16 && sizeof(Vector<float, 3>) == 12 && sizeof(AnchorInView) == 16 &&
    offsetof(PlacedLabel, visible) == 0 && offsetof(PlacedLabel, referencePoint) == 4 &&
    offsetof(PlacedLabel, offset) == 8 && offsetof(PlacedLabel, bounds) == 20 &&
    offsetof(PlacedLabel, hiddenReason) == 36 && offsetof(PlacedLabel, anchorInView) == 40 &&
    offsetof(PlacedLabel, opacity) == 52 && offsetof(PlacedLabel, callout) == 56 &&
    offsetof(LabelRequest, size) == offsetof(LabelRequest, anchor) + 12;

// The functions of the routes laid out by hand use no instruction past
// AVX but in their own, wider, functions.
#define VARNEK_LANES_BY_HAND __attribute__((target("avx")))

// Anchor k and anchor k + 4 of a block in one register: four words from
// each anchor's x on (the last one the size's, unused).
VARNEK_LANES_BY_HAND VARNEK_ALWAYS_INLINE inline __m256 anchorPair(const LabelRequest* block,
                                                                   std::size_t k) {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(&block[k].anchor[0])),
                                _mm_loadu_ps(&block[k + 4].anchor[0]), 1);
}

// Anchors k and k + 4 of a block transposed: x0..x7, y0..y7, z0..z7.
struct BlockAnchors {
    __m256 x;
    __m256 y;
    __m256 z;
};

VARNEK_LANES_BY_HAND VARNEK_ALWAYS_INLINE inline BlockAnchors loadAnchors(
    const LabelRequest* block) {
    const __m256 a0 = anchorPair(block, 0);
    const __m256 a1 = anchorPair(block, 1);
    const __m256 a2 = anchorPair(block, 2);
    const __m256 a3 = anchorPair(block, 3);
    const __m256 xy01 = _mm256_unpacklo_ps(a0, a1);
    const __m256 z01 = _mm256_unpackhi_ps(a0, a1);
    const __m256 xy23 = _mm256_unpacklo_ps(a2, a3);
    const __m256 z23 = _mm256_unpackhi_ps(a2, a3);
    return {_mm256_shuffle_ps(xy01, xy23, 0x44), _mm256_shuffle_ps(xy01, xy23, 0xEE),
            _mm256_shuffle_ps(z01, z23, 0x44)};
}

#endif

#if VARNEK_HAS_WIDE_PROJECTION

// Four lanes side by side in the processor's AVX2 instructions, laid out by
// hand (chosen at run time where it has them): a block's anchors are put
// together in registers and projected in double four at a time, tested
// into masks, and each result written in four stores from its lanes. The
// same operations in the same order as projectPlain, lane by lane, no
// multiply and add fused: the same bits.

VARNEK_WIDE_PROJECTION VARNEK_ALWAYS_INLINE inline __m256d rowLanes(const __m256d* m, std::size_t r,
                                                                    __m256d x, __m256d y,
                                                                    __m256d z) {
    // m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r], left to right.
    return _mm256_add_pd(
        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(m[r], x), _mm256_mul_pd(m[4 + r], y)),
                      _mm256_mul_pd(m[8 + r], z)),
        m[12 + r]);
}

// Where four anchors landed: x, y and depth, and whether they landed at
// all (every bit of a lane set), the double lanes' masks narrowed to float
// lanes.
struct LandedLanes {
    __m128 x;
    __m128 y;
    __m128 depth;
    __m128 landed;
};

VARNEK_WIDE_PROJECTION VARNEK_ALWAYS_INLINE inline LandedLanes projectLanes(
    const BlockProjection& p, const __m256d* m, __m128 xf, __m128 yf, __m128 zf) {
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d half = _mm256_set1_pd(0.5);
    const __m256d x = _mm256_cvtps_pd(xf);
    const __m256d y = _mm256_cvtps_pd(yf);
    const __m256d z = _mm256_cvtps_pd(zf);
    const __m256d clipX = rowLanes(m, 0, x, y, z);
    const __m256d clipY = rowLanes(m, 1, x, y, z);
    const __m256d clipZ = rowLanes(m, 2, x, y, z);
    const __m256d clipW = rowLanes(m, 3, x, y, z);
    const __m256d ndcZ = _mm256_div_pd(clipZ, clipW);
    const __m256d viewX = _mm256_add_pd(
        _mm256_set1_pd(p.left),
        _mm256_mul_pd(_mm256_mul_pd(_mm256_add_pd(_mm256_div_pd(clipX, clipW), one), half),
                      _mm256_set1_pd(p.width)));
    const __m256d viewY = _mm256_add_pd(
        _mm256_set1_pd(p.top),
        _mm256_mul_pd(_mm256_mul_pd(_mm256_sub_pd(one, _mm256_div_pd(clipY, clipW)), half),
                      _mm256_set1_pd(p.height)));
    const __m256d depth = p.zeroToOne ? ndcZ : _mm256_mul_pd(_mm256_add_pd(ndcZ, one), half);
    const __m256d landed = _mm256_and_pd(
        _mm256_and_pd(_mm256_and_pd(_mm256_cmp_pd(clipW, _mm256_setzero_pd(), _CMP_GT_OQ),
                                    _mm256_cmp_pd(ndcZ, _mm256_set1_pd(p.nearest), _CMP_GE_OQ)),
                      _mm256_cmp_pd(ndcZ, one, _CMP_LE_OQ)),
        _mm256_and_pd(_mm256_cmp_pd(clipX, clipX, _CMP_ORD_Q),
                      _mm256_cmp_pd(clipY, clipY, _CMP_ORD_Q)));
    // The low word of each lane's mask, all four in the low half.
    const __m256i lowWords = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    const __m256 narrowed = _mm256_permutevar8x32_ps(_mm256_castpd_ps(landed), lowWords);
    return {_mm256_cvtpd_ps(viewX), _mm256_cvtpd_ps(viewY), _mm256_cvtpd_ps(depth),
            _mm256_castps256_ps128(narrowed)};
}

VARNEK_WIDE_PROJECTION VARNEK_ALWAYS_INLINE inline __m256 joinHalves(__m128 low, __m128 high) {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(low), high, 1);
}

// The words of a result from where its anchor landed (x, y, depth and
// reason in one lane each), in four stores: the constant words of its
// start, the bounds, the reason with the anchor in view, and the constant
// words of its end, each store over the words of the one before it that
// it must hold.
VARNEK_WIDE_PROJECTION VARNEK_ALWAYS_INLINE inline void writeResult(unsigned char* to,
                                                                    __m256i start, __m128 landed) {
    _mm256_storeu_si256(static_cast<__m256i*>(static_cast<void*>(to)), start);
    _mm_storeu_ps(static_cast<float*>(static_cast<void*>(to + offsetof(PlacedLabel, bounds))),
                  _mm_permute_ps(landed, 0x44));
    _mm_storeu_ps(static_cast<float*>(static_cast<void*>(to + offsetof(PlacedLabel, hiddenReason))),
                  _mm_permute_ps(landed, 0x93));
    _mm_storel_epi64(static_cast<__m128i*>(static_cast<void*>(to + offsetof(PlacedLabel, opacity))),
                     _mm_setzero_si128());
}

VARNEK_WIDE_PROJECTION AnchorProjection::Culled cullWide(const BlockProjection& p, CullPass pass) {
    __m256d m[16];
    for (std::size_t k = 0; k < 16; ++k) {
        m[k] = _mm256_set1_pd(p.m[k]);
    }
    const __m256 zero = _mm256_setzero_ps();
    const __m256 nan = _mm256_set1_ps(std::numeric_limits<float>::quiet_NaN());
    const __m256 viewValid = _mm256_castsi256_ps(_mm256_set1_epi32(p.valid ? -1 : 0));
    __m256 reasonLanes[4];
    for (std::size_t k = 0; k < 4; ++k) {
        reasonLanes[k] =
            _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<std::int32_t>(pass.reasons[k])));
    }
    // The words of a result up to its bounds, and the request of lanes k and
    // k + 4 in the first word of each half (added to the block's first).
    const __m256i start = _mm256_setr_epi32(0, LabelBackground::Center, 0, 0, 0, 0, 0, 0);
    const __m256i requestOfPair[4] = {
        _mm256_setr_epi32(0, 0, 0, 0, 4, 0, 0, 0), _mm256_setr_epi32(1, 0, 0, 0, 5, 0, 0, 0),
        _mm256_setr_epi32(2, 0, 0, 0, 6, 0, 0, 0), _mm256_setr_epi32(3, 0, 0, 0, 7, 0, 0, 0)};
    CullState state = startCull(pass.keys);
    std::size_t first = 0;
    for (; first + s_block <= pass.count; first += s_block) {
        const LabelRequest* block = pass.labels + first;
        compareKeys(pass, first, s_block, state);
        const BlockAnchors anchors = loadAnchors(block);
        // x - x is 0 exactly when x is finite, NaN else.
        const __m256 finite = _mm256_add_ps(
            _mm256_add_ps(_mm256_sub_ps(anchors.x, anchors.x), _mm256_sub_ps(anchors.y, anchors.y)),
            _mm256_sub_ps(anchors.z, anchors.z));
        const __m256 valid = _mm256_and_ps(viewValid, _mm256_cmp_ps(finite, zero, _CMP_EQ_OQ));
        const LandedLanes low =
            projectLanes(p, m, _mm256_castps256_ps128(anchors.x), _mm256_castps256_ps128(anchors.y),
                         _mm256_castps256_ps128(anchors.z));
        const LandedLanes high =
            projectLanes(p, m, _mm256_extractf128_ps(anchors.x, 1),
                         _mm256_extractf128_ps(anchors.y, 1), _mm256_extractf128_ps(anchors.z, 1));
        const __m256 landed = _mm256_and_ps(valid, joinHalves(low.landed, high.landed));
        const __m256 vx = _mm256_blendv_ps(nan, joinHalves(low.x, high.x), landed);
        const __m256 vy = _mm256_blendv_ps(nan, joinHalves(low.y, high.y), landed);
        const __m256 vz = _mm256_blendv_ps(nan, joinHalves(low.depth, high.depth), landed);
        const __m256 inside = _mm256_and_ps(
            _mm256_and_ps(
                _mm256_and_ps(landed, _mm256_cmp_ps(vx, _mm256_set1_ps(p.bounds.left), _CMP_GE_OQ)),
                _mm256_cmp_ps(vx, _mm256_set1_ps(p.bounds.right), _CMP_LE_OQ)),
            _mm256_and_ps(_mm256_cmp_ps(vy, _mm256_set1_ps(p.bounds.top), _CMP_GE_OQ),
                          _mm256_cmp_ps(vy, _mm256_set1_ps(p.bounds.bottom), _CMP_LE_OQ)));
        __m256 reason = _mm256_blendv_ps(reasonLanes[0], reasonLanes[1], valid);
        reason = _mm256_blendv_ps(reason, reasonLanes[2], landed);
        reason = _mm256_blendv_ps(reason, reasonLanes[3], inside);

        // Each anchor's x, y, depth and reason side by side, anchors k and
        // k + 4 in one register; then its result and its entry in view
        // (request, x, y, depth), written for every anchor, kept for those
        // in view.
        const __m256 xy01 = _mm256_unpacklo_ps(vx, vy);
        const __m256 xy23 = _mm256_unpackhi_ps(vx, vy);
        const __m256 zr01 = _mm256_unpacklo_ps(vz, reason);
        const __m256 zr23 = _mm256_unpackhi_ps(vz, reason);
        const __m256 pairs[4] = {
            _mm256_shuffle_ps(xy01, zr01, 0x44), _mm256_shuffle_ps(xy01, zr01, 0xEE),
            _mm256_shuffle_ps(xy23, zr23, 0x44), _mm256_shuffle_ps(xy23, zr23, 0xEE)};
        auto* out = static_cast<unsigned char*>(static_cast<void*>(pass.results + first));
        const __m256i firstRequest = _mm256_set1_epi32(static_cast<std::int32_t>(first));
        __m256 entries[4];
        for (std::size_t k = 0; k < 4; ++k) {
            writeResult(out + sizeof(PlacedLabel) * k, start, _mm256_castps256_ps128(pairs[k]));
            writeResult(out + sizeof(PlacedLabel) * (k + 4), start,
                        _mm256_extractf128_ps(pairs[k], 1));
            entries[k] = _mm256_blend_ps(
                _mm256_permute_ps(pairs[k], 0x93),
                _mm256_castsi256_ps(_mm256_add_epi32(firstRequest, requestOfPair[k])), 0x11);
        }
        const auto kept = static_cast<unsigned int>(_mm256_movemask_ps(inside));
        for (std::size_t k = 0; k < s_block; ++k) {
            const __m256 entry = entries[k % 4];
            _mm_storeu_ps(static_cast<float*>(static_cast<void*>(pass.inView + state.listed)),
                          k < 4 ? _mm256_castps256_ps128(entry) : _mm256_extractf128_ps(entry, 1));
            state.listed += (kept >> k) & 1u;
        }
    }
    // The last block, shorter: lane by lane.
    cullBlocks(p, projectPlain, pass, first, state);
    return finishCull(state);
}

#endif

#if VARNEK_HAS_AVX512_PROJECTION

// Eight lanes side by side in the processor's AVX-512 instructions, laid out
// by hand (chosen at run time where it has them): the anchors of a block
// are put together in registers, projected in double, tested into masks and
// written as whole results, eight at a time. The same operations in the
// same order as projectPlain, lane by lane, no multiply and add fused: the
// same bits.

// The 32 lanes a block's words are taken from: x, y, then depth, reason (or
// request index).
constexpr std::int32_t s_xLane = 0;
constexpr std::int32_t s_yLane = 8;
constexpr std::int32_t s_depthLane = 16;
constexpr std::int32_t s_reasonLane = 24;

// Of each 16 words of a block's results (eight results are 7.5 times 16
// words), the lane each is taken from where its bit in varies is set, else
// its value.
constexpr std::size_t s_wordsAStore = 16;
constexpr std::size_t s_storesABlock = 8;
struct ResultWords {
    std::int32_t from[s_storesABlock][s_wordsAStore];
    std::uint16_t varies[s_storesABlock];
};

constexpr ResultWords makeResultWords() {
    ResultWords words{};
    for (std::size_t word = 0; word < s_storesABlock * s_wordsAStore; ++word) {
        const std::size_t result = word / s_resultWords;
        const std::size_t at = word % s_resultWords;
        const auto lane = static_cast<std::int32_t>(result);
        std::int32_t from = -1;
        if (at == wordOf(offsetof(PlacedLabel, bounds)) ||
            at == wordOf(offsetof(PlacedLabel, bounds)) + 2 ||
            at == wordOf(offsetof(PlacedLabel, anchorInView))) {
            from = s_xLane + lane;
        } else if (at == wordOf(offsetof(PlacedLabel, bounds)) + 1 ||
                   at == wordOf(offsetof(PlacedLabel, bounds)) + 3 ||
                   at == wordOf(offsetof(PlacedLabel, anchorInView)) + 1) {
            from = s_yLane + lane;
        } else if (at == wordOf(offsetof(PlacedLabel, anchorInView)) + 2) {
            from = s_depthLane + lane;
        } else if (at == wordOf(offsetof(PlacedLabel, hiddenReason))) {
            from = s_reasonLane + lane;
        }
        // Past the eighth result: never stored.
        from = result < s_block ? from : -1;
        std::int32_t value = 0;
        if (at == wordOf(offsetof(PlacedLabel, referencePoint)) && result < s_block) {
            value = LabelBackground::Center;
        }
        const std::size_t store = word / s_wordsAStore;
        const std::size_t inStore = word % s_wordsAStore;
        words.from[store][inStore] = from >= 0 ? from : value;
        words.varies[store] =
            static_cast<std::uint16_t>(words.varies[store] | (from >= 0 ? 1u << inStore : 0u));
    }
    return words;
}
constexpr ResultWords s_resultWordTable = makeResultWords();

// The anchors in view of a block as AnchorInView entries, four to 16 words:
// request, x, y, depth.
constexpr std::int32_t s_entryWords[2][16] = {
    {24, 0, 8, 16, 25, 1, 9, 17, 26, 2, 10, 18, 27, 3, 11, 19},
    {28, 4, 12, 20, 29, 5, 13, 21, 30, 6, 14, 22, 31, 7, 15, 23}};
// The words of the entries of four lanes, by which of them are kept.
constexpr std::uint16_t s_entryMasks[16] = {0x0000, 0x000F, 0x00F0, 0x00FF, 0x0F00, 0x0F0F,
                                            0x0FF0, 0x0FFF, 0xF000, 0xF00F, 0xF0F0, 0xF0FF,
                                            0xFF00, 0xFF0F, 0xFFF0, 0xFFFF};
constexpr std::size_t s_entriesKept[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

#define VARNEK_AVX512_PROJECTION __attribute__((target("avx512f,avx512dq,avx512vl")))

VARNEK_AVX512_PROJECTION VARNEK_ALWAYS_INLINE inline __m512i joinLanes(__m256i low, __m256i high) {
    // The masked forms: g++ 12 warns of the undefined upper lanes the plain
    // ones start from.
    const __m512i lowLanes = _mm512_maskz_inserti64x4(0xFF, _mm512_setzero_si512(), low, 0);
    return _mm512_maskz_inserti64x4(0xFF, lowLanes, high, 1);
}

VARNEK_AVX512_PROJECTION VARNEK_ALWAYS_INLINE inline __m512d row(const __m512d* m, std::size_t r,
                                                                 __m512d x, __m512d y, __m512d z) {
    // m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r], left to right.
    return _mm512_add_pd(
        _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(m[r], x), _mm512_mul_pd(m[4 + r], y)),
                      _mm512_mul_pd(m[8 + r], z)),
        m[12 + r]);
}

VARNEK_AVX512_PROJECTION AnchorProjection::Culled cullAvx512(const BlockProjection& p,
                                                             CullPass pass) {
    __m512d m[16];
    for (std::size_t k = 0; k < 16; ++k) {
        m[k] = _mm512_set1_pd(p.m[k]);
    }
    const __m512d left = _mm512_set1_pd(p.left);
    const __m512d top = _mm512_set1_pd(p.top);
    const __m512d width = _mm512_set1_pd(p.width);
    const __m512d height = _mm512_set1_pd(p.height);
    const __m512d nearest = _mm512_set1_pd(p.nearest);
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512d half = _mm512_set1_pd(0.5);
    const __m512d zero = _mm512_setzero_pd();
    const __m256 boundsLeft = _mm256_set1_ps(p.bounds.left);
    const __m256 boundsTop = _mm256_set1_ps(p.bounds.top);
    const __m256 boundsRight = _mm256_set1_ps(p.bounds.right);
    const __m256 boundsBottom = _mm256_set1_ps(p.bounds.bottom);
    const __m256 nan = _mm256_set1_ps(std::numeric_limits<float>::quiet_NaN());
    __m256i reasonLanes[4];
    for (std::size_t k = 0; k < 4; ++k) {
        reasonLanes[k] = _mm256_set1_epi32(static_cast<std::int32_t>(pass.reasons[k]));
    }
    const __m256i laneNumbers = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __mmask8 viewValid = p.valid ? 0xFF : 0x00;
    // Not finite: NaN (quiet or signalling), +infinity or -infinity.
    constexpr int notFinite = 0x01 | 0x08 | 0x10 | 0x80;
    CullState state = startCull(pass.keys);
    std::size_t first = 0;
    for (; first + s_block <= pass.count; first += s_block) {
        const LabelRequest* block = pass.labels + first;
        compareKeys(pass, first, s_block, state);
        // Transposed into x0..x7, y0..y7, z0..z7.
        const BlockAnchors anchors = loadAnchors(block);
        const __m256 xf = anchors.x;
        const __m256 yf = anchors.y;
        const __m256 zf = anchors.z;
        const auto special = static_cast<__mmask8>(_mm256_fpclass_ps_mask(xf, notFinite) |
                                                   _mm256_fpclass_ps_mask(yf, notFinite) |
                                                   _mm256_fpclass_ps_mask(zf, notFinite));
        const auto valid = static_cast<__mmask8>(viewValid & ~special);
        const __m512d x = _mm512_maskz_cvtps_pd(0xFF, xf);
        const __m512d y = _mm512_maskz_cvtps_pd(0xFF, yf);
        const __m512d z = _mm512_maskz_cvtps_pd(0xFF, zf);
        const __m512d clipX = row(m, 0, x, y, z);
        const __m512d clipY = row(m, 1, x, y, z);
        const __m512d clipZ = row(m, 2, x, y, z);
        const __m512d clipW = row(m, 3, x, y, z);
        const __m512d ndcZ = _mm512_div_pd(clipZ, clipW);
        const __m512d viewX = _mm512_add_pd(
            left, _mm512_mul_pd(
                      _mm512_mul_pd(_mm512_add_pd(_mm512_div_pd(clipX, clipW), one), half), width));
        const __m512d viewY = _mm512_add_pd(
            top, _mm512_mul_pd(_mm512_mul_pd(_mm512_sub_pd(one, _mm512_div_pd(clipY, clipW)), half),
                               height));
        const __m512d depth = p.zeroToOne ? ndcZ : _mm512_mul_pd(_mm512_add_pd(ndcZ, one), half);
        __mmask8 landed = _mm512_mask_cmp_pd_mask(valid, clipW, zero, _CMP_GT_OQ);
        landed = _mm512_mask_cmp_pd_mask(landed, ndcZ, nearest, _CMP_GE_OQ);
        landed = _mm512_mask_cmp_pd_mask(landed, ndcZ, one, _CMP_LE_OQ);
        landed = _mm512_mask_cmp_pd_mask(landed, clipX, clipX, _CMP_ORD_Q);
        landed = _mm512_mask_cmp_pd_mask(landed, clipY, clipY, _CMP_ORD_Q);
        const __m256 vx = _mm512_mask_cvtpd_ps(nan, landed, viewX);
        const __m256 vy = _mm512_mask_cvtpd_ps(nan, landed, viewY);
        const __m256 vz = _mm512_mask_cvtpd_ps(nan, landed, depth);
        __mmask8 inside = _mm256_mask_cmp_ps_mask(landed, vx, boundsLeft, _CMP_GE_OQ);
        inside = _mm256_mask_cmp_ps_mask(inside, vx, boundsRight, _CMP_LE_OQ);
        inside = _mm256_mask_cmp_ps_mask(inside, vy, boundsTop, _CMP_GE_OQ);
        inside = _mm256_mask_cmp_ps_mask(inside, vy, boundsBottom, _CMP_LE_OQ);
        __m256i reason = _mm256_mask_mov_epi32(reasonLanes[0], valid, reasonLanes[1]);
        reason = _mm256_mask_mov_epi32(reason, landed, reasonLanes[2]);
        reason = _mm256_mask_mov_epi32(reason, inside, reasonLanes[3]);

        // The results, 16 words at a time.
        const __m512i xy = joinLanes(_mm256_castps_si256(vx), _mm256_castps_si256(vy));
        const __m512i depthReason = joinLanes(_mm256_castps_si256(vz), reason);
        auto* out = static_cast<unsigned char*>(static_cast<void*>(pass.results + first));
        for (std::size_t j = 0; j + 1 < s_storesABlock; ++j) {
            const __m512i from = _mm512_loadu_si512(s_resultWordTable.from[j]);
            _mm512_storeu_si512(out + sizeof(__m512i) * j,
                                _mm512_mask2_permutex2var_epi32(
                                    xy, from, s_resultWordTable.varies[j], depthReason));
        }
        const __m512i from = _mm512_loadu_si512(s_resultWordTable.from[s_storesABlock - 1]);
        _mm512_mask_storeu_epi32(
            out + sizeof(__m512i) * (s_storesABlock - 1), 0x00FF,
            _mm512_mask2_permutex2var_epi32(xy, from, s_resultWordTable.varies[s_storesABlock - 1],
                                            depthReason));

        // The anchors in view, in request order: four lanes' entries at a
        // time, those kept moved to the front. 16 words are written from
        // the first free entry on, within the block's own.
        const __m512i depthRequest = joinLanes(
            _mm256_castps_si256(vz),
            _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(first)), laneNumbers));
        for (std::size_t part = 0; part < 2; ++part) {
            const unsigned int kept = (static_cast<unsigned int>(inside) >> (4 * part)) & 0xFu;
            const __m512i entries =
                _mm512_permutex2var_epi32(xy, _mm512_loadu_si512(s_entryWords[part]), depthRequest);
            _mm512_storeu_si512(pass.inView + state.listed,
                                _mm512_maskz_compress_epi32(s_entryMasks[kept], entries));
            state.listed += s_entriesKept[kept];
        }
    }
    // The last block, shorter: lane by lane.
    cullBlocks(p, projectPlain, pass, first, state);
    return finishCull(state);
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
    const CullPass pass{labels, count, keys, reasons, results, inView};
#if VARNEK_HAS_AVX512_PROJECTION
    if (s_resultsFromLanes && __builtin_cpu_supports("avx512f") &&
        __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl")) {
        return cullAvx512(projection, pass);
    }
#endif
#if VARNEK_HAS_WIDE_PROJECTION
    if (s_resultsFromLanes && __builtin_cpu_supports("avx2")) {
        return cullWide(projection, pass);
    }
#endif
    CullState state = startCull(keys);
    cullBlocks(projection, projectPlain, pass, 0, state);
    return finishCull(state);
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

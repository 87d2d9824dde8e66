#include <varnek/label_placement/internal/AnchorProjection.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <varnek/label_placement/internal/Portability.h>

#if VARNEK_HAS_AVX512_PROJECTION
#include <immintrin.h>
#include <cstddef>
#endif

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

// How far a pass over the requests has got: the anchors in view listed, and
// the bits in which the keys met differ from the previous call's (0: none).
struct CullState {
    std::size_t listed;
    std::uint64_t keysDiffer;
};

CullState startCull(const std::uint64_t* keys) {
    return {0, keys != nullptr ? 0u : 1u};
}

AnchorProjection::Culled finishCull(const CullState& state) {
    return {state.listed, state.keysDiffer == 0};
}

// The requests from first on projected, a block at a time, and written as
// AnchorProjection::cull says. Inlined into each route.
template <typename Project>
VARNEK_ALWAYS_INLINE inline void cullBlocks(const BlockProjection& projection, Project project,
                                            const LabelRequest* labels, std::size_t first,
                                            std::size_t count, const std::uint64_t* keys,
                                            const LabelHiddenReason* reasons, PlacedLabel* results,
                                            AnchorInView* inView, CullState& state) {
    ProjectedBlock block;
    for (; first < count; first += s_block) {
        const std::size_t n = std::min(s_block, count - first);
        for (std::size_t k = 0; k < n; ++k) {
            state.keysDiffer |= keys != nullptr ? labels[first + k].key ^ keys[first + k] : 0u;
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
            inView[state.listed] = {static_cast<std::uint32_t>(i), vx, vy, vz};
            state.listed += block.reason[k] == s_inView ? 1 : 0;
        }
    }
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
    CullState state = startCull(keys);
    cullBlocks(projection, projectWide, labels, 0, count, keys, reasons, results, inView, state);
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

// A block's results are written from lanes, 16 words of 4 bytes at a time:
// a result is 15 words, each float of the bounds and the anchor in view a
// word, the reason the low byte of a word of its own (its padding written
// as zero), the rest constant. Where the results and the requests are not
// laid out so, this route is not taken.
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

// Anchor k and anchor k + 4 of a block in one register: four words from
// each anchor's x on (the last one the size's, unused).
VARNEK_AVX512_PROJECTION VARNEK_ALWAYS_INLINE inline __m256 anchorPair(const LabelRequest* block,
                                                                       std::size_t k) {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(&block[k].anchor[0])),
                                _mm_loadu_ps(&block[k + 4].anchor[0]), 1);
}

VARNEK_AVX512_PROJECTION VARNEK_ALWAYS_INLINE inline __m512d row(const __m512d* m, std::size_t r,
                                                                 __m512d x, __m512d y, __m512d z) {
    // m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r], left to right.
    return _mm512_add_pd(
        _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(m[r], x), _mm512_mul_pd(m[4 + r], y)),
                      _mm512_mul_pd(m[8 + r], z)),
        m[12 + r]);
}

VARNEK_AVX512_PROJECTION AnchorProjection::Culled cullAvx512(
    const BlockProjection& p, const LabelRequest* labels, std::size_t count,
    const std::uint64_t* keys, const LabelHiddenReason* reasons, PlacedLabel* results,
    AnchorInView* inView) {
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
        reasonLanes[k] = _mm256_set1_epi32(static_cast<std::int32_t>(reasons[k]));
    }
    const __m256i laneNumbers = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __mmask8 viewValid = p.valid ? 0xFF : 0x00;
    // Not finite: NaN (quiet or signalling), +infinity or -infinity.
    constexpr int notFinite = 0x01 | 0x08 | 0x10 | 0x80;
    CullState state = startCull(keys);
    std::size_t first = 0;
    for (; first + s_block <= count; first += s_block) {
        const LabelRequest* block = labels + first;
        if (keys != nullptr) {
            for (std::size_t k = 0; k < s_block; ++k) {
                state.keysDiffer |= block[k].key ^ keys[first + k];
            }
        }
        // Transposed into x0..x7, y0..y7, z0..z7.
        const __m256 a0 = anchorPair(block, 0);
        const __m256 a1 = anchorPair(block, 1);
        const __m256 a2 = anchorPair(block, 2);
        const __m256 a3 = anchorPair(block, 3);
        const __m256 xy01 = _mm256_unpacklo_ps(a0, a1);
        const __m256 z01 = _mm256_unpackhi_ps(a0, a1);
        const __m256 xy23 = _mm256_unpacklo_ps(a2, a3);
        const __m256 z23 = _mm256_unpackhi_ps(a2, a3);
        const __m256 xf = _mm256_shuffle_ps(xy01, xy23, 0x44);
        const __m256 yf = _mm256_shuffle_ps(xy01, xy23, 0xEE);
        const __m256 zf = _mm256_shuffle_ps(z01, z23, 0x44);
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
        auto* out = static_cast<unsigned char*>(static_cast<void*>(results + first));
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
            _mm512_storeu_si512(inView + state.listed,
                                _mm512_maskz_compress_epi32(s_entryMasks[kept], entries));
            state.listed += s_entriesKept[kept];
        }
    }
    // The last block, shorter: lane by lane.
    cullBlocks(p, projectPlain, labels, first, count, keys, reasons, results, inView, state);
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
#if VARNEK_HAS_AVX512_PROJECTION
    if (s_resultsFromLanes && __builtin_cpu_supports("avx512f") &&
        __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl")) {
        return cullAvx512(projection, labels, count, keys, reasons, results, inView);
    }
#endif
#if VARNEK_HAS_WIDE_PROJECTION
    if (__builtin_cpu_supports("avx2")) {
        return cullWide(projection, labels, count, keys, reasons, results, inView);
    }
#endif
    CullState state = startCull(keys);
    cullBlocks(projection, projectPlain, labels, 0, count, keys, reasons, results, inView, state);
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

#include <varnek/draw_style/DrawZLayer.h>

#include <cstdint>
#include <cstdlib>

namespace Varnek {
namespace {

constexpr std::int64_t s_largestDraw = 32767;

// Brings a draw of 0 to RAND_MAX to 0 to 32767 by scaling it down: the draw
// itself when RAND_MAX is 32767, its high 15 bits when RAND_MAX is 2^31 - 1.
// RAND_MAX is at least 32767, so no draw is scaled up.
std::int64_t toFifteenBits(int draw) {
    return static_cast<std::int64_t>(draw) * (s_largestDraw + 1) /
           (static_cast<std::int64_t>(RAND_MAX) + 1);
}

}  // namespace

float DrawZLayer::computeRandomLabelOffset() noexcept {
    // Single precision on purpose: the offset is the float quotient, and any
    // value up to 32767 converts exactly.
    return static_cast<float>(toFifteenBits(std::rand())) / static_cast<float>(s_largestDraw);
}

}  // namespace Varnek

#include <varnek/label_placement/internal/Segments.h>

#include <cstddef>

namespace Varnek {
namespace internal {

int exactTurnSignOf(float ax, float ay, float bx, float by, float cx, float cy) {
    // The expanded turn (the products ax ay cancel), summed as a growing
    // expansion of error-free sums: its parts do not overlap and grow in
    // magnitude, so the last part that is not zero holds the sign. A NaN
    // gives 0.
    const double terms[6] = {static_cast<double>(bx) * cy,  -static_cast<double>(bx) * ay,
                             -static_cast<double>(ax) * cy, -static_cast<double>(by) * cx,
                             static_cast<double>(by) * ax,  static_cast<double>(ay) * cx};
    double parts[6] = {};
    std::size_t count = 0;
    for (const double term : terms) {
        double sum = term;
        for (std::size_t i = 0; i < count; ++i) {
            const double total = parts[i] + sum;
            const double taken = total - parts[i];
            parts[i] = (parts[i] - (total - taken)) + (sum - taken);
            sum = total;
        }
        parts[count++] = sum;
    }
    for (std::size_t i = count; i-- > 0;) {
        if (parts[i] != 0.0) {
            return parts[i] > 0.0 ? 1 : (parts[i] < 0.0 ? -1 : 0);
        }
    }
    return 0;
}

}  // namespace internal
}  // namespace Varnek

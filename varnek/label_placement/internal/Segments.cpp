#include <varnek/label_placement/internal/Segments.h>

#include <cmath>
#include <cstddef>

namespace Varnek {
namespace internal {
namespace {

// An exact sum of doubles, as a growing expansion of error-free sums: its
// parts do not overlap and grow in magnitude, so the last part that is not
// zero holds the sign. Room for Size terms.
template <std::size_t Size>
class ExactSum {
public:
    void add(double term) {
        if (term == 0.0) {
            return;
        }
        double sum = term;
        for (std::size_t i = 0; i < m_count; ++i) {
            const double total = m_parts[i] + sum;
            const double taken = total - m_parts[i];
            m_parts[i] = (m_parts[i] - (total - taken)) + (sum - taken);
            sum = total;
        }
        m_parts[m_count++] = sum;
    }
    // The product, exactly: its rounding and what the rounding lost (exact
    // in double while the product's least bit lies above the subnormals,
    // as for every product of these sums of products of floats).
    void addProduct(double a, double b) {
        const double product = a * b;
        add(product);
        add(std::fma(a, b, -product));
    }
    // -1, 0 or 1; 0 for a NaN.
    int sign() const {
        for (std::size_t i = m_count; i-- > 0;) {
            if (m_parts[i] != 0.0) {
                return m_parts[i] > 0.0 ? 1 : (m_parts[i] < 0.0 ? -1 : 0);
            }
        }
        return 0;
    }
    std::size_t size() const { return m_count; }
    double operator[](std::size_t i) const { return m_parts[i]; }

private:
    double m_parts[Size] = {};
    std::size_t m_count = 0;
};

// The turn a -> b -> c expanded into its six products of two floats (the
// products ax ay cancel), each exact in double.
template <std::size_t Size>
void addTurn(ExactSum<Size>& sum, float ax, float ay, float bx, float by, float cx, float cy) {
    sum.add(static_cast<double>(bx) * cy);
    sum.add(-static_cast<double>(bx) * ay);
    sum.add(-static_cast<double>(ax) * cy);
    sum.add(-static_cast<double>(by) * cx);
    sum.add(static_cast<double>(by) * ax);
    sum.add(static_cast<double>(ay) * cx);
}

// (b - a) . (c - a) expanded alike: (b - a)(c - a) = bc - ba - ac + aa on
// each axis, eight products.
template <std::size_t Size>
void addDot(ExactSum<Size>& sum, float ax, float ay, float bx, float by, float cx, float cy) {
    const auto addAxis = [&sum](double a, double b, double c) {
        sum.add(b * c);
        sum.add(-b * a);
        sum.add(-a * c);
        sum.add(a * a);
    };
    addAxis(ax, bx, cx);
    addAxis(ay, by, cy);
}

// -1, 0 or 1 as a float is less than, equal to or greater than another.
int compare(float a, float b) {
    return (a > b ? 1 : 0) - (a < b ? 1 : 0);
}

}  // namespace

int exactTurnSignOf(float ax, float ay, float bx, float by, float cx, float cy) {
    // Along an axis (as where a body's edge meets the line of its anchor)
    // the turn is one product of float differences, whose signs compare.
    if (ay == by) {
        return compare(bx, ax) * compare(cy, ay);
    }
    if (ax == bx) {
        return -compare(by, ay) * compare(cx, ax);
    }
    ExactSum<6> turn;
    addTurn(turn, ax, ay, bx, by, cx, cy);
    return turn.sign();
}

int exactTurnSignFrom(float ax, float ay, float bx, float by, float x, float y, float ox,
                      float oy) {
    // Along an axis, one product: of the edge's difference and the point's,
    // three floats whose exact sum has the sign.
    if (ay == by || ax == bx) {
        ExactSum<3> point;
        point.add(ay == by ? y : x);
        point.add(-static_cast<double>(ay == by ? oy : ox));
        point.add(-static_cast<double>(ay == by ? ay : ax));
        return ay == by ? compare(bx, ax) * point.sign() : -compare(by, ay) * point.sign();
    }
    // (b - a) x (p - o - a) expanded: ten products (a's own cancel).
    ExactSum<10> turn;
    const double products[10][2] = {{bx, y},
                                    {-static_cast<double>(bx), oy},
                                    {-static_cast<double>(bx), ay},
                                    {-static_cast<double>(ax), y},
                                    {ax, oy},
                                    {-static_cast<double>(by), x},
                                    {by, ox},
                                    {by, ax},
                                    {ay, x},
                                    {-static_cast<double>(ay), ox}};
    for (const auto& product : products) {
        turn.add(product[0] * product[1]);
    }
    return turn.sign();
}

int exactDotSignOf(float ax, float ay, float bx, float by, float cx, float cy) {
    ExactSum<8> dot;
    addDot(dot, ax, ay, bx, by, cx, cy);
    return dot.sign();
}

int exactEndDistanceSignOf(float ex, float ey, float x, float y, float distance) {
    // |p - e|^2 = (p - e) . (p - e), less distance^2.
    ExactSum<9> squared;
    addDot(squared, ex, ey, x, y, x, y);
    squared.add(-static_cast<double>(distance) * distance);
    return squared.sign();
}

int exactLineDistanceSignOf(const Segment& s, float x, float y, float distance) {
    // t^2 - distance^2 |s|^2 for the turn t of the ends and the point: the
    // turn and the squared length as exact sums, then their products, each
    // exact as two doubles (every part is a multiple of 2^-298, a product
    // of two a multiple of 2^-596, far above the subnormals; nothing
    // reaches 2^520).
    ExactSum<6> turn;
    addTurn(turn, s.x0, s.y0, s.x1, s.y1, x, y);
    ExactSum<8> length;
    addDot(length, s.x0, s.y0, s.x1, s.y1, s.x1, s.y1);
    const double reach = static_cast<double>(distance) * distance;
    // Two doubles for each of the 21 products of two of the turn's parts
    // and of the 8 of the reach and the length's.
    ExactSum<std::size_t{2} * (21 + 8)> sum;
    for (std::size_t i = 0; i < turn.size(); ++i) {
        sum.addProduct(turn[i], turn[i]);
        for (std::size_t j = i + 1; j < turn.size(); ++j) {
            sum.addProduct(2.0 * turn[i], turn[j]);
        }
    }
    for (std::size_t i = 0; i < length.size(); ++i) {
        sum.addProduct(-reach, length[i]);
    }
    return sum.sign();
}

}  // namespace internal
}  // namespace Varnek

#include <varnek/services/Vector.h>

#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

namespace Varnek {
namespace {

using Vector3f = Vector<float, 3>;
using Vector3d = Vector<double, 3>;

static_assert(std::is_trivially_copyable_v<Vector3f>);
static_assert(sizeof(Vector3f) == 3 * sizeof(float));
static_assert(sizeof(Vector3d) == 3 * sizeof(double));

TEST(VectorTest, EqualityIsExact) {
    EXPECT_EQ(Vector3f(-0.0f, 0.0f, 0.0f), Vector3f());
    EXPECT_NE(Vector3f(0.1f, 0.0f, 0.0f), Vector3f(0.1000001f, 0.0f, 0.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_NE(Vector3f(nan, 0.0f, 0.0f), Vector3f(nan, 0.0f, 0.0f));
}

}  // namespace
}  // namespace Varnek

// Fill triangles of a label's outline by ear clipping: a simple polygon of
// a few dozen points, cut into triangles that cover exactly its interior.
// Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_SHAPE_INTERNAL_EARCLIPPING_H
#define VARNEK_LABEL_SHAPE_INTERNAL_EARCLIPPING_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// The scratch clipEars needs for a polygon of count points.
inline std::size_t getEarClippingScratchSize(std::size_t count) {
    return 2 * count;
}

// Appends to indices the triangles of the closed polygon points[0, count)
// (a last point equal to the first closes it and is never used), as indices
// into points plus firstIndex, three a triangle. Every triangle (a, b, c)
// turns the way the polygon does ((b - a) x (c - a) has the sign of the
// polygon's shoelace area) and has a non-zero area; together they cover the
// polygon's interior once. Repeated and collinear points are skipped; a
// polygon without area, or with a NaN or infinite point, gives none. A
// polygon that crosses itself is covered as far as its ears go: the
// balloon's outline, which closes a few units in the last place past its
// tip, leaves out or adds that sliver.
// scratch holds getEarClippingScratchSize(count) entries. Appends at most
// 3 * (count - 2) indices and allocates only if indices lacks room for them.
void clipEars(const Vector<float, 3>* points, std::size_t count, std::uint32_t firstIndex,
              std::uint32_t* scratch, std::vector<std::uint32_t>& indices);

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_SHAPE_INTERNAL_EARCLIPPING_H

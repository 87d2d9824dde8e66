#include <varnek/label_placement/internal/LabelPlacerImpl.h>

namespace Varnek {

void LabelPlacer::Impl::appendLeaders(std::vector<Vector<float, 3>>& points) const {
    static_cast<void>(points);
}

}  // namespace Varnek

// What a placer is asked to respect.
#ifndef VARNEK_LABEL_PLACEMENT_LABELPLACEMENTOPTIONS_H
#define VARNEK_LABEL_PLACEMENT_LABELPLACEMENTOPTIONS_H

#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_shape/LabelBackground.h>

namespace Varnek {

struct LabelPlacementOptions {
    // Every visible label lies wholly inside.
    LabelRect viewport;
    // In order of preference; empty: the default order (TopRight, TopLeft,
    // BottomRight, BottomLeft, RightCenter, LeftCenter, TopCenter,
    // BottomCenter, RightTop, LeftTop, RightBottom, LeftBottom).
    std::vector<LabelBackground::ReferencePoint> candidates;
    // A label never covers another label's anchor.
    bool anchorsAreObstacles = true;
    // Least distance between two visible labels.
    float gap = 0.0f;
    // 0: greedy only; 1: fits a frame; each step about doubles the work,
    // counted in candidate tests (never in time). From 2 the ejection chains
    // reach further, from 3 swaps on a plateau follow them.
    int effort = 1;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELPLACEMENTOPTIONS_H

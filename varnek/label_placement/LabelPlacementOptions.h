// What a placer is asked to respect.
#ifndef VARNEK_LABEL_PLACEMENT_LABELPLACEMENTOPTIONS_H
#define VARNEK_LABEL_PLACEMENT_LABELPLACEMENTOPTIONS_H

#include <array>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_shape/LabelBackground.h>

namespace Varnek {

struct LabelPlacementOptions {
    // The order an empty candidates list stands for: the cartographic one,
    // above and to the right first. Center is a candidate only when asked for.
    static constexpr std::array<LabelBackground::ReferencePoint, 12> defaultCandidates = {
        LabelBackground::TopRight,   LabelBackground::TopLeft,      LabelBackground::BottomRight,
        LabelBackground::BottomLeft, LabelBackground::RightCenter,  LabelBackground::LeftCenter,
        LabelBackground::TopCenter,  LabelBackground::BottomCenter, LabelBackground::RightTop,
        LabelBackground::LeftTop,    LabelBackground::RightBottom,  LabelBackground::LeftBottom};

    // Every visible label lies wholly inside.
    LabelRect viewport;
    // In order of preference; empty: defaultCandidates.
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

// What a frame of a 3D view tells the placer besides the labels.
#ifndef VARNEK_LABEL_PLACEMENT_LABELSCENE_H
#define VARNEK_LABEL_PLACEMENT_LABELSCENE_H

#include <varnek/label_placement/CoverageMask.h>
#include <varnek/label_placement/DepthImage.h>
#include <varnek/label_placement/LabelView.h>

namespace Varnek {

struct LabelScene {
    // The camera the anchors are projected with.
    LabelView view;
    // Null: no occlusion test. Spans view.viewport.
    const DepthImage* depth = nullptr;
    // Null: no cells kept out. Spans the placement's viewport
    // (LabelPlacementOptions::viewport).
    const CoverageMask* keepOut = nullptr;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELSCENE_H

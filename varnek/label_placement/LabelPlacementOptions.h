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
    // With anchorsAreObstacles, whether the anchors of labels of lower
    // priority block too. False: a label may cover the anchor of a label of
    // lower priority (which may then still be shown, over its anchor), so
    // that in a dense cluster the anchors of labels that lose anyway do not
    // keep labels of higher priority off the view. Anchors of requests that
    // cannot be placed at all (out of contract, background not initialised)
    // count as of the lowest priority.
    bool lowerPriorityAnchorsAreObstacles = true;
    // Least distance between two visible labels.
    float gap = 0.0f;
    // 0 (or less): greedy only; 1: fits a frame (ejection chains, then a
    // seeded search that never shows fewer labels); each step doubles the
    // work per label, counted in candidate tests (never in time), up to
    // maxEffort: a larger value counts as maxEffort. A frame of fewer than
    // about 10,000 labels may take up to the work the greedy pass leaves of
    // the time of one of 10,000 (a few milliseconds), for as many labels
    // shown as a thorough engine shows; how much of it the search takes
    // follows the labels hidden when it starts, not the frame's size, so a
    // frame with few of them ends well before. The search ends early once
    // no hidden label has a place it may take, as in a frame whose labels
    // keep their places from the previous call. Effort 0 costs a greedy
    // pass only. From 2 the ejection chains reach further.
    int effort = 1;
    // 512 times the work of effort 1: about a second for 100,000 labels.
    static constexpr int maxEffort = 10;
    // View rectangles no visible label overlaps (touching is allowed), in
    // the 2D and the 3D call alike; a rectangle with a NaN side or with
    // left > right or top > bottom keeps nothing out.
    std::vector<LabelRect> keepOut;
    // 0: labels appear and vanish at once. n > 0: a label fades in over n
    // calls and out over n calls (see LabelPlacer).
    int fadeFrames = 0;
    // 0: no callouts. d > 0: a label the placement hides for want of room
    // (NoRoom) may be shown as a callout instead (PlacedLabel::callout): its
    // body stands away from its anchor, at most d from it (from the anchor
    // to the nearest point of the body's bounds), joined to it by a straight
    // leader (LabelPlacer::appendLeaders). Callouts are placed after every
    // label that fits next to its anchor and never move one. Negative or
    // NaN: no callouts; +infinity, or more than the viewport's diagonal:
    // the viewport's diagonal (the body still lies inside the viewport).
    float calloutDistance = 0.0f;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELPLACEMENTOPTIONS_H

// World anchors into the view of one frame: projection, culling and the
// depth test, over all of a frame's requests in two tight passes. Private to
// the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORPROJECTION_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORPROJECTION_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <varnek/label_placement/LabelRequest.h>
#include <varnek/label_placement/LabelScene.h>
#include <varnek/label_placement/PlacedLabel.h>

namespace Varnek {
namespace internal {

// A request whose anchor landed in the view: where, and its window depth.
struct AnchorInView {
    std::uint32_t request;
    float x;
    float y;
    float depth;
};

class AnchorProjection {
public:
    // Takes the frame's camera and depth image (the image must stay alive
    // while anchors are projected).
    void reset(const LabelScene& scene);

    // Projects every request's anchor and writes results[i] as the hidden
    // label where it landed (bounds the empty rectangle there, anchorInView
    // the point and its window depth), with hiddenReason OutOfContract (a
    // coordinate not finite, or a view whose viewport is not finite or is
    // inverted), BehindCamera (clip w <= 0, a window depth outside [0, 1],
    // a NaN clip x or y; anchorInView NaN for these two), OutsideView (the
    // point outside the view's viewport, whose edges are inside) or, in
    // view, None, or Occluded where there is a depth image (removeOccluded
    // tells which are not: their results are the caller's to write). The
    // anchors in view are written to inView in request order, one slot per
    // request given. Arithmetic in double in a fixed
    // order, the same bits on every machine; a block of anchors at a time,
    // so that the compiler may divide several at once. keys, if not null,
    // are compared with the requests' keys on the way.
    struct Culled {
        std::size_t inView;
        // Whether keys[i] is every request's key.
        bool sameKeys;
    };
    Culled cull(const LabelRequest* labels, std::size_t count, const std::uint64_t* keys,
                PlacedLabel* results, AnchorInView* inView) const;

    // Of the count anchors in view listed, those the depth image hides
    // leave the list, the others keep their order; returns how many stay.
    // The pixel read is the one that holds the point (see DepthImage),
    // asked for ahead of its test.
    std::size_t removeOccluded(AnchorInView* inView, std::size_t count);

private:
    std::array<double, 16> m_matrix{};
    LabelRect m_viewport{0.0f, 0.0f, 0.0f, 0.0f};
    bool m_viewValid = false;
    bool m_zeroToOneDepth = false;
    // Null when there is no usable depth image.
    const DepthImage* m_depth = nullptr;
    float m_tolerance = 0.0f;
    // The row and column of the pixel of every anchor in view, found
    // before the depths are read.
    std::vector<std::int32_t> m_rows;
    std::vector<std::int32_t> m_columns;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORPROJECTION_H

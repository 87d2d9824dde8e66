// World anchors into the view of one frame: projection, culling and the
// depth test. Private to the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORPROJECTION_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORPROJECTION_H

#include <array>

#include <varnek/label_placement/LabelScene.h>
#include <varnek/label_placement/PlacedLabel.h>
#include <varnek/services/Vector.h>

namespace Varnek {
namespace internal {

// Where one anchor landed, and why it gets no label if it gets none.
struct ProjectedAnchor {
    // x and y in view coordinates, z the window depth; NaN behind the camera.
    Vector<float, 3> inView;
    // None: in the view, in front of the camera and not occluded.
    LabelHiddenReason reason;
};

class AnchorProjection {
public:
    // Takes the frame's camera and depth image (the image must stay alive
    // while anchors are projected).
    void reset(const LabelScene& scene);

    // Whether the view's viewport is finite and not inverted.
    bool isViewValid() const { return m_viewValid; }

    // The anchor's place in the view, culled against the camera and the
    // viewport and tested against the depth image. Arithmetic in double in
    // a fixed order: the same bits on every machine.
    ProjectedAnchor project(const Vector<float, 3>& world) const;

private:
    // Whether the depth image holds something nearer than depth at (x, y).
    bool isOccluded(float x, float y, float depth) const;

    std::array<double, 16> m_matrix{};
    LabelRect m_viewport{0.0f, 0.0f, 0.0f, 0.0f};
    bool m_viewValid = false;
    bool m_zeroToOneDepth = false;
    // Null when there is no usable depth image.
    const DepthImage* m_depth = nullptr;
    float m_tolerance = 0.0f;
};

}  // namespace internal
}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_ANCHORPROJECTION_H

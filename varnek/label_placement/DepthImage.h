// The application's depth buffer of a frame, for hiding the labels of
// anchors behind the model.
#ifndef VARNEK_LABEL_PLACEMENT_DEPTHIMAGE_H
#define VARNEK_LABEL_PLACEMENT_DEPTHIMAGE_H

namespace Varnek {

// Pixel (column c, row r) covers the viewport's part from left + c * W / width
// to left + (c + 1) * W / width across and, likewise, from the viewport's top
// down; an image of any resolution spans the whole viewport (a quarter of
// the view's size each way is typical).
//
// The pixel read for an anchor is the one that holds its projected point
// (on a shared edge, the one to the right or below; on the viewport's right
// or bottom edge, the last column or row). One pixel, not an interpolation
// of neighbours: at a silhouette neighbours hold the model and what lies
// behind it, and a blend of the two is a depth of neither. The depth a
// pixel holds is that of its centre, so an anchor on a sloped surface
// differs from its own pixel by up to half a pixel's slope: tolerance is
// that slack.
//
// An image with a null depths pointer, a width or height of 0 or less, is
// ignored (no anchor is occluded). A NaN depth hides nothing.
struct DepthImage {
    // width * height window depths in [0, 1], row by row, row 0 at the
    // viewport's top.
    const float* depths = nullptr;
    int width = 0;
    int height = 0;
    // Reversed-Z: 1 is near, 0 far.
    bool reversed = false;
    // An anchor is occluded when the pixel holds a depth nearer than the
    // anchor's window depth by more than this. Negative or NaN counts as 0.
    float tolerance = 0.0f;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_DEPTHIMAGE_H

// The outline subcommand: the sizes, offset and polygon of one label, as the
// library computes them, written as text or JSON.
#ifndef VARNEK_LABELS_OUTLINE_H
#define VARNEK_LABELS_OUTLINE_H

#include <string>
#include <vector>

#include "LabelRecipe.h"
#include "NumberText.h"

namespace VarnekLabels {

// What the user asked for: one label kind at one reference point.
struct OutlineRequest {
    LabelRecipe recipe;
    ReferencePoint referencePoint = Varnek::LabelBackground::Center;
    Vec3 size;
    float scale = 1000.0f;
};

// The library's answers for one label, all in masked coordinates. The
// polygon is clockwise and relative to the anchor; offset leads from the
// anchor to the body's centre and is what the polygon was built with.
struct LabelOutline {
    Vec3 bodySize;
    Vec3 completeSize;
    Vec3 offset;
    std::vector<Vec3> polygon;
};

LabelOutline computeOutline(const Varnek::LabelBackground& background,
                            ReferencePoint referencePoint, const Vec3& size);

LabelOutline computeOutline(const OutlineRequest& request);

// False if any size, offset or polygon coordinate is infinite or NaN: the
// request was too large for single precision.
bool isFinite(const LabelOutline& outline);

// A small table for people: the request, the sizes, the offset, then one
// polygon point per line.
std::string outlineAsText(const OutlineRequest& request, const LabelOutline& outline);

// One JSON object: the request (background, indicator, bar, fixedWidth,
// referencePoint, size, scale) and the answers (bodySize, completeSize,
// offset, polygon). Vectors are [x, y]: the third component is 0 throughout
// the label plane. Every float reads back to the library's exact value.
std::string outlineAsJson(const OutlineRequest& request, const LabelOutline& outline);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_OUTLINE_H

// The gallery subcommand's sheet: every label kind of the catalogue at every
// reference point, one label per cell, and the single-label picture of the
// outline subcommand.
#ifndef VARNEK_LABELS_SVGGALLERY_H
#define VARNEK_LABELS_SVGGALLERY_H

#include <cstddef>
#include <string>

#include "Outline.h"
#include "TextMeasure.h"

namespace VarnekLabels {

struct GallerySheet {
    std::string svg;
    std::size_t kindCount = 0;   // rows: galleryRecipes()
    std::size_t labelCount = 0;  // kindCount x 13 reference points
};

// One row per label kind, one column per reference point. Each label is its
// polygon placed by the anchor, with the anchor and the body centre marked
// and the reference point's name in the body. With a font, each label is as
// large as its name measured in it, and the name is drawn in it, centred.
GallerySheet buildGallery(const TextMeasure* font = nullptr);

// The picture of one label, with the same marks as the gallery.
std::string outlineAsSvg(const OutlineRequest& request, const LabelOutline& outline);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_SVGGALLERY_H

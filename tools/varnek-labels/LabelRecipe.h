// The labels the tool can make: a background shape and an indicator kind of
// the catalogue, with the indicator's settings, and their command-line names.
// Every name the tool accepts or prints comes from the catalogue.
#ifndef VARNEK_LABELS_LABELRECIPE_H
#define VARNEK_LABELS_LABELRECIPE_H

#include <memory>
#include <string>
#include <vector>

#include <catalogue/LabelKinds.h>
#include <varnek/label_shape/LabelBackground.h>

namespace VarnekLabels {

using VarnekCatalogue::BackgroundShape;
using VarnekCatalogue::IndicatorKind;
using VarnekCatalogue::ReferencePoint;

// One kind of label: a background with an indicator. A fixed width of 0
// means a free-sized indicator, as wide as the label along its edge.
struct LabelRecipe {
    BackgroundShape background = BackgroundShape::Round;
    IndicatorKind indicator = IndicatorKind::None;
    bool withBar = true;  // read only by the layered indicators
    float fixedWidthInScreenHeightFraction = 0.0f;
};

// The command-line name of each value ("round", "layered-lower", "TopLeft").
const char* toName(BackgroundShape shape);
const char* toName(IndicatorKind kind);
const char* toName(ReferencePoint referencePoint);

// The value a command-line name stands for; names are matched without
// regard to case, as every choice of the tool is. Throws UsageError naming option and
// listing the accepted names.
BackgroundShape parseBackgroundShape(const std::string& option, const std::string& name);
IndicatorKind parseIndicatorKind(const std::string& option, const std::string& name);
ReferencePoint parseReferencePoint(const std::string& option, const std::string& name);

// Whether the indicator kind has a bar to leave out.
bool isLayered(IndicatorKind kind);

// "flat / right, fixed 0.008", for text output and the picture of one label.
std::string describe(const LabelRecipe& recipe);
// "right, 0.008", the indicator alone, for a gallery cell that names the
// shape above it; "no indicator (tip)" for a shape whose tip is its indicator.
std::string describeIndicatorBriefly(const LabelRecipe& recipe);

// Throws UsageError if the combination cannot be made: an indicator on a
// balloon, a bar choice on a non-layered indicator, a fixed width without
// an indicator.
void checkCombination(const LabelRecipe& recipe, bool barOptionGiven);

// A new background for the recipe, initialised with the scale factor (the
// masked-coordinate length of one screen height).
std::shared_ptr<Varnek::LabelBackground> makeBackground(const LabelRecipe& recipe, float scale);

// The rows of the gallery: every shape that carries an indicator with every
// indicator kind (the layered ones with and without bar) at the library's
// default widths, then each shape whose tip is its indicator.
std::vector<LabelRecipe> galleryRecipes();

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_LABELRECIPE_H

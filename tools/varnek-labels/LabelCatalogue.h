// The labels the tool can make: the names of backgrounds, indicators and
// reference points on the command line, and the library objects they stand
// for. Every name the tool accepts or prints comes from the tables here.
#ifndef VARNEK_LABELS_LABELCATALOGUE_H
#define VARNEK_LABELS_LABELCATALOGUE_H

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <varnek/label_shape/LabelBackground.h>

namespace VarnekLabels {

using ReferencePoint = Varnek::LabelBackground::ReferencePoint;

enum class BackgroundShape { Round, Flat, Plain, Balloon };

enum class IndicatorKind { None, Acute, Right, LayeredLower, LayeredMiddle, LayeredUpper };

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

// The twelve placed reference points in their numeric order, then Center.
const std::array<ReferencePoint, 13>& allReferencePoints();

bool isLayered(IndicatorKind kind);

// "flat / right-angled, fixed width 0.008", for captions and text output.
std::string describe(const LabelRecipe& recipe);

// Throws UsageError if the combination cannot be made: an indicator on a
// balloon, a bar choice on a non-layered indicator, a fixed width without
// an indicator.
void checkCombination(const LabelRecipe& recipe, bool barOptionGiven);

// A new background for the recipe, initialised with the scale factor (the
// masked-coordinate length of one screen height).
std::shared_ptr<Varnek::LabelBackground> makeBackground(const LabelRecipe& recipe, float scale);

// The rows of the gallery: every rectangular shape with every indicator
// (none, acute, right, the three layers with and without bar) at the
// library's default widths, then the balloon, whose tip is its indicator.
std::vector<LabelRecipe> galleryRecipes();

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_LABELCATALOGUE_H

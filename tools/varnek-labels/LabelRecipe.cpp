#include "LabelRecipe.h"

#include "ChoiceText.h"
#include "NumberText.h"
#include "UsageError.h"

namespace VarnekLabels {
namespace {

using VarnekCatalogue::backgroundShapes;
using VarnekCatalogue::IndicatorKindRow;
using VarnekCatalogue::indicatorKinds;
using VarnekCatalogue::joinNames;
using VarnekCatalogue::rowOf;

// The layered indicator has no default width of its own; twice the acute
// default gives its bar room to show beside the triangle.
constexpr float s_galleryLayeredWidthInScreenHeightFraction = 0.03f;

// The index of name in names; throws UsageError listing them if none.
std::size_t parseName(const std::vector<const char*>& names, const std::string& option,
                      const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameChoice(name, names[i])) {
            return i;
        }
    }
    throw rejectedValue(option, name, joinNames(names, ", ", ", "));
}

// The names of the indicator kinds that pass the test, joined by ", ".
template <typename Test>
std::string indicatorNamesWhere(Test test) {
    std::vector<const char*> names;
    for (const IndicatorKindRow& row : indicatorKinds()) {
        if (test(row)) {
            names.push_back(row.name);
        }
    }
    return joinNames(names, ", ", ", ");
}

float galleryWidthOf(const IndicatorKindRow& row) {
    if (row.make == nullptr) {
        return 0.0f;
    }
    return row.defaultWidthInScreenHeightFraction > 0.0f
               ? row.defaultWidthInScreenHeightFraction
               : s_galleryLayeredWidthInScreenHeightFraction;
}

// The words a caption puts round the indicator's name.
struct CaptionWords {
    const char* tipOnly;     // the whole caption of a shape whose tip is its indicator
    const char* withBar;     // after a layered indicator's name
    const char* withoutBar;  // likewise
    const char* fixedWidth;  // before a fixed width
    const char* freeSized;   // in its place for an indicator without one
};

// For text output and the picture of one label, after the shape's name.
constexpr CaptionWords s_textWords{"", ", bar", ", no bar", ", fixed ", ", free-sized"};
// For a gallery cell, below the shape's name.
constexpr CaptionWords s_briefWords{"no indicator (tip)", ", with bar", ", no bar", ", ", ""};

std::string describeIndicator(const LabelRecipe& recipe, const CaptionWords& words) {
    if (!rowOf(recipe.background).carriesIndicator) {
        return words.tipOnly;
    }
    std::string text = toName(recipe.indicator);
    if (isLayered(recipe.indicator)) {
        text += recipe.withBar ? words.withBar : words.withoutBar;
    }
    if (recipe.indicator != IndicatorKind::None) {
        text += recipe.fixedWidthInScreenHeightFraction > 0.0f
                    ? words.fixedWidth + formatFloat(recipe.fixedWidthInScreenHeightFraction)
                    : words.freeSized;
    }
    return text;
}

}  // namespace

const char* toName(BackgroundShape shape) {
    return rowOf(shape).name;
}
const char* toName(IndicatorKind kind) {
    return rowOf(kind).name;
}
const char* toName(ReferencePoint referencePoint) {
    return Varnek::toString(referencePoint);
}

BackgroundShape parseBackgroundShape(const std::string& option, const std::string& name) {
    return backgroundShapes()[parseName(VarnekCatalogue::backgroundShapeNames(), option, name)]
        .shape;
}

IndicatorKind parseIndicatorKind(const std::string& option, const std::string& name) {
    return indicatorKinds()[parseName(VarnekCatalogue::indicatorKindNames(), option, name)].kind;
}

ReferencePoint parseReferencePoint(const std::string& option, const std::string& name) {
    return VarnekCatalogue::referencePoints()[parseName(VarnekCatalogue::referencePointNames(),
                                                        option, name)];
}

bool isLayered(IndicatorKind kind) {
    return rowOf(kind).hasBar;
}

std::string describe(const LabelRecipe& recipe) {
    const char* separator = rowOf(recipe.background).carriesIndicator ? " / " : "";
    return toName(recipe.background) + (separator + describeIndicator(recipe, s_textWords));
}

std::string describeIndicatorBriefly(const LabelRecipe& recipe) {
    return describeIndicator(recipe, s_briefWords);
}

void checkCombination(const LabelRecipe& recipe, bool barOptionGiven) {
    const auto& background = rowOf(recipe.background);
    if (!background.carriesIndicator && recipe.indicator != IndicatorKind::None) {
        throw rejectedValue(
            "--indicator", toName(recipe.indicator),
            std::string("none (the ") + background.name + "'s tip is its indicator)");
    }
    if (barOptionGiven && !isLayered(recipe.indicator)) {
        throw UsageError(
            "--no-bar: only a layered indicator has a bar; accepted with --indicator " +
            indicatorNamesWhere([](const IndicatorKindRow& row) { return row.hasBar; }));
    }
    if (recipe.fixedWidthInScreenHeightFraction > 0.0f && recipe.indicator == IndicatorKind::None) {
        throw UsageError(
            "--fixed: a label without indicator has no width to fix; accepted with --indicator " +
            indicatorNamesWhere([](const IndicatorKindRow& row) { return row.make != nullptr; }));
    }
}

std::shared_ptr<Varnek::LabelBackground> makeBackground(const LabelRecipe& recipe, float scale) {
    auto background = VarnekCatalogue::makeBackground(
        recipe.background, recipe.indicator,
        {recipe.withBar, recipe.fixedWidthInScreenHeightFraction > 0.0f,
         recipe.fixedWidthInScreenHeightFraction});
    background->initialize(scale);
    return background;
}

std::vector<LabelRecipe> galleryRecipes() {
    std::vector<LabelRecipe> indicators;
    for (const bool withBar : {true, false}) {
        for (const IndicatorKindRow& row : indicatorKinds()) {
            if (withBar || row.hasBar) {
                indicators.push_back(
                    {BackgroundShape::Round, row.kind, withBar, galleryWidthOf(row)});
            }
        }
    }
    std::vector<LabelRecipe> recipes;
    for (const auto& shape : backgroundShapes()) {
        if (shape.carriesIndicator) {
            for (LabelRecipe recipe : indicators) {
                recipe.background = shape.shape;
                recipes.push_back(recipe);
            }
        }
    }
    for (const auto& shape : backgroundShapes()) {
        if (!shape.carriesIndicator) {
            recipes.push_back({shape.shape, IndicatorKind::None, true, 0.0f});
        }
    }
    return recipes;
}

}  // namespace VarnekLabels

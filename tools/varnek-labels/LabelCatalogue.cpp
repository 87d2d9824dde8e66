#include "LabelCatalogue.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include <varnek/label_shape/BalloonLabelBackground.h>
#include <varnek/label_shape/LayeredLabelIndicator.h>
#include <varnek/label_shape/SymmetricCornerLabelBackground.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

#include "NumberText.h"
#include "UsageError.h"

namespace VarnekLabels {
namespace {

using Varnek::LabelBackground;
using Varnek::LabelIndicator;
using Varnek::LayeredLabelIndicator;
using Varnek::TriangularLabelIndicator;

template <typename Value>
struct Named {
    const char* name;
    Value value;
};

constexpr std::array<Named<BackgroundShape>, 4> s_backgroundNames{{
    {"round", BackgroundShape::Round},
    {"flat", BackgroundShape::Flat},
    {"plain", BackgroundShape::Plain},
    {"balloon", BackgroundShape::Balloon},
}};

constexpr std::array<Named<IndicatorKind>, 6> s_indicatorNames{{
    {"none", IndicatorKind::None},
    {"acute", IndicatorKind::Acute},
    {"right", IndicatorKind::Right},
    {"layered-lower", IndicatorKind::LayeredLower},
    {"layered-middle", IndicatorKind::LayeredMiddle},
    {"layered-upper", IndicatorKind::LayeredUpper},
}};

constexpr std::array<Named<ReferencePoint>, 13> s_referencePointNames{{
    {"TopLeft", LabelBackground::TopLeft},
    {"TopCenter", LabelBackground::TopCenter},
    {"TopRight", LabelBackground::TopRight},
    {"LeftTop", LabelBackground::LeftTop},
    {"LeftCenter", LabelBackground::LeftCenter},
    {"LeftBottom", LabelBackground::LeftBottom},
    {"RightTop", LabelBackground::RightTop},
    {"RightCenter", LabelBackground::RightCenter},
    {"RightBottom", LabelBackground::RightBottom},
    {"BottomLeft", LabelBackground::BottomLeft},
    {"BottomCenter", LabelBackground::BottomCenter},
    {"BottomRight", LabelBackground::BottomRight},
    {"Center", LabelBackground::Center},
}};

// The layered indicator has no default width of its own; twice the acute
// default gives its bar room to show beside the triangle.
constexpr float s_galleryLayeredWidthInScreenHeightFraction = 0.03f;

bool sameName(const std::string& a, const char* b, bool ignoreCase) {
    const std::string_view other(b);
    return a.size() == other.size() &&
           std::equal(a.begin(), a.end(), other.begin(), [ignoreCase](char x, char y) {
               if (!ignoreCase) {
                   return x == y;
               }
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

template <typename Value, std::size_t N>
const char* nameOf(const std::array<Named<Value>, N>& table, Value value) {
    for (const auto& entry : table) {
        if (entry.value == value) {
            return entry.name;
        }
    }
    return "?";
}

template <typename Value, std::size_t N>
Value parseName(const std::array<Named<Value>, N>& table, const std::string& option,
                const std::string& name, bool ignoreCase) {
    for (const auto& entry : table) {
        if (sameName(name, entry.name, ignoreCase)) {
            return entry.value;
        }
    }
    std::string accepted;
    for (const auto& entry : table) {
        accepted += accepted.empty() ? "" : ", ";
        accepted += entry.name;
    }
    throw rejectedValue(option, name, accepted);
}

LayeredLabelIndicator::Layer layerOf(IndicatorKind kind) {
    switch (kind) {
        case IndicatorKind::LayeredLower:
            return LayeredLabelIndicator::Lower;
        case IndicatorKind::LayeredUpper:
            return LayeredLabelIndicator::Upper;
        default:
            return LayeredLabelIndicator::Middle;
    }
}

std::shared_ptr<LabelIndicator> makeIndicator(const LabelRecipe& recipe) {
    const float width = recipe.fixedWidthInScreenHeightFraction;
    const bool fixed = width > 0.0f;
    switch (recipe.indicator) {
        case IndicatorKind::None:
            return nullptr;
        case IndicatorKind::Acute:
            return TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(fixed,
                                                                                       width);
        case IndicatorKind::Right:
            return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(fixed,
                                                                                       width);
        default:
            return LayeredLabelIndicator::createLayeredLabelIndicator(
                recipe.withBar, layerOf(recipe.indicator), fixed, width);
    }
}

}  // namespace

const char* toName(BackgroundShape shape) {
    return nameOf(s_backgroundNames, shape);
}
const char* toName(IndicatorKind kind) {
    return nameOf(s_indicatorNames, kind);
}
const char* toName(ReferencePoint referencePoint) {
    return nameOf(s_referencePointNames, referencePoint);
}

BackgroundShape parseBackgroundShape(const std::string& option, const std::string& name) {
    return parseName(s_backgroundNames, option, name, true);
}

IndicatorKind parseIndicatorKind(const std::string& option, const std::string& name) {
    return parseName(s_indicatorNames, option, name, true);
}

ReferencePoint parseReferencePoint(const std::string& option, const std::string& name) {
    return parseName(s_referencePointNames, option, name, true);
}

const std::array<ReferencePoint, 13>& allReferencePoints() {
    static const std::array<ReferencePoint, 13> s_all = [] {
        std::array<ReferencePoint, 13> all{};
        std::transform(s_referencePointNames.begin(), s_referencePointNames.end(), all.begin(),
                       [](const auto& entry) { return entry.value; });
        return all;
    }();
    return s_all;
}

bool isLayered(IndicatorKind kind) {
    return kind == IndicatorKind::LayeredLower || kind == IndicatorKind::LayeredMiddle ||
           kind == IndicatorKind::LayeredUpper;
}

std::string describe(const LabelRecipe& recipe) {
    std::string text = toName(recipe.background);
    if (recipe.background == BackgroundShape::Balloon) {
        return text;
    }
    text += " / ";
    text += toName(recipe.indicator);
    if (isLayered(recipe.indicator)) {
        text += recipe.withBar ? ", bar" : ", no bar";
    }
    if (recipe.indicator != IndicatorKind::None) {
        text += recipe.fixedWidthInScreenHeightFraction > 0.0f
                    ? ", fixed " + formatFloat(recipe.fixedWidthInScreenHeightFraction)
                    : ", free-sized";
    }
    return text;
}

void checkCombination(const LabelRecipe& recipe, bool barOptionGiven) {
    if (recipe.background == BackgroundShape::Balloon && recipe.indicator != IndicatorKind::None) {
        throw rejectedValue("--indicator", toName(recipe.indicator),
                            "none (the balloon's tip is its indicator)");
    }
    if (barOptionGiven && !isLayered(recipe.indicator)) {
        throw UsageError(
            "--no-bar: only a layered indicator has a bar; accepted with --indicator "
            "layered-lower, layered-middle, layered-upper");
    }
    if (recipe.fixedWidthInScreenHeightFraction > 0.0f && recipe.indicator == IndicatorKind::None) {
        throw UsageError(
            "--fixed: a label without indicator has no width to fix; accepted with --indicator "
            "acute, right, layered-lower, layered-middle, layered-upper");
    }
}

std::shared_ptr<Varnek::LabelBackground> makeBackground(const LabelRecipe& recipe, float scale) {
    using Varnek::SymmetricCornerLabelBackground;
    std::shared_ptr<LabelBackground> background;
    switch (recipe.background) {
        case BackgroundShape::Round:
            background = SymmetricCornerLabelBackground::createRoundCornered(makeIndicator(recipe));
            break;
        case BackgroundShape::Flat:
            background = SymmetricCornerLabelBackground::createFlatCornered(makeIndicator(recipe));
            break;
        case BackgroundShape::Plain:
            background =
                SymmetricCornerLabelBackground::createSimpleRectangle(makeIndicator(recipe));
            break;
        case BackgroundShape::Balloon:
            background = std::make_shared<Varnek::BalloonLabelBackground>();
            break;
    }
    background->initialize(scale);
    return background;
}

std::vector<LabelRecipe> galleryRecipes() {
    struct IndicatorChoice {
        IndicatorKind kind;
        bool withBar;
        float width;
    };
    const float layered = s_galleryLayeredWidthInScreenHeightFraction;
    const std::array<IndicatorChoice, 9> indicators{{
        {IndicatorKind::None, true, 0.0f},
        {IndicatorKind::Acute, true,
         TriangularLabelIndicator::s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction},
        {IndicatorKind::Right, true,
         TriangularLabelIndicator::s_defaultRightAngledIndicatorWidthInScreenHeightFraction},
        {IndicatorKind::LayeredLower, true, layered},
        {IndicatorKind::LayeredMiddle, true, layered},
        {IndicatorKind::LayeredUpper, true, layered},
        {IndicatorKind::LayeredLower, false, layered},
        {IndicatorKind::LayeredMiddle, false, layered},
        {IndicatorKind::LayeredUpper, false, layered},
    }};
    std::vector<LabelRecipe> recipes;
    for (const auto shape :
         {BackgroundShape::Round, BackgroundShape::Flat, BackgroundShape::Plain}) {
        for (const auto& choice : indicators) {
            recipes.push_back({shape, choice.kind, choice.withBar, choice.width});
        }
    }
    recipes.push_back({BackgroundShape::Balloon, IndicatorKind::None, true, 0.0f});
    return recipes;
}

}  // namespace VarnekLabels

#include "catalogue/LabelKinds.h"

#include <varnek/label_shape/BalloonLabelBackground.h>
#include <varnek/label_shape/LayeredLabelIndicator.h>
#include <varnek/label_shape/SymmetricCornerLabelBackground.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

#include <utility>

namespace VarnekCatalogue {
namespace {

using Varnek::LabelBackground;
using Varnek::LabelIndicator;
using Varnek::LayeredLabelIndicator;
using Varnek::SymmetricCornerLabelBackground;
using Varnek::TriangularLabelIndicator;

using IndicatorPointer = std::shared_ptr<LabelIndicator>;
using BackgroundPointer = std::shared_ptr<LabelBackground>;

using CornerFactory =
    std::shared_ptr<SymmetricCornerLabelBackground> (*)(std::shared_ptr<LabelIndicator>);

// A factory of the rectangular background as the catalogue's row takes it.
template <CornerFactory factory>
BackgroundPointer makeCornered(IndicatorPointer indicator) {
    return factory(std::move(indicator));
}

// Takes the indicator by value as the library's factories do, and has none.
BackgroundPointer makeBalloon(
    IndicatorPointer /*indicator*/) {  // NOLINT(performance-unnecessary-value-param)
    return std::make_shared<Varnek::BalloonLabelBackground>();
}

IndicatorPointer makeAcute(const IndicatorSettings& settings) {
    return TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
        settings.useFixedSize, settings.fixedWidthInScreenHeightFraction);
}

IndicatorPointer makeRight(const IndicatorSettings& settings) {
    return TriangularLabelIndicator::createRightAngledTriangularLabelIndicator(
        settings.useFixedSize, settings.fixedWidthInScreenHeightFraction);
}

template <LayeredLabelIndicator::Layer layer>
IndicatorPointer makeLayered(const IndicatorSettings& settings) {
    return LayeredLabelIndicator::createLayeredLabelIndicator(
        settings.withBar, layer, settings.useFixedSize, settings.fixedWidthInScreenHeightFraction);
}

constexpr std::array<BackgroundShapeRow, s_backgroundShapeCount> s_backgroundShapes{{
    {BackgroundShape::Round, "round", true,
     makeCornered<SymmetricCornerLabelBackground::createRoundCornered>,
     "SymmetricCornerLabelBackground::createRoundCornered"},
    {BackgroundShape::Flat, "flat", true,
     makeCornered<SymmetricCornerLabelBackground::createFlatCornered>,
     "SymmetricCornerLabelBackground::createFlatCornered"},
    {BackgroundShape::Plain, "plain", true,
     makeCornered<SymmetricCornerLabelBackground::createSimpleRectangle>,
     "SymmetricCornerLabelBackground::createSimpleRectangle"},
    {BackgroundShape::Balloon, "balloon", false, makeBalloon,
     "BalloonLabelBackground::BalloonLabelBackground"},
}};

constexpr std::array<IndicatorKindRow, s_indicatorKindCount> s_indicatorKinds{{
    {IndicatorKind::None, "none", false, 0.0f, nullptr, nullptr},
    {IndicatorKind::Acute, "acute", false,
     TriangularLabelIndicator::s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction, makeAcute,
     "TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator"},
    {IndicatorKind::Right, "right", false,
     TriangularLabelIndicator::s_defaultRightAngledIndicatorWidthInScreenHeightFraction, makeRight,
     "TriangularLabelIndicator::createRightAngledTriangularLabelIndicator"},
    {IndicatorKind::LayeredLower, "layered-lower", true, 0.0f,
     makeLayered<LayeredLabelIndicator::Lower>,
     "LayeredLabelIndicator::createLayeredLabelIndicator"},
    {IndicatorKind::LayeredMiddle, "layered-middle", true, 0.0f,
     makeLayered<LayeredLabelIndicator::Middle>,
     "LayeredLabelIndicator::createLayeredLabelIndicator"},
    {IndicatorKind::LayeredUpper, "layered-upper", true, 0.0f,
     makeLayered<LayeredLabelIndicator::Upper>,
     "LayeredLabelIndicator::createLayeredLabelIndicator"},
}};

// Each row sits at its enumerator's index, so that rowOf is a plain index
// and a missing row fails the build.
template <typename Rows, typename Member>
constexpr bool rowsInEnumeratorOrder(const Rows& rows, Member member) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (static_cast<std::size_t>(rows[i].*member) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rowsInEnumeratorOrder(s_backgroundShapes, &BackgroundShapeRow::shape));
static_assert(rowsInEnumeratorOrder(s_indicatorKinds, &IndicatorKindRow::kind));

constexpr std::array<ReferencePoint, s_referencePointCount> makeReferencePoints() {
    std::array<ReferencePoint, s_referencePointCount> all{};
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {
        all[i] = static_cast<ReferencePoint>(i);
    }
    all.back() = LabelBackground::Center;
    return all;
}

constexpr std::array<ReferencePoint, s_referencePointCount> s_referencePoints =
    makeReferencePoints();

template <typename Rows>
std::vector<const char*> namesOf(const Rows& rows) {
    std::vector<const char*> names;
    names.reserve(rows.size());
    for (const auto& row : rows) {
        names.push_back(row.name);
    }
    return names;
}

}  // namespace

const std::array<BackgroundShapeRow, s_backgroundShapeCount>& backgroundShapes() {
    return s_backgroundShapes;
}

const std::array<IndicatorKindRow, s_indicatorKindCount>& indicatorKinds() {
    return s_indicatorKinds;
}

const std::array<ReferencePoint, s_referencePointCount>& referencePoints() {
    return s_referencePoints;
}

const BackgroundShapeRow& rowOf(BackgroundShape shape) {
    return s_backgroundShapes.at(static_cast<std::size_t>(shape));
}

const IndicatorKindRow& rowOf(IndicatorKind kind) {
    return s_indicatorKinds.at(static_cast<std::size_t>(kind));
}

std::shared_ptr<LabelBackground> makeBackground(BackgroundShape shape, IndicatorKind kind,
                                                const IndicatorSettings& settings) {
    const BackgroundShapeRow& background = rowOf(shape);
    const IndicatorKindRow& indicator = rowOf(kind);
    IndicatorPointer made;
    if (background.carriesIndicator && indicator.make != nullptr) {
        made = indicator.make(settings);
    }
    return background.make(std::move(made));
}

std::vector<const char*> backgroundShapeNames() {
    return namesOf(s_backgroundShapes);
}

std::vector<const char*> indicatorKindNames() {
    return namesOf(s_indicatorKinds);
}

std::vector<const char*> referencePointNames() {
    std::vector<const char*> names;
    names.reserve(s_referencePoints.size());
    for (const ReferencePoint referencePoint : s_referencePoints) {
        names.push_back(Varnek::toString(referencePoint));
    }
    return names;
}

std::string joinNames(const std::vector<const char*>& names, const char* separator,
                      const char* lastSeparator) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            joined += i + 1 == names.size() ? lastSeparator : separator;
        }
        joined += names[i];
    }
    return joined;
}

}  // namespace VarnekCatalogue

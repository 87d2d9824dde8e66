// The label kinds the library offers: its background shapes, its indicator
// kinds and its reference points, each with the name the tool, the
// benchmarks, the fuzzers and the tests know it by and the library factory
// that makes it. A new shape or kind is one enumerator and one row here.
#ifndef VARNEK_CATALOGUE_LABELKINDS_H
#define VARNEK_CATALOGUE_LABELKINDS_H

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/LabelIndicator.h>

namespace VarnekCatalogue {

using ReferencePoint = Varnek::LabelBackground::ReferencePoint;

// In the order of the rows of backgroundShapes(); Count is their number.
enum class BackgroundShape { Round, Flat, Plain, Balloon, Count };

// In the order of the rows of indicatorKinds(); Count is their number.
enum class IndicatorKind { None, Acute, Right, LayeredLower, LayeredMiddle, LayeredUpper, Count };

// How an indicator is made, as the library's factories take it: without a
// fixed size it is as wide as the label along its edge. The bar is read only
// by the layered kinds.
struct IndicatorSettings {
    bool withBar = true;
    bool useFixedSize = false;
    float fixedWidthInScreenHeightFraction = 0.0f;
};

struct BackgroundShapeRow {
    BackgroundShape shape;
    const char* name;       // "round"
    bool carriesIndicator;  // false for a shape whose tip is its indicator
    std::shared_ptr<Varnek::LabelBackground> (*make)(
        std::shared_ptr<Varnek::LabelIndicator> indicator);
    // The library function behind make, as its header names it:
    // "SymmetricCornerLabelBackground::createRoundCornered".
    const char* factory;
};

struct IndicatorKindRow {
    IndicatorKind kind;
    const char* name;  // "layered-lower"
    bool hasBar;       // whether IndicatorSettings::withBar applies
    // The fixed width the library recommends; 0 where it has none.
    float defaultWidthInScreenHeightFraction;
    // Null for None.
    std::shared_ptr<Varnek::LabelIndicator> (*make)(const IndicatorSettings& settings);
    // The library function behind make, as its header names it; null for
    // None.
    const char* factory;
};

inline constexpr std::size_t s_backgroundShapeCount =
    static_cast<std::size_t>(BackgroundShape::Count);
inline constexpr std::size_t s_indicatorKindCount = static_cast<std::size_t>(IndicatorKind::Count);
// The placed values 0 to 11, then Center.
inline constexpr std::size_t s_referencePointCount = Varnek::LabelBackground::BottomRight + 2;

const std::array<BackgroundShapeRow, s_backgroundShapeCount>& backgroundShapes();
const std::array<IndicatorKindRow, s_indicatorKindCount>& indicatorKinds();
// The twelve placed reference points in their numeric order, then Center.
const std::array<ReferencePoint, s_referencePointCount>& referencePoints();

const BackgroundShapeRow& rowOf(BackgroundShape shape);
const IndicatorKindRow& rowOf(IndicatorKind kind);

// The background of that shape with that indicator (none for a shape that
// carries none), not initialised.
std::shared_ptr<Varnek::LabelBackground> makeBackground(BackgroundShape shape, IndicatorKind kind,
                                                        const IndicatorSettings& settings);

// The names in the order of the rows, and of referencePoints() (the
// library's names).
std::vector<const char*> backgroundShapeNames();
std::vector<const char*> indicatorKindNames();
std::vector<const char*> referencePointNames();

// The names joined by separator, the last one by lastSeparator: "a, b or c".
std::string joinNames(const std::vector<const char*>& names, const char* separator,
                      const char* lastSeparator);

}  // namespace VarnekCatalogue

#endif  // VARNEK_CATALOGUE_LABELKINDS_H

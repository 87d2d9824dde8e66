// Builds a label background of any shape with any indicator (or none), any
// fixed width and any scale factor (floats of any bit pattern), and queries
// it for any reference point (any 32-bit value) and label size. Besides
// running clean under the sanitizers, the answers must keep their documented
// shape: outline and indicator point counts, a zero third component, the
// zero answers for absent objects and unplaced reference points, member and
// static forms that agree, an appended outline and an outline extent that
// match the outline, and queries that change nothing. For every input within
// the contract the outline is closed and clockwise and spans the complete
// size (the balloon: its width, and a height that follows it). The
// reference-point functions are checked for every value alongside.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include <catalogue/LabelKinds.h>
#include <testing/LabelShapeTesting.h>

#include <varnek/varnek.h>

#include "FuzzCheck.h"

namespace {

using VarnekFuzz::consumeFloatBits;
using VarnekFuzz::sameBits;
using namespace Varnek;
using ReferencePoint = LabelBackground::ReferencePoint;
using Side = LabelBackground::Side;
using Points = std::vector<Vector<float, 3>>;

bool isPlaced(std::int32_t value) {
    return value >= 0 && value <= 11;
}

bool sameVector(const Vector<float, 3>& a, const Vector<float, 3>& b) {
    return sameBits(a[0], b[0]) && sameBits(a[1], b[1]) && sameBits(a[2], b[2]);
}

bool samePoints(const Points& a, std::size_t from, const Points& b) {
    if (from + b.size() > a.size()) {
        return false;
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (!sameVector(a[from + i], b[i])) {
            return false;
        }
    }
    return true;
}

// Whether part appears in whole as one unbroken run.
bool containsRun(const Points& whole, const Points& part) {
    for (std::size_t from = 0; from + part.size() <= whole.size(); ++from) {
        if (samePoints(whole, from, part)) {
            return true;
        }
    }
    return false;
}

bool isZero(const Vector<float, 3>& v) {
    return v[0] == 0.0F && v[1] == 0.0F && v[2] == 0.0F;
}

bool isFinite(const Vector<float, 3>& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// Mostly ordinary numbers, sometimes any bit pattern.
float consumeLength(FuzzedDataProvider& input) {
    return input.ConsumeBool() ? input.ConsumeFloatingPointInRange<float>(-200.0F, 200.0F)
                               : consumeFloatBits(input);
}

Vector<float, 3> consumeVector(FuzzedDataProvider& input) {
    const float x = consumeLength(input);
    const float y = consumeLength(input);
    const float z = input.ConsumeBool() ? 0.0F : consumeLength(input);
    return Vector<float, 3>(x, y, z);
}

std::int32_t consumeValue(FuzzedDataProvider& input, std::int32_t low, std::int32_t high) {
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int32_t>(low, high)
                               : input.ConsumeIntegral<std::int32_t>();
}

using VarnekCatalogue::BackgroundShape;
using VarnekCatalogue::BackgroundShapeRow;

// How many points the body contributes to the outline: those of the bare
// body's outline, a path of its own beside the count the background reports.
int bodyPoints(const BackgroundShapeRow& shape) {
    static const std::array<int, VarnekCatalogue::s_backgroundShapeCount> s_points = [] {
        std::array<int, VarnekCatalogue::s_backgroundShapeCount> points{};
        for (const BackgroundShapeRow& row : VarnekCatalogue::backgroundShapes()) {
            const auto bare = row.make(nullptr);
            bare->initialize(1000.0F);
            points[static_cast<std::size_t>(row.shape)] = static_cast<int>(
                bare->getPolygon(LabelBackground::Center, Vector<float, 3>(40.0F, 20.0F, 0.0F),
                                 Vector<float, 3>::getZeroVector())
                    .size());
        }
        return points;
    }();
    return s_points[static_cast<std::size_t>(shape.shape)];
}

// How many points an indicator reports and appends.
struct IndicatorPoints {
    int reported = 0;  // getNumberOfPolygonPoints()
    int placed = 0;    // appended for a reference point on a side
    int unplaced = 0;  // appended for Center and values outside -1..11; -1: not known
};

struct Label {
    std::shared_ptr<LabelBackground> background;
    std::shared_ptr<LabelIndicator> indicator;
    IndicatorPoints indicatorPoints;
    // Built within the contract: a layer of the enumeration and a fixed
    // width, if any, of a sensible size.
    bool inContract = true;
};

// A layered indicator reports 3 points without the bar, and with it 7 for
// Middle and 6 for any other layer. With the bar it appends 7 for a layer
// outside 0..2 (the triangle then sits in the middle) and for any reference
// point on no side.
IndicatorPoints layeredPoints(bool withBar, std::int32_t layer) {
    if (!withBar) {
        return {3, 3, 3};
    }
    const bool atAnEnd =
        layer == LayeredLabelIndicator::Lower || layer == LayeredLabelIndicator::Upper;
    return {layer == LayeredLabelIndicator::Middle ? 7 : 6, atAnEnd ? 6 : 7, 7};
}

// An indicator of any kind of the catalogue, and now and then a layered one
// with any layer value, in the enumeration or not.
std::shared_ptr<LabelIndicator> consumeIndicator(FuzzedDataProvider& input, IndicatorPoints& points,
                                                 bool& inContract) {
    const bool useFixedSize = input.ConsumeBool();
    const float fixedWidth = input.ConsumeBool()
                                 ? input.ConsumeFloatingPointInRange<float>(0.0F, 0.05F)
                                 : consumeFloatBits(input);
    inContract = !useFixedSize || (fixedWidth >= 0.001F && fixedWidth <= 0.05F);
    const auto& kinds = VarnekCatalogue::indicatorKinds();
    const auto& kind = kinds[input.ConsumeIntegralInRange<std::size_t>(0, kinds.size() - 1)];
    if (kind.make == nullptr) {
        points = {0, 0, 0};
        return nullptr;
    }
    const bool withBar = input.ConsumeBool();
    if (kind.hasBar && input.ConsumeBool()) {
        const std::int32_t layer = consumeValue(input, -1, 3);
        points = layeredPoints(withBar, layer);
        inContract = inContract && layer >= LayeredLabelIndicator::Lower &&
                     layer <= LayeredLabelIndicator::Upper;
        return LayeredLabelIndicator::createLayeredLabelIndicator(
            withBar, static_cast<LayeredLabelIndicator::Layer>(layer), useFixedSize, fixedWidth);
    }
    std::shared_ptr<LabelIndicator> indicator = kind.make({withBar, useFixedSize, fixedWidth});
    // Within the contract a placed reference point gets the reported points.
    const int reported = indicator->getNumberOfPolygonPoints();
    points = {reported, reported, kind.hasBar ? -1 : reported};
    return indicator;
}

// A shape that carries no indicator (the balloon builds its outline from
// curves) is built once; that object serves every input and is initialised
// anew by each.
const std::shared_ptr<LabelBackground>& sharedBackground(const BackgroundShapeRow& shape) {
    static std::array<std::shared_ptr<LabelBackground>, VarnekCatalogue::s_backgroundShapeCount>
        s_backgrounds;
    auto& background = s_backgrounds[static_cast<std::size_t>(shape.shape)];
    if (!background) {
        background = shape.make(nullptr);
    }
    return background;
}

Label consumeLabel(FuzzedDataProvider& input, const BackgroundShapeRow& shape) {
    Label label;
    if (!shape.carriesIndicator) {
        label.background = sharedBackground(shape);
        return label;
    }
    label.indicator = consumeIndicator(input, label.indicatorPoints, label.inContract);
    label.background = shape.make(label.indicator);
    return label;
}

// The same background made by the factory, or the constructor, that
// initialises it.
std::shared_ptr<LabelBackground> madeInitialized(const BackgroundShapeRow& shape,
                                                 std::shared_ptr<LabelIndicator> indicator,
                                                 float scale) {
    switch (shape.shape) {
        case BackgroundShape::Round:
            return SymmetricCornerLabelBackground::createRoundCornered(std::move(indicator), scale);
        case BackgroundShape::Flat:
            return SymmetricCornerLabelBackground::createFlatCornered(std::move(indicator), scale);
        case BackgroundShape::Plain:
            return SymmetricCornerLabelBackground::createSimpleRectangle(std::move(indicator),
                                                                         scale);
        default:
            return std::make_shared<BalloonLabelBackground>(scale);
    }
}

// Made initialised or initialised later, a background answers alike.
void checkTwin(const LabelBackground& background, const LabelBackground& twin, ReferencePoint r,
               const Vector<float, 3>& size) {
    VARNEK_FUZZ_CHECK(twin.isInitialized());
    VARNEK_FUZZ_CHECK(sameBits(twin.getScreenHeightFractionToMaskedSceneScaleFactor(),
                               background.getScreenHeightFractionToMaskedSceneScaleFactor()));
    const Vector<float, 3> offset = background.getOffset(r, size);
    VARNEK_FUZZ_CHECK(sameVector(twin.getOffset(r, size), offset));
    const Points outline = background.getPolygon(r, size, offset);
    const Points twinOutline = twin.getPolygon(r, size, offset);
    VARNEK_FUZZ_CHECK(twinOutline.size() == outline.size() && samePoints(twinOutline, 0, outline));
}

void checkStaticFormsOfAbsentObjects(ReferencePoint r, const Vector<float, 3>& size) {
    VARNEK_FUZZ_CHECK(isZero(LabelBackground::getBodySizeInMaskedCoordinates(r, nullptr, size)));
    VARNEK_FUZZ_CHECK(
        isZero(LabelBackground::getCompleteSizeInMaskedCoordinates(r, nullptr, size)));
    VARNEK_FUZZ_CHECK(
        isZero(LabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
            r, nullptr, size)));
    VARNEK_FUZZ_CHECK(
        isZero(LabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r, nullptr)));
    VARNEK_FUZZ_CHECK(
        isZero(LabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
            r, nullptr)));
    VARNEK_FUZZ_CHECK(LabelBackground::getIndicator(nullptr) == nullptr);
    VARNEK_FUZZ_CHECK(
        isZero(LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(r, nullptr, size)));
    VARNEK_FUZZ_CHECK(isZero(
        LabelIndicator::getTriangleSizeInNominalRotationInMaskedCoordinates(r, nullptr, size)));
    VARNEK_FUZZ_CHECK(isZero(LabelIndicator::getOffset(r, nullptr, size)));
    VARNEK_FUZZ_CHECK(isZero(LabelIndicator::getSizeRotatedToSide(r, nullptr, size)));
    VARNEK_FUZZ_CHECK(
        isZero(LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(nullptr)));
    VARNEK_FUZZ_CHECK(LabelIndicator::getNumberOfPolygonPoints(nullptr) == 0);
}

// Within tolerance of expected, relative to its size: the outline's points
// and the sizes are computed along different paths in single precision.
bool near(float value, float expected) {
    return std::fabs(value - expected) <= 1e-4F * std::fmax(1.0F, std::fabs(expected));
}

// Member and static forms give the same answer, bit for bit.
void checkFormsAgree(const LabelBackground& background, ReferencePoint r,
                     const Vector<float, 3>& size) {
    VARNEK_FUZZ_CHECK(sameVector(
        background.getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r),
        LabelBackground::getMinimalBodySizeWithoutIndicatorInMaskedCoordinates(r, &background)));
    VARNEK_FUZZ_CHECK(
        sameVector(background.getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(r),
                   LabelBackground::getMinimalBodySizeWithMinimalIndicatorSizeInMaskedCoordinates(
                       r, &background)));
    VARNEK_FUZZ_CHECK(
        sameVector(background.getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(r, size),
                   LabelBackground::getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(
                       r, &background, size)));
    const LabelIndicator* indicator = background.getIndicator();
    if (indicator == nullptr) {
        return;
    }
    const Vector<float, 3> whole = indicator->getSizeInNominalRotationInMaskedCoordinates(r, size);
    VARNEK_FUZZ_CHECK(sameVector(
        whole, LabelIndicator::getSizeInNominalRotationInMaskedCoordinates(r, indicator, size)));
    const Vector<float, 3> triangle =
        indicator->getTriangleSizeInNominalRotationInMaskedCoordinates(r, size);
    VARNEK_FUZZ_CHECK(sameVector(
        triangle,
        LabelIndicator::getTriangleSizeInNominalRotationInMaskedCoordinates(r, indicator, size)));
    VARNEK_FUZZ_CHECK(
        sameVector(indicator->getMinimalSizeInNominalRotationInMaskedCoordinates(),
                   LabelIndicator::getMinimalSizeInNominalRotationInMaskedCoordinates(indicator)));
    VARNEK_FUZZ_CHECK(sameVector(indicator->getSizeRotatedToSide(r, size),
                                 LabelIndicator::getSizeRotatedToSide(r, indicator, size)));
    if (dynamic_cast<const TriangularLabelIndicator*>(indicator) != nullptr) {
        // The triangular indicator is its triangle.
        VARNEK_FUZZ_CHECK(sameVector(triangle, whole));
    }
}

// The appending path gives the outline's points bit for bit behind what was
// there, and the extent is the outline's, per axis (NaN where a point is).
void checkAppendedOutlineAndExtent(const LabelBackground& background, ReferencePoint r,
                                   const Vector<float, 3>& size, const Vector<float, 3>& offset,
                                   const Points& outline) {
    const Vector<float, 3> before(7.0F, -3.0F, 1.0F);
    Points points(2, before);
    background.appendPolygon(r, size, offset, points);
    VARNEK_FUZZ_CHECK(points.size() == outline.size() + 2);
    VARNEK_FUZZ_CHECK(sameVector(points[0], before) && sameVector(points[1], before));
    VARNEK_FUZZ_CHECK(samePoints(points, 2, outline));

    Vector<float, 3> minimum;
    Vector<float, 3> maximum;
    background.getPolygonExtent(r, size, offset, minimum, maximum);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        float low = INFINITY;
        float high = -INFINITY;
        bool nan = false;
        for (const Vector<float, 3>& point : outline) {
            nan = nan || std::isnan(point[axis]);
            low = point[axis] < low ? point[axis] : low;
            high = point[axis] > high ? point[axis] : high;
        }
        if (nan) {
            VARNEK_FUZZ_CHECK(std::isnan(minimum[axis]) && std::isnan(maximum[axis]));
        } else {
            VARNEK_FUZZ_CHECK(minimum[axis] == low && maximum[axis] == high);
        }
    }
}

// A label within the contract: closed (three points or more, all finite and
// flat), clockwise (a positive shoelace sum with y down) and as large as its
// complete size. The balloon's complete size is the label's; its outline
// spans the label's width and a height that follows the width.
void checkOutlineWithinContract(bool balloon, const Vector<float, 3>& size,
                                const Vector<float, 3>& complete, const Points& outline) {
    VARNEK_FUZZ_CHECK(outline.size() >= 3);
    double twiceArea = 0.0;
    Vector<float, 3> low = outline.front();
    Vector<float, 3> high = outline.front();
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Vector<float, 3>& a = outline[i];
        const Vector<float, 3>& b = outline[(i + 1) % outline.size()];
        VARNEK_FUZZ_CHECK(isFinite(a) && a[2] == 0.0F);
        twiceArea += double{a[0]} * double{b[1]} - double{b[0]} * double{a[1]};
        for (std::size_t axis = 0; axis < 2; ++axis) {
            low[axis] = std::fmin(low[axis], a[axis]);
            high[axis] = std::fmax(high[axis], a[axis]);
        }
    }
    VARNEK_FUZZ_CHECK(twiceArea > 0.0);
    const float spannedHeight =
        balloon ? size[0] / BalloonLabelBackground::getBalloonWidthHeightRatio() : complete[1];
    VARNEK_FUZZ_CHECK(near(high[0] - low[0], complete[0]));
    VARNEK_FUZZ_CHECK(near(high[1] - low[1], spannedHeight));
}

// The offset of a body symmetric about its centre lines: across the edge
// half the body on the mask's side; along it none for a body as long as the
// minimal one, and half the excess the mask's way for a longer one.
void checkAxiallySymmetricBodyOffset(std::int32_t value, const Vector<float, 3>& body,
                                     const Vector<float, 3>& minimal) {
    const auto r = static_cast<ReferencePoint>(value);
    const Vector<float, 3> offset =
        LabelBackground::getAxiallySymmetricBodyOffset(r, body, minimal);
    if (!isFinite(body) || !isFinite(minimal)) {
        return;
    }
    if (!isPlaced(value)) {
        VARNEK_FUZZ_CHECK(isZero(offset));
        return;
    }
    const Vector<float, 3>& mask = LabelBackground::getReferencePointToLabelCenterVectorMask(r);
    const std::size_t across = isTopOrBottomSide(r) ? 1 : 0;
    const std::size_t along = 1 - across;
    VARNEK_FUZZ_CHECK(near(offset[across], mask[across] * body[across] / 2.0F));
    if (body[along] >= minimal[along] && minimal[along] >= 0.0F) {
        VARNEK_FUZZ_CHECK(near(offset[along], mask[along] * (body[along] - minimal[along]) / 2.0F));
    }
}

// An indicator written outside the library, as its protected interface
// allows: the sizes and offset of a library triangle (the model), its points
// from the base's triangle generator, and no in-place writer of its own.
class ForeignTriangle final : public LabelIndicator {
public:
    explicit ForeignTriangle(std::shared_ptr<const LabelIndicator> model)
        : LabelIndicator(model->getUseFixedSize(),
                         model->getFixedIndicatorWidthInScreenHeightFraction()),
          m_model(std::move(model)) {}

    Vector<float, 3> getSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint r, const Vector<float, 3>& size) const override {
        return m_model->getSizeInNominalRotationInMaskedCoordinates(r, size);
    }
    Vector<float, 3> getTriangleSizeInNominalRotationInMaskedCoordinates(
        ReferencePoint r, const Vector<float, 3>& size) const override {
        return m_model->getTriangleSizeInNominalRotationInMaskedCoordinates(r, size);
    }
    int getNumberOfPolygonPoints() const override { return 3; }
    Vector<float, 3> getOffset(ReferencePoint r, const Vector<float, 3>& size) const override {
        return m_model->getOffset(r, size);
    }
    void addPolygonPointsInClockwiseOrder(ReferencePoint r, const Vector<float, 3>& size,
                                          Points& points) const override {
        addTrianglePointsInClockwiseOrder(
            r, m_model->getTriangleSizeInNominalRotationInMaskedCoordinates(r, size), points);
    }

private:
    std::shared_ptr<const LabelIndicator> m_model;
};

// A foreign triangle answers like the library's, point for point, in a
// background of the same shape; a foreign background's appending path and
// extent are its model's.
void checkForeignShapes(const Label& label, const LabelBackground& twinOfForeign,
                        const LabelBackground& foreign, ReferencePoint r,
                        const Vector<float, 3>& size) {
    const LabelBackground& background = *label.background;
    const Vector<float, 3> offset = background.getOffset(r, size);
    const Points outline = background.getPolygon(r, size, offset);
    if (label.indicator != nullptr) {
        Points own;
        label.indicator->addPolygonPointsInClockwiseOrder(r, size, own);
        VARNEK_FUZZ_CHECK(samePoints(own, 0, background.getIndicatorPolygon(r, size)));
    }
    if (dynamic_cast<const TriangularLabelIndicator*>(label.indicator.get()) != nullptr) {
        VARNEK_FUZZ_CHECK(sameVector(twinOfForeign.getOffset(r, size), offset));
        const Points foreignOutline = twinOfForeign.getPolygon(r, size, offset);
        VARNEK_FUZZ_CHECK(foreignOutline.size() == outline.size() &&
                          samePoints(foreignOutline, 0, outline));
    }
    VARNEK_FUZZ_CHECK(foreign.getNumberOfPolygonPoints() == background.getNumberOfPolygonPoints());
    // The model's offset plus the zero offset of no indicator: equal as values
    // (a -0 becomes 0).
    const Vector<float, 3> foreignOffset = foreign.getOffset(r, size);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        VARNEK_FUZZ_CHECK(foreignOffset[axis] == offset[axis] ||
                          (std::isnan(foreignOffset[axis]) && std::isnan(offset[axis])));
    }
    checkAppendedOutlineAndExtent(foreign, r, size, offset, outline);
}

void checkQueries(const Label& label, const BackgroundShapeRow& shape, std::int32_t value,
                  const Vector<float, 3>& size, const Vector<float, 3>& anyOffset,
                  bool withinContract) {
    const LabelBackground& background = *label.background;
    const auto r = static_cast<ReferencePoint>(value);
    const LabelIndicator* indicator = background.getIndicator();
    const int indicatorPoints = LabelIndicator::getNumberOfPolygonPoints(indicator);
    VARNEK_FUZZ_CHECK(indicatorPoints == label.indicatorPoints.reported);
    VARNEK_FUZZ_CHECK(LabelBackground::getIndicator(&background) == indicator);
    VARNEK_FUZZ_CHECK(background.getNumberOfPolygonPoints() == bodyPoints(shape) + indicatorPoints);

    const Vector<float, 3> body = background.getBodySizeInMaskedCoordinates(r, size);
    const Vector<float, 3> complete = background.getCompleteSizeInMaskedCoordinates(r, size);
    const Vector<float, 3> offset = background.getOffset(r, size);
    VARNEK_FUZZ_CHECK(body[2] == 0.0F && complete[2] == 0.0F && offset[2] == 0.0F);
    VARNEK_FUZZ_CHECK(
        sameVector(LabelBackground::getBodySizeInMaskedCoordinates(r, &background, size), body));
    VARNEK_FUZZ_CHECK(sameVector(
        LabelBackground::getCompleteSizeInMaskedCoordinates(r, &background, size), complete));
    const Vector<float, 3> minimal =
        background.getMinimalBodySizeWithFinalIndicatorSizeInMaskedCoordinates(r, size);
    if (isFinite(size) && isFinite(minimal)) {
        // The body is the label size grown to the minimal body.
        VARNEK_FUZZ_CHECK(body[0] == std::fmax(size[0], minimal[0]));
        VARNEK_FUZZ_CHECK(body[1] == std::fmax(size[1], minimal[1]));
    }
    const bool balloon = shape.shape == BackgroundShape::Balloon;
    if (balloon) {
        VARNEK_FUZZ_CHECK(isZero(minimal));
        // The body offset plus the absent indicator's zero offset.
        const float height = size[0] / 0.618F;
        Vector<float, 3> expected(0.0F, height * 0.691F, 0.0F);
        expected += Vector<float, 3>::getZeroVector();
        VARNEK_FUZZ_CHECK(sameVector(offset, expected));
    }

    // A placed reference point gets the indicator's points in its outline;
    // Center and unplaced values get the bare body.
    const int expectedPoints =
        bodyPoints(shape) +
        (isPlaced(value) && shape.carriesIndicator ? label.indicatorPoints.placed : 0);
    const Points outline = background.getPolygon(r, size, offset);
    VARNEK_FUZZ_CHECK(static_cast<int>(outline.size()) == expectedPoints);
    checkAppendedOutlineAndExtent(background, r, size, anyOffset,
                                  background.getPolygon(r, size, anyOffset));
    checkFormsAgree(background, r, size);
    checkAxiallySymmetricBodyOffset(value, body, minimal);
    if (withinContract) {
        checkOutlineWithinContract(balloon, size, complete, outline);
    }
    const Points shifted = background.getPolygon(r, size, anyOffset);
    VARNEK_FUZZ_CHECK(static_cast<int>(shifted.size()) == expectedPoints);
    if (balloon) {
        // The balloon ignores the reference point and the offset.
        VARNEK_FUZZ_CHECK(samePoints(outline, 0, shifted));
        VARNEK_FUZZ_CHECK(samePoints(
            outline, 0, background.getPolygon(LabelBackground::Center, size, anyOffset)));
    }

    const Points indicatorOutline = background.getIndicatorPolygon(r, size);
    if (indicator == nullptr) {
        VARNEK_FUZZ_CHECK(indicatorOutline.empty());
    } else if (isPlaced(value)) {
        VARNEK_FUZZ_CHECK(static_cast<int>(indicatorOutline.size()) ==
                          label.indicatorPoints.placed);
        // The outline carries the indicator's points unchanged, in one run.
        VARNEK_FUZZ_CHECK(containsRun(outline, indicatorOutline));
        VARNEK_FUZZ_CHECK(containsRun(shifted, indicatorOutline));
    } else {
        // Unplaced: every point on the anchor (a NaN where a length is not
        // finite, since 0 times it is NaN).
        VARNEK_FUZZ_CHECK(label.indicatorPoints.unplaced < 0 ||
                          static_cast<int>(indicatorOutline.size()) ==
                              label.indicatorPoints.unplaced);
        for (const Vector<float, 3>& point : indicatorOutline) {
            for (std::size_t axis = 0; axis < 3; ++axis) {
                VARNEK_FUZZ_CHECK(point[axis] == 0.0F || std::isnan(point[axis]));
            }
        }
    }
    if (indicator != nullptr) {
        VARNEK_FUZZ_CHECK(sameVector(LabelIndicator::getOffset(r, indicator, size),
                                     indicator->getOffset(r, size)));
        const Vector<float, 3> rotated = indicator->getSizeRotatedToSide(r, size);
        if (!isPlaced(value)) {
            VARNEK_FUZZ_CHECK(isZero(rotated));
        }
    }
}

void checkReferencePointFunctions(std::int32_t value, std::int32_t sideValue) {
    const auto r = static_cast<ReferencePoint>(value);
    const auto side = static_cast<Side>(sideValue);
    const Side sideOfR = getSideOfReferencePoint(r);
    VARNEK_FUZZ_CHECK(isPlaced(value) ? sideOfR >= 0 && sideOfR <= 3
                                      : sideOfR == LabelBackground::Undefined);
    const bool validSide = sideValue >= 0 && sideValue <= 3;
    VARNEK_FUZZ_CHECK(isReferencePointOnSide(r, side) == (validSide && sideOfR == side));
    VARNEK_FUZZ_CHECK(isTopOrBottomSide(r) == (isTopSide(r) || isBottomSide(r)));
    VARNEK_FUZZ_CHECK(isLeftOrRightSide(r) == (isLeftSide(r) || isRightSide(r)));
    VARNEK_FUZZ_CHECK(isTopOrBottomSide(r) != isLeftOrRightSide(r) || !isPlaced(value));
    VARNEK_FUZZ_CHECK(isCenterAligned(r) == (value == -1 || (isPlaced(value) && value % 3 == 1)));
    // A placed point is exactly one of: centre, clockwise end, clockwise start.
    const int kinds = int{isCenterAligned(r)} + int{isTopAlignedRotationSymmetric(r)} +
                      int{isBottomAlignedRotationSymmetric(r)};
    VARNEK_FUZZ_CHECK(kinds == (isPlaced(value) || value == -1 ? 1 : 0));

    const ReferencePoint mirrored = getMirrored(r);
    if (isPlaced(value)) {
        VARNEK_FUZZ_CHECK(getMirrored(mirrored) == r && mirrored != r);
    } else {
        VARNEK_FUZZ_CHECK(mirrored == LabelBackground::Center);
    }
    const std::array<Side, 4> sides = LabelBackground::getAllSidesInClockwiseOrder();
    for (std::size_t i = 0; i < sides.size(); ++i) {
        VARNEK_FUZZ_CHECK(toIndex(sides[i]) == static_cast<int>(i));
    }
    const ReferencePoint corner = getCornerOfSideInClockwiseOrder(side);
    if (validSide) {
        VARNEK_FUZZ_CHECK(isReferencePointOnSide(corner, side) &&
                          isTopAlignedRotationSymmetric(corner));
    } else {
        VARNEK_FUZZ_CHECK(corner == LabelBackground::Center);
    }
    VARNEK_FUZZ_CHECK(toIndex(side) == sideValue);
    const Vector<float, 3>& mask = LabelBackground::getReferencePointToLabelCenterVectorMask(r);
    VARNEK_FUZZ_CHECK(mask[2] == 0.0F);
    for (std::size_t axis = 0; axis < 2; ++axis) {
        VARNEK_FUZZ_CHECK(mask[axis] == -1.0F || mask[axis] == 0.0F || mask[axis] == 1.0F);
    }
    VARNEK_FUZZ_CHECK(isPlaced(value) ? !isZero(mask) : isZero(mask));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto& shapes = VarnekCatalogue::backgroundShapes();
    const auto& shape = shapes[input.ConsumeIntegralInRange<std::size_t>(0, shapes.size() - 1)];
    const Label label = consumeLabel(input, shape);
    LabelBackground& background = *label.background;
    const float scale = input.ConsumeBool()
                            ? input.ConsumeFloatingPointInRange<float>(0.0F, 2000.0F)
                            : consumeFloatBits(input);
    const bool initialized = input.ConsumeBool() || !shape.carriesIndicator;
    if (initialized) {
        background.initialize(scale);
    }
    const float scaleBefore = background.getScreenHeightFractionToMaskedSceneScaleFactor();
    VARNEK_FUZZ_CHECK(initialized ? sameBits(scaleBefore, scale) : scaleBefore == -1.0F);
    const LabelIndicator* indicator = background.getIndicator();
    if (indicator != nullptr) {
        VARNEK_FUZZ_CHECK(
            sameBits(indicator->getScreenHeightFractionToMaskedSceneScaleFactor(), scaleBefore));
    }

    // Within the contract: an initialised label of sensible scale and a
    // reference point, label size and indicator in their ranges.
    const bool sensibleLabel =
        label.inContract && initialized && scale >= 1.0F && scale <= 10000.0F;
    const std::shared_ptr<LabelBackground> twin =
        initialized ? madeInitialized(shape, label.indicator, scale) : nullptr;
    // A background of the same shape around a foreign copy of a library
    // triangle, and one that forwards everything to the label's background.
    const bool triangular =
        dynamic_cast<const TriangularLabelIndicator*>(label.indicator.get()) != nullptr;
    const std::shared_ptr<LabelBackground> withForeignTriangle =
        triangular ? shape.make(std::make_shared<ForeignTriangle>(label.indicator)) : nullptr;
    if (withForeignTriangle && initialized) {
        withForeignTriangle->initialize(scale);
    }
    const VarnekTesting::ModelBackground foreign(label.background);
    while (input.remaining_bytes() > 0) {
        const std::int32_t value = consumeValue(input, -2, 13);
        const Vector<float, 3> labelSize = consumeVector(input);
        const Vector<float, 3> anyOffset = consumeVector(input);
        const bool sensibleSize = labelSize[0] >= 0.5F && labelSize[0] <= 10000.0F &&
                                  labelSize[1] >= 0.5F && labelSize[1] <= 10000.0F &&
                                  labelSize[2] == 0.0F;
        checkQueries(label, shape, value, labelSize, anyOffset,
                     sensibleLabel && sensibleSize && value >= -1 && value <= 11);
        checkAxiallySymmetricBodyOffset(value, labelSize, anyOffset);
        if (twin) {
            checkTwin(background, *twin, static_cast<ReferencePoint>(value), labelSize);
        }
        checkForeignShapes(label, withForeignTriangle ? *withForeignTriangle : background, foreign,
                           static_cast<ReferencePoint>(value), labelSize);
        checkStaticFormsOfAbsentObjects(static_cast<ReferencePoint>(value), labelSize);
        checkReferencePointFunctions(value, consumeValue(input, -2, 5));
    }
    // Queries change nothing.
    VARNEK_FUZZ_CHECK(
        sameBits(background.getScreenHeightFractionToMaskedSceneScaleFactor(), scaleBefore));
    return 0;
}

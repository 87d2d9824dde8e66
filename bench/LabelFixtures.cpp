// Inputs and backgrounds of the label benchmarks.
#include "LabelFixtures.h"

#include <cstddef>

namespace VarnekBench {

using Varnek::LabelBackground;

namespace {

// Fixed-size indicators as a view uses them: the acute triangle at its
// default width, and a triangle on a bar with the triangle in the middle.
std::shared_ptr<Varnek::LabelIndicator> makeIndicator(Indicator indicator) {
    switch (indicator) {
        case Indicator::None:
            return nullptr;
        case Indicator::Triangular:
            return Varnek::TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(
                true, Varnek::TriangularLabelIndicator::
                          s_defaultAcuteAngledIndicatorWidthInScreenHeightFraction);
        case Indicator::Layered:
            return Varnek::LayeredLabelIndicator::createLayeredLabelIndicator(
                true, Varnek::LayeredLabelIndicator::Middle, true, 0.04F);
    }
    return nullptr;
}

}  // namespace

const std::array<LabelInput, s_inputCount>& labelInputs() {
    static const std::array<LabelInput, s_inputCount> s_inputs = [] {
        InputGenerator generator(3);
        std::array<LabelInput, s_inputCount> inputs{};
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            inputs[i].referencePoint = static_cast<LabelBackground::ReferencePoint>(i % 12);
            inputs[i].size =
                Point(generator.uniform(20.0F, 300.0F), generator.uniform(10.0F, 60.0F), 0.0F);
        }
        return inputs;
    }();
    return s_inputs;
}

const char* shapeName(Shape shape) {
    switch (shape) {
        case Shape::Round:
            return "Round";
        case Shape::Flat:
            return "Flat";
        case Shape::Plain:
            return "Plain";
        case Shape::Balloon:
            return "Balloon";
    }
    return "";
}

const char* indicatorName(Indicator indicator) {
    switch (indicator) {
        case Indicator::None:
            return "None";
        case Indicator::Triangular:
            return "Triangular";
        case Indicator::Layered:
            return "Layered";
    }
    return "";
}

std::shared_ptr<LabelBackground> makeBackground(Shape shape, Indicator indicator) {
    std::shared_ptr<LabelBackground> background;
    switch (shape) {
        case Shape::Round:
            background = Varnek::SymmetricCornerLabelBackground::createRoundCornered(
                makeIndicator(indicator));
            break;
        case Shape::Flat:
            background = Varnek::SymmetricCornerLabelBackground::createFlatCornered(
                makeIndicator(indicator));
            break;
        case Shape::Plain:
            background = Varnek::SymmetricCornerLabelBackground::createSimpleRectangle(
                makeIndicator(indicator));
            break;
        case Shape::Balloon:
            background = std::make_shared<Varnek::BalloonLabelBackground>();
            break;
    }
    background->initialize(s_scale);
    return background;
}

}  // namespace VarnekBench

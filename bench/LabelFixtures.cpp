// Inputs and backgrounds of the label benchmarks.
#include "LabelFixtures.h"

#include <cctype>
#include <cstddef>

namespace VarnekBench {

using Varnek::LabelBackground;
using VarnekCatalogue::IndicatorKind;
using VarnekCatalogue::IndicatorSettings;

namespace {

struct IndicatorChoice {
    const char* name;
    IndicatorKind kind;
    IndicatorSettings settings;
};

// The acute triangle at its default width, and a triangle on a bar with the
// triangle in the middle.
const std::array<IndicatorChoice, s_indicators.size()> s_indicatorChoices{{
    {"None", IndicatorKind::None, {}},
    {"Triangular",
     IndicatorKind::Acute,
     {true, true, VarnekCatalogue::rowOf(IndicatorKind::Acute).defaultWidthInScreenHeightFraction}},
    {"Layered", IndicatorKind::LayeredMiddle, {true, true, 0.04F}},
}};

const IndicatorChoice& choiceOf(Indicator indicator) {
    return s_indicatorChoices[static_cast<std::size_t>(indicator)];
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

std::string shapeName(BackgroundShape shape) {
    std::string name = VarnekCatalogue::rowOf(shape).name;
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

const char* indicatorName(Indicator indicator) {
    return choiceOf(indicator).name;
}

std::shared_ptr<LabelBackground> makeBackground(BackgroundShape shape, Indicator indicator) {
    const IndicatorChoice& choice = choiceOf(indicator);
    auto background = VarnekCatalogue::makeBackground(shape, choice.kind, choice.settings);
    background->initialize(s_scale);
    return background;
}

}  // namespace VarnekBench

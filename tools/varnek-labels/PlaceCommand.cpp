#include "PlaceCommand.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "ChoiceText.h"
#include "InputError.h"
#include "LabelRecipe.h"
#include "LabelText.h"
#include "NumberText.h"
#include "OutputFile.h"
#include "PlacementInput.h"
#include "UsageError.h"

namespace VarnekLabels {
namespace {

// The acute pointer at this fixed width unless the command line says
// otherwise: the default label of a placed view.
constexpr const char* s_placeIndicator = "acute";
constexpr float s_placeFixedWidth = 0.015f;
// The placer counts a larger effort as its largest; the tool refuses it
// instead, so that what the user asked for is what was done.
constexpr int s_maxEffort = Varnek::LabelPlacementOptions::maxEffort;

// The labels of the file at path, or of standardInput for "-".
std::vector<InputLabel> readInput(const std::string& path, bool header, bool sizeMayBeEmpty,
                                  std::istream& standardInput) {
    if (path == "-") {
        return readPlacementInput(standardInput, path, header, sizeMayBeEmpty);
    }
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw InputError("--input: cannot read '" + path + "': it is a folder");
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        const int reason = errno;
        throw InputError("--input: cannot read '" + path + "'" +
                         (reason != 0 ? std::string(": ") + std::strerror(reason) : ""));
    }
    return readPlacementInput(in, path, header, sizeMayBeEmpty);
}

void parseViewport(const std::string& text, PlacementRequest& request) {
    const auto comma = text.find(',');
    if (comma != std::string::npos) {
        const std::string_view all(text);
        const auto width = parseFiniteFloat(all.substr(0, comma));
        const auto height = parseFiniteFloat(all.substr(comma + 1));
        if (width && height && *width > 0.0f && *height > 0.0f) {
            request.viewWidth = *width;
            request.viewHeight = *height;
            return;
        }
    }
    throw rejectedValue("--viewport", text, "W,H with two finite numbers > 0, e.g. 792,612");
}

Varnek::LabelRect parseKeepOut(const std::string& text) {
    float sides[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::size_t begin = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const auto comma = text.find(',', begin);
        const bool last = k == 3;
        if ((comma == std::string::npos) != last) {
            break;
        }
        const auto side = parseFiniteFloat(std::string_view(text).substr(begin, comma - begin));
        if (!side) {
            break;
        }
        sides[k] = *side;
        if (last) {
            if (sides[0] <= sides[2] && sides[1] <= sides[3]) {
                return {sides[0], sides[1], sides[2], sides[3]};
            }
            break;
        }
        begin = comma + 1;
    }
    throw rejectedValue("--keep-out", text,
                        "L,T,R,B with four finite numbers, L <= R and T <= B, e.g. 0,0,200,40");
}

std::vector<ReferencePoint> parseCandidates(const std::string& text) {
    std::vector<ReferencePoint> candidates;
    std::size_t begin = 0;
    while (true) {
        const auto comma = text.find(',', begin);
        candidates.push_back(
            parseReferencePoint("--candidates", text.substr(begin, comma - begin)));
        if (comma == std::string::npos) {
            return candidates;
        }
        begin = comma + 1;
    }
}

// A whole number from least to most; what is accepted is said as expected.
int parseWholeNumber(const std::string& option, const std::string& text, int least, int most,
                     const std::string& expected) {
    int number = -1;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, number);
    if (result.ec != std::errc() || result.ptr != end || number < least || number > most) {
        throw rejectedValue(option, text, expected);
    }
    return number;
}

float parseNonNegativeFloat(const std::string& option, const std::string& text) {
    const auto value = parseFiniteFloat(text);
    if (!value || *value < 0.0f) {
        throw rejectedValue(option, text, "a finite number >= 0");
    }
    return *value;
}

LabelRecipe parseRecipe(const PlaceArguments& arguments) {
    LabelRecipe recipe;
    recipe.background = parseBackgroundShape("--background", arguments.background);
    const bool balloon = recipe.background == BackgroundShape::Balloon;
    recipe.indicator = parseIndicatorKind(
        "--indicator",
        !arguments.indicator.empty() ? arguments.indicator : (balloon ? "none" : s_placeIndicator));
    recipe.withBar = !arguments.noBar;
    if (!arguments.fixedWidth.empty()) {
        recipe.fixedWidthInScreenHeightFraction =
            parsePositiveFloat("--fixed", arguments.fixedWidth);
    } else if (recipe.indicator != IndicatorKind::None) {
        recipe.fixedWidthInScreenHeightFraction = s_placeFixedWidth;
    }
    checkCombination(recipe, arguments.noBarGiven);
    return recipe;
}

}  // namespace

PlacementRequest parsePlaceArguments(const PlaceArguments& arguments, std::istream& standardInput) {
    PlacementRequest request;
    request.recipe = parseRecipe(arguments);
    parseViewport(arguments.viewport, request);
    request.scale = arguments.scale.empty() ? request.viewHeight
                                            : parsePositiveFloat("--scale", arguments.scale);
    if (arguments.candidatesGiven) {
        request.options.candidates = parseCandidates(arguments.candidates);
    }
    request.options.effort =
        parseWholeNumber("--effort", arguments.effort, 0, s_maxEffort,
                         "a whole number from 0 to " + std::to_string(s_maxEffort));
    request.options.gap = parseNonNegativeFloat("--gap", arguments.gap);
    request.options.calloutDistance = parseNonNegativeFloat("--callouts", arguments.callouts);
    request.options.fadeFrames =
        parseWholeNumber("--fade-frames", arguments.fadeFrames, 0, std::numeric_limits<int>::max(),
                         "a whole number >= 0");
    request.options.anchorsAreObstacles =
        checkedChoice("--anchors-are-obstacles", arguments.anchorsAreObstacles, {"yes", "no"}) ==
        "yes";
    for (const std::string& rect : arguments.keepOut) {
        request.options.keepOut.push_back(parseKeepOut(rect));
    }
    checkedChoice("--format", arguments.format, {"json", "svg"});
    if (!arguments.font.empty()) {
        request.font =
            std::make_shared<const TextMeasure>(TextMeasure::open(arguments.font, "--font"));
    }
    request.labels =
        readInput(arguments.input, arguments.header, request.font != nullptr, standardInput);
    if (request.font) {
        measureSizes(request.labels, *request.font);
    }
    return request;
}

void runPlace(const PlaceArguments& arguments, const ToolStreams& streams) {
    const PlacementRequest request = parsePlaceArguments(arguments, streams.in);
    const PlacementResult result = placeLabels(request);
    if (!isFinite(result)) {
        throw overflowError(givenArguments({{"--viewport", arguments.viewport},
                                            {"--scale", arguments.scale},
                                            {"--fixed", arguments.fixedWidth}}));
    }
    const bool svg = checkedChoice("--format", arguments.format, {"json", "svg"}) == "svg";
    writeOutput(arguments.output,
                svg ? placementAsSvg(request, result) : placementAsJson(request, result),
                streams.out);
    if (request.labels.empty()) {
        streams.err << "varnek-labels: the input holds no labels; nothing placed\n";
    }
    streams.err << textFitWarnings(request.labels, request.font.get(), arguments.input);
}

}  // namespace VarnekLabels

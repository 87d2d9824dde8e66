// varnek-labels: draws the library's label outlines on one sheet, prints the
// outline of one label, places many labels in a view, and lists the
// draw-style vocabulary.
//
// Exit status: 0 done, 2 the command line was not accepted (one line on
// stderr names the argument and what is accepted), 1 the output could not
// be written. Nothing is written unless the whole command line is accepted.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>

#include <CLI/CLI.hpp>

#include "LabelCatalogue.h"
#include "NumberText.h"
#include "Outline.h"
#include "OutputFile.h"
#include "Placement.h"
#include "PlacementInput.h"
#include "StylesTable.h"
#include "SvgGallery.h"
#include "UsageError.h"

namespace {

using namespace VarnekLabels;

constexpr int s_exitUsage = 2;
constexpr int s_exitFailure = 1;

struct OutlineOptions {
    std::string background;
    std::string indicator;
    bool noBar = false;
    std::string fixedWidth;
    std::string referencePoint;
    std::string size;
    std::string scale = "1000";
    std::string format = "text";
};

struct PlaceOptions {
    std::string input;
    std::string viewport;
    std::string background = "round";
    std::string indicator;
    bool noBar = false;
    std::string fixedWidth;
    std::string scale;
    std::string candidates;
    std::string effort = "1";
    std::string gap = "0";
    std::string anchorsAreObstacles = "yes";
    std::string format = "json";
    std::string output = "-";
};

// The acute pointer at this fixed width unless the command line says
// otherwise: the default label of a placed view.
constexpr const char* s_placeIndicator = "acute";
constexpr float s_placeFixedWidth = 0.015f;
constexpr int s_maxEffort = 16;

// Names of choices are matched without regard to case, as the catalogue's
// names are; the canonical spelling is returned.
bool sameChoice(std::string_view given, std::string_view name) {
    return given.size() == name.size() &&
           std::equal(given.begin(), given.end(), name.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::string checkedChoice(const std::string& option, const std::string& given,
                          std::initializer_list<const char*> accepted) {
    std::string list;
    for (const char* name : accepted) {
        if (sameChoice(given, name)) {
            return name;
        }
        list += list.empty() ? "" : ", ";
        list += name;
    }
    throw rejectedValue(option, given, list);
}

std::string checkedFormat(const std::string& format, std::initializer_list<const char*> accepted) {
    return checkedChoice("--format", format, accepted);
}

void runGallery(const std::string& output) {
    const GallerySheet sheet = buildGallery();
    writeOutput(output, sheet.svg);
    if (output == "-") {
        return;
    }
    std::error_code error;
    const auto where = std::filesystem::absolute(output, error);
    std::cout << "wrote " << (error ? output : where.string()) << ": " << sheet.labelCount
              << " labels (" << sheet.kindCount << " label kinds x " << allReferencePoints().size()
              << " reference points)\n";
}

// The arguments given, as "--size 40,20, --scale 3.4e38", for an error
// about what they add up to.
std::string givenArguments(std::initializer_list<std::pair<const char*, std::string>> arguments) {
    std::string text;
    for (const auto& [option, value] : arguments) {
        if (!value.empty()) {
            text += text.empty() ? "" : ", ";
            text += std::string(option) + " " + value;
        }
    }
    return text;
}

UsageError overflowError(const std::string& arguments) {
    return UsageError(arguments +
                      ": the label's numbers overflow single precision (infinite or NaN); "
                      "accepted: smaller values");
}

void runOutline(const OutlineOptions& options, bool noBarGiven) {
    OutlineRequest request;
    LabelRecipe& recipe = request.recipe;
    recipe.background = parseBackgroundShape("--background", options.background);
    recipe.indicator = parseIndicatorKind("--indicator", options.indicator);
    recipe.withBar = !options.noBar;
    if (!options.fixedWidth.empty()) {
        recipe.fixedWidthInScreenHeightFraction = parsePositiveFloat("--fixed", options.fixedWidth);
    }
    request.referencePoint = parseReferencePoint("--reference-point", options.referencePoint);
    request.size = parseLabelSize("--size", options.size);
    request.scale = parsePositiveFloat("--scale", options.scale);
    const std::string format = checkedFormat(options.format, {"text", "json", "svg"});
    checkCombination(recipe, noBarGiven);

    const LabelOutline outline = computeOutline(request);
    if (!isFinite(outline)) {
        throw overflowError(givenArguments({{"--size", options.size},
                                            {"--scale", options.scale},
                                            {"--fixed", options.fixedWidth}}));
    }
    if (format == "json") {
        writeOutput("-", outlineAsJson(request, outline));
    } else if (format == "svg") {
        writeOutput("-", outlineAsSvg(request, outline));
    } else {
        writeOutput("-", outlineAsText(request, outline));
    }
}

// "-" is standard input.
std::string readInput(const std::string& path) {
    if (path == "-") {
        std::stringstream content;
        content << std::cin.rdbuf();
        return content.str();
    }
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw UsageError("--input: cannot read '" + path + "': it is a folder");
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    if (in.is_open()) {
        content << in.rdbuf();
    }
    if (!in.is_open() || in.bad()) {
        const int reason = errno;
        throw UsageError("--input: cannot read '" + path + "'" +
                         (reason != 0 ? std::string(": ") + std::strerror(reason) : ""));
    }
    return content.str();
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

int parseEffort(const std::string& text) {
    int effort = -1;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, effort);
    if (result.ec != std::errc() || result.ptr != end || effort < 0 || effort > s_maxEffort) {
        throw rejectedValue("--effort", text,
                            "a whole number from 0 to " + std::to_string(s_maxEffort));
    }
    return effort;
}

bool parseYesNo(const std::string& option, const std::string& text) {
    return checkedChoice(option, text, {"yes", "no"}) == "yes";
}

void runPlace(const PlaceOptions& options, bool noBarGiven) {
    PlacementRequest request;
    LabelRecipe& recipe = request.recipe;
    recipe.background = parseBackgroundShape("--background", options.background);
    const bool balloon = recipe.background == BackgroundShape::Balloon;
    const std::string indicator =
        options.indicator.empty() ? (balloon ? "none" : s_placeIndicator) : options.indicator;
    recipe.indicator = parseIndicatorKind("--indicator", indicator);
    recipe.withBar = !options.noBar;
    if (!options.fixedWidth.empty()) {
        recipe.fixedWidthInScreenHeightFraction = parsePositiveFloat("--fixed", options.fixedWidth);
    } else if (recipe.indicator != IndicatorKind::None) {
        recipe.fixedWidthInScreenHeightFraction = s_placeFixedWidth;
    }
    checkCombination(recipe, noBarGiven);
    parseViewport(options.viewport, request);
    request.scale =
        options.scale.empty() ? request.viewHeight : parsePositiveFloat("--scale", options.scale);
    if (!options.candidates.empty()) {
        request.options.candidates = parseCandidates(options.candidates);
    }
    request.options.effort = parseEffort(options.effort);
    const auto gap = parseFiniteFloat(options.gap);
    if (!gap || *gap < 0.0f) {
        throw rejectedValue("--gap", options.gap, "a finite number >= 0");
    }
    request.options.gap = *gap;
    request.options.anchorsAreObstacles =
        parseYesNo("--anchors-are-obstacles", options.anchorsAreObstacles);
    const bool svg = checkedFormat(options.format, {"json", "svg"}) == "svg";
    request.labels = parsePlacementInput(readInput(options.input), options.input);

    const PlacementResult result = placeLabels(request);
    if (!isFinite(result)) {
        throw overflowError(givenArguments({{"--viewport", options.viewport},
                                            {"--scale", options.scale},
                                            {"--fixed", options.fixedWidth}}));
    }
    writeOutput(options.output,
                svg ? placementAsSvg(request, result) : placementAsJson(request, result));
}

void runStyles(const std::string& format) {
    const bool json = checkedFormat(format, {"text", "json"}) == "json";
    const auto sections = buildStylesTable();
    writeOutput("-", json ? stylesAsJson(sections) : stylesAsText(sections));
}

// Standard output is checked once, at the end: a full disk or a closed file
// must not pass for success, for --help too.
int finishStandardOutput(int status) {
    errno = 0;
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    const int error = errno;
    if (!failed) {
        return status;
    }
    std::cerr << "varnek-labels: cannot write standard output"
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return s_exitFailure;
}

// The tool's help, or one subcommand's.
void runHelp(const CLI::App& app, const std::string& topic) {
    if (topic.empty()) {
        writeOutput("-", app.help());
        return;
    }
    for (const CLI::App* command : app.get_subcommands({})) {
        if (command->get_name() != "help" && sameChoice(topic, command->get_name())) {
            writeOutput("-", command->help());
            return;
        }
    }
    throw rejectedValue("help", topic, "gallery, outline, place, styles");
}

constexpr const char* s_subcommands = "gallery, outline, place, styles, help";

std::string optionList(const CLI::App& command) {
    std::string options;
    for (const CLI::Option* option : command.get_options()) {
        options += options.empty() ? "" : ", ";
        options += option->get_name();
    }
    return options;
}

// How often argv names the option, in any of its forms (-o X, --output X,
// --output=X).
int timesGiven(const CLI::Option& option, int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        for (const std::string& name : option.get_lnames()) {
            const std::string dashed = "--" + name;
            count += argument == dashed || argument.rfind(dashed + "=", 0) == 0 ? 1 : 0;
        }
        for (const std::string& name : option.get_snames()) {
            count += argument.rfind("-" + name, 0) == 0 && argument.rfind("--", 0) != 0 ? 1 : 0;
        }
    }
    return count;
}

// What the parser found wrong with the options of one subcommand, in the
// tool's words; empty if it is none of the cases below.
std::string subcommandError(const CLI::App& command, const CLI::ParseError& error, int argc,
                            char** argv) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        const auto extras = command.remaining();
        const std::string first = extras.empty() ? std::string() : extras.front();
        if (!first.empty() && first[0] == '-') {
            return "'" + first + "' is not an option of " + command.get_name();
        }
        return "'" + first + "' is not expected: " + command.get_name() +
               " takes options only, each with its value";
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        for (const CLI::Option* option : command.get_options()) {
            if (option->get_required() && option->count() == 0) {
                return option->get_name() + " is missing";
            }
        }
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        // The parser names the option first: "--size: ...".
        const std::string what = error.what();
        const CLI::Option* option = command.get_option_no_throw(what.substr(0, what.find(':')));
        if (option != nullptr) {
            const int count = timesGiven(*option, argc, argv);
            return count > 1 ? option->get_name() + " is given " + std::to_string(count) +
                                   " times; give it once"
                             : option->get_name() + " needs a value";
        }
    }
    return {};
}

// One line naming what was not accepted and what the user can type instead.
std::string parseErrorLine(const CLI::App& app, const CLI::ParseError& error, int argc,
                           char** argv) {
    const auto chosen = app.get_subcommands();
    if (chosen.empty()) {
        const std::string first = argc > 1 ? argv[1] : "";
        if (first.empty()) {
            return std::string("a subcommand is needed; accepted: ") + s_subcommands;
        }
        if (first[0] != '-') {
            return "'" + first + "' is not a subcommand; accepted: " + s_subcommands;
        }
        return "'" + first + "' is not accepted before a subcommand; accepted: --help, " +
               "--version, or a subcommand: " + s_subcommands;
    }
    const CLI::App& command = *chosen.front();
    std::string message = subcommandError(command, error, argc, argv);
    if (message.empty()) {
        message = error.what();
        std::replace(message.begin(), message.end(), '\n', ' ');
    }
    return message + "; accepted by " + command.get_name() + ": " + optionList(command);
}

int run(int argc, char** argv) {
    CLI::App app{
        "Draws and measures the label outlines of the Varnek library and lists its "
        "draw-style vocabulary.",
        "varnek-labels"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("varnek-labels ") + VARNEK_LABELS_VERSION,
                         "Print the tool's version and exit");

    std::string galleryOutput = "labels.svg";
    CLI::App* gallery = app.add_subcommand(
        "gallery",
        "Write one SVG sheet with every background shape and indicator at every reference "
        "point (the balloon once: it has no indicator).");
    gallery->add_option("-o,--output", galleryOutput, "SVG file to write; - is standard output")
        ->capture_default_str();

    OutlineOptions outlineOptions;
    CLI::App* outline = app.add_subcommand(
        "outline", "Print the body size, complete size, offset and polygon of one label.");
    outline->add_option("--background", outlineOptions.background, "round, flat, plain or balloon")
        ->required();
    outline
        ->add_option("--indicator", outlineOptions.indicator,
                     "none, acute, right, layered-lower, layered-middle or layered-upper")
        ->required();
    CLI::Option* noBar =
        outline->add_flag("--no-bar", outlineOptions.noBar, "layered indicator without its bar");
    outline->add_option("--fixed", outlineOptions.fixedWidth,
                        "fixed indicator width as a fraction of the screen height (default: as "
                        "wide as the label along its edge)");
    outline
        ->add_option("--reference-point", outlineOptions.referencePoint,
                     "where the body lies from its anchor: TopLeft, TopCenter, TopRight, LeftTop, "
                     "LeftCenter, LeftBottom, RightTop, RightCenter, RightBottom, BottomLeft, "
                     "BottomCenter, BottomRight or Center")
        ->required();
    outline->add_option("--size", outlineOptions.size, "label size W,H in masked coordinates")
        ->required();
    outline
        ->add_option("--scale", outlineOptions.scale,
                     "masked-coordinate length of one screen height")
        ->capture_default_str();
    outline->add_option("--format", outlineOptions.format, "text, json or svg")
        ->capture_default_str();

    PlaceOptions placeOptions;
    CLI::App* place = app.add_subcommand(
        "place",
        "Place many labels in one view so that none overlaps another, leaves the view or covers "
        "an anchor; write where each went as JSON, or a picture as SVG.");
    place
        ->add_option("--input", placeOptions.input,
                     "CSV file, one label a line: x,y,width,height[,priority[,key[,text]]]; - is "
                     "standard input")
        ->required();
    place->add_option("--viewport", placeOptions.viewport, "the view (0,0)-(W,H) as W,H")
        ->required();
    place->add_option("--background", placeOptions.background, "round, flat, plain or balloon")
        ->capture_default_str();
    place->add_option("--indicator", placeOptions.indicator,
                      "none, acute, right, layered-lower, layered-middle or layered-upper "
                      "(default: acute; none for the balloon)");
    CLI::Option* placeNoBar =
        place->add_flag("--no-bar", placeOptions.noBar, "layered indicator without its bar");
    place->add_option("--fixed", placeOptions.fixedWidth,
                      "fixed indicator width as a fraction of the screen height (default 0.015)");
    place->add_option("--scale", placeOptions.scale,
                      "masked-coordinate length of one screen height (default: the viewport's "
                      "height, so that label sizes are in view units)");
    place->add_option("--candidates", placeOptions.candidates,
                      "reference points in order of preference, NAME,NAME,... (default: "
                      "TopRight, TopLeft, BottomRight, BottomLeft, RightCenter, LeftCenter, "
                      "TopCenter, BottomCenter, RightTop, LeftTop, RightBottom, LeftBottom)");
    place
        ->add_option("--effort", placeOptions.effort,
                     "0: greedy only; each step about doubles the work (0 to 16)")
        ->capture_default_str();
    place->add_option("--gap", placeOptions.gap, "least distance between two labels")
        ->capture_default_str();
    place
        ->add_option("--anchors-are-obstacles", placeOptions.anchorsAreObstacles,
                     "yes: no label covers another label's anchor; no")
        ->capture_default_str();
    place->add_option("--format", placeOptions.format, "json or svg")->capture_default_str();
    place->add_option("-o,--output", placeOptions.output, "file to write; - is standard output")
        ->capture_default_str();

    std::string stylesFormat = "text";
    CLI::App* styles = app.add_subcommand(
        "styles", "Print every draw-style value with its display name and option text.");
    styles->add_option("--format", stylesFormat, "text or json")->capture_default_str();

    std::string helpTopic;
    CLI::App* help = app.add_subcommand("help", "Print the help of the tool or of one subcommand.");
    help->add_option("subcommand", helpTopic, "gallery, outline, place or styles");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& call) {
        return finishStandardOutput(app.exit(call));
    } catch (const CLI::CallForAllHelp& call) {
        return finishStandardOutput(app.exit(call));
    } catch (const CLI::CallForVersion& call) {
        return finishStandardOutput(app.exit(call));
    } catch (const CLI::ParseError& error) {
        std::cerr << "varnek-labels: " << parseErrorLine(app, error, argc, argv) << "\n";
        return s_exitUsage;
    }

    try {
        if (help->parsed()) {
            runHelp(app, helpTopic);
        } else if (gallery->parsed()) {
            runGallery(galleryOutput);
        } else if (outline->parsed()) {
            runOutline(outlineOptions, noBar->count() > 0);
        } else if (place->parsed()) {
            runPlace(placeOptions, placeNoBar->count() > 0);
        } else if (styles->parsed()) {
            runStyles(stylesFormat);
        }
    } catch (const UsageError& error) {
        std::cerr << "varnek-labels: " << error.what() << "\n";
        return s_exitUsage;
    }
    return finishStandardOutput(0);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "varnek-labels: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "varnek-labels: unexpected failure\n";
    }
    return s_exitFailure;
}

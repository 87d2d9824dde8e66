#include "Tool.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include <varnek/label_placement/LabelPlacementOptions.h>
#include <CLI/CLI.hpp>

#include "ChoiceText.h"
#include "CommandLineErrors.h"
#include "InputError.h"
#include "LabelRecipe.h"
#include "LabelText.h"
#include "NumberText.h"
#include "Outline.h"
#include "OutputFile.h"
#include "PlaceCommand.h"
#include "PrintableText.h"
#include "StylesTable.h"
#include "SvgGallery.h"
#include "TextMeasure.h"
#include "UsageError.h"

namespace VarnekLabels {
namespace {

using VarnekCatalogue::joinNames;

constexpr int s_exitUsage = 2;
constexpr int s_exitFailure = 1;
constexpr int s_exitInput = 3;

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

std::string checkedFormat(const std::string& format, std::initializer_list<const char*> accepted) {
    return checkedChoice("--format", format, accepted);
}

void runGallery(const std::string& output, const std::string& fontPath, std::ostream& out) {
    std::unique_ptr<TextMeasure> font;
    if (!fontPath.empty()) {
        font = std::make_unique<TextMeasure>(TextMeasure::open(fontPath, "--font"));
    }
    const GallerySheet sheet = buildGallery(font.get());
    writeOutput(output, sheet.svg, out);
    if (output == "-") {
        return;
    }
    std::error_code error;
    const auto where = std::filesystem::absolute(output, error);
    out << "wrote " << (error ? output : where.string()) << ": " << sheet.labelCount << " labels ("
        << sheet.kindCount << " label kinds x " << VarnekCatalogue::referencePoints().size()
        << " reference points)\n";
}

void runOutline(const OutlineOptions& options, bool noBarGiven, std::ostream& out) {
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
        writeOutput("-", outlineAsJson(request, outline), out);
    } else if (format == "svg") {
        writeOutput("-", outlineAsSvg(request, outline), out);
    } else {
        writeOutput("-", outlineAsText(request, outline), out);
    }
}

void runStyles(const std::string& format, std::ostream& out) {
    const bool json = checkedFormat(format, {"text", "json"}) == "json";
    const auto sections = buildStylesTable();
    writeOutput("-", json ? stylesAsJson(sections) : stylesAsText(sections), out);
}

// Standard output is checked once, at the end: a full disk or a closed file
// must not pass for success, for --help too.
int finishStandardOutput(int status, const ToolStreams& streams) {
    errno = 0;
    streams.out.flush();
    const int error = errno;
    if (streams.out) {
        return status;
    }
    streams.err << "varnek-labels: cannot write standard output"
                << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return s_exitFailure;
}

// The help of the tool, or of one subcommand, the same whichever way it is
// asked for: "help [SUBCOMMAND]" or --help anywhere.
std::string helpText(const CLI::App& app, const CLI::App* command) {
    if (command == nullptr) {
        return app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
    }
    return command->get_formatter()->make_help(command, app.get_name() + " " + command->get_name(),
                                               CLI::AppFormatMode::Normal);
}

void runHelp(const CLI::App& app, const std::string& topic, std::ostream& out) {
    if (topic.empty()) {
        writeOutput("-", helpText(app, nullptr), out);
        return;
    }
    std::string accepted;
    for (const CLI::App* command : app.get_subcommands({})) {
        if (command->get_name() == "help") {
            continue;
        }
        if (sameChoice(topic, command->get_name())) {
            writeOutput("-", helpText(app, command), out);
            return;
        }
        accepted += accepted.empty() ? "" : ", ";
        accepted += command->get_name();
    }
    throw rejectedValue("help", topic, accepted);
}

// The --font option's help: what is measured and how the SVG names the font.
std::string fontHelp(const std::string& measured) {
    std::string help =
        "TrueType or OpenType font file, texts measured in it with FreeType and "
        "HarfBuzz: " +
        measured + "; the SVG draws the texts in the font's family name";
    if (!TextMeasure::isAvailable()) {
        help += " (not in this build: it was built without FreeType and HarfBuzz)";
    }
    return help;
}

// The placer's own default order, as the help states it.
std::string defaultCandidateNames() {
    std::vector<const char*> names;
    names.reserve(Varnek::LabelPlacementOptions::defaultCandidates.size());
    for (const ReferencePoint point : Varnek::LabelPlacementOptions::defaultCandidates) {
        names.push_back(toName(point));
    }
    return joinNames(names, ", ", ", ");
}

CLI::App* addPlaceCommand(CLI::App& app, PlaceArguments& arguments) {
    CLI::App* place = app.add_subcommand(
        "place",
        "Place many labels in one view so that none overlaps another, leaves the view or covers "
        "an anchor; write where each went as JSON, or a picture as SVG.");
    place
        ->add_option("--input", arguments.input,
                     "CSV file, one label a line: x,y,width,height[,priority[,key[,text]]] "
                     "(RFC 4180 quotes); - is standard input")
        ->required()
        ->type_name("FILE");
    place->add_flag("--header", arguments.header,
                    "the first line names the columns (found without it when none of its x, y, "
                    "width and height is a number and the next line is a label)");
    place->add_option("--viewport", arguments.viewport, "the view (0,0)-(W,H)")
        ->required()
        ->type_name("W,H");
    place
        ->add_option("--background", arguments.background,
                     joinNames(VarnekCatalogue::backgroundShapeNames(), ", ", " or "))
        ->capture_default_str()
        ->type_name("NAME");
    place
        ->add_option("--indicator", arguments.indicator,
                     "none, acute, right, layered-lower, layered-middle or layered-upper "
                     "(default: acute; none for the balloon)")
        ->type_name("NAME");
    place->add_flag("--no-bar", arguments.noBar, "layered indicator without its bar");
    place
        ->add_option("--fixed", arguments.fixedWidth,
                     "fixed indicator width as a fraction of the screen height (default 0.015)")
        ->type_name("NUMBER");
    place
        ->add_option("--scale", arguments.scale,
                     "masked-coordinate length of one screen height (default: the viewport's "
                     "height, so that label sizes are in view units)")
        ->type_name("NUMBER");
    place
        ->add_option(
            "--candidates", arguments.candidates,
            "reference points in order of preference (default: " + defaultCandidateNames() + ")")
        ->type_name("NAME,NAME,...");
    place
        ->add_option("--effort", arguments.effort,
                     "0: greedy only; each step about doubles the work (0 to " +
                         std::to_string(Varnek::LabelPlacementOptions::maxEffort) + ")")
        ->capture_default_str()
        ->type_name("N");
    place->add_option("--gap", arguments.gap, "least distance between two labels")
        ->capture_default_str()
        ->type_name("G");
    place
        ->add_option("--callouts", arguments.callouts,
                     "D: a label with no room beside its anchor may stand up to D away from it "
                     "(view units), joined to it by a leader; 0: none")
        ->capture_default_str()
        ->type_name("D");
    place
        ->add_option("--fade-frames", arguments.fadeFrames,
                     "N: labels fade in over N calls, and this one call is a view's first: each "
                     "label is drawn at opacity 1/N, which JSON gives as \"opacity\"; 0: none")
        ->capture_default_str()
        ->type_name("N");
    place
        ->add_option("--anchors-are-obstacles", arguments.anchorsAreObstacles,
                     "yes: no label covers another label's anchor; no")
        ->capture_default_str()
        ->type_name("yes|no");
    place
        ->add_option("--keep-out", arguments.keepOut,
                     "a view rectangle no label covers (repeatable)")
        ->type_name("L,T,R,B");
    place->add_option("--format", arguments.format, "json or svg")
        ->capture_default_str()
        ->type_name("FORMAT");
    place->add_option("-o,--output", arguments.output, "file to write; - is standard output")
        ->capture_default_str()
        ->type_name("FILE");
    place
        ->add_option("--font", arguments.font,
                     fontHelp("an empty width or height is the text's measured size (font size " +
                              formatFloat(s_measuredFontSize) +
                              ", or 0.8 of a given height; an eighth of it either side), and a "
                              "text wider than its label is a warning"))
        ->type_name("FILE");
    return place;
}

int run(int argc, char** argv, const ToolStreams& streams) {
    CLI::App app{
        "Draws and measures the label outlines of the Varnek library, places the labels of a "
        "view and lists the draw-style vocabulary.",
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
        ->capture_default_str()
        ->type_name("FILE");
    std::string galleryFont;
    gallery
        ->add_option("--font", galleryFont,
                     fontHelp("each label is as large as its reference point's name at font "
                              "size " +
                              formatFloat(s_measuredFontSize)))
        ->type_name("FILE");

    OutlineOptions outlineOptions;
    CLI::App* outline = app.add_subcommand(
        "outline", "Print the body size, complete size, offset and polygon of one label.");
    outline
        ->add_option("--background", outlineOptions.background,
                     joinNames(VarnekCatalogue::backgroundShapeNames(), ", ", " or "))
        ->required()
        ->type_name("NAME");
    outline
        ->add_option("--indicator", outlineOptions.indicator,
                     joinNames(VarnekCatalogue::indicatorKindNames(), ", ", " or "))
        ->required()
        ->type_name("NAME");
    CLI::Option* noBar =
        outline->add_flag("--no-bar", outlineOptions.noBar, "layered indicator without its bar");
    outline
        ->add_option("--fixed", outlineOptions.fixedWidth,
                     "fixed indicator width as a fraction of the screen height (default: as "
                     "wide as the label along its edge)")
        ->type_name("NUMBER");
    outline
        ->add_option("--reference-point", outlineOptions.referencePoint,
                     "where the body lies from its anchor: " +
                         joinNames(VarnekCatalogue::referencePointNames(), ", ", " or "))
        ->required()
        ->type_name("NAME");
    outline->add_option("--size", outlineOptions.size, "label size in masked coordinates")
        ->required()
        ->type_name("W,H");
    outline
        ->add_option("--scale", outlineOptions.scale,
                     "masked-coordinate length of one screen height")
        ->capture_default_str()
        ->type_name("NUMBER");
    outline->add_option("--format", outlineOptions.format, "text, json or svg")
        ->capture_default_str()
        ->type_name("FORMAT");

    PlaceArguments placeArguments;
    CLI::App* place = addPlaceCommand(app, placeArguments);

    std::string stylesFormat = "text";
    CLI::App* styles = app.add_subcommand(
        "styles", "Print every draw-style value with its display name and option text.");
    styles->add_option("--format", stylesFormat, "text or json")
        ->capture_default_str()
        ->type_name("FORMAT");

    std::string helpTopic;
    CLI::App* help = app.add_subcommand("help", "Print the help of the tool or of one subcommand.");
    help->add_option("subcommand", helpTopic, "gallery, outline, place or styles")
        ->type_name("NAME");

    // --version answers after a subcommand too, before its required options
    // are missed.
    for (CLI::App* command : app.get_subcommands({})) {
        command->set_version_flag("--version", app.version(), "Print the tool's version and exit");
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        const auto chosen = app.get_subcommands();
        writeOutput("-", helpText(app, chosen.empty() ? nullptr : chosen.front()), streams.out);
        return finishStandardOutput(0, streams);
    } catch (const CLI::CallForAllHelp& call) {
        return finishStandardOutput(app.exit(call, streams.out, streams.err), streams);
    } catch (const CLI::CallForVersion& call) {
        return finishStandardOutput(app.exit(call, streams.out, streams.err), streams);
    } catch (const CLI::ParseError& error) {
        streams.err << "varnek-labels: " << printable(parseErrorLine(app, error, argc, argv))
                    << "\n";
        return s_exitUsage;
    }

    try {
        if (help->parsed()) {
            runHelp(app, helpTopic, streams.out);
        } else if (gallery->parsed()) {
            runGallery(galleryOutput, galleryFont, streams.out);
        } else if (outline->parsed()) {
            runOutline(outlineOptions, noBar->count() > 0, streams.out);
        } else if (place->parsed()) {
            placeArguments.noBarGiven = place->get_option("--no-bar")->count() > 0;
            placeArguments.candidatesGiven = place->get_option("--candidates")->count() > 0;
            runPlace(placeArguments, streams);
        } else if (styles->parsed()) {
            runStyles(stylesFormat, streams.out);
        }
    } catch (const UsageError& error) {
        streams.err << "varnek-labels: " << error.what() << "\n";
        return s_exitUsage;
    } catch (const InputError& error) {
        streams.err << "varnek-labels: " << error.what() << "\n";
        return s_exitInput;
    }
    return finishStandardOutput(0, streams);
}

}  // namespace

int runTool(int argc, char** argv, const ToolStreams& streams) {
    try {
        return run(argc, argv, streams);
    } catch (const std::bad_alloc&) {
        streams.err << "varnek-labels: out of memory\n";
        return s_exitInput;
    } catch (const std::exception& error) {
        streams.err << "varnek-labels: " << printable(error.what()) << "\n";
    } catch (...) {
        streams.err << "varnek-labels: unexpected failure\n";
    }
    return s_exitFailure;
}

}  // namespace VarnekLabels

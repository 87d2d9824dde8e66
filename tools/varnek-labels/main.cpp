// varnek-labels: draws the library's label outlines on one sheet, prints the
// outline of one label, and lists the draw-style vocabulary.
//
// Exit status: 0 done, 2 the command line was not accepted (one line on
// stderr names the argument and what is accepted), 1 the output could not
// be written. Nothing is written unless the whole command line is accepted.
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "LabelCatalogue.h"
#include "NumberText.h"
#include "Outline.h"
#include "OutputFile.h"
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

std::string checkedFormat(const std::string& format, std::initializer_list<const char*> accepted) {
    std::string list;
    for (const char* name : accepted) {
        if (format == name) {
            return format;
        }
        list += list.empty() ? "" : ", ";
        list += name;
    }
    throw rejectedValue("--format", format, list);
}

void runGallery(const std::string& output) {
    const GallerySheet sheet = buildGallery();
    writeFileWhole(output, sheet.svg);
    std::error_code error;
    const auto where = std::filesystem::absolute(output, error);
    std::cout << "wrote " << (error ? output : where.string()) << ": " << sheet.labelCount
              << " labels (" << sheet.kindCount << " label kinds x " << allReferencePoints().size()
              << " reference points)\n";
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
    if (format == "json") {
        std::cout << outlineAsJson(request, outline);
    } else if (format == "svg") {
        std::cout << outlineAsSvg(request, outline);
    } else {
        std::cout << outlineAsText(request, outline);
    }
}

void runStyles(const std::string& format) {
    const bool json = checkedFormat(format, {"text", "json"}) == "json";
    const auto sections = buildStylesTable();
    std::cout << (json ? stylesAsJson(sections) : stylesAsText(sections));
}

// CLI11's message, on one line, with what the user can type instead.
std::string parseErrorLine(const CLI::App& app, const CLI::ParseError& error, int argc,
                           char** argv) {
    std::string message = error.what();
    for (char& c : message) {
        c = c == '\n' ? ' ' : c;
    }
    const auto chosen = app.get_subcommands();
    if (chosen.empty()) {
        const std::string first = argc > 1 ? argv[1] : "";
        if (!first.empty() && first[0] != '-') {
            return "'" + first + "' is not a subcommand; accepted: gallery, outline, styles";
        }
        return message + "; accepted subcommands: gallery, outline, styles";
    }
    std::string options;
    for (const CLI::Option* option : chosen.front()->get_options()) {
        options += options.empty() ? "" : ", ";
        options += option->get_name();
    }
    return message + "; accepted by " + chosen.front()->get_name() + ": " + options;
}

int run(int argc, char** argv) {
    CLI::App app{
        "Draws and measures the label outlines of the Varnek library and lists its "
        "draw-style vocabulary.",
        "varnek-labels"};
    app.require_subcommand(1);

    std::string galleryOutput = "labels.svg";
    CLI::App* gallery = app.add_subcommand(
        "gallery",
        "Write one SVG sheet with every background shape and indicator at every reference "
        "point (the balloon once: it has no indicator).");
    gallery->add_option("-o,--output", galleryOutput, "SVG file to write")->capture_default_str();

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

    std::string stylesFormat = "text";
    CLI::App* styles = app.add_subcommand(
        "styles", "Print every draw-style value with its display name and option text.");
    styles->add_option("--format", stylesFormat, "text or json")->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::cerr << "varnek-labels: " << parseErrorLine(app, error, argc, argv) << "\n";
        return s_exitUsage;
    }

    try {
        if (gallery->parsed()) {
            runGallery(galleryOutput);
        } else if (outline->parsed()) {
            runOutline(outlineOptions, noBar->count() > 0);
        } else if (styles->parsed()) {
            runStyles(stylesFormat);
        }
    } catch (const UsageError& error) {
        std::cerr << "varnek-labels: " << error.what() << "\n";
        return s_exitUsage;
    }
    std::cout.flush();
    return std::cout ? 0 : s_exitFailure;
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

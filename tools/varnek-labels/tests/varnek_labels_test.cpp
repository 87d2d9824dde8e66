// Runs varnek-labels as a process: rejected command lines, the outline of
// the flat-cornered example against its golden JSON, and the gallery count.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <varnek/label_placement/LabelPlacementOptions.h>
#include <nlohmann/json.hpp>

#include "LabelRecipe.h"
#include "NumberText.h"
#include "ToolProcess.h"

namespace {

using namespace VarnekLabels;
using namespace VarnekLabelsTesting;

TEST(varnek_labels, rejects_a_bad_command_line_in_one_line_with_status_2) {
    const std::string outline = "outline --indicator none --reference-point TopLeft ";
    struct Case {
        std::string arguments;
        std::vector<std::string> fragments;
    };
    const std::vector<Case> cases{
        {"", {"subcommand", "gallery, outline, place, styles"}},
        {"galery", {"galery", "gallery, outline, place, styles"}},
        {"gallery --colour red", {"'--colour' is not an option of gallery", "--output"}},
        {"gallery -o a -o b", {"--output is given 2 times"}},
        {"gallery extra", {"'extra' is not expected"}},
        {"--colour", {"'--colour' is not accepted before a subcommand", "--version"}},
        {"help nope", {"help: 'nope'", "place"}},
        {outline + "--background square --size 40,20",
         {"--background: 'square'", "round, flat, plain, balloon"}},
        {"outline --background round --indicator arrow --reference-point TopLeft --size 40,20",
         {"--indicator: 'arrow'", "layered-middle"}},
        {"outline --background round --indicator none --reference-point TopMiddle --size 40,20",
         {"--reference-point: 'TopMiddle'", "BottomCenter", "Center"}},
        {outline + "--background round", {"--size is missing"}},
        {"outline --background round", {"--indicator, --reference-point and --size are missing"}},
        {outline + "--background round --size", {"--size needs a value"}},
        {outline + "--background round --size 40x20", {"--size: '40x20'", "WIDTH,HEIGHT"}},
        {outline + "--background round --size 40,", {"--size: '40,'"}},
        {outline + "--background round --size -1,20", {"--size: '-1,20'"}},
        {outline + "--background round --size 40,20 --scale=-2", {"--scale: '-2'", "> 0"}},
        {outline + "--background round --size 40,20 --scale 0", {"--scale: '0'"}},
        {outline + "--background round --size 40,20 --scale 1e39", {"--scale: '1e39'"}},
        {outline + "--background round --size 40,20 --format xml",
         {"--format: 'xml'", "text, json, svg"}},
        {"outline --background balloon --indicator acute --reference-point TopLeft --size 40,20",
         {"--indicator: 'acute'", "none"}},
        {"outline --background flat --indicator right --no-bar --reference-point TopLeft "
         "--size 40,20",
         {"--no-bar", "layered-lower"}},
        {outline + "--background flat --size 40,20 --fixed 0.01", {"--fixed", "acute"}},
        {"outline --background flat --indicator acute --fixed -0.01 --reference-point TopLeft "
         "--size 40,20",
         {"--fixed: '-0.01'"}},
        {"styles --format svg", {"--format: 'svg'", "text, json"}},
        {"place --input in.csv --viewport 100,100 --candidates ''", {"--candidates: ''"}},
        {"place --input in.csv --viewport 100,100 --callouts -1",
         {"--callouts: '-1'", "a finite number >= 0"}},
        {"place --input in.csv --viewport 100,100 --callouts nan", {"--callouts: 'nan'"}},
        {"place --input in.csv --viewport 100,100 --effort " +
             std::to_string(Varnek::LabelPlacementOptions::maxEffort + 1),
         {"--effort", "0 to " + std::to_string(Varnek::LabelPlacementOptions::maxEffort)}},
        {"outline --background flat --indicator acute --fixed 2 --scale 3.4e38 "
         "--reference-point TopLeft --size 40,20 --format json",
         {"--size 40,20, --scale 3.4e38, --fixed 2", "overflow"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ScratchDirectory scratch;
        const ToolRun run = runTool(scratch, c.arguments);
        expectRefused(run, 2, c.fragments);
        EXPECT_TRUE(fs::is_empty(scratch.work()));
        // The parser's own phrasing ("1 required TEXT missing") never shows.
        EXPECT_EQ(run.err.find("required"), std::string::npos) << run.err;
    }
}

// One rule for every choice: names match without regard to case, and the
// output spells them canonically.
TEST(varnek_labels, matches_choices_in_any_case) {
    const ScratchDirectory scratch;
    const std::string label = " --reference-point TopLeft --size 40,20 --format ";
    const ToolRun canonical =
        runTool(scratch, "outline --background round --indicator acute" + label + "json");
    const ToolRun anyCase =
        runTool(scratch, "outline --background ROUND --indicator Acute" + label + "JSON");
    ASSERT_EQ(canonical.status, 0) << canonical.err;
    ASSERT_EQ(anyCase.status, 0) << anyCase.err;
    EXPECT_EQ(anyCase.out, canonical.out);
    writeFile(scratch.work() / "in.csv", "50,50,20,8\n");
    const ToolRun place = runTool(scratch,
                                  "place --input in.csv --viewport 100,100 --background Flat "
                                  "--indicator RIGHT --candidates bottomleft,TOPRIGHT "
                                  "--anchors-are-obstacles No --format Json");
    EXPECT_EQ(place.status, 0) << place.err;
    EXPECT_NE(place.out.find("\"referencePoint\":\"BottomLeft\""), std::string::npos) << place.out;
}

// Help and version answer on standard output, and each way of asking gives
// the same answer: help and --help, help place and place --help, --version
// before or after a subcommand (whose required options are then not
// missed). The place help lists the placer's own default order.
TEST(varnek_labels, help_and_version_agree_wherever_asked) {
    const ScratchDirectory scratch;
    struct Group {
        const char* fragment;  // in the answer of every way of asking
        std::vector<const char*> ways;
    };
    const std::vector<Group> groups{
        {"place", {"--help", "help"}},
        {"--anchors-are-obstacles",
         {"place --help", "help place", "help PLACE", "place --input x --help"}},
        {"varnek-labels 1.",
         {"--version", "outline --version", "place --input in.csv --version", "help --version"}},
    };
    for (const Group& group : groups) {
        const ToolRun first = runTool(scratch, group.ways.front());
        ASSERT_EQ(first.status, 0) << first.err;
        EXPECT_NE(first.out.find(group.fragment), std::string::npos) << first.out;
        for (const char* arguments : group.ways) {
            SCOPED_TRACE(arguments);
            const ToolRun run = runTool(scratch, arguments);
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.out, first.out);
        }
    }
    std::string order;
    for (const auto point : Varnek::LabelPlacementOptions::defaultCandidates) {
        order += order.empty() ? "" : ", ";
        order += toName(point);
    }
    EXPECT_NE(runTool(scratch, "help place").out.find("(default: " + order + ")"),
              std::string::npos);
}

// The flat-cornered label with a right-angled indicator of fixed width
// 0.008 at scale 250: width 2 and height 1 for the indicator. The library's
// own tests pin the same label's numbers; this pins how the tool writes them.
TEST(varnek_labels, outline_json_of_the_flat_example_matches_the_golden_file) {
    const ScratchDirectory scratch;
    const ToolRun run = runTool(scratch,
                                "outline --background flat --indicator right --fixed 0.008 "
                                "--scale 250 --reference-point TopLeft --size 40,20 --format json");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, readFile(fs::path(VARNEK_LABELS_TEST_DATA) / "flat_top_left.json"));
}

// 3 rectangular shapes x 9 indicators (none, acute, right, three layers with
// and without bar) + the balloon = 28 kinds, each at 13 reference points.
TEST(varnek_labels, gallery_draws_every_kind_at_every_reference_point) {
    const ScratchDirectory scratch;
    const ToolRun run = runTool(scratch, "gallery");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("364 labels (28 label kinds x 13 reference points)"), std::string::npos)
        << run.out;
    EXPECT_EQ(countOf(readFile(scratch.work() / "labels.svg"), "<g class=\"label\""), 364u);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.work()), fs::directory_iterator()), 1);
}

// Every value of every type, numbered from 0 in each, with texts or nulls.
TEST(varnek_labels, styles_json_lists_each_type_by_value) {
    const ScratchDirectory scratch;
    const ToolRun run = runTool(scratch, "styles --format json");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json.size(), 18u);
    for (const auto& section : json) {
        SCOPED_TRACE(section.at("type").get<std::string>());
        const auto& values = section.at("values");
        ASSERT_FALSE(values.empty());
        for (std::size_t i = 0; i < values.size(); ++i) {
            EXPECT_EQ(values[i].at("value"), i);
            for (const auto& [key, text] : values[i].items()) {
                EXPECT_TRUE(key == "value" || text.is_string() || text.is_null()) << key;
            }
        }
    }
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Every float the tool prints, as text or through JSON, reads back to the
// same bits.
TEST(number_text, floats_read_back_bit_exactly) {
    const float cases[] = {0.0f,
                           -0.0f,
                           1.0f,
                           0.1f,
                           1.0f / 3.0f,
                           0.00554327713f,
                           -37.0f,
                           16777216.0f,
                           std::numeric_limits<float>::denorm_min(),
                           std::numeric_limits<float>::min(),
                           std::numeric_limits<float>::max(),
                           std::nextafter(1.0f, 2.0f)};
    for (const float value : cases) {
        SCOPED_TRACE(value);
        const std::string text = formatFloat(value);
        const float fromText = std::strtof(text.c_str(), nullptr);
        const float fromJson =
            nlohmann::json::parse(nlohmann::json(toShortDouble(value)).dump()).get<float>();
        EXPECT_EQ(bitsOf(fromText), bitsOf(value)) << text;
        EXPECT_EQ(bitsOf(fromJson), bitsOf(value)) << text;
    }
    EXPECT_EQ(formatFloat(0.008f), "0.008");
    EXPECT_EQ(parseFiniteFloat("0.008"), 0.008f);
    EXPECT_FALSE(parseFiniteFloat(" 1"));
    EXPECT_FALSE(parseFiniteFloat("1 "));
    EXPECT_FALSE(parseFiniteFloat("-inf"));
}

}  // namespace

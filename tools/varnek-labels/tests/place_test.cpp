// The place subcommand as a user runs it: a tiny view against its golden
// JSON, a malformed line, an SVG picture rsvg-convert accepts, label texts
// of any bytes in it, and callouts with their leaders.
#include <cstddef>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <varnek/label_placement/LabelPlacer.h>
#include <varnek/label_placement/LabelRequest.h>
#include <nlohmann/json.hpp>

#include "PlaceCommand.h"
#include "ToolProcess.h"

namespace {

using namespace VarnekLabelsTesting;

const fs::path s_testData(VARNEK_LABELS_TEST_DATA);

// Defaults throughout: round corners, acute pointer 0.015, scale = view
// height, the default candidates, effort 1. The golden file pins input
// order, default keys, hidden entries and the float digits.
TEST(varnek_labels_place, tiny_view_matches_the_golden_json) {
    const ScratchDirectory scratch;
    const ToolRun run =
        runTool(scratch, "place --input '" + (s_testData / "place_tiny.csv").string() +
                             "' --viewport 200,100");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, readFile(s_testData / "place_tiny.json"));
    EXPECT_EQ(countOf(run.err, ": warning: the text"), 3u) << run.err;  // texts wider than 20
}

// The line is counted in the file, comments and empty lines included; the
// fields' own errors are placement_input's.
TEST(varnek_labels_place, a_malformed_line_names_its_number_and_writes_nothing) {
    const ScratchDirectory scratch;
    writeFile(scratch.work() / "in.csv", "# x,y,w,h\n1,2,3,4\n\n1,2,3\n");
    const ToolRun run = runTool(scratch, "place --input in.csv --viewport 100,100 -o placed.json");
    expectRefused(run, 2, {"in.csv:4: 3 fields, at least 4 needed"});
    EXPECT_FALSE(fs::exists(scratch.work() / "placed.json"));
}

// A sanitizer's shadow memory needs more address space than the memory
// limit below leaves.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VARNEK_LABELS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VARNEK_LABELS_SANITIZED 1
#endif
#endif

// An input that cannot be read whole is an error of its own, status 3,
// with nothing written: whether it cannot be opened, a read fails, or
// memory runs out part-way through a long line, from a file or from
// standard input.
TEST(varnek_labels_place, an_input_not_read_whole_is_status_3_and_writes_nothing) {
    struct Case {
        const char* name;
        std::string prefix;  // shell text before the tool
        std::string input;
        const char* message;
    };
    // 64 MB in one line, against 40 MB of address space.
    const std::string longLine = "head -c 64000000 /dev/zero | tr '\\0' 1";
    const std::string memoryLimit = "ulimit -v 40000; ";
    std::vector<Case> cases{
        {"missing", "", "missing.csv", "cannot read 'missing.csv': No such file"},
        {"folder", "", ".", "cannot read '.': it is a folder"},
        {"read error", "", "/proc/self/mem", "cannot read '/proc/self/mem': Input/output"},
        {"read error, standard input", "", "- <.", "cannot read '-': Is a directory"},
    };
#ifndef VARNEK_LABELS_SANITIZED
    cases.push_back({"out of memory, standard input", memoryLimit + longLine + " | ", "-",
                     "cannot read '-': out of memory"});
    cases.push_back({"out of memory, a file",
                     "mkfifo fifo && (" + longLine + " >fifo &) && " + memoryLimit, "fifo",
                     "cannot read 'fifo': out of memory"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchDirectory scratch;
        const ToolRun run = runTool(
            scratch, "place --viewport 100,100 -o placed.json --input " + c.input, "", c.prefix);
        expectRefused(run, 3, {c.message});
        EXPECT_FALSE(fs::exists(scratch.work() / "placed.json"));
    }
}

// Every label goes to the placer: one it cannot place is hidden, and its
// anchor still keeps the others off (unless anchors are no obstacles).
TEST(varnek_labels_place, a_label_out_of_contract_is_hidden_and_its_anchor_is_an_obstacle) {
    const ScratchDirectory scratch;
    writeFile(scratch.work() / "in.csv", "50,50,20,8\n60,45,nan,8\n");
    const std::pair<const char*, const char*> cases[] = {{"yes", "TopLeft"}, {"no", "TopRight"}};
    for (const auto& [obstacles, referencePoint] : cases) {
        SCOPED_TRACE(obstacles);
        const ToolRun run = runTool(scratch, std::string("place --input in.csv --viewport 100,100 "
                                                         "--anchors-are-obstacles ") +
                                                 obstacles);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto labels = nlohmann::json::parse(run.out).at("labels");
        EXPECT_EQ(labels[0].at("referencePoint"), referencePoint);
        EXPECT_EQ(labels[1], nlohmann::json::parse(
                                 R"({"key":1,"visible":false,"hiddenReason":"OutOfContract"})"));
    }
}

// Kept-out rectangles, each given by its own --keep-out, stay free; a
// label with no room left says so.
TEST(varnek_labels_place, kept_out_rectangles_stay_free) {
    const ScratchDirectory scratch;
    writeFile(scratch.work() / "in.csv", "100,50,20,6\n");
    const std::string place = "place --input in.csv --viewport 200,100 ";
    const ToolRun squeezed =
        runTool(scratch, place + "--keep-out 0,0,200,40 --keep-out 0,60,200,100");
    ASSERT_EQ(squeezed.status, 0) << squeezed.err;
    const auto label = nlohmann::json::parse(squeezed.out).at("labels")[0];
    ASSERT_EQ(label.at("visible"), true);
    const auto& bounds = label.at("bounds");
    EXPECT_GE(bounds[1].get<double>(), 40.0);
    EXPECT_LE(bounds[3].get<double>(), 60.0);
    const ToolRun covered = runTool(scratch, place + "--keep-out 0,0,200,100");
    ASSERT_EQ(covered.status, 0) << covered.err;
    EXPECT_EQ(nlohmann::json::parse(covered.out).at("labels")[0],
              nlohmann::json::parse(R"({"key":0,"visible":false,"hiddenReason":"NoRoom"})"));
    for (const char* bad : {"1,2,3", "5,0,1,1", "0,0,nan,4", "0,0,1,1,"}) {
        SCOPED_TRACE(bad);
        expectRefused(runTool(scratch, place + "--keep-out " + bad), 2, {"--keep-out"});
    }
}

// An input without labels is an empty view, and a word on standard error.
TEST(varnek_labels_place, an_input_without_labels_places_nothing_and_says_so) {
    for (const char* content : {"", "# x,y,w,h\n\n"}) {
        SCOPED_TRACE(content);
        const ScratchDirectory scratch;
        writeFile(scratch.work() / "in.csv", content);
        const ToolRun run = runTool(scratch, "place --input in.csv --viewport 100,100");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out,
                  "{\"viewport\":[100.0,100.0],\"visible\":0,\"hidden\":0,\"labels\":[]}\n");
        EXPECT_EQ(run.err, "varnek-labels: the input holds no labels; nothing placed\n");
    }
}

// The README's picture: every visible label an outline, every anchor a
// mark, and a document the renderer takes without a word. The README's
// command runs without a warning: every text fits its label.
TEST(varnek_labels_place, the_demo_view_renders_as_svg) {
    const ScratchDirectory scratch;
    const std::string common = "place --input '" +
                               (s_testData / "../examples/bridge.csv").string() +
                               "' --viewport 1200,700";
    const ToolRun json = runTool(scratch, common);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.err, "");
    const auto placed = nlohmann::json::parse(json.out);
    const std::size_t visible = placed.at("visible");
    const std::size_t hidden = placed.at("hidden");
    ASSERT_GT(visible, 200u);

    const ToolRun svg = runTool(scratch, common + " --format svg -o bridge.svg");
    ASSERT_EQ(svg.status, 0) << svg.err;
    const std::string picture = readFile(scratch.work() / "bridge.svg");
    EXPECT_EQ(countOf(picture, "<polygon"), visible);
    EXPECT_EQ(countOf(picture, "<circle"), visible + hidden);
#ifdef VARNEK_RSVG_CONVERT
    const std::string render = std::string("'") + VARNEK_RSVG_CONVERT + "' '" +
                               (scratch.work() / "bridge.svg").string() + "' -o '" +
                               (scratch.work() / "bridge.png").string() + "' 2>'" +
                               (scratch.path() / "render-err").string() + "'";
    EXPECT_EQ(std::system(render.c_str()), 0);
    EXPECT_EQ(readFile(scratch.path() / "render-err"), "");
    EXPECT_EQ(readFile(scratch.work() / "bridge.png").substr(0, 4), "\x89PNG");
#endif
}

// With --callouts a label with no room beside its anchor may stand away
// from it: its entry says "callout": true and gives its leader, the
// placer's own, anchor end first; no other entry gains a field. The SVG
// draws each leader as a line, under every label. The demo view shows more
// labels so. With --fade-frames every drawn label gains its opacity.
TEST(varnek_labels_place, callouts_carry_the_placers_leaders_anchor_end_first) {
    const ScratchDirectory scratch;
    VarnekLabels::PlaceArguments arguments;
    arguments.input = (s_testData / "../examples/bridge.csv").string();
    arguments.viewport = "1200,700";
    arguments.callouts = "60";
    const std::string common = "place --input '" + arguments.input + "' --viewport 1200,700";
    const ToolRun adjacent = runTool(scratch, common);
    const ToolRun json = runTool(scratch, common + " --callouts 60");
    ASSERT_EQ(json.status, 0) << json.err;
    const auto placed = nlohmann::json::parse(json.out);
    EXPECT_GT(placed.at("visible"), nlohmann::json::parse(adjacent.out).at("visible"));

    // The same labels placed here, for the placer's leaders.
    std::istringstream noStandardInput;
    const VarnekLabels::PlacementRequest request =
        VarnekLabels::parsePlaceArguments(arguments, noStandardInput);
    std::vector<Varnek::LabelRequest> requests;
    for (const VarnekLabels::InputLabel& label : request.labels) {
        requests.push_back({label.key, label.anchor, label.size, label.priority, nullptr});
    }
    Varnek::LabelPlacementOptions options = request.options;
    options.viewport = {0.0f, 0.0f, 1200.0f, 700.0f};
    Varnek::LabelPlacer placer(VarnekLabels::makeBackground(request.recipe, request.scale),
                               options);
    placer.place(requests);
    std::vector<Varnek::Vector<float, 3>> leaders;
    placer.appendLeaders(leaders);
    ASSERT_FALSE(leaders.empty());

    std::size_t leader = 0;
    const auto& labels = placed.at("labels");
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const auto& entry = labels[i];
        SCOPED_TRACE(entry.dump());
        ASSERT_EQ(entry.contains("leader"), entry.contains("callout"));
        if (!entry.contains("callout")) {
            continue;
        }
        EXPECT_EQ(entry.at("callout"), true);
        const auto& ends = entry.at("leader");
        ASSERT_EQ(ends.size(), 2u);
        ASSERT_LT(leader + 1, leaders.size());
        EXPECT_EQ(ends[0][0].get<float>(), request.labels[i].anchor[0]);
        EXPECT_EQ(ends[0][1].get<float>(), request.labels[i].anchor[1]);
        for (const auto& end : ends) {
            EXPECT_EQ(end[0].get<float>(), leaders[leader][0]);
            EXPECT_EQ(end[1].get<float>(), leaders[leader][1]);
            ++leader;
        }
    }
    EXPECT_EQ(leader, leaders.size());

    const ToolRun svg = runTool(scratch, common + " --callouts 60 --format svg -o bridge.svg");
    ASSERT_EQ(svg.status, 0) << svg.err;
    const std::string picture = readFile(scratch.work() / "bridge.svg");
    EXPECT_EQ(countOf(picture, "<line"), leaders.size() / 2);
    EXPECT_LT(picture.rfind("<line"), picture.find("<polygon"));

    // With fades the one call is a view's first: every label drawn, its
    // leader too, at 1/N, which JSON gives only then.
    EXPECT_EQ(json.out.find("opacity"), std::string::npos);
    const ToolRun fading = runTool(scratch, common + " --callouts 60 --fade-frames 4");
    ASSERT_EQ(fading.status, 0) << fading.err;
    const auto faded = nlohmann::json::parse(fading.out);
    ASSERT_EQ(faded.at("labels").size(), labels.size());
    for (const auto& entry : faded.at("labels")) {
        EXPECT_EQ(entry.contains("opacity"), entry.at("visible").get<bool>()) << entry.dump();
        EXPECT_EQ(entry.value("opacity", 0.25), 0.25) << entry.dump();
    }
    const ToolRun fadedSvg =
        runTool(scratch, common + " --callouts 60 --fade-frames 4 --format svg -o faded.svg");
    ASSERT_EQ(fadedSvg.status, 0) << fadedSvg.err;
    EXPECT_EQ(countOf(readFile(scratch.work() / "faded.svg"), "opacity:0.25"),
              2 * static_cast<std::size_t>(placed.at("visible")) + leaders.size() / 2);
}

// A label's text is the user's bytes: markup is escaped, and what XML cannot
// hold (a control character, a byte outside well-formed UTF-8) becomes one
// U+FFFD per byte, so the picture stays a well-formed document.
TEST(varnek_labels_place, label_texts_become_well_formed_svg_text) {
    const ScratchDirectory scratch;
    writeFile(scratch.work() / "in.csv", "50,50,20,10,0,0,a<b&\x01\xff\xc3\xa9\xed\xa0\x80\n");
    const ToolRun run =
        runTool(scratch, "place --input in.csv --viewport 100,100 --format svg -o out.svg");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string replacement = "\xef\xbf\xbd";
    EXPECT_NE(readFile(scratch.work() / "out.svg")
                  .find(">a&lt;b&amp;" + replacement + replacement + "\xc3\xa9" + replacement +
                        replacement + replacement + "</text>"),
              std::string::npos);
}

}  // namespace

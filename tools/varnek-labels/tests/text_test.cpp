// Label texts: widths measured in a real font, a font that cannot be read,
// texts drawn in the font, and texts too long for the size the input gives.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "LabelText.h"
#include "NumberText.h"
#include "TextMeasure.h"
#include "ToolProcess.h"
#include "UsageError.h"

namespace {

using namespace VarnekLabels;
using namespace VarnekLabelsTesting;

const std::string s_dejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Skips the calling test when the font or font support is missing.
#define SKIP_WITHOUT_DEJAVU_SANS()                                                       \
    if (!TextMeasure::isAvailable()) {                                                   \
        GTEST_SKIP() << "built without FreeType and HarfBuzz";                           \
    }                                                                                    \
    if (!fs::exists(s_dejaVuSans)) {                                                     \
        GTEST_SKIP() << s_dejaVuSans << " is absent (Debian package fonts-dejavu-core)"; \
    }

// Widths from the font's own advances and kerning, at sizes that scale them
// exactly: a change of shaping, hinting or units shows.
TEST(varnek_labels_text, measures_shaped_widths_in_dejavu_sans) {
    SKIP_WITHOUT_DEJAVU_SANS();
    const TextMeasure font = TextMeasure::open(s_dejaVuSans, "--font");
    EXPECT_EQ(font.family(), "DejaVu Sans");
    struct Case {
        const char* text;
        float fontSize;
        float width;
    };
    // 2048 units an em; "Varnek labels" advances 13913 units, kerned 13718.
    const std::vector<Case> cases{
        {"Varnek labels", 12.0f, 80.37890625f},
        {"Varnek labels", 24.0f, 160.7578125f},
        {"AVA", 2048.0f, 3941.0f},  // A + V + A = 4203, less two kerned pairs
        {"", 12.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(font.advance(c.text, c.fontSize), c.width);
    }
    EXPECT_EQ(font.ascent(), 1901.0f / 2048.0f);
    EXPECT_EQ(font.descent(), 483.0f / 2048.0f);
}

// A font that cannot be used stops the run before anything is written, for
// each subcommand that takes one.
TEST(varnek_labels_text, a_font_that_cannot_be_read_is_status_2_and_writes_nothing) {
    struct Case {
        std::string font;
        std::string message;
    };
    const std::vector<Case> cases{
        {"missing.ttf", "--font: cannot read 'missing.ttf': No such file or directory"},
        {".", "--font: cannot read '.': it is a folder"},
        {"in.csv", "--font: 'in.csv' is not a TrueType or OpenType font"},
        {"/dev/null", "--font: cannot read '/dev/null': it is not a regular file"},
    };
    for (const char* command : {"place --input in.csv --viewport 100,100", "gallery"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command) + " --font " + c.font);
            const ScratchDirectory scratch;
            writeFile(scratch.work() / "in.csv", "50,50,,,0,,text\n");
            const ToolRun run =
                runTool(scratch, std::string(command) + " -o out.svg --font " + c.font);
            expectRefused(
                run, 2,
                {TextMeasure::isAvailable() ? c.message : "built without FreeType and HarfBuzz"});
            EXPECT_FALSE(fs::exists(scratch.work() / "out.svg"));
        }
    }
}

// Without a font a text is taken as 0.6 font sizes a character at 0.8 of the
// label's height; one too wide for its label is named on standard error,
// and the output is what it would be without the text. Only a font makes
// an empty size acceptable.
TEST(varnek_labels_text, without_a_font_a_text_too_wide_is_a_warning_naming_its_line) {
    const ScratchDirectory scratch;
    const std::string place = "place --input in.csv --viewport 200,100";
    writeFile(scratch.work() / "in.csv",
              "# x,y,width,height,priority,key,text\n"
              "50,50,40,10,0,,too wide for 40\n"  // 15 characters at 4.8: 72, too wide
              "120,50,40,10,0,,12345678\n"        // 8 at 4.8: 38.4, fits
              "120,80,40,10,0,,1234567890\n");    // 10: 48, too wide
    const ToolRun warned = runTool(scratch, place);
    ASSERT_EQ(warned.status, 0) << warned.err;
    EXPECT_EQ(warned.err,
              "varnek-labels: in.csv:2: warning: the text 'too wide for 40' needs a width of "
              "about 72.0 at font size 8.0; the label is 40 wide\n"
              "varnek-labels: in.csv:4: warning: the text '1234567890' needs a width of about "
              "48.0 at font size 8.0; the label is 40 wide\n");

    writeFile(scratch.work() / "in.csv", "50,50,40,10\n120,50,40,10\n120,80,40,10\n");
    const ToolRun plain = runTool(scratch, place);
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(warned.out, plain.out);

    std::string many;
    for (int line = 0; line < 13; ++line) {
        many += "10,10,1,1,0,,wide\n";
    }
    writeFile(scratch.work() / "in.csv", many);
    const std::string err = runTool(scratch, place).err;
    EXPECT_NE(err.find("in.csv:10: warning"), std::string::npos) << err;
    EXPECT_EQ(err.find("in.csv:11: warning"), std::string::npos) << err;
    EXPECT_NE(err.find("varnek-labels: warning: 3 more labels' texts do not fit their width\n"),
              std::string::npos)
        << err;

    writeFile(scratch.work() / "in.csv", "50,50,,10\n");
    expectRefused(runTool(scratch, place), 2, {"in.csv:1: width '' is not a number"});
}

// With a font, an empty width or height is the measured one: the same
// placement as the measured numbers given; the SVG draws each text in the
// font, its ascent and descent centred on the body; and a width given too
// small for the shaped text is a warning.
TEST(varnek_labels_text, with_a_font_sizes_are_measured_and_texts_drawn_in_it) {
    SKIP_WITHOUT_DEJAVU_SANS();
    const TextMeasure font = TextMeasure::open(s_dejaVuSans, "--font");
    const float height = 20.0f;
    const float fontSize = 0.8f * height;
    const std::string atDefault = formatFloat(80.37890625f + 3.0f);
    const std::string atHeight = formatFloat(font.advance("Varnek labels", fontSize) + 4.0f);
    struct Case {
        std::string measured;
        std::string given;
        bool tooWide;
    };
    const std::vector<Case> cases{
        {"60,40,,,1,7,Varnek labels", "60,40," + atDefault + ",15,1,7,Varnek labels", false},
        {"60,40,,20,1,7,Varnek labels", "60,40," + atHeight + ",20,1,7,Varnek labels", false},
        {"60,40,50,,1,7,Varnek labels", "60,40,50,15,1,7,Varnek labels", true},
    };
    const ScratchDirectory scratch;
    const std::string place = "place --viewport 300,200 --font '" + s_dejaVuSans + "' --input ";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.measured);
        writeFile(scratch.work() / "measured.csv", c.measured + "\n");
        writeFile(scratch.work() / "given.csv", c.given + "\n");
        const ToolRun measured = runTool(scratch, place + "measured.csv");
        ASSERT_EQ(measured.status, 0) << measured.err;
        EXPECT_EQ(measured.out, runTool(scratch, place + "given.csv").out);
        EXPECT_EQ(measured.err.find("measured.csv:1: warning") != std::string::npos, c.tooWide)
            << measured.err;
    }

    writeFile(scratch.work() / "drawn.csv", cases[0].measured + "\n");
    const ToolRun json = runTool(scratch, place + "drawn.csv");
    const auto label = nlohmann::json::parse(json.out).at("labels").at(0);
    const float centreX = 60.0f + label.at("offset").at(0).get<float>();
    const float baseline = 40.0f + label.at("offset").at(1).get<float>() +
                           0.5f * (font.ascent() - font.descent()) * 12.0f;
    const ToolRun drawn = runTool(scratch, place + "drawn.csv --format svg");
    EXPECT_NE(
        drawn.out.find("<text x=\"" + formatFloat(centreX) + "\" y=\"" + formatFloat(baseline) +
                       "\" font-size=\"12\" text-anchor=\"middle\" "
                       "style=\"fill:#1b1f27;font-family:'DejaVu Sans'\">Varnek "
                       "labels</text>"),
        std::string::npos)
        << drawn.out;

    const ToolRun gallery = runTool(scratch, "gallery -o - --font '" + s_dejaVuSans + "'");
    const ToolRun plainGallery = runTool(scratch, "gallery -o -");
    EXPECT_NE(gallery.out.find("font-family:'DejaVu Sans'\">TopLeft</text>"), std::string::npos);
    EXPECT_NE(gallery.out.substr(0, 200), plainGallery.out.substr(0, 200));
}

}  // namespace

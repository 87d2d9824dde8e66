// The place subcommand's input read directly: CSV as spreadsheets write it,
// the first bad field named, and the user's bytes escaped in messages.
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "PlacementInput.h"
#include "PrintableText.h"
#include "UsageError.h"

namespace {

using namespace VarnekLabels;

struct Read {
    std::vector<InputLabel> labels;
    std::string error;
};

Read read(const std::string& content, bool header) {
    std::istringstream in(content);
    try {
        return {readPlacementInput(in, "in.csv", header), ""};
    } catch (const UsageError& error) {
        return {{}, error.what()};
    }
}

TEST(placement_input, reads_spreadsheet_csv) {
    struct Label {
        float x;
        std::uint64_t key;
        std::string text;
    };
    struct Case {
        const char* name;
        std::string content;
        bool header;
        std::vector<Label> labels;
    };
    const std::vector<Case> cases{
        {"a byte-order mark",
         "\xEF\xBB\xBF"
         "1,2,3,4\r\n",
         false,
         {{1.0f, 0, ""}}},
        {"a header found", "x,y,width,height\r\n1,2,3,4\r\n", false, {{1.0f, 0, ""}}},
        {"a header named", "1,2,3,4\n5,6,7,8\n", true, {{5.0f, 0, ""}}},
        {"quoted text with commas",
         "1,2,3,4,,,\"Flange, upper\"\n",
         false,
         {{1.0f, 0, "Flange, upper"}}},
        {"quotes doubled, a line break inside",
         "1,2,3,4,0,7,\"a \"\"b\"\"\nc\"\n# note\n\n  5,6,7,8\n",
         false,
         {{1.0f, 7, "a \"b\"\nc"}, {5.0f, 1, ""}}},
        {"quoted numbers with blanks round them", " \"1\" , \"2\",3,4\n", false, {{1.0f, 0, ""}}},
        {"unquoted text is the rest of the line",
         "1,2,3,4,0,,right edge, flips \"left\"\n",
         false,
         {{1.0f, 0, "right edge, flips \"left\""}}},
        {"quoted fields after the key are joined",
         "1,2,3,4,0,,\"a,\",\"b\"",
         false,
         {{1.0f, 0, "a,,b"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read result = read(c.content, c.header);
        ASSERT_EQ(result.error, "");
        ASSERT_EQ(result.labels.size(), c.labels.size());
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            EXPECT_EQ(result.labels[i].anchor[0], c.labels[i].x);
            EXPECT_EQ(result.labels[i].key, c.labels[i].key);
            EXPECT_EQ(result.labels[i].text, c.labels[i].text);
        }
    }
}

// The first bad field from the left, on the line its record starts; a
// first line is a header only when none of its numbers is one and the next
// line is a label, and when that line is bad the error names it too.
TEST(placement_input, names_the_first_bad_field) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"x,y,w,h\n", "in.csv:1: x 'x' is not a number"},
        {"x,y,w,h\nx,2,3,4\n", "in.csv:1: x 'x' is not a number"},
        {"x,y,w,h\n\"1\"2,3,4\n", "in.csv:1: x 'x' is not a number"},
        {"1,2,x3,4\n5,6,7,8\n", "in.csv:1: width 'x3' is not a number"},
        {"1,y,x3,4\n", "in.csv:1: y 'y' is not a number"},
        {"1,2,3,4,,,\"a\nb\"\n1,2,z,4\n", "in.csv:3: width 'z' is not a number"},
        {"1,2,3,4\n\"5,6\n", "in.csv:2: a quoted field is not closed"},
        {"1,2,3,4\n\"5\"x,6,7,8\n", "in.csv:2: a quoted field is followed by more than blanks"},
        {"1,2,3,4,0,-7\n", "in.csv:1: key '-7' is not a whole number"},
        {"1,2,3,4,high\n", "in.csv:1: priority 'high' is not a number"},
        {"\"a\nb\x1b\",2,3,4\n", "in.csv:1: x 'a\\x0ab\\x1b' is not a number"},
        {"1,2,3\x1b[31m,4\n", "in.csv:1: width '3\\x1b[31m' is not a number"},
        {std::string("1,2,3,\0x\n", 9), "in.csv:1: height '\\x00x' is not a number"},
    };
    for (const auto& [content, message] : cases) {
        SCOPED_TRACE(content);
        EXPECT_EQ(read(content, false).error.rfind(message, 0), 0u) << read(content, false).error;
    }
    EXPECT_EQ(read("x,y,w,h\nx,2,3,4\n", true).error.rfind("in.csv:2: x 'x'", 0), 0u);
    EXPECT_NE(read("x,y,w,h\n\n1,2,z,4\n", false).error.find("followed by in.csv:3: width 'z'"),
              std::string::npos);
}

TEST(printable_text, escapes_control_bytes_and_bytes_outside_utf8) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"plain, \"quoted\" \\ text", "plain, \"quoted\" \\ text"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\t\n\x1b[2J\x7f", "\\x09\\x0a\\x1b[2J\\x7f"},
        {"\xc3\xa9\xe2\x82\xac", "\xc3\xa9\xe2\x82\xac"},  // é and € stay
        {"\xc2\x9b", "\\xc2\\x9b"},                        // a C1 control
        {"\xff\xc3", "\\xff\\xc3"},                        // stray, truncated
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},               // a surrogate
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(printable(text), shown);
    }
}

}  // namespace

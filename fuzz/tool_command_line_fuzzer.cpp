// Runs varnek-labels in-process on an arbitrary command line and an
// arbitrary placement input. The first line of the input is the command
// line after the program name, its arguments separated by single spaces
// (two spaces give an empty argument); the rest is both standard input and
// the file in.csv. The tool runs in a folder of its own, and an argument
// holding '/' loses it, so every path it reads or writes lies there. Where
// the system has DejaVu Sans, a copy of it lies there too as font.ttf, so
// that --font font.ttf measures the input's texts.
//
// Every run either succeeds, with nothing on standard error but the note of
// an input without labels and warnings of texts wider than their labels
// (each one line without a control character), and every output well-formed (JSON that parses
// and reads back to the same value, SVG that an XML parser accepts with
// <svg> as its root, or lines of text), or fails with nothing written: exit
// status 2 and one line on standard error, exit status 1 and one line
// saying what could not be written, or exit status 3 and one line saying
// what could not be read. No error line holds a control character.
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <expat.h>
#include <varnek/label_placement/LabelPlacementOptions.h>
#include <nlohmann/json.hpp>

#include "FuzzCheck.h"
#include "Tool.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view s_inputName = "in.csv";
constexpr std::string_view s_fontName = "font.ttf";
constexpr const char* s_systemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// The one word a successful run may say: the input held no labels.
constexpr std::string_view s_noLabelsNote =
    "varnek-labels: the input holds no labels; nothing placed\n";
// Each effort step about doubles the placer's work: the fuzzer keeps to
// the low steps so that a run stays short, and still sends the values the
// tool rejects.
constexpr int s_highestEffort = 3;
constexpr int s_largestAcceptedEffort = Varnek::LabelPlacementOptions::maxEffort;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

void removeWorkFolder();

// A folder of its own, made once and removed when the process exits; the
// tool runs in it.
const fs::path& workFolder() {
    static const fs::path s_folder = [] {
        std::string pattern = (fs::temp_directory_path() / "varnek-fuzz-tool-XXXXXX").string();
        VARNEK_FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        return fs::path(pattern);
    }();
    static const bool s_removedAtExit = std::atexit(removeWorkFolder) == 0;
    VARNEK_FUZZ_CHECK(s_removedAtExit);
    return s_folder;
}

void removeWorkFolder() {
    std::error_code ignored;
    fs::remove_all(workFolder(), ignored);
}

// The working directory is the work folder while it lives: libFuzzer reads
// and writes its corpus relative to the one it was started in.
class InWorkFolder {
public:
    InWorkFolder() : m_started(fs::current_path()) { fs::current_path(workFolder()); }
    ~InWorkFolder() { fs::current_path(m_started); }
    InWorkFolder(const InWorkFolder&) = delete;
    InWorkFolder& operator=(const InWorkFolder&) = delete;

private:
    fs::path m_started;
};

void writeFile(const fs::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// An effort the placer takes long over becomes the highest fuzzed one.
std::string tamedEffort(const std::string& text) {
    char* end = nullptr;
    const long effort = std::strtol(text.c_str(), &end, 10);
    const bool slow = !text.empty() && *end == '\0' && effort > s_highestEffort &&
                      effort <= s_largestAcceptedEffort;
    return slow ? std::to_string(s_highestEffort) : text;
}

std::vector<std::string> commandLine(std::string_view line) {
    std::vector<std::string> arguments{"varnek-labels"};
    std::size_t begin = 0;
    while (begin <= line.size()) {
        const std::size_t space = std::min(line.find(' ', begin), line.size());
        std::string argument(line.substr(begin, space - begin));
        argument.erase(std::remove(argument.begin(), argument.end(), '/'), argument.end());
        if (startsWith(argument, "--effort=")) {
            argument = "--effort=" + tamedEffort(argument.substr(9));
        } else if (arguments.back() == "--effort") {
            argument = tamedEffort(argument);
        }
        arguments.push_back(std::move(argument));
        begin = space + 1;
    }
    return arguments;
}

bool hasControlCharacter(std::string_view line) {
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20U || c == '\x7f'; });
}

// What a successful run may say: the note, and warnings.
bool isQuietOrWarning(const std::string& err) {
    std::size_t begin = 0;
    while (begin < err.size()) {
        const std::size_t end = err.find('\n', begin);
        if (end == std::string::npos) {
            return false;
        }
        const std::string_view line(err.data() + begin, end - begin + 1);
        const bool warning = startsWith(line, "varnek-labels: ") &&
                             line.find("warning: ") != std::string_view::npos &&
                             !hasControlCharacter(line.substr(0, line.size() - 1));
        if (line != s_noLabelsNote && !warning) {
            return false;
        }
        begin = end + 1;
    }
    return true;
}

bool isOneLine(const std::string& text) {
    return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
}

bool isWellFormedJson(const std::string& text) {
    if (!nlohmann::json::accept(text)) {
        return false;
    }
    const nlohmann::json value = nlohmann::json::parse(text);
    return nlohmann::json::parse(value.dump()) == value;
}

struct XmlRoot {
    std::string name;
};

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** /*attributes*/) {
    auto* root = static_cast<XmlRoot*>(data);
    if (root->name.empty()) {
        root->name = name;
    }
}

bool isWellFormedSvg(const std::string& text) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    VARNEK_FUZZ_CHECK(parser != nullptr);
    XmlRoot root;
    XML_SetUserData(parser, &root);
    XML_SetStartElementHandler(parser, startElement);
    const bool parsed =
        XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return parsed && root.name == "svg";
}

// Printable lines: help, version, reports and the text tables.
bool isText(const std::string& text) {
    if (text.empty() || text.back() != '\n') {
        return false;
    }
    for (const char c : text) {
        if (c != '\n' && (c < ' ' || c > '~')) {
            return false;
        }
    }
    return true;
}

// An output is JSON, SVG or text, told by how it begins.
bool isWellFormed(const std::string& output) {
    if (startsWith(output, "{") || startsWith(output, "[")) {
        return isWellFormedJson(output);
    }
    if (startsWith(output, "<")) {
        return isWellFormedSvg(output);
    }
    return isText(output);
}

// When the font was last copied; a run that writes over it is told by the
// time, and the font copied again.
fs::file_time_type s_fontCopied;

void provideFont() {
    std::error_code error;
    const fs::path font = workFolder() / s_fontName;
    if (!fs::exists(font, error) && fs::copy_file(s_systemFont, font, error)) {
        s_fontCopied = fs::last_write_time(font, error);
    }
}

bool isUnchangedFont(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.path().filename() == s_fontName && entry.is_regular_file(error) &&
           fs::last_write_time(entry.path(), error) == s_fontCopied;
}

// The files the run left beside the input, read and removed.
std::vector<std::string> takeWrittenFiles() {
    std::vector<std::string> contents;
    for (const fs::directory_entry& entry : fs::directory_iterator(workFolder())) {
        if (entry.path().filename() != s_inputName && !isUnchangedFont(entry)) {
            contents.push_back(entry.is_regular_file() ? readFile(entry.path()) : std::string());
            fs::remove_all(entry.path());
        }
    }
    return contents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    const std::string_view placementInput = input.substr(std::min(lineEnd + 1, input.size()));
    writeFile(workFolder() / s_inputName, placementInput);
    provideFont();

    std::vector<std::string> arguments = commandLine(input.substr(0, lineEnd));
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    std::istringstream in{std::string(placementInput)};
    std::ostringstream out;
    std::ostringstream err;
    int status = -1;
    {
        const InWorkFolder inWorkFolder;
        status =
            VarnekLabels::runTool(static_cast<int>(arguments.size()), argv.data(), {in, out, err});
    }
    const std::vector<std::string> written = takeWrittenFiles();

    if (status == 0) {
        VARNEK_FUZZ_CHECK(isQuietOrWarning(err.str()));
        VARNEK_FUZZ_CHECK(!out.str().empty() || !written.empty());
        VARNEK_FUZZ_CHECK(out.str().empty() || isWellFormed(out.str()));
        for (const std::string& file : written) {
            VARNEK_FUZZ_CHECK(isWellFormed(file));
        }
        return 0;
    }
    VARNEK_FUZZ_CHECK(status == 2 || status == 1 || status == 3);
    VARNEK_FUZZ_CHECK(isOneLine(err.str()) && startsWith(err.str(), "varnek-labels: "));
    const std::string errorLine = err.str();
    VARNEK_FUZZ_CHECK(
        !hasControlCharacter(std::string_view(errorLine).substr(0, errorLine.size() - 1)));
    VARNEK_FUZZ_CHECK(status != 1 || startsWith(err.str(), "varnek-labels: cannot write "));
    VARNEK_FUZZ_CHECK(status != 3 || errorLine.find("cannot read") != std::string::npos ||
                      errorLine == "varnek-labels: out of memory\n");
    VARNEK_FUZZ_CHECK(out.str().empty() && written.empty());
    return 0;
}

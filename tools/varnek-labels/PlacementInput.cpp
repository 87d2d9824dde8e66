#include "PlacementInput.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <system_error>

#include "UsageError.h"

namespace VarnekLabels {
namespace {

constexpr const char* s_lineForm = "x,y,width,height[,priority[,key[,text]]]";
constexpr std::array<const char*, 6> s_fieldNames{"x", "y", "width", "height", "priority", "key"};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

class LineReader {
public:
    LineReader(const std::string& source, std::size_t lineNumber)
        : m_where(source + ":" + std::to_string(lineNumber) + ": ") {}

    // A number, NaN and infinities included. One too large for a float reads
    // as infinite, so the label is out of contract rather than moved; one
    // too small reads as the nearest float, zero.
    float number(std::size_t field, std::string_view text) const {
        text = trimmed(text);
        std::string_view digits = text;
        if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') {
            digits.remove_prefix(1);
        }
        float value = 0.0f;
        const char* end = digits.data() + digits.size();
        const auto result = std::from_chars(digits.data(), end, value);
        if (digits.empty() || result.ptr != end) {
            throw notA(field, text, "a number");
        }
        if (result.ec == std::errc::result_out_of_range) {
            double wide = 0.0;
            const bool large = std::from_chars(digits.data(), end, wide).ec == std::errc()
                                   ? std::abs(wide) > 1.0
                                   : digits.find("e-") == std::string_view::npos &&
                                         digits.find("E-") == std::string_view::npos;
            const float magnitude = large ? std::numeric_limits<float>::infinity() : 0.0f;
            return digits[0] == '-' ? -magnitude : magnitude;
        }
        return value;
    }

    std::uint64_t key(std::string_view text) const {
        text = trimmed(text);
        std::uint64_t value = 0;
        const char* end = text.data() + text.size();
        const auto result = std::from_chars(text.data(), end, value);
        if (text.empty() || result.ec != std::errc() || result.ptr != end) {
            throw notA(5, text, "a whole number from 0 to 18446744073709551615");
        }
        return value;
    }

    UsageError tooFewFields(std::size_t count) const {
        return UsageError(m_where + std::to_string(count) + (count == 1 ? " field" : " fields") +
                          ", at least 4 needed; a line is " + s_lineForm);
    }

private:
    UsageError notA(std::size_t field, std::string_view text, const char* what) const {
        return UsageError(m_where + s_fieldNames[field] + " '" + std::string(text) + "' is not " +
                          what + "; a line is " + s_lineForm);
    }

    std::string m_where;
};

InputLabel parseLine(std::string_view line, const LineReader& reader, std::uint64_t index) {
    std::array<std::string_view, 6> fields{};
    std::size_t count = 0;
    std::string_view rest = line;
    bool hasText = false;
    while (count < fields.size()) {
        const auto comma = rest.find(',');
        fields[count++] = rest.substr(0, comma);
        if (comma == std::string_view::npos) {
            rest = {};
            break;
        }
        rest.remove_prefix(comma + 1);
        hasText = count == fields.size();
    }
    if (count < 4) {
        throw reader.tooFewFields(count);
    }
    InputLabel label;
    label.anchor = Vec3(reader.number(0, fields[0]), reader.number(1, fields[1]), 0.0f);
    label.size = Vec3(reader.number(2, fields[2]), reader.number(3, fields[3]), 0.0f);
    label.key = index;
    if (count > 4 && !trimmed(fields[4]).empty()) {
        label.priority = reader.number(4, fields[4]);
    }
    if (count > 5 && !trimmed(fields[5]).empty()) {
        label.key = reader.key(fields[5]);
    }
    if (hasText) {
        label.text = std::string(rest);
    }
    return label;
}

}  // namespace

std::vector<InputLabel> parsePlacementInput(const std::string& content, const std::string& source) {
    std::vector<InputLabel> labels;
    std::size_t lineNumber = 0;
    std::size_t begin = 0;
    while (begin < content.size()) {
        const auto newline = content.find('\n', begin);
        const auto end = newline == std::string::npos ? content.size() : newline;
        std::string_view line(content.data() + begin, end - begin);
        begin = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::string_view visible = trimmed(line);
        if (visible.empty() || visible[0] == '#') {
            continue;
        }
        labels.push_back(parseLine(line, LineReader(source, lineNumber), labels.size()));
    }
    return labels;
}

}  // namespace VarnekLabels

#include "SvgDocument.h"

#include <cstddef>

#include "PrintableText.h"

namespace VarnekLabels {
namespace {

// U+FFFD, the replacement character, in UTF-8.
constexpr const char* s_replacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence of a character that XML
// allows starting at text[at]; 0 if there is none (ill-formed UTF-8, a
// control character other than tab, line feed and carriage return, U+FFFE
// or U+FFFF).
std::size_t xmlCharacterLength(const std::string& text, std::size_t at) {
    const Utf8Character character = decodeUtf8(text, at);
    const unsigned int code = character.code;
    const bool allowed = code >= 0x20U || code == '\t' || code == '\n' || code == '\r';
    return allowed && code != 0xFFFEU && code != 0xFFFFU ? character.length : 0;
}

// Markup characters escaped, and anything that is not a character XML
// allows in well-formed UTF-8 replaced by U+FFFD, one for each such byte.
std::string escaped(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = xmlCharacterLength(text, at);
        if (length == 0) {
            result += s_replacement;
            ++at;
            continue;
        }
        switch (text[at]) {
            case '&':
                result += "&amp;";
                break;
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            case '"':
                result += "&quot;";
                break;
            default:
                result.append(text, at, length);
        }
        at += length;
    }
    return result;
}

std::string attribute(const char* name, float value) {
    return std::string(" ") + name + "=\"" + formatFloat(value) + "\"";
}

std::string styleAttribute(const std::string& style) {
    return style.empty() ? std::string() : " style=\"" + escaped(style) + "\"";
}

}  // namespace

SvgDocument::SvgDocument(float width, float height) : m_width(width), m_height(height) {}

void SvgDocument::rect(float x, float y, float width, float height, const std::string& style) {
    m_body += "<rect" + attribute("x", x) + attribute("y", y) + attribute("width", width) +
              attribute("height", height) + styleAttribute(style) + "/>\n";
}

void SvgDocument::line(float x1, float y1, float x2, float y2, const std::string& style) {
    m_body += "<line" + attribute("x1", x1) + attribute("y1", y1) + attribute("x2", x2) +
              attribute("y2", y2) + styleAttribute(style) + "/>\n";
}

void SvgDocument::circle(float cx, float cy, float r, const std::string& style) {
    m_body += "<circle" + attribute("cx", cx) + attribute("cy", cy) + attribute("r", r) +
              styleAttribute(style) + "/>\n";
}

void SvgDocument::polygon(const std::vector<Vec3>& points, const std::string& style) {
    m_body += "<polygon points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
        m_body += i == 0 ? "" : " ";
        m_body += formatFloat(points[i][0]) + "," + formatFloat(points[i][1]);
    }
    m_body += "\"" + styleAttribute(style) + "/>\n";
}

void SvgDocument::text(float x, float y, const std::string& text, float fontSize,
                       const char* anchor, const std::string& style) {
    m_body += "<text" + attribute("x", x) + attribute("y", y) + attribute("font-size", fontSize) +
              " text-anchor=\"" + anchor + "\"" + styleAttribute(style) + ">" + escaped(text) +
              "</text>\n";
}

void SvgDocument::beginGroup(float dx, float dy, const std::string& cssClass) {
    m_body += "<g class=\"" + escaped(cssClass) + "\" transform=\"translate(" + formatFloat(dx) +
              "," + formatFloat(dy) + ")\">\n";
}

void SvgDocument::endGroup() {
    m_body += "</g>\n";
}

std::string SvgDocument::finish() const {
    const std::string width = formatFloat(m_width);
    const std::string height = formatFloat(m_height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
           "\" font-family=\"DejaVu Sans, Helvetica, Arial, sans-serif\">\n" + m_body + "</svg>\n";
}

}  // namespace VarnekLabels

// A minimal SVG writer: the few elements the gallery draws, with numbers
// written exactly and text escaped, collected in memory and returned whole.
#ifndef VARNEK_LABELS_SVGDOCUMENT_H
#define VARNEK_LABELS_SVGDOCUMENT_H

#include <string>
#include <vector>

#include "NumberText.h"

namespace VarnekLabels {

class SvgDocument {
public:
    SvgDocument(float width, float height);

    // style is the raw text of an SVG style attribute, e.g. "fill:none".
    void rect(float x, float y, float width, float height, const std::string& style);
    void line(float x1, float y1, float x2, float y2, const std::string& style);
    void circle(float cx, float cy, float r, const std::string& style);
    // points are in the frame of the current group; only x and y are drawn.
    void polygon(const std::vector<Vec3>& points, const std::string& style);
    // text is escaped, and each byte of it that is not part of a character
    // XML allows in well-formed UTF-8 is written as U+FFFD; anchor is
    // "start", "middle" or "end".
    void text(float x, float y, const std::string& text, float fontSize, const char* anchor,
              const std::string& style = "");

    // Groups nest; the translation moves everything drawn until endGroup.
    void beginGroup(float dx, float dy, const std::string& cssClass);
    void endGroup();

    // The complete document, ending with a newline.
    std::string finish() const;

private:
    std::string m_body;
    float m_width;
    float m_height;
};

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_SVGDOCUMENT_H

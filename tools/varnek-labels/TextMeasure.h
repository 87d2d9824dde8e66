// A label's text measured as a renderer would draw it: a TrueType or
// OpenType font file read with FreeType, the text shaped with HarfBuzz
// (kerning and ligatures included), without hinting, so that a width is the
// same at every size and on every machine. A build without FreeType and
// HarfBuzz has the type but cannot open a font.
#ifndef VARNEK_LABELS_TEXTMEASURE_H
#define VARNEK_LABELS_TEXTMEASURE_H

#include <memory>
#include <string>
#include <string_view>

namespace VarnekLabels {

class TextMeasure {
public:
    // Whether this build can open fonts at all.
    static bool isAvailable();

    // The font at path (its first face). Throws UsageError naming option
    // when the file cannot be read, is not a TrueType or OpenType font, or
    // the build cannot open fonts.
    static TextMeasure open(const std::string& path, const std::string& option);

    TextMeasure(TextMeasure&&) noexcept;
    TextMeasure& operator=(TextMeasure&&) noexcept;
    ~TextMeasure();

    // The shaped advance of utf8 as one line at fontSize (ill-formed UTF-8
    // counts as U+FFFD), in the units of fontSize.
    float advance(std::string_view utf8, float fontSize) const;
    // The font's ascent above and descent below the baseline, both positive,
    // as shares of the font size.
    float ascent() const;
    float descent() const;
    // The family name the font gives itself, "" if none.
    const std::string& family() const;

private:
    struct Font;
    explicit TextMeasure(std::unique_ptr<Font> font);

    std::unique_ptr<Font> m_font;
};

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_TEXTMEASURE_H

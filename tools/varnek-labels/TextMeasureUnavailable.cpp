// TextMeasure in a build without FreeType and HarfBuzz: no font opens, and
// the message says why.
#include "TextMeasure.h"

#include "UsageError.h"

namespace VarnekLabels {

struct TextMeasure::Font {};

bool TextMeasure::isAvailable() {
    return false;
}

TextMeasure TextMeasure::open(const std::string& /*path*/, const std::string& option) {
    throw UsageError(option +
                     ": this varnek-labels was built without FreeType and HarfBuzz and cannot "
                     "measure text; accepted: no " +
                     option);
}

TextMeasure::TextMeasure(std::unique_ptr<Font> font) : m_font(std::move(font)) {}
TextMeasure::TextMeasure(TextMeasure&&) noexcept = default;
TextMeasure& TextMeasure::operator=(TextMeasure&&) noexcept = default;
TextMeasure::~TextMeasure() = default;

float TextMeasure::advance(std::string_view /*utf8*/, float /*fontSize*/) const {
    return 0.0f;
}

float TextMeasure::ascent() const {
    return 0.0f;
}

float TextMeasure::descent() const {
    return 0.0f;
}

const std::string& TextMeasure::family() const {
    static const std::string s_none;
    return s_none;
}

}  // namespace VarnekLabels

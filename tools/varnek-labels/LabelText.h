// A label's text and its size: the font size it is drawn at, the size it
// needs (measured in a font, or estimated without one), and the warnings
// for texts that do not fit the size the input gives.
#ifndef VARNEK_LABELS_LABELTEXT_H
#define VARNEK_LABELS_LABELTEXT_H

#include <string>
#include <string_view>
#include <vector>

#include "NumberText.h"
#include "PlacementInput.h"
#include "TextMeasure.h"

namespace VarnekLabels {

// The font size of a label whose height is measured, in the label's units.
constexpr float s_measuredFontSize = 12.0f;
// Without a font, a character is taken to be this many font sizes wide on
// average, enough for digits and most letters of a sans-serif font.
constexpr float s_averageAdvance = 0.6f;

// The font size a text is drawn at in a label of this content height: 0.8
// of it.
float fontSizeFor(float height);

// How far below the body's centre the baseline lies, for a text centred in
// the body: the font's ascent and descent centred, or without a font (null)
// a share of the font size that centres capitals and digits.
float baselineBelowCentre(float fontSize, const TextMeasure* font);

// The content size of a label holding text in font at s_measuredFontSize:
// the shaped advance and an eighth of the font size either side, and the
// height whose font size that is.
Vec3 measuredSize(const TextMeasure& font, std::string_view text);

// Gives every label whose width or height is not given its measured one;
// a width is measured at the font size of the label's height.
void measureSizes(std::vector<InputLabel>& labels, const TextMeasure& font);

// One line "varnek-labels: SOURCE:LINE: warning: ..." for each label whose
// text needs more than its width at its font size: the shaped advance in
// font, or without one (null) s_averageAdvance a character. After the first
// few, one line counts the rest. Empty when every text fits.
std::string textFitWarnings(const std::vector<InputLabel>& labels, const TextMeasure* font,
                            const std::string& source);

// The SVG style of a text in font's family, "" for none; characters that
// could leave the style's quoted name are left out.
std::string fontFamilyStyle(const TextMeasure* font);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_LABELTEXT_H

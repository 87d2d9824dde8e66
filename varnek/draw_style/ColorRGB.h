// The library's colour value, three single-precision intensities, and its
// fixed-width text "r=R.RRR g=G.GGG b=B.BBB" (23 characters) that option
// texts carry. Because the width never changes, a colour inside a longer
// option text can be overwritten in place without allocating.
#ifndef VARNEK_DRAW_STYLE_COLORRGB_H
#define VARNEK_DRAW_STYLE_COLORRGB_H

#include <array>
#include <string>

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API ColorRGB {
public:
    // Letters in front of the red, green and blue fields of the colour text.
    VARNEK_NO_EXPORT static constexpr std::array<char, 3> colorLetters = {'r', 'g', 'b'};
    // Length of every colour text.
    static constexpr int s_textLength = 23;

    // Black.
    constexpr ColorRGB() = default;
    // Stores the components unchecked; 0 to 1 is the meaningful range.
    constexpr ColorRGB(float red, float green, float blue) noexcept
        : m_red(red), m_green(green), m_blue(blue) {}

    // The components, as given.
    constexpr float red() const noexcept { return m_red; }
    constexpr float green() const noexcept { return m_green; }
    constexpr float blue() const noexcept { return m_blue; }

    // Component-wise exact comparison, so a colour holding a NaN is unequal to itself.
    friend constexpr bool operator==(const ColorRGB& a, const ColorRGB& b) noexcept {
        return a.m_red == b.m_red && a.m_green == b.m_green && a.m_blue == b.m_blue;
    }
    friend constexpr bool operator!=(const ColorRGB& a, const ColorRGB& b) noexcept {
        return !(a == b);
    }

    // A new 23-character text such as "r=1.000 g=0.000 b=0.500", built as
    // toStringAt writes it at position 0.
    static std::string toString(const ColorRGB& color);
    static std::string toString(const std::array<float, 3>& rgb);
    static std::string toString(float red, float green, float blue);

    // Overwrites text[position] to text[position + 22] with the colour text and
    // leaves every other character and the length alone. Allocates nothing.
    // Each field is "1.000" for a component of exactly 1, otherwise "0." and
    // the first three digits after the point, truncated from the successive
    // single-precision products v*10, v*100, v*1000 (0.29 gives "0.289").
    // Out of contract, with defined results:
    // - a position that does not fit (position < 0 or position + 23 > length)
    //   leaves the text unchanged;
    // - a component above 1 loses its integer part (1.5 gives "0.500");
    // - a negative component gives digit characters below '0' ('0' plus a
    //   negative remainder: -0.5 gives "0.+00");
    // - a product that is NaN, infinite or outside [-2^31, 2^31) gives the
    //   digit '0', so NaN and infinite components give "0.000".
    static void toStringAt(std::string& text, int position, const ColorRGB& color) noexcept;
    static void toStringAt(std::string& text, int position,
                           const std::array<float, 3>& rgb) noexcept;

private:
    float m_red = 0.0F;
    float m_green = 0.0F;
    float m_blue = 0.0F;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_COLORRGB_H

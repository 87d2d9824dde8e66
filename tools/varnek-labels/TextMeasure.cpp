#include "TextMeasure.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <new>
#include <system_error>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb-ot.h>
#include <hb.h>

#include "UsageError.h"

namespace VarnekLabels {
namespace {

// Larger than any font a label is drawn in (a whole collection of CJK faces
// is a few tens of megabytes): a file past it is refused, not read.
constexpr std::uintmax_t s_largestFont = std::uintmax_t{256} * 1024 * 1024;

UsageError cannotRead(const std::string& option, const std::string& path,
                      const std::string& reason) {
    return UsageError(option + ": cannot read '" + path + "': " + reason);
}

// The whole file at path, which must be a regular file (or a link to one):
// a pipe or a device is refused rather than waited on.
std::string readFontFile(const std::string& path, const std::string& option) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) {
        throw cannotRead(option, path, error.message());
    }
    if (std::filesystem::is_directory(status)) {
        throw cannotRead(option, path, "it is a folder");
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw cannotRead(option, path, "it is not a regular file");
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > s_largestFont) {
        throw cannotRead(option, path, error ? error.message() : "it is too large for a font");
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    if (in.is_open()) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!in.is_open() || in.bad()) {
        const int reason = errno;
        throw cannotRead(option, path, reason != 0 ? std::strerror(reason) : "the read failed");
    }
    return bytes;
}

UsageError notAFont(const std::string& option, const std::string& path) {
    return UsageError(option + ": '" + path + "' is not a TrueType or OpenType font");
}

}  // namespace

// The file's bytes and everything FreeType and HarfBuzz made of them;
// released in the reverse order.
struct TextMeasure::Font {
    std::string bytes;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    hb_font_t* shaper = nullptr;
    double unitsPerEm = 1.0;
    float ascent = 0.0f;
    float descent = 0.0f;
    std::string family;

    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font() {
        hb_font_destroy(shaper);
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
};

bool TextMeasure::isAvailable() {
    return true;
}

TextMeasure TextMeasure::open(const std::string& path, const std::string& option) {
    auto font = std::make_unique<Font>();
    font->bytes = readFontFile(path, option);
    if (FT_Init_FreeType(&font->library) != 0) {
        throw std::bad_alloc();
    }
    if (FT_New_Memory_Face(font->library, reinterpret_cast<const FT_Byte*>(font->bytes.data()),
                           static_cast<FT_Long>(font->bytes.size()), 0, &font->face) != 0) {
        throw notAFont(option, path);
    }
    const FT_Face face = font->face;
    if (!FT_IS_SFNT(face) || !FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        throw notAFont(option, path);
    }
    hb_face_t* shapedFace = hb_ft_face_create_referenced(face);
    font->shaper = hb_font_create(shapedFace);
    hb_face_destroy(shapedFace);
    if (hb_face_get_glyph_count(hb_font_get_face(font->shaper)) == 0) {
        throw notAFont(option, path);
    }
    // Advances in font units, unhinted: exact, and scaled by the caller.
    hb_ot_font_set_funcs(font->shaper);
    const int unitsPerEm = face->units_per_EM;
    hb_font_set_scale(font->shaper, unitsPerEm, unitsPerEm);
    font->unitsPerEm = unitsPerEm;

    // The font's line: its ascender and descender, or its glyphs' bounding
    // box where those are not set.
    const auto ascender =
        static_cast<double>(face->ascender > 0 ? face->ascender : face->bbox.yMax);
    const auto descender =
        static_cast<double>(face->descender < 0 ? face->descender : face->bbox.yMin);
    font->ascent = static_cast<float>(std::max(ascender, 0.0) / unitsPerEm);
    font->descent = static_cast<float>(std::max(-descender, 0.0) / unitsPerEm);
    font->family = face->family_name != nullptr ? face->family_name : "";
    return TextMeasure(std::move(font));
}

TextMeasure::TextMeasure(std::unique_ptr<Font> font) : m_font(std::move(font)) {}
TextMeasure::TextMeasure(TextMeasure&&) noexcept = default;
TextMeasure& TextMeasure::operator=(TextMeasure&&) noexcept = default;
TextMeasure::~TextMeasure() = default;

float TextMeasure::advance(std::string_view utf8, float fontSize) const {
    hb_buffer_t* buffer = hb_buffer_create();
    const int length = static_cast<int>(std::min<std::size_t>(utf8.size(), INT_MAX));
    hb_buffer_add_utf8(buffer, utf8.data(), length, 0, length);
    hb_buffer_guess_segment_properties(buffer);
    hb_shape(m_font->shaper, buffer, nullptr, 0);
    const bool shaped = hb_buffer_allocation_successful(buffer) != 0;
    unsigned int count = 0;
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
    std::int64_t units = 0;
    for (unsigned int i = 0; i < count; ++i) {
        units += positions[i].x_advance;
    }
    hb_buffer_destroy(buffer);
    if (!shaped) {
        throw std::bad_alloc();
    }
    const double width =
        static_cast<double>(units) * static_cast<double>(fontSize) / m_font->unitsPerEm;
    // Past the float range (a huge font size) the width is infinite.
    if (std::abs(width) > static_cast<double>(std::numeric_limits<float>::max())) {
        const float infinity = std::numeric_limits<float>::infinity();
        return width > 0.0 ? infinity : -infinity;
    }
    return static_cast<float>(width);
}

float TextMeasure::ascent() const {
    return m_font->ascent;
}

float TextMeasure::descent() const {
    return m_font->descent;
}

const std::string& TextMeasure::family() const {
    return m_font->family;
}

}  // namespace VarnekLabels

// The draw-style vocabulary: display names and the option texts the graphics
// system accepts. Several option-text getters answer a value outside their
// enumeration with a null pointer; optionText below turns every answer into
// a string that is safe to print or store.
#include <varnek/varnek.h>

#include <cstdio>
#include <string>

namespace {

// The option text, or "" where the getter has none for an out-of-range value.
std::string optionText(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

int main() {
    using namespace Varnek;

    std::printf("line patterns:\n");
    for (int value = DrawPatternLine::Solid; value <= DrawPatternLine::Custom; ++value) {
        const auto pattern = static_cast<DrawPatternLine::Enum>(value);
        std::printf("  %-12s \"%s\"\n", DrawPatternLine::toString(pattern).c_str(),
                    optionText(DrawPatternLine::getHoopsNotation(pattern)).c_str());
    }

    std::printf("mesh styles:\n");
    for (int value = 0; value <= 5; ++value) {
        const DrawStyleMesh style(value);
        std::printf("  %-24s \"%s\"\n", DrawStyleMesh::toString(style).c_str(),
                    optionText(DrawStyleMesh::getDrawKey(style)).c_str());
    }

    std::printf("size units:\n");
    for (int value = DrawSizeReference::World; value <= DrawSizeReference::Point; ++value) {
        const auto unit = static_cast<DrawSizeReference::Enum>(value);
        std::printf("  %-24s \"%s\"\n", DrawSizeReference::toString(unit).c_str(),
                    optionText(DrawSizeReference::getHoopsNotation(unit)).c_str());
    }

    // Out of range: answered, never rejected; here the answer is a null pointer.
    const auto unknown = static_cast<DrawPatternLine::Enum>(42);
    const char* raw = DrawPatternLine::getHoopsNotation(unknown);
    std::printf("line pattern 42: %s, option text \"%s\"\n", raw == nullptr ? "null pointer" : raw,
                optionText(raw).c_str());
    return raw == nullptr ? 0 : 1;
}

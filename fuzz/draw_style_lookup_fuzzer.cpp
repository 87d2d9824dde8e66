// Feeds arbitrary 32-bit values to every lookup of the draw-style vocabulary.
// An input is a sequence of steps, each a lookup chosen by one byte and the
// values it needs. In range, each answer is exactly the text the catalogue
// holds for the value (its names, and the library's texts taken once before
// any input ran, with no translation registered); out of range, exactly the
// documented fallback: "unknown", "Unknown", "undefined", "solid", a null
// pointer, 0.0 or false. Translations registered with arbitrary texts
// replace exactly the display names they are for. The sets are built from
// arbitrary lists and their option texts are checked against the flags that
// the lists name.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include <catalogue/DrawStyleTypes.h>

#include <varnek/varnek.h>

#include "FuzzCheck.h"

namespace {

using VarnekFuzz::consumeFloatBits;
using VarnekFuzz::isPlainText;
using VarnekFuzz::sameText;
using namespace Varnek;

bool inRange(std::int32_t value, std::int32_t count) {
    return value >= 0 && value < count;
}

// The number of values of a type, as the catalogue has it from the library.
std::int32_t countOf(const char* type) {
    return VarnekCatalogue::drawStyleType(type).valueCount();
}

const std::int32_t s_colorModes = countOf("DrawColorMode");
const std::int32_t s_facePatterns = countOf("DrawPatternFace");
const std::int32_t s_linePatterns = countOf("DrawPatternLine");
const std::int32_t s_coordinates = countOf("DrawCoordinates");
const std::int32_t s_lightingInterpolations = countOf("DrawLightingInterpolation");
const std::int32_t s_alignmentPoints = countOf("DrawTextAlignmentPoint");
const std::int32_t s_cappings = countOf("DrawCylinderCapping");
const std::int32_t s_sizeReferences = countOf("DrawSizeReference");
const std::int32_t s_meshStyles = countOf("DrawStyleMesh");
const std::int32_t s_displacements = countOf("DrawDisplacement");
const std::int32_t s_symbols = countOf("DrawSymbolPoint");
const std::int32_t s_visibleTypes = countOf("DrawVisibleType");
const std::int32_t s_selectableTypes = countOf("DrawSelectableType");
const std::int32_t s_shaderAffectedTypes = countOf("DrawShaderAffectedType");
const std::int32_t s_skinAffectedTypes = countOf("DrawSkinAffectedType");

template <typename E>
E as(std::int32_t value) {
    return static_cast<E>(value);
}

// Every column text of every value of every catalogue type, taken once
// before any input runs: what each later answer must equal exactly.
class CatalogueTexts {
public:
    static const CatalogueTexts& get() {
        static const CatalogueTexts s_texts;
        return s_texts;
    }

    // The text of type's column key for value in range; nullopt where the
    // library gives a null pointer.
    const std::optional<std::string>& text(const char* type, const char* key,
                                           std::int32_t value) const {
        return m_texts.at(std::string(type) + "." + key).at(static_cast<std::size_t>(value));
    }

private:
    CatalogueTexts() {
        for (const VarnekCatalogue::DrawStyleType& type : VarnekCatalogue::drawStyleTypes()) {
            for (const VarnekCatalogue::ValueColumn& column : type.columns) {
                auto& texts = m_texts[std::string(type.name) + "." + column.key];
                for (std::int32_t value = 0; value < type.valueCount(); ++value) {
                    texts.push_back(column.text(value));
                }
            }
        }
    }

    std::map<std::string, std::vector<std::optional<std::string>>> m_texts;
};

const std::optional<std::string>& catalogueText(const char* type, const char* key,
                                                std::int32_t value) {
    return CatalogueTexts::get().text(type, key, value);
}

// A display name: exactly the catalogue's in range, exactly fallback outside
// it (and for the in-range values that have no name of their own).
void checkName(const std::string& name, const char* type, std::int32_t value, bool named,
               const char* fallback) {
    if (named) {
        VARNEK_FUZZ_CHECK(isPlainText(name) && name != fallback);
        VARNEK_FUZZ_CHECK(name == catalogueText(type, "displayName", value));
    } else {
        VARNEK_FUZZ_CHECK(name == fallback);
    }
}

// An option text: exactly the catalogue's column key in range, the fallback
// (null or a fixed text) outside it.
void checkNotation(const char* notation, const char* type, const char* key, std::int32_t value,
                   bool inTable, const char* fallback) {
    if (inTable) {
        VARNEK_FUZZ_CHECK(isPlainText(notation, 40));
        VARNEK_FUZZ_CHECK(notation == catalogueText(type, key, value));
    } else if (fallback == nullptr) {
        VARNEK_FUZZ_CHECK(notation == nullptr);
    } else {
        VARNEK_FUZZ_CHECK(sameText(notation, fallback));
    }
}

void checkNotation(const char* notation, const char* type, std::int32_t value, bool inTable,
                   const char* fallback) {
    checkNotation(notation, type, "hoopsNotation", value, inTable, fallback);
}

void checkColorMode(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const DrawColorMode mode(as<DrawColorMode::Enum>(value));
    VARNEK_FUZZ_CHECK(DrawColorMode::isValid(mode) == inRange(value, s_colorModes));
    // The reserved values have no display name of their own.
    checkName(mode.toString(), "DrawColorMode", value, inRange(value, DrawColorMode::Reserved4),
              "unknown");
    VARNEK_FUZZ_CHECK(mode.toString() == DrawColorMode::toString(mode));
    VARNEK_FUZZ_CHECK(hash_value(mode) == static_cast<std::size_t>(std::int64_t{value}));
}

void checkPatternFace(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const DrawPatternFace pattern(as<DrawPatternFace::Pattern>(value));
    checkName(pattern.toString(), "DrawPatternFace", value, inRange(value, s_facePatterns),
              "unknown");
    checkNotation(DrawPatternFace::getHoopsNotation(pattern), "DrawPatternFace", value,
                  inRange(value, s_facePatterns), "solid");
}

void checkPatternLine(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    checkName(DrawPatternLine::toString(as<DrawPatternLine::Enum>(value)), "DrawPatternLine", value,
              inRange(value, s_linePatterns), "unknown");
    checkNotation(DrawPatternLine::getHoopsNotation(as<DrawPatternLine::Enum>(value)),
                  "DrawPatternLine", value, inRange(value, s_linePatterns), nullptr);
}

void checkCoordinatesAndLighting(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    checkNotation(DrawCoordinates::getHoopsNotation(as<DrawCoordinates::Enum>(value)),
                  "DrawCoordinates", value, inRange(value, s_coordinates), nullptr);
    checkNotation(
        DrawLightingInterpolation::getHoopsNotation(as<DrawLightingInterpolation::Enum>(value)),
        "DrawLightingInterpolation", value, inRange(value, s_lightingInterpolations), nullptr);
    checkNotation(DrawTextAlignmentPoint::getHoopsNotation(as<DrawTextAlignmentPoint::Enum>(value)),
                  "DrawTextAlignmentPoint", value, inRange(value, s_alignmentPoints), nullptr);
}

void checkCappingAndSizeReference(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    checkName(DrawCylinderCapping::toString(as<DrawCylinderCapping::Enum>(value)),
              "DrawCylinderCapping", value, inRange(value, s_cappings), "unknown");
    checkNotation(DrawCylinderCapping::getHoopsNotation(as<DrawCylinderCapping::Enum>(value)),
                  "DrawCylinderCapping", value, inRange(value, s_cappings), nullptr);
    checkName(DrawSizeReference::toString(as<DrawSizeReference::Enum>(value)), "DrawSizeReference",
              value, inRange(value, s_sizeReferences), "undefined");
    checkNotation(DrawSizeReference::getHoopsNotation(as<DrawSizeReference::Enum>(value)),
                  "DrawSizeReference", value, inRange(value, s_sizeReferences), nullptr);
}

void checkStyleMesh(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const bool valid = inRange(value, s_meshStyles);
    const DrawStyleMesh style(as<DrawStyleMesh::Enum>(value));
    VARNEK_FUZZ_CHECK(static_cast<std::int32_t>(style) == value);
    VARNEK_FUZZ_CHECK(DrawStyleMesh::isValid(style) == valid);
    VARNEK_FUZZ_CHECK(static_cast<std::int32_t>(DrawStyleMesh(value)) == (valid ? value : 0));
    // The cycle's successor is the signed remainder of the sum, taken without
    // wrapping around at the largest value.
    VARNEK_FUZZ_CHECK(static_cast<std::int64_t>(DrawStyleMesh::next(style)) ==
                      (std::int64_t{value} + 1) % s_meshStyles);
    checkName(style.toString(), "DrawStyleMesh", value, valid, "unknown");
    checkNotation(DrawStyleMesh::getDrawKey(style), "DrawStyleMesh", "drawKey", value, valid,
                  nullptr);
    const DrawVisibleTypesCollection visible = DrawStyleMesh::getVisibleTypes(style);
    VARNEK_FUZZ_CHECK(visible.anyTypeVisible() == (valid && value != DrawStyleMesh::None));
    if (valid) {
        VARNEK_FUZZ_CHECK(visible.getHoopsNotation() ==
                          catalogueText("DrawStyleMesh", "visibility", value));
    }
    bool anyFlag = false;
    for (std::int32_t type = 0; type < s_visibleTypes; ++type) {
        anyFlag = anyFlag || visible.isDrawTypeVisible(as<DrawVisibleType>(type));
    }
    VARNEK_FUZZ_CHECK(anyFlag == visible.anyTypeVisible());
    VARNEK_FUZZ_CHECK(hash_value(style) == static_cast<std::size_t>(std::int64_t{value}));
}

void checkZLayerAndDisplacement(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const float offset = consumeFloatBits(input);
    const DrawZLayer layer(as<DrawZLayer::Enum>(value), offset);
    VARNEK_FUZZ_CHECK(static_cast<std::int32_t>(layer) == value);
    const float kept = layer.getRandomLabelOffset();
    VARNEK_FUZZ_CHECK(VarnekFuzz::sameBits(kept, offset));
    // A draw of 0 to 32767 over 32767.
    const float drawn = DrawZLayer::computeRandomLabelOffset();
    VARNEK_FUZZ_CHECK(drawn >= 0.0F && drawn <= 1.0F);
    VARNEK_FUZZ_CHECK(std::fabs(drawn * 32767.0F - std::round(drawn * 32767.0F)) < 0.01F);

    const auto level = as<DrawDisplacement::Enum>(value);
    const float displacement = DrawDisplacement::getValue(level);
    const std::string name = DrawDisplacement::toString(level);
    if (inRange(value, s_displacements)) {
        // Deeper levels displace further: 0, -2, -4, -6, -10.
        VARNEK_FUZZ_CHECK(value == 0 ? displacement == 0.0F
                                     : displacement < DrawDisplacement::getValue(
                                                          as<DrawDisplacement::Enum>(value - 1)));
        VARNEK_FUZZ_CHECK(displacement >= -10.0F);
        checkName(name, "DrawDisplacement", value, true, "Unknown");
        VARNEK_FUZZ_CHECK(displacement ==
                          std::stof(*catalogueText("DrawDisplacement", "displacement", value)));
    } else {
        VARNEK_FUZZ_CHECK(displacement == 0.0F && !std::signbit(displacement));
        VARNEK_FUZZ_CHECK(name == "Unknown");
    }
}

void checkSymbol(FuzzedDataProvider& input) {
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const auto symbol = as<DrawSymbolPoint::Enum>(value);
    // CustomEmptyBoldCircle (36) and EmptyGlyph (42) have a notation but no
    // display name of their own.
    checkName(DrawSymbolPoint::toString(symbol), "DrawSymbolPoint", value,
              inRange(value, s_symbols) && symbol != DrawSymbolPoint::CustomEmptyBoldCircle &&
                  symbol != DrawSymbolPoint::EmptyGlyph,
              "unknown");
    checkNotation(DrawSymbolPoint::getHoopsNotation(symbol), "DrawSymbolPoint", value,
                  inRange(value, s_symbols), nullptr);
}

// A list of arbitrary values, mostly near the valid range so that the flags
// get set, sometimes anywhere in 32 bits.
template <typename Type>
std::vector<Type> consumeList(FuzzedDataProvider& input) {
    std::vector<Type> list(input.ConsumeIntegralInRange<std::size_t>(0, 12));
    for (Type& entry : list) {
        entry = input.ConsumeBool() ? as<Type>(input.ConsumeIntegralInRange<std::int32_t>(-2, 9))
                                    : as<Type>(input.ConsumeIntegral<std::int32_t>());
    }
    return list;
}

template <typename Type>
bool listed(const std::vector<Type>& list, std::int32_t value) {
    for (const Type entry : list) {
        if (static_cast<std::int32_t>(entry) == value) {
            return true;
        }
    }
    return false;
}

const char* onOff(bool flag) {
    return flag ? "on" : "off";
}

void checkVisibleTypes(FuzzedDataProvider& input) {
    const auto list = consumeList<DrawVisibleType>(input);
    const DrawVisibleTypesCollection set(list);
    VARNEK_FUZZ_CHECK(set.anyTypeVisible() == !list.empty());
    for (const DrawVisibleType entry : list) {
        const auto value = static_cast<std::int32_t>(entry);
        VARNEK_FUZZ_CHECK(set.isDrawTypeVisible(entry) == inRange(value, s_visibleTypes));
    }
    static const char* const names[] = {"images", "text",       "markers", "vertices",
                                        "edges",  "perimeters", "lines",   "faces"};
    VARNEK_FUZZ_CHECK(s_visibleTypes == static_cast<std::int32_t>(std::size(names)));
    std::string expected;
    for (std::int32_t type = 0; type < s_visibleTypes; ++type) {
        VARNEK_FUZZ_CHECK(set.isDrawTypeVisible(as<DrawVisibleType>(type)) == listed(list, type));
        if (type == 4) {
            expected += std::string("edges=(") + onOff(listed(list, 4)) +
                        ",perimeters=" + onOff(listed(list, 5)) + "),";
        } else if (type != 5) {
            expected += std::string(names[type]) + "=" + onOff(listed(list, type)) +
                        (type + 1 == s_visibleTypes ? "" : ",");
        }
    }
    VARNEK_FUZZ_CHECK(set.getHoopsNotation() == expected);
}

void checkSelectableTypes(FuzzedDataProvider& input) {
    const auto list = consumeList<DrawSelectableType>(input);
    const DrawSelectableTypesCollection set(list);
    VARNEK_FUZZ_CHECK(set.anyTypeSelectable() == !list.empty());
    for (const DrawSelectableType entry : list) {
        const auto value = static_cast<std::int32_t>(entry);
        VARNEK_FUZZ_CHECK(set.isDrawTypeSelectable(entry) == inRange(value, s_selectableTypes));
    }
    static const char* const names[] = {"images", "text",  "markers", "vertices",
                                        "edges",  "lines", "faces"};
    VARNEK_FUZZ_CHECK(s_selectableTypes == static_cast<std::int32_t>(std::size(names)));
    std::string expected;
    for (std::int32_t type = 0; type < s_selectableTypes; ++type) {
        VARNEK_FUZZ_CHECK(set.isDrawTypeSelectable(as<DrawSelectableType>(type)) ==
                          listed(list, type));
        expected += std::string(names[type]) + "=" + onOff(listed(list, type)) +
                    (type + 1 == s_selectableTypes ? "" : ",");
    }
    VARNEK_FUZZ_CHECK(set.getHoopsNotation() == expected);
}

// The names of the listed kinds, in the order of their values, joined by
// ",". names holds one name per value of the type, count of them: a value
// the library gains without a name here stops the run instead of being read
// past the end of names.
template <std::size_t N>
std::string joinListed(const std::vector<std::int32_t>& values, const char* const (&names)[N],
                       std::int32_t count) {
    VARNEK_FUZZ_CHECK(count == static_cast<std::int32_t>(N));
    std::string joined;
    for (std::size_t type = 0; type < N; ++type) {
        if (listed(values, static_cast<std::int32_t>(type))) {
            joined += (joined.empty() ? "" : ",") + std::string(names[type]);
        }
    }
    return joined;
}

template <typename Type>
std::vector<std::int32_t> valuesOf(const std::vector<Type>& list) {
    std::vector<std::int32_t> values;
    values.reserve(list.size());
    for (const Type entry : list) {
        values.push_back(static_cast<std::int32_t>(entry));
    }
    return values;
}

void checkShaderAndSkinTypes(FuzzedDataProvider& input) {
    const auto shaderList = consumeList<DrawShaderAffectedType>(input);
    const DrawShaderAffectedTypesCollection shader(shaderList);
    // An empty list means points.
    const std::vector<std::int32_t> shaderValues =
        shaderList.empty() ? std::vector<std::int32_t>{0} : valuesOf(shaderList);
    for (std::int32_t type = 0; type < s_shaderAffectedTypes; ++type) {
        VARNEK_FUZZ_CHECK(shader.isTypeAffected(as<DrawShaderAffectedType>(type)) ==
                          listed(shaderValues, type));
    }
    for (const DrawShaderAffectedType entry : shaderList) {
        VARNEK_FUZZ_CHECK(shader.isTypeAffected(entry) ==
                          inRange(static_cast<std::int32_t>(entry), s_shaderAffectedTypes));
    }
    static const char* const shaderNames[] = {"points", "lines", "triangles"};
    VARNEK_FUZZ_CHECK(shader.getHoopsNotation() ==
                      joinListed(shaderValues, shaderNames, s_shaderAffectedTypes));

    const auto skinList = consumeList<DrawSkinAffectedType>(input);
    const DrawSkinAffectedTypesCollection skin(skinList);
    static const char* const skinNames[] = {"markers", "vertices", "edges", "faces"};
    VARNEK_FUZZ_CHECK(skin.getHoopsNotation() ==
                      joinListed(valuesOf(skinList), skinNames, s_skinAffectedTypes));
}

// Every type of the catalogue, a new one included: past its range each text
// is the type's out-of-range answer (the one of -1), within it each text is
// the one taken before any input ran.
void checkCatalogueType(FuzzedDataProvider& input) {
    const auto& types = VarnekCatalogue::drawStyleTypes();
    const auto& type = types[input.ConsumeIntegralInRange<std::size_t>(0, types.size() - 1)];
    const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    const bool valid = inRange(value, type.valueCount());
    for (const VarnekCatalogue::ValueColumn& column : type.columns) {
        VARNEK_FUZZ_CHECK(column.text(value) ==
                          (valid ? catalogueText(type.name, column.key, value) : column.text(-1)));
    }
    if (type.optionText.text != nullptr) {
        const char* text = type.optionText.text(value);
        const char* fallback = type.optionText.text(-1);
        if (valid) {
            VARNEK_FUZZ_CHECK(isPlainText(text, 40));
        } else {
            VARNEK_FUZZ_CHECK(text == nullptr ? fallback == nullptr : sameText(text, fallback));
        }
    }
}

// The three types whose display names are translated, in the context of the
// type's name, from the enumerator's name or "unknown".
struct TranslatedType {
    const char* name;
    std::string (*displayName)(std::int32_t value);
    std::int32_t namedValues;  // 0 to namedValues - 1 have a name of their own
};

const TranslatedType s_translatedTypes[] = {
    {"DrawColorMode",
     [](std::int32_t value) { return DrawColorMode::toString(as<DrawColorMode::Enum>(value)); },
     DrawColorMode::Reserved4},
    {"DrawPatternFace",
     [](std::int32_t value) {
         return DrawPatternFace::toString(as<DrawPatternFace::Pattern>(value));
     },
     s_facePatterns},
    {"DrawPatternLine",
     [](std::int32_t value) { return DrawPatternLine::toString(as<DrawPatternLine::Enum>(value)); },
     s_linePatterns},
};

const TranslatedType& consumeTranslatedType(FuzzedDataProvider& input) {
    return s_translatedTypes[input.ConsumeIntegralInRange<std::size_t>(
        0, std::size(s_translatedTypes) - 1)];
}

// The text translated for a value: its name as the catalogue spells it.
std::string sourceText(const TranslatedType& type, std::int32_t value) {
    return inRange(value, type.namedValues) ? VarnekCatalogue::drawStyleType(type.name)
                                                  .valueNames[static_cast<std::size_t>(value)]
                                            : "unknown";
}

std::int32_t consumeNearRange(FuzzedDataProvider& input) {
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int32_t>(-2, 10)
                               : input.ConsumeIntegral<std::int32_t>();
}

// A translation with any text replaces exactly the one display name it is
// for, and clearing the translations brings the name back.
void checkTranslatedNames(FuzzedDataProvider& input) {
    const TranslatedType& type = consumeTranslatedType(input);
    const std::int32_t value = consumeNearRange(input);
    const TranslatedType& other = consumeTranslatedType(input);
    const std::int32_t otherValue = consumeNearRange(input);
    const std::string translation = input.ConsumeRandomLengthString(32);

    const std::string source = sourceText(type, value);
    VARNEK_FUZZ_CHECK(type.displayName(value) == source);
    Translator::addTranslation(type.name, source.c_str(), translation);
    VARNEK_FUZZ_CHECK(type.displayName(value) == translation);
    const std::string otherSource = sourceText(other, otherValue);
    const bool sameEntry = &other == &type && otherSource == source;
    VARNEK_FUZZ_CHECK(other.displayName(otherValue) == (sameEntry ? translation : otherSource));
    Translator::clearTranslations();
    VARNEK_FUZZ_CHECK(type.displayName(value) == source);
}

// The version text is the three numbers, joined by dots.
void checkLibraryVersion(FuzzedDataProvider& /*input*/) {
    const std::string expected = std::to_string(getLibraryVersionMajor()) + "." +
                                 std::to_string(getLibraryVersionMinor()) + "." +
                                 std::to_string(getLibraryVersionPatch());
    VARNEK_FUZZ_CHECK(sameText(getLibraryVersion(), expected.c_str()));
    VARNEK_FUZZ_CHECK(getLibraryVersionMajor() == VARNEK_VERSION_MAJOR);
}

using Check = void (*)(FuzzedDataProvider&);

const Check checks[] = {
    checkColorMode,
    checkPatternFace,
    checkPatternLine,
    checkCoordinatesAndLighting,
    checkCappingAndSizeReference,
    checkStyleMesh,
    checkZLayerAndDisplacement,
    checkSymbol,
    checkVisibleTypes,
    checkSelectableTypes,
    checkShaderAndSkinTypes,
    checkCatalogueType,
    checkTranslatedNames,
    checkLibraryVersion,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    constexpr std::size_t count = sizeof(checks) / sizeof(checks[0]);
    while (input.remaining_bytes() > 0) {
        checks[input.ConsumeIntegralInRange<std::size_t>(0, count - 1)](input);
    }
    return 0;
}

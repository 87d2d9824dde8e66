// The draw-style types the library offers, each with the range of its
// values, the names of those values and the texts the library gives for
// them. The tool's reference table, the benchmarks and the fuzzers walk these
// rows; a new type is one row here.
#ifndef VARNEK_CATALOGUE_DRAWSTYLETYPES_H
#define VARNEK_CATALOGUE_DRAWSTYLETYPES_H

#include <optional>
#include <string>
#include <vector>

namespace VarnekCatalogue {

// A text the library gives for one value; empty where it gives a null
// pointer.
using ValueText = std::optional<std::string> (*)(int value);

struct ValueColumn {
    const char* key;      // JSON member name
    const char* heading;  // text table heading
    ValueText text;
};

// A constant option text of the graphics system that the library looks up
// for a value without allocating; null out of range where the type says so.
struct OptionTextLookup {
    const char* function;  // "getHoopsNotation"
    const char* (*text)(int value);
};

struct DrawStyleType {
    const char* name;   // the library's type name
    const char* about;  // what a value is, for the reference table
    // One name per value: the values are 0 to valueNames.size() - 1.
    std::vector<std::string> valueNames;
    std::vector<ValueColumn> columns;
    // The type's option-text lookup; function is null for a type without one.
    OptionTextLookup optionText;

    int valueCount() const { return static_cast<int>(valueNames.size()); }
};

// Every enumerated type of the vocabulary, in a fixed order. The names are
// the library's where it has them (the display names that are the
// enumerators' names, the glyph names), else the enumerators' names.
const std::vector<DrawStyleType>& drawStyleTypes();

// The row of the type with that name; throws std::out_of_range if none.
const DrawStyleType& drawStyleType(const char* name);

}  // namespace VarnekCatalogue

#endif  // VARNEK_CATALOGUE_DRAWSTYLETYPES_H

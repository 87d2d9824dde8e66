// The styles subcommand: the draw-style vocabulary as a reference table,
// every value of every type with its display name and the option text the
// graphics system is given for it.
#ifndef VARNEK_LABELS_STYLESTABLE_H
#define VARNEK_LABELS_STYLESTABLE_H

#include <optional>
#include <string>
#include <vector>

namespace VarnekLabels {

struct StyleColumn {
    const char* key;      // JSON member name
    const char* heading;  // text table heading
};

// One value of a type; cells follow the section's columns, and an empty
// cell stands for a null option text.
struct StyleEntry {
    int value = 0;
    std::string name;
    std::vector<std::optional<std::string>> cells;
};

struct StyleSection {
    std::string type;
    std::string about;
    std::vector<StyleColumn> columns;
    std::vector<StyleEntry> entries;
};

// Every type of the vocabulary in a fixed order, each with all its values.
// The colour and custom line pattern sections show sample values.
std::vector<StyleSection> buildStylesTable();

// One block per type: a heading line, then aligned columns.
std::string stylesAsText(const std::vector<StyleSection>& sections);

// An array of {"type", "about", "values": [{"value", "name", <columns>}]}.
std::string stylesAsJson(const std::vector<StyleSection>& sections);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_STYLESTABLE_H

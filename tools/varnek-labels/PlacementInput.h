// The place subcommand's input: one label a line,
// x,y,width,height[,priority[,key[,text]]], read whole before anything is
// placed, so that a bad line stops the run before any output exists.
#ifndef VARNEK_LABELS_PLACEMENTINPUT_H
#define VARNEK_LABELS_PLACEMENTINPUT_H

#include <cstdint>
#include <string>
#include <vector>

#include "NumberText.h"

namespace VarnekLabels {

struct InputLabel {
    Vec3 anchor;  // view coordinates, z 0
    Vec3 size;    // masked coordinates, z 0
    float priority = 0.0f;
    std::uint64_t key = 0;  // the data line's 0-based index unless given
    std::string text;       // the rest of the line, commas included
};

// Parses a whole file's content. Empty lines (blanks only) and lines whose
// first non-blank character is '#' are skipped; a trailing '\r' is dropped;
// blanks round a number are ignored; an empty priority or key field takes
// its default. Throws UsageError "SOURCE:LINE: ..." for the first line with
// fewer than four fields, a number field that is not a number, or a key that
// is not a whole number from 0 to 2^64 - 1.
std::vector<InputLabel> parsePlacementInput(const std::string& content, const std::string& source);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_PLACEMENTINPUT_H

// The place subcommand's input, CSV as spreadsheets write it: one label a
// record, x,y,width,height[,priority[,key[,text]]]. It is read as a stream,
// record by record, and whole before anything is placed, so that a bad
// record or a failed read stops the run before any output exists.
#ifndef VARNEK_LABELS_PLACEMENTINPUT_H
#define VARNEK_LABELS_PLACEMENTINPUT_H

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "NumberText.h"

namespace VarnekLabels {

struct InputLabel {
    Vec3 anchor;  // view coordinates, z 0
    Vec3 size;    // masked coordinates, z 0
    float priority = 0.0f;
    std::uint64_t key = 0;  // the data record's 0-based index unless given
    std::string text;       // the fields after the key, joined by commas
    std::size_t line = 0;   // where its record starts, from 1
    // False for a width or height left empty, to be measured from the text;
    // the size's component is then 0.
    bool widthGiven = true;
    bool heightGiven = true;
};

// Reads the labels of in; source names it in messages.
// - A UTF-8 byte-order mark at the start is skipped.
// - Fields are separated by commas and a record ends at a line break (LF or
//   CR LF). A field whose first non-blank character is a double quote is
//   quoted as RFC 4180 says: it ends at the next lone quote, "" stands for
//   one quote, and commas and line breaks inside belong to it; blanks may
//   surround it. A quote inside an unquoted field is an ordinary character.
// - Records that are empty (blanks only) or whose first non-blank character
//   is '#' are skipped. Blanks round a number are ignored; an empty
//   priority or key field takes its default; the text is every field after
//   the key, joined by commas, so an unquoted text is the rest of its line.
// - header: the first record names the columns and is skipped. Without it,
//   a first record none of whose x, y, width and height is a number is
//   taken as the header when the record after it is a label.
// - sizeMayBeEmpty: an empty width or height field is accepted and marked
//   not given (a size to measure); otherwise it is not a number.
// Throws UsageError "SOURCE:LINE: ..." for the first record that is not a
// label, naming its first bad field from the left: fewer than four fields,
// a number field that is not a number, a key that is not a whole number
// from 0 to 2^64 - 1, a quoted field not closed or followed by more than
// blanks. Throws InputError if in cannot be read to its end (a read error,
// or memory runs out).
std::vector<InputLabel> readPlacementInput(std::istream& in, const std::string& source, bool header,
                                           bool sizeMayBeEmpty = false);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_PLACEMENTINPUT_H

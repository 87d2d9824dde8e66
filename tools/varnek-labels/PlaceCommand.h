// The place subcommand from the command line's text to the written output.
#ifndef VARNEK_LABELS_PLACECOMMAND_H
#define VARNEK_LABELS_PLACECOMMAND_H

#include <istream>
#include <ostream>
#include <string>

#include "Placement.h"
#include "Tool.h"

namespace VarnekLabels {

// The options as typed; an empty string is an option not given.
struct PlaceArguments {
    std::string input;
    bool header = false;  // the input's first record names the columns
    std::string viewport;
    std::string background = "round";
    std::string indicator;  // default: acute, none for the balloon
    bool noBar = false;
    bool noBarGiven = false;
    std::string fixedWidth;  // default: 0.015 with an indicator
    std::string scale;       // default: the viewport's height
    std::string candidates;  // default: the placer's order
    bool candidatesGiven = false;
    std::string effort = "1";
    std::string gap = "0";
    std::string callouts = "0";    // how far a callout's body may stand from its anchor; 0: none
    std::string fadeFrames = "0";  // calls a label fades in over; 0: no fades
    std::string anchorsAreObstacles = "yes";
    std::vector<std::string> keepOut;  // L,T,R,B each
    std::string format = "json";
    std::string output = "-";
    std::string font;  // TrueType or OpenType file: sizes measured, text drawn in it
};

// Every argument checked and the input read and parsed ("-" is
// standardInput). Throws UsageError naming the first argument or input line
// that is not accepted, InputError if the input cannot be read whole.
PlacementRequest parsePlaceArguments(const PlaceArguments& arguments, std::istream& standardInput);

// Places the labels and writes JSON or SVG to the output ("-" is
// streams.out); an input without labels is placed too (an empty view) and
// said so in one line on streams.err, and so is each text that does not fit
// its label, once the output is written. Throws UsageError as above, or for a
// result that overflows single precision, InputError as above, and
// std::runtime_error if the output cannot be written.
void runPlace(const PlaceArguments& arguments, const ToolStreams& streams);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_PLACECOMMAND_H

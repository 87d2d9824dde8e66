// The whole command line of varnek-labels, callable in-process: the program
// is runTool on the process's own streams, and a caller (the fuzz target of
// the command line) can give it streams of its own.
#ifndef VARNEK_LABELS_TOOL_H
#define VARNEK_LABELS_TOOL_H

#include <istream>
#include <ostream>

namespace VarnekLabels {

// Where "-" reads and writes, and where the one error line goes.
struct ToolStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Runs the command line argv[0..argc) and returns the exit status: 0 done,
// 2 the command line or its input was not accepted (one line on err names
// the argument and what is accepted), 1 the output could not be written (one
// line on err), 3 the input could not be read whole (it cannot be opened, a
// read fails, or memory runs out; one line on err). Nothing is written
// unless the whole command line is accepted and its input read. Files named
// on the command line are read and written relative to the working
// directory. The user's bytes in an error line are escaped (printable).
int runTool(int argc, char** argv, const ToolStreams& streams);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_TOOL_H

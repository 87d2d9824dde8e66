// varnek-labels: draws the library's label outlines on one sheet, prints the
// outline of one label, places many labels in a view, and lists the
// draw-style vocabulary. The command line is runTool (Tool.h).
#include <iostream>

#include "Tool.h"

int main(int argc, char** argv) {
    // The streams read and write the descriptors themselves: a read error
    // on standard input then fails the stream instead of passing for its
    // end, as it does through the C library's buffers.
    std::ios::sync_with_stdio(false);
    return VarnekLabels::runTool(argc, argv, {std::cin, std::cout, std::cerr});
}

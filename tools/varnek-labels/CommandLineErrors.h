// The parser's complaints about a command line, in the tool's own words.
#ifndef VARNEK_LABELS_COMMANDLINEERRORS_H
#define VARNEK_LABELS_COMMANDLINEERRORS_H

#include <string>

#include <CLI/CLI.hpp>

namespace VarnekLabels {

// One line naming what was not accepted (an unknown subcommand or option, a
// missing or repeated option, an option without its value, a stray word)
// and what the user can type instead.
std::string parseErrorLine(const CLI::App& app, const CLI::ParseError& error, int argc,
                           char** argv);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_COMMANDLINEERRORS_H

// The error of a command line, or an input, that holds something the tool
// does not accept. The tool prints its message on one line and exits with
// status 2.
#ifndef VARNEK_LABELS_USAGEERROR_H
#define VARNEK_LABELS_USAGEERROR_H

#include <stdexcept>
#include <string>

#include "PrintableText.h"

namespace VarnekLabels {

class UsageError : public std::runtime_error {
public:
    // The message as printable shows it: the user's bytes in it are safe.
    explicit UsageError(const std::string& message) : std::runtime_error(printable(message)) {}
};

// "OPTION: 'TEXT' is not accepted; accepted: ACCEPTED", the message every
// rejected value gets, so that the user sees what to type instead.
inline UsageError rejectedValue(const std::string& option, const std::string& text,
                                const std::string& accepted) {
    return UsageError(option + ": '" + text + "' is not accepted; accepted: " + accepted);
}

// The error of numbers that are each accepted but whose label overflows
// single precision; arguments names them, as givenArguments writes them.
inline UsageError overflowError(const std::string& arguments) {
    return UsageError(arguments +
                      ": the label's numbers overflow single precision (infinite or NaN); "
                      "accepted: smaller values");
}

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_USAGEERROR_H

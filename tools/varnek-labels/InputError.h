// The error of an input that could not be read whole: it cannot be opened,
// a read fails part-way, or memory runs out while reading it. The tool
// prints its message on one line and exits with status 3, nothing written.
#ifndef VARNEK_LABELS_INPUTERROR_H
#define VARNEK_LABELS_INPUTERROR_H

#include <stdexcept>
#include <string>

#include "PrintableText.h"

namespace VarnekLabels {

class InputError : public std::runtime_error {
public:
    // The message as printable shows it: the user's bytes in it are safe.
    explicit InputError(const std::string& message) : std::runtime_error(printable(message)) {}
};

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_INPUTERROR_H

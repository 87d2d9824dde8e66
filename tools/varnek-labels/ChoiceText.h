// Choices as the command line names them: one rule for every name the tool
// accepts (backgrounds, indicators, reference points, formats, yes/no,
// subcommands after help): letters match without regard to case, and the
// canonical spelling is what the tool then uses and prints.
#ifndef VARNEK_LABELS_CHOICETEXT_H
#define VARNEK_LABELS_CHOICETEXT_H

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace VarnekLabels {

bool sameChoice(std::string_view given, std::string_view name);

// The accepted name given matches. Throws UsageError naming option and
// listing the accepted names.
std::string checkedChoice(const std::string& option, const std::string& given,
                          std::initializer_list<const char*> accepted);

// The arguments given, "--size 40,20, --scale 3.4e38" (empty values left
// out), for an error about what they add up to rather than one of them.
std::string givenArguments(std::initializer_list<std::pair<const char*, std::string>> arguments);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_CHOICETEXT_H

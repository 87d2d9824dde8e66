#include "ChoiceText.h"

#include <algorithm>
#include <cctype>

#include "UsageError.h"

namespace VarnekLabels {

bool sameChoice(std::string_view given, std::string_view name) {
    return given.size() == name.size() &&
           std::equal(given.begin(), given.end(), name.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::string checkedChoice(const std::string& option, const std::string& given,
                          std::initializer_list<const char*> accepted) {
    std::string list;
    for (const char* name : accepted) {
        if (sameChoice(given, name)) {
            return name;
        }
        list += list.empty() ? "" : ", ";
        list += name;
    }
    throw rejectedValue(option, given, list);
}

std::string givenArguments(std::initializer_list<std::pair<const char*, std::string>> arguments) {
    std::string text;
    for (const auto& [option, value] : arguments) {
        if (!value.empty()) {
            text += text.empty() ? "" : ", ";
            text += option;
            text += " " + value;
        }
    }
    return text;
}

}  // namespace VarnekLabels

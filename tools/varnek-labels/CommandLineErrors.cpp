#include "CommandLineErrors.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include <catalogue/LabelKinds.h>

namespace VarnekLabels {
namespace {

std::string subcommandList(const CLI::App& app) {
    std::string names;
    for (const CLI::App* command : app.get_subcommands({})) {
        names += names.empty() ? "" : ", ";
        names += command->get_name();
    }
    return names;
}

std::string optionList(const CLI::App& command) {
    std::string options;
    for (const CLI::Option* option : command.get_options()) {
        options += options.empty() ? "" : ", ";
        options += option->get_name();
    }
    return options;
}

// How often argv names the option, in any of its forms (-o X, --output X,
// --output=X).
int timesGiven(const CLI::Option& option, int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        for (const std::string& name : option.get_lnames()) {
            const std::string dashed = "--" + name;
            count += argument == dashed || argument.rfind(dashed + "=", 0) == 0 ? 1 : 0;
        }
        for (const std::string& name : option.get_snames()) {
            count += argument.rfind("-" + name, 0) == 0 && argument.rfind("--", 0) != 0 ? 1 : 0;
        }
    }
    return count;
}

// What the parser found wrong with the options of one subcommand, in the
// tool's words; empty if it is none of the cases below.
std::string subcommandError(const CLI::App& command, const CLI::ParseError& error, int argc,
                            char** argv) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        const auto extras = command.remaining();
        const std::string first = extras.empty() ? std::string() : extras.front();
        if (!first.empty() && first[0] == '-') {
            return "'" + first + "' is not an option of " + command.get_name();
        }
        return "'" + first + "' is not expected: " + command.get_name() +
               " takes options only, each with its value";
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        // Every one missing, so that a second try does not stop at the next.
        std::vector<std::string> missing;
        for (const CLI::Option* option : command.get_options()) {
            if (option->get_required() && option->count() == 0) {
                missing.push_back(option->get_name());
            }
        }
        std::vector<const char*> names;
        names.reserve(missing.size());
        for (const std::string& name : missing) {
            names.push_back(name.c_str());
        }
        if (!names.empty()) {
            return VarnekCatalogue::joinNames(names, ", ", " and ") +
                   (names.size() == 1 ? " is missing" : " are missing");
        }
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        // The parser names the option first: "--size: ...".
        const std::string what = error.what();
        const CLI::Option* option = command.get_option_no_throw(what.substr(0, what.find(':')));
        if (option != nullptr) {
            const int count = timesGiven(*option, argc, argv);
            return count > 1 ? option->get_name() + " is given " + std::to_string(count) +
                                   " times; give it once"
                             : option->get_name() + " needs a value";
        }
    }
    return {};
}

}  // namespace

std::string parseErrorLine(const CLI::App& app, const CLI::ParseError& error, int argc,
                           char** argv) {
    const auto chosen = app.get_subcommands();
    if (chosen.empty()) {
        const std::string first = argc > 1 ? argv[1] : "";
        if (first.empty()) {
            return "a subcommand is needed; accepted: " + subcommandList(app);
        }
        if (first[0] != '-') {
            return "'" + first + "' is not a subcommand; accepted: " + subcommandList(app);
        }
        return "'" + first + "' is not accepted before a subcommand; accepted: --help, " +
               "--version, or a subcommand: " + subcommandList(app);
    }
    const CLI::App& command = *chosen.front();
    std::string message = subcommandError(command, error, argc, argv);
    if (message.empty()) {
        message = error.what();
        std::replace(message.begin(), message.end(), '\n', ' ');
    }
    return message + "; accepted by " + command.get_name() + ": " + optionList(command);
}

}  // namespace VarnekLabels

// Stand-in for the application's translation library. translate() returns the
// source text unchanged unless a translation was registered for exactly that
// context and source text. The catalogue is process-wide and every function
// here may be called from any thread at the same time.
#ifndef VARNEK_SERVICES_TRANSLATOR_H
#define VARNEK_SERVICES_TRANSLATOR_H

#include <string>

#include <varnek/services/translator_export.h>

namespace Varnek {

class VARNEK_TRANSLATOR_API Translator {
public:
    Translator() = delete;

    // The translation of sourceText in context, or sourceText itself when none
    // was registered. disambiguation and n are accepted and ignored. A null
    // sourceText gives the empty string; a null context is the empty context.
    static std::string translate(const char* context, const char* sourceText,
                                 const char* disambiguation = nullptr, int n = -1);

    // Registers (or replaces) the translation of sourceText in context.
    static void addTranslation(const char* context, const char* sourceText,
                               std::string translation);

    // Forgets every registered translation.
    static void clearTranslations();
};

}  // namespace Varnek

#endif  // VARNEK_SERVICES_TRANSLATOR_H

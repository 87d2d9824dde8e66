#include <varnek/services/Translator.h>

#include <map>
#include <mutex>
#include <shared_mutex>
#include <utility>

namespace Varnek {
namespace {

// A translation is registered for one exact (context, source text) pair.
using Key = std::pair<std::string, std::string>;

struct Catalogue {
    std::shared_mutex mutex;
    std::map<Key, std::string> translations;
};

Catalogue& catalogue() {
    static Catalogue s_catalogue;
    return s_catalogue;
}

const char* orEmpty(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

std::string Translator::translate(const char* context, const char* sourceText,
                                  const char* /*disambiguation*/, int /*n*/) {
    Catalogue& c = catalogue();
    std::shared_lock<std::shared_mutex> lock(c.mutex);
    if (!c.translations.empty()) {
        const auto found = c.translations.find(Key(orEmpty(context), orEmpty(sourceText)));
        if (found != c.translations.end()) {
            return found->second;
        }
    }
    return orEmpty(sourceText);
}

void Translator::addTranslation(const char* context, const char* sourceText,
                                std::string translation) {
    Key key(orEmpty(context), orEmpty(sourceText));
    Catalogue& c = catalogue();
    std::unique_lock<std::shared_mutex> lock(c.mutex);
    c.translations.insert_or_assign(std::move(key), std::move(translation));
}

void Translator::clearTranslations() {
    Catalogue& c = catalogue();
    std::unique_lock<std::shared_mutex> lock(c.mutex);
    c.translations.clear();
}

}  // namespace Varnek

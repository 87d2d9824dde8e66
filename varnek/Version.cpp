#include <varnek/version.h>

namespace Varnek {

// The macros are those of the headers the library is built with, so these
// answer with the library's own version whatever headers the caller saw.
const char* getLibraryVersion() noexcept {
    return VARNEK_VERSION_STRING;
}

int getLibraryVersionMajor() noexcept {
    return VARNEK_VERSION_MAJOR;
}

int getLibraryVersionMinor() noexcept {
    return VARNEK_VERSION_MINOR;
}

int getLibraryVersionPatch() noexcept {
    return VARNEK_VERSION_PATCH;
}

}  // namespace Varnek
